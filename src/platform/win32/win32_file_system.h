// Whole-file replacement with KERNEL32's file calls: a temporary file beside
// the target, flushed, then moved over the target in one step. Leftover
// temporaries of the same target from a save that was killed are removed by
// the next save.
#pragma once

#include "platform/file_system.h"

namespace drawing::platform::win32 {

class Win32FileSystem final : public FileSystem {
 public:
  std::unique_ptr<OutputFile> CreateReplacing(const std::string& path) override;

 private:
  uint32_t created_ = 0;  // makes each temporary name of this process distinct
};

}  // namespace drawing::platform::win32
