// Everything the program asks of the operating system, handed to the
// application at start by a composition root (apps/) that picks the adapter.
#pragma once

#include "platform/direct3d.h"
#include "platform/direct_input.h"
#include "platform/file_system.h"
#include "platform/gdi.h"
#include "platform/system.h"
#include "platform/windowing.h"

namespace drawing::platform {

struct Platform {
  System& system;
  Windowing& windowing;
  Direct3DModule& direct3d;
  Gdi& gdi;
  DirectInputModule& directInput;
  FileSystem& files;
};

}  // namespace drawing::platform
