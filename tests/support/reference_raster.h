// A plain per-pixel reading of the raster line drawing, kept as the yardstick
// for the fast raster back-end: the benchmarks' baseline and the tests'
// reference. Every pixel is located from its coordinates and combined with an
// integer division per channel; no span loops, no shortcuts.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

#include "draw/draw_context.h"

namespace drawing::support {

struct ReferenceRaster {
  static constexpr draw::DrawMode kBlendModes =
      draw::DrawModeAlphaBlend | draw::DrawModeAlphaBlendKeep;
  // Modes that paint their own colour rather than blending the front colour.
  static constexpr draw::DrawMode kOwnColourModes =
      draw::DrawModeXor | draw::DrawModeGradient | draw::DrawModeCustom;

  uint8_t* pixels = nullptr;  // bottom row first
  int32_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  int32_t bytesPerPixel = 4;

  draw::DrawMode drawMode = draw::DrawModeNone;
  bool blendOn = false;
  uint32_t frontColor = 0;
  int32_t red = 0, green = 0, blue = 0, alpha = 0, inverse = 255;
  int64_t paintedPixels = 0;  // pixels handed to the rule so far

  void SetDrawMode(draw::DrawMode mode) {
    drawMode = mode;
    blendOn = HasAny(mode, kBlendModes) && !HasAny(mode, kOwnColourModes);
    Prepare();
  }

  void SetColour(uint32_t colour) {
    frontColor = colour;
    Prepare();
  }

  void Prepare() {
    alpha = static_cast<int32_t>(frontColor >> 24);
    inverse = 255 - alpha;
    const int32_t f = blendOn ? alpha : 1;
    red = static_cast<int32_t>(frontColor & 255) * f;
    green = static_cast<int32_t>((frontColor >> 8) & 255) * f;
    blue = static_cast<int32_t>((frontColor >> 16) & 255) * f;
  }

  void PaintPixel(int32_t x, int32_t y) {
    ++paintedPixels;
    uint8_t* p = pixels + static_cast<intptr_t>(height - 1 - y) * pitch +
                 static_cast<intptr_t>(x) * bytesPerPixel;
    const int32_t s[3] = {blue, green, red};
    if (HasAny(drawMode, draw::DrawModeXor)) {
      for (int k = 0; k < 3; ++k) p[k] = static_cast<uint8_t>(p[k] ^ (s[k] & 255));
    } else if (HasAny(drawMode, draw::DrawModeAlphaChannel)) {
      if (bytesPerPixel == 4) p[3] = static_cast<uint8_t>(alpha);
    } else if (HasAny(drawMode, kBlendModes)) {
      if (bytesPerPixel == 3) {
        for (int k = 2; k >= 0; --k) p[k] = static_cast<uint8_t>((p[k] * inverse + s[k]) / 255);
        return;
      }
      const int32_t d = p[3];
      if (alpha == 0) return;
      for (int k = 2; k >= 0; --k) {
        if (d == 0) {
          p[k] = static_cast<uint8_t>(s[k] / alpha);
        } else {
          p[k] =
              static_cast<uint8_t>((p[k] * inverse * d + s[k] * 255) / (inverse * d + alpha * 255));
        }
      }
      if (HasAny(drawMode, draw::DrawModeAlphaBlend))
        p[3] = static_cast<uint8_t>((inverse * d + alpha * 255) / 255);
    } else {
      for (int k = 0; k < 3; ++k) p[k] = static_cast<uint8_t>(s[k]);
    }
  }

  // Moves end points outside lo..hi on the a axis onto the bound, b along.
  static bool Clip(int32_t& a1, int32_t& b1, int32_t& a2, int32_t& b2, int32_t lo, int32_t hi) {
    const auto slope = [&] {
      return (static_cast<double>(b2) - b1) / (static_cast<double>(a2) - a1);
    };
    if (a1 < lo) {
      if (a2 < lo) return false;
      const double s = slope();
      b1 = static_cast<int32_t>(b1 + (static_cast<double>(lo) - a1) * s);
      a1 = lo;
      if (a2 > hi) {
        b2 = static_cast<int32_t>(b2 + (static_cast<double>(hi) - a2) * s);
        a2 = hi;
      }
    } else if (a1 > hi) {
      if (a2 > hi) return false;
      const double s = slope();
      b1 = static_cast<int32_t>(b1 + (static_cast<double>(hi) - a1) * s);
      a1 = hi;
      if (a2 < lo) {
        b2 = static_cast<int32_t>(b2 - (static_cast<double>(a2) - lo) * s);
        a2 = lo;
      }
    } else if (a2 > hi) {
      b2 = static_cast<int32_t>(b2 + (static_cast<double>(hi) - a2) * slope());
      a2 = hi;
    } else if (a2 < lo) {
      b2 = static_cast<int32_t>(b2 - (static_cast<double>(a2) - lo) * slope());
      a2 = lo;
    }
    return true;
  }

  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
    if (y1 == y2 || x1 == x2) {
      // Axis-parallel: every pixel of the run that lies on the target.
      const int64_t lx = std::min(x1, x2), hx = std::max(x1, x2);
      const int64_t ly = std::min(y1, y2), hy = std::max(y1, y2);
      for (int64_t y = std::max<int64_t>(ly, 0); y <= std::min<int64_t>(hy, height - 1); ++y) {
        for (int64_t x = std::max<int64_t>(lx, 0); x <= std::min<int64_t>(hx, width - 1); ++x) {
          PaintPixel(static_cast<int32_t>(x), static_cast<int32_t>(y));
        }
      }
      return;
    }
    if (!Clip(x1, y1, x2, y2, 0, width - 1)) return;
    if (!Clip(y1, x1, y2, x2, 0, height - 1)) return;
    const int32_t ax = std::abs(x2 - x1), ay = std::abs(y2 - y1);
    if (ay <= ax) {
      if (x1 > x2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
      }
      const int32_t step = y2 > y1 ? 1 : -1;
      int32_t e = 2 * ay - ax, y = y1;
      PaintPixel(x1, y);
      for (int32_t x = x1 + 1; x <= x2; ++x) {
        if (e >= 0) {
          y += step;
          e += 2 * (ay - ax);
        } else {
          e += 2 * ay;
        }
        PaintPixel(x, y);
      }
    } else {
      if (y1 > y2) {
        std::swap(x1, x2);
        std::swap(y1, y2);
      }
      const int32_t step = x2 > x1 ? 1 : -1;
      int32_t e = 2 * ax - ay, x = x1;
      PaintPixel(x, y1);
      for (int32_t y = y1 + 1; y <= y2; ++y) {
        if (e >= 0) {
          x += step;
          e += 2 * (ax - ay);
        } else {
          e += 2 * ax;
        }
        PaintPixel(x, y);
      }
    }
  }
};

}  // namespace drawing::support
