// The attractor: it dwells near its target, then picks a random new one on
// the screen, turns towards it by at most 10 degrees a frame and moves 30
// pixels a frame.
#pragma once

#include <cstdint>

#include "app/app_state.h"
#include "runtime/random.h"

namespace drawing::app {

inline constexpr double kNearTargetDistance = 20;  // strict, per axis
inline constexpr int16_t kDwellLimit = 50;
inline constexpr double kTurnStep = 10;

// One frame of the attractor: dwell count, new target, heading, position.
void SteerAttractor(AppState& state, runtime::Random& random);

}  // namespace drawing::app
