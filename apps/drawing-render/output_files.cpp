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

bool WriteScreen(image::BmpWriter& writer, const platform::soft::FrameView& screen,
                 const app::RenderOptions& options) {
  image::PixelRows rows{nullptr, 0, options.width, options.height, image::SourcePixels::Bgrx32};
  std::vector<uint8_t> blackRow;
  if (screen.pixels != nullptr && screen.width == static_cast<uint32_t>(options.width) &&
      screen.height == static_cast<uint32_t>(options.height) &&
      screen.format == platform::Format::X8R8G8B8) {
    rows.bottom = screen.pixels + static_cast<ptrdiff_t>(screen.height - 1) * screen.pitch;
    rows.pitch = -static_cast<int64_t>(screen.pitch);
  } else {
    blackRow.assign(static_cast<size_t>(options.width) * 4, 0);
    rows.bottom = blackRow.data();  // pitch 0: every row is this one
  }
  return writer.WriteImageFile(options.screen.c_str(), rows,
                               image::FormatForName(options.screen)) != 0;
}

std::string WriteFailure(const std::string& name, const std::string& reason) {
  return "cannot write " + app::Quoted(name) + (reason.empty() ? "" : ": " + reason);
}

}  // namespace drawing::render
