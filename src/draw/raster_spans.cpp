// Rows and columns of the raster back-end, clipped or not: the spans that
// hand pixels to the rules.
#include <cstddef>
#include <optional>

#include "draw/raster_backend.h"
#include "draw/raster_loops.h"

namespace drawing::draw {

using raster::PaintSpan;
using raster::PrefetchNeighbourRows;

namespace {

struct Span {
  int32_t start;
  int32_t length;
};

// The part of a span on line `line` (of `lines`) from `start` for `length`
// pixels that lies within 0..limit-1; none when nothing of it does.
std::optional<Span> ClipSpan(int32_t line, int32_t lines, int32_t start, int64_t length,
                             int32_t limit) {
  if (line < 0 || line >= lines) {
    return std::nullopt;
  }
  int64_t first = start;
  if (first < 0) {
    length += first;
    first = 0;
  }
  if (first + length > limit) {
    length = limit - first;
  }
  if (length <= 0) {
    return std::nullopt;
  }
  return Span{static_cast<int32_t>(first), static_cast<int32_t>(length)};
}

}  // namespace

void RasterBackend::PaintRow(int32_t x, int32_t y, int32_t length) {
  if (PerPixel()) {
    for (int32_t k = 0; k < length; ++k) {
      PaintPixel(x + k, y);
    }
    return;
  }
  uint8_t* start = PixelAddress(x, y);
  PrefetchNeighbourRows(start, pitch_);
  PaintSpan(*this, start, bytesPerPixel_, length);
}

void RasterBackend::PaintColumn(int32_t x, int32_t y, int32_t length) {
  if (PerPixel()) {
    for (int32_t k = 0; k < length; ++k) {
      PaintPixel(x, y + k);
    }
    return;
  }
  // Rows lie bottom-up: one row down is one pitch back in memory.
  PaintSpan(*this, PixelAddress(x, y), -static_cast<ptrdiff_t>(pitch_), length);
}

void RasterBackend::DrawRowClipped(int32_t x, int64_t length, int32_t y) {
  if (const auto span = ClipSpan(y, height, x, length, width)) {
    PaintRow(span->start, y, span->length);
  }
}

void RasterBackend::DrawColumnClipped(int32_t y, int64_t length, int32_t x) {
  if (const auto span = ClipSpan(x, width, y, length, height)) {
    PaintColumn(x, span->start, span->length);
  }
}

}  // namespace drawing::draw
