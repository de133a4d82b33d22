#include "draw/pixel_rule.h"

#include "draw/draw_context.h"

namespace drawing::draw {

PixelRow PixelRowOf(DrawMode mode) {
  if (HasAny(mode, DrawModeXor)) {
    return PixelRow::Xor;
  }
  if (HasAny(mode, DrawModeAlphaChannel)) {
    return PixelRow::AlphaChannel;
  }
  if (HasAny(mode, DrawModeAlphaBlend)) {
    return PixelRow::Blend;
  }
  if (HasAny(mode, DrawModeAlphaBlendKeep)) {
    return PixelRow::BlendKeep;
  }
  return PixelRow::Plain;
}

void ApplyPixelRule(PixelRow row, int32_t bytesPerPixel, uint8_t* p, const SourceChannels& s) {
  const bool fourBytes = bytesPerPixel == 4;
  switch (row) {
    case PixelRow::Xor:
      XorPixel(p, s);
      break;
    case PixelRow::AlphaChannel:
      if (fourBytes) {
        p[3] = static_cast<uint8_t>(s.alpha);
      }
      break;
    case PixelRow::Blend:
    case PixelRow::BlendKeep:
      if (fourBytes) {
        BlendPixel4(p, s, row == PixelRow::Blend);
      } else {
        BlendPixel3(p, s);
      }
      break;
    case PixelRow::Plain:
      PlainPixel(p, s);
      break;
  }
}

}  // namespace drawing::draw
