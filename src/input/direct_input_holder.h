// The DirectInput object that the keyboard and the mouse share, with the
// library it came from and the count of its users. The keyboard opens it
// first and closes it last, so the object lives as long as the keyboard.
#pragma once

#include <cstdint>

#include "platform/direct_input.h"
#include "platform/handles.h"

namespace drawing::input {

class DirectInputHolder {
 public:
  // `instance` is the program's own module handle, from GetModuleHandle().
  DirectInputHolder(platform::DirectInputModule& module, platform::Hinstance instance);
  DirectInputHolder(const DirectInputHolder&) = delete;
  DirectInputHolder& operator=(const DirectInputHolder&) = delete;

  // Creates the object if it does not exist yet, retrying from the library
  // load at every call until that succeeds, and counts one more user even
  // when it fails. Null when there is no object.
  platform::DirectInput* OpenDirectInput();
  // Counts one user less; the last user releases the object and the library.
  void CloseDirectInput();

  platform::DirectInput* Object() const { return object_; }
  bool LibraryLoaded() const { return library_; }
  int32_t Users() const { return users_; }

 private:
  static constexpr uint32_t kVersion = 0x0700;

  platform::DirectInputModule& module_;
  platform::Hinstance instance_;
  platform::DirectInput* object_ = nullptr;
  bool library_ = false;
  int32_t users_ = 0;
};

}  // namespace drawing::input
