// The alpha blend of 4-byte pixels in the loops the strokes spend their time
// in: a run of pixels a fixed stride apart (rows, columns) and a short line
// given by its pixel offsets. Opaque pixels, two at a time, take the exact
// division-free form; any other pixel takes the general rule. Each gives the
// same bytes as BlendRule4 pixel by pixel, with less work per pixel and per
// line: strokes are mostly lines of a few pixels.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "draw/fast_blend.h"
#include "draw/pixel_rule.h"

namespace drawing::draw {

class BlendRuns {
 public:
  BlendRuns(const OpaqueBlendSet& blend, bool updateAlpha)
      : blend_(blend), updateAlpha_(updateAlpha) {}

  void Pixel(uint8_t* p) const {
    uint32_t pixel;
    std::memcpy(&pixel, p, 4);
    if (pixel >= kOpaque) {
      // The pair form on the pixel twice: fewer steps than the single form.
      pixel = static_cast<uint32_t>(blend_.pair(pixel | static_cast<uint64_t>(pixel) << 32));
      std::memcpy(p, &pixel, 4);
    } else {
      BlendPixel4(p, blend_.s, updateAlpha_);
    }
  }

  // Two different pixels.
  void Pair(uint8_t* a, uint8_t* b) const {
    uint32_t first;
    uint32_t second;
    std::memcpy(&first, a, 4);
    std::memcpy(&second, b, 4);
    if ((first & second) < kOpaque) {
      Pixel(a);
      Pixel(b);
      return;
    }
    const uint64_t both = blend_.pair(first | static_cast<uint64_t>(second) << 32);
    first = static_cast<uint32_t>(both);
    second = static_cast<uint32_t>(both >> 32);
    std::memcpy(a, &first, 4);
    std::memcpy(b, &second, 4);
  }

  // One pixel blended `times` times: an opaque one only until it settles.
  void Repeated(uint8_t* p, int32_t times) const {
    uint32_t pixel;
    std::memcpy(&pixel, p, 4);
    if (pixel >= kOpaque) {
      pixel = blend_.pair.Repeated(pixel, std::min(times, blend_.settlingRounds));
      std::memcpy(p, &pixel, 4);
      return;
    }
    for (int32_t round = 0; round < times; ++round) {
      Pixel(p);
    }
  }

  // `count` pixels from `p`, `stride` bytes apart.
  void Run(uint8_t* p, ptrdiff_t stride, int32_t count) const {
    if (stride == 4) {
      Row(p, count);
      return;
    }
    for (; count >= 2; count -= 2, p += 2 * stride) {
      Pair(p, p + stride);
    }
    if (count > 0) {
      Pixel(p);
    }
  }

  // The `count` pixels at base + offsets[k], all different.
  void AtOffsets(uint8_t* base, const ptrdiff_t* offsets, int32_t count) const {
    int32_t k = 0;
    for (; k + 1 < count; k += 2) {
      Pair(base + offsets[k], base + offsets[k + 1]);
    }
    if (k < count) {
      Pixel(base + offsets[k]);
    }
  }

 private:
  static constexpr uint32_t kOpaque = 0xFF000000u;
  static constexpr uint64_t kBothOpaque = 0xFF000000FF000000u;

  // Neighbouring pixels: four of them are one 16-byte load, two one 8-byte
  // word.
  void Row(uint8_t* p, int32_t count) const {
    for (; count >= 4; count -= 4, p += 16) {
      if (!blend_.pair.FourIfOpaque(p)) {
        Two(p);
        Two(p + 8);
      }
    }
    for (; count >= 2; count -= 2, p += 8) {
      Two(p);
    }
    if (count > 0) {
      Pixel(p);
    }
  }

  // Two neighbouring pixels.
  void Two(uint8_t* p) const {
    uint64_t both;
    std::memcpy(&both, p, 8);
    if ((both & kBothOpaque) == kBothOpaque) {
      both = blend_.pair(both);
      std::memcpy(p, &both, 8);
    } else {
      Pixel(p);
      Pixel(p + 4);
    }
  }

  const OpaqueBlendSet& blend_;
  bool updateAlpha_;
};

}  // namespace drawing::draw
