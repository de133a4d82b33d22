// Exact division-free forms of the blend for the pixels the program paints
// most: destinations of alpha 255 (the Canvas is always opaque) and 3-byte
// pixels. Both reduce to floor((old * inverse + premultiplied) / 255) per
// channel, whose numerator never exceeds 255 * 255.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "draw/pixel_rule.h"

namespace drawing::draw {

static_assert(std::endian::native == std::endian::little,
              "pixels are read as little-endian words (blue in the low byte)");

// floor(x / 255) for 0 <= x <= 65025 (in fact up to 65535).
constexpr uint32_t DivideBy255(uint32_t x) {
  return (x * 0x8081u) >> 23;
}

// How many blends of one colour bring every channel of an opaque pixel to a
// value the next blend leaves as it is, for inverse alpha i. With d the
// distance of a channel from the colour's channel c, a blend of an opaque
// pixel makes it c + floor(i * d / 255) from above and c - ceil(i * d / 255)
// from below; both maps keep their order, so starting at the greatest
// distance, 255, takes the longest. Blending a pixel n times is blending it
// min(n, rounds) times.
constexpr int32_t SettlingRounds(int32_t inverse) {
  int32_t rounds = 0;
  int32_t above = 255;
  int32_t below = 255;
  while (true) {
    const int32_t nextAbove = inverse * above / 255;
    const int32_t nextBelow = (inverse * below + 254) / 255;
    if (nextAbove == above && nextBelow == below) {
      return rounds;
    }
    above = nextAbove;
    below = nextBelow;
    ++rounds;
  }
}

// The blend of opaque pixels. For an opaque destination (d = 255) the general
// form
//   (old * i * 255 + S * 255) / (i * 255 + a * 255)
// cancels the common factor 255 exactly into (old * i + S) / 255, and the new
// alpha (i * 255 + a * 255) / 255 is 255 again.
//
// Here on two opaque pixels at once, held as one 64-bit value (the first
// pixel in the low half; one pixel goes as both halves): the eight bytes are
// widened to 16-bit lanes of one vector, multiplied by i, S added, and
// divided by 255 lane by lane with floor(x / 255) = (x + 1 + (x >> 8)) >> 8,
// exact for every lane value up to 65534.
class PortableOpaqueBlendPair {
 public:
  explicit PortableOpaqueBlendPair(const SourceChannels& s) {
    const auto i = static_cast<uint16_t>(s.inverse);
    const uint16_t lanes[4] = {static_cast<uint16_t>(s.blue), static_cast<uint16_t>(s.green),
                               static_cast<uint16_t>(s.red), static_cast<uint16_t>(255 * s.alpha)};
    for (int k = 0; k < 8; ++k) {
      inverse_[k] = i;
      source_[k] = lanes[k % 4];
    }
  }

  uint64_t operator()(uint64_t pixels) const {
    const Bytes16 bytes = std::bit_cast<Bytes16>(Words2{pixels, 0});
    const Bytes16 wide = __builtin_shufflevector(bytes, Bytes16{}, 0, 16, 1, 17, 2, 18, 3, 19, 4,
                                                 20, 5, 21, 6, 22, 7, 23);
    const Lanes8 x = std::bit_cast<Lanes8>(wide) * inverse_ + source_;
    const Lanes8 q = (x + 1 + (x >> 8)) >> 8;
    return std::bit_cast<uint64_t>(__builtin_convertvector(q, Bytes8));
  }

  // One opaque pixel blended `rounds` times.
  uint32_t Repeated(uint32_t pixel, int32_t rounds) const {
    uint64_t both = pixel | static_cast<uint64_t>(pixel) << 32;
    for (int32_t round = 0; round < rounds; ++round) {
      both = (*this)(both);
    }
    return static_cast<uint32_t>(both);
  }

  // Four neighbouring pixels in place when all are opaque; false, leaving
  // them, when one is not.
  bool FourIfOpaque(uint8_t* p) const {
    constexpr uint64_t kBothOpaque = 0xFF000000FF000000u;
    uint64_t halves[2];
    std::memcpy(halves, p, sizeof halves);
    if ((halves[0] & halves[1] & kBothOpaque) != kBothOpaque) {
      return false;
    }
    halves[0] = (*this)(halves[0]);
    halves[1] = (*this)(halves[1]);
    std::memcpy(p, halves, sizeof halves);
    return true;
  }

 private:
  using Words2 = uint64_t __attribute__((vector_size(16)));
  using Bytes16 = uint8_t __attribute__((vector_size(16)));
  using Bytes8 = uint8_t __attribute__((vector_size(8)));
  using Lanes8 = uint16_t __attribute__((vector_size(16)));

  Lanes8 inverse_;
  Lanes8 source_;
};

#if defined(__SSE2__)
// The pair with SSE2, which has the high half of a 16-bit product: there
// floor(x / 255) = (x * 0x8081) >> 23 (DivideBy255) is two instructions.
class Sse2OpaqueBlendPair {
 public:
  explicit Sse2OpaqueBlendPair(const SourceChannels& s) {
    _mm_storeu_si128(reinterpret_cast<__m128i*>(inverse_),
                     _mm_set1_epi16(static_cast<int16_t>(s.inverse)));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(source_),
                     _mm_set_epi16(static_cast<int16_t>(255 * s.alpha), static_cast<int16_t>(s.red),
                                   static_cast<int16_t>(s.green), static_cast<int16_t>(s.blue),
                                   static_cast<int16_t>(255 * s.alpha), static_cast<int16_t>(s.red),
                                   static_cast<int16_t>(s.green), static_cast<int16_t>(s.blue)));
  }

