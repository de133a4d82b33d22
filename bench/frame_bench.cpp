// Whole frames of the program on the headless host, without pacing: the
// Canvas and boxes onto the screen, the strokes into the Canvas, the
// presentation, the input step and the simulation. The swarm is grown by the
// program itself (the left button held for one frame per added particle, the
// particles stepped and the attractor wandering) before the timed frames.
//
// The floor is one full-screen 32-bit copy of the same size, measured in the
// same run; every frame benchmark reports its time as a multiple of it.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <ctime>
#include <memory>
#include <vector>

#include "app/application.h"
#include "app/swarm.h"
#include "platform/headless/headless_host.h"

namespace {

using drawing::platform::headless::HeadlessConfig;
using drawing::platform::headless::HeadlessHost;

// Frames run in full after the swarm has grown, so the Canvas is not empty.
constexpr int kPaintedWarmUpFrames = 5;

double CpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Seconds per full-screen 32-bit copy, averaged over enough copies.
double CopySeconds(int64_t width, int64_t height) {
  const size_t bytes = static_cast<size_t>(width * height * 4);
  std::vector<uint8_t> from(bytes, 0x5A);
  std::vector<uint8_t> to(bytes, 0);
  int copies = 0;
  const double start = CpuSeconds();
  double elapsed = 0;
  while (elapsed < 0.5 || copies < 10) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
    ++copies;
    elapsed = CpuSeconds() - start;
  }
  return elapsed / copies;
}

// The program on a headless screen of one mode, its swarm grown to
// `particles` by the program's own input step and simulation.
class GrownProgram {
 public:
  GrownProgram(uint32_t width, uint32_t height, int particles) {
    HeadlessConfig config;
    config.display.modes = {
        drawing::platform::DisplayMode{width, height, 60, drawing::platform::Format::X8R8G8B8}};
    config.display.keptFrames = 1;
    host_ = std::make_unique<HeadlessHost>(config);
    drawing::app::ApplicationOptions options;
    options.seed = 1;
    options.beginFrame = [this](uint32_t) { host_->BeginFrame(++hostFrame_); };
    app_ = std::make_unique<drawing::app::Application>(host_->GetPlatform(), options);
    app_->StartUp();
    // Held from now on, every input step adds one particle. The growth skips
    // the painting, which moves no particle.
    host_->Input().Button(1, true);
    for (int count = drawing::app::StartParticleCount; count < particles; ++count) {
      host_->BeginFrame(++hostFrame_);
      app_->HandleUserActions();
      app_->StepSimulation();
    }
    host_->Input().Button(1, false);
    for (int frame = 0; frame < kPaintedWarmUpFrames; ++frame) {
      app_->RunFrame();
    }
  }
  ~GrownProgram() { app_->Shutdown(); }

  bool RunFrame() { return app_->RunFrame(); }
  int32_t Particles() const { return drawing::runtime::ListCount(app_->State().Swarm); }

 private:
  std::unique_ptr<HeadlessHost> host_;
  std::unique_ptr<drawing::app::Application> app_;
  int32_t hostFrame_ = 0;
};

void BM_FullScreenCopy(benchmark::State& state) {
  const auto bytes = static_cast<size_t>(state.range(0) * state.range(1) * 4);
  std::vector<uint8_t> from(bytes, 0x5A);
  std::vector<uint8_t> to(bytes, 0);
  for (auto _ : state) {
    std::memcpy(to.data(), from.data(), bytes);
    benchmark::DoNotOptimize(to.data());
    benchmark::ClobberMemory();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(bytes));
}

void BM_WholeFrame(benchmark::State& state) {
  const auto width = static_cast<uint32_t>(state.range(0));
  const auto height = static_cast<uint32_t>(state.range(1));
  const auto particles = static_cast<int>(state.range(2));
  GrownProgram program(width, height, particles);
  const double floor = CopySeconds(width, height);

  const double start = CpuSeconds();
  for (auto _ : state) {
    if (!program.RunFrame()) {
      state.SkipWithError("the program ended");
      break;
    }
  }
  const double perFrame = (CpuSeconds() - start) / static_cast<double>(state.iterations());
  state.counters["particles"] = program.Particles();
  state.counters["copy_ms"] = floor * 1e3;
  state.counters["x_copy"] = perFrame / floor;
  state.counters["fps"] = 1.0 / perFrame;
}

void FrameSizes(benchmark::internal::Benchmark* benchmark) {
  for (const int particles : {20, 1000, 10000}) {
    benchmark->Args({1920, 1080, particles});
  }
  for (const int particles : {20, 1000, 10000}) {
    benchmark->Args({3840, 2160, particles});
  }
}

BENCHMARK(BM_FullScreenCopy)->Args({1920, 1080})->Args({3840, 2160})->Unit(benchmark::kMillisecond);
BENCHMARK(BM_WholeFrame)
    ->Apply(FrameSizes)
    ->ArgNames({"w", "h", "particles"})
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
