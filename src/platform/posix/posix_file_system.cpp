#include "platform/posix/posix_file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <unistd.h>

#include <cerrno>
#include <ctime>
#include <filesystem>
#include <optional>
#include <system_error>
#include <utility>

#include "platform/files/temporary_name.h"

namespace drawing::platform::posix {
namespace {

namespace fs = std::filesystem;

constexpr int kNameAttempts = 64;
constexpr int kLinkLimit = 40;       // as the kernel's own limit on nested links
constexpr long kProcMagic = 0x9fa0;  // PROC_SUPER_MAGIC: the links there are the kernel's

#ifdef O_PATH
constexpr int kDirectoryHandle = O_PATH | O_DIRECTORY | O_CLOEXEC;
#else
constexpr int kDirectoryHandle = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
#endif

std::string SystemReason(int error) {
  return error == 0 ? "unknown error" : std::generic_category().message(error);
}

// A descriptor closed when it goes.
class Descriptor {
 public:
  explicit Descriptor(int fd = -1) : fd_(fd) {}
  ~Descriptor() { Reset(); }
  Descriptor(Descriptor&& other) noexcept : fd_(std::exchange(other.fd_, -1)) {}
  Descriptor& operator=(Descriptor&& other) noexcept {
    if (this != &other) {
      Reset(std::exchange(other.fd_, -1));
    }
    return *this;
  }
  Descriptor(const Descriptor&) = delete;
  Descriptor& operator=(const Descriptor&) = delete;

  int Get() const { return fd_; }
  bool Valid() const { return fd_ >= 0; }
  void Reset(int fd = -1) {
    if (fd_ >= 0) {
      close(fd_);
    }
    fd_ = fd;
  }
  // Closes, and tells whether the close (the last chance for an error) went well.
  bool Close() { return close(std::exchange(fd_, -1)) == 0; }

