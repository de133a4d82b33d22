// Copies between pixel views: clipped to both views, converting formats.
#pragma once

#include <cstdint>

#include "platform/soft/gdi/pixel_format.h"

namespace drawing::platform::soft {

enum class BlitOp : uint8_t {
  Copy,         // destination = source
  NotSrcErase,  // destination = NOT (source OR destination), on the destination's bits
};

// Copies the width x height area at (sourceX, sourceY) of `source` to (x, y)
// of `destination`; the parts outside either view are left out. Same layouts
// copy their bytes unchanged (a 32-bit pixel's top byte included); otherwise
// pixels go through their colour, and a 32-bit destination gets a zero top
// byte from a source without one.
void BlitViews(const PixelView& destination, int32_t x, int32_t y, int32_t width, int32_t height,
               const PixelView& source, int32_t sourceX, int32_t sourceY, BlitOp op);

// Whether BlitViews with these arguments writes every pixel of `destination`.
bool BlitCoversDestination(const PixelView& destination, int32_t x, int32_t y, int32_t width,
                           int32_t height, const PixelView& source, int32_t sourceX,
                           int32_t sourceY);

// Nearest-neighbour scaling of the source area onto the destination area
// (each destination pixel takes the source pixel under its centre). Sizes
// must be positive.
void StretchViews(const PixelView& destination, int32_t x, int32_t y, int32_t width, int32_t height,
                  const PixelView& source, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                  int32_t sourceHeight, BlitOp op);

}  // namespace drawing::platform::soft
