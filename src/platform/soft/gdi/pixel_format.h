// Pixel layouts the software GDI draws on, and the conversions between them.
//
// Colours inside the software GDI are 0xAARRGGBB values (the byte order of a
// 32-bit pixel in memory: blue, green, red, alpha). "Raw" values are a
// pixel's own bits in its layout.
#pragma once

#include <cstdint>

#include "platform/pixels.h"

namespace drawing::platform::soft {

// Every bit a pixel of this layout has.
uint32_t RawMask(PixelLayout layout);

// Rows the software GDI draws on, with the palette of the palette layouts.
// The GDI keeps a 32-bit pixel's top byte as it is, so it sees Bgra32 rows
// as Bgrx32 (GdiLayout).
struct PixelView : Rows {
  const uint32_t* palette = nullptr;  // 0x00RRGGBB entries for Mono1 (2) and Index8 (256)
};

// `rows` as the GDI draws on them.
PixelView GdiView(const Rows& rows, const uint32_t* palette = nullptr);

// COLORREF (red in the low byte) to 0x00RRGGBB.
inline uint32_t RgbFromColorRef(uint32_t color) {
  return ((color & 0xFFu) << 16) | (color & 0xFF00u) | ((color >> 16) & 0xFFu);
}

// The raw value closest to `color`; a Bgrx32 pixel takes all 32 bits of it.
uint32_t RawFromColor(const PixelView& view, uint32_t color);
// The colour of a raw value; only a Bgrx32 pixel has a top byte.
uint32_t ColorFromRaw(const PixelView& view, uint32_t raw);

uint32_t ReadRaw(const PixelView& view, int32_t x, int32_t y);
void WriteRaw(const PixelView& view, int32_t x, int32_t y, uint32_t raw);

// `count` pixels of row y starting at column x, as colours / from colours.
void ReadColors(const PixelView& view, int32_t x, int32_t y, int32_t count, uint32_t* out);
void WriteColors(const PixelView& view, int32_t x, int32_t y, int32_t count, const uint32_t* in);

// Sets `count` pixels of row y from column x to `raw`.
void FillRaw(const PixelView& view, int32_t x, int32_t y, int32_t count, uint32_t raw);

}  // namespace drawing::platform::soft
