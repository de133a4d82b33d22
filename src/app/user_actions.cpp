// Application::HandleUserActions: the frame's input. The left button adds a
// particle, a released S saves the Canvas, and any other held key or a move
// right or down ends the program.
#include "app/application.h"
#include "app/swarm.h"

namespace drawing::app {
namespace {

constexpr int32_t kLeftButton = 1;

}  // namespace

bool Application::AnyKeyEndsTheProgram() const {
  const input::Keyboard& keyboard = input_.keyboard;
  if (keyboard.KeyIsDown(input::AnyKey) == 0) {
    return false;
  }
  // S saves instead of ending; any other key ends.
  for (int32_t key = 0; key < input::kScannedKeys; ++key) {
    if (key != input::kKeyS && keyboard.KeyIsDown(key) != 0) {
      return true;
    }
  }
  return false;
}

bool Application::HandleUserActions() {
  if (shutDown_) {
    return false;  // the devices are released
  }
  input_.keyboard.PollKeyboard();
  input_.mouse.PollMouse();
  if (input_.mouse.MouseButtonDown(kLeftButton) != 0) {
    const int32_t b = random_.RandomUpTo(255);
    const int32_t g = random_.RandomUpTo(255);
    const int32_t f = random_.RandomUpTo(10);
    const auto follow =
        static_cast<float>(static_cast<double>(f) / 100.0 + static_cast<double>(0.01f));
    AddParticle(state_, follow, 0, g, b);
  }
  if (input_.keyboard.KeyReleased(input::kKeyS) != 0) {
    if (!SaveCanvas(options_.saveName)) {
      ReportSaveFailure(options_.saveName);
    } else if (options_.saved) {
      options_.saved(options_.saveName);
    }
  }
  return AnyKeyEndsTheProgram() || input_.mouse.MouseMoveX() > 0 || input_.mouse.MouseMoveY() > 0;
}

}  // namespace drawing::app
