// The display subsystem's state: the screen window, the Direct3D object and
// full-screen device, the screen's size and format, the activation gate, the
// scene bracket and the display-mode walk. Sprites keep their own state.
//
// One instance is owned by `Display`, which alone changes it.
#pragma once

#include <cstdint>

#include "platform/direct3d.h"
#include "platform/handles.h"
#include "platform/pixels.h"

namespace drawing::display {

// One display mode; the same four-field layout is copied into the
// application's own mode list.
struct ScreenModeInfo {
  int16_t width = 0;
  int16_t height = 0;
  int16_t depth = 0;    // 16 or 32
  int16_t refresh = 0;  // Hz, 0 = adapter default
};

// The adapter's modes, walked once with a cursor: 0 is before the first
// record, k (1..count) makes record k-1 current.
struct DisplayModeList {
  ScreenModeInfo* records = nullptr;  // from MainHeap, or null
  int32_t count = 0;
  int32_t cursor = 0;
};

struct ScreenState {
  platform::Hwnd window = nullptr;        // created once by InitDisplay, never destroyed
  platform::Hwnd screenWindow = nullptr;  // set from window by OpenFullScreen
  bool windowCreated = false;
  bool displayReady = false;
  bool screenOpen = false;
  platform::Direct3D* direct3D = nullptr;
  platform::Device* device = nullptr;
  platform::Surface* backBuffer = nullptr;
  platform::PresentParameters presentParameters{};
  int32_t screenWidth = 0;
  int32_t screenHeight = 0;
  int32_t depth = 0;        // requested depth, then that of the back-buffer format
  int32_t refreshRate = 0;  // Hz, 0 = adapter default
  // The layout of the back buffer's pixels.
  platform::PixelLayout ScreenPixelFormat = platform::PixelLayout::Bgrx32;
  bool DeviceActive = false;  // the device may be presented
  bool SceneOpen = false;     // a scene was begun and not yet ended
  DisplayModeList modes{};
};

}  // namespace drawing::display
