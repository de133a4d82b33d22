// Frames as a YUV4MPEG2 stream, the raw format video tools such as ffmpeg
// read from a pipe: 4:2:0 with the chroma of each 2x2 block centred
// (C420jpeg), 60 frames per second, square pixels, progressive. Colours are
// converted with the BT.709 matrix to limited range (Y 16..235, Cb and Cr
// 16..240), which the header states (XCOLORRANGE=LIMITED). Each frame goes out
// as it is converted, a row at a time: memory does not grow with the frames
// or with their number. Where the bytes go is the caller's.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "platform/pixels.h"

namespace drawing::image {

class VideoStream {
 public:
  // `write` takes the next bytes of the stream; false when they could not be
  // written, which ends the stream.
  using Writer = std::function<bool(const void* data, size_t size)>;

  VideoStream(int32_t width, int32_t height, Writer write);

  // The stream's header line, written before the first frame.
  static std::string Header(int32_t width, int32_t height);

  // Writes the header line; once, before the first frame.
  bool WriteHeader();

  // Appends one frame of width x height 4-byte pixels (blue, green, red,
  // unused). False once a write failed, and for a frame of another size or
  // layout.
  bool WriteFrame(const platform::ConstRows& frame);

  uint32_t FramesWritten() const { return frames_; }

 private:
  bool WriteLuma(const platform::ConstRows& frame);
  bool WriteChroma(const platform::ConstRows& frame, bool red);

  int32_t width_;
  int32_t height_;
  Writer write_;
  std::vector<uint8_t> row_;
  uint32_t frames_ = 0;
  bool failed_ = false;
};

}  // namespace drawing::image
