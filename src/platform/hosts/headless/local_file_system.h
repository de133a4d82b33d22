// The file system of the machine the headless host runs on: POSIX calls on
// Linux and the like, KERNEL32's on Windows.
#pragma once

#ifdef _WIN32
#include "platform/win32/win32_file_system.h"
#else
#include "platform/posix/posix_file_system.h"
#endif

namespace drawing::platform::headless {

#ifdef _WIN32
using LocalFileSystem = win32::Win32FileSystem;
#else
using LocalFileSystem = posix::PosixFileSystem;
#endif

}  // namespace drawing::platform::headless
