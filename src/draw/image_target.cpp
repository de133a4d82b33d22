#include "draw/image_target.h"

#include <algorithm>
#include <cstdlib>

namespace drawing::draw {
namespace {

// Copies width x height pixels from the bitmap selected in `source` into
// `bitmap`, through a memory DC of its own.
void CopyInto(platform::Gdi& gdi, platform::Hbitmap bitmap, platform::Hdc source, int32_t width,
              int32_t height) {
  platform::Hdc dc = gdi.CreateCompatibleDC(nullptr);
  if (dc == nullptr) {
    return;
  }
  platform::Hgdiobj previous = gdi.SelectObject(dc, bitmap);
  gdi.BitBlt(dc, 0, 0, width, height, source, 0, 0, platform::Rop3::SrcCopy);
  gdi.SelectObject(dc, previous);
  gdi.DeleteDC(dc);
}

}  // namespace

ImageTargetContext::ImageTargetContext(platform::Gdi& gdi, const platform::Rows& rows,
                                       int32_t rowsTop, platform::Hdc memoryDc,
                                       platform::Hbitmap work, platform::Hbitmap image)
    : RasterBackend(rows),
      gdi_(gdi),
      rowsTop_(rowsTop),
      memoryDc_(memoryDc),
      workBitmap_(work == image ? nullptr : work),
      imageBitmap_(image),
      savedBatchLimit_(gdi.GdiGetBatchLimit()) {
  gdi_.GdiSetBatchLimit(1);
  gdi_.SelectObject(memoryDc_, work);
}

intptr_t ImageTargetContext::BeginTarget() {
  if (BufferAddress() == 0) {
    return 0;
  }
  return reinterpret_cast<intptr_t>(memoryDc_);
}

void ImageTargetContext::Wrote(int64_t x1, int64_t y1, int64_t x2, int64_t y2) {
  // A pixel of margin each way: a line's own rules never reach beyond it.
  const int64_t left = std::max<int64_t>(std::min(x1, x2) - 1, 0);
  const int64_t top = std::max<int64_t>(std::min(y1, y2) - 1, 0);
  const int64_t right = std::min<int64_t>(std::max(x1, x2) + 2, width);
  const int64_t bottom = std::min<int64_t>(std::max(y1, y2) + 2, height);
  if (left >= right || top >= bottom) {
    return;
  }
  gdi_.DibSectionWritten(
      workBitmap_ != nullptr ? workBitmap_ : imageBitmap_,
      platform::Rect{static_cast<int32_t>(left), static_cast<int32_t>(top) + rowsTop_,
                     static_cast<int32_t>(right), static_cast<int32_t>(bottom) + rowsTop_});
}

void ImageTargetContext::DrawBox(int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight) {
  Wrote(x, y, static_cast<int64_t>(x) + boxWidth, static_cast<int64_t>(y) + boxHeight);
  RasterBackend::DrawBox(x, y, boxWidth, boxHeight);
}

void ImageTargetContext::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2) {
  Wrote(x1, y1, x2, y2);
  RasterBackend::DrawLine(x1, y1, x2, y2);
}

void ImageTargetContext::DrawParallelLines(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                           int32_t firstOffset, int32_t lastOffset) {
  Wrote(x1, static_cast<int64_t>(std::min(y1, y2)) + std::min(firstOffset, lastOffset), x2,
        static_cast<int64_t>(std::max(y1, y2)) + std::max(firstOffset, lastOffset));
  RasterBackend::DrawParallelLines(x1, y1, x2, y2, firstOffset, lastOffset);
}

void ImageTargetContext::PutPixel(int32_t x, int32_t y) {
  Wrote(x, y, x, y);
  RasterBackend::PutPixel(x, y);
}

void ImageTargetContext::PutPixelColor(int32_t x, int32_t y, Colour colour) {
  Wrote(x, y, x, y);
  RasterBackend::PutPixelColor(x, y, colour);
}

void ImageTargetContext::ReleaseTarget(bool /*ending*/) {
  if (workBitmap_ != nullptr) {
    CopyInto(gdi_, imageBitmap_, memoryDc_, width, height);
  }
  gdi_.DeleteDC(memoryDc_);
  memoryDc_ = nullptr;
  if (workBitmap_ != nullptr) {
    gdi_.DeleteObject(workBitmap_);
    workBitmap_ = nullptr;
  }
  gdi_.GdiSetBatchLimit(savedBatchLimit_);
}

platform::Hbitmap MakeWorkCopy(platform::Gdi& gdi, platform::Hbitmap bitmap) {
  platform::Bitmap description;
  if (!gdi.GetObjectBitmap(bitmap, &description)) {
    return nullptr;
  }
  platform::BitmapInfoHeader header;
  header.width = description.bmWidth;
  header.height = std::abs(description.bmHeight);  // positive: bottom-up rows
  header.planes = 1;
  header.bitCount = 24;
  header.compression = platform::BiCompression::Rgb;
  void* bits = nullptr;
  platform::Hbitmap copy = gdi.CreateDIBSection(nullptr, header, &bits);
  if (copy == nullptr) {
    return nullptr;
  }
  platform::Hdc source = gdi.CreateCompatibleDC(nullptr);
  if (source != nullptr) {
    platform::Hgdiobj previous = gdi.SelectObject(source, bitmap);
    CopyInto(gdi, copy, source, header.width, header.height);
    gdi.SelectObject(source, previous);
    gdi.DeleteDC(source);
  }
  return copy;
}

DrawContext* ImageTarget(Drawing& drawing, image::Images& images, platform::Gdi& gdi,
                         int32_t number) {
  const image::ImageRecord* record = images.FindImage(number);
  if (record == nullptr || gdi.GetObjectType(record->handle) != platform::ObjType::Bitmap) {
    return nullptr;
  }
  platform::Hbitmap copy = nullptr;
  platform::Hbitmap work = record->handle;
  if (record->depth < 24) {
    copy = MakeWorkCopy(gdi, record->handle);
    work = copy;
  }
  const auto fail = [&]() -> DrawContext* {
    if (copy != nullptr) {
      gdi.DeleteObject(copy);
    }
    return nullptr;
  };
  platform::DibSection section;
  if (work == nullptr || !gdi.GetObjectDibSection(work, &section) ||
      section.dsBm.bmBits == nullptr) {
    return fail();
  }
  platform::Hdc memoryDc = gdi.CreateCompatibleDC(nullptr);
  if (memoryDc == nullptr) {
    return fail();
  }
  // The image's own size, its bottom rows when the bitmap has more.
  const platform::Rows all = platform::RowsOf(section.dsBm);
  const platform::Rows rows =
      all.Part(0, all.height - record->height, record->width, record->height);
  auto* context = drawing.NewDrawContext<ImageTargetContext>(gdi, rows, all.height - record->height,
                                                             memoryDc, work, record->handle);
  if (context == nullptr) {
    gdi.DeleteDC(memoryDc);
    return fail();
  }
  return context;
}

}  // namespace drawing::draw
