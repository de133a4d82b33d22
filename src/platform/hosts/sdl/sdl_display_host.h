// The screen of the software device on SDL: the adapter's modes are display
// 0's modes, and a device shows its frames in the screen window through one
// of two presenters (sdl_presenters.h): a renderer with a streaming texture,
// or the window surface where OpenGL runs in software. The presenter's own
// memory (the locked texture, the surface) is lent to the device as its back
// buffer, so a present needs no copy of our own; a back buffer in the
// device's own memory is copied instead. Render-device resets reported by
// SDL make the device lost until it is reset, and the pacer keeps presents
// at the refresh rate where the retrace wait does not wait.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/hosts/sdl/sdl_event_sink.h"
#include "platform/hosts/sdl/sdl_presenters.h"
#include "platform/hosts/sdl/sdl_windowing.h"
#include "platform/hosts/sdl/video_lease.h"
#include "platform/soft/direct3d/display_host.h"
#include "platform/soft/kit/frame_pacer.h"

namespace drawing::platform::sdl {

class SdlDisplayHost final : public soft::DisplayHost,
                             public SdlEventSink,
                             private soft::BackBufferLease {
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
  D3dResult Present(const ConstRows& backBuffer, const soft::Damage& changed) override;
  soft::BackBufferLease* LendBackBuffer(const PresentParameters& parameters) override;

  void OnSdlEvent(const SDL_Event& event) override;

  // Inspection.
  bool DeviceOpen() const {
    return presenter_ != nullptr &&
           (presenter_->Renderer() != nullptr || presenter_->OnWindowSurface());
  }
  bool PresentsThroughWindowSurface() const {
    return presenter_ != nullptr && presenter_->OnWindowSurface();
  }
  bool RendererWaitsForRetrace() const {
    return presenter_ != nullptr && presenter_->WaitsForRetrace();
  }
  const char* RendererName() const;
  SDL_Renderer* Renderer() const {
    return presenter_ != nullptr ? presenter_->Renderer() : nullptr;
  }
  const soft::FramePacer& Pacer() const { return pacer_; }
  uint32_t PresentedCount() const { return presented_; }
  // Presents that had to upload a copy (the back buffer was not the texture).
  uint32_t CopiedCount() const { return copied_; }

 private:
  enum class Loss : uint8_t { None, Lost, NotReset };

  // Opens the presenter for `parameters` on the device's window.
  bool OpenPresenter(const PresentParameters& parameters);
  uint32_t RefreshRateFor(const PresentParameters& parameters, SDL_Window* window) const;
  // Lends the presenter's memory, or the spare buffer when it has none now.
  void LendNext();
  void LendSpare(uint32_t width, uint32_t height, Format format);
  Rows Pixels() override { return lent_; }
  bool HoldsLastDrawn() override {
    return presenter_ != nullptr && lentByPresenter_ && presenter_->KeepsLent();
  }

  SdlWindowing& windowing_;
  VideoLease video_;
  std::vector<DisplayMode> modes_;
  std::string failure_;
  soft::FramePacer pacer_;
  SDL_Window* window_ = nullptr;
  PresentPath path_;
  std::unique_ptr<SdlPresenter> presenter_;
  uint32_t textureWidth_ = 0;
  uint32_t textureHeight_ = 0;
  Format textureFormat_ = Format::Unknown;
  bool paced_ = false;
  Loss loss_ = Loss::None;
  bool lentByPresenter_ = false;  // lent_ is the presenter's memory, not the spare
  Rows lent_{};                   // what the device draws in, if it took our memory
  std::vector<uint8_t> spare_;
  uint32_t presented_ = 0;
  uint32_t copied_ = 0;
};

}  // namespace drawing::platform::sdl
