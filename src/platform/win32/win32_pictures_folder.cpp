#include "platform/win32/win32_api.h"
//
#include <knownfolders.h>
#include <shlobj.h>

#include "platform/win32/win32_pictures_folder.h"

namespace drawing::platform::win32 {

std::optional<std::wstring> PicturesFolder() {
  PWSTR path = nullptr;
  const HRESULT result = SHGetKnownFolderPath(FOLDERID_Pictures, KF_FLAG_CREATE, nullptr, &path);
  std::optional<std::wstring> folder;
  if (SUCCEEDED(result) && path != nullptr) {
    folder = std::wstring(path);
  }
  CoTaskMemFree(path);  // also when the call failed, as documented
  return folder;
}

}  // namespace drawing::platform::win32
