// Numbered off-screen pictures: bottom-up DIB sections kept in an object table.
#pragma once

#include <cstdint>

#include "platform/gdi.h"
#include "runtime/main_heap.h"

namespace drawing::runtime {
struct ObjectTable;
}

namespace drawing::image {

// One image; in use exactly when `handle` is non-null.
struct ImageRecord {
  platform::Hbitmap handle;
  int16_t width;
  int16_t height;
  int8_t depth;
};

class Images {
 public:
  Images(runtime::MainHeap& heap, platform::Gdi& gdi);
  Images(const Images&) = delete;
  Images& operator=(const Images&) = delete;

  // Creates the image table.
  void InitImages();
  // For numbers >= 0 the bitmap handle, for AutoNumber (-1) the chosen
  // number; 0 on failure. An image already holding the number is destroyed.
  intptr_t NewImage(int32_t number, int32_t width, int32_t height, int32_t depth);
  // The image's bitmap, null when there is no such image.
  platform::Hbitmap ImageHandle(int32_t number);
  void DestroyImage(int32_t number);
  void DestroyAllImages();
  // The registry lives on the heap: once the heap is destroyed the images
  // forget it and answer as before InitImages.
  void ForgetRegistry() { table_ = nullptr; }
  // A bottom-up DIB section made on a display DC; null on failure.
  platform::Hbitmap CreateImageBitmap(int32_t width, int32_t height, int16_t depth);
  // The record of an image in use, or null. Valid until the next NewImage
  // (the table may move when it grows).
  const ImageRecord* FindImage(int32_t number);

 private:
  void FillInitialContents(platform::Hbitmap bitmap, const platform::Bitmap& info, int32_t width,
                           int32_t height, int32_t depth);

  runtime::MainHeap& heap_;
  platform::Gdi& gdi_;
  runtime::ObjectTable* table_ = nullptr;
};

}  // namespace drawing::image
