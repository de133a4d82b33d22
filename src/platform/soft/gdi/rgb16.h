// The colour bits of 16-bit pixels: 5-5-5 (the top bit is not colour) and
// 5-6-5, to and from 0x00RRGGBB. Channels widen by repeating their top bits
// and narrow by truncation, as the GDI and the device both do.
#pragma once

#include <cstdint>

namespace drawing::platform::soft {

inline uint32_t Widen5(uint32_t value) {
  return (value << 3) | (value >> 2);
}
inline uint32_t Widen6(uint32_t value) {
  return (value << 2) | (value >> 4);
}

inline uint32_t RgbFrom555(uint32_t raw) {
  return (Widen5((raw >> 10) & 31u) << 16) | (Widen5((raw >> 5) & 31u) << 8) | Widen5(raw & 31u);
}
inline uint32_t RgbFrom565(uint32_t raw) {
  return (Widen5((raw >> 11) & 31u) << 16) | (Widen6((raw >> 5) & 63u) << 8) | Widen5(raw & 31u);
}

inline uint32_t Rgb555From(uint32_t rgb) {
  return (((rgb >> 16) & 0xFFu) >> 3) << 10 | (((rgb >> 8) & 0xFFu) >> 3) << 5 |
         ((rgb & 0xFFu) >> 3);
}
inline uint32_t Rgb565From(uint32_t rgb) {
  return (((rgb >> 16) & 0xFFu) >> 3) << 11 | (((rgb >> 8) & 0xFFu) >> 2) << 5 |
         ((rgb & 0xFFu) >> 3);
}

}  // namespace drawing::platform::soft
