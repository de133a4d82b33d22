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

bool VideoStream::WriteFrame(const platform::ConstRows& frame) {
  if (failed_ || frame.width != width_ || frame.height != height_ ||
      platform::BytesPerPixel(frame.layout) != 4 || (frame.first == nullptr && !frame.Empty())) {
    return false;
  }
  static constexpr char kFrame[] = "FRAME\n";
  const bool written = write_(kFrame, sizeof kFrame - 1) && WriteLuma(frame) &&
                       WriteChroma(frame, false) && WriteChroma(frame, true);
  failed_ = !written;
  frames_ += written ? 1 : 0;
  return written;
}

bool VideoStream::WriteLuma(const platform::ConstRows& frame) {
  row_.resize(static_cast<size_t>(width_));
  for (int32_t y = 0; y < height_; ++y) {
    const uint8_t* __restrict source = frame.Row(y);
    uint8_t* __restrict out = row_.data();
    for (int32_t x = 0; x < width_; ++x) {
      out[x] = Luma(source + static_cast<ptrdiff_t>(x) * 4);
    }
    if (!write_(row_.data(), row_.size())) {
      return false;
    }
  }
  return true;
}

// Each chroma sample from the mean colour of its 2x2 block (of the pixels
// there are, at an odd right or bottom edge).
bool VideoStream::WriteChroma(const platform::ConstRows& frame, bool red) {
  const int32_t chromaWidth = (width_ + 1) / 2;
  row_.resize(static_cast<size_t>(chromaWidth));
  const int32_t r = red ? kCrR : kCbR, g = red ? kCrG : kCbG, b = red ? kCrB : kCbB;
  for (int32_t cy = 0; cy < (height_ + 1) / 2; ++cy) {
    const uint8_t* __restrict top = frame.Row(2 * cy);
    // A missing bottom row counts the top one twice: the same mean.
    const uint8_t* __restrict bottom = 2 * cy + 1 < height_ ? frame.Row(2 * cy + 1) : top;
    uint8_t* __restrict out = row_.data();
    for (int32_t cx = 0; cx < chromaWidth; ++cx) {
      const uint8_t* p = top + static_cast<ptrdiff_t>(cx) * 8;
      const uint8_t* q = bottom + static_cast<ptrdiff_t>(cx) * 8;
      // A missing right column likewise counts the left one twice.
      const ptrdiff_t right = 2 * cx + 1 < width_ ? 4 : 0;
      const int32_t blue = p[0] + p[right] + q[0] + q[right];
      const int32_t green = p[1] + p[right + 1] + q[1] + q[right + 1];
      const int32_t redSum = p[2] + p[right + 2] + q[2] + q[right + 2];
      // Four pixels' sums in 16.16: the mean is a further shift by 2. The
      // coefficients of a row add up to 0, so the result stays in 16..240.
      const int32_t value = r * redSum + g * green + b * blue;
      out[cx] = static_cast<uint8_t>(128 + ((value + (kHalf << 2)) >> 18));
    }
    if (!write_(row_.data(), row_.size())) {
      return false;
    }
  }
  return true;
}

}  // namespace drawing::image
