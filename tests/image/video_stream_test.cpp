// The YUV4MPEG2 stream's bytes: header, frame marker, planes, and the
// BT.709 limited-range values of known colours.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/video_stream.h"

namespace drawing::image {
namespace {

struct Collected {
  std::string bytes;
  size_t budget = std::string::npos;  // bytes before writes fail
  VideoStream::Writer Writer() {
    return [this](const void* data, size_t size) {
      if (bytes.size() + size > budget) {
        return false;
      }
      bytes.append(static_cast<const char*>(data), size);
      return true;
    };
  }
};

// A frame of one colour (blue, green, red bytes), 4 bytes a pixel.
std::vector<uint8_t> Frame(int32_t width, int32_t height, uint8_t b, uint8_t g, uint8_t r) {
  std::vector<uint8_t> pixels;
  for (int32_t i = 0; i < width * height; ++i) {
    pixels.insert(pixels.end(), {b, g, r, 0});
  }
  return pixels;
}

platform::ConstRows FrameRows(const std::vector<uint8_t>& frame, int32_t width, int32_t height) {
  return platform::ConstRows::TopDown(frame.data(), static_cast<ptrdiff_t>(width) * 4, width,
                                      height, platform::PixelLayout::Bgrx32);
}

TEST(VideoStream, KnownColoursInLimitedRange) {
  struct Case {
    uint8_t b, g, r;
    uint8_t y, cb, cr;
  };
  const Case cases[] = {{0, 0, 0, 16, 128, 128},
                        {255, 255, 255, 235, 128, 128},
                        {0, 0, 255, 63, 102, 240},
                        {0, 255, 0, 173, 42, 26},
                        {255, 0, 0, 32, 240, 118}};
  for (const Case& c : cases) {
    Collected out;
    VideoStream stream(3, 3, out.Writer());  // odd: the edge blocks are partial
    ASSERT_TRUE(stream.WriteHeader());
    const std::vector<uint8_t> frame = Frame(3, 3, c.b, c.g, c.r);
    ASSERT_TRUE(stream.WriteFrame(FrameRows(frame, 3, 3)));
    const std::string header = "YUV4MPEG2 W3 H3 F60:1 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n";
    ASSERT_EQ(out.bytes.size(), header.size() + 6 + 9 + 4 + 4);
    const std::string expected = header + "FRAME\n" + std::string(9, static_cast<char>(c.y)) +
                                 std::string(4, static_cast<char>(c.cb)) +
                                 std::string(4, static_cast<char>(c.cr));
    EXPECT_EQ(out.bytes, expected) << int(c.r) << "," << int(c.g) << "," << int(c.b);
  }
}

TEST(VideoStream, AFailedWriteEndsTheStream) {
  Collected out;
  VideoStream stream(8, 8, out.Writer());
  const std::vector<uint8_t> frame = Frame(8, 8, 1, 2, 3);
  ASSERT_TRUE(stream.WriteHeader());
  out.budget = out.bytes.size() + 6 + 64 + 16 + 16 + 10;  // one frame and a bit
  EXPECT_TRUE(stream.WriteFrame(FrameRows(frame, 8, 8)));
  EXPECT_FALSE(stream.WriteFrame(FrameRows(frame, 8, 8)));
  out.budget = std::string::npos;
  EXPECT_FALSE(stream.WriteFrame(FrameRows(frame, 8, 8))) << "nothing after a failed write";
  EXPECT_EQ(stream.FramesWritten(), 1u);
}

}  // namespace
}  // namespace drawing::image
