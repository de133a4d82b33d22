// One drawing in progress: the state both back-ends share, and the operation
// slots as virtual functions. A back-end overrides the slots it fills; the
// others keep the empty bodies below, which do nothing and answer 0.
#pragma once

#include <cstdint>

#include "draw/draw_mode.h"
#include "platform/handles.h"

namespace drawing::draw {

// Colours: red in the low byte, then green, blue, alpha in the high byte.
using Colour = uint32_t;

class DrawContext {
 public:
  DrawContext() = default;
  DrawContext(const DrawContext&) = delete;
  DrawContext& operator=(const DrawContext&) = delete;
  virtual ~DrawContext() = default;

  // The operation slots this program reaches.
  virtual void SetBackColor(Colour /*colour*/) {}
  virtual void DrawBox(int32_t /*x*/, int32_t /*y*/, int32_t /*width*/, int32_t /*height*/) {}
  virtual intptr_t BufferAddress() { return 0; }
  virtual int32_t BufferPitch() { return 0; }
  virtual int32_t BufferFormat() { return 0; }
  virtual void SetDrawMode(DrawMode /*mode*/) {}
  virtual void BlitImage(platform::Hbitmap /*bitmap*/, int32_t /*x*/, int32_t /*y*/) {}
  virtual void BlitImageSized(platform::Hbitmap /*bitmap*/, int32_t /*x*/, int32_t /*y*/,
                              int32_t /*width*/, int32_t /*height*/) {}
  // Prepares the colour for drawing; never writes frontColor (the wrappers do).
  virtual void SetFrontColor(Colour /*colour*/) {}
  virtual void DrawLine(int32_t /*x1*/, int32_t /*y1*/, int32_t /*x2*/, int32_t /*y2*/) {}
  // DrawLine(x1, y1 + k, x2, y2 + k) for every k from firstOffset to
  // lastOffset; every y + k fits in 32 bits. The lines all apply the same
  // rule to each pixel they cover, so the order they are drawn in cannot
  // change a pixel, and a back-end may paint them as one shape.
  virtual void DrawParallelLines(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                 int32_t firstOffset, int32_t lastOffset) {
    for (int32_t k = firstOffset; k <= lastOffset; ++k) {
      DrawLine(x1, y1 + k, x2, y2 + k);
    }
  }
  virtual void PutPixel(int32_t /*x*/, int32_t /*y*/) {}
  virtual void PutPixelColor(int32_t /*x*/, int32_t /*y*/, Colour /*colour*/) {}
  virtual Colour ReadPixel(int32_t /*x*/, int32_t /*y*/) { return 0; }
  // Non-zero on success, 0 on failure.
  virtual intptr_t BeginTarget() { return 0; }
  virtual void EndTarget() {}

  // The release hook: gives the target back. `ending` is true from EndDraw,
  // false from a failed BeginDraw. A target without a hook keeps this body.
  virtual void ReleaseTarget(bool /*ending*/) {}

  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;
  // Read only by the raster gradient.
  Colour gradientColor1 = 0;
  Colour gradientColor2 = 0;
  // The colour last given through the wrappers; all ones when a context is
  // made, so the first box or line always sets its colour.
  Colour frontColor = 0xFFFFFFFFu;
  Colour backColor = 0xFFFFFFFFu;
};

}  // namespace drawing::draw
