// The list of display modes: which formats are listed, in which order, and
// the cursor walk the application makes over it.
#include <gtest/gtest.h>

#include <vector>

#include "display_world.h"

namespace drawing::display::testing {
namespace {

using platform::DisplayMode;
using platform::Format;

struct Walked {
  int width;
  int height;
  int depth;
  int refresh;
  bool operator==(const Walked&) const = default;
};

std::vector<Walked> Walk(Display& display) {
  std::vector<Walked> seen;
  display.EnumerateDisplayModes();
  while (display.NextDisplayMode() == 1) {
    seen.push_back({display.DisplayModeWidth(), display.DisplayModeHeight(),
                    display.DisplayModeDepth(), display.DisplayModeRefreshRate()});
  }
  return seen;
}

std::vector<DisplayMode> Modes(Format format, int count, uint32_t firstWidth) {
  std::vector<DisplayMode> modes;
  for (int i = 0; i < count; ++i) {
    modes.push_back(DisplayMode{firstWidth + static_cast<uint32_t>(i), 100, 60, format});
  }
  return modes;
}

TEST(DisplayModes, X1R5G5B5HidesR5G6B5AndComesBefore32Bit) {
  std::vector<DisplayMode> modes = Modes(Format::X8R8G8B8, 4, 3200);
  for (const DisplayMode& mode : Modes(Format::R5G6B5, 5, 1600)) {
    modes.push_back(mode);
  }
  for (const DisplayMode& mode : Modes(Format::X1R5G5B5, 3, 1500)) {
    modes.push_back(mode);
  }
  DisplayWorld world(WithModes(modes));
  ASSERT_EQ(world.display.InitDisplay(), 1);

  const std::vector<Walked> seen = Walk(world.display);
  const std::vector<Walked> expected = {
      {1500, 100, 16, 60}, {1501, 100, 16, 60}, {1502, 100, 16, 60}, {3200, 100, 32, 60},
      {3201, 100, 32, 60}, {3202, 100, 32, 60}, {3203, 100, 32, 60},
  };
  EXPECT_EQ(seen, expected);
}

TEST(DisplayModes, R5G6B5IsListedWhenItIsTheOnly16BitLayout) {
  DisplayWorld world(WithModes(Modes(Format::R5G6B5, 5, 800)));
  ASSERT_EQ(world.display.InitDisplay(), 1);
  const std::vector<Walked> seen = Walk(world.display);
  ASSERT_EQ(seen.size(), 5u);
  for (size_t i = 0; i < seen.size(); ++i) {
    EXPECT_EQ(seen[i].width, 800 + static_cast<int>(i));
    EXPECT_EQ(seen[i].depth, 16);
  }
}

TEST(DisplayModes, OtherFormatsAreNeverListed) {
  DisplayWorld world(WithModes(
      {DisplayMode{640, 480, 60, Format::R8G8B8}, DisplayMode{800, 600, 0, Format::X8R8G8B8}}));
  ASSERT_EQ(world.display.InitDisplay(), 1);
  const std::vector<Walked> expected = {{800, 600, 32, 0}};
  EXPECT_EQ(Walk(world.display), expected);
}

TEST(DisplayModes, FieldsAreCutTo16BitsAndSignExtended) {
  DisplayWorld world(WithModes({DisplayMode{70000, 40000, 65535, Format::X8R8G8B8}}));
  ASSERT_EQ(world.display.InitDisplay(), 1);
  const std::vector<Walked> expected = {{70000 - 65536, 40000 - 65536, 32, -1}};
  EXPECT_EQ(Walk(world.display), expected);
}

TEST(DisplayModes, AccessorsAreZeroBeforeTheFirstRecordAndAfterTheEnd) {
  DisplayWorld world;
  ASSERT_EQ(world.display.InitDisplay(), 1);
  Display& display = world.display;
  const size_t blocksBefore = world.heap.LiveBlockCount();
  EXPECT_EQ(display.EnumerateDisplayModes(), 1);
  EXPECT_EQ(world.heap.LiveBlockCount(), blocksBefore + 1);
  EXPECT_EQ(display.DisplayModeWidth(), 0);
  EXPECT_EQ(display.DisplayModeHeight(), 0);
  EXPECT_EQ(display.DisplayModeDepth(), 0);
  EXPECT_EQ(display.DisplayModeRefreshRate(), 0);

  int records = 0;
  while (display.NextDisplayMode() == 1) {
    ++records;
    EXPECT_NE(display.DisplayModeWidth(), 0);
  }
  EXPECT_EQ(records, 4);  // the host's default modes
  // The cursor still equals the count, but the list is gone.
  EXPECT_EQ(world.State().modes.cursor, 4);
  EXPECT_EQ(world.State().modes.records, nullptr);
  EXPECT_EQ(display.DisplayModeWidth(), 0);
  EXPECT_EQ(display.DisplayModeHeight(), 0);
  EXPECT_EQ(display.DisplayModeDepth(), 0);
  EXPECT_EQ(display.DisplayModeRefreshRate(), 0);
  EXPECT_EQ(display.NextDisplayMode(), 0);
  EXPECT_EQ(world.heap.LiveBlockCount(), blocksBefore);  // the list was freed
}

TEST(DisplayModes, EnumeratingAgainMidWalkRestartsFromTheFirstRecord) {
  DisplayWorld world;
  ASSERT_EQ(world.display.InitDisplay(), 1);
  Display& display = world.display;
  display.EnumerateDisplayModes();
  ASSERT_EQ(display.NextDisplayMode(), 1);
  const int first = display.DisplayModeWidth();
  ASSERT_EQ(display.NextDisplayMode(), 1);
  ASSERT_EQ(display.NextDisplayMode(), 1);
  EXPECT_NE(display.DisplayModeDepth(), 16);

  EXPECT_EQ(display.EnumerateDisplayModes(), 1);
  EXPECT_EQ(display.DisplayModeWidth(), 0);
  ASSERT_EQ(display.NextDisplayMode(), 1);
  EXPECT_EQ(display.DisplayModeWidth(), first);
  EXPECT_EQ(display.DisplayModeDepth(), 16);
}

TEST(DisplayModes, AnAdapterWithoutModesGivesAnEmptyList) {
  DisplayWorld world(WithModes({}));
  EXPECT_EQ(world.display.InitDisplay(), 0);
  EXPECT_EQ(world.display.EnumerateDisplayModes(), 1);
  EXPECT_EQ(world.display.NextDisplayMode(), 0);
  EXPECT_EQ(world.display.DisplayModeWidth(), 0);
}

}  // namespace
}  // namespace drawing::display::testing
