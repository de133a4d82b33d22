// The SDL host: every port of the program on SDL2 (window, message pump,
// presentation, keyboard and mouse, clock) with the software Direct3D device
// and GDI drawing in memory, handed to the application as one Platform.
//
// Does: the screen window as a full-screen SDL window in the chosen mode,
//   frames drawn straight into a streaming texture (or the window surface)
//   and presented with vsync, paced where vsync does not wait, SDL's
//   keyboard, mouse and focus events as DirectInput through the shared
//   software emulation (platform/soft), the standard library's clock.
// Does not: icons, key repeats or text input, call logs; a window another
//   program owns is the x11 host's.
// Faults: none of its own; SDL's render-device resets lose the device.
// Tests: tests/platform/hosts/sdl, tests/e2e/sdl_*.
#pragma once

#include "platform/hosts/sdl/sdl_direct3d_module.h"
#include "platform/hosts/sdl/sdl_display_host.h"
#include "platform/hosts/sdl/sdl_input.h"
#include "platform/hosts/sdl/sdl_windowing.h"
#include "platform/platform.h"
#include "platform/posix/posix_file_system.h"
#include "platform/soft/direct3d/soft_direct3d_module.h"
#include "platform/soft/gdi/soft_gdi.h"
#include "platform/soft/kit/frame_pacer.h"
#include "platform/soft/kit/steady_system.h"

namespace drawing::platform::sdl {

// SDL's process-wide settings, made before anything starts SDL, and SDL's
// final clean-up after everything else has stopped.
class SdlSession {
 public:
  SdlSession();
  ~SdlSession();
  SdlSession(const SdlSession&) = delete;
  SdlSession& operator=(const SdlSession&) = delete;
};

class SdlHost {
 public:
  SdlHost();
  ~SdlHost() = default;
  SdlHost(const SdlHost&) = delete;
  SdlHost& operator=(const SdlHost&) = delete;

  platform::Platform GetPlatform();
  // Why the screen could not open, in the host's words (no display, a
  // display that does not answer, a screen depth it cannot draw in); empty
  // when the host knows no more than the program does.
  std::string ScreenFailure() const;

  soft::SteadySystem& System() { return system_; }
  SdlWindowing& Windowing() { return windowing_; }
  SdlDisplayHost& Display() { return display_; }
  SdlInput& Input() { return input_; }
  soft::SoftDirect3DModule& Device() { return device_; }

 private:
  // Declared in the order they start; each stops before those above it (the
  // renderer before its window, the window before SDL's last clean-up).
  SdlSession session_;
  soft::SteadyPaceClock clock_;
  soft::SteadySystem system_;
  SdlWindowing windowing_;
  SdlDisplayHost display_;
  soft::SoftGdi gdi_;
  posix::PosixFileSystem files_;
  SdlInput input_;
  soft::SoftDirect3DModule device_;
  SdlDirect3DModule direct3d_;
};

}  // namespace drawing::platform::sdl
