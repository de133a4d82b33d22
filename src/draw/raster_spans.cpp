// Rows and columns of the raster back-end, clipped or not: the spans that
// hand pixels to the rules.
#include <cstddef>

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

}  // namespace drawing::draw
