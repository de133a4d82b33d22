#include "draw/image_target.h"

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
                                       platform::Hdc memoryDc, platform::Hbitmap work,
                                       platform::Hbitmap image)
    : RasterBackend(rows),
      gdi_(gdi),
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
  auto* context =
      drawing.NewDrawContext<ImageTargetContext>(gdi, rows, memoryDc, work, record->handle);
  if (context == nullptr) {
    gdi.DeleteDC(memoryDc);
    return fail();
  }
  return context;
}

}  // namespace drawing::draw
