// The draw-mode flags given to SetDrawMode, as one type: a set of flags that
// only combines with other draw modes. None is set after every BeginDraw.
//
// A context keeps its mode in a signed 32-bit field, so the type has exactly
// that width; DrawModeBits gives the plain number where one is shown.
#pragma once

#include <cstdint>

namespace drawing::draw {

enum class DrawMode : int32_t {};

inline constexpr DrawMode DrawModeNone{0};
inline constexpr DrawMode DrawModeTransparent{1};      // text background not painted
inline constexpr DrawMode DrawModeXor{2};              // colour XORed in / destination inverted
inline constexpr DrawMode DrawModeOutline{4};          // shapes as outlines only
inline constexpr DrawMode DrawModeAlphaChannel{8};     // only the alpha byte is written
inline constexpr DrawMode DrawModeAlphaBlend{16};      // blend, target alpha updated
inline constexpr DrawMode DrawModeAlphaBlendKeep{32};  // blend, target alpha kept
inline constexpr DrawMode DrawModeGradient{64};        // per-pixel colour from the gradient
inline constexpr DrawMode DrawModeCustom{128};         // per-pixel colour from a custom function

constexpr int32_t DrawModeBits(DrawMode mode) {
  return static_cast<int32_t>(mode);
}

constexpr DrawMode operator|(DrawMode a, DrawMode b) {
  return DrawMode{DrawModeBits(a) | DrawModeBits(b)};
}

constexpr DrawMode operator&(DrawMode a, DrawMode b) {
  return DrawMode{DrawModeBits(a) & DrawModeBits(b)};
}

// True when `mode` has at least one of the flags in `flags`.
constexpr bool HasAny(DrawMode mode, DrawMode flags) {
  return (mode & flags) != DrawModeNone;
}

}  // namespace drawing::draw
