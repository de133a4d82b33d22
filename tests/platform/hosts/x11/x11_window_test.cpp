#include "platform/hosts/x11/x11_window.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

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

}  // namespace
}  // namespace drawing::platform::x11
