// Writing whole files safely: data goes to a temporary file beside the
// target, and only a completely written and flushed file replaces the target.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "platform/port_result.h"

namespace drawing::platform {

class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // False when not every byte was written.
  DRAWING_NODISCARD virtual bool Write(const void* data, size_t size) = 0;
  // Flushes and moves the file over its target name; false on failure (the
  // temporary file is then removed and the target left as it was).
  DRAWING_NODISCARD virtual bool Commit() = 0;
  // Removes the temporary file; the target is untouched. Also done by the
  // destructor when Commit was not reached.
  virtual void Discard() = 0;
};

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Creates a temporary file in the directory of `path`; null when it cannot
  // be created (bad directory, no rights).
  DRAWING_NODISCARD virtual std::unique_ptr<OutputFile> CreateReplacing(
      const std::string& path) = 0;
  // Why the most recent failed CreateReplacing, Write or Commit of this file
  // system failed, in the system's words (e.g. "Permission denied"); empty
  // while nothing has failed. Files must not outlive their file system.
  const std::string& LastFailure() const { return lastFailure_; }
  // What the user should know about the most recent CreateReplacing besides
  // that it will write the file (e.g. that other hard links keep the earlier
  // picture); empty when nothing.
  const std::string& LastNote() const { return lastNote_; }

 protected:
  std::string lastFailure_;
  std::string lastNote_;
};

}  // namespace drawing::platform
