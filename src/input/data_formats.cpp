#include "input/data_formats.h"

#include <new>

namespace drawing::input {

platform::DiObjectDataFormat* NewKeyboardFormatRows(runtime::MainHeap& heap) {
  void* block = heap.Allocate(kKeyboardKeyCount * sizeof(platform::DiObjectDataFormat));
  if (block == nullptr) {
    return nullptr;
  }
  auto* rows = static_cast<platform::DiObjectDataFormat*>(block);
  const uint32_t keyButton = static_cast<uint32_t>(platform::Didft::Optional) |
                             static_cast<uint32_t>(platform::Didft::Button);
  for (uint32_t i = 0; i < kKeyboardKeyCount; ++i) {
    new (&rows[i]) platform::DiObjectDataFormat{platform::ObjectGuid::Key, i,
                                                keyButton | platform::DidftMakeInstance(i), 0};
  }
  return rows;
}

platform::DiDataFormat KeyboardFormatFor(const platform::DiObjectDataFormat* rows) {
  return {
      24,  16, static_cast<uint32_t>(platform::Didf::RelAxis), kKeyboardKeyCount, kKeyboardKeyCount,
      rows};
}

}  // namespace drawing::input
