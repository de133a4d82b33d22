// How much of the canvas the strokes have painted, for --painted: the share
// of pixels whose brightest channel reaches kPaintedLevel (the canvas starts
// black, and a pixel darker than that still looks black).
#pragma once

#include <cstdint>

#include "platform/gdi.h"

namespace drawing::render {

inline constexpr uint8_t kPaintedLevel = 8;

// 0..1 for a 24- or 32-bit bitmap; 0 for any other.
double PaintedShare(const platform::Bitmap& canvas);

}  // namespace drawing::render
