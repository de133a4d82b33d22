#include "platform/win32/win32_dinput.h"

namespace drawing::platform::win32 {

const GUID* ToNative(ObjectGuid guid) {
  switch (guid) {
    case ObjectGuid::XAxis:
      return &GUID_XAxis;
    case ObjectGuid::YAxis:
      return &GUID_YAxis;
    case ObjectGuid::ZAxis:
      return &GUID_ZAxis;
    case ObjectGuid::Key:
      return &GUID_Key;
    case ObjectGuid::None:
      break;
  }
  return nullptr;
}

std::vector<DIOBJECTDATAFORMAT> ToNativeRows(const DiDataFormat& format) {
  std::vector<DIOBJECTDATAFORMAT> rows;
  if (format.rgodf == nullptr) {
    return rows;
  }
  rows.reserve(format.dwNumObjs);
  for (uint32_t i = 0; i < format.dwNumObjs; ++i) {
    const DiObjectDataFormat& row = format.rgodf[i];
    rows.push_back(DIOBJECTDATAFORMAT{ToNative(row.guid), row.dwOfs, row.dwType, row.dwFlags});
  }
  return rows;
}

}  // namespace drawing::platform::win32
