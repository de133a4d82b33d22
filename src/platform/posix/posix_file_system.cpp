#include "platform/posix/posix_file_system.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>

#include "platform/files/temporary_name.h"

namespace drawing::platform::posix {
namespace {

namespace fs = std::filesystem;

constexpr int kNameAttempts = 64;
constexpr int kLinkLimit = 40;  // as the kernel's own limit on nested links

std::string SystemReason(int error) {
  return error == 0 ? "unknown error" : std::generic_category().message(error);
}

// Writes everything, across short writes and interruptions. SIGPIPE is held
// back while writing: a FIFO whose reader went away must fail the save with
// EPIPE, not end the program.
bool WriteAll(int fd, const void* data, size_t size, std::string& failure) {
  sigset_t pipe;
  sigset_t previous;
  sigemptyset(&pipe);
  sigaddset(&pipe, SIGPIPE);
  pthread_sigmask(SIG_BLOCK, &pipe, &previous);
  const auto* bytes = static_cast<const uint8_t*>(data);
  bool written = true;
  while (size > 0) {
    const ssize_t count = write(fd, bytes, size);
    if (count < 0 && errno == EINTR) {
      continue;
    }
    if (count <= 0) {
      failure = SystemReason(count < 0 ? errno : ENOSPC);
      written = false;
      break;
    }
    bytes += count;
    size -= static_cast<size_t>(count);
  }
  if (!written && errno == EPIPE && sigismember(&previous, SIGPIPE) == 0) {
    const timespec now{};
    sigtimedwait(&pipe, nullptr, &now);  // drop the SIGPIPE this write raised
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  return written;
}

// Flushes a directory's entries (the rename) to the disk; file systems that
// cannot do this for directories are fine as they are.
void SyncDirectory(const fs::path& directory) {
  const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    fsync(fd);
    close(fd);
  }
}

// A regular file replaced through a temporary beside it.
class ReplacingFile final : public OutputFile {
 public:
  ReplacingFile(int fd, fs::path temporary, fs::path target, std::string& failure)
      : fd_(fd), temporary_(std::move(temporary)), target_(std::move(target)), failure_(failure) {}
  ~ReplacingFile() override { Discard(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool Write(const void* data, size_t size) override {
    if (fd_ < 0 || failed_) {
      return false;
    }
    failed_ = !WriteAll(fd_, data, size, failure_);
    return !failed_;
  }

  bool Commit() override {
    if (fd_ < 0) {
      return false;
    }
    // The data reaches the disk before the name does: after a power cut the
    // target is either the old file or the whole new one.
    bool done = !failed_;
    if (done && fsync(fd_) != 0) {
      failure_ = SystemReason(errno);
      done = false;
    }
    if (close(fd_) != 0 && done) {
      failure_ = SystemReason(errno);
      done = false;
    }
    fd_ = -1;
    if (done && rename(temporary_.c_str(), target_.c_str()) != 0) {
      failure_ = SystemReason(errno);
      done = false;
    }
    if (!done) {
      unlink(temporary_.c_str());
      return false;
    }
    SyncDirectory(target_.parent_path().empty() ? fs::path(".") : target_.parent_path());
    return true;
  }

  void Discard() override {
    if (fd_ < 0) {
      return;
    }
    close(fd_);
    fd_ = -1;
    unlink(temporary_.c_str());
  }

 private:
  int fd_;
  bool failed_ = false;
  fs::path temporary_;
  fs::path target_;
  std::string& failure_;
};

// A character device or FIFO, written to directly. It is opened at the first
// write, so a save that is only tried (created and discarded) does not end a
// FIFO's reader with an empty stream.
class DirectFile final : public OutputFile {
 public:
  DirectFile(fs::path path, std::string& failure) : path_(std::move(path)), failure_(failure) {}
  ~DirectFile() override { Discard(); }
  DirectFile(const DirectFile&) = delete;
  DirectFile& operator=(const DirectFile&) = delete;

  bool Write(const void* data, size_t size) override {
    if (done_ || failed_ || !Open()) {
      return false;
    }
    failed_ = !WriteAll(fd_, data, size, failure_);
    return !failed_;
  }

  bool Commit() override {
    if (done_ || failed_ || !Open()) {
      Discard();
      return false;
    }
    done_ = true;
    if (close(fd_) != 0) {
      failure_ = SystemReason(errno);
      fd_ = -1;
      return false;
    }
    fd_ = -1;
    return true;
  }

  void Discard() override {
    done_ = true;
    if (fd_ >= 0) {
      close(fd_);
      fd_ = -1;
    }
  }

 private:
  bool Open() {
    if (fd_ >= 0) {
      return true;
    }
    // Without O_NONBLOCK a FIFO nobody reads would hold the program for ever.
    fd_ = open(path_.c_str(), O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd_ < 0) {
      failure_ = errno == ENXIO ? "no program is reading from it" : SystemReason(errno);
      failed_ = true;
      return false;
    }
    fcntl(fd_, F_SETFL, fcntl(fd_, F_GETFL) & ~O_NONBLOCK);
    return true;
  }

  fs::path path_;
  int fd_ = -1;
  bool done_ = false;
  bool failed_ = false;
  std::string& failure_;
};

// Follows symbolic links to the file a save must change. False (with the
// reason) when the path cannot be looked at.
bool FollowLinks(fs::path& path, std::optional<struct stat>& found, std::string& reason) {
  for (int depth = 0; depth <= kLinkLimit; ++depth) {
    struct stat status {};
    if (lstat(path.c_str(), &status) != 0) {
      if (errno == ENOENT) {
        found.reset();
        return true;
      }
      reason = SystemReason(errno);
      return false;
    }
    if (!S_ISLNK(status.st_mode)) {
      found = status;
      return true;
    }
    std::error_code error;
    const fs::path link = fs::read_symlink(path, error);
    if (error) {
      reason = error.message();
      return false;
    }
    path = link.is_absolute() ? link : path.parent_path() / link;
  }
  reason = SystemReason(ELOOP);
  return false;
}

bool ProcessIsGone(uint32_t process) {
  return process > 0 && process <= INT32_MAX && kill(static_cast<pid_t>(process), 0) != 0 &&
         errno == ESRCH;
}

// Temporaries of `name` whose writer no longer runs were left by a save that
// was killed; nothing else will ever remove them.
void RemoveStaleTemporaries(const fs::path& directory, const std::string& name) {
  std::error_code error;
  for (fs::directory_iterator entry(directory, error), end; !error && entry != end;
       entry.increment(error)) {
    const std::optional<uint32_t> writer = TemporaryWriter(entry->path().filename().string(), name);
    if (writer && ProcessIsGone(*writer) && entry->is_regular_file(error) &&
        !entry->is_symlink(error)) {
      unlink(entry->path().c_str());
    }
  }
}

}  // namespace

std::unique_ptr<OutputFile> PosixFileSystem::Refuse(const std::string& reason) {
  lastFailure_ = reason;
  return nullptr;
}

std::unique_ptr<OutputFile> PosixFileSystem::CreateReplacing(const std::string& path) {
  if (path.empty()) {
    return Refuse("no file name");
  }
  fs::path target(path);
  std::optional<struct stat> existing;
  std::string reason;
  if (!FollowLinks(target, existing, reason)) {
    return Refuse(reason);
  }
  if (existing) {
    const mode_t kind = existing->st_mode & S_IFMT;
    if (kind == S_IFDIR) {
      return Refuse(SystemReason(EISDIR));
    }
    if (kind == S_IFCHR || kind == S_IFIFO) {
      if (access(target.c_str(), W_OK) != 0) {
        return Refuse(SystemReason(errno));
      }
      return std::make_unique<DirectFile>(target, lastFailure_);
    }
    if (kind == S_IFBLK) {
      return Refuse("it is a block device, which a picture must not overwrite");
    }
    if (kind != S_IFREG) {
      return Refuse("it is not a regular file");
    }
  }
  const std::string name = target.filename().string();
  if (name.empty() || name == "." || name == "..") {
    return Refuse(SystemReason(EISDIR));
  }
  const fs::path directory = target.parent_path().empty() ? fs::path(".") : target.parent_path();
  RemoveStaleTemporaries(directory, name);

  const auto process = static_cast<uint32_t>(getpid());
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const fs::path temporary = directory / TemporaryName(name, process, ++serial_);
    // Private until it is complete; the final mode is set below.
    const int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                        existing ? 0600 : 0666);
    if (fd < 0 && errno == EEXIST) {
      continue;
    }
    if (fd < 0) {
      return Refuse(SystemReason(errno));
    }
    if (existing) {
      // The owner first: changing it may clear set-id bits the mode restores.
      // Only root may give a file away; anyone else keeps what they may.
      if (fchown(fd, existing->st_uid, existing->st_gid) != 0 &&
          fchown(fd, static_cast<uid_t>(-1), existing->st_gid) != 0) {
        // Neither: the file stays the saving user's, as a new file would.
      }
      fchmod(fd, existing->st_mode & 07777);
    }
    return std::make_unique<ReplacingFile>(fd, temporary, target, lastFailure_);
  }
  return Refuse(SystemReason(EEXIST));
}

}  // namespace drawing::platform::posix
