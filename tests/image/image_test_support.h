// A fresh world per image test: heap, software GDI, image table, and a
// private temporary directory for files.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "image/images.h"
#include "platform/soft/gdi/soft_gdi.h"
#include "runtime/main_heap.h"
#include "support/scratch_directory.h"

namespace drawing::image::testing {

inline std::vector<uint8_t> ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline uint32_t Field32(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | (bytes[at + 1] << 8) | (bytes[at + 2] << 16) |
         (static_cast<uint32_t>(bytes[at + 3]) << 24);
}

inline uint16_t Field16(const std::vector<uint8_t>& bytes, size_t at) {
  return static_cast<uint16_t>(bytes[at] | (bytes[at + 1] << 8));
}

class ImageWorld : public ::testing::Test {
 protected:
  ImageWorld() : images(heap, gdi) { images.InitImages(); }

  // Picture pixel (x, y) of a 32-bit image, bottom-up in memory.
  uint8_t* Pixel(int32_t number, int32_t x, int32_t y) {
    platform::Bitmap info;
    EXPECT_TRUE(gdi.GetObjectBitmap(images.ImageHandle(number), &info));
    return static_cast<uint8_t*>(info.bmBits) + (info.bmHeight - 1 - y) * info.bmWidthBytes +
           x * (info.bmBitsPixel / 8);
  }

  runtime::MainHeap heap;
  platform::soft::SoftGdi gdi;
  Images images;
};

}  // namespace drawing::image::testing
