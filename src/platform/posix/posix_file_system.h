// Saving files on POSIX systems. A regular file is replaced in one step: the
// data goes to a temporary file beside it, which is flushed to the disk
// (fsync), given the old file's mode and owner, renamed over the target, and
// the directory flushed too. A symbolic link is followed and its target
// replaced. A character device or a FIFO is written through, since replacing
// it would take the device away (the system's /dev/null, say); block devices
// and sockets are refused. Leftover temporaries of the same target from a
// save that was killed are removed by the next save.
//
// A file with more than one hard link is replaced like any other, so the
// other names keep the earlier picture: keeping the link would mean
// rewriting the file in place, where a full disk or a crash half-way would
// ruin the only copy.
#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "platform/file_system.h"

namespace drawing::platform::posix {

class PosixFileSystem final : public platform::FileSystem {
 public:
  std::unique_ptr<OutputFile> CreateReplacing(const std::string& path) override;

 private:
  std::unique_ptr<OutputFile> Refuse(const std::string& reason);

  uint32_t serial_ = 0;  // makes each temporary name of this process distinct
};

}  // namespace drawing::platform::posix
