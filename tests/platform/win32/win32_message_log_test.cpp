// The Windows program's messages reach a log file the user can open.
#include <gtest/gtest.h>
#include "platform/win32/win32_api.h"

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/win32/win32_message_log.h"

namespace drawing::platform::win32 {
namespace {

TEST(Win32MessageLog, LinesAreAppendedToTheLogFileWithTheTime) {
  const std::filesystem::path folder =
      std::filesystem::temp_directory_path() / ("drawing-log-" + std::to_string(GetTickCount()));
  std::filesystem::create_directories(folder);
  SetEnvironmentVariableW(L"LOCALAPPDATA", folder.wstring().c_str());
  EXPECT_EQ(Win32MessageLog::LogPath(), (folder / "drawing" / "drawing.log").wstring());
  {
    Win32MessageLog log;
    log << "drawing: cannot save 'bild.bmp': "
        << "Access denied" << std::endl;
    log << "drawing: second" << std::flush << " line\n";
  }
  std::stringstream text;
  text << std::ifstream(folder / "drawing" / "drawing.log", std::ios::binary).rdbuf();
  const std::string lines = text.str();
  const std::string first = " drawing: cannot save 'bild.bmp': Access denied\r\n";
  const std::string second = " drawing: second line\r\n";
  ASSERT_EQ(lines.size(), 19 + first.size() + 19 + second.size()) << lines;
  EXPECT_EQ(lines.substr(19, first.size()), first);
  EXPECT_EQ(lines.substr(19 + first.size() + 19), second);
  std::error_code ignored;
  std::filesystem::remove_all(folder, ignored);
}

}  // namespace
}  // namespace drawing::platform::win32
