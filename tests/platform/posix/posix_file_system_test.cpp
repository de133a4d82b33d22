// Saving onto what is already there on a POSIX system: links, devices,
// FIFOs, modes and owners, files of others, and long names.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>

#include <fstream>
#include <thread>

#include "platform/files/temporary_name.h"
#include "platform/posix/posix_file_system.h"
#include "support/scratch_directory.h"

namespace drawing::platform::posix {
namespace {

namespace fs = std::filesystem;

class PosixFileSystemTest : public ::testing::Test {
 protected:
  bool Save(const std::string& path, const std::string& text) {
    std::unique_ptr<platform::OutputFile> file = files.CreateReplacing(path);
    return file && file->Write(text.data(), text.size()) && file->Commit();
  }
  std::string Read(const std::string& path) { return support::ReadAll(path); }
  struct stat Status(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(lstat(path.c_str(), &status), 0) << path;
    return status;
  }

  // Runs `check` as an unprivileged user (nobody) when the test runs as
  // root, else as it is; its failures are reported as its exit status.
  void Unprivileged(const std::function<bool()>& check) {
    if (geteuid() != 0) {
      EXPECT_TRUE(check());
      return;
    }
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      const bool dropped = setgid(kNobody) == 0 && setuid(kNobody) == 0;
      _exit(dropped && check() ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "the unprivileged check failed";
  }

  static constexpr uid_t kNobody = 65534;
  support::ScratchDirectory directory;
  platform::posix::PosixFileSystem files;
};

TEST_F(PosixFileSystemTest, SymbolicLinksAreFollowedAndKept) {
  std::ofstream(directory.File("real.bmp")) << "old";
  fs::create_symlink("real.bmp", directory.File("link.bmp"));
  fs::create_symlink("made.bmp", directory.File("dangling.bmp"));
  ASSERT_TRUE(Save(directory.File("link.bmp"), "new"));
  ASSERT_TRUE(Save(directory.File("dangling.bmp"), "made"));
  EXPECT_TRUE(fs::is_symlink(directory.File("link.bmp")));
  EXPECT_TRUE(fs::is_symlink(directory.File("dangling.bmp")));
  EXPECT_EQ(Read(directory.File("real.bmp")), "new");
  EXPECT_EQ(Read(directory.File("made.bmp")), "made");
  EXPECT_EQ(directory.EntryCount(), 4u);
}

TEST_F(PosixFileSystemTest, ModeAndOwnerOfTheEarlierFileAreKept) {
  const std::string name = directory.File("bild.bmp");
  std::ofstream(name) << "old";
  ASSERT_EQ(chmod(name.c_str(), 0640), 0);
  const bool root = geteuid() == 0;
  if (root) {
    ASSERT_EQ(chown(name.c_str(), 4321, 8765), 0);
  }
  ASSERT_TRUE(Save(name, "new"));
  const struct stat after = Status(name);
  EXPECT_EQ(after.st_mode & 07777, 0640u);
  if (root) {
    EXPECT_EQ(after.st_uid, 4321u);
    EXPECT_EQ(after.st_gid, 8765u);
  }
  EXPECT_EQ(Read(name), "new");
}

// Replaced, not rewritten in place: the other name keeps a whole picture.
TEST_F(PosixFileSystemTest, AHardLinkKeepsTheEarlierPicture) {
  const std::string name = directory.File("bild.bmp");
  std::ofstream(name) << "old";
  fs::create_hard_link(name, directory.File("other.bmp"));
  ASSERT_TRUE(Save(name, "new"));
  EXPECT_EQ(files.LastNote(), "its other name (a hard link) keeps the earlier picture");
  EXPECT_EQ(Read(name), "new");
  EXPECT_EQ(Read(directory.File("other.bmp")), "old");
  ASSERT_TRUE(Save(directory.File("new.bmp"), "new"));
  EXPECT_EQ(files.LastNote(), "");
}

// The kernel's protected_symlinks rule, kept whatever the machine's setting:
// a link another user left in a sticky world-writable directory is not
// followed, a link of the directory's owner is.
TEST_F(PosixFileSystemTest, ALinkAnotherUserLeftInASharedDirectoryIsNotFollowed) {
  if (geteuid() != 0) {
    GTEST_SKIP() << "only root can make a link of another user";
  }
  const std::string shared = directory.File("shared");
  ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
  ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
  const std::string victim = directory.File("victim");
  std::ofstream(victim) << "secret";
  const std::string planted = shared + "/bild.bmp";
  fs::create_symlink(victim, planted);
  ASSERT_EQ(lchown(planted.c_str(), 4321, 4321), 0);
  EXPECT_FALSE(Save(planted, "BM"));
  EXPECT_EQ(files.LastFailure(),
            "Permission denied: it is a link another user made in a shared directory, which is "
            "never followed");
  EXPECT_EQ(Read(victim), "secret");
  EXPECT_TRUE(fs::is_symlink(planted));

  // The directory's owner (root here) may point into it.
  ASSERT_EQ(lchown(planted.c_str(), 0, 0), 0);
  EXPECT_TRUE(Save(planted, "BM")) << files.LastFailure();
  EXPECT_EQ(Read(victim), "BM");
  // So may the user, in a shared directory of someone else's.
  ASSERT_EQ(chown(shared.c_str(), 4321, 4321), 0);
  ASSERT_EQ(chmod(directory.Path().c_str(), 0777), 0);
  ASSERT_EQ(chmod(victim.c_str(), 0666), 0);
  ASSERT_EQ(lchown(planted.c_str(), kNobody, kNobody), 0);
  Unprivileged([&] { return Save(planted, "nobody's") && Read(victim) == "nobody's"; });
}

// What `echo > file` would be refused is refused, with the system's reason,
// though the directory would let the file be replaced.
TEST_F(PosixFileSystemTest, FilesTheUserMayNotWriteAreRefused) {
  const std::string place = directory.File("open");
  ASSERT_EQ(mkdir(place.c_str(), 0777), 0);
  ASSERT_EQ(chmod(place.c_str(), 0777), 0);
  ASSERT_EQ(chmod(directory.Path().c_str(), 0755), 0);
  const std::string others = place + "/others.bmp";
  std::ofstream(others) << "theirs";
  if (geteuid() == 0) {
    ASSERT_EQ(chown(others.c_str(), 4321, 4321), 0);
  }
  Unprivileged([&] {
    const std::string own = place + "/own.bmp";
    std::ofstream(own) << "kept";
    return chmod(own.c_str(), 0400) == 0 && !Save(own, "new") &&
           files.LastFailure() == "Permission denied" && Read(own) == "kept";
  });
  if (geteuid() == 0) {
    Unprivileged([&] {
      return !Save(others, "new") && files.LastFailure() == "Permission denied" &&
             Read(others) == "theirs";
    });
  }
  EXPECT_EQ(Read(others), "theirs");
}

// /dev/fd/N and /proc/self/fd/N name whatever the descriptor holds, a pipe
// here (as a shell's process substitution gives): the kernel follows them.
TEST_F(PosixFileSystemTest, DescriptorLinksReachTheirPipes) {
  for (const std::string prefix : {"/dev/fd/", "/proc/self/fd/"}) {
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    EXPECT_TRUE(Save(prefix + std::to_string(ends[1]), "picture")) << prefix << files.LastFailure();
    close(ends[1]);
    char received[16] = {};
    EXPECT_EQ(read(ends[0], received, sizeof received), 7);
    EXPECT_STREQ(received, "picture");
    close(ends[0]);
  }
}

TEST_F(PosixFileSystemTest, CharacterDevicesAreWrittenThrough) {
  ASSERT_TRUE(Save("/dev/null", "picture"));
  EXPECT_TRUE(S_ISCHR(Status("/dev/null").st_mode));
}

TEST_F(PosixFileSystemTest, FifosAreWrittenThroughToTheirReader) {
  const std::string fifo = directory.File("pipe");
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(Save(fifo, "nobody reads")) << "must not wait for a reader";
  EXPECT_EQ(files.LastFailure(), "no program is reading from it");
  {
    std::unique_ptr<platform::OutputFile> tried = files.CreateReplacing(fifo);
    ASSERT_NE(tried, nullptr) << "trying a save does not need a reader yet";
  }
  std::string received;
  std::thread reader([&] { received = Read(fifo); });
  bool saved = false;
  for (int attempt = 0; attempt < 500 && !saved; ++attempt) {  // until the reader has opened
    saved = Save(fifo, "picture");
    if (!saved) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
  }
  reader.join();
  EXPECT_TRUE(saved);
  EXPECT_EQ(received, "picture");
  EXPECT_TRUE(S_ISFIFO(Status(fifo).st_mode));
}

TEST_F(PosixFileSystemTest, BlockDevicesAreRefused) {
  const std::string node = directory.File("disk");
  if (mknod(node.c_str(), S_IFBLK | 0600, makedev(7, 0)) != 0) {
    GTEST_SKIP() << "this user cannot make device nodes";
  }
  EXPECT_EQ(files.CreateReplacing(node), nullptr);
  EXPECT_EQ(files.LastFailure(), "it is a block device, which a picture must not overwrite");
  EXPECT_TRUE(S_ISBLK(Status(node).st_mode));
}

TEST_F(PosixFileSystemTest, NamesUpToTheLimitSave) {
  for (const size_t length : {240u, 255u}) {
    const std::string name = directory.File(std::string(length, 'n'));
    ASSERT_TRUE(Save(name, "x")) << length << ": " << files.LastFailure();
  }
  // Two-byte characters are never cut in half.
  std::string wide;
  while (wide.size() + 2 <= 254) {
    wide += "\xc3\xa9";
  }
  ASSERT_TRUE(Save(directory.File(wide), "x")) << files.LastFailure();
  const std::string temporary = platform::TemporaryName(wide, 99999, 1);
  EXPECT_LE(temporary.size(), platform::kFileNameLimit);
  EXPECT_NE(static_cast<uint8_t>(temporary[temporary.find('.', 1) - 1]), 0xc3);
  EXPECT_EQ(directory.EntryCount(), 3u);
}

}  // namespace
}  // namespace drawing::platform::posix
