#include "platform/soft/pixel_format.h"

#include <cstring>

#include "platform/soft/rgb16.h"

namespace drawing::platform::soft {
namespace {

uint32_t Channel(uint32_t color, int shift) {
  return (color >> shift) & 0xFFu;
}

// Index of the palette entry nearest to `color`; the lowest index wins a tie.
uint32_t NearestEntry(const uint32_t* palette, uint32_t entries, uint32_t color) {
  if (palette == nullptr) {
    return 0;
  }
  uint32_t best = 0;
  uint32_t bestDistance = UINT32_MAX;
  for (uint32_t i = 0; i < entries; ++i) {
    uint32_t distance = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
      const int32_t d = static_cast<int32_t>(Channel(palette[i], shift)) -
                        static_cast<int32_t>(Channel(color, shift));
      distance += static_cast<uint32_t>(d * d);
    }
    if (distance < bestDistance) {
      best = i;
      bestDistance = distance;
    }
  }
  return best;
}

uint16_t Load16(const uint8_t* p) {
  return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
void Store16(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
}
uint32_t Load32(const uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Store32(uint8_t* p, uint32_t value) {
  p[0] = static_cast<uint8_t>(value);
  p[1] = static_cast<uint8_t>(value >> 8);
  p[2] = static_cast<uint8_t>(value >> 16);
  p[3] = static_cast<uint8_t>(value >> 24);
}

}  // namespace

int32_t BitsPerPixel(PixelFormat format) {
  switch (format) {
    case PixelFormat::Mono1:
      return 1;
    case PixelFormat::Index8:
      return 8;
    case PixelFormat::Rgb555:
    case PixelFormat::Rgb565:
      return 16;
    case PixelFormat::Bgr24:
      return 24;
    case PixelFormat::Bgrx32:
      return 32;
  }
  return 0;
}

uint32_t RawMask(PixelFormat format) {
  const int32_t bits = BitsPerPixel(format);
  return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
}

PixelView MakeView(uint8_t* memory, int32_t pitch, int32_t width, int32_t height,
                   PixelFormat format, bool bottomUp, const uint32_t* palette) {
  PixelView view;
  view.width = width;
  view.height = height;
  view.format = format;
  view.palette = palette;
  if (bottomUp) {
    view.top = memory + static_cast<ptrdiff_t>(height > 0 ? height - 1 : 0) * pitch;
    view.step = -static_cast<ptrdiff_t>(pitch);
  } else {
    view.top = memory;
    view.step = pitch;
  }
  return view;
}

uint32_t RawFromColor(const PixelView& view, uint32_t color) {
  switch (view.format) {
    case PixelFormat::Mono1:
      return NearestEntry(view.palette, 2, color);
    case PixelFormat::Index8:
      return NearestEntry(view.palette, 256, color);
    case PixelFormat::Rgb555:
      return Rgb555From(color);
    case PixelFormat::Rgb565:
      return Rgb565From(color);
    case PixelFormat::Bgr24:
      return color & 0xFFFFFFu;
    case PixelFormat::Bgrx32:
      return color;
  }
  return 0;
}

uint32_t ColorFromRaw(const PixelView& view, uint32_t raw) {
  switch (view.format) {
    case PixelFormat::Mono1:
      return view.palette != nullptr ? view.palette[raw & 1u] & 0xFFFFFFu
                                     : ((raw & 1u) != 0 ? 0xFFFFFFu : 0u);
    case PixelFormat::Index8:
      return view.palette != nullptr ? view.palette[raw & 0xFFu] & 0xFFFFFFu : 0u;
    case PixelFormat::Rgb555:
      return RgbFrom555(raw);
    case PixelFormat::Rgb565:
      return RgbFrom565(raw);
    case PixelFormat::Bgr24:
      return raw & 0xFFFFFFu;
    case PixelFormat::Bgrx32:
      return raw;
  }
  return 0;
}

uint32_t ReadRaw(const PixelView& view, int32_t x, int32_t y) {
  const uint8_t* row = view.Row(y);
  switch (view.format) {
    case PixelFormat::Mono1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case PixelFormat::Index8:
      return row[x];
    case PixelFormat::Rgb555:
    case PixelFormat::Rgb565:
      return Load16(row + 2 * x);
    case PixelFormat::Bgr24: {
      const uint8_t* p = row + 3 * x;
      return p[0] | (p[1] << 8) | (p[2] << 16);
    }
    case PixelFormat::Bgrx32:
      return Load32(row + 4 * x);
  }
  return 0;
}

void WriteRaw(const PixelView& view, int32_t x, int32_t y, uint32_t raw) {
  uint8_t* row = view.Row(y);
  switch (view.format) {
    case PixelFormat::Mono1: {
      const auto bit = static_cast<uint8_t>(0x80u >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((raw & 1u) != 0 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
      return;
    }
    case PixelFormat::Index8:
      row[x] = static_cast<uint8_t>(raw);
      return;
    case PixelFormat::Rgb555:
    case PixelFormat::Rgb565:
      Store16(row + 2 * x, raw);
      return;
    case PixelFormat::Bgr24: {
      uint8_t* p = row + 3 * x;
      p[0] = static_cast<uint8_t>(raw);
      p[1] = static_cast<uint8_t>(raw >> 8);
      p[2] = static_cast<uint8_t>(raw >> 16);
      return;
    }
    case PixelFormat::Bgrx32:
      Store32(row + 4 * x, raw);
      return;
  }
}

void ReadColors(const PixelView& view, int32_t x, int32_t y, int32_t count, uint32_t* out) {
  const uint8_t* row = view.Row(y);
  switch (view.format) {
    case PixelFormat::Bgrx32:
      std::memcpy(out, row + 4 * x, static_cast<size_t>(count) * 4);
      return;
    case PixelFormat::Bgr24:
      for (int32_t i = 0; i < count; ++i) {
        const uint8_t* p = row + 3 * (x + i);
        out[i] = p[0] | (p[1] << 8) | (p[2] << 16);
      }
      return;
    default:
      for (int32_t i = 0; i < count; ++i) {
        out[i] = ColorFromRaw(view, ReadRaw(view, x + i, y));
      }
      return;
  }
}

void WriteColors(const PixelView& view, int32_t x, int32_t y, int32_t count, const uint32_t* in) {
  uint8_t* row = view.Row(y);
  switch (view.format) {
    case PixelFormat::Bgrx32:
      std::memcpy(row + 4 * x, in, static_cast<size_t>(count) * 4);
      return;
    case PixelFormat::Bgr24:
      for (int32_t i = 0; i < count; ++i) {
        uint8_t* p = row + 3 * (x + i);
        p[0] = static_cast<uint8_t>(in[i]);
        p[1] = static_cast<uint8_t>(in[i] >> 8);
        p[2] = static_cast<uint8_t>(in[i] >> 16);
      }
      return;
    default:
      for (int32_t i = 0; i < count; ++i) {
        WriteRaw(view, x + i, y, RawFromColor(view, in[i]));
      }
      return;
  }
}

void FillRaw(const PixelView& view, int32_t x, int32_t y, int32_t count, uint32_t raw) {
  if (count <= 0) {
    return;
  }
  uint8_t* row = view.Row(y);
  switch (view.format) {
    case PixelFormat::Index8:
      std::memset(row + x, static_cast<int>(raw & 0xFFu), static_cast<size_t>(count));
      return;
    case PixelFormat::Bgrx32: {
      uint8_t* p = row + 4 * x;
      for (int32_t i = 0; i < count; ++i, p += 4) {
        Store32(p, raw);
      }
      return;
    }
    default:
      for (int32_t i = 0; i < count; ++i) {
        WriteRaw(view, x + i, y, raw);
      }
      return;
  }
}

}  // namespace drawing::platform::soft
