#include "render.h"

#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "app/application.h"
#include "app/input_script.h"
#include "app/render_options.h"
#include "image/bmp_writer.h"
#include "platform/headless/headless_host.h"
#include "progress.h"

namespace drawing::render {
namespace {

using platform::headless::InputEvent;

// Frames of at least this many pixels in total make a run worth a progress bar.
constexpr uint64_t kLongRunPixels = 200ull * 1920 * 1080;

void Fail(const RenderEnvironment& environment, const std::string& message) {
  environment.errors << "drawing-render: " << message << '\n' << std::flush;
}

bool ReadFile(const std::string& path, std::string& text, std::string& reason) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    reason = "it is a directory";
    return false;
  }
  std::ifstream file(path, std::ios::binary);
  if (!file) {
    reason = std::error_code(errno, std::generic_category()).message();
    return false;
  }
  std::ostringstream content;
  content << file.rdbuf();
  if (file.bad()) {
    reason = "read error";
    return false;
  }
  text = content.str();
  return true;
}

// Whether a file can be created at `path`, tried without leaving anything.
bool CanWrite(platform::FileSystem& files, const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return false;
  }
  std::unique_ptr<platform::OutputFile> probe = files.CreateReplacing(path);
  if (probe == nullptr) {
    return false;
  }
  probe->Discard();
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
  config.display.keptFrames = 1;  // only the screen as last presented is needed
  for (const app::ScriptEvent& event : events) {
    if (event.frame <= options.frames) {
      config.input.push_back({static_cast<int32_t>(event.frame), ToHostEvent(event)});
    }
  }
  return config;
}

// The last presented frame as 24-bit bottom-up rows in the file's stride
// (black before any presentation), written with the BMP writer.
bool WriteScreen(image::BmpWriter& writer, const platform::headless::PresentedFrame* frame,
                 const app::RenderOptions& options) {
  const int32_t width = options.width;
  const int32_t height = options.height;
  const auto stride = static_cast<size_t>(image::BmpStride(width));
  std::vector<uint8_t> rows(stride * static_cast<size_t>(height), 0);
  if (frame != nullptr && frame->width == static_cast<uint32_t>(width) &&
      frame->height == static_cast<uint32_t>(height) && frame->bytesPerPixel == 4) {
    for (int32_t y = 0; y < height; ++y) {
      const uint8_t* source = frame->pixels.data() + static_cast<size_t>(y) * width * 4;
      uint8_t* target = rows.data() + static_cast<size_t>(height - 1 - y) * stride;
      for (int32_t x = 0; x < width; ++x) {
        // Colour bytes only; the unused fourth byte is dropped.
        target[x * 3] = source[x * 4];
        target[x * 3 + 1] = source[x * 4 + 1];
        target[x * 3 + 2] = source[x * 4 + 2];
      }
    }
  }
  return writer.WriteBmpFile(options.screen.c_str(), rows.data(), static_cast<int32_t>(stride),
                             width, height, 24) != 0;
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
    return kExitOk;
  }

  std::vector<app::ScriptEvent> events;
  if (!options.inputScript.empty()) {
    std::string text;
    std::string reason;
    if (!ReadFile(options.inputScript, text, reason)) {
      Fail(environment, "cannot read input script '" + options.inputScript + "': " + reason);
      return kExitBadUsage;
    }
    app::InputScriptResult script = app::ParseInputScript(text, options.inputScript);
    if (!script.error.empty()) {
      Fail(environment, script.error);
      return kExitBadUsage;
    }
    events = std::move(script.events);
  }

  platform::headless::HeadlessHost host(HostConfig(options, events));
  // Refuse at once rather than after a long render.
  for (const std::string* path : {&options.out, &options.screen}) {
    if (!path->empty() && !CanWrite(host.Files(), *path)) {
      Fail(environment, "cannot write '" + *path + "'");
      return kExitOutputFailed;
    }
  }

  const uint64_t pixels = static_cast<uint64_t>(options.width) * options.height * options.frames;
  Progress progress(environment.errors, options.frames,
                    environment.errorsIsTerminal && pixels >= kLongRunPixels);
  app::ApplicationOptions appOptions;
  appOptions.seed = options.seed;
  appOptions.maxFrames = options.frames;
  appOptions.stopRequest = environment.stopRequest;
  appOptions.errors = &environment.errors;
  appOptions.beginFrame = [&](uint32_t frame) {
    host.BeginFrame(static_cast<int32_t>(frame));
    progress.Update(frame - 1);
  };
  app::Application application(host.GetPlatform(), std::move(appOptions));
  if (!application.StartUp()) {
    return app::ExitScreenFailed;
  }
  while (application.RunFrame()) {
  }
  progress.Finish();

  int status = kExitOk;
  if (!application.SaveCanvas(options.out.c_str())) {
    Fail(environment, "cannot write '" + options.out + "'");
    status = kExitOutputFailed;
  }
  if (status == kExitOk && !options.screen.empty()) {
    image::BmpWriter writer(application.Images(), host.Gdi(), application.Heap(), host.Files());
    if (!WriteScreen(writer, host.Display().LastFrame(), options)) {
      Fail(environment, "cannot write '" + options.screen + "'");
      status = kExitOutputFailed;
    }
  }
  application.Shutdown();
  return status;
}

}  // namespace drawing::render
