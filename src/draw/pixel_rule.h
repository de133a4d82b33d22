// The per-pixel arithmetic of the raster back-end: one destination pixel
// (bytes blue, green, red and, for 4-byte pixels, alpha) combined with the
// prepared source colour. These are the plain forms, one pixel at a time with
// an integer division per channel; the span loops use faster exact forms for
// the common cases.
#pragma once

#include <cstdint>

#include "draw/draw_mode.h"

namespace drawing::draw {

// The prepared source colour, channels in pixel byte order. With blending
// on, the channels are premultiplied by `alpha` (up to 65025).
struct SourceChannels {
  int32_t blue = 0;   // S0
  int32_t green = 0;  // S1
  int32_t red = 0;    // S2
  int32_t alpha = 0;
  int32_t inverse = 255;
};

// Which rule a draw mode applies to a pixel: the first of XOR, alpha channel,
// blend, blend keeping the target alpha, plain.
enum class PixelRow : uint8_t { Xor, AlphaChannel, Blend, BlendKeep, Plain };

PixelRow PixelRowOf(DrawMode mode);

inline void XorPixel(uint8_t* p, const SourceChannels& s) {
  p[0] = static_cast<uint8_t>(p[0] ^ (s.blue & 255));
  p[1] = static_cast<uint8_t>(p[1] ^ (s.green & 255));
  p[2] = static_cast<uint8_t>(p[2] ^ (s.red & 255));
}

inline void PlainPixel(uint8_t* p, const SourceChannels& s) {
  p[0] = static_cast<uint8_t>(s.blue);
  p[1] = static_cast<uint8_t>(s.green);
  p[2] = static_cast<uint8_t>(s.red);
}

// Source-over onto straight alpha; d is the destination alpha before any write.
inline void BlendPixel4(uint8_t* p, const SourceChannels& s, bool updateAlpha) {
  const uint32_t a = static_cast<uint32_t>(s.alpha);
  if (a == 0) {
    return;  // nothing covers the pixel, and its alpha stays as well
  }
  const uint32_t i = static_cast<uint32_t>(s.inverse);
  const uint32_t d = p[3];
  const uint32_t source[3] = {static_cast<uint32_t>(s.blue), static_cast<uint32_t>(s.green),
                              static_cast<uint32_t>(s.red)};
  const uint32_t denominator = i * d + a * 255;
  for (int k = 2; k >= 0; --k) {
    if (d == 0) {
      p[k] = static_cast<uint8_t>(source[k] / a);
    } else {
      p[k] = static_cast<uint8_t>((p[k] * i * d + source[k] * 255) / denominator);
    }
  }
  if (updateAlpha) {
    p[3] = static_cast<uint8_t>(denominator / 255);
  }
}

inline void BlendPixel3(uint8_t* p, const SourceChannels& s) {
  const uint32_t i = static_cast<uint32_t>(s.inverse);
  p[2] = static_cast<uint8_t>((p[2] * i + static_cast<uint32_t>(s.red)) / 255);
  p[1] = static_cast<uint8_t>((p[1] * i + static_cast<uint32_t>(s.green)) / 255);
  p[0] = static_cast<uint8_t>((p[0] * i + static_cast<uint32_t>(s.blue)) / 255);
}

// The rule of `row` on one pixel of `bytesPerPixel` (3 or 4) bytes.
void ApplyPixelRule(PixelRow row, int32_t bytesPerPixel, uint8_t* p, const SourceChannels& s);

}  // namespace drawing::draw
