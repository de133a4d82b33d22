#include "platform/hosts/sdl/sdl_display_host.h"

#include <algorithm>
#include <cstring>

#include "platform/soft/soft_device_pixels.h"

#include "platform/hosts/sdl/sdl_modes.h"

namespace drawing::platform::sdl {

namespace {

constexpr int kDisplay = 0;
constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// The GL_RENDERER string of the current OpenGL context; "" without one.
const char* CurrentGlRenderer() {
  using GetString = const unsigned char* (*)(unsigned);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
  return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}

}  // namespace

bool PrefersWindowSurface(const char* rendererName, const char* glRenderer, bool userChoseDriver) {
  if (userChoseDriver || std::strncmp(rendererName, "opengl", 6) != 0) {
    return false;
  }
  for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
    if (std::strstr(glRenderer, software) != nullptr) {
      return true;
    }
  }
  return false;
}

SdlDisplayHost::SdlDisplayHost(SdlWindowing& windowing, soft::PaceClock& clock, PresentPath path)
    : windowing_(windowing), pacer_(clock), path_(path) {}

SdlDisplayHost::~SdlDisplayHost() {
  CloseRenderer();
}

bool SdlDisplayHost::Start() {
  if (!video_.Take()) {
    failure_ = video_.Failure();
    return false;
  }
  modes_ = ReadDisplayModes(kDisplay);
  if (modes_.empty()) {
    // Depth 8 (a palette) or 30 (10 bits a colour), which SDL names no
    // format for: none of the device's formats.
    SDL_DisplayMode desktop{};
    const int bits = SDL_GetDesktopDisplayMode(kDisplay, &desktop) == 0
                         ? static_cast<int>(SDL_BITSPERPIXEL(desktop.format))
                         : 0;
    failure_ = "the screen's pixel format (" +
               (bits > 0 ? std::to_string(bits) + " bits" : std::string("a depth like 8 or 30")) +
               ") is none the program can draw in; it needs a 16-, 24- or 32-bit screen";
  }
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

bool SdlDisplayHost::OpenWindowSurface(const PresentParameters& parameters) {
  // SDL's own framebuffer of the window, not one more renderer behind it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  surface_ = SDL_GetWindowSurface(window_);
  if (surface_ == nullptr) {
    return false;
  }
  textureWidth_ = parameters.BackBufferWidth;
  textureHeight_ = parameters.BackBufferHeight;
  textureFormat_ = parameters.BackBufferFormat;
  rendererVsync_ = false;
  paced_ = parameters.PresentationInterval != PresentInterval::Immediate;
  pacer_.SetRefreshRate(RefreshRateFor(parameters, window_));
  return true;
}

bool SdlDisplayHost::SwitchToWindowSurface() {
  SDL_RendererInfo info;
  if (path_ != PresentPath::Automatic || SDL_GetRendererInfo(renderer_, &info) != 0) {
    return false;
  }
  const char* chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  if (!PrefersWindowSurface(info.name, CurrentGlRenderer(), chosen != nullptr && *chosen != 0)) {
    path_ = PresentPath::Renderer;
    return false;
  }
  path_ = PresentPath::WindowSurface;
  CloseRenderer();
  return true;
}

bool SdlDisplayHost::OpenRenderer(const PresentParameters& parameters) {
  if (path_ == PresentPath::WindowSurface) {
    return OpenWindowSurface(parameters);
  }
  const bool retrace = parameters.PresentationInterval != PresentInterval::Immediate;
  renderer_ = SDL_CreateRenderer(window_, -1, retrace ? SDL_RENDERER_PRESENTVSYNC : 0);
  if (renderer_ == nullptr && retrace) {
    renderer_ = SDL_CreateRenderer(window_, -1, 0);
  }
  if (renderer_ == nullptr) {
    return false;
  }
  if (SwitchToWindowSurface()) {
    return OpenWindowSurface(parameters);
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

SDL_Surface* SdlDisplayHost::LendableSurface() {
  // The surface goes when the window's size changes; SDL makes a new one.
  surface_ = SDL_GetWindowSurface(window_);
  if (surface_ == nullptr || static_cast<uint32_t>(surface_->w) != textureWidth_ ||
      static_cast<uint32_t>(surface_->h) != textureHeight_ ||
      surface_->format->format != SdlPixelsOfFormat(textureFormat_)) {
    return nullptr;
  }
  return surface_;
}

void SdlDisplayHost::LendTexture() {
  if (path_ == PresentPath::WindowSurface) {
    SDL_Surface* surface = LendableSurface();
    if (surface != nullptr) {
      lent_ = soft::HostMemory{static_cast<uint8_t*>(surface->pixels), surface->pitch};
    } else {
      LendSpare(textureWidth_, textureHeight_, textureFormat_);
    }
    return;
  }
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
  if ((texture_ == nullptr && surface_ == nullptr) || parameters.BackBufferWidth != textureWidth_ ||
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
  surface_ = nullptr;
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
  const bool onSurface = path_ == PresentPath::WindowSurface;
  if (loss_ != Loss::None || (onSurface ? surface_ == nullptr : texture_ == nullptr)) {
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
  if (onSurface && surfaceStale_) {
    // The window's size changed: asking for the surface now frees the old
    // one, which may be this very frame. The frame is dropped, and the
    // next is drawn in the new surface.
    surfaceStale_ = false;
    if (fromLent) {
      LendTexture();
    }
    return D3dResult::Ok;
  }
  if (onSurface) {
    result = CopyToSurface(backBuffer);
  } else if (!inTexture) {
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

D3dResult SdlDisplayHost::CopyToSurface(const soft::FrameView& backBuffer) {
  surface_ = SDL_GetWindowSurface(window_);
  if (surface_ == nullptr) {
    loss_ = Loss::Lost;
    return D3dResult::DeviceLost;
  }
  if (backBuffer.pixels == surface_->pixels) {
    return D3dResult::Ok;
  }
  // Memory of our own (the surface had another size or format): converted
  // into the surface, cut to the smaller of the two.
  ++copied_;
  const int width = std::min(static_cast<int>(backBuffer.width), surface_->w);
  const int height = std::min(static_cast<int>(backBuffer.height), surface_->h);
  if (SDL_ConvertPixels(width, height, SdlPixelsOfFormat(backBuffer.format), backBuffer.pixels,
                        backBuffer.pitch, surface_->format->format, surface_->pixels,
                        surface_->pitch) != 0) {
    loss_ = Loss::Lost;
    return D3dResult::DeviceLost;
  }
  return D3dResult::Ok;
}

D3dResult SdlDisplayHost::Show() {
  if (path_ == PresentPath::WindowSurface) {
    if (SDL_UpdateWindowSurface(window_) != 0) {
      loss_ = Loss::Lost;
      return D3dResult::DeviceLost;
    }
  } else if (SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) != 0) {
    loss_ = Loss::Lost;
    return D3dResult::DeviceLost;
  } else {
    SDL_RenderPresent(renderer_);
  }
  ++presented_;
  if (paced_) {
    pacer_.FramePresented();
  }
  return D3dResult::Ok;
}

void SdlDisplayHost::OnSdlEvent(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
      surface_ != nullptr) {
    surfaceStale_ = true;
  }
  if ((event.type == SDL_RENDER_DEVICE_RESET || event.type == SDL_RENDER_TARGETS_RESET) &&
      renderer_ != nullptr && loss_ == Loss::None) {
    loss_ = Loss::Lost;
  }
}

}  // namespace drawing::platform::sdl
