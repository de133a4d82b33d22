// The data formats handed to the keyboard and mouse devices: the same content
// as DirectInput's predefined keyboard and mouse formats, and the mouse's
// event-buffer size.
#pragma once

#include <cstdint>

#include "platform/direct_input.h"
#include "runtime/main_heap.h"

namespace drawing::input {

inline constexpr uint32_t kKeyboardKeyCount = 256;
inline constexpr uint32_t kMouseBufferRecords = 24;

// One row per key code, offset i, as an optional button of instance i.
// Allocated from `heap`, which alone frees it; null when the heap refuses.
platform::DiObjectDataFormat* NewKeyboardFormatRows(runtime::MainHeap& heap);

// The keyboard's format around rows made by NewKeyboardFormatRows.
platform::DiDataFormat KeyboardFormatFor(const platform::DiObjectDataFormat* rows);

namespace detail {

using platform::Didft;
using platform::ObjectGuid;

constexpr uint32_t Bits(Didft a, Didft b) {
  return static_cast<uint32_t>(a) | static_cast<uint32_t>(b);
}
constexpr uint32_t Optional(uint32_t type) {
  return type | static_cast<uint32_t>(Didft::Optional);
}

inline constexpr uint32_t kAxis = Bits(Didft::Axis, Didft::AnyInstance);
inline constexpr uint32_t kButton = Bits(Didft::Button, Didft::AnyInstance);

// x, y and the optional wheel as relative axes; two buttons and two optional ones.
inline constexpr platform::DiObjectDataFormat kMouseFormatRows[7] = {
    {ObjectGuid::XAxis, 0, kAxis, 0},
    {ObjectGuid::YAxis, 4, kAxis, 0},
    {ObjectGuid::ZAxis, 8, Optional(kAxis), 0},
    {ObjectGuid::None, 12, kButton, 0},
    {ObjectGuid::None, 13, kButton, 0},
    {ObjectGuid::None, 14, Optional(kButton), 0},
    {ObjectGuid::None, 15, Optional(kButton), 0},
};

}  // namespace detail

inline constexpr platform::DiDataFormat MouseFormat{
    24, 16, static_cast<uint32_t>(platform::Didf::RelAxis), 16, 7, detail::kMouseFormatRows};

// Lets the mouse queue up to 24 events between two reads.
inline constexpr platform::DiPropDword kMouseBufferSize{{20, 16, 0, platform::Diph::Device},
                                                        kMouseBufferRecords};

}  // namespace drawing::input
