#include "app/attractor.h"

#include <cmath>

#include "app/geometry.h"
#include "app/rounding.h"

namespace drawing::app {

void SteerAttractor(AppState& state, runtime::Random& random) {
  const double ax = state.Attractor.x;
  const double ay = state.Attractor.y;
  if (std::fabs(state.Target.x - ax) < kNearTargetDistance &&
      std::fabs(state.Target.y - ay) < kNearTargetDistance) {
    state.DwellCount = static_cast<int16_t>(state.DwellCount + 1);
  }
  if (state.DwellCount >= kDwellLimit) {
    state.DwellCount = 0;
    // Height first, then width.
    const int32_t ny = random.RandomUpTo(state.ScreenHeight);
    const int32_t nx = random.RandomUpTo(state.ScreenWidth);
    state.Target = {static_cast<double>(nx), static_cast<double>(ny)};
  }
  if (state.DwellCount > 0) {
    return;
  }

  const auto b = static_cast<float>(BearingTo(ax, ay, state.Target.x, state.Target.y));
  auto t = static_cast<float>(static_cast<double>(b) / Pi * 180);
  const double heading = state.Heading;
  if (t < heading - 180) {
    t = static_cast<float>(t + 360.0);
  }
  if (t > heading + 180) {
    t = static_cast<float>(t - 360.0);
  }
  const auto d = static_cast<float>(static_cast<double>(t) - heading);
  // A target on the attractor itself has no bearing (not a number); the
  // heading then turns right like any far-off target would.
  if (d > kTurnStep || std::isnan(d)) {
    state.Heading = static_cast<float>(heading + kTurnStep);
  } else if (d < -kTurnStep) {
    state.Heading = static_cast<float>(heading - kTurnStep);
  }

  const RotatedPoint step = RotatePoint(0, -static_cast<double>(state.StepLength), 0, 0,
                                        static_cast<double>(state.Heading));
  state.Attractor.x = Nearest16(ax + step.x);
  state.Attractor.y = Nearest16(ay + step.y);
}

}  // namespace drawing::app
