// The application's whole state in one block, zeroed before anything else
// happens at start-up and then given its start values.
#pragma once

#include <cstdint>

#include "display/screen_state.h"
#include "runtime/element_list.h"
#include "runtime/typed_list.h"

namespace drawing::app {

struct Colour16 {
  int16_t r;
  int16_t g;
  int16_t b;
};

struct Point16 {
  int16_t x;
  int16_t y;
};

struct PointF64 {
  double x;
  double y;
};

// The numbers of the program's one image, the Canvas, and of the one sprite
// the Canvas is shown through.
inline constexpr int32_t CanvasImage = 0;
inline constexpr int32_t ScreenSprite = 0;

// Start values of the gradient end colours and of the attractor's step.
inline constexpr Colour16 kStartTailColour{255, 0, 0};
inline constexpr Colour16 kStartHeadColour{0, 0, 255};
inline constexpr float kStartStepLength = 30.0f;

struct AppState {
  runtime::ElementList* Swarm;     // of Particle
  void* swarmCurrent;              // the Swarm's current element, kept by the list
  runtime::ElementList* ModeList;  // of ScreenModeInfo
  void* modeCurrent;
  Colour16 TailColour;
  Colour16 HeadColour;
  float StepLength;
  int16_t ScreenWidth;
  int16_t ScreenHeight;
  // The attractor: the point the particles chase.
  Point16 Attractor;
  float Heading;  // degrees, 0 = up, clockwise, never wrapped
  PointF64 Target;
  int16_t DwellCount;  // frames counted near the target
};

// The mode list as what it holds.
inline runtime::ListView<display::ScreenModeInfo> ModeListOf(const AppState& state) {
  return runtime::ListView<display::ScreenModeInfo>(state.ModeList);
}

}  // namespace drawing::app
