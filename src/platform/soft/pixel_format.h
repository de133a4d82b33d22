// Pixel layouts the software GDI draws on, and the conversions between them.
//
// Colours inside the software GDI are 0xAARRGGBB values (the byte order of a
// 32-bit pixel in memory: blue, green, red, alpha). "Raw" values are a
// pixel's own bits in its layout.
#pragma once

#include <cstddef>
#include <cstdint>

namespace drawing::platform::soft {

enum class PixelFormat : uint8_t {
  Mono1,   // 1 bit, most significant bit first, two-entry palette
  Index8,  // palette index
  Rgb555,  // 16-bit little-endian x1r5g5b5 (the top bit is kept as it is)
  Rgb565,  // 16-bit little-endian r5g6b5
  Bgr24,   // bytes blue, green, red
  Bgrx32,  // bytes blue, green, red, alpha/unused
};

int32_t BitsPerPixel(PixelFormat format);
// Every bit a pixel of this layout has.
uint32_t RawMask(PixelFormat format);

// Rows of pixels in memory, seen top row first whatever the memory order.
struct PixelView {
  uint8_t* top = nullptr;  // first byte of row 0, the top row
  ptrdiff_t step = 0;      // bytes from row y to row y + 1 (negative when bottom-up)
  int32_t width = 0;
  int32_t height = 0;
  PixelFormat format = PixelFormat::Bgrx32;
  const uint32_t* palette = nullptr;  // 0x00RRGGBB entries for Mono1 (2) and Index8 (256)

  uint8_t* Row(int32_t y) const { return top + static_cast<ptrdiff_t>(y) * step; }
  bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
};

// A view of memory whose first row in memory is the bottom row (bottomUp) or
// the top row.
PixelView MakeView(uint8_t* memory, int32_t pitch, int32_t width, int32_t height,
                   PixelFormat format, bool bottomUp, const uint32_t* palette = nullptr);

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
