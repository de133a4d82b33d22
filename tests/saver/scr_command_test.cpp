#include "saver/scr_command.h"

#include <gtest/gtest.h>

#include <vector>

#include "saver/settings_text.h"

namespace drawing::saver {
namespace {

constexpr uintptr_t kLiveWindow = 4242;

ScrParse Parse(std::vector<std::string_view> arguments) {
  return ParseScrCommand(arguments, [](uintptr_t window) { return window == kLiveWindow; });
}

struct Accepted {
  std::vector<std::string_view> arguments;
  ScrMode mode;
  uintptr_t window;
};

TEST(ScrCommandTest, EveryFormWindowsUsesIsAccepted) {
  const Accepted cases[] = {
      {{}, ScrMode::Settings, 0},
      {{"/c"}, ScrMode::Settings, 0},
      {{"/C"}, ScrMode::Settings, 0},
      {{"/c:4242"}, ScrMode::Settings, kLiveWindow},
      {{"-c", "4242"}, ScrMode::Settings, kLiveWindow},
      {{"/s"}, ScrMode::FullScreen, 0},
      {{"-s"}, ScrMode::FullScreen, 0},
      {{"/S"}, ScrMode::FullScreen, 0},
      {{"/p", "4242"}, ScrMode::Preview, kLiveWindow},
      {{"/p:4242"}, ScrMode::Preview, kLiveWindow},
      {{"/P", "4242"}, ScrMode::Preview, kLiveWindow},
      {{"-p:4242"}, ScrMode::Preview, kLiveWindow},
      // A password change does nothing, so its window is not looked at.
      {{"/a", "77"}, ScrMode::ChangePassword, 77},
      {{"/A:77"}, ScrMode::ChangePassword, 77},
      {{"/a"}, ScrMode::ChangePassword, 0},
  };
  for (const Accepted& accepted : cases) {
    const ScrParse parse = Parse(accepted.arguments);
    const std::string line = accepted.arguments.empty() ? "" : std::string(accepted.arguments[0]);
    ASSERT_TRUE(parse.command.has_value()) << line << ": " << parse.error;
    EXPECT_EQ(parse.command->mode, accepted.mode) << line;
    EXPECT_EQ(parse.command->window, accepted.window) << line;
    EXPECT_TRUE(parse.error.empty()) << line;
  }
}

struct Rejected {
  std::vector<std::string_view> arguments;
  std::string error;
};

const std::string kLong(5000, '7');

TEST(ScrCommandTest, MalformedLinesAreRefusedWithTheProblemNamed) {
  const Rejected cases[] = {
      {{"/p"}, "/p needs a window number"},
      {{"/p:"}, "/p needs a window number, not ''"},
      {{"/p", "0"}, "/p needs a window number, not '0'"},
      {{"/p", "12x"}, "/p needs a window number, not '12x'"},
      {{"/p", "-5"}, "/p needs a window number, not '-5'"},
      {{"/p", "+5"}, "/p needs a window number, not '+5'"},
      {{"/p", "99999999999999999999999"},
       "/p needs a window number, not '99999999999999999999999'"},
      // Escapes and runaway lengths are not echoed as they are.
      {{"/p", "\x1b[2J1"}, "/p needs a window number, not '\\x1b[2J1'"},
      {{"/p", std::string_view(kLong)},
       "/p needs a window number, not '" + std::string(40, '7') + "'... (5000 bytes)"},
      {{"/p", "17"}, "/p: 17 is not a window"},
      {{"/c:17"}, "/c: 17 is not a window"},
      {{"/s:1"}, "/s takes no window"},
      {{"/s", "4242"}, "unexpected argument '4242' after /s"},
      {{"/p", "4242", "x"}, "unexpected argument 'x' after /p"},
      {{"/x"}, "unknown argument '/x' (expected /s, /p <window>, /c or /a)"},
      {{"/save"}, "unknown argument '/save' (expected /s, /p <window>, /c or /a)"},
      {{"s"}, "unknown argument 's' (expected /s, /p <window>, /c or /a)"},
      {{""}, "unknown argument '' (expected /s, /p <window>, /c or /a)"},
  };
  for (const Rejected& rejected : cases) {
    const ScrParse parse = Parse(rejected.arguments);
    const std::string line(rejected.arguments[0]);
    EXPECT_FALSE(parse.command.has_value()) << line;
    EXPECT_EQ(parse.error, rejected.error) << line;
  }
}

TEST(ScrCommandTest, SettingsTextSaysWhereThePictureGoes) {
  const std::string text = SettingsText("C:\\Users\\Ana\\Pictures");
  EXPECT_NE(text.find("bild.bmp in\n    C:\\Users\\Ana\\Pictures."), std::string::npos) << text;
  EXPECT_NE(text.find("nothing is stored"), std::string::npos) << text;
}

}  // namespace
}  // namespace drawing::saver
