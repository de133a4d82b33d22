// Where a particle's box and stroke go: integer coordinates from the
// particle's doubles, each expression rounded once, ties to even.
#pragma once

#include <array>
#include <cstdint>

#include "app/particle.h"
#include "draw/draw_context.h"
#include "draw/drawing.h"

namespace drawing::app {

inline constexpr int32_t StrokeHalfWidth = 30 / 2;  // lines on each side of the centre
inline constexpr int32_t kStrokeLineCount = 2 * StrokeHalfWidth + 1;
inline constexpr uint32_t StrokeAlpha = 150;
inline constexpr int32_t kBoxSize = 3;

// red + green * 256 + blue * 65536 + alpha * 16777216.
inline draw::Colour ParticleColour(const Particle& particle, uint32_t alpha) {
  return static_cast<uint32_t>(particle.red) + static_cast<uint32_t>(particle.green) * 256u +
         static_cast<uint32_t>(particle.blue) * 65536u + alpha * 16777216u;
}

// The column every line of the stroke starts at: one pixel back towards the
// old position, to the right when the particle did not move sideways.
int32_t StrokeStartColumn(const Particle& particle);

struct Line {
  int32_t x1;
  int32_t y1;
  int32_t x2;
  int32_t y2;
};

// Line `offset` (-15..15) of a particle's stroke, from the new position back
// to the previous one, `offset` pixels down.
Line StrokeLine(const Particle& particle, int32_t startColumn, int32_t offset);

// Every line of a particle's stroke at once, the same as StrokeLine gives one
// by one: a frame rounds 31 lines per particle, so the shared column is
// rounded once and the rows in one plain loop.
struct Stroke {
  int32_t startColumn;
  int32_t endColumn;  // nearest(prevX)
  // nearest(y + offset) and nearest(prevY + offset), at offset + StrokeHalfWidth.
  std::array<int32_t, kStrokeLineCount> startRows;
  std::array<int32_t, kStrokeLineCount> endRows;

  Line LineAt(int32_t offset) const;
  // True when every line is line 0 moved `offset` rows down; false where a
  // row rounds at a half the other way, lies outside the 32-bit range, or
  // the centre rows lie more than 2^30 away from the screen.
  bool Parallel() const;
};

Stroke MakeStroke(const Particle& particle);

// Draws a stroke in `colour` on the current target: as one band of parallel
// lines when rounding kept them parallel (one colour throughout, so the order
// of the lines cannot change a pixel), else line by line from the centre
// outwards, one above and one below each time.
void DrawStroke(draw::Drawing& drawing, const Stroke& stroke, draw::Colour colour);

}  // namespace drawing::app
