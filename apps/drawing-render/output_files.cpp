#include "output_files.h"

#include <filesystem>
#include <system_error>
#include <vector>

#include "app/message_text.h"

namespace drawing::render {

std::string WhyNotWritable(platform::FileSystem& files, const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(path, error)) {
    return "it is a directory";
  }
  std::unique_ptr<platform::OutputFile> probe = files.CreateReplacing(path);
  if (probe == nullptr) {
    return files.LastFailure().empty() ? "cannot create it" : files.LastFailure();
  }
  probe->Discard();
  return {};
}

bool WriteScreen(image::ImageWriter& writer, const platform::ConstRows& screen,
                 const app::RenderOptions& options) {
  std::vector<uint8_t> blackRow;
  platform::ConstRows rows = screen;
  if (screen.first == nullptr || screen.width != options.width || screen.height != options.height ||
      screen.layout != platform::PixelLayout::Bgrx32) {
    blackRow.assign(static_cast<size_t>(options.width) * 4, 0);
    // Step 0: every row is this one.
    rows = platform::ConstRows::TopDown(blackRow.data(), 0, options.width, options.height,
                                        platform::PixelLayout::Bgrx32);
  }
  return writer.WriteImageFile(options.screen.c_str(), rows,
                               image::FormatForName(options.screen)) != 0;
}

std::string WriteFailure(const std::string& name, const std::string& reason) {
  return "cannot write " + app::Quoted(name) + (reason.empty() ? "" : ": " + reason);
}

}  // namespace drawing::render
