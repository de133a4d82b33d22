// Saving files on POSIX systems, deciding as a careful system tool does
// (docs/architecture.md, "Saving"):
//
// - A regular file is replaced in one step: the data goes to a temporary file
//   beside it, which is flushed to the disk (fsync), given the old file's mode
//   and owner, renamed over the target, and the directory flushed too. The
//   target's directory is opened once and every step works relative to it
//   (openat, renameat), so the name the checks looked at is the one replaced.
// - A file the user may not write (their own of mode 0400, another user's in
//   a directory they may write) is refused with the system's reason, as a
//   shell's `echo > file` would be, rather than replaced.
// - A symbolic link is followed and its target saved, but in a sticky
//   world-writable directory (/tmp) only a link of the user's own or of the
//   directory's owner: the kernel's protected_symlinks rule, kept whatever
//   the machine's setting. Links the kernel makes (/dev/stdout, /dev/fd/N,
//   /proc/self/fd/N) are opened by the kernel, so pipes and process
//   substitutions behind them are written to.
// - A character device or a FIFO is written through, since replacing it
//   would take the device away (the system's /dev/null, say); block devices
//   and sockets are refused.
// - A file with more than one hard link is replaced like any other, so the
//   other names keep the earlier picture (LastNote says so): keeping the link
//   would mean rewriting the file in place, where a full disk or a crash
//   half-way would ruin the only copy.
//
// Leftover temporaries of the same target from a save that was killed are
// removed by the next save.
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
