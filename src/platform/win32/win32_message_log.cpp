#include "platform/win32/win32_api.h"
//
#include <cstdio>

#include "platform/win32/win32_message_log.h"

namespace drawing::platform::win32 {
namespace {

std::wstring Environment(const wchar_t* name) {
  wchar_t value[MAX_PATH];
  const DWORD length = GetEnvironmentVariableW(name, value, MAX_PATH);
  return length > 0 && length < MAX_PATH ? std::wstring(value, length) : std::wstring();
}

void AppendToFile(const std::string& text) {
  const std::wstring path = Win32MessageLog::LogPath();
  CreateDirectoryW(path.substr(0, path.find_last_of(L'\\')).c_str(), nullptr);
  const HANDLE file =
      CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                  OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    return;
  }
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

void WriteToStandardError(const std::string& text) {
  const HANDLE errors = GetStdHandle(STD_ERROR_HANDLE);
  if (errors != nullptr && errors != INVALID_HANDLE_VALUE) {
    DWORD written = 0;
    WriteFile(errors, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  }
}

}  // namespace

std::wstring Win32MessageLog::LogPath() {
  std::wstring folder = Environment(L"LOCALAPPDATA");
  if (folder.empty()) {
    wchar_t temporary[MAX_PATH + 1];
    const DWORD length = GetTempPathW(MAX_PATH + 1, temporary);
    folder = std::wstring(temporary, length > 0 && length <= MAX_PATH ? length : 0);
  }
  if (!folder.empty() && folder.back() == L'\\') {
    folder.pop_back();
  }
  return folder + L"\\drawing\\drawing.log";
}

MessageLineBuffer::~MessageLineBuffer() {
  if (!line_.empty()) {
    Emit();
  }
}

MessageLineBuffer::int_type MessageLineBuffer::overflow(int_type c) {
  if (traits_type::eq_int_type(c, traits_type::eof())) {
    return traits_type::not_eof(c);
  }
  if (traits_type::to_char_type(c) == '\n') {
    Emit();
  } else {
    line_.push_back(traits_type::to_char_type(c));
  }
  return c;
}

void MessageLineBuffer::Emit() {
  SYSTEMTIME now;
  GetLocalTime(&now);
  char stamp[32];
  std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u ", now.wYear, now.wMonth,
                now.wDay, now.wHour, now.wMinute, now.wSecond);
  OutputDebugStringA((line_ + "\n").c_str());
  WriteToStandardError(line_ + "\n");
  AppendToFile(stamp + line_ + "\r\n");
  line_.clear();
}

}  // namespace drawing::platform::win32
