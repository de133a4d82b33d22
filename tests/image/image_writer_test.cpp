// The BMP file layout, the pixel rows and the two ways to the pixels.
#include <gtest/gtest.h>

#include <cstring>

#include "image/image_writer.h"
#include "image_test_support.h"
#include "recording_file_system.h"

namespace drawing::image {
namespace {

using testing::Field16;
using testing::Field32;
using testing::ReadFile;

// Rows kept bottom row first, as a BMP file keeps them.
platform::ConstRows Bottom(const uint8_t* pixels, int32_t pitch, int32_t width, int32_t height,
                           platform::PixelLayout layout) {
  return platform::ConstRows::BottomUp(pixels, pitch, width, height, layout);
}

class BmpWorld : public testing::ImageWorld {
 protected:
  BmpWorld() : writer(images, gdi, heap, files) {}

  void SetPixel32(int32_t number, int32_t x, int32_t y, uint8_t b, uint8_t g, uint8_t r,
                  uint8_t a) {
    uint8_t* p = Pixel(number, x, y);
    p[0] = b, p[1] = g, p[2] = r, p[3] = a;
  }

  support::ScratchDirectory directory;
  testing::RecordingFileSystem files;
  ImageWriter writer;
};

TEST(BmpStride, RoundsThreeBytesPerPixelUpToFour) {
  EXPECT_EQ(BmpStride(5), 16);
  EXPECT_EQ(BmpStride(4), 12);
  EXPECT_EQ(BmpStride(1), 4);
  EXPECT_EQ(BmpStride(0), 0);
}

TEST_F(BmpWorld, HeadersDescribeTheFile) {
  images.NewImage(0, 5, 3, 32);
  const std::string name = directory.File("canvas.bmp");
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  const std::vector<uint8_t> file = ReadFile(name);
  ASSERT_EQ(file.size(), 54u + 16u * 3u);
  EXPECT_EQ(file[0], 'B');
  EXPECT_EQ(file[1], 'M');
  EXPECT_EQ(Field32(file, 2), file.size());
  EXPECT_EQ(Field32(file, 6), 0u);
  EXPECT_EQ(Field32(file, 10), 54u);
  EXPECT_EQ(Field32(file, 14), 40u);
  EXPECT_EQ(Field32(file, 18), 5u);
  EXPECT_EQ(Field32(file, 22), 3u);
  EXPECT_EQ(Field16(file, 26), 1);
  EXPECT_EQ(Field16(file, 28), 24);
  EXPECT_EQ(Field32(file, 30), 0u);
  EXPECT_EQ(Field32(file, 34), 48u);
  for (size_t at = 38; at < 54; at += 4) {
    EXPECT_EQ(Field32(file, at), 0u) << at;
  }
}

TEST_F(BmpWorld, OpaqueCanvasKeepsItsColoursBottomRowFirst) {
  images.NewImage(0, 5, 2, 32);
  for (int32_t y = 0; y < 2; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      SetPixel32(0, x, y, static_cast<uint8_t>(10 * x + 1), static_cast<uint8_t>(100 + y),
                 static_cast<uint8_t>(200 + x + y), 255);
    }
  }
  const std::string name = directory.File("canvas.bmp");
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  const std::vector<uint8_t> file = ReadFile(name);
  ASSERT_EQ(file.size(), 54u + 32u);
  for (int32_t row = 0; row < 2; ++row) {
    const int32_t y = 1 - row;  // the bottom row comes first
    for (int32_t x = 0; x < 5; ++x) {
      const size_t at = 54 + static_cast<size_t>(row * 16 + x * 3);
      EXPECT_EQ(file[at], 10 * x + 1);
      EXPECT_EQ(file[at + 1], 100 + y);
      EXPECT_EQ(file[at + 2], 200 + x + y);
    }
    EXPECT_EQ(file[54 + static_cast<size_t>(row * 16 + 15)], 0) << "padding is zero";
  }
}

TEST_F(BmpWorld, AlphaIsFlattenedOntoWhite) {
  const uint8_t pixels[] = {
      100, 0,   50,  128,  // blue 100 at alpha 128
      10,  20,  30,  0,    // anything at alpha 0
      0,   0,   0,   255,  // opaque black
      255, 255, 255, 1,
  };
  const std::string name = directory.File("alpha.bmp");
  ASSERT_EQ(
      writer.WriteImageFile(name.c_str(), Bottom(pixels, 16, 4, 1, platform::PixelLayout::Bgra32),
                            ImageFileFormat::Bmp),
      1);
  const std::vector<uint8_t> file = ReadFile(name);
  ASSERT_EQ(file.size(), 54u + 12u);
  EXPECT_EQ(file[54], 177);
  EXPECT_EQ(file[55], (-255 * 128 + 65025) / 255);
  EXPECT_EQ(file[56], ((50 - 255) * 128 + 65025) / 255);
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 57, file.begin() + 60),
            (std::vector<uint8_t>{255, 255, 255}));
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 60, file.begin() + 63),
            (std::vector<uint8_t>{0, 0, 0}));
  EXPECT_EQ(file[63], 255);
}

TEST_F(BmpWorld, HeightZeroWritesHeadersOnly) {
  const std::string name = directory.File("empty.bmp");
  ASSERT_EQ(
      writer.WriteImageFile(name.c_str(), Bottom(nullptr, 0, 7, 0, platform::PixelLayout::Bgra32),
                            ImageFileFormat::Bmp),
      1);
  const std::vector<uint8_t> file = ReadFile(name);
  ASSERT_EQ(file.size(), 54u);
  EXPECT_EQ(Field32(file, 2), 54u);
  EXPECT_EQ(Field32(file, 18), 7u);
  EXPECT_EQ(Field32(file, 34), 0u);
}

