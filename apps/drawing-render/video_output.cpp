#include "video_output.h"

#include <cerrno>
#include <system_error>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#endif

#include "app/message_text.h"

namespace drawing::render {
namespace {

std::string SystemReason(int error, const char* fallback) {
  return error != 0 ? std::error_code(error, std::generic_category()).message() : fallback;
}

}  // namespace

VideoOutput::VideoOutput(platform::FileSystem& files, const std::string& name, int32_t width,
                         int32_t height)
    : files_(files),
      name_(name),
      stream_(width, height, [this](const void* data, size_t size) { return Write(data, size); }) {
  if (name == "-") {
#ifdef _WIN32
    _setmode(_fileno(stdout), _O_BINARY);  // no line-end translation in the stream
#endif
    pipe_ = stdout;
  } else {
    file_ = files.CreateReplacing(name);
    if (file_ == nullptr) {
      Fail(files.LastFailure());
      return;
    }
  }
  stream_.WriteHeader();
}

std::string VideoOutput::Destination() const {
  return pipe_ != nullptr ? "standard output" : app::Quoted(name_);
}

void VideoOutput::Fail(const std::string& reason) {
  if (!failed_) {
    failed_ = true;
    reason_ = reason;
  }
}

bool VideoOutput::Write(const void* data, size_t size) {
  errno = 0;
  const bool written =
      pipe_ != nullptr ? std::fwrite(data, 1, size, pipe_) == size : file_->Write(data, size);
  if (!written) {
    Fail(SystemReason(errno, "write failed"));
  }
  return written;
}

bool VideoOutput::WriteFrame(const platform::ConstRows& frame) {
  return !failed_ && stream_.WriteFrame(frame);
}

bool VideoOutput::Finish() {
  if (failed_) {
    if (file_ != nullptr) {
      file_->Discard();
    }
    return false;
  }
  if (file_ != nullptr) {
    if (!file_->Commit()) {
      Fail(files_.LastFailure());
      return false;
    }
    return true;
  }
  errno = 0;
  if (std::fflush(pipe_) != 0) {
    Fail(SystemReason(errno, "write failed"));
    return false;
  }
  return true;
}

}  // namespace drawing::render
