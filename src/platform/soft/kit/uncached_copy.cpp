#include "platform/soft/kit/uncached_copy.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace drawing::platform::soft {

#if defined(__SSE2__)

void UncachedCopy(uint8_t* to, const uint8_t* from, size_t bytes) {
  // Up to the first 16-byte boundary of the destination, plainly.
  const size_t head = (16 - (reinterpret_cast<uintptr_t>(to) & 15)) & 15;
  if (bytes < head + 64) {
    std::memcpy(to, from, bytes);
    return;
  }
  std::memcpy(to, from, head);
  size_t done = head;
  for (; done + 64 <= bytes; done += 64) {
    const auto* source = reinterpret_cast<const __m128i*>(from + done);
    auto* target = reinterpret_cast<__m128i*>(to + done);
    const __m128i a = _mm_loadu_si128(source);
    const __m128i b = _mm_loadu_si128(source + 1);
    const __m128i c = _mm_loadu_si128(source + 2);
    const __m128i d = _mm_loadu_si128(source + 3);
    _mm_stream_si128(target, a);
    _mm_stream_si128(target + 1, b);
    _mm_stream_si128(target + 2, c);
    _mm_stream_si128(target + 3, d);
  }
  std::memcpy(to + done, from + done, bytes - done);
}

void UncachedCopyDone() {
  _mm_sfence();
}

#else

void UncachedCopy(uint8_t* to, const uint8_t* from, size_t bytes) {
  std::memcpy(to, from, bytes);
}

void UncachedCopyDone() {}

#endif

}  // namespace drawing::platform::soft
