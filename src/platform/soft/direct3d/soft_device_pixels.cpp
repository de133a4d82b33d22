#include "platform/soft/direct3d/soft_device_pixels.h"

#include "platform/soft/gdi/rgb16.h"

namespace drawing::platform::soft {

namespace {

bool Is8888(Format format) {
  return format == Format::A8R8G8B8 || format == Format::X8R8G8B8;
}
bool Is1555(Format format) {
  return format == Format::A1R5G5B5 || format == Format::X1R5G5B5;
}

}  // namespace

PixelLayout DeviceLayout(Format format) {
  switch (format) {
    case Format::A8R8G8B8:
      return PixelLayout::Bgra32;
    case Format::R8G8B8:
      return PixelLayout::Bgr24;
    case Format::R5G6B5:
      return PixelLayout::Rgb565;
    case Format::X1R5G5B5:
    case Format::A1R5G5B5:
      return PixelLayout::Rgb555;
    default:
      return PixelLayout::Bgrx32;
  }
}

uint32_t DeviceBytesPerPixel(Format format) {
  switch (format) {
    case Format::A8R8G8B8:
    case Format::X8R8G8B8:
      return 4;
    case Format::R5G6B5:
    case Format::X1R5G5B5:
    case Format::A1R5G5B5:
      return 2;
    default:
      return 0;
  }
}

uint32_t ArgbFromRaw(Format format, uint32_t raw) {
  if (Is8888(format)) {
    return raw;
  }
  if (format == Format::R5G6B5) {
    return 0xFF000000u | RgbFrom565(raw);
  }
  if (Is1555(format)) {
    const uint32_t alpha = (raw & 0x8000u) != 0 ? 0xFF000000u : 0u;
    return alpha | RgbFrom555(raw);
  }
  return 0;
}

uint32_t RawFromArgb(Format format, uint32_t argb) {
  if (Is8888(format)) {
    return argb;
  }
  if (format == Format::R5G6B5) {
    return Rgb565From(argb);
  }
  if (Is1555(format)) {
    const uint32_t alpha = (argb & 0x80000000u) != 0 ? 0x8000u : 0u;
    return alpha | Rgb555From(argb);
  }
  return 0;
}

uint32_t ReadRawPixel(const uint8_t* pixel, uint32_t bytesPerPixel) {
  uint32_t raw = 0;
  for (uint32_t k = 0; k < bytesPerPixel; ++k) {
    raw |= static_cast<uint32_t>(pixel[k]) << (8 * k);
  }
  return raw;
}

void WriteRawPixel(uint8_t* pixel, uint32_t bytesPerPixel, uint32_t raw) {
  for (uint32_t k = 0; k < bytesPerPixel; ++k) {
    pixel[k] = static_cast<uint8_t>(raw >> (8 * k));
  }
}

bool SameLayout(Format a, Format b) {
  return a == b || (Is8888(a) && Is8888(b)) || (Is1555(a) && Is1555(b));
}

uint32_t ConvertRaw(Format from, Format to, uint32_t raw) {
  if (SameLayout(from, to)) {
    return raw;
  }
  return RawFromArgb(to, ArgbFromRaw(from, raw));
}

}  // namespace drawing::platform::soft
