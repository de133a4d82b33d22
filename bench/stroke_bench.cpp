// The stroke phase of a frame: 31 alpha-blended lines per particle into the
// opaque 1920 x 1080 Canvas, as the program paints them. The baseline is the
// plain per-pixel reading (tests/support/reference_raster.h); the fast path is the image
// target as the program opens it, drawn through the Drawing wrappers.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "app/particle.h"
#include "app/stroke.h"
#include "bench_report.h"
#include "draw/drawing.h"
#include "draw/image_target.h"
#include "image/images.h"
#include "platform/hosts/headless/headless_system.h"
#include "platform/soft/gdi/soft_gdi.h"
#include "runtime/main_heap.h"
#include "support/reference_raster.h"

namespace {

using drawing::draw::Colour;

constexpr int32_t kWidth = 1920;
constexpr int32_t kHeight = 1080;
constexpr int32_t kHalfWidth = drawing::app::StrokeHalfWidth;
constexpr uint32_t kAlpha = drawing::app::StrokeAlpha;

struct Line {
  int32_t x1, y1, x2, y2;
  Colour colour;
};

// A particle as the stroke phase sees it: where it is and was, and its colour.
struct Painted {
  drawing::app::Particle particle;
  Colour colour;
};

// One frame's particles: positions anywhere on the screen (so some strokes
// are clipped), each moved 0 to 40 pixels in a random direction since the
// last frame, colours along a blue-to-red gradient.
std::vector<Painted> Particles(int32_t particles) {
  std::mt19937 random(1234567u);
  std::uniform_real_distribution<double> x(0.0, kWidth);
  std::uniform_real_distribution<double> y(0.0, kHeight);
  std::uniform_real_distribution<double> length(0.0, 40.0);
  std::uniform_real_distribution<double> angle(0.0, 2 * 3.1415926535);
  std::vector<Painted> painted;
  for (int32_t p = 0; p < particles; ++p) {
    drawing::app::Particle particle{};
    particle.x = x(random);
    particle.y = y(random);
    const double d = length(random), a = angle(random);
    particle.prevX = particle.x - d * std::cos(a);
    particle.prevY = particle.y - d * std::sin(a);
    const int32_t n = particles;
    particle.red = static_cast<int16_t>((255 / n) * p);
    particle.blue = static_cast<int16_t>((255 / n) * (n - p));
    painted.push_back({particle, drawing::app::ParticleColour(particle, kAlpha)});
  }
  return painted;
}

// Their strokes line by line, in the program's order: the centre line, then
// one above and one below, further out each time.
std::vector<Line> StrokeLines(const std::vector<Painted>& painted) {
  std::vector<Line> lines;
  lines.reserve(painted.size() * drawing::app::kStrokeLineCount);
  for (const Painted& p : painted) {
    const int32_t start = drawing::app::StrokeStartColumn(p.particle);
    const auto add = [&](int32_t offset) {
      const drawing::app::Line line = drawing::app::StrokeLine(p.particle, start, offset);
      lines.push_back({line.x1, line.y1, line.x2, line.y2, p.colour});
    };
    add(0);
    for (int32_t i = 1; i <= kHalfWidth; ++i) {
      add(-i);
      add(i);
    }
  }
  return lines;
}

void ReportRates(benchmark::State& state, size_t lines, int64_t pixelsPerFrame) {
  const double frames = static_cast<double>(state.iterations());
  state.counters["lines/s"] =
      benchmark::Counter(frames * static_cast<double>(lines), benchmark::Counter::kIsRate);
  state.counters["pixels/s"] =
      benchmark::Counter(frames * static_cast<double>(pixelsPerFrame), benchmark::Counter::kIsRate);
}

// Pixels one frame of `lines` blends (lines crossing each other count twice).
int64_t BlendedPixels(const std::vector<Line>& lines) {
  std::vector<uint8_t> canvas(static_cast<size_t>(kWidth) * kHeight * 4, 0xFF);
  drawing::support::ReferenceRaster counter{canvas.data(), kWidth * 4, kWidth, kHeight, 4};
  counter.SetDrawMode(drawing::draw::DrawModeAlphaBlend);
  for (const Line& line : lines) {
    counter.DrawLine(line.x1, line.y1, line.x2, line.y2);
  }
  return counter.paintedPixels;
}

void BM_StrokesBaseline(benchmark::State& state) {
  const std::vector<Line> lines = StrokeLines(Particles(static_cast<int32_t>(state.range(0))));
  std::vector<uint8_t> canvas(static_cast<size_t>(kWidth) * kHeight * 4);
  for (size_t k = 0; k < canvas.size(); k += 4) {
    const uint32_t black = 0xFF000000u;
    std::memcpy(&canvas[k], &black, 4);
  }
  for (auto _ : state) {
    drawing::support::ReferenceRaster raster{canvas.data(), kWidth * 4, kWidth, kHeight, 4};
    raster.SetDrawMode(drawing::draw::DrawModeAlphaBlend);
    for (const Line& line : lines) {
      if (line.colour != raster.frontColor) {
        raster.SetColour(line.colour);
      }
      raster.DrawLine(line.x1, line.y1, line.x2, line.y2);
    }
    benchmark::DoNotOptimize(canvas.data());
  }
  ReportRates(state, lines.size(), BlendedPixels(lines));
}

// The strokes as the program paints them (DrawStroke).
void BM_StrokesFast(benchmark::State& state) {
  const std::vector<Painted> painted = Particles(static_cast<int32_t>(state.range(0)));
  std::vector<drawing::app::Stroke> strokes;
  for (const Painted& p : painted) {
    strokes.push_back(drawing::app::MakeStroke(p.particle));
  }
  drawing::runtime::MainHeap heap;
  drawing::platform::soft::SoftGdi gdi;
  drawing::platform::headless::HeadlessSystem system;
  drawing::image::Images images(heap, gdi);
  drawing::draw::Drawing drawing(heap, system);
  images.InitImages();
  drawing.InitDrawing();
  images.NewImage(0, kWidth, kHeight, 32);
  for (auto _ : state) {
    drawing.BeginDraw(drawing::draw::ImageTarget(drawing, images, gdi, 0));
    drawing.SetDrawMode(drawing::draw::DrawModeAlphaBlend);
    for (size_t k = 0; k < strokes.size(); ++k) {
      drawing::app::DrawStroke(drawing, strokes[k], painted[k].colour);
    }
    drawing.EndDraw();
  }
  const std::vector<Line> lines = StrokeLines(painted);
  ReportRates(state, lines.size(), BlendedPixels(lines));
}

BENCHMARK(BM_StrokesBaseline)->Arg(20)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_StrokesFast)->Arg(20)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

