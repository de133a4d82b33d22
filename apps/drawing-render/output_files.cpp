#include "output_files.h"

#include <array>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>
#include <vector>

#include "app/message_text.h"
#include "file_names.h"
#include "image/png_encoder.h"

namespace drawing::render {
namespace {

namespace fs = std::filesystem;

// What a name will be once the run writes or reads it: the file itself when
// there is one, else the directory it will be made in and its name in it.
struct FileIdentity {
  fs::path existing;
  fs::path directory;
  fs::path name;
};

std::optional<FileIdentity> IdentityOf(const std::string& spelling) {
  std::error_code error;
  const fs::path path = PathFromUtf8(spelling);
  if (fs::exists(path, error)) {
    // Writing a device twice (/dev/null) overwrites nothing.
    if (fs::is_character_file(path, error)) {
      return std::nullopt;
    }
    return FileIdentity{path, {}, {}};
  }
  const fs::path directory = path.parent_path().empty() ? fs::path(".") : path.parent_path();
  return FileIdentity{{}, directory, path.filename()};
}

bool SameFile(const FileIdentity& a, const FileIdentity& b) {
  std::error_code error;
  if (!a.existing.empty() || !b.existing.empty()) {
    return !a.existing.empty() && !b.existing.empty() &&
           fs::equivalent(a.existing, b.existing, error);
  }
  return a.name == b.name && fs::equivalent(a.directory, b.directory, error);
}

// ".png" or ".bmp" in any case, or no extension at all (a BMP: /dev/stdout).
bool WritablePictureName(const std::string& name) {
  const fs::path extension = PathFromUtf8(name).filename().extension();
  const std::u8string text = extension.u8string();
  std::string lower(text.begin(), text.end());
  for (char& c : lower) {
    c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
  }
  return lower.empty() || lower == ".bmp" || lower == ".png";
}

std::string PictureFormats() {
  return image::PngAvailable()
             ? "pictures are written as PNG (.png) or BMP (.bmp, or a name without an extension)"
             : "pictures are written as BMP (.bmp, or a name without an extension)";
}

}  // namespace

std::string OutputsProblem(const app::RenderOptions& options) {
  if (options.out.empty() && options.screen.empty() && options.video.empty()) {
    return "nothing to write: name the canvas's file with --out FILE, or give --screen FILE or "
           "--video FILE";
  }
  const std::array<std::pair<const char*, const std::string*>, 4> files{{
      {"--input", &options.inputScript},
      {"--out", &options.out},
      {"--screen", &options.screen},
      {"--video", &options.video},
  }};
  for (size_t i = 0; i < files.size(); ++i) {
    for (size_t j = i + 1; j < files.size(); ++j) {
      const std::string& a = *files[i].second;
      const std::string& b = *files[j].second;
      if (a.empty() || b.empty() || a == "-" || b == "-") {
        continue;
      }
      const std::optional<FileIdentity> first = IdentityOf(a);
      const std::optional<FileIdentity> second = IdentityOf(b);
      if (first && second && SameFile(*first, *second)) {
        return std::string(files[i].first) + " " + app::Quoted(a) + " and " + files[j].first + " " +
               app::Quoted(b) + " name the same file";
      }
    }
  }
  for (const std::string* name : {&options.out, &options.screen}) {
    if (name->empty()) {
      continue;
    }
    if (image::FormatForName(*name) == image::ImageFileFormat::Png && !image::PngAvailable()) {
      return "cannot write " + app::Quoted(*name) + ": " + image::PngUnavailableReason();
    }
    if (!WritablePictureName(*name)) {
      return "cannot write " + app::Quoted(*name) + ": " + PictureFormats();
    }
  }
  return {};
}

std::string WhyNotWritable(platform::FileSystem& files, const std::string& path) {
  std::error_code error;
  if (std::filesystem::is_directory(PathFromUtf8(path), error)) {
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
