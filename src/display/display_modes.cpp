// The adapter's display modes at the two depths the screen can be opened in.
#include "display/display.h"

namespace drawing::display {

using platform::Format;

int FormatBitsPerPixel(Format format) {
  switch (format) {
    case Format::X8R8G8B8:
      return 32;
    case Format::R5G6B5:
    case Format::X1R5G5B5:
      return 16;
    default:
      return 0;
  }
}

int Display::EnumerateDisplayModes() {
  DisplayModeList& modes = state_.modes;
  modes.cursor = 0;
  if (modes.records != nullptr) {
    heap_.Free(modes.records);
    modes.records = nullptr;
  }
  modes.count = 0;
  platform::Direct3D* direct3D = state_.direct3D;
  if (direct3D == nullptr) {
    return 1;
  }

  uint32_t c15 = direct3D->GetAdapterModeCount(0, Format::X1R5G5B5);
  uint32_t c16 = direct3D->GetAdapterModeCount(0, Format::R5G6B5);
  uint32_t c32 = direct3D->GetAdapterModeCount(0, Format::X8R8G8B8);
  // Only one 16-bit layout is listed: X1R5G5B5 whenever the adapter has it.
  Format family = c15 > 0 ? Format::X1R5G5B5 : Format::R5G6B5;
  uint32_t c = c15 > 0 ? c15 : c16;
  uint32_t count = c + c32;
  if (count == 0) {
    return 1;
  }
  auto* records =
      static_cast<ScreenModeInfo*>(heap_.Allocate(sizeof(ScreenModeInfo) * count, false));
  if (records == nullptr) {
    return 1;  // an empty list
  }

  for (uint32_t i = 0; i < count; ++i) {
    Format format = i < c ? family : Format::X8R8G8B8;
    uint32_t index = i < c ? i : i - c;
    platform::DisplayMode mode{};
    // A mode the adapter counted but cannot describe is listed as all zeros.
    if (platform::Failed(direct3D->EnumAdapterModes(0, format, index, &mode))) {
      mode = platform::DisplayMode{};
    }
    records[i].width = static_cast<int16_t>(mode.Width);
    records[i].height = static_cast<int16_t>(mode.Height);
    records[i].depth = static_cast<int16_t>(FormatBitsPerPixel(mode.format));
    records[i].refresh = static_cast<int16_t>(mode.RefreshRate);
  }
  modes.records = records;
  modes.count = static_cast<int32_t>(count);
  return 1;
}

int Display::NextDisplayMode() {
  DisplayModeList& modes = state_.modes;
  if (modes.cursor < modes.count) {
    ++modes.cursor;
    return 1;
  }
  if (modes.records != nullptr) {
    heap_.Free(modes.records);
    modes.records = nullptr;
  }
  return 0;
}

int Display::ModeField(int16_t ScreenModeInfo::*field) const {
  const DisplayModeList& modes = state_.modes;
  if (modes.cursor == 0 || modes.records == nullptr) {
    return 0;
  }
  return modes.records[modes.cursor - 1].*field;
}

int Display::DisplayModeWidth() const {
  return ModeField(&ScreenModeInfo::width);
}
int Display::DisplayModeHeight() const {
  return ModeField(&ScreenModeInfo::height);
}
int Display::DisplayModeDepth() const {
  return ModeField(&ScreenModeInfo::depth);
}
int Display::DisplayModeRefreshRate() const {
  return ModeField(&ScreenModeInfo::refresh);
}

}  // namespace drawing::display