TEST_F(BmpWorld, TwentyFourBitRowsOfTheFileStrideGoInOneWrite) {
  std::vector<uint8_t> pixels(12 * 3);
  for (size_t i = 0; i < pixels.size(); ++i) {
    pixels[i] = static_cast<uint8_t>(i);
  }
  const std::string name = directory.File("block.bmp");
  ASSERT_EQ(writer.WriteImageFile(name.c_str(),
                                  Bottom(pixels.data(), 12, 4, 3, platform::PixelLayout::Bgr24),
                                  ImageFileFormat::Bmp),
            1);
  EXPECT_EQ(files.writes.back(), 36u);
  const std::vector<uint8_t> file = ReadFile(name);
  ASSERT_EQ(file.size(), 54u + 36u);
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()), pixels);
}

TEST_F(BmpWorld, WiderSourceRowsGoRowByRow) {
  std::vector<uint8_t> pixels(20 * 2, 0xEE);  // rows of 3 pixels, 20 bytes apart
  for (int32_t r = 0; r < 2; ++r) {
    for (int32_t i = 0; i < 9; ++i) {
      pixels[static_cast<size_t>(r * 20 + i)] = static_cast<uint8_t>(r * 9 + i);
    }
  }
  const std::string name = directory.File("rows.bmp");
  ASSERT_EQ(writer.WriteImageFile(name.c_str(),
                                  Bottom(pixels.data(), 20, 3, 2, platform::PixelLayout::Bgr24),
                                  ImageFileFormat::Bmp),
            1);
  const std::vector<uint8_t> file = ReadFile(name);
  ASSERT_EQ(file.size(), 54u + 24u);
  for (int32_t r = 0; r < 2; ++r) {
    for (int32_t i = 0; i < 9; ++i) {
      EXPECT_EQ(file[54 + static_cast<size_t>(r * 12 + i)], r * 9 + i);
    }
    for (int32_t i = 9; i < 12; ++i) {
      EXPECT_EQ(file[54 + static_cast<size_t>(r * 12 + i)], 0) << "padding, not source bytes";
    }
  }
  EXPECT_EQ(files.writes.size(), 1u + 2u) << "headers, then one write per row";
}

TEST_F(BmpWorld, ShallowImagesGoThroughTwentyFourBitRows) {
  images.NewImage(3, 3, 2, 16);
  const uint16_t red = 31u << 10;
  std::memcpy(Pixel(3, 1, 0), &red, 2);  // top row, middle pixel
  images.NewImage(4, 5, 1, 8);
  const std::string sixteen = directory.File("sixteen.bmp");
  const std::string eight = directory.File("eight.bmp");
  const size_t heapBlocks = heap.LiveBlockCount();
  ASSERT_EQ(writer.SaveImageBmp(3, sixteen.c_str()), 1);
  ASSERT_EQ(writer.SaveImageBmp(4, eight.c_str()), 1);
  EXPECT_EQ(heap.LiveBlockCount(), heapBlocks) << "the conversion block went back";
  EXPECT_EQ(gdi.LiveObjectCount(), 2) << "no DC left over";

  const std::vector<uint8_t> file = ReadFile(sixteen);
  ASSERT_EQ(file.size(), 54u + 12u * 2u);
  EXPECT_EQ(Field16(file, 28), 24);
  const size_t top = 54 + 12;  // second row in the file
  EXPECT_EQ(std::vector<uint8_t>(file.begin() + top, file.begin() + top + 9),
            (std::vector<uint8_t>{0, 0, 0, 0, 0, 255, 0, 0, 0}));
  const std::vector<uint8_t> black = ReadFile(eight);
  ASSERT_EQ(black.size(), 54u + 16u);
  for (size_t i = 54; i < black.size(); ++i) {
    EXPECT_EQ(black[i], 0) << i;
  }
}

TEST_F(BmpWorld, MissingImageOrNameWritesNothing) {
  images.NewImage(0, 2, 2, 32);
  const std::string name = directory.File("five.bmp");
  EXPECT_EQ(writer.SaveImageBmp(5, name.c_str()), 0);
  EXPECT_EQ(writer.SaveImageBmp(0, ""), 0);
  EXPECT_EQ(writer.SaveImageBmp(0, nullptr), 0);
  EXPECT_EQ(writer.WriteImageFile("", Bottom(nullptr, 0, 1, 0, platform::PixelLayout::Bgr24),
                                  ImageFileFormat::Bmp),
            0);
  EXPECT_EQ(directory.EntryCount(), 0u);
  EXPECT_TRUE(files.writes.empty());
}

TEST_F(BmpWorld, NoMemoryForTheConversionWritesNothing) {
  images.NewImage(1, 64, 64, 8);
  heap.FailRequestsAbove(1024);
  const std::string name = directory.File("nomemory.bmp");
  EXPECT_EQ(writer.SaveImageBmp(1, name.c_str()), 0);
  EXPECT_EQ(directory.EntryCount(), 0u);
}

TEST_F(BmpWorld, NoRowBufferKeepsAnEarlierFile) {
  images.NewImage(0, 300, 1, 32);
  const std::string name = directory.File("rowbuffer.bmp");
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  const std::vector<uint8_t> before = ReadFile(name);
  heap.FailRequestsAbove(100);
  EXPECT_EQ(writer.SaveImageBmp(0, name.c_str()), 0);
  EXPECT_EQ(ReadFile(name), before);
  EXPECT_EQ(directory.EntryCount(), 1u);
}

}  // namespace
}  // namespace drawing::image
