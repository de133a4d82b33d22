// The program: start-up, the frame loop and the orderly shutdown, on whatever
// platform the composition root hands in.
#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <iosfwd>
#include <optional>
#include <string>

#include "app/app_state.h"
#include "display/display.h"
#include "draw/drawing.h"
#include "image/image_writer.h"
#include "image/images.h"
#include "input/input.h"
#include "platform/platform.h"
#include "runtime/main_heap.h"
#include "runtime/random.h"

namespace drawing::app {

struct ApplicationOptions {
  // Replaces the generator's own seed (thread id XOR tick count).
  std::optional<uint32_t> seed;
  // Called at the start of every frame with its number, from 1.
  std::function<void(uint32_t frame)> beginFrame;
  // Ends the run in order after this many frames; none: run until input ends it.
  std::optional<uint32_t> maxFrames;
  // Set by the composition root's signal handler; looked at once per frame.
  const std::atomic<bool>* stopRequest = nullptr;
  // Where the one line about a screen that cannot be opened or a save that
  // failed goes (default: standard error), and the program name it starts with.
  std::ostream* errors = nullptr;
  const char* programName = "drawing";
  // The file the S key saves the Canvas to, and who is told when it was.
  const char* saveName = "bild.bmp";
  std::function<void(const char* name)> saved;
  // The host's words for why the screen could not open (no display, a
  // screen depth it cannot draw in), shown instead of the program's own
  // when not empty.
  std::function<std::string()> screenFailure;
};

enum class RunEnd : uint8_t {
  None,          // still running, or not started
  UserInput,     // a held key, or a move right or down
  Escape,        // the loop's own end test
  FrameLimit,    // maxFrames reached
  StopRequest,   // a signal asked for the end
  ScreenFailed,  // the full-screen display could not be opened
};

inline constexpr int32_t kExitOk = 0;
inline constexpr int32_t kExitScreenFailed = 1;

class Application {
 public:
  explicit Application(const platform::Platform& platform, ApplicationOptions options = {});
  // Shuts down in order if that has not happened yet.
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  // The whole program: start-up, frames until the end, shutdown. The exit
  // status.
  int Run();

  // The parts of Run, for callers that drive frames themselves.
  // False when the screen could not be opened (the program is then shut down).
  bool StartUp();
  // One pass of the frame loop; false when the program ends in it.
  bool RunFrame();
  void Shutdown();

  // A frame's parts; after Shutdown they do nothing.
  void RenderFrame();
  // True when the user's input ends the program.
  bool HandleUserActions();
  void StepSimulation();
  // Writes the Canvas as a 24-bit BMP file (or PNG when asked); true when it
  // was written completely.
  bool SaveCanvas(const char* name, image::ImageFileFormat format = image::ImageFileFormat::Bmp);
  // Why the last failed save failed, in words ("" when unknown).
  const std::string& SaveError() const { return bmp_.LastFailure(); }
  // S key saves of this run that failed (each was reported when it failed).
  uint32_t FailedSaves() const { return failedSaves_; }
  // Whether the Canvas exists (it does not when its memory could not be had).
  bool HasCanvas();

  const AppState& State() const { return state_; }
  uint32_t FrameNumber() const { return frame_; }
  RunEnd EndReason() const { return end_; }
  // Subsystems, for tests and for writing the outputs at the end of a run.
  image::Images& Images() { return images_; }
  display::Display& Display() { return display_; }
  input::Input& Input() { return input_; }
  runtime::MainHeap& Heap() { return heap_; }

 private:
  void SetUpScreen();
  void CollectDisplayModes();
  bool AnyKeyEndsTheProgram() const;
  void ReportScreenFailure();
  void ReportSaveFailure(const char* name);
  std::ostream& Errors() const;

  platform::Platform platform_;
  ApplicationOptions options_;
  runtime::MainHeap heap_;
  runtime::Random random_;
  image::Images images_;
  image::ImageWriter bmp_;
  draw::Drawing drawing_;
  display::Display display_;
  input::Input input_;
  AppState state_{};
  platform::Hinstance instance_ = nullptr;
  bool screenOpen_ = false;
  bool shutDown_ = false;
  uint32_t frame_ = 0;
  uint32_t failedSaves_ = 0;
  RunEnd end_ = RunEnd::None;
};

}  // namespace drawing::app