void PrintSummary(const drawing::bench::KeepingReporter& reporter) {
  std::printf(
      "\nStroke phase, the per-pixel version against the fast path (medians when "
      "repeated):\n");
  for (const char* particles : {"20", "1000", "10000"}) {
    const drawing::bench::KeptRun* baseline =
        reporter.Find(drawing::bench::KeepingReporter::Name("BM_StrokesBaseline", particles));
    const drawing::bench::KeptRun* fast =
        reporter.Find(drawing::bench::KeepingReporter::Name("BM_StrokesFast", particles));
    if (baseline == nullptr || fast == nullptr) {
      continue;
    }
    const double speedUp = baseline->cpuTime / fast->cpuTime;
    std::printf("  %5s particles: %7.2f ms against %7.2f ms, %.1fx", particles, fast->cpuTime,
                baseline->cpuTime, speedUp);
    if (std::string(particles) == "10000") {
      std::printf("   target >= 4x: %s", drawing::bench::Verdict(speedUp >= 4.0));
    }
    std::printf("\n");
  }
}

}  // namespace

int main(int argc, char** argv) {
  drawing::bench::KeepingReporter reporter;
  if (!drawing::bench::RunBenchmarks(argc, argv, reporter)) {
    return 1;
  }
  PrintSummary(reporter);
  return 0;
}
