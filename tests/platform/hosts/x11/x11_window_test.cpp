#include "platform/hosts/x11/x11_window.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "x11_server.h"

namespace drawing::platform::x11 {
namespace {

// Hosted mode with no X display to go to: one line naming the problem.
TEST(X11Window, NoDisplayIsOneLineNamingIt) {
  const char* before = std::getenv("DISPLAY");
  const std::optional<std::string> saved =
      before != nullptr ? std::optional<std::string>(before) : std::nullopt;
  for (const char* display : {"", ":199.7"}) {
    setenv("DISPLAY", display, 1);
    std::string error;
    EXPECT_EQ(X11Window::Open(std::nullopt, &error), nullptr);
    EXPECT_NE(error.find("cannot open the X display"), std::string::npos) << error;
    EXPECT_NE(error.find(*display != '\0' ? display : "DISPLAY is not set"), std::string::npos)
        << error;
    EXPECT_EQ(error.find('\n'), std::string::npos);
  }
  if (saved) {
    setenv("DISPLAY", saved->c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
}

using X11WindowTest = testing::XServerTest;

// What a host hands over may be no window, or one the program cannot draw
// in: one line naming the window, and no X error ends the process.
TEST_F(X11WindowTest, AWindowThatCannotBeDrawnInIsRefusedInOneLineNamingIt) {
  const XWindowId destroyed = MakeWindow(8, 8);
  Destroy(destroyed);
  const struct {
    XWindowId id;
    const char* reason;
  } cases[] = {{destroyed, "no window 0x%lx on the X display"},
               {MakePixmap(), "no window 0x%lx on the X display"},
               {MakeInputOnlyWindow(), "window 0x%lx is not a true-colour window"},
               {MakeWindow(8, 8, 16), "window 0x%lx has a 16-bit visual"}};
  for (const auto& c : cases) {
    char reason[96];
    std::snprintf(reason, sizeof reason, c.reason, c.id);
    std::string error;
    EXPECT_EQ(X11Window::Open(static_cast<uint32_t>(c.id), &error), nullptr) << reason;
    EXPECT_NE(error.find(reason), std::string::npos) << error;
    EXPECT_EQ(error.find('\n'), std::string::npos) << error;
  }
}

TEST_F(X11WindowTest, WithoutAnIdItIsTheRootWindowOfTheScreen) {
  std::string error;
  const auto root = X11Window::Open(std::nullopt, &error);
  ASSERT_NE(root, nullptr) << error;
  EXPECT_EQ(root->Width(), 160u);
  EXPECT_EQ(root->Height(), 120u);
}

// A move or a raise must not restart the drawing; a new size does, once;
// the window's end is for good.
TEST_F(X11WindowTest, PollTellsEachNewSizeOnceAndTheEndForGood) {
  const XWindowId id = MakeWindow(64, 48);
  std::string error;
  const auto window = X11Window::Open(static_cast<uint32_t>(id), &error);
  ASSERT_NE(window, nullptr) << error;
  EXPECT_EQ(window->Poll(), WindowChange::Unchanged);
  Configure(id, 10, 5, 64, 48);
  EXPECT_EQ(window->Poll(), WindowChange::Unchanged);
  Configure(id, 10, 5, 81, 37);
  EXPECT_EQ(window->Poll(), WindowChange::Resized);
  EXPECT_EQ(window->Width(), 81u);
  EXPECT_EQ(window->Height(), 37u);
  EXPECT_EQ(window->Poll(), WindowChange::Unchanged);
  Destroy(id);
  EXPECT_EQ(window->Poll(), WindowChange::Gone);
  EXPECT_TRUE(window->Gone());
  EXPECT_EQ(window->Poll(), WindowChange::Gone);
}

}  // namespace
}  // namespace drawing::platform::x11
