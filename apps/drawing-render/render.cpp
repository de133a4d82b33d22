#include "render.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <new>
#include <optional>
#include <random>
#include <system_error>

#include "app/application.h"
#include "app/message_text.h"
#include "file_names.h"
#include "image/image_writer.h"
#include "image/png_encoder.h"
#include "input_script.h"
#include "output_files.h"
#include "painted_share.h"
#include "platform/hosts/headless/headless_host.h"
#include "platform/soft/direct3d/soft_device.h"
#include "progress.h"
#include "render_options.h"
#include "video_output.h"

namespace drawing::render {
namespace {

using platform::headless::InputEvent;

// --help promises the sizes the device accepts.
static_assert(app::kMaxRenderSide == platform::soft::SoftDevice::kMaxDimension);

// Frames of at least this many pixels in total make a run worth a progress bar.
constexpr uint64_t kLongRunPixels = 200ull * 1920 * 1080;
// Screen-sized buffers a run holds at once: the Canvas, the back buffer, and
// the screen sprite's texture and its system-memory copy.
constexpr uint64_t kScreenSizedBuffers = 4;

#ifndef DRAWING_VERSION
#define DRAWING_VERSION "unknown"
#endif

void Fail(const RenderEnvironment& environment, const std::string& message) {
  environment.errors << "drawing-render: " << message << '\n' << std::flush;
}

void Say(const RenderEnvironment& environment, const app::RenderOptions& options,
         const std::string& message) {
  if (!options.quiet) {
    environment.errors << "drawing-render: " << message << '\n' << std::flush;
  }
}

std::string SizeText(const app::RenderOptions& options) {
  return std::to_string(options.width) + "x" + std::to_string(options.height);
}

// "wrote NAME (WxH)", and what else the save did (another name of the file
// keeping the earlier picture).
std::string WroteLine(const std::string& name, const app::RenderOptions& options,
                      const platform::FileSystem& files) {
  const std::string note = files.LastNote();
  return "wrote " + app::MessageText(name) + " (" + SizeText(options) + ")" +
         (note.empty() ? "" : "; " + note);
}

// "not enough memory ..." with what a canvas of this size needs, in words.
std::string MemoryMessage(const app::RenderOptions& options) {
  const uint64_t bytes = kScreenSizedBuffers * 4 * static_cast<uint64_t>(options.width) *
                         static_cast<uint64_t>(options.height);
  // Small enough canvases in the unit that does not round them to nothing.
  char amount[32];
  const auto size = static_cast<double>(bytes);
  if (size >= 1e9) {
    std::snprintf(amount, sizeof amount, "%.1f GB", size / 1e9);
  } else if (size >= 1e6) {
    std::snprintf(amount, sizeof amount, "%.0f MB", size / 1e6);
  } else {
    std::snprintf(amount, sizeof amount, "%.0f KB", std::max(1.0, size / 1e3));
  }
  return "not enough memory for a " + SizeText(options) + " canvas: it needs about " + amount;
}

// A bar on a terminal for long runs (any run with --progress); lines every
// few seconds elsewhere, when asked for.
ProgressStyle StyleFor(const app::RenderOptions& options, const RenderEnvironment& environment) {
  if (options.quiet) {
    return ProgressStyle::None;
  }
  const uint64_t pixels = static_cast<uint64_t>(options.width) * options.height * options.frames;
  if (environment.errorsIsTerminal) {
    return options.progress || pixels >= kLongRunPixels ? ProgressStyle::Bar : ProgressStyle::None;
  }
  return options.progress ? ProgressStyle::Lines : ProgressStyle::None;
}

// A fresh seed for a run without --seed.
uint32_t FreshSeed() {
  std::random_device device;
  return static_cast<uint32_t>(device());
}

// Opens the input script for reading as a stream.
bool OpenScript(const std::string& path, std::ifstream& file, std::string& reason) {
  std::error_code error;
  if (std::filesystem::is_directory(PathFromUtf8(path), error)) {
    reason = "it is a directory";
    return false;
  }
  file.open(PathFromUtf8(path), std::ios::binary);
  if (!file) {
    reason = std::error_code(errno, std::generic_category()).message();
    return false;
  }
  return true;
}

InputEvent ToHostEvent(const app::ScriptEvent& event) {
  switch (event.kind) {
    case app::ScriptEvent::Kind::Key:
      return event.b != 0 ? InputEvent::KeyDown(event.a) : InputEvent::KeyUp(event.a);
    case app::ScriptEvent::Kind::Button:
      return InputEvent::Button(event.a, event.b != 0);
    case app::ScriptEvent::Kind::Move:
      return InputEvent::Move(event.a, event.b);
    case app::ScriptEvent::Kind::Focus:
      break;
  }
  return InputEvent::Focus(event.a != 0);
}

platform::headless::HeadlessConfig HostConfig(const app::RenderOptions& options,
                                              const std::vector<app::ScriptEvent>& events) {
  platform::headless::HeadlessConfig config;
  config.display.modes = {platform::DisplayMode{static_cast<uint32_t>(options.width),
                                                static_cast<uint32_t>(options.height), 60,
                                                platform::Format::X8R8G8B8}};
  // The screen is needed only as last presented, from wherever it lies: no
  // copy of a poster-sized frame is ever kept.
  config.display.keptFrames = 0;
  for (const app::ScriptEvent& event : events) {
    if (event.frame <= options.frames) {
      config.input.push_back({static_cast<int32_t>(event.frame), ToHostEvent(event)});
    }
  }
  return config;
}

// The painted share of the Canvas (0 while it does not exist).
double CanvasPainted(app::Application& application, platform::Gdi& gdi) {
  const image::ImageRecord* canvas = application.Images().FindImage(app::CanvasImage);
  platform::Bitmap bitmap;
  return canvas != nullptr && gdi.GetObjectBitmap(canvas->handle, &bitmap) ? PaintedShare(bitmap)
                                                                           : 0.0;
}

// The run itself, once the options and the script are known.
int Render(const app::RenderOptions& options, const RenderEnvironment& environment,
           const std::vector<app::ScriptEvent>& events) {
  platform::headless::HeadlessConfig config = HostConfig(options, events);
  std::optional<VideoOutput> video;
  std::atomic<bool> localStop{false};
  std::atomic<bool>& stop =
      environment.stopRequest != nullptr ? *environment.stopRequest : localStop;
  config.display.presented = [&](const platform::ConstRows& frame) {
    if (video && !video->WriteFrame(frame)) {
      stop.store(true);  // no one is reading any more: end the run in order
    }
  };
  platform::headless::HeadlessHost host(std::move(config));

  // Refuse at once rather than after a long render.
  for (const std::string* path : {&options.out, &options.screen}) {
    if (path->empty()) {
      continue;
    }
    const std::string reason = WhyNotWritable(host.Files(), *path);
    if (!reason.empty()) {
      Fail(environment, WriteFailure(*path, reason));
      return kExitOutputFailed;
    }
  }
  if (!options.video.empty()) {
    video.emplace(host.Files(), options.video, options.width, options.height);
    if (video->Failed()) {
      Fail(environment,
           "cannot write the video to " + video->Destination() + ": " + video->Reason());
      return kExitOutputFailed;
    }
  }

  const uint32_t seed = options.seed.value_or(FreshSeed());
  if (!options.seed) {
    Say(environment, options, "seed " + std::to_string(seed));
  }
  Progress progress(environment.errors, options.frames, StyleFor(options, environment));
  app::ApplicationOptions appOptions;
  appOptions.seed = seed;
  appOptions.maxFrames = options.frames;
  appOptions.stopRequest = &stop;
  appOptions.errors = &environment.errors;
  appOptions.programName = "drawing-render";
  appOptions.saved = [&](const char* name) {
    Say(environment, options, WroteLine(name, options, host.Files()));
  };
  // --painted: the canvas is looked at once a second of frames; the run then
  // ends as a stop does, before the next frame.
  app::Application* running = nullptr;
  uint32_t paintedAt = 0;
  appOptions.beginFrame = [&](uint32_t frame) {
    host.BeginFrame(static_cast<int32_t>(frame));
    progress.Update(frame - 1);
    if (options.paintedPercent > 0 && frame % 60 == 0 && running != nullptr &&
        CanvasPainted(*running, host.Gdi()) * 100 >= options.paintedPercent) {
      paintedAt = frame;
      stop.store(true);
    }
  };
  app::Application application(host.GetPlatform(), std::move(appOptions));
  running = &application;
  if (!application.StartUp()) {
    return app::kExitScreenFailed;
  }
  if (!application.HasCanvas()) {
    Fail(environment, MemoryMessage(options));
    return kExitOutputFailed;
  }
  while (application.RunFrame()) {
  }
  progress.Finish(options.out.empty() ? std::string() : "writing " + app::MessageText(options.out));

  int status = app::kExitOk;
  const bool videoFailed = video && video->Failed();
  // The stop is seen before a frame starts: every counted frame is complete.
  const uint32_t framesDone = application.FrameNumber();
  const bool interrupted = application.EndReason() == app::RunEnd::StopRequest && !videoFailed &&
                           paintedAt == 0 && framesDone < options.frames;
  if (paintedAt > 0) {
    Say(environment, options,
        std::to_string(options.paintedPercent) + "% of the canvas painted at frame " +
            std::to_string(paintedAt));
  }
  if (!options.out.empty()) {
    if (application.SaveCanvas(options.out.c_str(), image::FormatForName(options.out))) {
      Say(environment, options, WroteLine(options.out, options, host.Files()));
    } else {
      Fail(environment, WriteFailure(options.out, application.SaveError()));
      status = kExitOutputFailed;
    }
  }
  if (status == app::kExitOk && !options.screen.empty()) {
    image::ImageWriter writer(application.Images(), host.Gdi(), application.Heap(), host.Files());
    if (WriteScreen(writer, host.Display().ScreenView(), options)) {
      Say(environment, options, WroteLine(options.screen, options, host.Files()));
    } else {
      Fail(environment, WriteFailure(options.screen, writer.LastFailure()));
      status = kExitOutputFailed;
    }
  }
  if (application.FailedSaves() > 0) {
    status = kExitOutputFailed;  // an S key's save failed; its line was told then
  }
  if (video) {
    if (video->Finish()) {
      Say(environment, options,
          "wrote " +
              (options.video == "-" ? std::string("the video to standard output")
                                    : app::MessageText(options.video)) +
              " (" + SizeText(options) + ", " + std::to_string(video->Frames()) + " frames)");
    } else {
      Fail(environment,
           "cannot write the video to " + video->Destination() + ": " + video->Reason());
      status = kExitOutputFailed;
    }
  }
  application.Shutdown();
  if (interrupted) {
    Fail(environment, "interrupted at frame " + std::to_string(framesDone) + " of " +
                          std::to_string(options.frames));
    return environment.stopSignal != nullptr && environment.stopSignal->load() > 0
               ? kExitInterruptedBase + environment.stopSignal->load()
               : kExitOutputFailed;
  }
  return status;
}

}  // namespace

int RenderMain(const std::vector<std::string>& arguments, const RenderEnvironment& environment) {
  const app::RenderOptionsResult parsed = app::ParseRenderOptions(arguments);
  if (!parsed.error.empty()) {
    Fail(environment, parsed.error + " (see --help)");
    return kExitBadUsage;
  }
  const app::RenderOptions& options = parsed.options;
  if (options.help) {
    environment.out << app::RenderUsage();
    return app::kExitOk;
  }
  if (options.version) {
    environment.out << "drawing-render " << DRAWING_VERSION << '\n';
    return app::kExitOk;
  }

  if (const std::string problem = OutputsProblem(options); !problem.empty()) {
    Fail(environment, problem);
    return kExitBadUsage;
  }
  std::vector<app::ScriptEvent> events;
  if (!options.inputScript.empty()) {
    std::ifstream file;
    std::string reason;
    if (!OpenScript(options.inputScript, file, reason)) {
      Fail(environment,
           "cannot read input script " + app::Quoted(options.inputScript) + ": " + reason);
      return kExitBadUsage;
    }
    app::InputScriptResult script = app::ReadInputScript(file, options.inputScript, options.frames);
    if (!script.error.empty()) {
      Fail(environment, script.error);
      return kExitBadUsage;
    }
    events = std::move(script.events);
  }

  try {
    return Render(options, environment, events);
  } catch (const std::bad_alloc&) {
    Fail(environment, MemoryMessage(options));
    return kExitOutputFailed;
  }
}

}  // namespace drawing::render
