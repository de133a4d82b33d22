#include "app/stroke.h"

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

}  // namespace drawing::app
