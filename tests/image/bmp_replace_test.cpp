// Saving over an earlier file: only a complete file replaces it.
#include <gtest/gtest.h>

#ifdef _WIN32
#include <process.h>
#else
#include <unistd.h>
#endif

#include <cerrno>
#include <cstring>
#include <fstream>
#include <system_error>

#include "image/image_writer.h"
#include "image/png_encoder.h"
#include "image_test_support.h"
#include "platform/files/temporary_name.h"
#include "platform/hosts/headless/local_file_system.h"
#include "recording_file_system.h"

namespace drawing::image {
namespace {

using testing::ReadFile;

class BmpReplace : public testing::ImageWorld {
 protected:
  BmpReplace() : writer(images, gdi, heap, files) { images.NewImage(0, 6, 4, 32); }

  void Paint(uint8_t blue) {
    for (int32_t y = 0; y < 4; ++y) {
      for (int32_t x = 0; x < 6; ++x) {
        *Pixel(0, x, y) = blue;
      }
    }
  }

  support::ScratchDirectory directory;
  testing::RecordingFileSystem files;
  ImageWriter writer;
};

TEST_F(BmpReplace, SavingTwiceReplacesTheFirstFile) {
  const std::string name = directory.File("bild.bmp");
  Paint(10);
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  Paint(20);
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  const std::vector<uint8_t> file = ReadFile(name);
  ASSERT_EQ(file.size(), 54u + 20u * 4u);
  EXPECT_EQ(file[54], 20);
  EXPECT_EQ(directory.EntryCount(), 1u) << "no temporary file left";
}

TEST_F(BmpReplace, FailedWriteKeepsTheEarlierFile) {
  const std::string name = directory.File("bild.bmp");
  Paint(10);
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  const std::vector<uint8_t> before = ReadFile(name);
  Paint(99);
  for (const size_t budget : {size_t{0}, size_t{10}, size_t{54}, size_t{60}, size_t{133}}) {
    files.budget = budget;
    EXPECT_EQ(writer.SaveImageBmp(0, name.c_str()), 0) << "fails after " << budget << " bytes";
    EXPECT_EQ(writer.LastFailure(), "No space left on device");
    EXPECT_EQ(ReadFile(name), before);
    EXPECT_EQ(directory.EntryCount(), 1u) << "the partial temporary is removed";
  }
  files.budget = 134;  // exactly the file
  EXPECT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  EXPECT_EQ(ReadFile(name)[54], 99);
}

TEST_F(BmpReplace, FailedPngWriteKeepsTheEarlierFile) {
  if (!PngAvailable()) {
    GTEST_SKIP() << PngUnavailableReason();
  }
  const std::string name = directory.File("bild.png");
  Paint(10);
  ASSERT_EQ(writer.SaveImage(0, name.c_str(), ImageFileFormat::Png), 1);
  const std::vector<uint8_t> before = ReadFile(name);
  ASSERT_EQ(std::string(before.begin() + 1, before.begin() + 4), "PNG");
  Paint(99);
  for (const size_t budget : {size_t{0}, size_t{8}, size_t{40}, before.size() - 1}) {
    files.budget = budget;
    EXPECT_EQ(writer.SaveImage(0, name.c_str(), ImageFileFormat::Png), 0) << budget << " bytes";
    EXPECT_NE(writer.LastFailure(), "");
    EXPECT_EQ(ReadFile(name), before);
    EXPECT_EQ(directory.EntryCount(), 1u) << "the partial temporary is removed";
  }
}

TEST_F(BmpReplace, FailedFirstSaveLeavesNoFile) {
  const std::string name = directory.File("new.bmp");
  files.budget = 70;
  EXPECT_EQ(writer.SaveImageBmp(0, name.c_str()), 0);
  EXPECT_EQ(directory.EntryCount(), 0u);
}

TEST_F(BmpReplace, NonexistentDirectoryFailsWithTheSystemsReason) {
  const std::string name = (directory.Path() / "missing" / "bild.bmp").string();
  EXPECT_EQ(writer.SaveImageBmp(0, name.c_str()), 0);
  EXPECT_FALSE(std::filesystem::exists(directory.Path() / "missing"));
#ifdef _WIN32
  EXPECT_FALSE(writer.LastFailure().empty());  // the system's own message
#else
  EXPECT_EQ(writer.LastFailure(), std::generic_category().message(ENOENT));
#endif
}

TEST_F(BmpReplace, ReadOnlyDirectoryFailsAndKeepsTheFile) {
  const std::string name = directory.File("bild.bmp");
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  const std::vector<uint8_t> before = ReadFile(name);
  std::filesystem::permissions(
      directory.Path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
  if (std::ofstream(directory.File("probe")).good()) {
    GTEST_SKIP() << "this user may write into read-only directories";
  }
  Paint(77);
  EXPECT_EQ(writer.SaveImageBmp(0, name.c_str()), 0);
  EXPECT_EQ(ReadFile(name), before);
}

TEST_F(BmpReplace, ParentThatIsAFileFails) {
  const std::string name = directory.File("bild.bmp");
  ASSERT_EQ(writer.SaveImageBmp(0, name.c_str()), 1);
  const std::vector<uint8_t> before = ReadFile(name);
  EXPECT_EQ(writer.SaveImageBmp(0, (name + "/inner.bmp").c_str()), 0);
  EXPECT_EQ(ReadFile(name), before);
  EXPECT_EQ(directory.EntryCount(), 1u);
}

TEST_F(BmpReplace, NameOfADirectoryFails) {
  std::filesystem::create_directory(directory.Path() / "taken");
  EXPECT_EQ(writer.SaveImageBmp(0, directory.File("taken").c_str()), 0);
  EXPECT_TRUE(std::filesystem::is_directory(directory.Path() / "taken"));
  EXPECT_EQ(directory.EntryCount(), 1u);
}

TEST(LocalFileSystem, DiscardLeavesTargetAlone) {
  support::ScratchDirectory directory;
  const std::string name = directory.File("kept.txt");
  std::ofstream(name) << "earlier";
  platform::headless::LocalFileSystem files;
  {
    std::unique_ptr<platform::OutputFile> file = files.CreateReplacing(name);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->Write("later", 5));
    EXPECT_EQ(directory.EntryCount(), 2u) << "the temporary sits beside the target";
    file->Discard();
    EXPECT_FALSE(file->Commit()) << "nothing left to commit";
  }
  {
    std::unique_ptr<platform::OutputFile> file = files.CreateReplacing(name);
    ASSERT_NE(file, nullptr);
    EXPECT_TRUE(file->Write("dropped", 7));
  }  // destroyed without Commit
  EXPECT_EQ(directory.EntryCount(), 1u);
  const std::vector<uint8_t> kept = ReadFile(name);
  EXPECT_EQ(std::string(kept.begin(), kept.end()), "earlier");
}

TEST(LocalFileSystem, CommitMovesTheCompleteFileIntoPlace) {
  support::ScratchDirectory directory;
  const std::string name = directory.File("new.txt");
  platform::headless::LocalFileSystem files;
  std::unique_ptr<platform::OutputFile> file = files.CreateReplacing(name);
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Write("ab", 2));
  EXPECT_TRUE(file->Write("", 0));
  EXPECT_TRUE(file->Write("c", 1));
  EXPECT_FALSE(std::filesystem::exists(name)) << "not before the commit";
  EXPECT_TRUE(file->Commit());
  const std::vector<uint8_t> written = ReadFile(name);
  EXPECT_EQ(std::string(written.begin(), written.end()), "abc");
  EXPECT_EQ(directory.EntryCount(), 1u);
  EXPECT_EQ(files.CreateReplacing(""), nullptr);
}

TEST(LocalFileSystem, LeftoversOfAKilledSaveOfTheSameTargetGo) {
  support::ScratchDirectory directory;
  const uint32_t gone = 2147483644;  // beyond any process id in use
#ifdef _WIN32
  const auto alive = static_cast<uint32_t>(_getpid());
#else
  const auto alive = static_cast<uint32_t>(getpid());
#endif
  const std::string stale = platform::TemporaryName("bild.bmp", gone, 3);
  const std::string running = platform::TemporaryName("bild.bmp", alive, 999);
  const std::string other = platform::TemporaryName("other.bmp", gone, 3);
  for (const std::string& name : {stale, running, other}) {
    std::ofstream(directory.File(name)) << "part";
  }
  platform::headless::LocalFileSystem files;
  std::unique_ptr<platform::OutputFile> file = files.CreateReplacing(directory.File("bild.bmp"));
  ASSERT_NE(file, nullptr);
  EXPECT_TRUE(file->Commit());
  EXPECT_FALSE(std::filesystem::exists(directory.File(stale)));
  EXPECT_TRUE(std::filesystem::exists(directory.File(running))) << "its writer still runs";
  EXPECT_TRUE(std::filesystem::exists(directory.File(other))) << "another target's";
  EXPECT_EQ(platform::TemporaryWriter(stale, "bild.bmp"), gone);
  EXPECT_EQ(platform::TemporaryWriter("bild.bmp", "bild.bmp"), std::nullopt);
}

}  // namespace
}  // namespace drawing::image
