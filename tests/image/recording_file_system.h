// A file system over the real one that records every write and can fail a
// write once a byte budget is used up (writing the bytes that still fit) as
// a full disk would.
#pragma once

#include <cstddef>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "platform/hosts/headless/local_file_system.h"

namespace drawing::image::testing {

class RecordingFileSystem : public platform::FileSystem {
 public:
  std::unique_ptr<platform::OutputFile> CreateReplacing(const std::string& path) override {
    std::unique_ptr<platform::OutputFile> file = real_.CreateReplacing(path);
    if (!file) {
      lastFailure_ = real_.LastFailure();
      return nullptr;
    }
    return std::make_unique<File>(*this, std::move(file));
  }

  size_t budget = std::numeric_limits<size_t>::max();  // bytes before a write fails
  std::vector<size_t> writes;                          // sizes asked for, in order

 private:
  class File : public platform::OutputFile {
   public:
    File(RecordingFileSystem& owner, std::unique_ptr<platform::OutputFile> real)
        : owner_(owner), real_(std::move(real)) {}
    bool Write(const void* data, size_t size) override {
      owner_.writes.push_back(size);
      if (written_ + size > owner_.budget) {
        // The disk fills up part way: what fits is written, and the write fails.
        platform::IgnoreResult(real_->Write(data, owner_.budget - written_));
        written_ = owner_.budget;
        owner_.lastFailure_ = "No space left on device";
        return false;
      }
      written_ += size;
      return real_->Write(data, size);
    }
    bool Commit() override {
      const bool committed = real_->Commit();
      if (!committed) {
        owner_.lastFailure_ = owner_.real_.LastFailure();
      }
      return committed;
    }
    void Discard() override { real_->Discard(); }

   private:
    RecordingFileSystem& owner_;
    std::unique_ptr<platform::OutputFile> real_;
    size_t written_ = 0;
  };

  platform::headless::LocalFileSystem real_;
};

}  // namespace drawing::image::testing
