#include "platform/soft/gdi/pixel_format.h"

#include <cstring>

#include "platform/soft/gdi/rgb16.h"

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

uint32_t RawMask(PixelLayout layout) {
  const int32_t bits = BitsPerPixel(layout);
  return bits >= 32 ? 0xFFFFFFFFu : (1u << bits) - 1u;
}

PixelView GdiView(const Rows& rows, const uint32_t* palette) {
  PixelView view{rows, palette};
  if (view.layout == PixelLayout::Bgra32) {
    view.layout = PixelLayout::Bgrx32;
  }
  return view;
}

uint32_t RawFromColor(const PixelView& view, uint32_t color) {
  switch (view.layout) {
    case PixelLayout::Mono1:
      return NearestEntry(view.palette, 2, color);
    case PixelLayout::Index8:
      return NearestEntry(view.palette, 256, color);
    case PixelLayout::Rgb555:
      return Rgb555From(color);
    case PixelLayout::Rgb565:
      return Rgb565From(color);
    case PixelLayout::Bgr24:
      return color & 0xFFFFFFu;
    case PixelLayout::Bgrx32:
    case PixelLayout::Bgra32:
      return color;
  }
  return 0;
}

uint32_t ColorFromRaw(const PixelView& view, uint32_t raw) {
  switch (view.layout) {
    case PixelLayout::Mono1:
      return view.palette != nullptr ? view.palette[raw & 1u] & 0xFFFFFFu
                                     : ((raw & 1u) != 0 ? 0xFFFFFFu : 0u);
    case PixelLayout::Index8:
      return view.palette != nullptr ? view.palette[raw & 0xFFu] & 0xFFFFFFu : 0u;
    case PixelLayout::Rgb555:
      return RgbFrom555(raw);
    case PixelLayout::Rgb565:
      return RgbFrom565(raw);
    case PixelLayout::Bgr24:
      return raw & 0xFFFFFFu;
    case PixelLayout::Bgrx32:
    case PixelLayout::Bgra32:
      return raw;
  }
  return 0;
}

uint32_t ReadRaw(const PixelView& view, int32_t x, int32_t y) {
  const uint8_t* row = view.Row(y);
  switch (view.layout) {
    case PixelLayout::Mono1:
      return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case PixelLayout::Index8:
      return row[x];
    case PixelLayout::Rgb555:
    case PixelLayout::Rgb565:
      return Load16(row + 2 * x);
    case PixelLayout::Bgr24: {
      const uint8_t* p = row + 3 * x;
      return p[0] | (p[1] << 8) | (p[2] << 16);
    }
    case PixelLayout::Bgrx32:
    case PixelLayout::Bgra32:
      return Load32(row + 4 * x);
  }
  return 0;
}

void WriteRaw(const PixelView& view, int32_t x, int32_t y, uint32_t raw) {
  uint8_t* row = view.Row(y);
  switch (view.layout) {
    case PixelLayout::Mono1: {
      const auto bit = static_cast<uint8_t>(0x80u >> (x & 7));
      row[x >> 3] = static_cast<uint8_t>((raw & 1u) != 0 ? row[x >> 3] | bit : row[x >> 3] & ~bit);
      return;
    }
    case PixelLayout::Index8:
      row[x] = static_cast<uint8_t>(raw);
      return;
    case PixelLayout::Rgb555:
    case PixelLayout::Rgb565:
      Store16(row + 2 * x, raw);
      return;
    case PixelLayout::Bgr24: {
      uint8_t* p = row + 3 * x;
      p[0] = static_cast<uint8_t>(raw);
      p[1] = static_cast<uint8_t>(raw >> 8);
      p[2] = static_cast<uint8_t>(raw >> 16);
      return;
    }
    case PixelLayout::Bgrx32:
    case PixelLayout::Bgra32:
      Store32(row + 4 * x, raw);
      return;
  }
}

void ReadColors(const PixelView& view, int32_t x, int32_t y, int32_t count, uint32_t* out) {
  const uint8_t* row = view.Row(y);
  switch (view.layout) {
    case PixelLayout::Bgrx32:
      std::memcpy(out, row + 4 * x, static_cast<size_t>(count) * 4);
      return;
    case PixelLayout::Bgr24:
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
  switch (view.layout) {
    case PixelLayout::Bgrx32:
      std::memcpy(row + 4 * x, in, static_cast<size_t>(count) * 4);
      return;
    case PixelLayout::Bgr24:
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
  switch (view.layout) {
    case PixelLayout::Index8:
      std::memset(row + x, static_cast<int>(raw & 0xFFu), static_cast<size_t>(count));
      return;
    case PixelLayout::Bgrx32: {
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
