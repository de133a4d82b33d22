// Opening an image object as a raster drawing target.
#pragma once

#include <cstdint>

#include "draw/drawing.h"
#include "draw/raster_backend.h"
#include "image/images.h"
#include "platform/gdi.h"

namespace drawing::draw {

// A raster context on an image: the working bitmap is selected into
// `memoryDc`, and the GDI batch limit is 1 until the target is released.
class ImageTargetContext final : public RasterBackend {
 public:
  // `rows`: the pixels of `work`, bottom row first in memory, selected into
  // `memoryDc`. `work` is the image's own bitmap, or a 24-bit copy of it
  // (owned) for an image under 24 bits, copied back when the drawing ends.
  // `rowsTop` is the first of the bitmap's rows that `rows` holds.
  ImageTargetContext(platform::Gdi& gdi, const platform::Rows& rows, int32_t rowsTop,
                     platform::Hdc memoryDc, platform::Hbitmap work, platform::Hbitmap image);

  // memoryDc, or 0 without pixel memory.
  intptr_t BeginTarget() override;
  // Copies a working copy back into the image, then frees the DC and the copy
  // and restores the batch limit.
  void ReleaseTarget(bool ending) override;

  // The drawing operations, each told to GDI as a write of the pixels it
  // may cover (DibSectionWritten), so that copies of the image can be cut
  // down to what changed.
  void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height) override;
  void DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) override;
  void DrawParallelLines(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t firstOffset,
                         int32_t lastOffset) override;
  void PutPixel(int32_t x, int32_t y) override;
  void PutPixelColor(int32_t x, int32_t y, Colour colour) override;

 private:
  // Tells GDI that the pixels x1..x2, y1..y2 (inclusive, in any order, in
  // the context's coordinates) may have been written.
  void Wrote(int64_t x1, int64_t y1, int64_t x2, int64_t y2);

  platform::Gdi& gdi_;
  int32_t rowsTop_;
  platform::Hdc memoryDc_;
  platform::Hbitmap workBitmap_;   // owned; only for images under 24 bits
  platform::Hbitmap imageBitmap_;  // the image's own bitmap
  uint32_t savedBatchLimit_;
};

// A 24-bit bottom-up copy of `bitmap`, or null.
platform::Hbitmap MakeWorkCopy(platform::Gdi& gdi, platform::Hbitmap bitmap);

// Opens image `number` for drawing and makes its context current; null when
// there is no such image or it cannot be opened.
DrawContext* ImageTarget(Drawing& drawing, image::Images& images, platform::Gdi& gdi,
                         int32_t number);

}  // namespace drawing::draw
