#include "app/swarm.h"

#include "runtime/element_list.h"

namespace drawing::app {

void AddParticle(AppState& state, float follow, int32_t r, int32_t g, int32_t b) {
  Particle* particle = SwarmOf(state).Add();
  if (particle == nullptr) {
    return;
  }
  particle->x = static_cast<double>(state.Attractor.x);
  particle->y = static_cast<double>(state.Attractor.y);
  particle->prevX = particle->x;
  particle->prevY = particle->y;
  particle->red = static_cast<int16_t>(r);
  particle->green = static_cast<int16_t>(g);
  particle->blue = static_cast<int16_t>(b);
  particle->follow = follow;
}

void StepParticle(Particle& particle, int16_t ax, int16_t ay) {
  const double oldX = particle.x;
  const double oldY = particle.y;
  const double dx = static_cast<double>(ax) - particle.x;
  const double dy = static_cast<double>(ay) - particle.y;
  particle.pullX = dx * static_cast<double>(particle.follow);
  particle.pullY = dy * static_cast<double>(particle.follow);
  particle.x = particle.x * 2.0 - particle.prevX + particle.pullX;
  particle.y = particle.y * 2.0 - particle.prevY + particle.pullY;
  const double dampX = (particle.prevX - particle.x) * static_cast<double>(kDampingShare);
  const double dampY = (particle.prevY - particle.y) * static_cast<double>(kDampingShare);
  particle.x = particle.x + dampX;
  particle.y = particle.y + dampY;
  particle.prevX = oldX;
  particle.prevY = oldY;
}

void StepParticles(AppState& state) {
  const runtime::ListView<Particle> swarm = SwarmOf(state);
  swarm.Rewind();
  while (Particle* particle = swarm.Next()) {
    StepParticle(*particle, state.Attractor.x, state.Attractor.y);
  }
}

void AddStartParticles(AppState& state) {
  constexpr int32_t divisor = kStartParticleCount - 1;
  const Colour16 tail = state.TailColour;
  const Colour16 head = state.HeadColour;
  for (int32_t i = 0; i < kStartParticleCount; ++i) {
    const auto follow = static_cast<float>(static_cast<double>(i) * static_cast<double>(0.01f));
    const int32_t r = (tail.r / divisor) * i + (head.r / divisor) * (divisor - i);
    const int32_t g = (tail.g / divisor) * i + (head.g / divisor) * (divisor - i);
    const int32_t b = (tail.b / divisor) * i + (head.b / divisor) * (divisor - i);
    AddParticle(state, follow, r, g, b);
  }
}

}  // namespace drawing::app
