#include "platform/hosts/headless/headless_display.h"

#include <algorithm>
#include <cstring>

#include "platform/soft/direct3d/soft_device_pixels.h"

namespace drawing::platform::headless {

namespace {

FaultyCall CallOf(soft::DeviceOperation operation) {
  switch (operation) {
    case soft::DeviceOperation::CreateTexture:
      return FaultyCall::CreateTexture;
    case soft::DeviceOperation::CreateRenderTarget:
      return FaultyCall::CreateRenderTarget;
    case soft::DeviceOperation::CreateOffscreenPlainSurface:
      return FaultyCall::CreateOffscreenPlainSurface;
    case soft::DeviceOperation::GetBackBuffer:
      return FaultyCall::GetBackBuffer;
    case soft::DeviceOperation::GetDC:
      break;
  }
  return FaultyCall::GetDC;
}

// Copies the back buffer's pixels into `copy`, reusing the memory it has.
void CopyFrame(const ConstRows& view, PresentedFrame& copy) {
  const size_t rowBytes = static_cast<size_t>(view.width) * copy.bytesPerPixel;
  copy.pixels.resize(rowBytes * static_cast<size_t>(view.height));
  for (int32_t y = 0; y < view.height; ++y) {
    std::memcpy(copy.pixels.data() + static_cast<size_t>(y) * rowBytes, view.Row(y), rowBytes);
  }
}

// Copies the parts `rects` of the back buffer into `copy`, which holds the
// frame before it.
void CopyRects(const ConstRows& view, const std::vector<Rect>& rects, PresentedFrame& copy) {
  const Rows screen =
      Rows::TopDown(copy.pixels.data(), static_cast<ptrdiff_t>(view.width) * copy.bytesPerPixel,
                    view.width, view.height, view.layout);
  for (const Rect& part : rects) {
    const size_t bytes = static_cast<size_t>(part.right - part.left) * copy.bytesPerPixel;
    for (int32_t y = part.top; y < part.bottom; ++y) {
      std::memcpy(screen.Pixel(part.left, y), view.Pixel(part.left, y), bytes);
    }
  }
}

}  // namespace

std::vector<DisplayMode> DisplayConfig::DefaultModes() {
  std::vector<DisplayMode> modes;
  for (Format format : {Format::R5G6B5, Format::X8R8G8B8}) {
    modes.push_back(DisplayMode{320, 240, 60, format});
    modes.push_back(DisplayMode{640, 480, 60, format});
  }
  return modes;
}

HeadlessDisplay::HeadlessDisplay(DisplayConfig config, HeadlessSystem& clock,
                                 DeviceFaultScript& faults)
    : config_(std::move(config)), clock_(clock), faults_(faults) {}

uint32_t HeadlessDisplay::ModeCount(Format format) {
  return static_cast<uint32_t>(
      std::count_if(config_.modes.begin(), config_.modes.end(),
                    [format](const DisplayMode& mode) { return mode.format == format; }));
}

bool HeadlessDisplay::Mode(Format format, uint32_t index, DisplayMode* mode) {
  uint32_t seen = 0;
  for (const DisplayMode& candidate : config_.modes) {
    if (candidate.format != format) {
      continue;
    }
    if (seen == index) {
      *mode = candidate;
      return true;
    }
    ++seen;
  }
  return false;
}

bool HeadlessDisplay::IsUsableFormat(Format format) {
  return std::find(config_.usableFormats.begin(), config_.usableFormats.end(), format) !=
         config_.usableFormats.end();
}

D3dResult HeadlessDisplay::CreateDevice(const PresentParameters& parameters) {
  if (faults_.LossState(clock_.Now()) == D3dResult::DeviceLost) {
    return D3dResult::DeviceLost;
  }
  const D3dResult scripted = faults_.Take(FaultyCall::CreateDevice);
  if (Failed(scripted)) {
    return scripted;
  }
  ++openDevices_;
  screen_ = parameters;
  return D3dResult::Ok;
}

D3dResult HeadlessDisplay::TestCooperativeLevel() {
  D3dResult code = D3dResult::Ok;
  if (faults_.TakeCooperativeCode(&code)) {
    return code;
  }
  return faults_.LossState(clock_.Now());
}

D3dResult HeadlessDisplay::Reset(const PresentParameters& parameters) {
  if (faults_.LossState(clock_.Now()) == D3dResult::DeviceLost) {
    return D3dResult::DeviceLost;
  }
  const D3dResult scripted = faults_.Take(FaultyCall::Reset);
  if (Failed(scripted)) {
    faults_.RequireReset();
    return scripted;
  }
  faults_.EndLoss();
  screen_ = parameters;
  return D3dResult::Ok;
}

D3dResult HeadlessDisplay::Present(const ConstRows& backBuffer, const soft::Damage& changed) {
  if (faults_.LossState(clock_.Now()) != D3dResult::Ok) {
    return D3dResult::DeviceLost;
  }
  const D3dResult scripted = faults_.Take(FaultyCall::Present);
  if (Failed(scripted)) {
    return scripted;
  }
  const bool inPlace = !lent_.empty() && backBuffer.first == lent_.data();
  PresentedFrame frame = NextFrame();
  // A screen of one frame that is not the back buffer itself takes only
  // what changed, as a real screen does.
  const bool update =
      !inPlace && config_.keptFrames == 1 && frame.sequence == presented_ && frame.sequence > 0 &&
      frame.width == static_cast<uint32_t>(backBuffer.width) &&
      frame.height == static_cast<uint32_t>(backBuffer.height) && frame.layout == backBuffer.layout;
  frame.width = static_cast<uint32_t>(backBuffer.width);
  frame.height = static_cast<uint32_t>(backBuffer.height);
  frame.layout = backBuffer.layout;
  frame.bytesPerPixel = static_cast<uint32_t>(BytesPerPixel(backBuffer.layout));
  const bool copied = !inPlace && config_.keptFrames > 0;
  if (update) {
    std::vector<Rect> rects = changed.Rects();
    if (config_.screenRects) {
      config_.screenRects(rects);
    }
    CopyRects(backBuffer, rects, frame);
  } else if (copied) {
    CopyFrame(backBuffer, frame);
  }
  frame.sequence = ++presented_;
  frame.frame = frame_;
  frame.tick = clock_.Now();
  frames_.push_back(std::move(frame));
  screenInLent_ = inPlace;
  if (config_.presented) {
    config_.presented(copied ? frames_.back().View() : backBuffer);
  }
  clock_.Advance(config_.presentMilliseconds);
  return D3dResult::Ok;
}

PresentedFrame HeadlessDisplay::NextFrame() {
  const size_t kept = std::max<size_t>(config_.keptFrames, 1);
  // A frame still in the lent memory is copied out only if it stays.
  if (kept == 1) {
    screenInLent_ = false;
  }
  TakeOutScreen();
  // The oldest frame, about to be dropped, lends its memory to the new one:
  // a frame of fresh memory costs more than the copy itself.
  PresentedFrame frame;
  if (frames_.size() >= kept) {
    frame = std::move(frames_.front());
    frames_.pop_front();
  }
  while (frames_.size() >= kept) {
    frames_.pop_front();
  }
  return frame;
}

soft::BackBufferLease* HeadlessDisplay::LendBackBuffer(const PresentParameters& parameters) {
  const uint32_t bytesPerPixel = soft::DeviceBytesPerPixel(parameters.BackBufferFormat);
  if (!config_.lendBackBuffer || bytesPerPixel == 0) {
    return nullptr;
  }
  TakeOutScreen();
  // The old back buffer may still point here until the device has its new one.
  retired_ = std::move(lent_);
  const size_t pitch = static_cast<size_t>(parameters.BackBufferWidth) * bytesPerPixel;
  lent_.assign(pitch * parameters.BackBufferHeight, 0);
  lentRows_ = Rows::TopDown(lent_.data(), static_cast<ptrdiff_t>(pitch),
                            static_cast<int32_t>(parameters.BackBufferWidth),
                            static_cast<int32_t>(parameters.BackBufferHeight),
                            soft::DeviceLayout(parameters.BackBufferFormat));
  return this;
}

Rows HeadlessDisplay::Pixels() {
  lentRows_.first = lent_.data();
  return lentRows_;
}

Rows HeadlessDisplay::Changing(bool replacesAll) {
  if (!screenInLent_) {
    return Pixels();
  }
  if (config_.keptFrames == 0) {
    screenInLent_ = false;  // the screen is not kept beyond its memory
    return Pixels();
  }
  if (!replacesAll) {
    TakeOutScreen();
    return Pixels();
  }
  // The frame keeps the memory it was presented in; the device goes on in
  // the frame's old memory, whose content is about to be replaced anyway.
  screenInLent_ = false;
  std::vector<uint8_t>& screen = frames_.back().pixels;
  const size_t size = lent_.size();
  std::swap(screen, lent_);
  lent_.resize(size);
  return Pixels();
}

void HeadlessDisplay::TakeOutScreen() const {
  if (screenInLent_) {
    screenInLent_ = false;
    frames_.back().pixels.assign(lent_.begin(), lent_.end());
  }
}

const std::deque<PresentedFrame>& HeadlessDisplay::Frames() const {
  TakeOutScreen();
  return frames_;
}

const PresentedFrame* HeadlessDisplay::LastFrame() const {
  TakeOutScreen();
  return frames_.empty() ? nullptr : &frames_.back();
}

ConstRows HeadlessDisplay::ScreenView() const {
  if (frames_.empty()) {
    return {};
  }
  const PresentedFrame& screen = frames_.back();
  if (!screenInLent_ && screen.pixels.empty()) {
    return {};
  }
  ConstRows view = screen.View();
  if (screenInLent_) {
    view.first = lent_.data();
  }
  return view;
}

void HeadlessDisplay::ClearFrames() {
  screenInLent_ = false;
  frames_.clear();
}

D3dResult HeadlessDisplay::Allow(soft::DeviceOperation operation) {
  return faults_.Take(CallOf(operation));
}

}  // namespace drawing::platform::headless
