// SDL's display modes in the adapter's vocabulary: the three formats the
// screen can be opened with, and the texture format that shows each.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <span>
#include <vector>

#include "platform/direct3d.h"

namespace drawing::platform::sdl {

// X8R8G8B8 for every packed 32-bit layout, R5G6B5 for the 565 layouts,
// X1R5G5B5 for the 555 and 1555 layouts; Unknown for anything else.
Format FormatOfSdlPixels(uint32_t sdlFormat);

// The streaming-texture format whose memory has the back buffer's layout.
uint32_t SdlPixelsOfFormat(Format format);

// SDL's modes in the order a Direct3D 9 adapter enumerates them (ascending
// width, then height, then refresh rate), those of other formats left out.
std::vector<DisplayMode> AdapterModesOf(std::span<const SDL_DisplayMode> listed);

// Display `display`'s modes as AdapterModesOf orders them; the desktop's mode
// alone when SDL lists none. Empty when SDL knows neither.
std::vector<DisplayMode> ReadDisplayModes(int display);

}  // namespace drawing::platform::sdl
