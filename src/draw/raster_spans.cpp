// Rows, columns and stepped lines: the loops that hand pixels to the rules.
#include <cstddef>
#include <cstdlib>

#include "draw/raster_backend.h"
#include "draw/span_rules.h"

namespace drawing::draw {
namespace {

// Midpoint stepping along the major axis for `majorLength` steps; the minor
// coordinate steps when the decision is >= 0 (ties step). Both ends painted.
template <class Walker>
void Step(int32_t majorLength, int32_t minorLength, Walker& walker) {
  int32_t e = 2 * minorLength - majorLength;
  const int32_t withMinor = 2 * (minorLength - majorLength);
  const int32_t withoutMinor = 2 * minorLength;
  walker.Paint();
  for (int32_t k = 0; k < majorLength; ++k) {
    const bool minor = e >= 0;
    walker.Advance(minor);
    e += minor ? withMinor : withoutMinor;
    walker.Paint();
  }
}

// Walks pixel addresses and applies one rule.
template <class Rule>
struct AddressWalker {
  uint8_t* p;
  ptrdiff_t major;
  ptrdiff_t minor;
  Rule rule;
  void Paint() { rule(p); }
  void Advance(bool withMinor) { p += major + (withMinor ? minor : 0); }
};

// Walks coordinates and paints each pixel on its own (gradient, custom).
struct PointWalker {
  RasterBackend& context;
  int32_t x;
  int32_t y;
  int32_t majorX;
  int32_t majorY;
  int32_t minorX;
  int32_t minorY;
  void Paint() { context.PaintPixel(x, y); }
  void Advance(bool withMinor) {
    x += majorX + (withMinor ? minorX : 0);
    y += majorY + (withMinor ? minorY : 0);
  }
};

bool PerPixel(const RasterBackend& context) {
  return context.gradientOn != 0 || context.customOn != 0;
}

// Applies the context's rule to `length` pixels from `p`, `stride` bytes apart.
void PaintSpan(const RasterBackend& context, uint8_t* p, ptrdiff_t stride, int32_t length) {
  WithSpanRule(context, [&](auto rule) {
    for (int32_t k = 0; k < length; ++k, p += stride) {
      rule(p);
    }
  });
}

}  // namespace

void RasterBackend::PaintRow(int32_t x, int32_t y, int32_t length) {
  if (PerPixel(*this)) {
    for (int32_t k = 0; k < length; ++k) {
      PaintPixel(x + k, y);
    }
    return;
  }
  PaintSpan(*this, PixelAddress(x, y), bytesPerPixel, length);
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

void RasterBackend::StepSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  const int32_t ax = std::abs(x2 - x1);
  const int32_t ay = std::abs(y2 - y1);
  const bool xMajor = ay <= ax;
  // Start at the end with the smaller major coordinate, so both directions
  // of a line cover the same pixels.
  const bool fromFirst = xMajor ? x1 <= x2 : y1 <= y2;
  const int32_t startX = fromFirst ? x1 : x2;
  const int32_t startY = fromFirst ? y1 : y2;
  const int32_t endX = fromFirst ? x2 : x1;
  const int32_t endY = fromFirst ? y2 : y1;
  const int32_t minorStep = xMajor ? (endY > startY ? 1 : -1) : (endX > startX ? 1 : -1);
  const int32_t majorLength = xMajor ? ax : ay;
  const int32_t minorLength = xMajor ? ay : ax;

  if (PerPixel(*this)) {
    PointWalker walker{*this,
                       startX,
                       startY,
                       xMajor ? 1 : 0,
                       xMajor ? 0 : 1,
                       xMajor ? 0 : minorStep,
                       xMajor ? minorStep : 0};
    Step(majorLength, minorLength, walker);
    return;
  }
  const ptrdiff_t xBytes = bytesPerPixel;
  const ptrdiff_t yBytes = -static_cast<ptrdiff_t>(pitch);  // one row down
  const ptrdiff_t major = xMajor ? xBytes : yBytes;
  const ptrdiff_t minor = (xMajor ? yBytes : xBytes) * minorStep;
  uint8_t* start = PixelAddress(startX, startY);
  WithSpanRule(*this, [&](auto rule) {
    AddressWalker<decltype(rule)> walker{start, major, minor, rule};
    Step(majorLength, minorLength, walker);
  });
}

}  // namespace drawing::draw
