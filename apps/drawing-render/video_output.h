// Where --video sends its stream: a file, written the safe way (a temporary
// beside it, in place only when the run ends), or standard output ('-') for
// a pipe into a video tool.
#pragma once

#include <cstdio>
#include <memory>
#include <string>

#include "image/video_stream.h"
#include "platform/file_system.h"

namespace drawing::render {

class VideoOutput {
 public:
  // Opens `name` ('-': standard output); check Failed() afterwards.
  VideoOutput(platform::FileSystem& files, const std::string& name, int32_t width, int32_t height);

  // Appends one frame (see VideoStream::WriteFrame); false once writing failed.
  bool WriteFrame(const platform::ConstRows& frame);
  // Flushes and puts the file in place; false on failure.
  bool Finish();

  bool Failed() const { return failed_; }
  // Why writing failed, in the system's words where it gave any.
  const std::string& Reason() const { return reason_; }
  // "'film.y4m'" or "standard output", for messages.
  std::string Destination() const;
  uint32_t Frames() const { return stream_.FramesWritten(); }

 private:
  bool Write(const void* data, size_t size);
  void Fail(const std::string& reason);

  platform::FileSystem& files_;
  std::string name_;
  std::unique_ptr<platform::OutputFile> file_;  // null for standard output
  std::FILE* pipe_ = nullptr;
  image::VideoStream stream_;
  bool failed_ = false;
  std::string reason_;
};

}  // namespace drawing::render
