#include "app/stroke.h"

#include <cstddef>

#include "app/rounding.h"

namespace drawing::app {

int32_t StrokeStartColumn(const Particle& particle) {
  return particle.prevX < particle.x ? Nearest(particle.x - 1) : Nearest(particle.x + 1);
}

Line StrokeLine(const Particle& particle, int32_t startColumn, int32_t offset) {
  // nearest(y - i) of the difference, not nearest(y) - i: they differ at halves.
  return {startColumn, Nearest(particle.y + offset), Nearest(particle.prevX),
          Nearest(particle.prevY + offset)};
}

namespace {

// nearest(centre + offset) for every offset of a stroke. Near the screen the
// sums stay far inside the range of the shortcut and of int32_t, so the loop
// needs no checks; anywhere else each row goes through Nearest.
void RoundRows(double centre, std::array<int32_t, kStrokeLineCount>& rows) {
  constexpr double kPlainRange = 1073741824.0;  // 2^30
  if (centre > -kPlainRange && centre < kPlainRange) {
    for (size_t k = 0; k < rows.size(); ++k) {
      const int32_t offset = static_cast<int32_t>(k) - StrokeHalfWidth;
      rows[k] = static_cast<int32_t>(RoundToIntegerBelowLimit(centre + offset));
    }
    return;
  }
  for (size_t k = 0; k < rows.size(); ++k) {
    rows[k] = Nearest(centre + (static_cast<int32_t>(k) - StrokeHalfWidth));
  }
}

bool MovedDownByOffset(const std::array<int32_t, kStrokeLineCount>& rows) {
  const int32_t centre = rows[StrokeHalfWidth];
  constexpr int32_t kNear = 1 << 30;
  if (centre < -kNear || centre > kNear) {
    return false;  // off any screen; the lines are drawn one by one
  }
  // Differences taken modulo 2^32, which is exact here: no row lies 2^32 - 15
  // or more away from a centre this near.
  uint32_t mismatch = 0;
  for (size_t k = 0; k < rows.size(); ++k) {
    const uint32_t difference = static_cast<uint32_t>(rows[k]) - static_cast<uint32_t>(centre);
    mismatch |= difference ^ static_cast<uint32_t>(static_cast<int32_t>(k) - StrokeHalfWidth);
  }
  return mismatch == 0;
}

}  // namespace

Line Stroke::LineAt(int32_t offset) const {
  const auto k = static_cast<size_t>(offset + StrokeHalfWidth);
  return {startColumn, startRows[k], endColumn, endRows[k]};
}

bool Stroke::Parallel() const {
  return MovedDownByOffset(startRows) && MovedDownByOffset(endRows);
}

void DrawStroke(draw::Drawing& drawing, const Stroke& stroke, draw::Colour colour) {
  if (stroke.Parallel()) {
    const Line centre = stroke.LineAt(0);
    drawing.DrawParallelLines(centre.x1, centre.y1, centre.x2, centre.y2, -StrokeHalfWidth,
                              StrokeHalfWidth, colour);
    return;
  }
  const auto draw = [&](int32_t offset) {
    const Line line = stroke.LineAt(offset);
    drawing.DrawLine(line.x1, line.y1, line.x2, line.y2, colour);
  };
  draw(0);
  for (int32_t i = 1; i <= StrokeHalfWidth; ++i) {
    draw(-i);
    draw(i);
  }
}

Stroke MakeStroke(const Particle& particle) {
  Stroke stroke{};
  stroke.startColumn = StrokeStartColumn(particle);
  stroke.endColumn = Nearest(particle.prevX);
  RoundRows(particle.y, stroke.startRows);
  RoundRows(particle.prevY, stroke.endRows);
  return stroke;
}

}  // namespace drawing::app
