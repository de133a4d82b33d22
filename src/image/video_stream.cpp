#include "image/video_stream.h"

namespace drawing::image {
namespace {

// BT.709 limited range in 16.16 fixed point: Y = 16 + 219/255 * (0.2126 R +
// 0.7152 G + 0.0722 B); Cb and Cr = 128 + 224/255 * (B - Y') / 1.8556 and
// (R - Y') / 1.5748, Y' being the unscaled luma.
constexpr int32_t Fixed(double value) {
  return static_cast<int32_t>(value * 65536.0 + (value < 0 ? -0.5 : 0.5));
}
constexpr double kRed = 0.2126, kGreen = 0.7152, kBlue = 0.0722;
constexpr double kLumaScale = 219.0 / 255.0, kChromaScale = 224.0 / 255.0;
constexpr double kBlueScale = kChromaScale / (2.0 * (1.0 - kBlue));
constexpr double kRedScale = kChromaScale / (2.0 * (1.0 - kRed));

constexpr int32_t kYr = Fixed(kLumaScale * kRed), kYg = Fixed(kLumaScale * kGreen),
                  kYb = Fixed(kLumaScale * kBlue);
constexpr int32_t kCbR = Fixed(-kBlueScale * kRed), kCbG = Fixed(-kBlueScale * kGreen),
                  kCbB = Fixed(kBlueScale * (1.0 - kBlue));
constexpr int32_t kCrR = Fixed(kRedScale * (1.0 - kRed)), kCrG = Fixed(-kRedScale * kGreen),
                  kCrB = Fixed(-kRedScale * kBlue);
constexpr int32_t kHalf = 1 << 15;

uint8_t Luma(const uint8_t* bgr) {
  return static_cast<uint8_t>(16 + ((kYr * bgr[2] + kYg * bgr[1] + kYb * bgr[0] + kHalf) >> 16));
}

}  // namespace

VideoStream::VideoStream(int32_t width, int32_t height, Writer write)
    : width_(width), height_(height), write_(std::move(write)) {}

std::string VideoStream::Header(int32_t width, int32_t height) {
  return "YUV4MPEG2 W" + std::to_string(width) + " H" + std::to_string(height) +
         " F60:1 Ip A1:1 C420jpeg XCOLORRANGE=LIMITED\n";
}

bool VideoStream::WriteHeader() {
  const std::string header = Header(width_, height_);
  failed_ = failed_ || !write_(header.data(), header.size());
  return !failed_;
}

bool VideoStream::WriteFrame(const uint8_t* pixels, int32_t pitch) {
  if (failed_) {
    return false;
  }
  static constexpr char kFrame[] = "FRAME\n";
  const bool written = write_(kFrame, sizeof kFrame - 1) && WriteLuma(pixels, pitch) &&
                       WriteChroma(pixels, pitch, false) && WriteChroma(pixels, pitch, true);
  failed_ = !written;
  frames_ += written ? 1 : 0;
  return written;
}

bool VideoStream::WriteLuma(const uint8_t* pixels, int32_t pitch) {
  row_.resize(static_cast<size_t>(width_));
  for (int32_t y = 0; y < height_; ++y) {
    const uint8_t* source = pixels + static_cast<ptrdiff_t>(y) * pitch;
    for (int32_t x = 0; x < width_; ++x) {
      row_[static_cast<size_t>(x)] = Luma(source + static_cast<ptrdiff_t>(x) * 4);
    }
    if (!write_(row_.data(), row_.size())) {
      return false;
    }
  }
  return true;
}

// Each chroma sample from the mean colour of its 2x2 block (of the pixels
// there are, at an odd right or bottom edge).
bool VideoStream::WriteChroma(const uint8_t* pixels, int32_t pitch, bool red) {
  const int32_t chromaWidth = (width_ + 1) / 2;
  row_.resize(static_cast<size_t>(chromaWidth));
  const int32_t r = red ? kCrR : kCbR, g = red ? kCrG : kCbG, b = red ? kCrB : kCbB;
  for (int32_t cy = 0; cy < (height_ + 1) / 2; ++cy) {
    const int32_t rows = 2 * cy + 1 < height_ ? 2 : 1;
    for (int32_t cx = 0; cx < chromaWidth; ++cx) {
      const int32_t columns = 2 * cx + 1 < width_ ? 2 : 1;
      int32_t sum[3] = {0, 0, 0};
      for (int32_t dy = 0; dy < rows; ++dy) {
        const uint8_t* at = pixels + static_cast<ptrdiff_t>(2 * cy + dy) * pitch +
                            static_cast<ptrdiff_t>(2 * cx) * 4;
        for (int32_t dx = 0; dx < columns; ++dx) {
          sum[0] += at[dx * 4];
          sum[1] += at[dx * 4 + 1];
          sum[2] += at[dx * 4 + 2];
        }
      }
      const int32_t count = rows * columns;
      // The block's mean in 16.16, then the matrix row; the sum of a row's
      // coefficients is 0, so the result stays within 16..240.
      const int64_t value = (static_cast<int64_t>(r) * sum[2] + static_cast<int64_t>(g) * sum[1] +
                             static_cast<int64_t>(b) * sum[0]) /
                            count;
      row_[static_cast<size_t>(cx)] = static_cast<uint8_t>(128 + ((value + kHalf) >> 16));
    }
    if (!write_(row_.data(), row_.size())) {
      return false;
    }
  }
  return true;
}

}  // namespace drawing::image
