// The colour gradient along the swarm and the random drift of its two end
// colours.
#pragma once

#include "app/app_state.h"
#include "runtime/random.h"

namespace drawing::app {

inline constexpr int32_t kColourDriftRange = 20;  // RandomUpTo(20) - 10: -10..+10

// Recolours every particle from HeadColour (first) to TailColour (last), then
// drifts TailColour and HeadColour: six draws, tail r, g, b, head r, g, b.
void UpdateGradient(AppState& state, runtime::Random& random);

}  // namespace drawing::app
