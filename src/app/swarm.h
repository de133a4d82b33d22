// The swarm: adding particles and moving them like damped springs towards
// the attractor.
#pragma once

#include <cstdint>

#include "app/app_state.h"
#include "app/particle.h"

namespace drawing::app {

// The damping share, as the 32-bit constant 0.05.
inline constexpr float kDampingShare = 0.05f;
// Number of particles made at start-up.
inline constexpr int32_t kStartParticleCount = 20;

// Appends one particle at rest at the attractor. The swarm's cursor must stand
// on the last element (as after a full pass) for it to go to the end.
void AddParticle(AppState& state, float follow, int32_t r, int32_t g, int32_t b);

// One step of one particle towards the attractor point (ax, ay).
void StepParticle(Particle& particle, int16_t ax, int16_t ay);

// Steps every particle, first to last.
void StepParticles(AppState& state);

// The twenty start-up particles: follow i * 0.01 and colours along the
// gradient with divisor 19, particle 0 first.
void AddStartParticles(AppState& state);

}  // namespace drawing::app
