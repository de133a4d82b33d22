// A private X server for one test: Xvfb on a free display, $DISPLAY pointed
// at it while the test runs, and a connection of the test's own that owns
// windows as a screen-saver host does. Screen 0 is 160x120 at 24 bits (with
// 32-bit visuals), screen 1 a small 16-bit one. Xlib stays out of this
// header: its macros collide with the ports' names.
#pragma once

#include <gtest/gtest.h>
#include <sys/types.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/hosts/x11/x11_window.h"

namespace drawing::platform::x11::testing {

class XServerTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  // Whether the server offers MIT-SHM.
  virtual bool ServerSharesMemory() const { return true; }

  // A mapped window of the owner at the top left of screen 0 (depth 24 or
  // 32) or of screen 1 (depth 16).
  XWindowId MakeWindow(uint32_t width, uint32_t height, int depth = 24);
  XWindowId MakeInputOnlyWindow();
  XWindowId MakePixmap();
  void Configure(XWindowId window, int x, int y, uint32_t width, uint32_t height);
  void Destroy(XWindowId window);
  // The window's pixels as the server holds them, row by row, as X8R8G8B8
  // values (at depth 32 the top byte is alpha; at 24 it is 0).
  std::vector<uint32_t> Read(XWindowId window, uint32_t width, uint32_t height);

 private:
  pid_t server_ = -1;
  XDisplay* owner_ = nullptr;
  std::optional<std::string> savedDisplay_;
};

}  // namespace drawing::platform::x11::testing
