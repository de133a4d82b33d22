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
    : weight_(FullWeight),
      customFunction_(KeepDestination),
      pixels_(rows.Lowest()),
      pitch_(static_cast<int32_t>(-rows.step)),
      bytesPerPixel_(rows.layout == platform::PixelLayout::Bgr24 ? 3 : 4) {
  width = rows.width;
  height = rows.height;
  depth = bytesPerPixel_ == 4 ? 32 : 24;
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
  return (bytesPerPixel_ == 3 ? kThreeBytes : kFourBytes) + kImageFlag;
}

SourceChannels RasterBackend::PrepareColor(Colour colour) const {
  const int32_t alpha = Byte(colour, 24);
  const int32_t factor = blends_ ? alpha : 1;
  return {Byte(colour, 16) * factor, Byte(colour, 8) * factor, Byte(colour, 0) * factor, alpha,
          255 - alpha};
}

void RasterBackend::SetFrontColor(Colour colour) {
  front_ = PrepareColor(colour);
  frontBlend_ = OpaqueBlendSet(front_);
}

void RasterBackend::SetBackColor(Colour colour) {
  back_ = PrepareColor(colour);
}

void RasterBackend::SetDrawMode(DrawMode mode) {
  drawMode_ = mode;
  const bool blends = HasAny(mode, DrawModeAlphaBlend | DrawModeAlphaBlendKeep);
  const bool excluded = HasAny(mode, DrawModeXor | DrawModeGradient | DrawModeCustom);
  blends_ = blends && !excluded;
  gradient_ = HasAny(mode, DrawModeGradient);
  custom_ = HasAny(mode, DrawModeCustom);
  rule_ = PixelRowOf(mode);
  writer_ = WriterOf(mode);
  constexpr DrawMode modesWithAlpha =
      DrawModeAlphaChannel | DrawModeAlphaBlend | DrawModeAlphaBlendKeep | DrawModeCustom;
  readWithAlpha_ = bytesPerPixel_ == 4 && HasAny(mode, modesWithAlpha);
  // Blending may have changed how the channels are kept.
  SetFrontColor(frontColor);
  SetBackColor(backColor);
}

void RasterBackend::PutPixel(int32_t x, int32_t y) {
  PaintPixel(x, y);
}

void RasterBackend::PutPixelColor(int32_t x, int32_t y, Colour colour) {
  if (writer_ == Writer::PointPainter) {
    frontColor = colour;
    PaintPixel(x, y);
    return;
  }
  const bool premultiplied = writer_ == Writer::Blend || writer_ == Writer::BlendKeep;
  ApplyPixelRule(rule_, bytesPerPixel_, PixelAddress(x, y), OwnChannels(colour, premultiplied));
}

Colour RasterBackend::ReadPixel(int32_t x, int32_t y) {
  const uint8_t* p = PixelAddress(x, y);
  Colour colour =
      static_cast<Colour>(p[2]) | static_cast<Colour>(p[1]) << 8 | static_cast<Colour>(p[0]) << 16;
  if (readWithAlpha_) {
    colour |= static_cast<Colour>(p[3]) << 24;
  }
  return colour;
}

Colour RasterBackend::GradientColour(int32_t x, int32_t y) const {
  const double weight = std::clamp(static_cast<double>(weight_(*this, x, y)), 0.0, 1.0);
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
  if (!gradient_ && !custom_) {
    ApplyPixelRule(rule_, bytesPerPixel_, p, front_);
    return;
  }
  const Colour source = gradient_ ? GradientColour(x, y) : frontColor;
  if (custom_) {
    const bool fourBytes = bytesPerPixel_ == 4;
    const Colour destination = static_cast<Colour>(p[2]) | static_cast<Colour>(p[1]) << 8 |
                               static_cast<Colour>(p[0]) << 16 |
                               static_cast<Colour>(fourBytes ? p[3] : 255) << 24;
    const Colour result = customFunction_(x, y, source, destination);
    p[2] = static_cast<uint8_t>(result);
    p[1] = static_cast<uint8_t>(result >> 8);
    p[0] = static_cast<uint8_t>(result >> 16);
    if (fourBytes) {
      p[3] = static_cast<uint8_t>(result >> 24);
    }
    return;
  }
  // Gradient alone: the source colour is prepared afresh for this pixel.
  if (HasAny(drawMode_, DrawModeAlphaBlend | DrawModeAlphaBlendKeep)) {
    front_.alpha = Byte(source, 24);
    front_.inverse = 255 - front_.alpha;
    front_.red = Byte(source, 0) * front_.alpha;
    front_.green = Byte(source, 8) * front_.alpha;
    front_.blue = Byte(source, 16) * front_.alpha;
  } else {
    front_.red = Byte(source, 0);
    front_.green = Byte(source, 8);
    front_.blue = Byte(source, 16);
  }
  ApplyPixelRule(rule_, bytesPerPixel_, p, front_);
}

}  // namespace drawing::draw
