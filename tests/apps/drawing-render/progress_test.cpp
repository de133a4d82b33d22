#include "progress.h"

#include <gtest/gtest.h>

#include <sstream>

namespace drawing::render {
namespace {

constexpr std::chrono::milliseconds kAtOnce{0};

TEST(Progress, SaysNoTimeLeftBeforeAFrameIsDoneAndWhatComesAfterTheFrames) {
  std::ostringstream lines;
  {
    Progress progress(lines, 3000, ProgressStyle::Lines, kAtOnce);
    progress.Update(0);
    progress.Finish("writing poster.png");
  }
  EXPECT_EQ(lines.str(),
            "drawing-render: frame 0 of 3000, time left not known yet\n"
            "drawing-render: writing poster.png\n");

  std::ostringstream bar;
  Progress shown(bar, 10, ProgressStyle::Bar, kAtOnce);
  shown.Update(5);
  shown.Finish("writing poster.png");
  EXPECT_NE(bar.str().find(" left \r\033[Kdrawing-render: writing poster.png\n"), std::string::npos)
      << bar.str();
}

TEST(Progress, ARunTooShortToShowSaysNothingAtTheEnd) {
  std::ostringstream out;
  Progress progress(out, 10, ProgressStyle::Lines, std::chrono::hours(1));
  progress.Update(5);
  progress.Finish("writing picture.png");
  EXPECT_EQ(out.str(), "");
}

}  // namespace
}  // namespace drawing::render