  uint64_t operator()(uint64_t pixels) const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i wide = _mm_unpacklo_epi8(_mm_set_epi64x(0, static_cast<int64_t>(pixels)), zero);
    const __m128i x = _mm_add_epi16(
        _mm_mullo_epi16(wide, _mm_loadu_si128(reinterpret_cast<const __m128i*>(inverse_))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(source_)));
    const __m128i q =
        _mm_srli_epi16(_mm_mulhi_epu16(x, _mm_set1_epi16(static_cast<int16_t>(0x8081))), 7);
    uint64_t result;
    _mm_storel_epi64(reinterpret_cast<__m128i*>(&result), _mm_packus_epi16(q, zero));
    return result;
  }

  // One opaque pixel blended `rounds` times, kept widened in between.
  uint32_t Repeated(uint32_t pixel, int32_t rounds) const {
    const __m128i zero = _mm_setzero_si128();
    const __m128i inverse = _mm_loadu_si128(reinterpret_cast<const __m128i*>(inverse_));
    const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source_));
    const __m128i magic = _mm_set1_epi16(static_cast<int16_t>(0x8081));
    __m128i wide = _mm_unpacklo_epi8(_mm_cvtsi32_si128(static_cast<int32_t>(pixel)), zero);
    for (int32_t round = 0; round < rounds; ++round) {
      const __m128i x = _mm_add_epi16(_mm_mullo_epi16(wide, inverse), source);
      wide = _mm_srli_epi16(_mm_mulhi_epu16(x, magic), 7);
    }
    return static_cast<uint32_t>(_mm_cvtsi128_si32(_mm_packus_epi16(wide, zero)));
  }

  // Four neighbouring pixels in place when all are opaque (false, leaving
  // them, when one is not): both halves of one load share the factors.
  bool FourIfOpaque(uint8_t* p) const {
    const __m128i pixels = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i alpha = _mm_set1_epi32(static_cast<int32_t>(0xFF000000u));
    if (_mm_movemask_epi8(_mm_cmpeq_epi32(_mm_and_si128(pixels, alpha), alpha)) != 0xFFFF) {
      return false;
    }
    const __m128i zero = _mm_setzero_si128();
    const __m128i inverse = _mm_loadu_si128(reinterpret_cast<const __m128i*>(inverse_));
    const __m128i source = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source_));
    const __m128i magic = _mm_set1_epi16(static_cast<int16_t>(0x8081));
    const auto half = [&](__m128i wide) {
      const __m128i x = _mm_add_epi16(_mm_mullo_epi16(wide, inverse), source);
      return _mm_srli_epi16(_mm_mulhi_epu16(x, magic), 7);
    };
    const __m128i low = half(_mm_unpacklo_epi8(pixels, zero));
    const __m128i high = half(_mm_unpackhi_epi8(pixels, zero));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(p), _mm_packus_epi16(low, high));
    return true;
  }

 private:
  // Plain lanes, loaded unaligned: the owner may sit in memory that 32-bit
  // Windows aligns to 8 bytes only (malloc, HeapAlloc), where a __m128i
  // member would fault.
  int16_t inverse_[8];
  int16_t source_[8];
};
using OpaqueBlendPair = Sse2OpaqueBlendPair;
#else
using OpaqueBlendPair = PortableOpaqueBlendPair;
#endif

// The blend for one prepared colour, made once per colour rather than once
// per line.
struct OpaqueBlendSet {
  explicit OpaqueBlendSet(const SourceChannels& source)
      : s(source), pair(source), settlingRounds(SettlingRoundsOf(source.inverse)) {}

  SourceChannels s;
  OpaqueBlendPair pair;
  int32_t settlingRounds;

 private:
  static int32_t SettlingRoundsOf(int32_t inverse) {
    static constexpr auto kRounds = [] {
      std::array<uint8_t, 256> rounds{};
      for (int32_t i = 0; i < 256; ++i) {
        rounds[static_cast<size_t>(i)] = static_cast<uint8_t>(SettlingRounds(i));
      }
      return rounds;
    }();
    return kRounds[static_cast<size_t>(inverse & 255)];
  }
};

// The 3-byte blend (pk * i + Sk) / 255 with the division as a multiply and shift.
inline void FastBlendPixel3(uint8_t* p, const SourceChannels& s) {
  const uint32_t i = static_cast<uint32_t>(s.inverse);
  p[0] = static_cast<uint8_t>(DivideBy255(p[0] * i + static_cast<uint32_t>(s.blue)));
  p[1] = static_cast<uint8_t>(DivideBy255(p[1] * i + static_cast<uint32_t>(s.green)));
  p[2] = static_cast<uint8_t>(DivideBy255(p[2] * i + static_cast<uint32_t>(s.red)));
}

}  // namespace drawing::draw
