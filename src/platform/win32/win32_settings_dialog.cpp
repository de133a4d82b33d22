#include "platform/win32/win32_api.h"
//
#include "platform/win32/win32_settings_dialog.h"
#include "platform/win32/win32_text.h"

namespace drawing::platform::win32 {

void ShowSettingsDialog(uintptr_t owner, const std::string& title, const std::string& text) {
  const std::wstring wideText = WideFromUtf8(text);
  const std::wstring wideTitle = WideFromUtf8(title);
  MessageBoxW(reinterpret_cast<HWND>(owner), wideText.c_str(), wideTitle.c_str(),
              MB_OK | MB_ICONINFORMATION);
}

}  // namespace drawing::platform::win32
