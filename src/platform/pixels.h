// Pixels in memory: how one pixel is laid out, and rows of them.
//
// Every owner of pixel memory (a DIB section, a Direct3D surface, the
// raster back-end, a host's lent memory, the image writers) hands it on as
// `Rows`: the first byte of the top row, the bytes from one row to the one
// below it (negative for memory kept bottom row first), the size and the
// layout. Turning a picture upside down, or taking part of it, is a new
// view of the same memory, never a copy.
#pragma once

#include <cstddef>
#include <cstdint>

namespace drawing::platform {

enum class PixelLayout : uint8_t {
  Mono1,   // 1 bit, most significant bit first, two-entry palette
  Index8,  // palette index
  Rgb555,  // 16-bit little-endian x1r5g5b5 (the top bit is kept as it is)
  Rgb565,  // 16-bit little-endian r5g6b5
  Bgr24,   // bytes blue, green, red
  Bgrx32,  // bytes blue, green, red, unused (kept as it is)
  Bgra32,  // bytes blue, green, red, alpha
};

constexpr int32_t BitsPerPixel(PixelLayout layout) {
  switch (layout) {
    case PixelLayout::Mono1:
      return 1;
    case PixelLayout::Index8:
      return 8;
    case PixelLayout::Rgb555:
    case PixelLayout::Rgb565:
      return 16;
    case PixelLayout::Bgr24:
      return 24;
    case PixelLayout::Bgrx32:
    case PixelLayout::Bgra32:
      return 32;
  }
  return 0;
}

// Bytes of one pixel; 0 for layouts of less than a byte.
constexpr int32_t BytesPerPixel(PixelLayout layout) {
  return BitsPerPixel(layout) / 8;
}

// Rows of pixels, seen top row first whatever the order in memory. `Byte`
// is uint8_t for pixels that may be written, const uint8_t for pixels that
// are only read; writable rows convert to read-only ones.
template <typename Byte>
struct BasicRows {
  Byte* first = nullptr;  // first byte of row 0, the top row
  ptrdiff_t step = 0;     // bytes from row y to row y + 1 (negative when bottom-up)
  int32_t width = 0;
  int32_t height = 0;
  PixelLayout layout = PixelLayout::Bgrx32;

  // Memory whose rows are `pitch` bytes apart, the top row first.
  static BasicRows TopDown(Byte* memory, ptrdiff_t pitch, int32_t width, int32_t height,
                           PixelLayout layout) {
    return {memory, pitch, width, height, layout};
  }
  // Memory whose rows are `pitch` bytes apart, the bottom row first (a
  // bottom-up DIB).
  static BasicRows BottomUp(Byte* memory, ptrdiff_t pitch, int32_t width, int32_t height,
                            PixelLayout layout) {
    Byte* top = memory == nullptr || height <= 0
                    ? memory
                    : memory + static_cast<ptrdiff_t>(height - 1) * pitch;
    return {top, -pitch, width, height, layout};
  }

  operator BasicRows<const uint8_t>() const {  // NOLINT: writable rows are readable rows
    return {first, step, width, height, layout};
  }

  Byte* Row(int32_t y) const { return first + static_cast<ptrdiff_t>(y) * step; }
  Byte* Pixel(int32_t x, int32_t y) const {
    return Row(y) + static_cast<ptrdiff_t>(x) * BytesPerPixel(layout);
  }
  bool Contains(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < width && y < height; }
  bool Empty() const { return first == nullptr || width <= 0 || height <= 0; }
  // The first byte in memory of these rows (the bottom row's when bottom-up).
  Byte* Lowest() const { return step >= 0 || height <= 0 ? first : Row(height - 1); }

  // The same rows upside down: row 0 is the bottom row.
  BasicRows Flipped() const {
    return height <= 0 ? *this : BasicRows{Row(height - 1), -step, width, height, layout};
  }
  // Columns x..x+w-1 of rows y..y+h-1 (inside these rows; whole bytes per pixel).
  BasicRows Part(int32_t x, int32_t y, int32_t w, int32_t h) const {
    return {Pixel(x, y), step, w, h, layout};
  }
};

using Rows = BasicRows<uint8_t>;
using ConstRows = BasicRows<const uint8_t>;

}  // namespace drawing::platform
