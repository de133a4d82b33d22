// Writes images as uncompressed 24-bit BMP files, or as PNG files when asked
// (see png_encoder.h). A file is replaced only by a completely written one:
// a failed save leaves an earlier file untouched.
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

enum class ImageFileFormat : uint8_t { Bmp, Png };

// PNG for names ending in ".png" in any case, BMP for every other name.
ImageFileFormat FormatForName(const std::string& name);

// How the pixels handed to WriteImageFile are laid out in memory.
enum class SourcePixels : uint8_t {
  Bgr24,            // 3 bytes: blue, green, red
  Bgra32OverWhite,  // 4 bytes with alpha, flattened onto white
  Bgrx32,           // 4 bytes, the fourth unused
};

// Rows of a picture, bottom row first, `pitch` bytes apart (negative for
// pictures kept top row first; 0 repeats one row).
struct PixelRows {
  const uint8_t* bottom = nullptr;
  int64_t pitch = 0;
  int32_t width = 0;
  int32_t height = 0;
  SourcePixels kind = SourcePixels::Bgr24;
};

class BmpWriter {
 public:
  BmpWriter(Images& images, platform::Gdi& gdi, runtime::MainHeap& heap,
            platform::FileSystem& files);

  // Saves image `number` under `name`: 1 when the file was written
  // completely, 0 otherwise.
  int32_t SaveImageBmp(int32_t number, const char* name);
  // The same in either format.
  int32_t SaveImage(int32_t number, const char* name, ImageFileFormat format);

  // Writes bottom-up rows (`pitch` bytes apart) of 24-bit pixels, or of
  // 32-bit pixels whose alpha is flattened onto white. 1 on success.
  int32_t WriteBmpFile(const char* name, const uint8_t* pixels, int32_t pitch, int32_t width,
                       int32_t height, int32_t depth);
  // Writes `rows` in `format`; 1 on success.
  int32_t WriteImageFile(const char* name, const PixelRows& rows, ImageFileFormat format);

  // Why the last save failed (the system's reason when the file system
  // refused), for telling the user.
  const std::string& LastFailure() const { return failure_; }

 private:
  int32_t SaveConverted(const ImageRecord& record, const char* name, ImageFileFormat format);
  bool WriteBmp(platform::OutputFile& file, const PixelRows& rows);
  bool WritePng(platform::OutputFile& file, const PixelRows& rows);
  int32_t Fail(const std::string& reason);

  Images& images_;
  platform::Gdi& gdi_;
  runtime::MainHeap& heap_;
  platform::FileSystem& files_;
  std::string failure_;
};

}  // namespace drawing::image
