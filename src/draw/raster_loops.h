// The pieces the raster loops are made of: where a line's or a span's pixels
// lie (offsets from the first), prefetching, the loop that hands pixels to a
// rule, and how a segment is stepped. Shared by the span and line files.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>

#include "draw/blend_runs.h"
#include "draw/line_steps.h"
#include "draw/raster_backend.h"
#include "draw/span_rules.h"

namespace drawing::draw::raster {

// Byte offsets of a line's pixels from its start pixel, one per call, from
// the midpoint decisions step by step.
class SteppedOffsets {
 public:
  SteppedOffsets(Midpoint midpoint, ptrdiff_t major, ptrdiff_t minor)
      : midpoint_(midpoint), diagonal_(major + minor), minor_(minor) {}

  ptrdiff_t operator()() {
    const ptrdiff_t current = offset_;
    offset_ += diagonal_ - (minor_ & static_cast<ptrdiff_t>(midpoint_.Next()));
    return current;
  }

 private:
  Midpoint midpoint_;
  ptrdiff_t diagonal_;
  ptrdiff_t minor_;
  ptrdiff_t offset_ = 0;
};

// The same offsets from the minor positions, which need no chain of
// decisions from one pixel to the next.
class PositionedOffsets {
 public:
  PositionedOffsets(MinorPositions positions, ptrdiff_t major, ptrdiff_t minor)
      : positions_(positions), major_(major), minor_(minor) {}

  ptrdiff_t operator()() {
    const ptrdiff_t current = majorOffset_ + static_cast<ptrdiff_t>(positions_.Next()) * minor_;
    majorOffset_ += major_;
    return current;
  }

 private:
  MinorPositions positions_;
  ptrdiff_t major_;
  ptrdiff_t minor_;
  ptrdiff_t majorOffset_ = 0;
};

// Offsets listed beforehand.
class ListedOffsets {
 public:
  explicit ListedOffsets(const ptrdiff_t* offsets) : next_(offsets) {}
  ptrdiff_t operator()() { return *next_++; }

 private:
  const ptrdiff_t* next_;
};

// Byte offsets of a row or column: `stride` apart.
class SpanOffsets {
 public:
  explicit SpanOffsets(ptrdiff_t stride) : stride_(stride) {}
  ptrdiff_t operator()() {
    const ptrdiff_t current = offset_;
    offset_ += stride_;
    return current;
  }

 private:
  ptrdiff_t stride_;
  ptrdiff_t offset_ = 0;
};

// Announces a write near `p`; the address is only a hint and never used.
inline void Prefetch(const uint8_t* p, ptrdiff_t offset) {
  const auto address = reinterpret_cast<uintptr_t>(p) + static_cast<uintptr_t>(offset);
  __builtin_prefetch(reinterpret_cast<const void*>(address), 1);
}

// Strokes are bundles of parallel lines drawn one after another, each a row
// further out, so the rows around a line are about to be painted: asking for
// them now lets those cache misses overlap with this line's work instead of
// stalling the next lines pixel by pixel.
inline void PrefetchNeighbourRows(const uint8_t* p, ptrdiff_t pitch) {
  for (ptrdiff_t rows = 1; rows <= 2; ++rows) {
    Prefetch(p, rows * pitch);
    Prefetch(p, -rows * pitch);
  }
}

// Applies `rule` to `count` different pixels at base + next(), ...; in pairs
// where the rule can take two at once. An odd last pixel is paired with a
// spare opaque pixel on the stack, so that one loop with one exit serves
// every length. Pairs also warm the pixels `neighbour` bytes above and below
// (see PrefetchNeighbourRows).
template <class Rule, class Offsets>
void PaintSequence(const Rule& rule, uint8_t* base, int32_t count, Offsets next,
                   ptrdiff_t neighbour) {
  if constexpr (requires { rule(base, base); }) {
    uint32_t spare = 0xFF000000u;
    auto* spareBytes = reinterpret_cast<uint8_t*>(&spare);
    for (int32_t left = count; left > 0; left -= 2) {
      uint8_t* first = base + next();
      Prefetch(first, neighbour);
      Prefetch(first, -neighbour);
      const ptrdiff_t secondOffset = next();
      uint8_t* second = left >= 2 ? base + secondOffset : spareBytes;
      rule(first, second);
    }
  } else {
    for (; count > 0; --count) {
      rule(base + next());
    }
  }
}

// How the midpoint method steps a segment: from the end with the smaller
// major coordinate, so both directions of a line cover the same pixels.
struct Stepping {
  Stepping(int32_t x1, int32_t y1, int32_t x2, int32_t y2, ptrdiff_t bytesPerPixel,
           ptrdiff_t pitch) {
    const int32_t ax = std::abs(x2 - x1);
    const int32_t ay = std::abs(y2 - y1);
    xMajor = ay <= ax;
    fromFirst = xMajor ? x1 <= x2 : y1 <= y2;
    const int32_t startX = fromFirst ? x1 : x2;
    const int32_t startY = fromFirst ? y1 : y2;
    const int32_t endX = fromFirst ? x2 : x1;
    const int32_t endY = fromFirst ? y2 : y1;
    minorStep = xMajor ? (endY > startY ? 1 : -1) : (endX > startX ? 1 : -1);
    majorLength = xMajor ? ax : ay;
    minorLength = xMajor ? ay : ax;
    const ptrdiff_t yBytes = -pitch;  // one row down
    major = xMajor ? bytesPerPixel : yBytes;
    minor = (xMajor ? yBytes : bytesPerPixel) * minorStep;
  }

  bool xMajor;
  bool fromFirst;
  int32_t minorStep;  // +1 or -1 along the minor axis
  int32_t majorLength;
  int32_t minorLength;
  ptrdiff_t major;  // bytes of one step along the major axis
  ptrdiff_t minor;  // and along the minor axis
};

// The blend of 4-byte pixels, when that is the context's rule.
inline std::optional<BlendRuns> BlendRunsOf(const RasterBackend& context) {
  if (context.BytesPerPixel() != 4 || context.PerPixel()) {
    return std::nullopt;
  }
  if (context.Rule() == PixelRow::Blend || context.Rule() == PixelRow::BlendKeep) {
    return BlendRuns(context.FrontBlend(), context.Rule() == PixelRow::Blend);
  }
  return std::nullopt;
}

// Applies the context's rule to `length` pixels from `p`, `stride` bytes
// apart. Only for modes without gradient and custom function.
inline void PaintSpan(const RasterBackend& context, uint8_t* p, ptrdiff_t stride, int32_t length) {
  if (const std::optional<BlendRuns> runs = BlendRunsOf(context)) {
    runs->Run(p, stride, length);
    return;
  }
  WithSpanRule(context, [&](const auto& rule) {
    PaintSequence(rule, p, length, SpanOffsets(stride), 2 * context.Pitch());
  });
}

}  // namespace drawing::draw::raster
