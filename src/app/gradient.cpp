#include "app/gradient.h"

#include <algorithm>

#include "app/particle.h"
#include "runtime/element_list.h"

namespace drawing::app {
namespace {

int16_t Blend(int16_t tail, int16_t head, int32_t n, int32_t p) {
  return static_cast<int16_t>((tail / n) * p + (head / n) * (n - p));
}

int16_t Drift(int16_t component, runtime::Random& random) {
  return static_cast<int16_t>(component + random.RandomUpTo(kColourDriftRange) -
                              kColourDriftRange / 2);
}

int16_t Clamp(int16_t component) {
  return std::clamp<int16_t>(component, 0, 255);
}

void DriftColour(Colour16& colour, runtime::Random& random) {
  colour.r = Drift(colour.r, random);
  colour.g = Drift(colour.g, random);
  colour.b = Drift(colour.b, random);
  colour.r = Clamp(colour.r);
  colour.g = Clamp(colour.g);
  colour.b = Clamp(colour.b);
}

}  // namespace

void UpdateGradient(AppState& state, runtime::Random& random) {
  const int32_t n = runtime::ListCount(state.Swarm);
  const Colour16 tail = state.TailColour;
  const Colour16 head = state.HeadColour;
  if (n > 0) {
    const runtime::ListView<Particle> swarm = SwarmOf(state);
    swarm.Rewind();
    while (Particle* particle = swarm.Next()) {
      const int32_t p = runtime::ListPosition(state.Swarm);
      particle->red = Blend(tail.r, head.r, n, p);
      particle->green = Blend(tail.g, head.g, n, p);
      particle->blue = Blend(tail.b, head.b, n, p);
    }
  }
  DriftColour(state.TailColour, random);
  DriftColour(state.HeadColour, random);
}

}  // namespace drawing::app
