// Shared helpers for the software GDI tests: DIB sections and surfaces whose
// bytes the tests read back.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/soft/gdi/soft_gdi.h"

namespace drawing::platform::soft::testing {

inline BitmapInfoHeader DibRequest(int32_t width, int32_t height, uint16_t bitCount) {
  BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bitCount = bitCount;
  return header;
}

inline uint32_t Load32(const uint8_t* p) {
  uint32_t value = 0;
  std::memcpy(&value, p, 4);
  return value;
}

inline uint16_t Load16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

// Top-down 32-bit (or 16-bit) memory with a pitch wider than a row.
struct Surface {
  Surface(int32_t w, int32_t h, Format f, uint8_t fill)
      : width(w), height(h), format(f), pitch(w * BytesPerPixel(f) + 8) {
    bytes.assign(static_cast<size_t>(pitch * h), fill);
  }
  static int32_t BytesPerPixel(Format f) {
    return f == Format::X8R8G8B8 || f == Format::A8R8G8B8 ? 4 : 2;
  }
  SoftGdi::SurfaceMemory Memory() {
    const PixelLayout layout = format == Format::R5G6B5     ? PixelLayout::Rgb565
                               : BytesPerPixel(format) == 2 ? PixelLayout::Rgb555
                                                            : PixelLayout::Bgrx32;
    return {Rows::TopDown(bytes.data(), pitch, width, height, layout)};
  }
  uint8_t* At(int32_t x, int32_t y) { return bytes.data() + y * pitch + x * BytesPerPixel(format); }
  uint32_t Pixel32(int32_t x, int32_t y) { return Load32(At(x, y)); }
  uint16_t Pixel16(int32_t x, int32_t y) { return Load16(At(x, y)); }

  int32_t width;
  int32_t height;
  Format format;
  int32_t pitch;
  std::vector<uint8_t> bytes;
};

// A DIB section selected into its own memory DC.
struct Dib {
  Dib(SoftGdi& gdi, int32_t w, int32_t h, uint16_t bits) : gdi_(gdi), width(w), height(h) {
    bitmap = gdi.CreateDIBSection(nullptr, DibRequest(w, h, bits), &memory);
    Bitmap info;
    EXPECT_TRUE(gdi.GetObjectBitmap(bitmap, &info));
    pitch = info.bmWidthBytes;
    bytesPerPixel = bits / 8;
    dc = gdi.CreateCompatibleDC(nullptr);
    previous = gdi.SelectObject(dc, bitmap);
  }
  ~Dib() {
    gdi_.SelectObject(dc, previous);
    gdi_.DeleteDC(dc);
    gdi_.DeleteObject(bitmap);
  }
  Dib(const Dib&) = delete;
  Dib& operator=(const Dib&) = delete;

  // Picture row y is memory row height - 1 - y.
  uint8_t* At(int32_t x, int32_t y) {
    return static_cast<uint8_t*>(memory) + (height - 1 - y) * pitch + x * bytesPerPixel;
  }
  uint32_t Pixel32(int32_t x, int32_t y) { return Load32(At(x, y)); }
  uint32_t Pixel24(int32_t x, int32_t y) {
    const uint8_t* p = At(x, y);
    return p[0] | (p[1] << 8) | (p[2] << 16);
  }

  SoftGdi& gdi_;
  int32_t width;
  int32_t height;
  int32_t pitch = 0;
  int32_t bytesPerPixel = 0;
  void* memory = nullptr;
  Hbitmap bitmap = nullptr;
  Hdc dc = nullptr;
  Hgdiobj previous = nullptr;
};

}  // namespace drawing::platform::soft::testing
