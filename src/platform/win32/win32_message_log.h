// Where the Windows program tells the user something (a save that failed, a
// screen that could not be opened). It has no console, and a message box or
// the window title would not be seen over a full-screen Direct3D display or
// would stop the drawing, so each line is appended to a log file the user can
// open while the drawing goes on, %LOCALAPPDATA%\drawing\drawing.log (the
// temporary folder's when there is no LOCALAPPDATA), with the local time;
// it also goes to a debugger (OutputDebugString) and to standard error when
// one is attached (a console or a redirection).
#pragma once

#include <ostream>
#include <streambuf>
#include <string>

namespace drawing::platform::win32 {

class MessageLineBuffer final : public std::streambuf {
 public:
  ~MessageLineBuffer() override;

 protected:
  int_type overflow(int_type c) override;

 private:
  void Emit();
  std::string line_;
};

class Win32MessageLog final : public std::ostream {
 public:
  Win32MessageLog() : std::ostream(&buffer_) {}

  // The file the lines are appended to.
  static std::wstring LogPath();

 private:
  MessageLineBuffer buffer_;
};

}  // namespace drawing::platform::win32
