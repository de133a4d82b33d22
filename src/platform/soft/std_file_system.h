// Replacing files with standard C++ only: the data goes to a temporary file
// beside the target, which is renamed over the target once it is complete.
#pragma once

#include <memory>
#include <string>

#include "platform/file_system.h"

namespace drawing::platform::soft {

class StdFileSystem : public platform::FileSystem {
 public:
  std::unique_ptr<OutputFile> CreateReplacing(const std::string& path) override;
};

}  // namespace drawing::platform::soft
