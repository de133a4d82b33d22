#include "platform/win32/win32_api.h"
//
#include <optional>
#include <string>
#include <utility>

#include "platform/files/temporary_name.h"
#include "platform/win32/win32_file_system.h"
#include "platform/win32/win32_text.h"

namespace drawing::platform::win32 {

namespace {

constexpr int kNameAttempts = 16;

// The system's message for an error code, without its trailing line break.
std::string SystemReason(DWORD error) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, error, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::string reason = length != 0 && text != nullptr ? Utf8FromWide(std::wstring(text, length))
                                                      : "error " + std::to_string(error);
  LocalFree(text);
  while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                             reason.back() == ' ' || reason.back() == '.')) {
    reason.pop_back();
  }
  return reason;
}

class Win32OutputFile final : public OutputFile {
 public:
  Win32OutputFile(HANDLE file, std::wstring temporary, std::wstring target, std::string& failure)
      : file_(file),
        temporary_(std::move(temporary)),
        target_(std::move(target)),
        failure_(failure) {}
  ~Win32OutputFile() override { Discard(); }
  Win32OutputFile(const Win32OutputFile&) = delete;
  Win32OutputFile& operator=(const Win32OutputFile&) = delete;

  bool Write(const void* data, size_t size) override {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
      if (file_ == INVALID_HANDLE_VALUE) {
        return false;
      }
      const DWORD chunk = size > 0x40000000u ? 0x40000000u : static_cast<DWORD>(size);
      DWORD written = 0;
      if (WriteFile(file_, bytes, chunk, &written, nullptr) == FALSE) {
        failure_ = SystemReason(GetLastError());
        return false;
      }
      if (written != chunk) {
        failure_ = SystemReason(ERROR_DISK_FULL);
        return false;
      }
      bytes += chunk;
      size -= chunk;
    }
    return file_ != INVALID_HANDLE_VALUE;
  }

  bool Commit() override {
    if (file_ == INVALID_HANDLE_VALUE) {
      return false;
    }
    const bool flushed = FlushFileBuffers(file_) != FALSE;
    if (!flushed) {
      failure_ = SystemReason(GetLastError());
    }
    const bool closed = CloseHandle(file_) != FALSE;
    if (flushed && !closed) {
      failure_ = SystemReason(GetLastError());
    }
    file_ = INVALID_HANDLE_VALUE;
    if (flushed && closed) {
      if (MoveFileExW(temporary_.c_str(), target_.c_str(),
                      MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != FALSE) {
        return true;
      }
      failure_ = SystemReason(GetLastError());
    }
    DeleteFileW(temporary_.c_str());
    return false;
  }

  void Discard() override {
    if (file_ == INVALID_HANDLE_VALUE) {
      return;
    }
    CloseHandle(file_);
    file_ = INVALID_HANDLE_VALUE;
    DeleteFileW(temporary_.c_str());
  }

 private:
  HANDLE file_;
  std::wstring temporary_;
  std::wstring target_;
  std::string& failure_;
};

// The directory part of `path` including its last separator, or "" for a
// bare name (the working directory). Only the ASCII separators separate: a
// UTF-8 character never holds their bytes, so a full-width backslash (U+FF3C)
// stays part of a name.
std::string DirectoryOf(const std::string& path) {
  const size_t separator = path.find_last_of("\\/:");
  return separator == std::string::npos ? std::string() : path.substr(0, separator + 1);
}

bool ProcessIsGone(uint32_t process) {
  const HANDLE handle = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, process);
  if (handle == nullptr) {
    return GetLastError() == ERROR_INVALID_PARAMETER;  // no such process
  }
  DWORD code = 0;
  const bool ended = GetExitCodeProcess(handle, &code) != FALSE && code != STILL_ACTIVE;
  CloseHandle(handle);
  return ended;
}

// Temporaries of `name` whose writer no longer runs were left by a save that
// was killed; nothing else will ever remove them.
void RemoveStaleTemporaries(const std::wstring& directory, const std::string& name) {
  WIN32_FIND_DATAW entry;
  const HANDLE search = FindFirstFileW((directory + L".*.tmp").c_str(), &entry);
  if (search == INVALID_HANDLE_VALUE) {
    return;
  }
  do {
    const std::optional<uint32_t> writer = TemporaryWriter(Utf8FromWide(entry.cFileName), name);
    if (writer && (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
        ProcessIsGone(*writer)) {
      DeleteFileW((directory + entry.cFileName).c_str());
    }
  } while (FindNextFileW(search, &entry) != FALSE);
  FindClose(search);
}

}  // namespace

// Names are UTF-8 here and UTF-16 to the system: the wide calls take every
// name the user can type, where the narrow ones would put the code page's
// nearest letter ("Omega" for "Ωmega") or a '?' in its place.
std::unique_ptr<OutputFile> Win32FileSystem::CreateReplacing(const std::string& path) {
  lastNote_.clear();
  const std::string directory = DirectoryOf(path);
  const std::string name = path.substr(directory.size());
  if (name.empty()) {
    lastFailure_ = "no file name";
    return nullptr;
  }
  const std::wstring wideDirectory = WideFromUtf8(directory);
  RemoveStaleTemporaries(wideDirectory, name);
  for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
    // A hidden-looking name beside the target keeps the move within one volume.
    const std::wstring temporary =
        wideDirectory + WideFromUtf8(TemporaryName(name, GetCurrentProcessId(), ++created_));
    // Read and write access, others may read while it is written.
    const HANDLE file =
        CreateFileW(temporary.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) {
      return std::make_unique<Win32OutputFile>(file, temporary, WideFromUtf8(path), lastFailure_);
    }
    const DWORD error = GetLastError();
    if (error != ERROR_FILE_EXISTS) {
      lastFailure_ = SystemReason(error);
      return nullptr;
    }
  }
  lastFailure_ = SystemReason(ERROR_FILE_EXISTS);
  return nullptr;
}

}  // namespace drawing::platform::win32
