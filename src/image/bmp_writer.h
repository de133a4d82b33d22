// Writes images as uncompressed 24-bit BMP files. A file is replaced only by
// a completely written one: a failed save leaves an earlier file untouched.
#pragma once

#include <cstdint>
#include <string>

#include "image/images.h"
#include "platform/file_system.h"
#include "platform/gdi.h"
#include "runtime/main_heap.h"

namespace drawing::image {

// Bytes per row in the file: three per pixel, rounded up to a multiple of 4.
inline int64_t BmpStride(int32_t width) {
  return ((static_cast<int64_t>(width) + 1) * 3) & ~3;
}

class BmpWriter {
 public:
  BmpWriter(Images& images, platform::Gdi& gdi, runtime::MainHeap& heap,
            platform::FileSystem& files);

  // Saves image `number` under `name`: 1 when the file was written
  // completely, 0 otherwise.
  int32_t SaveImageBmp(int32_t number, const char* name);

  // Writes bottom-up rows (`pitch` bytes apart) of 24-bit pixels, or of
  // 32-bit pixels whose alpha is flattened onto white. 1 on success.
  int32_t WriteBmpFile(const char* name, const uint8_t* pixels, int32_t pitch, int32_t width,
                       int32_t height, int32_t depth);

  // Why the last save failed (the system's reason when the file system
  // refused), for telling the user.
  const std::string& LastFailure() const { return failure_; }

 private:
  int32_t SaveConverted(const ImageRecord& record, const char* name);
  int32_t Fail(const std::string& reason);

  Images& images_;
  platform::Gdi& gdi_;
  runtime::MainHeap& heap_;
  platform::FileSystem& files_;
  std::string failure_;
};

}  // namespace drawing::image
