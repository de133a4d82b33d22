#include "draw/raster_backend.h"

#include <algorithm>
#include <cmath>

namespace drawing::draw {
namespace {

float FullWeight(const RasterBackend& /*context*/, int32_t /*x*/, int32_t /*y*/) {
  return 1.0f;
}

Colour KeepDestination(int32_t /*x*/, int32_t /*y*/, Colour /*source*/, Colour destination) {
  return destination;
}

RasterBackend::Writer WriterOf(DrawMode mode) {
  if (HasAny(mode, DrawModeGradient | DrawModeCustom)) {
    return RasterBackend::Writer::PointPainter;
  }
  switch (PixelRowOf(mode)) {
    case PixelRow::Xor:
      return RasterBackend::Writer::Xor;
    case PixelRow::AlphaChannel:
      return RasterBackend::Writer::AlphaChannel;
    case PixelRow::Blend:
      return RasterBackend::Writer::Blend;
    case PixelRow::BlendKeep:
      return RasterBackend::Writer::BlendKeep;
    case PixelRow::Plain:
      break;
  }
  return RasterBackend::Writer::Plain;
}

int32_t Byte(Colour colour, int shift) {
  return static_cast<int32_t>((colour >> shift) & 255u);
}

// The source of PutPixelColor: the colour's own channels, premultiplied by its
// own alpha for the blend rows.
SourceChannels OwnChannels(Colour colour, bool premultiplied) {
  const int32_t alpha = Byte(colour, 24);
  const int32_t factor = premultiplied ? alpha : 1;
  return {Byte(colour, 16) * factor, Byte(colour, 8) * factor, Byte(colour, 0) * factor, alpha,
          255 - alpha};
}

}  // namespace

RasterBackend::RasterBackend(const platform::Rows& rows)
    : weightFunction(FullWeight),
      customFunction(KeepDestination),
      pixels(rows.Lowest()),
      pitch(static_cast<int32_t>(-rows.step)),
      bytesPerPixel(rows.layout == platform::PixelLayout::Bgr24 ? 3 : 4) {
  width = rows.width;
  height = rows.height;
  depth = bytesPerPixel == 4 ? 32 : 24;
  gradientColor1 = 0xFFFFFFFFu;
  gradientColor2 = 0xFF000000u;
  frontColor = 0;
  backColor = 0;
  RasterBackend::SetDrawMode(DrawModeNone);
}

int32_t RasterBackend::BufferFormat() {
  constexpr int32_t kThreeBytes = 16;
  constexpr int32_t kFourBytes = 64;
  constexpr int32_t kImageFlag = 0x8000;
  return (bytesPerPixel == 3 ? kThreeBytes : kFourBytes) + kImageFlag;
}

void RasterBackend::PrepareColor(Colour colour, int32_t& red, int32_t& green, int32_t& blue,
                                 int32_t& alpha, int32_t& inverse) const {
  alpha = Byte(colour, 24);
  inverse = 255 - alpha;
  const int32_t factor = blendOn != 0 ? alpha : 1;
  red = Byte(colour, 0) * factor;
  green = Byte(colour, 8) * factor;
  blue = Byte(colour, 16) * factor;
}

void RasterBackend::SetFrontColor(Colour colour) {
  PrepareColor(colour, frontRed, frontGreen, frontBlue, frontAlpha, frontInverse);
  frontBlend_ = OpaqueBlendSet(FrontChannels());
}

void RasterBackend::SetBackColor(Colour colour) {
  PrepareColor(colour, backRed, backGreen, backBlue, backAlpha, backInverse);
}

void RasterBackend::SetDrawMode(DrawMode mode) {
  drawMode = mode;
  const bool blends = HasAny(mode, DrawModeAlphaBlend | DrawModeAlphaBlendKeep);
  const bool excluded = HasAny(mode, DrawModeXor | DrawModeGradient | DrawModeCustom);
  blendOn = blends && !excluded ? 1 : 0;
  gradientOn = DrawModeBits(mode & DrawModeGradient);
  customOn = DrawModeBits(mode & DrawModeCustom);
  pixelRow = PixelRowOf(mode);
  writer = WriterOf(mode);
  constexpr DrawMode modesWithAlpha =
      DrawModeAlphaChannel | DrawModeAlphaBlend | DrawModeAlphaBlendKeep | DrawModeCustom;
  readWithAlpha = bytesPerPixel == 4 && HasAny(mode, modesWithAlpha);
  // blendOn may have changed how the channels are kept.
  SetFrontColor(frontColor);
  SetBackColor(backColor);
}

void RasterBackend::PutPixel(int32_t x, int32_t y) {
  PaintPixel(x, y);
}

void RasterBackend::PutPixelColor(int32_t x, int32_t y, Colour colour) {
  if (writer == Writer::PointPainter) {
    frontColor = colour;
    PaintPixel(x, y);
    return;
  }
  const bool premultiplied = writer == Writer::Blend || writer == Writer::BlendKeep;
  ApplyPixelRule(pixelRow, bytesPerPixel, PixelAddress(x, y), OwnChannels(colour, premultiplied));
}

Colour RasterBackend::ReadPixel(int32_t x, int32_t y) {
  const uint8_t* p = PixelAddress(x, y);
  Colour colour =
      static_cast<Colour>(p[2]) | static_cast<Colour>(p[1]) << 8 | static_cast<Colour>(p[0]) << 16;
  if (readWithAlpha) {
    colour |= static_cast<Colour>(p[3]) << 24;
  }
  return colour;
}

Colour RasterBackend::GradientColour(int32_t x, int32_t y) const {
  const double weight = std::clamp(static_cast<double>(weightFunction(*this, x, y)), 0.0, 1.0);
  Colour colour = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    const double mixed =
        Byte(gradientColor1, shift) * weight + Byte(gradientColor2, shift) * (1.0 - weight);
    colour |= static_cast<Colour>(std::nearbyint(mixed)) << shift;
  }
  return colour;
}

