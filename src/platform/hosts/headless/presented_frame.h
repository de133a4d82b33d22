// One frame as the headless screen received it: a copy of the back buffer
// at the moment of Present.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/direct3d.h"
#include "platform/pixels.h"

namespace drawing::platform::headless {

struct PresentedFrame {
  uint32_t sequence = 0;  // 1 for the first frame presented by this host
  int32_t frame = 0;      // the host's frame number (BeginFrame) at the time
  uint32_t tick = 0;      // the fake clock when Present was called
  uint32_t width = 0;
  uint32_t height = 0;
  PixelLayout layout = PixelLayout::Bgrx32;
  uint32_t bytesPerPixel = 0;
  // Top row first, width * bytesPerPixel bytes per row, no padding.
  std::vector<uint8_t> pixels;

  ConstRows View() const {
    return ConstRows::TopDown(pixels.data(), static_cast<ptrdiff_t>(width) * bytesPerPixel,
                              static_cast<int32_t>(width), static_cast<int32_t>(height), layout);
  }

  // The raw pixel at (x, y): 0xXXRRGGBB for X8R8G8B8, the 16-bit word for
  // the 16-bit formats.
  uint32_t Pixel(uint32_t x, uint32_t y) const {
    const uint8_t* at = pixels.data() + (static_cast<size_t>(y) * width + x) * bytesPerPixel;
    uint32_t raw = 0;
    for (uint32_t k = 0; k < bytesPerPixel; ++k) {
      raw |= static_cast<uint32_t>(at[k]) << (8 * k);
    }
    return raw;
  }
};

}  // namespace drawing::platform::headless
