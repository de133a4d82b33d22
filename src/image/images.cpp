#include "image/images.h"

namespace drawing::image {

Images::Images(runtime::MainHeap& heap, platform::Gdi& gdi) : heap_(heap), gdi_(gdi) {}

void Images::InitImages() {}
intptr_t Images::NewImage(int32_t, int32_t, int32_t, int32_t) {
  return 0;
}
platform::Hbitmap Images::ImageHandle(int32_t) {
  return nullptr;
}
void Images::DestroyImage(int32_t) {}
void Images::DestroyAllImages() {}
platform::Hbitmap Images::CreateImageBitmap(int32_t, int32_t, int16_t) {
  return nullptr;
}
const ImageRecord* Images::FindImage(int32_t) {
  return nullptr;
}

}  // namespace drawing::image
