// A particle's fields as plain, aligned values. The swarm's records are
// packed, so their fields must not be bound to references (as test macros
// do); tests compare these copies instead.
#pragma once

#include <cstdint>

#include "app/particle.h"

namespace drawing::app {

struct ParticleValues {
  double x;
  double y;
  double prevX;
  double prevY;
  double pullX;
  double pullY;
  float follow;
  int32_t red;
  int32_t green;
  int32_t blue;
};

inline ParticleValues Values(const Particle& p) {
  return {p.x, p.y, p.prevX, p.prevY, p.pullX, p.pullY, p.follow, p.red, p.green, p.blue};
}

}  // namespace drawing::app
