// Lines off the common path: laying out a new short shape, short lines in
// the modes other than the blend of 4-byte pixels, and long lines.
#include <cstddef>
#include <cstdlib>

#include "draw/line_steps.h"
#include "draw/raster_backend.h"
#include "draw/raster_loops.h"
#include "draw/span_rules.h"

namespace drawing::draw {

using raster::ListedOffsets;
using raster::PaintSequence;
using raster::PositionedOffsets;
using raster::PrefetchNeighbourRows;
using raster::SteppedOffsets;
using raster::Stepping;

bool RasterBackend::MakeShape(int32_t dx, int32_t dy) {
  const Stepping stepping(0, 0, dx, dy, bytesPerPixel_, pitch_);
  if (stepping.majorLength >= kShapePixels) {
    return false;
  }
  const int32_t count = stepping.majorLength + 1;
  // Without branches: the pattern of steps follows the slope.
  Midpoint midpoint(stepping.majorLength, stepping.minorLength);
  const ptrdiff_t diagonal = stepping.major + stepping.minor;
  ptrdiff_t offset = 0;
  int64_t minorPosition = 0;
  minorRuns_[0] = 0;
  for (int32_t k = 0; k < count; ++k) {
    shapeOffsets_[k] = offset;
    // The last pixel at a minor position ends its run.
    minorRuns_[minorPosition + 1] = k + 1;
    const int64_t stays = midpoint.Next();  // all ones or 0
    offset += diagonal - (stepping.minor & static_cast<ptrdiff_t>(stays));
    minorPosition += 1 + stays;
  }
  shapeOffsets_[count] = 0;
  shape_ = LineShape{dx, dy, pitch_, bytesPerPixel_};
  shapeFromSecond_ = !stepping.fromFirst;
  shapeAcross_ = stepping.xMajor;
  shapeMinorStep_ = stepping.minorStep;
  shapeMinorLength_ = stepping.minorLength;
  shapeCount_ = count;
  return true;
}

void RasterBackend::PaintShapeByRule(uint8_t* start) {
  WithSpanRule(*this, [&](const auto& rule) {
    PaintSequence(rule, start, shapeCount_, ListedOffsets(shapeOffsets_), 2 * pitch_);
  });
}

void RasterBackend::StepLongSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const Stepping stepping(x1, y1, x2, y2, bytesPerPixel_, pitch_);
  const int32_t startX = stepping.fromFirst ? x1 : x2;
  const int32_t startY = stepping.fromFirst ? y1 : y2;
  const int32_t majorLength = stepping.majorLength;
  const int32_t minorLength = stepping.minorLength;

  if (PerPixel()) {
    // Gradient and custom colours depend on the coordinates.
    const int32_t minorStep = stepping.minorStep;
    Midpoint midpoint(majorLength, minorLength);
    int32_t x = startX;
    int32_t y = startY;
    PaintPixel(x, y);
    for (int32_t k = 0; k < majorLength; ++k) {
      const int32_t minor = midpoint.Next() == 0 ? minorStep : 0;
      x += stepping.xMajor ? 1 : minor;
      y += stepping.xMajor ? minor : 1;
      PaintPixel(x, y);
    }
    return;
  }
  // A long line: its neighbours in the stroke are about to be painted.
  uint8_t* start = PixelAddress(startX, startY);
  PrefetchNeighbourRows(start, pitch_);
  PrefetchNeighbourRows(PixelAddress(stepping.fromFirst ? x2 : x1, stepping.fromFirst ? y2 : y1),
                        pitch_);
  const int32_t count = majorLength + 1;
  const ptrdiff_t major = stepping.major;
  const ptrdiff_t minor = stepping.minor;
  if (!MinorPositions::Fits(majorLength, minorLength)) {
    WithSpanRule(*this, [&](const auto& rule) {
      PaintSequence(rule, start, count,
                    SteppedOffsets(Midpoint(majorLength, minorLength), major, minor), 2 * pitch_);
    });
    return;
  }
  // The parallel lines of a stroke share their lengths: keep the reciprocal.
  if (majorLength != reciprocalLength_) {
    reciprocalLength_ = majorLength;
    reciprocal_ = MinorPositions::Reciprocal(majorLength);
  }
  WithSpanRule(*this, [&](const auto& rule) {
    PaintSequence(
        rule, start, count,
        PositionedOffsets(MinorPositions(majorLength, minorLength, reciprocal_), major, minor),
        2 * pitch_);
  });
}

}  // namespace drawing::draw
