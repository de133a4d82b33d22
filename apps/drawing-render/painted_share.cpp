#include "painted_share.h"

#include <algorithm>

namespace drawing::render {

double PaintedShare(const platform::Bitmap& canvas) {
  const int32_t bytesPerPixel = canvas.bmBitsPixel / 8;
  if ((bytesPerPixel != 3 && bytesPerPixel != 4) || canvas.bmBits == nullptr ||
      canvas.bmWidth <= 0 || canvas.bmHeight <= 0) {
    return 0.0;
  }
  uint64_t painted = 0;
  const auto* base = static_cast<const uint8_t*>(canvas.bmBits);
  for (int32_t y = 0; y < canvas.bmHeight; ++y) {
    const uint8_t* pixel = base + static_cast<int64_t>(y) * canvas.bmWidthBytes;
    for (int32_t x = 0; x < canvas.bmWidth; ++x, pixel += bytesPerPixel) {
      painted += std::max({pixel[0], pixel[1], pixel[2]}) >= kPaintedLevel ? 1 : 0;
    }
  }
  return static_cast<double>(painted) /
         (static_cast<double>(canvas.bmWidth) * static_cast<double>(canvas.bmHeight));
}

}  // namespace drawing::render
