#include "platform/hosts/sdl/sdl_display_host.h"

#include <algorithm>

#include "platform/hosts/sdl/sdl_modes.h"
#include "platform/soft/direct3d/soft_device_pixels.h"

namespace drawing::platform::sdl {

namespace {

constexpr int kDisplay = 0;

}  // namespace

SdlDisplayHost::SdlDisplayHost(SdlWindowing& windowing, soft::PaceClock& clock, PresentPath path)
    : windowing_(windowing), pacer_(clock), path_(path) {}

SdlDisplayHost::~SdlDisplayHost() {
  presenter_.reset();
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

bool SdlDisplayHost::OpenPresenter(const PresentParameters& parameters) {
  presenter_ = sdl::OpenPresenter(window_, parameters, path_);
  if (presenter_ == nullptr) {
    return false;
  }
  textureWidth_ = parameters.BackBufferWidth;
  textureHeight_ = parameters.BackBufferHeight;
  textureFormat_ = parameters.BackBufferFormat;
  // Even a renderer that claims to wait for the retrace may not (a virtual
  // X server has none), so the pacer watches every present.
  paced_ = parameters.PresentationInterval != PresentInterval::Immediate;
  pacer_.SetRefreshRate(RefreshRateFor(parameters, window_));
  return true;
}

void SdlDisplayHost::LendSpare(uint32_t width, uint32_t height, Format format) {
  const uint32_t rowBytes = width * soft::DeviceBytesPerPixel(format);
  lentByPresenter_ = false;
  spare_.assign(static_cast<size_t>(rowBytes) * height, 0);
  lent_ = Rows::TopDown(spare_.data(), rowBytes, static_cast<int32_t>(width),
                        static_cast<int32_t>(height), soft::DeviceLayout(format));
}

void SdlDisplayHost::LendNext() {
  const Rows rows = presenter_ != nullptr ? presenter_->Lend() : Rows{};
  lentByPresenter_ = rows.first != nullptr;
  if (rows.first != nullptr) {
    lent_ = rows;
  } else {
    LendSpare(textureWidth_, textureHeight_, textureFormat_);
  }
}

soft::BackBufferLease* SdlDisplayHost::LendBackBuffer(const PresentParameters& parameters) {
  if (presenter_ == nullptr || !presenter_->Ready() ||
      parameters.BackBufferWidth != textureWidth_ ||
      parameters.BackBufferHeight != textureHeight_ ||
      parameters.BackBufferFormat != textureFormat_) {
    return nullptr;
  }
  LendNext();
  return this;
}

const char* SdlDisplayHost::RendererName() const {
  SDL_RendererInfo info;
  if (Renderer() == nullptr || SDL_GetRendererInfo(Renderer(), &info) != 0) {
    return "";
  }
  return info.name;
}

D3dResult SdlDisplayHost::CreateDevice(const PresentParameters& parameters) {
  SDL_Window* window = windowing_.SdlWindow(parameters.hDeviceWindow);
  if (window == nullptr || Renderer() != nullptr) {
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
  if (!OpenPresenter(parameters)) {
    window_ = nullptr;
    return D3dResult::NotAvailable;
  }
  loss_ = Loss::None;
  return D3dResult::Ok;
}

void SdlDisplayHost::DeviceReleased() {
  presenter_.reset();
  lent_ = {};
  lentByPresenter_ = false;
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
  const bool deviceInLentMemory = lent_.first != nullptr;
  const uint32_t oldWidth = textureWidth_;
  const uint32_t oldHeight = textureHeight_;
  const Format oldFormat = textureFormat_;
  presenter_.reset();
  lent_ = {};
  lentByPresenter_ = false;
  if (!OpenPresenter(parameters)) {
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

D3dResult SdlDisplayHost::Present(const ConstRows& backBuffer, const soft::Damage& changed) {
  if (loss_ != Loss::None || presenter_ == nullptr || !presenter_->Ready()) {
    return D3dResult::DeviceLost;
  }
  if (static_cast<uint32_t>(backBuffer.width) != textureWidth_ ||
      static_cast<uint32_t>(backBuffer.height) != textureHeight_ ||
      backBuffer.layout != soft::DeviceLayout(textureFormat_)) {
    return D3dResult::InvalidCall;
  }
  const bool fromLent = lent_.first != nullptr && backBuffer.first == lent_.first;
  bool copied = false;
  const SdlPresenter::Shown shown = presenter_->Show(backBuffer, fromLent, changed, copied);
  copied_ += copied ? 1 : 0;
  D3dResult result = D3dResult::Ok;
  if (shown == SdlPresenter::Shown::Lost) {
    loss_ = Loss::Lost;
    result = D3dResult::DeviceLost;
  } else if (shown == SdlPresenter::Shown::Ok) {
    ++presented_;
    if (paced_) {
      pacer_.FramePresented();
    }
  }
  if (fromLent) {
    // The next frame is drawn in the presenter's memory again (or the spare
    // buffer).
    LendNext();
  }
  return result;
}

void SdlDisplayHost::OnSdlEvent(const SDL_Event& event) {
  if (event.type == SDL_WINDOWEVENT && event.window.event == SDL_WINDOWEVENT_SIZE_CHANGED &&
      presenter_ != nullptr) {
    presenter_->WindowResized();
  }
  if (event.type == SDL_WINDOWEVENT && presenter_ != nullptr &&
      (event.window.event == SDL_WINDOWEVENT_EXPOSED ||
       event.window.event == SDL_WINDOWEVENT_SHOWN ||
       event.window.event == SDL_WINDOWEVENT_RESTORED ||
       event.window.event == SDL_WINDOWEVENT_FOCUS_GAINED)) {
    presenter_->WindowExposed();
  }
  if ((event.type == SDL_RENDER_DEVICE_RESET || event.type == SDL_RENDER_TARGETS_RESET) &&
      Renderer() != nullptr && loss_ == Loss::None) {
    loss_ = Loss::Lost;
  }
}

}  // namespace drawing::platform::sdl
