#include "platform/hosts/sdl/sdl_modes.h"

#include <algorithm>
#include <tuple>

namespace drawing::platform::sdl {

Format FormatOfSdlPixels(uint32_t sdlFormat) {
  switch (sdlFormat) {
    case SDL_PIXELFORMAT_RGB565:
    case SDL_PIXELFORMAT_BGR565:
      return Format::R5G6B5;
    case SDL_PIXELFORMAT_RGB555:
    case SDL_PIXELFORMAT_BGR555:
    case SDL_PIXELFORMAT_ARGB1555:
    case SDL_PIXELFORMAT_ABGR1555:
      return Format::X1R5G5B5;
    default:
      break;
  }
  if (SDL_PIXELTYPE(sdlFormat) == SDL_PIXELTYPE_PACKED32 && SDL_BYTESPERPIXEL(sdlFormat) == 4 &&
      SDL_BITSPERPIXEL(sdlFormat) >= 24) {
    return Format::X8R8G8B8;
  }
  return Format::Unknown;
}

uint32_t SdlPixelsOfFormat(Format format) {
  switch (format) {
    case Format::X8R8G8B8:
      return SDL_PIXELFORMAT_RGB888;  // bytes B, G, R, unused
    case Format::A8R8G8B8:
      return SDL_PIXELFORMAT_ARGB8888;
    case Format::R5G6B5:
      return SDL_PIXELFORMAT_RGB565;
    case Format::X1R5G5B5:
      return SDL_PIXELFORMAT_RGB555;
    default:
      return SDL_PIXELFORMAT_UNKNOWN;
  }
}

namespace {

bool AddMode(const SDL_DisplayMode& sdl, std::vector<DisplayMode>& modes) {
  const Format format = FormatOfSdlPixels(sdl.format);
  if (format == Format::Unknown || sdl.w <= 0 || sdl.h <= 0) {
    return false;
  }
  modes.push_back(DisplayMode{static_cast<uint32_t>(sdl.w), static_cast<uint32_t>(sdl.h),
                              static_cast<uint32_t>(sdl.refresh_rate > 0 ? sdl.refresh_rate : 0),
                              format});
  return true;
}

}  // namespace

std::vector<DisplayMode> AdapterModesOf(std::span<const SDL_DisplayMode> listed) {
  std::vector<DisplayMode> modes;
  for (const SDL_DisplayMode& sdl : listed) {
    AddMode(sdl, modes);
  }
  // SDL lists the largest first; a Direct3D 9 adapter enumerates from the
  // smallest up, and the mode choice depends on that order.
  std::stable_sort(modes.begin(), modes.end(), [](const DisplayMode& a, const DisplayMode& b) {
    return std::tie(a.Width, a.Height, a.RefreshRate) < std::tie(b.Width, b.Height, b.RefreshRate);
  });
  return modes;
}

std::vector<DisplayMode> ReadDisplayModes(int display) {
  std::vector<SDL_DisplayMode> listed;
  const int count = SDL_GetNumDisplayModes(display);
  for (int index = 0; index < count; ++index) {
    SDL_DisplayMode sdl;
    if (SDL_GetDisplayMode(display, index, &sdl) == 0) {
      listed.push_back(sdl);
    }
  }
  // Some X servers list no modes (no or a late RandR); the desktop's own
  // mode is then the one the screen can be opened in.
  std::vector<DisplayMode> modes = AdapterModesOf(listed);
  SDL_DisplayMode desktop;
  if (modes.empty() && SDL_GetDesktopDisplayMode(display, &desktop) == 0) {
    modes = AdapterModesOf(std::span(&desktop, 1));
  }
  return modes;
}

}  // namespace drawing::platform::sdl
