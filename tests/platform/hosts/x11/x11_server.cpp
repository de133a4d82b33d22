#include "x11_server.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

extern char** environ;

namespace drawing::platform::x11::testing {

void XServerTest::SetUp() {
  int ready[2];
  ASSERT_EQ(pipe(ready), 0);
  const std::string readyFd = std::to_string(ready[1]);
  // -terminate: the server ends with its last client, so a test process
  // that dies unexpectedly does not leave it behind.
  std::vector<const char*> arguments = {
      "Xvfb",    "-displayfd", readyFd.c_str(), "-terminate", "-nolisten", "tcp",
      "-screen", "0",          "160x120x24",    "-screen",    "1",         "32x32x16"};
  if (!ServerSharesMemory()) {
    arguments.insert(arguments.end(), {"-extension", "MIT-SHM"});
  }
  arguments.push_back(nullptr);
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addclose(&actions, ready[0]);
  posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
  posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
  const int spawned = posix_spawnp(&server_, "Xvfb", &actions, nullptr,
                                   const_cast<char* const*>(arguments.data()), environ);
  posix_spawn_file_actions_destroy(&actions);
  close(ready[1]);
  if (spawned != 0) {
    close(ready[0]);
    server_ = -1;
    if (spawned == ENOENT) {
      GTEST_SKIP() << "Xvfb is not installed";
    }
    FAIL() << "cannot start Xvfb: " << std::strerror(spawned);
  }
  // Xvfb writes its display number once it takes connections.
  std::string number;
  char c = 0;
  while (read(ready[0], &c, 1) == 1 && c != '\n') {
    number += c;
  }
  close(ready[0]);
  ASSERT_FALSE(number.empty()) << "Xvfb ended before it took connections";
  if (const char* display = std::getenv("DISPLAY")) {
    savedDisplay_ = display;
  }
  setenv("DISPLAY", (":" + number).c_str(), 1);
  owner_ = XOpenDisplay(nullptr);
  ASSERT_NE(owner_, nullptr);
}

void XServerTest::TearDown() {
  if (owner_ != nullptr) {
    XCloseDisplay(owner_);
  }
  if (server_ > 0) {
    kill(server_, SIGTERM);
    waitpid(server_, nullptr, 0);
  }
  if (savedDisplay_) {
    setenv("DISPLAY", savedDisplay_->c_str(), 1);
  } else {
    unsetenv("DISPLAY");
  }
}

XWindowId XServerTest::MakeWindow(uint32_t width, uint32_t height, int depth) {
  const int screen = depth == 16 ? 1 : 0;
  XVisualInfo visual{};
  if (!XMatchVisualInfo(owner_, screen, depth, TrueColor, &visual)) {
    ADD_FAILURE() << "no " << depth << "-bit true-colour visual";
    return 0;
  }
  const ::Window root = RootWindow(owner_, screen);
  XSetWindowAttributes attributes{};
  attributes.colormap = XCreateColormap(owner_, root, visual.visual, AllocNone);
  const ::Window window =
      XCreateWindow(owner_, root, 0, 0, width, height, 0, depth, InputOutput, visual.visual,
                    CWColormap | CWBorderPixel | CWBackPixel, &attributes);
  XFreeColormap(owner_, attributes.colormap);
  XMapWindow(owner_, window);
  XSync(owner_, False);
  return window;
}

XWindowId XServerTest::MakeInputOnlyWindow() {
  const ::Window window = XCreateWindow(owner_, DefaultRootWindow(owner_), 0, 0, 8, 8, 0, 0,
                                        InputOnly, CopyFromParent, 0, nullptr);
  XSync(owner_, False);
  return window;
}

XWindowId XServerTest::MakePixmap() {
  const Pixmap pixmap = XCreatePixmap(owner_, DefaultRootWindow(owner_), 8, 8, 24);
  XSync(owner_, False);
  return pixmap;
}

void XServerTest::Configure(XWindowId window, int x, int y, uint32_t width, uint32_t height) {
  XMoveResizeWindow(owner_, window, x, y, width, height);
  XSync(owner_, False);
}

void XServerTest::Destroy(XWindowId window) {
  XDestroyWindow(owner_, window);
  XSync(owner_, False);
}

std::vector<uint32_t> XServerTest::Read(XWindowId window, uint32_t width, uint32_t height) {
  XImage* image = XGetImage(owner_, window, 0, 0, width, height, AllPlanes, ZPixmap);
  if (image == nullptr) {
    ADD_FAILURE() << "cannot read the window back";
    return {};
  }
  std::vector<uint32_t> pixels;
  pixels.reserve(static_cast<size_t>(width) * height);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width; ++x) {
      pixels.push_back(
          static_cast<uint32_t>(XGetPixel(image, static_cast<int>(x), static_cast<int>(y))));
    }
  }
  XDestroyImage(image);
  return pixels;
}

}  // namespace drawing::platform::x11::testing
