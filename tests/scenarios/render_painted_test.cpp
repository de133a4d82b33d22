// --painted: the run ends at the first check (once a second of frames) that
// finds that share of the canvas painted, says so, and writes the picture
// of that moment, the same picture as that many frames make.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>

#include "render_tool.h"

namespace drawing::scenarios {
namespace {

// The share of a 24-bit BMP's pixels whose brightest channel is at least 8.
double PaintedShareOfBmp(const std::string& file, int32_t width, int32_t height) {
  const size_t stride = (static_cast<size_t>(width) * 3 + 3) / 4 * 4;
  if (file.size() != 54 + stride * height) {
    ADD_FAILURE() << "not a " << width << "x" << height << " 24-bit BMP";
    return 0.0;
  }
  size_t painted = 0;
  for (int32_t y = 0; y < height; ++y) {
    for (int32_t x = 0; x < width; ++x) {
      const auto* pixel = reinterpret_cast<const uint8_t*>(file.data()) + 54 + y * stride + x * 3;
      painted += std::max({pixel[0], pixel[1], pixel[2]}) >= 8 ? 1 : 0;
    }
  }
  return static_cast<double>(painted) / (width * height);
}

TEST(RenderPainted, EndsAtTheFirstCheckThatFindsTheShare) {
  ScratchDirectory scratch;
  const std::string common = "--size 96x64 --seed 7 --out ";
  const RenderRun run =
      Render(scratch, common + Quoted(scratch / "p.bmp") + " --frames 100000 --painted 90");
  ASSERT_EQ(run.status, 0) << run.errors;
  const std::string said = "drawing-render: 90% of the canvas painted at frame ";
  const size_t at = run.errors.find(said);
  ASSERT_NE(at, std::string::npos) << run.errors;
  const uint32_t frame = static_cast<uint32_t>(std::stoul(run.errors.substr(at + said.size())));
  EXPECT_EQ(frame % 60, 0u);
  EXPECT_GE(PaintedShareOfBmp(ReadAll(scratch / "p.bmp"), 96, 64), 0.9);

  ASSERT_EQ(
      Render(scratch, common + Quoted(scratch / "f.bmp") + " --frames " + std::to_string(frame))
          .status,
      0);
  EXPECT_EQ(ReadAll(scratch / "f.bmp"), ReadAll(scratch / "p.bmp"));
  ASSERT_EQ(Render(scratch,
                   common + Quoted(scratch / "e.bmp") + " --frames " + std::to_string(frame - 60))
                .status,
            0);
  EXPECT_LT(PaintedShareOfBmp(ReadAll(scratch / "e.bmp"), 96, 64), 0.9) << "a check earlier";
}

TEST(RenderPainted, TheFrameLimitStillHolds) {
  ScratchDirectory scratch;
  const RenderRun run = Render(scratch, "--size 96x64 --seed 7 --frames 120 --painted 100 --out " +
                                            Quoted(scratch / "p.bmp"));
  ASSERT_EQ(run.status, 0) << run.errors;
  EXPECT_EQ(run.errors.find("painted at frame"), std::string::npos) << run.errors;
  EXPECT_EQ(run.errors.find("interrupted"), std::string::npos) << run.errors;
}

}  // namespace
}  // namespace drawing::scenarios
