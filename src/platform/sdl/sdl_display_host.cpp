#include "platform/sdl/sdl_display_host.h"

#include <algorithm>

#include "platform/soft/soft_device_pixels.h"

#include "platform/sdl/sdl_modes.h"

namespace drawing::platform::sdl {

namespace {

constexpr int kDisplay = 0;

}  // namespace

SdlDisplayHost::SdlDisplayHost(SdlWindowing& windowing, PaceClock& clock)
    : windowing_(windowing), pacer_(clock) {}

SdlDisplayHost::~SdlDisplayHost() {
  CloseRenderer();
}

bool SdlDisplayHost::Start() {
  if (!video_.Take()) {
    return false;
  }
  modes_ = ReadDisplayModes(kDisplay);
  return true;
}

uint32_t SdlDisplayHost::ModeCount(Format format) {
  return static_cast<uint32_t>(
      std::count_if(modes_.begin(), modes_.end(),
                    [format](const DisplayMode& mode) { return mode.format == format; }));
}

bool SdlDisplayHost::Mode(Format format, uint32_t index, DisplayMode* mode) {
  uint32_t seen = 0;
  for (const DisplayMode& candidate : modes_) {
    if (candidate.format != format) {
      continue;
    }
    if (seen++ == index) {
      *mode = candidate;
      return true;
    }
  }
  return false;
}

bool SdlDisplayHost::IsUsableFormat(Format format) {
  return !modes_.empty() &&
         (format == Format::X8R8G8B8 || format == Format::R5G6B5 || format == Format::X1R5G5B5);
}

uint32_t SdlDisplayHost::RefreshRateFor(const PresentParameters& parameters,
                                        SDL_Window* window) const {
  if (parameters.FullScreen_RefreshRateInHz != 0) {
    return parameters.FullScreen_RefreshRateInHz;
  }
  SDL_DisplayMode mode;
  if (SDL_GetWindowDisplayMode(window, &mode) == 0 && mode.refresh_rate > 0) {
    return static_cast<uint32_t>(mode.refresh_rate);
  }
  return 0;
}

bool SdlDisplayHost::OpenRenderer(const PresentParameters& parameters) {
  const bool retrace = parameters.PresentationInterval != PresentInterval::Immediate;
  renderer_ = SDL_CreateRenderer(window_, -1, retrace ? SDL_RENDERER_PRESENTVSYNC : 0);
  if (renderer_ == nullptr && retrace) {
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
  }
  if (renderer_ == nullptr) {
    return false;
  }
  texture_ = SDL_CreateTexture(
      renderer_, SdlPixelsOfFormat(parameters.BackBufferFormat), SDL_TEXTUREACCESS_STREAMING,
      static_cast<int>(parameters.BackBufferWidth), static_cast<int>(parameters.BackBufferHeight));
  if (texture_ == nullptr) {
    CloseRenderer();
    return false;
  }
  textureWidth_ = parameters.BackBufferWidth;
  textureHeight_ = parameters.BackBufferHeight;
  textureFormat_ = parameters.BackBufferFormat;

  SDL_RendererInfo info;
  rendererVsync_ =
      SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  // Even a renderer that claims to wait for the retrace may not (a virtual
  // X server has none), so the pacer watches every present.
  paced_ = retrace;
  pacer_.SetRefreshRate(RefreshRateFor(parameters, window_));
  return true;
}

void SdlDisplayHost::Unlock() {
  if (locked_) {
    SDL_UnlockTexture(texture_);
    locked_ = false;
  }
}

void SdlDisplayHost::LendSpare(uint32_t width, uint32_t height, Format format) {
  const uint32_t rowBytes = width * soft::DeviceBytesPerPixel(format);
  spare_.assign(static_cast<size_t>(rowBytes) * height, 0);
  lent_ = soft::HostMemory{spare_.data(), static_cast<int32_t>(rowBytes)};
}

void SdlDisplayHost::LendTexture() {
  void* pixels = nullptr;
  int pitch = 0;
  if (texture_ != nullptr && SDL_LockTexture(texture_, nullptr, &pixels, &pitch) == 0) {
    locked_ = true;
    lent_ = soft::HostMemory{static_cast<uint8_t*>(pixels), pitch};
    return;
  }
  LendSpare(textureWidth_, textureHeight_, textureFormat_);
}

bool SdlDisplayHost::LendBackBuffer(const PresentParameters& parameters, soft::HostMemory* memory) {
  if (texture_ == nullptr || parameters.BackBufferWidth != textureWidth_ ||
      parameters.BackBufferHeight != textureHeight_ ||
      parameters.BackBufferFormat != textureFormat_) {
    return false;
  }
  Unlock();
  LendTexture();
  *memory = lent_;
  return true;
}

void SdlDisplayHost::CloseRenderer() {
  Unlock();
  if (texture_ != nullptr) {
    SDL_DestroyTexture(texture_);
    texture_ = nullptr;
  }
  if (renderer_ != nullptr) {
    SDL_DestroyRenderer(renderer_);
    renderer_ = nullptr;
  }
  rendererVsync_ = false;
}

const char* SdlDisplayHost::RendererName() const {
  SDL_RendererInfo info;
  if (renderer_ == nullptr || SDL_GetRendererInfo(renderer_, &info) != 0) {
    return "";
  }
  return info.name;
}

D3dResult SdlDisplayHost::CreateDevice(const PresentParameters& parameters) {
  SDL_Window* window = windowing_.SdlWindow(parameters.hDeviceWindow);
  if (window == nullptr || renderer_ != nullptr) {
    return D3dResult::NotAvailable;
  }
  SDL_DisplayMode wanted{};
  wanted.w = static_cast<int>(parameters.BackBufferWidth);
  wanted.h = static_cast<int>(parameters.BackBufferHeight);
  wanted.refresh_rate = static_cast<int>(parameters.FullScreen_RefreshRateInHz);
  SDL_DisplayMode closest;
  if (SDL_GetClosestDisplayMode(kDisplay, &wanted, &closest) != nullptr) {
    SDL_SetWindowDisplayMode(window, &closest);
  }
  window_ = window;
  if (!OpenRenderer(parameters)) {
    window_ = nullptr;
    return D3dResult::NotAvailable;
  }
  loss_ = Loss::None;
  return D3dResult::Ok;
}

void SdlDisplayHost::DeviceReleased() {
  CloseRenderer();
  lent_ = {};
  window_ = nullptr;
  loss_ = Loss::None;
}

D3dResult SdlDisplayHost::TestCooperativeLevel() {
  switch (loss_) {
    case Loss::Lost:
      loss_ = Loss::NotReset;
      return D3dResult::DeviceLost;
    case Loss::NotReset:
      return D3dResult::DeviceNotReset;
    case Loss::None:
      break;
  }
  return D3dResult::Ok;
}

D3dResult SdlDisplayHost::Reset(const PresentParameters& parameters) {
  if (window_ == nullptr) {
    return D3dResult::InvalidCall;
  }
  // SDL's textures do not survive a render-device reset; a fresh renderer
  // and texture of the new size are the simplest sure state.
  const bool deviceInLentMemory = lent_.pixels != nullptr;
  const uint32_t oldWidth = textureWidth_;
  const uint32_t oldHeight = textureHeight_;
  const Format oldFormat = textureFormat_;
  CloseRenderer();
  lent_ = {};
  if (!OpenRenderer(parameters)) {
    // The device keeps its old back buffer; it needs memory to draw in.
    if (deviceInLentMemory) {
      LendSpare(oldWidth, oldHeight, oldFormat);
    }
    loss_ = Loss::NotReset;
    return D3dResult::DeviceLost;
  }
  loss_ = Loss::None;
  return D3dResult::Ok;
}

D3dResult SdlDisplayHost::Present(const soft::FrameView& backBuffer) {
  if (loss_ != Loss::None || texture_ == nullptr) {
    return D3dResult::DeviceLost;
  }
  if (backBuffer.width != textureWidth_ || backBuffer.height != textureHeight_ ||
      backBuffer.format != textureFormat_) {
    return D3dResult::InvalidCall;
  }
  const bool fromLent = lent_.pixels != nullptr && backBuffer.pixels == lent_.pixels;
  const bool inTexture = fromLent && locked_;
  // Unlocking uploads what was drawn in the texture's own memory.
  Unlock();
  D3dResult result = D3dResult::Ok;
  if (!inTexture) {
    ++copied_;
    if (SDL_UpdateTexture(texture_, nullptr, backBuffer.pixels, backBuffer.pitch) != 0) {
      loss_ = Loss::Lost;
      result = D3dResult::DeviceLost;
    }
  }
  if (result == D3dResult::Ok) {
    result = Show();
  }
  if (fromLent) {
    // The next frame is drawn in the texture again (or the spare buffer).
    LendTexture();
  }
  return result;
}

D3dResult SdlDisplayHost::Show() {
  if (SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) != 0) {
    loss_ = Loss::Lost;
    return D3dResult::DeviceLost;
  }
  SDL_RenderPresent(renderer_);
  ++presented_;
  if (paced_) {
    pacer_.FramePresented();
  }
  return D3dResult::Ok;
}

void SdlDisplayHost::OnSdlEvent(const SDL_Event& event) {
  if ((event.type == SDL_RENDER_DEVICE_RESET || event.type == SDL_RENDER_TARGETS_RESET) &&
      renderer_ != nullptr && loss_ == Loss::None) {
    loss_ = Loss::Lost;
  }
}

}  // namespace drawing::platform::sdl
