#include "app/application.h"

#include <iostream>
#include <string>

#include "app/attractor.h"
#include "app/gradient.h"
#include "app/message_text.h"
#include "app/particle.h"
#include "app/screen_choice.h"
#include "app/swarm.h"
#include "draw/image_target.h"
#include "runtime/element_list.h"

namespace drawing::app {
namespace {

constexpr int32_t kScreenDepth = 32;
constexpr const char* ScreenTitle = "drawing";
constexpr int32_t kModeInfoSize = static_cast<int32_t>(sizeof(display::ScreenModeInfo));

runtime::RandomSeedSource SeedSource(platform::System& system, std::optional<uint32_t> seed) {
  if (seed) {
    return [value = *seed] { return value; };
  }
  return [&system] { return system.GetCurrentThreadId() ^ system.GetTickCount(); };
}

}  // namespace

Application::Application(const platform::Platform& platform, ApplicationOptions options)
    : platform_(platform),
      options_(std::move(options)),
      random_(SeedSource(platform.system, options_.seed)),
      images_(heap_, platform.gdi),
      bmp_(images_, platform.gdi, heap_, platform.files),
      drawing_(heap_, platform.system),
      display_(heap_, platform),
      input_(heap_, platform.directInput, platform.windowing, display_) {
  // When another window takes the focus, it gets the mouse too.
  display_.SetDeactivationListener([this] { input_.mouse.UnacquireMouse(); });
}

Application::~Application() {
  Shutdown();
}

int Application::Run() {
  if (!StartUp()) {
    return kExitScreenFailed;
  }
  while (RunFrame()) {
  }
  Shutdown();
  return kExitOk;
}

bool Application::StartUp() {
  state_ = AppState{};
  instance_ = platform_.windowing.GetModuleHandle();
  images_.InitImages();
  drawing_.InitDrawing();

  runtime::ListFree(state_.Swarm);
  state_.Swarm = runtime::ListNew(heap_, kParticleSize, &state_.swarmCurrent);
  state_.TailColour = kStartTailColour;
  state_.HeadColour = kStartHeadColour;
  state_.StepLength = kStartStepLength;
  runtime::ListFree(state_.ModeList);
  state_.ModeList = runtime::ListNew(heap_, kModeInfoSize, &state_.modeCurrent);

  SetUpScreen();
  if (!screenOpen_) {
    ReportScreenFailure();
    return false;
  }
  input_.mouse.PollMouse();
  AddStartParticles(state_);
  return true;
}

void Application::SetUpScreen() {
  display_.InitDisplay();
  input_.keyboard.OpenKeyboard();
  input_.mouse.OpenMouse();
  CollectDisplayModes();
  ChooseScreenSize(state_);
  screenOpen_ = display_.OpenFullScreen(state_.ScreenWidth, state_.ScreenHeight, kScreenDepth,
                                        ScreenTitle) != 0;
  if (!screenOpen_) {
    return;
  }
  display_.NewSprite(ScreenSprite, state_.ScreenWidth, state_.ScreenHeight);
  images_.NewImage(CanvasImage, state_.ScreenWidth, state_.ScreenHeight, kScreenDepth);
  drawing_.BeginDraw(draw::ImageTarget(drawing_, images_, platform_.gdi, CanvasImage));
  drawing_.EndDraw();
}

void Application::CollectDisplayModes() {
  if (display_.EnumerateDisplayModes() == 0) {
    return;
  }
  while (display_.NextDisplayMode() != 0) {
    display::ScreenModeInfo* mode = ModeListOf(state_).Add();
    if (mode == nullptr) {
      continue;
    }
    mode->width = static_cast<int16_t>(display_.DisplayModeWidth());
    mode->height = static_cast<int16_t>(display_.DisplayModeHeight());
    mode->depth = static_cast<int16_t>(display_.DisplayModeDepth());
    mode->refresh = static_cast<int16_t>(display_.DisplayModeRefreshRate());
  }
}

void Application::ReportScreenFailure() {
  // Read the reason before the shutdown lets go of the display.
  std::string reason;
  const std::string hostReason = options_.screenFailure ? options_.screenFailure() : "";
  if ((!display_.WindowCreated() || !display_.DisplayReady()) && !hostReason.empty()) {
    reason = MessageText(hostReason);
  } else if (!display_.WindowCreated()) {
    reason = "the screen window could not be created";
  } else if (!display_.DisplayReady()) {
    reason = "no Direct3D 9 display adapter with a display mode";
  } else if (state_.ScreenWidth <= 0 || state_.ScreenHeight <= 0) {
    reason = "the display adapter offers no display mode";
  } else {
    reason = "the display refused the full-screen mode " + std::to_string(state_.ScreenWidth) +
             "x" + std::to_string(state_.ScreenHeight) + " at 32 bits per pixel";
  }
  end_ = RunEnd::ScreenFailed;
  Shutdown();
  Errors() << options_.programName << ": cannot open the screen: " << reason << std::endl;
}

// The older file is kept; the drawing goes on, and the user is told.
void Application::ReportSaveFailure(const char* name) {
  ++failedSaves_;
  Errors() << options_.programName << ": cannot save " << Quoted(name) << ": "
           << MessageText(bmp_.LastFailure()) << std::endl;
}

std::ostream& Application::Errors() const {
  return options_.errors != nullptr ? *options_.errors : std::cerr;
}

bool Application::RunFrame() {
  if (shutDown_) {
    return false;
  }
  if (options_.stopRequest != nullptr && options_.stopRequest->load()) {
    end_ = RunEnd::StopRequest;
    return false;
  }
  if (options_.maxFrames && frame_ >= *options_.maxFrames) {
    end_ = RunEnd::FrameLimit;
    return false;
  }
  ++frame_;
  if (options_.beginFrame) {
    options_.beginFrame(frame_);
  }
  RenderFrame();
  if (HandleUserActions()) {
    end_ = RunEnd::UserInput;
    return false;
  }
  StepSimulation();
  if (input_.keyboard.KeyIsDown(input::kKeyEscape) != 0) {
    end_ = RunEnd::Escape;
    return false;
  }
  return true;
}

void Application::StepSimulation() {
  if (shutDown_) {
    return;
  }
  StepParticles(state_);
  UpdateGradient(state_, random_);
  SteerAttractor(state_, random_);
}

bool Application::SaveCanvas(const char* name, image::ImageFileFormat format) {
  return !shutDown_ && bmp_.SaveImage(CanvasImage, name, format) != 0;
}

bool Application::HasCanvas() {
  return !shutDown_ && images_.FindImage(CanvasImage) != nullptr;
}

void Application::Shutdown() {
  if (shutDown_) {
    return;
  }
  shutDown_ = true;
  input_.mouse.CloseMouse();
  input_.keyboard.CloseKeyboard();
  display_.ShutdownDisplay();
  images_.DestroyAllImages();
  // Every list and registry goes with the heap.
  heap_.Destroy();
  images_.ForgetRegistry();
  state_.Swarm = nullptr;
  state_.swarmCurrent = nullptr;
  state_.ModeList = nullptr;
  state_.modeCurrent = nullptr;
}

}  // namespace drawing::app
