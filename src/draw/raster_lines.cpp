// Lines and boxes of the raster back-end: the lines most strokes are made
// of go straight to the stepping; the others are clipped, then drawn as
// spans (raster_spans.cpp) or stepped.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "draw/clip_segment.h"
#include "draw/raster_backend.h"
#include "draw/raster_loops.h"

namespace drawing::draw {

using raster::PrefetchNeighbourRows;

void RasterBackend::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const auto inside = [](int32_t v, int32_t size) {
    return static_cast<uint32_t>(v) < static_cast<uint32_t>(size);
  };
  // Most lines lie inside: straight to the stepping, which paints a row or
  // a column as the spans would; the other cases (DrawOtherLine) stay out of
  // the way.
  if (inside(x1, width) && inside(x2, width) && inside(y1, height) && inside(y2, height)) {
    StepSegment(x1, y1, x2, y2);
    return;
  }
  DrawOtherLine(x1, y1, x2, y2);
}

void RasterBackend::StepSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // Most lines are short and share their shape with the line before.
  const LineShape shape{x2 - x1, y2 - y1, pitch_, bytesPerPixel_};
  if (PerPixel() || (!(shape == shape_) && !MakeShape(shape.dx, shape.dy))) {
    StepLongSegment(x1, y1, x2, y2);
    return;
  }
  uint8_t* start = shapeFromSecond_ ? PixelAddress(x2, y2) : PixelAddress(x1, y1);
  PrefetchNeighbourRows(start, pitch_);
  PrefetchNeighbourRows(start + shapeOffsets_[shapeCount_ - 1], pitch_);
  if (const std::optional<BlendRuns> runs = raster::BlendRunsOf(*this)) {
    runs->AtOffsets(start, shapeOffsets_, shapeCount_);
    return;
  }
  PaintShapeByRule(start);
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
  if (HasAny(drawMode_, DrawModeOutline)) {
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
