#include "app/screen_choice.h"

#include <gtest/gtest.h>

#include <initializer_list>

#include "display/screen_state.h"
#include "runtime/element_list.h"
#include "runtime/main_heap.h"

namespace drawing::app {
namespace {

class ScreenChoiceTest : public ::testing::Test {
 protected:
  ScreenChoiceTest() { state.ModeList = runtime::ListNew(heap, 8, &state.modeCurrent); }

  void Modes(std::initializer_list<display::ScreenModeInfo> modes) {
    for (const display::ScreenModeInfo& mode : modes) {
      *ModeListOf(state).Add() = mode;
    }
  }

  runtime::MainHeap heap;
  AppState state{};
};

TEST_F(ScreenChoiceTest, LastOfTheWidestWins) {
  Modes({{1024, 768, 32, 60}, {1280, 1024, 32, 60}, {1280, 960, 16, 75}});
  ChooseScreenSize(state);
  EXPECT_EQ(state.ScreenWidth, 1280);
  EXPECT_EQ(state.ScreenHeight, 960);
}

TEST_F(ScreenChoiceTest, EqualWidthsGiveTheLastHeight) {
  Modes({{800, 600, 32, 60}, {800, 480, 32, 60}, {800, 500, 16, 60}});
  ChooseScreenSize(state);
  EXPECT_EQ(state.ScreenWidth, 800);
  EXPECT_EQ(state.ScreenHeight, 500);
}

TEST_F(ScreenChoiceTest, NarrowerModesAfterTheWidestAreIgnored) {
  Modes({{1920, 1080, 32, 60}, {640, 480, 32, 60}});
  ChooseScreenSize(state);
  EXPECT_EQ(state.ScreenWidth, 1920);
  EXPECT_EQ(state.ScreenHeight, 1080);
}

TEST_F(ScreenChoiceTest, NoModesLeaveZeroByZero) {
  state.ScreenWidth = 5;
  state.ScreenHeight = 5;
  ChooseScreenSize(state);
  EXPECT_EQ(state.ScreenWidth, 0);
  EXPECT_EQ(state.ScreenHeight, 0);
}

TEST_F(ScreenChoiceTest, WidthsCompareAsSigned16Bit) {
  // A width that reads as negative never beats the starting 0.
  Modes({{-1, 100, 32, 60}});
  ChooseScreenSize(state);
  EXPECT_EQ(state.ScreenWidth, 0);
  EXPECT_EQ(state.ScreenHeight, 0);
}

}  // namespace
}  // namespace drawing::app
