// A window of another program, for the hosted-mode tests: made at the size
// and place given, mapped, with button, key and pointer events selected as an
// owner would (so no second client may select them); its id goes to standard
// output. Then it obeys lines on standard input: "resize W H", "destroy",
// "cover X Y W H" (a magenta window over that part of the screen, as a
// dialog would be; the window under it keeps no background of its own, so
// what it loses stays magenta until its painter puts it back) and "uncover".
// It ends at the end of its input.
#include <X11/Xlib.h>

#include <cstdio>
#include <iostream>
#include <sstream>
#include <string>

int main(int argc, char** argv) {
  if (argc != 5) {
    std::cerr << "usage: x11_test_window X Y WIDTH HEIGHT\n";
    return 2;
  }
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr) {
    std::cerr << "x11_test_window: no X display\n";
    return 1;
  }
  const Window window = XCreateSimpleWindow(
      display, DefaultRootWindow(display), std::stoi(argv[1]), std::stoi(argv[2]),
      static_cast<unsigned>(std::stoi(argv[3])), static_cast<unsigned>(std::stoi(argv[4])), 0, 0,
      BlackPixel(display, DefaultScreen(display)));
  XSelectInput(display, window,
               ButtonPressMask | ButtonReleaseMask | KeyPressMask | PointerMotionMask);
  XMapWindow(display, window);
  XSync(display, False);
  std::printf("0x%lx\n", window);
  std::fflush(stdout);
  Window cover = 0;
  std::string line;
  while (std::getline(std::cin, line)) {
    std::istringstream words(line);
    std::string command;
    words >> command;
    if (command == "resize") {
      unsigned width = 0;
      unsigned height = 0;
      words >> width >> height;
      XResizeWindow(display, window, width, height);
    } else if (command == "destroy") {
      XDestroyWindow(display, window);
    } else if (command == "cover") {
      int x = 0;
      int y = 0;
      unsigned width = 1;
      unsigned height = 1;
      words >> x >> y >> width >> height;
      XSetWindowBackgroundPixmap(display, window, None);
      XSetWindowAttributes attributes{};
      attributes.background_pixel = 0xFF00FF;
      attributes.override_redirect = True;
      cover =
          XCreateWindow(display, DefaultRootWindow(display), x, y, width, height, 0, CopyFromParent,
                        InputOutput, CopyFromParent, CWBackPixel | CWOverrideRedirect, &attributes);
      XMapRaised(display, cover);
    } else if (command == "uncover" && cover != 0) {
      XDestroyWindow(display, cover);
      cover = 0;
    }
    XSync(display, False);
    std::cout << "done" << std::endl;
  }
  XCloseDisplay(display);
  return 0;
}
