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

ImageTargetContext::ImageTargetContext(platform::Gdi& gdiPort, const platform::Rows& rows)
    : RasterBackend(rows), gdi(gdiPort) {}

intptr_t ImageTargetContext::BeginTarget() {
  if (pixels == nullptr) {
    return 0;
  }
  return reinterpret_cast<intptr_t>(memoryDc);
}

void ImageTargetContext::ReleaseTarget(bool /*ending*/) {
  if (workBitmap != nullptr) {
    CopyInto(gdi, imageBitmap, memoryDc, width, height);
  }
  gdi.DeleteDC(memoryDc);
  memoryDc = nullptr;
  if (workBitmap != nullptr) {
    gdi.DeleteObject(workBitmap);
    workBitmap = nullptr;
  }
  gdi.GdiSetBatchLimit(savedBatchLimit);
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
  auto* context = drawing.NewDrawContext<ImageTargetContext>(gdi, rows);
  if (context == nullptr) {
    gdi.DeleteDC(memoryDc);
    return fail();
  }
  context->workBitmap = copy;
  context->imageBitmap = record->handle;
  context->savedBatchLimit = gdi.GdiGetBatchLimit();
  gdi.GdiSetBatchLimit(1);
  context->memoryDc = memoryDc;
  gdi.SelectObject(memoryDc, work);
  return context;
}

}  // namespace drawing::draw
