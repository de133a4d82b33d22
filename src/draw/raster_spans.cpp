// Rows, columns and the lines most strokes are made of: the loops that hand
// pixels to the rules.
#include <cstddef>
#include <cstdlib>
#include <optional>

#include "draw/raster_backend.h"
#include "draw/raster_loops.h"

namespace drawing::draw {

using raster::PaintSpan;
using raster::PerPixel;
using raster::PrefetchNeighbourRows;

void RasterBackend::PaintRow(int32_t x, int32_t y, int32_t length) {
  if (PerPixel(*this)) {
    for (int32_t k = 0; k < length; ++k) {
      PaintPixel(x + k, y);
    }
    return;
  }
  uint8_t* start = PixelAddress(x, y);
  PrefetchNeighbourRows(start, pitch);
  PaintSpan(*this, start, bytesPerPixel, length);
}

void RasterBackend::PaintColumn(int32_t x, int32_t y, int32_t length) {
  if (PerPixel(*this)) {
    for (int32_t k = 0; k < length; ++k) {
      PaintPixel(x, y + k);
    }
    return;
  }
  // Rows lie bottom-up: one row down is one pitch back in memory.
  PaintSpan(*this, PixelAddress(x, y), -static_cast<ptrdiff_t>(pitch), length);
}

void RasterBackend::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const auto inside = [](int32_t v, int32_t size) {
    return static_cast<uint32_t>(v) < static_cast<uint32_t>(size);
  };
  // Most lines lie inside: straight to the stepping, which paints a row or
  // a column as the spans would; the other cases (raster_lines.cpp) stay out
  // of the way.
  if (inside(x1, width) && inside(x2, width) && inside(y1, height) && inside(y2, height)) {
    StepSegment(x1, y1, x2, y2);
    return;
  }
  DrawOtherLine(x1, y1, x2, y2);
}

void RasterBackend::StepSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  // Most lines are short and share their shape with the line before.
  const LineShape shape{x2 - x1, y2 - y1, pitch, bytesPerPixel};
  if (PerPixel(*this) || (!(shape == shape_) && !MakeShape(shape.dx, shape.dy))) {
    StepLongSegment(x1, y1, x2, y2);
    return;
  }
  uint8_t* start = shapeFromSecond_ ? PixelAddress(x2, y2) : PixelAddress(x1, y1);
  PrefetchNeighbourRows(start, pitch);
  PrefetchNeighbourRows(start + shapeOffsets_[shapeCount_ - 1], pitch);
  if (const std::optional<BlendRuns> runs = raster::BlendRunsOf(*this)) {
    runs->AtOffsets(start, shapeOffsets_, shapeCount_);
    return;
  }
  PaintShapeByRule(start);
}

}  // namespace drawing::draw
