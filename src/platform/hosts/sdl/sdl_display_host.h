// The screen of the software device on SDL: the adapter's modes are display
// 0's modes, a device is a renderer on the screen window with one streaming
// texture in the back buffer's format. The texture, locked, is lent to the
// device as its back buffer, so presenting is an unlock (the upload), a copy
// to the screen at the retrace and a new lock, with no copy of our own; a
// back buffer in the device's own memory is uploaded instead. Render-device
// resets reported by SDL make the device lost until it is reset.
//
// Where OpenGL runs in software (Mesa's llvmpipe on a machine without a GPU)
// a renderer costs a core's worth of CPU for what is one copy of memory to
// the screen, so there the host presents through the window surface with no
// renderer at all: the surface (on X11 shared memory put with XShmPutImage)
// is lent as the back buffer and a present is SDL_UpdateWindowSurface and
// the pacer's wait. A GPU keeps its hardware renderer; a renderer the user
// names in SDL_RENDER_DRIVER is kept too.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <string>
#include <vector>

#include "platform/hosts/sdl/sdl_event_sink.h"
#include "platform/hosts/sdl/sdl_windowing.h"
#include "platform/hosts/sdl/video_lease.h"
#include "platform/soft/display_host.h"
#include "platform/soft/frame_pacer.h"

namespace drawing::platform::sdl {

// How frames reach the window.
enum class PresentPath : uint8_t {
  Automatic,      // a renderer, unless its OpenGL runs in software
  Renderer,       // SDL's renderer with a streaming texture
  WindowSurface,  // the window surface, no renderer
};

// The window surface instead of a renderer: for an OpenGL renderer whose
// GL_RENDERER names a software rasteriser, unless the user chose the driver.
bool PrefersWindowSurface(const char* rendererName, const char* glRenderer, bool userChoseDriver);

class SdlDisplayHost final : public soft::DisplayHost, public SdlEventSink {
 public:
  // `windowing` knows the SDL window behind the device window; `clock`
  // paces presentation where the retrace wait does not.
  SdlDisplayHost(SdlWindowing& windowing, soft::PaceClock& clock,
                 PresentPath path = PresentPath::Automatic);
  ~SdlDisplayHost() override;
  SdlDisplayHost(const SdlDisplayHost&) = delete;
  SdlDisplayHost& operator=(const SdlDisplayHost&) = delete;

  // Starts SDL's video and reads the modes of display 0; false when there is
  // no usable video driver.
  bool Start();
  // Why the display offers nothing to draw on (no display, or a screen whose
  // pixels the program cannot draw in); empty while nothing is known.
  const std::string& Failure() const { return failure_; }

  uint32_t ModeCount(Format format) override;
  bool Mode(Format format, uint32_t index, DisplayMode* mode) override;
  // Any of the three formats while display 0 has a mode: the renderer
  // converts the texture to whatever the screen uses.
  bool IsUsableFormat(Format format) override;
  Caps DeviceCaps() override { return Caps{}; }
  // Gives the window the display mode closest to the parameters (the window
  // shows it once ShowWindow makes it full screen) and opens the renderer and
  // texture. NotAvailable when the window is unknown or SDL refuses either.
  D3dResult CreateDevice(const PresentParameters& parameters) override;
  void DeviceReleased() override;
  // After a render-device reset: DeviceLost once, then DeviceNotReset until
  // Reset succeeds.
  D3dResult TestCooperativeLevel() override;
  D3dResult Reset(const PresentParameters& parameters) override;
  D3dResult Present(const soft::FrameView& backBuffer) override;
  bool LendBackBuffer(const PresentParameters& parameters, soft::HostMemory* memory) override;
  soft::HostMemory LentBackBuffer() override { return lent_; }

  void OnSdlEvent(const SDL_Event& event) override;

  // Inspection.
  bool DeviceOpen() const { return renderer_ != nullptr || surface_ != nullptr; }
  bool PresentsThroughWindowSurface() const { return surface_ != nullptr; }
  bool RendererWaitsForRetrace() const { return rendererVsync_; }
  const char* RendererName() const;
  SDL_Renderer* Renderer() const { return renderer_; }
  const soft::FramePacer& Pacer() const { return pacer_; }
  uint32_t PresentedCount() const { return presented_; }
  // Presents that had to upload a copy (the back buffer was not the texture).
  uint32_t CopiedCount() const { return copied_; }

 private:
  enum class Loss : uint8_t { None, Lost, NotReset };

  bool OpenRenderer(const PresentParameters& parameters);
  bool OpenWindowSurface(const PresentParameters& parameters);
  // The renderer just made runs OpenGL in software: drop it for the surface.
  bool SwitchToWindowSurface();
  // The window surface if the device can draw straight into it.
  SDL_Surface* LendableSurface();
  void CloseRenderer();
  uint32_t RefreshRateFor(const PresentParameters& parameters, SDL_Window* window) const;
  // Lends the locked texture, or the spare buffer when it cannot be locked.
  void LendTexture();
  void LendSpare(uint32_t width, uint32_t height, Format format);
  void Unlock();
  D3dResult CopyToSurface(const soft::FrameView& backBuffer);
  D3dResult Show();

  SdlWindowing& windowing_;
  VideoLease video_;
  std::vector<DisplayMode> modes_;
  std::string failure_;
  soft::FramePacer pacer_;
  SDL_Window* window_ = nullptr;
  SDL_Renderer* renderer_ = nullptr;
  SDL_Texture* texture_ = nullptr;
  PresentPath path_;
  SDL_Surface* surface_ = nullptr;  // the window surface, on that path
  bool surfaceStale_ = false;       // the window's size changed since it was taken
  uint32_t textureWidth_ = 0;
  uint32_t textureHeight_ = 0;
  Format textureFormat_ = Format::Unknown;
  bool rendererVsync_ = false;
  bool paced_ = false;
  Loss loss_ = Loss::None;
  bool locked_ = false;      // the texture is locked and lent
  soft::HostMemory lent_{};  // what the device draws in, if it took our memory
  std::vector<uint8_t> spare_;
  uint32_t presented_ = 0;
  uint32_t copied_ = 0;
};

}  // namespace drawing::platform::sdl
