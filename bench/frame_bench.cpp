// Whole frames of the program on the headless host, without pacing: the
// Canvas and boxes onto the screen, the strokes into the Canvas, the
// presentation, the input step and the simulation. The swarm is grown by the
// program itself (the left button held for one frame per added particle, the
// particles stepped and the attractor wandering) before the timed frames.
//
// F is two full-screen 32-bit copies of the frame's size (the Canvas onto the
// screen and the screen onto the display), measured in the same run around
// the frames; every frame is also given as a multiple of it. The program ends
// with the figures against the targets.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "app/application.h"
#include "app/swarm.h"
#include "bench_report.h"
#include "platform/hosts/headless/headless_host.h"

namespace {

using drawing::platform::headless::HeadlessConfig;
using drawing::platform::headless::HeadlessHost;

// Frames run in full after the swarm has grown, so the Canvas is not empty.
constexpr int kPaintedWarmUpFrames = 5;

double CpuSeconds() {
  return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

// Full-screen 32-bit copies of one size.
class ScreenCopies {
 public:
  ScreenCopies(int64_t width, int64_t height)
      : from_(static_cast<size_t>(width * height * 4), 0x5A),
        to_(static_cast<size_t>(width * height * 4), 0) {}

  void Copy() {
    std::memcpy(to_.data(), from_.data(), from_.size());
    benchmark::DoNotOptimize(to_.data());
    benchmark::ClobberMemory();
  }

  // Seconds for two copies: the median of short batches, so that a moment
  // of load on a shared machine does not decide it.
  double TwoCopiesSeconds() {
    std::vector<double> batches;
    for (int batch = 0; batch < 7; ++batch) {
      int copies = 0;
      const double start = CpuSeconds();
      double elapsed = 0;
      while (elapsed < 0.03 || copies < 4) {
        Copy();
        ++copies;
        elapsed = CpuSeconds() - start;
      }
      batches.push_back(2 * elapsed / copies);
    }
    std::sort(batches.begin(), batches.end());
    return batches[batches.size() / 2];
  }

 private:
  std::vector<uint8_t> from_;
  std::vector<uint8_t> to_;
};

// The program on a headless screen of one mode, its swarm grown to
// `particles` by the program's own input step and simulation.
class GrownProgram {
 public:
  GrownProgram(uint32_t width, uint32_t height, int particles) : copies_(width, height) {
    HeadlessConfig config;
    config.display.modes = {
        drawing::platform::DisplayMode{width, height, 60, drawing::platform::Format::X8R8G8B8}};
    // A screen that keeps its last frame and takes each frame's changed
    // rectangles, as a window's own memory on a real screen does.
    config.display.keptFrames = 1;
    config.display.lendBackBuffer = false;
    host_ = std::make_unique<HeadlessHost>(config);
    drawing::app::ApplicationOptions options;
    options.seed = 1;
    options.beginFrame = [this](uint32_t) { host_->BeginFrame(++hostFrame_); };
    app_ = std::make_unique<drawing::app::Application>(host_->GetPlatform(), options);
    app_->StartUp();
    // Held from now on, every input step adds one particle. The growth skips
    // the painting, which moves no particle.
    host_->Input().Button(1, true);
    for (int count = drawing::app::kStartParticleCount; count < particles; ++count) {
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
  GrownProgram(const GrownProgram&) = delete;
  GrownProgram& operator=(const GrownProgram&) = delete;

  bool RunFrame() { return app_->RunFrame(); }
  int32_t Particles() const { return drawing::runtime::ListCount(app_->State().Swarm); }
  ScreenCopies& Copies() { return copies_; }

 private:
  ScreenCopies copies_;
  std::unique_ptr<HeadlessHost> host_;
  std::unique_ptr<drawing::app::Application> app_;
  int32_t hostFrame_ = 0;
};

// Grown programs are kept from one run of a benchmark to the next (the
// library runs it several times to find its iteration count, and once per
// repetition): growing ten thousand particles takes seconds.
class Programs {
 public:
  GrownProgram& Get(uint32_t width, uint32_t height, int particles) {
    auto& program = programs_[{width, height, particles}];
    if (program == nullptr) {
      program = std::make_unique<GrownProgram>(width, height, particles);
    }
    return *program;
  }

 private:
  std::map<std::tuple<uint32_t, uint32_t, int>, std::unique_ptr<GrownProgram>> programs_;
};

void FullScreenCopy(benchmark::State& state) {
  ScreenCopies copies(state.range(0), state.range(1));
  for (auto _ : state) {
    copies.Copy();
  }
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0) *
                          state.range(1) * 4);
}

void WholeFrame(benchmark::State& state, Programs& programs) {
  GrownProgram& program =
      programs.Get(static_cast<uint32_t>(state.range(0)), static_cast<uint32_t>(state.range(1)),
                   static_cast<int>(state.range(2)));
  const double before = program.Copies().TwoCopiesSeconds();
  const double start = CpuSeconds();
  for (auto _ : state) {
    if (!program.RunFrame()) {
      state.SkipWithError("the program ended");
      break;
    }
  }
  const double perFrame = (CpuSeconds() - start) / static_cast<double>(state.iterations());
  const double f = (before + program.Copies().TwoCopiesSeconds()) / 2;
  state.counters["particles"] = program.Particles();
  state.counters["frame_ms"] = perFrame * 1e3;
  state.counters["F_ms"] = f * 1e3;
  state.counters["x_F"] = perFrame / f;
  state.counters["fps"] = 1.0 / perFrame;
}

struct Size {
  int64_t width;
  int64_t height;
};
constexpr Size kSizes[] = {{1920, 1080}, {3840, 2160}};
constexpr int kParticles[] = {20, 1000, 10000};

std::string FrameArgs(Size size, int particles) {
  return "w:" + std::to_string(size.width) + "/h:" + std::to_string(size.height) +
         "/particles:" + std::to_string(particles);
}

struct Target {
  Size size;
  int particles;
  double limit;  // in F
};
constexpr Target kTargets[] = {
    {{1920, 1080}, 20, 1.5}, {{1920, 1080}, 10000, 12.0}, {{3840, 2160}, 1000, 2.0}};

void PrintSummary(const drawing::bench::KeepingReporter& reporter) {
  std::printf(
      "\nWhole frames against F, two full-screen copies of the frame's size measured in the "
      "same run\n(medians when repeated):\n");
  for (const Size size : kSizes) {
    for (const int particles : kParticles) {
      const drawing::bench::KeptRun* run = reporter.Find(
          drawing::bench::KeepingReporter::Name("WholeFrame", FrameArgs(size, particles)));
      if (run == nullptr) {
        continue;
      }
      const double xF = run->counters.at("x_F");
      std::printf("  %4lldx%-4lld %5d particles: %7.2f ms = %5.2f F  (F = %.2f ms)",
                  static_cast<long long>(size.width), static_cast<long long>(size.height),
                  particles, run->counters.at("frame_ms"), xF, run->counters.at("F_ms"));
      for (const Target& target : kTargets) {
        if (target.size.width == size.width && target.particles == particles) {
          std::printf("   target <= %g F: %s", target.limit,
                      drawing::bench::Verdict(xF <= target.limit));
        }
      }
      std::printf("\n");
    }
  }
  std::printf(
      "  The stroke phase at 10000 particles against the per-pixel version (target >= 4x) is "
      "stroke_bench's.\n");
}

}  // namespace

int main(int argc, char** argv) {
  Programs programs;
  for (const Size size : kSizes) {
    benchmark::RegisterBenchmark("FullScreenCopy", FullScreenCopy)
        ->Args({size.width, size.height})
        ->Unit(benchmark::kMillisecond);
  }
  for (const Size size : kSizes) {
    for (const int particles : kParticles) {
      benchmark::RegisterBenchmark(
          "WholeFrame", [&programs](benchmark::State& state) { WholeFrame(state, programs); })
          ->Args({size.width, size.height, particles})
          ->ArgNames({"w", "h", "particles"})
          ->Unit(benchmark::kMillisecond);
    }
  }
  drawing::bench::KeepingReporter reporter;
  if (!drawing::bench::RunBenchmarks(argc, argv, reporter)) {
    return 1;
  }
  PrintSummary(reporter);
  return 0;
}
