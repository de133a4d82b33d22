#include "platform/soft/soft_device_pixels.h"

namespace drawing::platform::soft {

namespace {

uint32_t Widen5(uint32_t value) {
  return (value << 3) | (value >> 2);
}
uint32_t Widen6(uint32_t value) {
  return (value << 2) | (value >> 4);
}

uint32_t Channel(uint32_t argb, int shift) {
  return (argb >> shift) & 0xFFu;
}

bool Is8888(Format format) {
  return format == Format::A8R8G8B8 || format == Format::X8R8G8B8;
}
bool Is1555(Format format) {
  return format == Format::A1R5G5B5 || format == Format::X1R5G5B5;
}

}  // namespace

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
    return 0xFF000000u | (Widen5((raw >> 11) & 0x1Fu) << 16) | (Widen6((raw >> 5) & 0x3Fu) << 8) |
           Widen5(raw & 0x1Fu);
  }
  if (Is1555(format)) {
    const uint32_t alpha = (raw & 0x8000u) != 0 ? 0xFF000000u : 0u;
    return alpha | (Widen5((raw >> 10) & 0x1Fu) << 16) | (Widen5((raw >> 5) & 0x1Fu) << 8) |
           Widen5(raw & 0x1Fu);
  }
  return 0;
}

uint32_t RawFromArgb(Format format, uint32_t argb) {
  if (Is8888(format)) {
    return argb;
  }
  const uint32_t red = Channel(argb, 16);
  const uint32_t green = Channel(argb, 8);
  const uint32_t blue = Channel(argb, 0);
  if (format == Format::R5G6B5) {
    return ((red >> 3) << 11) | ((green >> 2) << 5) | (blue >> 3);
  }
  if (Is1555(format)) {
    const uint32_t alpha = (argb & 0x80000000u) != 0 ? 0x8000u : 0u;
    return alpha | ((red >> 3) << 10) | ((green >> 3) << 5) | (blue >> 3);
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
