#include "render_options.h"

#include <gtest/gtest.h>

#include "app/message_text.h"
#include "input_script.h"

namespace drawing::app {
namespace {

RenderOptionsResult Parse(std::vector<std::string> arguments) {
  return ParseRenderOptions(arguments);
}

TEST(RenderOptions, DefaultsWithoutArguments) {
  const RenderOptionsResult result = Parse({});
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(result.options.width, 1280);
  EXPECT_EQ(result.options.height, 720);
  EXPECT_EQ(result.options.frames, 36000u);
  EXPECT_EQ(result.options.paintedPercent, 60u);
  EXPECT_FALSE(result.options.seed.has_value());
  EXPECT_EQ(result.options.inputScript, "");
  EXPECT_EQ(result.options.out, "");
  EXPECT_EQ(result.options.screen, "");
}

TEST(RenderOptions, EveryOptionInBothForms) {
  const RenderOptionsResult result =
      Parse({"--size", "320x240", "--frames=200", "--seed", "1", "--input=run.txt", "--out",
             "a.bmp", "--screen=s.bmp", "--video", "-", "--quiet", "--progress"});
  ASSERT_EQ(result.error, "");
  EXPECT_EQ(result.options.width, 320);
  EXPECT_EQ(result.options.height, 240);
  EXPECT_EQ(result.options.frames, 200u);
  EXPECT_EQ(result.options.seed, 1u);
  EXPECT_EQ(result.options.inputScript, "run.txt");
  EXPECT_EQ(result.options.out, "a.bmp");
  EXPECT_EQ(result.options.screen, "s.bmp");
  EXPECT_EQ(result.options.video, "-");
  EXPECT_TRUE(result.options.quiet);
  EXPECT_TRUE(result.options.progress);
}

TEST(RenderOptions, SizeLimits) {
  EXPECT_EQ(Parse({"--size", "1x1"}).error, "");
  EXPECT_EQ(Parse({"--size", "16384x16384"}).options.width, 16384);
  for (const char* bad : {"0x10", "10x0", "16385x10", "10x16385", "10", "x10", "10x", "-5x5",
                          "+5x5", "5x+5", "10X10", "10x10x", "ax10", " 10x10"}) {
    SCOPED_TRACE(bad);
    const std::string error = Parse({"--size", bad}).error;
    EXPECT_NE(error.find("--size"), std::string::npos);
    EXPECT_NE(error.find(bad), std::string::npos);
  }
}

TEST(RenderOptions, SeedIsTakenModulo2To32) {
  EXPECT_EQ(Parse({"--seed", "-1"}).options.seed, 0xFFFFFFFFu);
  EXPECT_EQ(Parse({"--seed", "-2147483648"}).options.seed, 0x80000000u);
  EXPECT_EQ(Parse({"--seed", "4294967295"}).options.seed, 0xFFFFFFFFu);
  EXPECT_EQ(Parse({"--seed", "0"}).options.seed, 0u);
  EXPECT_NE(Parse({"--seed", "4294967296"}).error, "");
  EXPECT_NE(Parse({"--seed", "-2147483649"}).error, "");
  EXPECT_NE(Parse({"--seed", "1.5"}).error, "");
  EXPECT_NE(Parse({"--seed", ""}).error, "");
}

TEST(RenderOptions, FramesFromZero) {
  EXPECT_EQ(Parse({"--frames", "0"}).options.frames, 0u);
  EXPECT_EQ(Parse({"--frames", "2147483647"}).options.frames, 2147483647u);
  EXPECT_NE(Parse({"--frames", "-1"}).error, "");
  EXPECT_NE(Parse({"--frames", "2147483648"}).error, "");
  EXPECT_NE(Parse({"--frames", "ten"}).error, "");
}

TEST(RenderOptions, PaintedIsAPercentageAndFramesAloneRunThatMany) {
  EXPECT_EQ(Parse({"--frames", "10"}).options.paintedPercent, 0u);
  const RenderOptions both = Parse({"--painted", "5", "--frames", "10"}).options;
  EXPECT_EQ(both.paintedPercent, 5u);
  EXPECT_EQ(both.frames, 10u);
  EXPECT_EQ(Parse({"--painted", "5"}).options.frames, 36000u);
  EXPECT_EQ(Parse({"--painted", "1"}).options.paintedPercent, 1u);
  EXPECT_EQ(Parse({"--painted=100"}).options.paintedPercent, 100u);
  EXPECT_EQ(Parse({"--painted", "0"}).error,
            "bad --painted '0': expected a percentage from 1 to 100");
  EXPECT_NE(Parse({"--painted", "101"}).error, "");
  EXPECT_NE(Parse({"--painted", "97%"}).error, "");
}

TEST(RenderOptions, BadCommandLinesNameTheProblem) {
  EXPECT_EQ(Parse({"--colour", "red"}).error, "unknown option '--colour'");
  EXPECT_EQ(Parse({"picture.bmp"}).error, "unexpected argument 'picture.bmp'");
  EXPECT_EQ(Parse({"--frames"}).error, "option --frames needs a value");
  EXPECT_EQ(Parse({"--out="}).error, "bad --out: empty file name");
  // One line each.
  EXPECT_EQ(Parse({"--size", "big"}).error.find('\n'), std::string::npos);
}

TEST(RenderOptions, LaterOptionsWin) {
  EXPECT_EQ(Parse({"--frames", "3", "--frames", "4"}).options.frames, 4u);
}

TEST(RenderOptions, HelpAndVersionAreRecognised) {
  EXPECT_TRUE(Parse({"--help"}).options.help);
  EXPECT_TRUE(Parse({"--version"}).options.version);
  EXPECT_NE(Parse({"--version=1"}).error, "");
  EXPECT_NE(RenderUsage().find("--screen"), std::string::npos);
}

// The messages that repeat what the user gave use it.
TEST(MessageText, OptionAndScriptMessagesAreOneSafeLine) {
  const std::string bad = "\x1b[2J\nx" + std::string(100000, '9');
  for (const std::string& error :
       {ParseRenderOptions({"--size", bad}).error, ParseRenderOptions({bad}).error,
        ParseInputScript("1 key " + bad + " down", bad).error}) {
    EXPECT_EQ(error.find_first_of("\x1b\n"), std::string::npos) << error;
    EXPECT_LT(error.size(), 2 * kShownValueLimit + 100);
  }
}

}  // namespace
}  // namespace drawing::app
