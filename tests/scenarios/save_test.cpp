// Saving the picture: S held and let go writes bild.bmp, and painting goes on.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>

#include "scenario.h"
#include "support/scratch_directory.h"

namespace drawing::scenarios {

using support::ReadAll;
using support::ScratchDirectory;
namespace {

namespace fs = std::filesystem;

// Runs the test in a fresh working directory.
class SaveTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = fs::current_path();
    fs::current_path(scratch_.Path());
  }
  void TearDown() override { fs::current_path(previous_); }

  ScratchDirectory scratch_;
  fs::path previous_;
};

TEST_F(SaveTest, ReleasingSWritesBildBmpAndPaintingGoesOn) {
  ScenarioSetup setup;
  setup.maxFrames = 20;
  setup.input = {At(5, InputEvent::KeyDown(31)), At(8, InputEvent::KeyUp(31))};
  uint32_t savedBy = 0;
  setup.observe = [&](uint32_t frame, const app::AppState&) {
    if (savedBy == 0 && fs::exists("bild.bmp")) {
      savedBy = frame - 1;
    }
  };
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  EXPECT_EQ(scenario.App().EndReason(), app::RunEnd::FrameLimit);
  EXPECT_EQ(scenario.App().FrameNumber(), 20u);
  EXPECT_EQ(savedBy, 8u) << "written in the frame that first sees S up";
  ASSERT_TRUE(fs::exists("bild.bmp"));
  EXPECT_EQ(fs::file_size("bild.bmp"), 54u + 960u * 240u);

  // The file holds the Canvas as it was in frame 8, after that frame's
  // strokes: the same as a run that ends in frame 8 and saves then.
  ScenarioSetup shorter;
  shorter.input = {At(8, InputEvent::KeyDown(1))};
  Scenario reference(shorter);
  reference.RunUntilEnd();
  ASSERT_EQ(reference.App().FrameNumber(), 8u);
  ASSERT_TRUE(reference.App().SaveCanvas("reference.bmp"));
  EXPECT_EQ(ReadAll("bild.bmp"), ReadAll("reference.bmp"));
}

TEST_F(SaveTest, SHeldWithoutReleaseWritesNothing) {
  ScenarioSetup setup;
  setup.maxFrames = 10;
  setup.input = {At(2, InputEvent::KeyDown(31))};
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  EXPECT_FALSE(fs::exists("bild.bmp"));
}

TEST_F(SaveTest, SaveInTheFrameThatEndsStillHappens) {
  ScenarioSetup setup;
  setup.input = {At(3, InputEvent::KeyDown(31)), At(6, InputEvent::KeyUp(31)),
                 At(6, InputEvent::Move(2, 0))};
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  EXPECT_EQ(scenario.App().FrameNumber(), 6u);
  EXPECT_EQ(scenario.App().EndReason(), app::RunEnd::UserInput);
  EXPECT_TRUE(fs::exists("bild.bmp"));
}

TEST_F(SaveTest, EverySaveReplacesTheFile) {
  ScenarioSetup setup;
  setup.maxFrames = 12;
  setup.input = {At(2, InputEvent::KeyDown(31)), At(3, InputEvent::KeyUp(31)),
                 At(9, InputEvent::KeyDown(31)), At(10, InputEvent::KeyUp(31))};
  std::string firstSave;
  setup.observe = [&](uint32_t frame, const app::AppState&) {
    if (frame == 4) {
      firstSave = ReadAll("bild.bmp");
    }
  };
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  ASSERT_FALSE(firstSave.empty());
  const std::string secondSave = ReadAll("bild.bmp");
  EXPECT_EQ(secondSave.size(), firstSave.size());
  EXPECT_NE(secondSave, firstSave) << "seven more frames of strokes";
}

TEST_F(SaveTest, FailedSaveIsToldOnceAndPaintingGoesOn) {
  std::ostringstream errors;
  ScenarioSetup setup;
  setup.maxFrames = 12;
  setup.saveName = "missing/bild.bmp";
  setup.errors = &errors;
  setup.input = {At(2, InputEvent::KeyDown(31)), At(3, InputEvent::KeyUp(31))};
  Scenario scenario(setup);
  scenario.RunUntilEnd();
  EXPECT_EQ(scenario.App().EndReason(), app::RunEnd::FrameLimit);
  const std::string told = errors.str();
  const std::string start = "drawing: cannot save 'missing/bild.bmp': ";
  EXPECT_EQ(told.substr(0, start.size()), start);
  EXPECT_GT(told.size(), start.size() + 1) << "with the system's reason";
  EXPECT_EQ(told.find('\n'), told.size() - 1) << "one line";
}

}  // namespace
}  // namespace drawing::scenarios
