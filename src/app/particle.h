// One member of the swarm as it lies in the swarm list: 58 bytes, the fields
// one after another without padding, so the list's element size is the
// record's size.
#pragma once

#include <cstddef>
#include <cstdint>

#include "app/app_state.h"
#include "runtime/typed_list.h"

namespace drawing::app {

#pragma pack(push, 1)
struct Particle {
  double x;
  double y;
  double prevX;  // position at the start of the previous step
  double prevY;
  double pullX;  // pull applied in the last step
  double pullY;
  float follow;  // share of the distance to the attractor added as pull each step
  int16_t red;
  int16_t green;
  int16_t blue;
};
#pragma pack(pop)

inline constexpr int32_t kParticleSize = 58;
static_assert(sizeof(Particle) == kParticleSize);
static_assert(offsetof(Particle, follow) == 48);
static_assert(offsetof(Particle, red) == 52);
static_assert(offsetof(Particle, blue) == 56);

// The swarm list as what it holds.
inline runtime::ListView<Particle> SwarmOf(const AppState& state) {
  return runtime::ListView<Particle>(state.Swarm);
}

}  // namespace drawing::app
