// UTF-8, the text of the portable code, to UTF-16, the text of the wide
// Windows calls, and back.
#pragma once

#include <string>

namespace drawing::platform::win32 {

std::wstring WideFromUtf8(const std::string& text);
std::string Utf8FromWide(const std::wstring& text);

}  // namespace drawing::platform::win32