 private:
  int fd_;
};

// Where a save goes: an open directory and a name in it.
struct Place {
  Descriptor directory;
  std::string name;
};

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
void SyncDirectory(int directory) {
  const Descriptor readable(openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (readable.Valid()) {
    fsync(readable.Get());
  }
}

// A regular file replaced through a temporary beside it.
class ReplacingFile final : public OutputFile {
 public:
  ReplacingFile(Descriptor file, std::string temporary, Place target, std::string& failure)
      : file_(std::move(file)),
        temporary_(std::move(temporary)),
        target_(std::move(target)),
        failure_(failure) {}
  ~ReplacingFile() override { Discard(); }
  ReplacingFile(const ReplacingFile&) = delete;
  ReplacingFile& operator=(const ReplacingFile&) = delete;

  bool Write(const void* data, size_t size) override {
    if (!file_.Valid() || failed_) {
      return false;
    }
    failed_ = !WriteAll(file_.Get(), data, size, failure_);
    return !failed_;
  }

  bool Commit() override {
    if (!file_.Valid()) {
      return false;
    }
    // The data reaches the disk before the name does: after a power cut the
    // target is either the old file or the whole new one.
    bool done = !failed_;
    if (done && fsync(file_.Get()) != 0) {
      failure_ = SystemReason(errno);
      done = false;
    }
    if (!file_.Close() && done) {
      failure_ = SystemReason(errno);
      done = false;
    }
    const int directory = target_.directory.Get();
    if (done && renameat(directory, temporary_.c_str(), directory, target_.name.c_str()) != 0) {
      failure_ = SystemReason(errno);
      done = false;
    }
    if (!done) {
      unlinkat(directory, temporary_.c_str(), 0);
      return false;
    }
    SyncDirectory(directory);
    return true;
  }

  void Discard() override {
    if (file_.Valid()) {
      file_.Reset();
      unlinkat(target_.directory.Get(), temporary_.c_str(), 0);
    }
  }

 private:
  Descriptor file_;
  bool failed_ = false;
  std::string temporary_;
  Place target_;
  std::string& failure_;
};

// A character device or FIFO, written to directly. It is opened at the first
// write, so a save that is only tried (created and discarded) does not end a
// FIFO's reader with an empty stream. `followLink` lets the kernel follow a
// link of its own (/proc/1234/fd/N) to the pipe or device behind it; a
// descriptor of this process is written through a copy (`open`), since
// opening it anew would ask for rights on the pipe that its use does not.
class DirectFile final : public OutputFile {
 public:
  DirectFile(Place place, bool followLink, Descriptor open, std::string& failure)
      : place_(std::move(place)),
        followLink_(followLink),
        file_(std::move(open)),
        failure_(failure) {}
  ~DirectFile() override { Discard(); }
  DirectFile(const DirectFile&) = delete;
  DirectFile& operator=(const DirectFile&) = delete;

  bool Write(const void* data, size_t size) override {
    if (done_ || failed_ || !Open()) {
      return false;
    }
    failed_ = !WriteAll(file_.Get(), data, size, failure_);
    return !failed_;
  }

  bool Commit() override {
    if (done_ || failed_ || !Open()) {
      Discard();
      return false;
    }
    done_ = true;
    if (!file_.Close()) {
      failure_ = SystemReason(errno);
      return false;
    }
    return true;
  }

  void Discard() override {
    done_ = true;
    file_.Reset();
  }

 private:
  bool Open() {
    if (file_.Valid()) {
      return true;
    }
    // Without O_NONBLOCK a FIFO nobody reads would hold the program for ever.
    file_.Reset(
        openat(place_.directory.Get(), place_.name.c_str(),
               O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC | (followLink_ ? 0 : O_NOFOLLOW)));
    if (!file_.Valid()) {
      failure_ = errno == ENXIO ? "no program is reading from it" : SystemReason(errno);
      failed_ = true;
      return false;
    }
    fcntl(file_.Get(), F_SETFL, fcntl(file_.Get(), F_GETFL) & ~O_NONBLOCK);
    return true;
  }

  Place place_;
  bool followLink_;
  Descriptor file_;
  bool done_ = false;
  bool failed_ = false;
  std::string& failure_;
};

// The kernel's protected_symlinks rule: in a sticky directory anyone may
// write to, only links of the user or of the directory's owner are followed.
bool MayFollow(const struct stat& link, const struct stat& directory) {
  const bool shared = (directory.st_mode & S_ISVTX) != 0 && (directory.st_mode & S_IWOTH) != 0;
  return !shared || link.st_uid == geteuid() || link.st_uid == directory.st_uid;
}

bool MadeByTheKernel(int directory) {
  struct statfs system {};
  return fstatfs(directory, &system) == 0 && static_cast<long>(system.f_type) == kProcMagic;
}

// What a save finds at its path, the links followed.
struct Found {
  Place place;
  std::optional<struct stat> existing;  // nothing: a new file
  bool kernelLink = false;              // place.name is the kernel's link to existing
  Descriptor own;                       // a copy of the descriptor of ours it names
};

// The descriptor `name` names when `directory` is this process's /proc/self/fd.
std::optional<int> OwnDescriptor(int directory, const std::string& name) {
  struct stat ours {};
  struct stat here {};
  if (stat("/proc/self/fd", &ours) != 0 || fstat(directory, &here) != 0 ||
      ours.st_dev != here.st_dev || ours.st_ino != here.st_ino || name.empty() || name.size() > 9 ||
      name.find_first_not_of("0123456789") != std::string::npos) {
    return std::nullopt;
  }
  return std::stoi(name);
}

std::optional<std::string> ReadLinkAt(int directory, const std::string& name) {
  std::string text(256, '\0');
  for (;;) {
    const ssize_t length = readlinkat(directory, name.c_str(), text.data(), text.size());
    if (length < 0) {
      return std::nullopt;
    }
    if (static_cast<size_t>(length) < text.size()) {
      text.resize(static_cast<size_t>(length));
      return text;
    }
    text.resize(text.size() * 2);
  }
}

// Follows symbolic links to the file a save must change; the reason when the
// path cannot be looked at or a link must not be followed.
std::optional<std::string> Find(const std::string& path, Found& found) {
  fs::path target(path);
  for (int depth = 0; depth <= kLinkLimit; ++depth) {
    found.place.name = target.filename().string();
    if (found.place.name.empty() || found.place.name == "." || found.place.name == "..") {
      return SystemReason(EISDIR);
    }
    const fs::path directory = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    found.place.directory.Reset(open(directory.c_str(), kDirectoryHandle));
    if (!found.place.directory.Valid()) {
      return SystemReason(errno);
    }
    const int at = found.place.directory.Get();
    struct stat status {};
    if (fstatat(at, found.place.name.c_str(), &status, AT_SYMLINK_NOFOLLOW) != 0) {
      if (errno == ENOENT) {
        found.existing.reset();
        return std::nullopt;
      }
      return SystemReason(errno);
    }
    if (!S_ISLNK(status.st_mode)) {
      found.existing = status;
      return std::nullopt;
    }
    struct stat owner {};
    if (fstat(at, &owner) != 0) {
      return SystemReason(errno);
    }
    if (!MayFollow(status, owner)) {
      return SystemReason(EACCES) +
             ": it is a link another user made in a shared directory, which is never followed";
    }
    if (MadeByTheKernel(at)) {
      // Its text may name no path at all ("pipe:[1234]"): only the kernel
      // can follow it.
      if (fstatat(at, found.place.name.c_str(), &status, 0) != 0) {
        return SystemReason(errno);
      }
      if (!S_ISREG(status.st_mode)) {
        found.existing = status;
        found.kernelLink = true;
        if (const std::optional<int> own = OwnDescriptor(at, found.place.name)) {
          found.own.Reset(fcntl(*own, F_DUPFD_CLOEXEC, 0));
          if (!found.own.Valid() || (fcntl(*own, F_GETFL) & O_ACCMODE) == O_RDONLY) {
            return SystemReason(found.own.Valid() ? EBADF : errno);
          }
        }
        return std::nullopt;
      }
    }
    const std::optional<std::string> link = ReadLinkAt(at, found.place.name);
    if (!link) {
      return SystemReason(errno);
    }
    target = fs::path(*link).is_absolute() ? fs::path(*link) : directory / *link;
  }
  return SystemReason(ELOOP);
}

bool ProcessIsGone(uint32_t process) {
  return process > 0 && process <= INT32_MAX && kill(static_cast<pid_t>(process), 0) != 0 &&
         errno == ESRCH;
}

// Temporaries of `name` whose writer no longer runs were left by a save that
// was killed; nothing else will ever remove them.
void RemoveStaleTemporaries(int directory, const std::string& name) {
  const int readable = openat(directory, ".", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (readable < 0) {
    return;
  }
  DIR* entries = fdopendir(readable);
  if (entries == nullptr) {
    close(readable);
    return;
  }
  while (const dirent* entry = readdir(entries)) {
    const std::optional<uint32_t> writer = TemporaryWriter(entry->d_name, name);
    struct stat status {};
    if (writer && ProcessIsGone(*writer) &&
        fstatat(directory, entry->d_name, &status, AT_SYMLINK_NOFOLLOW) == 0 &&
        S_ISREG(status.st_mode)) {
      unlinkat(directory, entry->d_name, 0);
    }
  }
  closedir(entries);
}

}  // namespace

std::unique_ptr<OutputFile> PosixFileSystem::Refuse(const std::string& reason) {
  lastFailure_ = reason;
  return nullptr;
}

std::unique_ptr<OutputFile> PosixFileSystem::CreateReplacing(const std::string& path) {
  lastNote_.clear();
  if (path.empty()) {
    return Refuse("no file name");
  }
  Found found;
  if (const std::optional<std::string> reason = Find(path, found)) {
    return Refuse(*reason);
  }
  const int at = found.place.directory.Get();
  const char* name = found.place.name.c_str();
  const std::optional<struct stat>& existing = found.existing;
  if (existing) {
    const mode_t kind = existing->st_mode & S_IFMT;
    if (kind == S_IFDIR) {
      return Refuse(SystemReason(EISDIR));
    }
    if (found.own.Valid() || kind == S_IFCHR || kind == S_IFIFO) {
      if (!found.own.Valid() && faccessat(at, name, W_OK, AT_EACCESS) != 0) {
        return Refuse(SystemReason(errno));
      }
      return std::make_unique<DirectFile>(std::move(found.place), found.kernelLink,
                                          std::move(found.own), lastFailure_);
    }
    if (kind == S_IFBLK) {
      return Refuse("it is a block device, which a picture must not overwrite");
    }
    if (kind != S_IFREG) {
      return Refuse("it is not a regular file");
    }
    // Whether the user may write the file, in the kernel's words: what the
    // directory allows (replacing) is not enough.
    Descriptor probe(openat(at, name, O_WRONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (!probe.Valid()) {
      return Refuse(SystemReason(errno));
    }
    if (existing->st_nlink > 1) {
      lastNote_ = "its other " +
                  (existing->st_nlink == 2
                       ? std::string("name (a hard link) keeps")
                       : std::to_string(existing->st_nlink - 1) + " names (hard links) keep") +
                  " the earlier picture";
    }
  }
  RemoveStaleTemporaries(at, found.place.name);

  const auto process = static_cast<uint32_t>(getpid());
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    const std::string temporary = TemporaryName(found.place.name, process, ++serial_);
    // Private until it is complete; the final mode is set below.
    Descriptor file(openat(at, temporary.c_str(),
                           O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC,
                           existing ? 0600 : 0666));
    if (!file.Valid() && errno == EEXIST) {
      continue;
    }
    if (!file.Valid()) {
      lastNote_.clear();
      return Refuse(SystemReason(errno));
    }
    if (existing) {
      // The owner first: changing it may clear set-id bits the mode restores.
      // Only root may give a file away; anyone else keeps what they may.
      if (fchown(file.Get(), existing->st_uid, existing->st_gid) != 0 &&
          fchown(file.Get(), static_cast<uid_t>(-1), existing->st_gid) != 0) {
        // Neither: the file stays the saving user's, as a new file would.
      }
      fchmod(file.Get(), existing->st_mode & 07777);
    }
    return std::make_unique<ReplacingFile>(std::move(file), temporary, std::move(found.place),
                                           lastFailure_);
  }
  lastNote_.clear();
  return Refuse(SystemReason(EEXIST));
}

}  // namespace drawing::platform::posix
