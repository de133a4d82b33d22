#include "image/image_writer.h"

#include "image/png_encoder.h"

#include <array>
#include <cctype>
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

bool Writable(platform::PixelLayout layout) {
  return layout == platform::PixelLayout::Bgr24 || layout == platform::PixelLayout::Bgrx32 ||
         layout == platform::PixelLayout::Bgra32;
}

// Row y of `rows` (0 is the top one) as 3-byte pixels into `out`.
void ConvertRow(const platform::ConstRows& rows, int32_t y, uint8_t* out) {
  const uint8_t* source = rows.Row(y);
  if (rows.layout == platform::PixelLayout::Bgr24) {
    std::memcpy(out, source, static_cast<size_t>(rows.width) * 3);
    return;
  }
  for (int32_t x = 0; x < rows.width; ++x) {
    const uint8_t* p = source + static_cast<ptrdiff_t>(x) * 4;
    uint8_t* pixel = out + static_cast<ptrdiff_t>(x) * 3;
    if (rows.layout == platform::PixelLayout::Bgrx32) {
      pixel[0] = p[0];
      pixel[1] = p[1];
      pixel[2] = p[2];
    } else {
      pixel[0] = OverWhite(p[0], p[3]);
      pixel[1] = OverWhite(p[1], p[3]);
      pixel[2] = OverWhite(p[2], p[3]);
    }
  }
}

bool EndsWithPng(const std::string& name) {
  if (name.size() < 4) {
    return false;
  }
  std::string end = name.substr(name.size() - 4);
  for (char& c : end) {
    c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  }
  return end == ".png";
}

}  // namespace

ImageFileFormat FormatForName(const std::string& name) {
  return EndsWithPng(name) ? ImageFileFormat::Png : ImageFileFormat::Bmp;
}

ImageWriter::ImageWriter(Images& images, platform::Gdi& gdi, runtime::MainHeap& heap,
                         platform::FileSystem& files)
    : images_(images), gdi_(gdi), heap_(heap), files_(files) {}

int32_t ImageWriter::SaveImageBmp(int32_t number, const char* name) {
  return SaveImage(number, name, ImageFileFormat::Bmp);
}

int32_t ImageWriter::SaveImage(int32_t number, const char* name, ImageFileFormat format) {
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
    // Images are bottom-up DIB sections; a 32-bit one carries alpha.
    const platform::ConstRows rows = platform::ConstRows::BottomUp(
        static_cast<const uint8_t*>(section.dsBm.bmBits), section.dsBm.bmWidthBytes, record.width,
        record.height,
        record.depth == 24 ? platform::PixelLayout::Bgr24 : platform::PixelLayout::Bgra32);
    return WriteImageFile(name, rows, format);
  }
  return SaveConverted(record, name, format);
}

// Any other image goes through GetDIBits as 24-bit rows of the file's stride.
int32_t ImageWriter::SaveConverted(const ImageRecord& record, const char* name,
                                   ImageFileFormat format) {
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
    result = WriteImageFile(
        name,
        platform::ConstRows::BottomUp(block, static_cast<ptrdiff_t>(stride), record.width,
                                      record.height, platform::PixelLayout::Bgr24),
        format);
  } else {
    Fail("cannot read the image");
  }
  gdi_.DeleteDC(dc);
  heap_.Free(block);
  return result;
}

int32_t ImageWriter::WriteImageFile(const char* name, const platform::ConstRows& rows,
                                    ImageFileFormat format) {
  if (name == nullptr || name[0] == '\0') {
    return Fail("no file name");
  }
  if (rows.width < 0 || rows.height < 0 ||
      (rows.first == nullptr && rows.width > 0 && rows.height > 0)) {
    return Fail("the picture has no valid size");
  }
  if (!Writable(rows.layout)) {
    return Fail("the picture's pixels cannot be written");
  }
  if (format == ImageFileFormat::Png && !PngAvailable()) {
    return Fail(PngUnavailableReason());
  }
  std::unique_ptr<platform::OutputFile> file = files_.CreateReplacing(name);
  if (!file) {
    return Fail(files_.LastFailure());
  }
  failure_.clear();
  const bool written =
      format == ImageFileFormat::Png ? WritePng(*file, rows) : WriteBmp(*file, rows);
  if (!written || !file->Commit()) {
    // The file's destructor removes the temporary.
    return Fail(failure_.empty() ? files_.LastFailure() : failure_);
  }
  return 1;
}

int32_t ImageWriter::Fail(const std::string& reason) {
  failure_ = reason;
  return 0;
}

// False on failure, with failure_ set unless the file system knows why.
bool ImageWriter::WriteBmp(platform::OutputFile& file, const platform::ConstRows& rows) {
  const int64_t stride = BmpStride(rows.width);
  const int64_t size = stride * rows.height;
  if (kHeadersSize + size > std::numeric_limits<uint32_t>::max()) {
    failure_ = "the picture does not fit a BMP file";
    return false;
  }
  const auto headers = Headers(rows.width, rows.height, static_cast<uint32_t>(size));
  if (!file.Write(headers.data(), headers.size())) {
    return false;
  }
  // A file's rows go bottom row first.
  if (rows.layout == platform::PixelLayout::Bgr24 && rows.step == -stride) {
    return size == 0 || file.Write(rows.Lowest(), static_cast<size_t>(size));
  }
  // Rows one at a time through a zeroed row buffer; the padding stays zero.
  auto* row = static_cast<uint8_t*>(heap_.Allocate(static_cast<size_t>(stride), true));
  if (row == nullptr) {
    failure_ = "out of memory";
    return false;
  }
  bool written = true;
  for (int32_t y = rows.height - 1; y >= 0 && written; --y) {
    ConvertRow(rows, y, row);
    written = file.Write(row, static_cast<size_t>(stride));
  }
  heap_.Free(row);
  return written;
}

bool ImageWriter::WritePng(platform::OutputFile& file, const platform::ConstRows& rows) {
  auto* row = static_cast<uint8_t*>(heap_.Allocate(static_cast<size_t>(rows.width) * 3 + 1));
  if (row == nullptr) {
    failure_ = "out of memory";
    return false;
  }
  std::string reason;
  bool writeFailed = false;
  const bool written = EncodePng(
      file, rows.width, rows.height,
      [&](int32_t y) {
        ConvertRow(rows, y, row);
        return static_cast<const uint8_t*>(row);
      },
      reason, writeFailed);
  heap_.Free(row);
  // A failed write is the file system's to explain, anything else the encoder's.
  if (!written && !writeFailed) {
    failure_ = reason;
  }
  return written;
}

}  // namespace drawing::image
