// A raster context over plain memory, for tests of the pixel rules, lines and
// boxes without any GDI in between.
#pragma once

#include <cstdint>
#include <cstring>
#include <set>
#include <utility>
#include <vector>

#include "draw/raster_backend.h"

namespace drawing::draw::testing {

class RasterTarget {
 public:
  RasterTarget(int32_t width, int32_t height, int32_t bytesPerPixel, uint32_t fill = 0)
      : pitch_((width * bytesPerPixel + 3) / 4 * 4),
        memory_(static_cast<size_t>(pitch_) * static_cast<size_t>(height)),
        context_(platform::Rows::BottomUp(
            memory_.data(), pitch_, width, height,
            bytesPerPixel == 4 ? platform::PixelLayout::Bgrx32 : platform::PixelLayout::Bgr24)) {
    Fill(fill);
  }

  RasterBackend& context() { return context_; }
  std::vector<uint8_t>& memory() { return memory_; }
  int32_t pitch() const { return pitch_; }

  // Pixel bytes as 0xAARRGGBB (alpha 0 for 3-byte pixels).
  uint32_t Pixel(int32_t x, int32_t y) const {
    uint32_t value = 0;
    std::memcpy(&value, context_.PixelAddress(x, y), static_cast<size_t>(context_.BytesPerPixel()));
    return value;
  }
  void SetPixel(int32_t x, int32_t y, uint32_t value) {
    std::memcpy(context_.PixelAddress(x, y), &value, static_cast<size_t>(context_.BytesPerPixel()));
  }
  void Fill(uint32_t value) {
    for (int32_t y = 0; y < context_.height; ++y) {
      for (int32_t x = 0; x < context_.width; ++x) {
        SetPixel(x, y, value);
      }
    }
  }
  // Every pixel that differs from `background`, as (x, y).
  std::set<std::pair<int32_t, int32_t>> Changed(uint32_t background) const {
    std::set<std::pair<int32_t, int32_t>> changed;
    for (int32_t y = 0; y < context_.height; ++y) {
      for (int32_t x = 0; x < context_.width; ++x) {
        if (Pixel(x, y) != background) {
          changed.insert({x, y});
        }
      }
    }
    return changed;
  }

 private:
  int32_t pitch_;
  std::vector<uint8_t> memory_;
  RasterBackend context_;
};

}  // namespace drawing::draw::testing
