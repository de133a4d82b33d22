#include "platform/soft/std_file_system.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <random>
#include <system_error>

namespace drawing::platform::soft {
namespace {

constexpr int kNameAttempts = 64;

std::string SystemReason(int error) {
  return error == 0 ? "unknown error" : std::generic_category().message(error);
}

class StdOutputFile : public OutputFile {
 public:
  StdOutputFile(std::FILE* file, std::filesystem::path temporary, std::filesystem::path target,
                std::string& failure)
      : file_(file),
        temporary_(std::move(temporary)),
        target_(std::move(target)),
        failure_(failure) {}
  ~StdOutputFile() override { Discard(); }
  StdOutputFile(const StdOutputFile&) = delete;
  StdOutputFile& operator=(const StdOutputFile&) = delete;

  bool Write(const void* data, size_t size) override {
    if (file_ == nullptr || failed_) {
      return false;
    }
    errno = 0;
    if (size != 0 && std::fwrite(data, 1, size, file_) != size) {
      failed_ = true;
      failure_ = SystemReason(errno);
    }
    return !failed_;
  }

  bool Commit() override {
    if (file_ == nullptr) {
      return false;
    }
    errno = 0;
    const bool flushed = !failed_ && std::fflush(file_) == 0;
    if (!failed_ && !flushed) {
      failure_ = SystemReason(errno);
    }
    errno = 0;
    const bool closed = std::fclose(file_) == 0;
    if (flushed && !closed) {
      failure_ = SystemReason(errno);
    }
    file_ = nullptr;
    std::error_code error;
    if (flushed && closed) {
      std::filesystem::rename(temporary_, target_, error);
      if (!error) {
        return true;
      }
      failure_ = error.message();
    }
    std::filesystem::remove(temporary_, error);
    return false;
  }

  void Discard() override {
    if (file_ == nullptr) {
      return;
    }
    std::fclose(file_);
    file_ = nullptr;
    std::error_code error;
    std::filesystem::remove(temporary_, error);
  }

 private:
  std::FILE* file_;
  bool failed_ = false;
  std::filesystem::path temporary_;
  std::filesystem::path target_;
  std::string& failure_;
};

}  // namespace

std::unique_ptr<OutputFile> StdFileSystem::CreateReplacing(const std::string& path) {
  const std::filesystem::path target(path);
  if (path.empty() || !target.has_filename()) {
    lastFailure_ = "no file name";
    return nullptr;
  }
  // A hidden name beside the target, so the rename stays within one directory.
  std::random_device seed;
  std::minstd_rand numbers(seed());
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    std::filesystem::path temporary = target;
    temporary.replace_filename("." + target.filename().string() + "." + std::to_string(numbers()) +
                               ".tmp");
    errno = 0;
    // "x": fail rather than reuse a name that already exists.
    if (std::FILE* file = std::fopen(temporary.string().c_str(), "wbx")) {
      return std::make_unique<StdOutputFile>(file, std::move(temporary), target, lastFailure_);
    }
    if (errno != EEXIST) {
      lastFailure_ = SystemReason(errno);
      return nullptr;
    }
  }
  lastFailure_ = SystemReason(EEXIST);
  return nullptr;
}

}  // namespace drawing::platform::soft