void RasterBackend::PaintPixel(int32_t x, int32_t y) {
  uint8_t* p = PixelAddress(x, y);
  if (gradientOn == 0 && customOn == 0) {
    ApplyPixelRule(pixelRow, bytesPerPixel, p, FrontChannels());
    return;
  }
  const Colour source = gradientOn != 0 ? GradientColour(x, y) : frontColor;
  if (customOn != 0) {
    const bool fourBytes = bytesPerPixel == 4;
    const Colour destination = static_cast<Colour>(p[2]) | static_cast<Colour>(p[1]) << 8 |
                               static_cast<Colour>(p[0]) << 16 |
                               static_cast<Colour>(fourBytes ? p[3] : 255) << 24;
    const Colour result = customFunction(x, y, source, destination);
    p[2] = static_cast<uint8_t>(result);
    p[1] = static_cast<uint8_t>(result >> 8);
    p[0] = static_cast<uint8_t>(result >> 16);
    if (fourBytes) {
      p[3] = static_cast<uint8_t>(result >> 24);
    }
    return;
  }
  // Gradient alone: the source colour is prepared afresh for this pixel.
  if (HasAny(drawMode, DrawModeAlphaBlend | DrawModeAlphaBlendKeep)) {
    frontAlpha = Byte(source, 24);
    frontInverse = 255 - frontAlpha;
    frontRed = Byte(source, 0) * frontAlpha;
    frontGreen = Byte(source, 8) * frontAlpha;
    frontBlue = Byte(source, 16) * frontAlpha;
  } else {
    frontRed = Byte(source, 0);
    frontGreen = Byte(source, 8);
    frontBlue = Byte(source, 16);
  }
  ApplyPixelRule(pixelRow, bytesPerPixel, p, FrontChannels());
}

}  // namespace drawing::draw
