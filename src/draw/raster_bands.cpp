// Parallel lines of one shape, each a row below the last: a particle's
// stroke. Painted as one band, the lines share their clipping and shape; a
// mostly-across band is painted row by row, where its pixels lie side by
// side in memory, a steep one column by column, each pixel once, and the
// rest line by line from the top.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "draw/raster_backend.h"
#include "draw/raster_loops.h"

namespace drawing::draw {

using raster::PaintSpan;
using raster::Prefetch;

void RasterBackend::DrawParallelLines(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                      int32_t firstOffset, int32_t lastOffset) {
  const auto inside = [](int64_t v, int32_t size) { return v >= 0 && v < size; };
  const int64_t top = static_cast<int64_t>(std::min(y1, y2)) + firstOffset;
  const int64_t bottom = static_cast<int64_t>(std::max(y1, y2)) + lastOffset;
  // A band partly outside is clipped line by line: clipping need not keep the
  // lines parallel.
  if (PerPixel() || firstOffset > lastOffset || !inside(x1, width) || !inside(x2, width) ||
      !inside(top, height) || !inside(bottom, height)) {
    DrawContext::DrawParallelLines(x1, y1, x2, y2, firstOffset, lastOffset);
    return;
  }
  const LineShape shape{x2 - x1, y2 - y1, pitch_, bytesPerPixel_};
  if (!(shape == shape_) && !MakeShape(shape.dx, shape.dy)) {
    DrawContext::DrawParallelLines(x1, y1, x2, y2, firstOffset, lastOffset);
    return;
  }
  // The first line's start pixel; every line of the band lies inside.
  uint8_t* start =
      shapeFromSecond_ ? PixelAddress(x2, y2 + firstOffset) : PixelAddress(x1, y1 + firstOffset);
  PaintShapeBand(start, lastOffset - firstOffset + 1);
}

void RasterBackend::PaintShapeBand(uint8_t* start, int32_t count) {
  const ptrdiff_t down = -static_cast<ptrdiff_t>(pitch_);  // rows lie bottom-up
  const std::optional<BlendRuns> runs = raster::BlendRunsOf(*this);
  if (!shapeAcross_) {
    // Steep: long runs of one column, whose pixels the band covers many times.
    if (runs && (shapeMinorLength_ + 1) * kSteepRun <= shapeCount_) {
      PaintSteepBandBlended(*runs, start, count);
      return;
    }
    // Else a row of the band holds few pixels, some of them covered by
    // several lines. Line by line, each a row below the last.
    for (int32_t line = 0; line < count; ++line) {
      uint8_t* lineStart = start + line * down;
      if (runs) {
        // Each line reaches one row further down than the one before: that
        // row, a few lines ahead, is all there is to warm.
        Prefetch(lineStart + shapeOffsets_[shapeCount_ - 1], 3 * down);
        runs->AtOffsets(lineStart, shapeOffsets_, shapeCount_);
      } else {
        PaintShapeByRule(lineStart);
      }
    }
    return;
  }
  // Mostly across: the shape has one pixel per column, so the lines never
  // cover a pixel twice, and row t of the band (counted from the first
  // line's start row) holds the pixels at minor position m with
  // minorStep * m + line == t for some line: one run of neighbouring pixels.
  const int32_t step = shapeMinorStep_;
  const int32_t minorLength = shapeMinorLength_;
  const int32_t lastLine = count - 1;
  const int32_t firstRow = step > 0 ? 0 : -minorLength;
  const int32_t lastRow = (step > 0 ? minorLength : 0) + lastLine;
  const ptrdiff_t pixelBytes = bytesPerPixel_;
  for (int32_t t = firstRow; t <= lastRow; ++t) {
    const int32_t low = std::max(step > 0 ? t - lastLine : -t, 0);
    const int32_t high = std::min(step > 0 ? t : lastLine - t, minorLength);
    const int32_t first = minorRuns_[low];
    const int32_t length = minorRuns_[high + 1] - first;
    uint8_t* row = start + t * down + first * pixelBytes;
    // The rows a little further down are next.
    Prefetch(row, 3 * down);
    Prefetch(row, 3 * down + (length - 1) * pixelBytes);
    if (runs) {
      runs->Run(row, pixelBytes, length);
    } else {
      PaintSpan(*this, row, pixelBytes, length);
    }
  }
}

// A steep shape has one pixel per row, and its pixels at minor position m
// (one column) are rows runStart..runEnd of it. Down that column the band
// covers a pixel once for every line that reaches its row: each pixel is
// read once and blended that many times, which for an opaque pixel stops
// early once its channels have settled.
void RasterBackend::PaintSteepBandBlended(const BlendRuns& runs, uint8_t* start, int32_t count) {
  const ptrdiff_t down = -static_cast<ptrdiff_t>(pitch_);
  const ptrdiff_t minorBytes = static_cast<ptrdiff_t>(shapeMinorStep_) * bytesPerPixel_;
  const int32_t lastLine = count - 1;
  for (int32_t m = 0; m <= shapeMinorLength_; ++m) {
    const int32_t runStart = minorRuns_[m];
    const int32_t runEnd = minorRuns_[m + 1] - 1;
    uint8_t* column = start + m * minorBytes;
    for (int32_t t = runStart; t <= runEnd + lastLine; ++t) {
      Prefetch(column, (t + 4) * down);
      runs.Repeated(column + t * down, std::min(runEnd, t) - std::max(runStart, t - lastLine) + 1);
    }
  }
}

}  // namespace drawing::draw
