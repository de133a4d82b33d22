// Writes images as uncompressed 24-bit BMP files, or as PNG files when asked
// (see png_encoder.h). A file is replaced only by a completely written one:
// a failed save leaves an earlier file untouched.
#pragma once

#include <cstdint>
#include <string>

#include "image/images.h"
#include "platform/file_system.h"
#include "platform/gdi.h"
#include "platform/pixels.h"
#include "runtime/main_heap.h"

namespace drawing::image {

// Bytes per row in the file: three per pixel, rounded up to a multiple of 4.
inline int64_t BmpStride(int32_t width) {
  return ((static_cast<int64_t>(width) + 1) * 3) & ~3;
}

enum class ImageFileFormat : uint8_t { Bmp, Png };

// PNG for names ending in ".png" in any case, BMP for every other name.
ImageFileFormat FormatForName(const std::string& name);

class ImageWriter {
 public:
  ImageWriter(Images& images, platform::Gdi& gdi, runtime::MainHeap& heap,
              platform::FileSystem& files);

  // Saves image `number` under `name`: 1 when the file was written
  // completely, 0 otherwise.
  int32_t SaveImageBmp(int32_t number, const char* name);
  // The same in either format.
  int32_t SaveImage(int32_t number, const char* name, ImageFileFormat format);

  // Writes `rows` in `format`; 1 on success. The layouts: Bgr24, Bgrx32
  // (the fourth byte unused) and Bgra32 (flattened onto white). A step of 0
  // repeats one row.
  int32_t WriteImageFile(const char* name, const platform::ConstRows& rows, ImageFileFormat format);

  // Why the last save failed (the system's reason when the file system
  // refused), for telling the user.
  const std::string& LastFailure() const { return failure_; }

 private:
  int32_t SaveConverted(const ImageRecord& record, const char* name, ImageFileFormat format);
  bool WriteBmp(platform::OutputFile& file, const platform::ConstRows& rows);
  bool WritePng(platform::OutputFile& file, const platform::ConstRows& rows);
  int32_t Fail(const std::string& reason);

  Images& images_;
  platform::Gdi& gdi_;
  runtime::MainHeap& heap_;
  platform::FileSystem& files_;
  std::string failure_;
};

}  // namespace drawing::image
