// The raster back-end: draws by computing every pixel itself in bottom-up
// rows of 3- or 4-byte pixels (blue, green, red[, alpha]).
#pragma once

#include <cstddef>
#include <cstdint>

#include "draw/draw_context.h"
#include "draw/fast_blend.h"
#include "draw/pixel_rule.h"
#include "platform/pixels.h"

namespace drawing::draw {

class RasterBackend;
class BlendRuns;

// Gradient weight at a pixel (1.0: all gradientColor1).
using WeightFunction = float (*)(const RasterBackend& context, int32_t x, int32_t y);
// Pixel function of DrawModeCustom: the colour to store.
using CustomFunction = Colour (*)(int32_t x, int32_t y, Colour source, Colour destination);

class RasterBackend : public DrawContext {
 public:
  // `rows` are kept bottom row first in memory (a negative step), of 3-byte
  // (Bgr24) or 4-byte pixels.
  explicit RasterBackend(const platform::Rows& rows);

  void SetBackColor(Colour colour) override;
  void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height) override;
  intptr_t BufferAddress() override { return reinterpret_cast<intptr_t>(pixels_); }
  int32_t BufferPitch() override { return pitch_; }
  // The program's code of the pixels: 16 for 3 bytes, 64 for 4, with the
  // image flag 0x8000.
  int32_t BufferFormat() override;
  void SetDrawMode(DrawMode mode) override;
  void SetFrontColor(Colour colour) override;
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void DrawParallelLines(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t firstOffset,
                         int32_t lastOffset) override;
  void PutPixel(int32_t x, int32_t y) override;
  void PutPixelColor(int32_t x, int32_t y, Colour colour) override;
  Colour ReadPixel(int32_t x, int32_t y) override;
  intptr_t BeginTarget() override { return pixels_ == nullptr ? 0 : 1; }

  // Spans clipped to the target.
  void DrawRowClipped(int32_t x, int64_t length, int32_t y);
  void DrawColumnClipped(int32_t y, int64_t length, int32_t x);
  // Unclipped spans: length >= 1, every pixel inside the target.
  void PaintRow(int32_t x, int32_t y, int32_t length);
  void PaintColumn(int32_t x, int32_t y, int32_t length);
  // One unclipped pixel, through the gradient or custom function when on.
  void PaintPixel(int32_t x, int32_t y);

  // The gradient colour at a pixel: gradientColor1 and gradientColor2 mixed
  // by the weight (clamped to 0..1), per byte, rounded to nearest.
  Colour GradientColour(int32_t x, int32_t y) const;

  uint8_t* PixelAddress(int32_t x, int32_t y) const {
    return pixels_ + static_cast<ptrdiff_t>(height - 1 - y) * pitch_ +
           static_cast<ptrdiff_t>(x) * bytesPerPixel_;
  }

  // What the span code reads of the context.
  int32_t BytesPerPixel() const { return bytesPerPixel_; }
  // Bytes from one row to the one above it (rows lie bottom-up).
  int32_t Pitch() const { return pitch_; }
  // The rule of the current mode.
  PixelRow Rule() const { return rule_; }
  // Whether each pixel goes through the gradient or custom function.
  bool PerPixel() const { return gradient_ || custom_; }
  // The prepared colours: premultiplied by alpha while blending is on.
  const SourceChannels& Front() const { return front_; }
  const SourceChannels& Back() const { return back_; }
  bool Blends() const { return blends_; }

  // The prepared front colour with its division-free blend forms, made when
  // the colour is prepared (SetFrontColor, SetDrawMode). The spans use it;
  // the per-pixel gradient, which prepares a colour for every pixel, does not.
  const OpaqueBlendSet& FrontBlend() const { return frontBlend_; }

  // What PutPixel and PutPixelColor do, chosen by SetDrawMode.
  enum class Writer : uint8_t { PointPainter, Xor, AlphaChannel, Blend, BlendKeep, Plain };
  Writer PixelWriter() const { return writer_; }

  // The functions of DrawModeGradient and DrawModeCustom (by default full
  // weight and the destination kept).
  void SetWeightFunction(WeightFunction function) { weight_ = function; }
  void SetCustomFunction(CustomFunction function) { customFunction_ = function; }

 private:
  // The colour's channels, premultiplied while blending is on.
  SourceChannels PrepareColor(Colour colour) const;
  // DrawLine for a line with an end point outside the target.
  void DrawOtherLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // Steps a segment whose end points both lie inside the target.
  void StepSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // The same for a line that is long or painted pixel by pixel.
  void StepLongSegment(int32_t x1, int32_t y1, int32_t x2, int32_t y2);
  // Paints the kept shape from `start` with the rule of the mode.
  void PaintShapeByRule(uint8_t* start);
  // The kept shape from `start` and from each of the `count` - 1 rows below
  // it: row by row when the shape is mostly across, column by column when
  // it is steep and blended (PaintSteepBandBlended), else line by line.
  void PaintShapeBand(uint8_t* start, int32_t count);
  // The same for a steep shape blended into 4-byte pixels: column by column.
  void PaintSteepBandBlended(const BlendRuns& runs, uint8_t* start, int32_t count);

  WeightFunction weight_;
  CustomFunction customFunction_;
  uint8_t* pixels_;  // the bottom row
  int32_t pitch_;
  int32_t bytesPerPixel_;
  DrawMode drawMode_ = DrawModeNone;
  bool blends_ = false;
  bool gradient_ = false;
  bool custom_ = false;
  SourceChannels front_;
  SourceChannels back_;
  // The rule of the current mode, and the writer of PutPixel / PutPixelColor.
  PixelRow rule_ = PixelRow::Plain;
  Writer writer_ = Writer::Plain;
  bool readWithAlpha_ = false;
  OpaqueBlendSet frontBlend_{SourceChannels{}};
  // MinorPositions::Reciprocal of the last long line's major length.
  int32_t reciprocalLength_ = 0;
  uint64_t reciprocal_ = 0;

  // Lays out the pixel offsets of a short line from x2 - x1, y2 - y1 in
  // shape_; false for a line of kShapePixels pixels or more.
  bool MakeShape(int32_t dx, int32_t dy);

  // The parallel lines of a stroke share one shape (the same end point
  // differences), so the pixel offsets of the last short line's shape are
  // kept, from the end point the stepping starts at.
  struct LineShape {
    int32_t dx = 0;
    int32_t dy = 0;
    int32_t pitch = 0;  // none yet
    int32_t bytesPerPixel = 0;
    bool operator==(const LineShape&) const = default;
  };
  static constexpr int32_t kShapePixels = 128;
  // A shape is steep when its columns are at least this many rows long on
  // average.
  static constexpr int32_t kSteepRun = 3;
  LineShape shape_;
  bool shapeFromSecond_ = false;  // the stepping starts at (x2, y2)
  bool shapeAcross_ = false;      // one pixel per column (|dy| <= |dx|)
  int32_t shapeMinorStep_ = 1;    // +1 or -1 along the minor axis
  int32_t shapeMinorLength_ = 0;
  int32_t shapeCount_ = 0;
  ptrdiff_t shapeOffsets_[kShapePixels + 1];  // one more for the spare of a last pair
  // The pixels at minor position m are shape pixels minorRuns_[m] up to
  // minorRuns_[m + 1] - 1.
  int32_t minorRuns_[kShapePixels + 1];
};

}  // namespace drawing::draw
