// Pixel formats of the software Direct3D device and the conversions between
// them. Colours in between are 0xAARRGGBB; the X bits of X8R8G8B8 and
// X1R5G5B5 are kept like alpha bits, so a pixel reads back as it was written.
#pragma once

#include <cstdint>

#include "platform/direct3d.h"
#include "platform/pixels.h"

namespace drawing::platform::soft {

// 4 for A8R8G8B8 and X8R8G8B8, 2 for the 16-bit formats, 0 for any other.
uint32_t DeviceBytesPerPixel(Format format);
// The layout of a format's pixels in memory (Bgrx32 for formats without one).
PixelLayout DeviceLayout(Format format);

// A pixel's own bits (little-endian in memory) to 0xAARRGGBB and back. The
// 5- and 6-bit channels widen by repeating their top bits and narrow by
// truncation; R5G6B5 reads as opaque.
uint32_t ArgbFromRaw(Format format, uint32_t raw);
uint32_t RawFromArgb(Format format, uint32_t argb);

uint32_t ReadRawPixel(const uint8_t* pixel, uint32_t bytesPerPixel);
void WriteRawPixel(uint8_t* pixel, uint32_t bytesPerPixel, uint32_t raw);

// Formats whose pixels carry the same bits: equal formats, A8R8G8B8 and
// X8R8G8B8, A1R5G5B5 and X1R5G5B5.
bool SameLayout(Format a, Format b);

// The raw value of `from`'s pixel in format `to`; formats of the same
// layout copy the bits.
uint32_t ConvertRaw(Format from, Format to, uint32_t raw);

}  // namespace drawing::platform::soft
