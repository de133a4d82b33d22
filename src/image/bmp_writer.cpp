#include "image/bmp_writer.h"

#include <array>
#include <cstring>
#include <limits>
#include <string>

namespace drawing::image {
namespace {

constexpr uint32_t kHeadersSize = 14 + 40;

void Put16(uint8_t* at, uint32_t value) {
  at[0] = static_cast<uint8_t>(value);
  at[1] = static_cast<uint8_t>(value >> 8);
}

void Put32(uint8_t* at, uint32_t value) {
  Put16(at, value);
  Put16(at + 2, value >> 16);
}

// BITMAPFILEHEADER followed by BITMAPINFOHEADER, little-endian.
std::array<uint8_t, kHeadersSize> Headers(int32_t width, int32_t height, uint32_t size) {
  std::array<uint8_t, kHeadersSize> bytes{};
  bytes[0] = 'B';
  bytes[1] = 'M';
  Put32(&bytes[2], kHeadersSize + size);
  Put32(&bytes[10], kHeadersSize);
  Put32(&bytes[14], 40);
  Put32(&bytes[18], static_cast<uint32_t>(width));
  Put32(&bytes[22], static_cast<uint32_t>(height));
  Put16(&bytes[26], 1);
  Put16(&bytes[28], 24);
  Put32(&bytes[34], size);
  return bytes;
}

// A pixel laid over white with opacity `alpha`.
uint8_t OverWhite(uint32_t channel, uint32_t alpha) {
  return static_cast<uint8_t>(
      ((static_cast<int32_t>(channel) - 255) * static_cast<int32_t>(alpha) + 65025) / 255);
}

// Rows one at a time through a zeroed row buffer; the padding stays zero.
bool WriteRows(platform::OutputFile& file, uint8_t* row, const uint8_t* pixels, int32_t pitch,
               int32_t width, int32_t height, int32_t depth, size_t stride) {
  for (int32_t r = 0; r < height; ++r) {
    const uint8_t* source = pixels + static_cast<ptrdiff_t>(r) * pitch;
    if (depth == 24) {
      std::memcpy(row, source, static_cast<size_t>(width) * 3);
    } else {
      for (int32_t x = 0; x < width; ++x) {
        const uint8_t* p = source + static_cast<ptrdiff_t>(x) * 4;
        uint8_t* out = row + static_cast<ptrdiff_t>(x) * 3;
        out[0] = OverWhite(p[0], p[3]);
        out[1] = OverWhite(p[1], p[3]);
        out[2] = OverWhite(p[2], p[3]);
      }
    }
    if (!file.Write(row, stride)) {
      return false;
    }
  }
  return true;
}

}  // namespace

BmpWriter::BmpWriter(Images& images, platform::Gdi& gdi, runtime::MainHeap& heap,
                     platform::FileSystem& files)
    : images_(images), gdi_(gdi), heap_(heap), files_(files) {}

int32_t BmpWriter::SaveImageBmp(int32_t number, const char* name) {
  if (name == nullptr || name[0] == '\0') {
    return Fail("no file name");
  }
  const ImageRecord* found = images_.FindImage(number);
  if (found == nullptr) {
    return Fail("no such image");
  }
  const ImageRecord record = *found;
  platform::DibSection section;
  if (record.depth >= 24 && gdi_.GetObjectDibSection(record.handle, &section) &&
      section.dsBm.bmBits != nullptr) {
    return WriteBmpFile(name, static_cast<const uint8_t*>(section.dsBm.bmBits),
                        section.dsBm.bmWidthBytes, record.width, record.height, record.depth);
  }
  return SaveConverted(record, name);
}

// Any other image goes through GetDIBits as 24-bit rows of the file's stride.
int32_t BmpWriter::SaveConverted(const ImageRecord& record, const char* name) {
  if (record.width < 0 || record.height < 0) {
    return Fail("the image has no valid size");
  }
  const int64_t stride = BmpStride(record.width);
  auto* block = static_cast<uint8_t*>(heap_.Allocate(static_cast<size_t>(stride * record.height)));
  if (block == nullptr) {
    return Fail("out of memory");
  }
  platform::Hdc dc = gdi_.CreateCompatibleDC(nullptr);
  if (dc == nullptr) {
    heap_.Free(block);
    return Fail("cannot read the image");
  }
  platform::BitmapInfoHeader request;
  request.width = record.width;
  request.height = record.height;
  request.planes = 1;
  request.bitCount = 24;
  request.compression = platform::BiCompression::Rgb;
  request.sizeImage = static_cast<uint32_t>(stride * record.height);
  int32_t result = 0;
  if (gdi_.GetDIBits(dc, record.handle, 0, static_cast<uint32_t>(record.height), block, &request) !=
      0) {
    result =
        WriteBmpFile(name, block, static_cast<int32_t>(stride), record.width, record.height, 24);
  } else {
    Fail("cannot read the image");
  }
  gdi_.DeleteDC(dc);
  heap_.Free(block);
  return result;
}

int32_t BmpWriter::WriteBmpFile(const char* name, const uint8_t* pixels, int32_t pitch,
                                int32_t width, int32_t height, int32_t depth) {
  if (name == nullptr || name[0] == '\0') {
    return Fail("no file name");
  }
  const int64_t stride = BmpStride(width);
  const int64_t size = stride * height;
  if (width < 0 || height < 0 || kHeadersSize + size > std::numeric_limits<uint32_t>::max() ||
      (pixels == nullptr && size > 0)) {
    return Fail("the picture does not fit a BMP file");
  }
  std::unique_ptr<platform::OutputFile> file = files_.CreateReplacing(name);
  if (!file) {
    return Fail(files_.LastFailure());
  }
  const auto headers = Headers(width, height, static_cast<uint32_t>(size));
  if (!file->Write(headers.data(), headers.size())) {
    return Fail(files_.LastFailure());  // the file's destructor removes the temporary
  }
  bool written = false;
  if (depth == 24 && pitch == stride) {
    written = size == 0 || file->Write(pixels, static_cast<size_t>(size));
  } else {
    auto* row = static_cast<uint8_t*>(heap_.Allocate(static_cast<size_t>(stride), true));
    if (row == nullptr) {
      return Fail("out of memory");
    }
    written =
        WriteRows(*file, row, pixels, pitch, width, height, depth, static_cast<size_t>(stride));
    heap_.Free(row);
  }
  if (!written || !file->Commit()) {
    return Fail(files_.LastFailure());
  }
  return 1;
}

int32_t BmpWriter::Fail(const std::string& reason) {
  failure_ = reason;
  return 0;
}

}  // namespace drawing::image
