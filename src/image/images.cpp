#include "image/images.h"

#include <cstring>

#include "runtime/object_table.h"

namespace drawing::image {
namespace {

constexpr int32_t kTableStep = 16;
constexpr uint32_t kOpaqueBlack = 0xFF000000u;

void DestroyImageCallback(void* context, int32_t number) {
  static_cast<Images*>(context)->DestroyImage(number);
}

}  // namespace

Images::Images(runtime::MainHeap& heap, platform::Gdi& gdi) : heap_(heap), gdi_(gdi) {}

void Images::InitImages() {
  table_ =
      runtime::ObjectTableNew(heap_, sizeof(ImageRecord), kTableStep, DestroyImageCallback, this);
}

platform::Hbitmap Images::CreateImageBitmap(int32_t width, int32_t height, int16_t depth) {
  platform::Hdc display = gdi_.CreateDisplayDC();
  if (display == nullptr) {
    return nullptr;
  }
  platform::BitmapInfoHeader request;
  request.width = width;
  request.height = height;
  request.planes = 1;
  request.bitCount = static_cast<uint16_t>(depth);
  request.compression = platform::BiCompression::Rgb;
  void* bits = nullptr;
  platform::Hbitmap bitmap = gdi_.CreateDIBSection(display, request, &bits);
  gdi_.DeleteDC(display);
  return bitmap;
}

intptr_t Images::NewImage(int32_t number, int32_t width, int32_t height, int32_t depth) {
  if (table_ == nullptr) {
    return 0;
  }
  int32_t chosen = number;
  auto* record = static_cast<ImageRecord*>(runtime::ObjectAllocate(table_, number, &chosen));
  if (record == nullptr) {
    return 0;
  }
  platform::Hbitmap bitmap = CreateImageBitmap(width, height, static_cast<int16_t>(depth));
  if (bitmap == nullptr) {
    if (number == runtime::AutoNumber) {
      runtime::ObjectRelease(table_, chosen);  // an empty auto record would only linger
    }
    return 0;
  }
  platform::Bitmap info;
  // A bitmap just made always describes itself.
  platform::IgnoreResult(gdi_.GetObjectBitmap(bitmap, &info));
  FillInitialContents(bitmap, info, width, height, depth);

  record->handle = bitmap;
  record->width = static_cast<int16_t>(info.bmWidth);
  record->height = static_cast<int16_t>(info.bmHeight);
  record->depth = static_cast<int8_t>(info.bmBitsPixel);
  if (number == runtime::AutoNumber) {
    return chosen;
  }
  return reinterpret_cast<intptr_t>(bitmap);
}

void Images::FillInitialContents(platform::Hbitmap bitmap, const platform::Bitmap& info,
                                 int32_t width, int32_t height, int32_t depth) {
  if (depth == 32 && info.bmBits != nullptr) {
    // Opaque black: alpha 255 in every pixel, so blending onto it starts solid.
    const platform::Rows rows = platform::RowsOf(info);
    for (int32_t row = 0; row < height; ++row) {
      uint8_t* pixel = rows.Row(row);
      for (int32_t x = 0; x < width; ++x, pixel += 4) {
        std::memcpy(pixel, &kOpaqueBlack, sizeof kOpaqueBlack);
      }
    }
    return;
  }
  platform::Hdc dc = gdi_.CreateCompatibleDC(nullptr);
  if (dc == nullptr) {
    return;  // the bitmap keeps the contents it was made with
  }
  platform::Hgdiobj previous = gdi_.SelectObject(dc, bitmap);
  const platform::Rect all{0, 0, width, height};
  gdi_.FillRect(dc, all, gdi_.GetStockObject(platform::StockObject::BlackBrush));
  gdi_.SelectObject(dc, previous);
  gdi_.DeleteDC(dc);
}

platform::Hbitmap Images::ImageHandle(int32_t number) {
  const ImageRecord* record = FindImage(number);
  return record != nullptr ? record->handle : nullptr;
}

const ImageRecord* Images::FindImage(int32_t number) {
  if (table_ == nullptr) {
    return nullptr;
  }
  return static_cast<const ImageRecord*>(runtime::ObjectFind(table_, number));
}

void Images::DestroyImage(int32_t number) {
  if (number == runtime::AutoNumber) {
    return;
  }
  const ImageRecord* record = FindImage(number);
  if (record == nullptr) {
    return;
  }
  gdi_.DeleteObject(record->handle);
  runtime::ObjectRelease(table_, number);
}

void Images::DestroyAllImages() {
  if (table_ == nullptr) {
    return;
  }
  runtime::ObjectIterateReset(table_);
  int32_t number = 0;
  while (runtime::ObjectIterateNext(table_, &number) != nullptr) {
    DestroyImage(number);
  }
}

}  // namespace drawing::image
