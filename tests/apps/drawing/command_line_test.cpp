#include "command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace drawing::launch {
namespace {

LaunchRequest Parse(std::vector<std::string_view> arguments, const char* hostWindow = nullptr) {
  return ParseLaunch(arguments, hostWindow);
}

TEST(CommandLine, NothingMeansFullScreenAsBefore) {
  EXPECT_EQ(Parse({}).action, LaunchAction::FullScreen);
  EXPECT_EQ(Parse({}, "").action, LaunchAction::FullScreen);
}

TEST(CommandLine, HostedWindowFromEitherSpellingAndTheVariable) {
  for (const char* root : {"--root", "-root"}) {
    const LaunchRequest alone = Parse({root});
    EXPECT_EQ(alone.action, LaunchAction::Hosted);
    EXPECT_FALSE(alone.windowId.has_value());
    // XScreenSaver passes --root and names its window in the variable.
    EXPECT_EQ(Parse({root}, "0x2a00007").windowId, 0x2a00007u);
  }
  for (const char* option : {"--window-id", "-window-id"}) {
    EXPECT_EQ(Parse({option, "0x1c0000A"}).windowId, 0x1c0000Au);
    EXPECT_EQ(Parse({option, "4194311"}).windowId, 4194311u);
    // The window named on the command line wins over the variable.
    EXPECT_EQ(Parse({option, "7"}, "9").windowId, 7u);
  }
  EXPECT_EQ(Parse({"--window-id=0X10"}).windowId, 16u);
  // xsecurelock sets only the variable.
  const LaunchRequest secured = Parse({}, "12345");
  EXPECT_EQ(secured.action, LaunchAction::Hosted);
  EXPECT_EQ(secured.windowId, 12345u);
}

TEST(CommandLine, HelpAndVersionWinOverEverythingBefore) {
  EXPECT_EQ(Parse({"--root", "--help"}).action, LaunchAction::Help);
  EXPECT_EQ(Parse({"--version"}, "0x5").action, LaunchAction::Version);
  EXPECT_NE(UsageText().find("--window-id"), std::string::npos);
}

TEST(CommandLine, BadInputIsRefusedWithOneLineNamingIt) {
  const std::vector<std::pair<std::vector<std::string_view>, std::string>> cases = {
      {{"--fullscreen"}, "'--fullscreen'"},
      {{"root"}, "'root'"},
      {{"--window-id"}, "needs a window id"},
      {{"--root", "-window-id"}, "needs a window id"},
      {{"--window-id", "0"}, "'0'"},
      {{"--window-id", "0x"}, "'0x'"},
      {{"--window-id", "-5"}, "'-5'"},
      {{"--window-id", "12ab"}, "'12ab'"},
      {{"--window-id", "0x100000000"}, "'0x100000000'"},
      {{"--window-id", " 5"}, "' 5'"},
      {{"--window-id=\x1b[2J"}, "'\\x1b[2J'"},
  };
  for (const auto& [arguments, named] : cases) {
    const LaunchRequest request = Parse(arguments);
    SCOPED_TRACE(request.error);
    EXPECT_EQ(request.action, LaunchAction::Refuse);
    EXPECT_NE(request.error.find(named), std::string::npos);
    EXPECT_EQ(request.error.find('\n'), std::string::npos);
  }
  const LaunchRequest badVariable = Parse({"--root"}, "window");
  EXPECT_EQ(badVariable.action, LaunchAction::Refuse);
  EXPECT_NE(badVariable.error.find("XSCREENSAVER_WINDOW"), std::string::npos);
  EXPECT_EQ(Printable(std::string(100, 'a')), std::string(64, 'a') + "...");
}

}  // namespace
}  // namespace drawing::launch
