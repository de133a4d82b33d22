// Lines and boxes of the raster back-end: clipping, then spans or stepping.
#include <algorithm>
#include <cstdlib>

#include "draw/clip_segment.h"
#include "draw/raster_backend.h"

namespace drawing::draw {

void RasterBackend::DrawRowClipped(int32_t x, int64_t length, int32_t y) {
  if (y < 0 || y >= height) {
    return;
  }
  int64_t start = x;
  if (start < 0) {
    length += start;
    start = 0;
  }
  if (start + length > width) {
    length = width - start;
  }
  if (length > 0) {
    PaintRow(static_cast<int32_t>(start), y, static_cast<int32_t>(length));
  }
}

void RasterBackend::DrawColumnClipped(int32_t y, int64_t length, int32_t x) {
  if (x < 0 || x >= width) {
    return;
  }
  int64_t start = y;
  if (start < 0) {
    length += start;
    start = 0;
  }
  if (start + length > height) {
    length = height - start;
  }
  if (length > 0) {
    PaintColumn(x, static_cast<int32_t>(start), static_cast<int32_t>(length));
  }
}

void RasterBackend::DrawOtherLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  if (y1 == y2) {
    DrawRowClipped(std::min(x1, x2), std::abs(static_cast<int64_t>(x2) - x1) + 1, y1);
    return;
  }
  if (x1 == x2) {
    DrawColumnClipped(std::min(y1, y2), std::abs(static_cast<int64_t>(y2) - y1) + 1, x1);
    return;
  }
  // Some end point lies outside (DrawLine takes the others).
  if (!ClipSegment(x1, y1, x2, y2, 0, width - 1) || !ClipSegment(y1, x1, y2, x2, 0, height - 1)) {
    return;
  }
  StepSegment(x1, y1, x2, y2);
}

void RasterBackend::DrawBox(int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight) {
  int64_t left = x;
  int64_t top = y;
  int64_t w = boxWidth;
  int64_t h = boxHeight;
  if (w < 0) {
    left += w;
    w = -w;
  }
  if (h < 0) {
    top += h;
    h = -h;
  }
  if ((drawMode & DrawModeOutline) != 0) {
    const auto at = [](int64_t v) {
      return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
    };
    DrawRowClipped(at(left), w, at(top));
    DrawRowClipped(at(left), w, at(top + h - 1));
    DrawColumnClipped(at(top + 1), h - 2, at(left));
    DrawColumnClipped(at(top + 1), h - 2, at(left + w - 1));
    return;
  }
  if (left < 0) {
    w += left;
    left = 0;
  }
  if (top < 0) {
    h += top;
    top = 0;
  }
  w = std::min<int64_t>(w, width - left);
  h = std::min<int64_t>(h, height - top);
  if (w <= 0 || h <= 0) {
    return;
  }
  for (int64_t row = 0; row < h; ++row) {
    PaintRow(static_cast<int32_t>(left), static_cast<int32_t>(top + row), static_cast<int32_t>(w));
  }
}

}  // namespace drawing::draw
