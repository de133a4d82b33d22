// A whole program on the headless host: one 32-bit screen mode, a fixed
// seed, input events by frame, and the application wired to the host's
// frame hook.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "app/application.h"
#include "app/particle.h"
#include "app/particle_values.h"
#include "platform/hosts/headless/headless_host.h"
#include "runtime/element_list.h"

namespace drawing::scenarios {

using platform::headless::InputEvent;

struct ScenarioSetup {
  uint32_t width = 320;
  uint32_t height = 240;
  uint32_t seed = 1;
  std::vector<platform::headless::InputScriptEvent> input;
  std::optional<uint32_t> maxFrames = 300;
  // Called at the start of each frame, after the host has applied its events.
  std::function<void(uint32_t frame, const app::AppState& state)> observe;
  const char* saveName = "bild.bmp";
  std::ostream* errors = nullptr;
  // Changes the host's configuration before the host is made.
  std::function<void(platform::headless::HeadlessConfig&)> configure;
};

inline platform::headless::HeadlessConfig HostConfig(const ScenarioSetup& setup) {
  platform::headless::HeadlessConfig config;
  config.display.modes = {
      platform::DisplayMode{setup.width, setup.height, 60, platform::Format::X8R8G8B8}};
  config.display.keptFrames = 2;
  config.input = setup.input;
  if (setup.configure) {
    setup.configure(config);
  }
  return config;
}

class Scenario {
 public:
  explicit Scenario(ScenarioSetup setup) : setup_(std::move(setup)), host_(HostConfig(setup_)) {
    app::ApplicationOptions options;
    options.seed = setup_.seed;
    options.maxFrames = setup_.maxFrames;
    options.saveName = setup_.saveName;
    options.errors = setup_.errors;
    options.beginFrame = [this](uint32_t frame) {
      host_.BeginFrame(static_cast<int32_t>(frame));
      if (setup_.observe) {
        setup_.observe(frame, app_->State());
      }
    };
    app_ = std::make_unique<app::Application>(host_.GetPlatform(), std::move(options));
  }

  // Starts the program and runs frames until it ends; does not shut down,
  // so the swarm can still be inspected.
  void RunUntilEnd() {
    started_ = app_->StartUp();
    while (started_ && app_->RunFrame()) {
    }
  }

  std::vector<app::ParticleValues> Particles() {
    std::vector<app::ParticleValues> all;
    const runtime::ListView<app::Particle> swarm = app::SwarmOf(app_->State());
    swarm.Rewind();
    while (const app::Particle* p = swarm.Next()) {
      all.push_back(app::Values(*p));
    }
    return all;
  }

  // A Canvas pixel as 0xAARRGGBB; the image lies bottom-up in memory.
  uint32_t CanvasPixel(int32_t x, int32_t y) {
    const image::ImageRecord* canvas = app_->Images().FindImage(0);
    platform::Bitmap bitmap;
    if (canvas == nullptr || !host_.Gdi().GetObjectBitmap(canvas->handle, &bitmap)) {
      ADD_FAILURE() << "no Canvas";
      return 0;
    }
    const auto* row = static_cast<const uint8_t*>(bitmap.bmBits) +
                      static_cast<ptrdiff_t>(bitmap.bmHeight - 1 - y) * bitmap.bmWidthBytes;
    uint32_t pixel = 0;
    std::memcpy(&pixel, row + static_cast<ptrdiff_t>(x) * 4, 4);
    return pixel;
  }

  app::Application& App() { return *app_; }
  platform::headless::HeadlessHost& Host() { return host_; }
  bool Started() const { return started_; }

 private:
  ScenarioSetup setup_;
  platform::headless::HeadlessHost host_;
  std::unique_ptr<app::Application> app_;
  bool started_ = false;
};

inline platform::headless::InputScriptEvent At(int32_t frame, InputEvent event) {
  return {frame, event};
}

}  // namespace drawing::scenarios
