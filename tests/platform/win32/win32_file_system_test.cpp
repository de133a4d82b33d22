// The native file port: a file is replaced only by a completely written one,
// and no temporary file is left behind either way.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/win32/win32_file_system.h"

namespace drawing::platform {
namespace {

namespace fs = std::filesystem;

class Win32FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    directory = fs::temp_directory_path() / (std::string("drawing-win32-") + info->name());
    fs::remove_all(directory);
    fs::create_directories(directory);
    target = (directory / "bild.bmp").string();
  }
  void TearDown() override { fs::remove_all(directory); }

  static std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  static void WriteDirectly(const std::string& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
  }
  int EntriesInDirectory() const {
    return static_cast<int>(std::distance(fs::directory_iterator(directory), {}));
  }

  win32::Win32FileSystem files;
  fs::path directory;
  std::string target;
};

TEST_F(Win32FileSystemTest, CommitCreatesTheTargetWithTheWrittenBytes) {
  auto file = files.CreateReplacing(target);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("BM", 2));
  EXPECT_TRUE(file->Write("\0\1\2", 3));
  EXPECT_TRUE(file->Commit());
  EXPECT_EQ(Read(target), std::string("BM\0\1\2", 5));
  EXPECT_EQ(EntriesInDirectory(), 1);
}

TEST_F(Win32FileSystemTest, CommitReplacesAnExistingFile) {
  WriteDirectly(target, "an older and longer picture");
  auto file = files.CreateReplacing(target);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("new", 3));
  EXPECT_TRUE(file->Commit());
  EXPECT_EQ(Read(target), "new");
  EXPECT_EQ(EntriesInDirectory(), 1);
}

TEST_F(Win32FileSystemTest, TheTargetIsUntouchedUntilCommit) {
  WriteDirectly(target, "old");
  auto file = files.CreateReplacing(target);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("partial", 7));
  EXPECT_EQ(Read(target), "old");
  EXPECT_EQ(EntriesInDirectory(), 2);  // the target and the temporary file
  file->Discard();
  EXPECT_EQ(Read(target), "old");
  EXPECT_EQ(EntriesInDirectory(), 1);
}

TEST_F(Win32FileSystemTest, DroppingAnUncommittedFileRemovesTheTemporary) {
  {
    auto file = files.CreateReplacing(target);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->Write("x", 1));
  }
  EXPECT_FALSE(fs::exists(target));
  EXPECT_EQ(EntriesInDirectory(), 0);
}

TEST_F(Win32FileSystemTest, WritesAfterCommitOrDiscardFail) {
  auto file = files.CreateReplacing(target);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Commit());
  EXPECT_FALSE(file->Write("x", 1));
  EXPECT_FALSE(file->Commit());
  EXPECT_EQ(Read(target), "");
}

TEST_F(Win32FileSystemTest, TwoOpenFilesForOneTargetUseDistinctTemporaries) {
  auto first = files.CreateReplacing(target);
  auto second = files.CreateReplacing(target);
  ASSERT_NE(first, nullptr);
  ASSERT_NE(second, nullptr);
  EXPECT_TRUE(first->Write("first", 5));
  EXPECT_TRUE(second->Write("second", 6));
  EXPECT_TRUE(first->Commit());
  EXPECT_TRUE(second->Commit());
  EXPECT_EQ(Read(target), "second");
  EXPECT_EQ(EntriesInDirectory(), 1);
}

TEST_F(Win32FileSystemTest, AMissingDirectoryGivesNoFile) {
  EXPECT_EQ(files.CreateReplacing((directory / "missing" / "bild.bmp").string()), nullptr);
  EXPECT_EQ(files.CreateReplacing((directory / "").string()), nullptr);
  EXPECT_EQ(files.CreateReplacing(""), nullptr);
}

TEST_F(Win32FileSystemTest, ABareNameLandsInTheWorkingDirectory) {
  const fs::path previous = fs::current_path();
  fs::current_path(directory);
  auto file = files.CreateReplacing("bild.bmp");
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("here", 4));
  EXPECT_TRUE(file->Commit());
  fs::current_path(previous);
  EXPECT_EQ(Read(target), "here");
}

}  // namespace
}  // namespace drawing::platform
