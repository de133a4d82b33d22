// The two ways a frame of the software device reaches an SDL window, one
// class each: a renderer with a streaming texture (the texture, locked, is
// the memory the device draws in; unlocking it uploads the frame), or the
// window surface with no renderer at all (the surface is that memory, and
// SDL_UpdateWindowSurface shows it). Where OpenGL runs in software (Mesa's
// llvmpipe on a machine without a GPU) a renderer costs a core's worth of
// CPU for what is one copy of memory to the screen, so there the surface
// is chosen; a GPU keeps its renderer, and so does a renderer the user
// names in SDL_RENDER_DRIVER.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

#include "platform/direct3d.h"
#include "platform/pixels.h"
#include "platform/soft/kit/damage.h"

namespace drawing::platform::sdl {

// How frames reach the window.
enum class PresentPath : uint8_t {
  Automatic,      // a renderer, unless its OpenGL runs in software
  Renderer,       // SDL's renderer with a streaming texture
  WindowSurface,  // the window surface, no renderer
};

// The window surface instead of a renderer: for an OpenGL renderer whose
// GL_RENDERER names a software rasteriser, unless the user chose the driver.
bool PrefersWindowSurface(const char* rendererName, const char* glRenderer, bool userChoseDriver);

class SdlPresenter {
 public:
  enum class Shown : uint8_t {
    Ok,       // on the screen
    Lost,     // SDL failed: the device is lost
    Dropped,  // the window surface changed under the frame, which is not shown
  };

  virtual ~SdlPresenter() = default;

  // Whether frames can be shown (the texture or the surface exists).
  virtual bool Ready() const = 0;
  // Memory of the window's own that the next frame can be drawn in, of the
  // back buffer's size and layout; empty rows when there is none now.
  virtual Rows Lend() = 0;
  // Whether what the last Lend gave is the memory lent before, still
  // holding what was drawn in it.
  virtual bool KeepsLent() const { return false; }
  // Shows `frame`; `fromLent` when it lies in what Lend gave. `changed`
  // covers what differs from the frame shown last. `copied` says whether
  // its pixels had to be copied on the way.
  virtual Shown Show(const ConstRows& frame, bool fromLent, const soft::Damage& changed,
                     bool& copied) = 0;
  // The window's size changed.
  virtual void WindowResized() {}
  // Some of the window's picture was lost (uncovered, shown again): the
  // next frame goes to it whole.
  virtual void WindowExposed() {}

  virtual SDL_Renderer* Renderer() const { return nullptr; }
  virtual bool WaitsForRetrace() const { return false; }
  virtual bool OnWindowSurface() const { return false; }
};

// Opens the presenter `path` names for a back buffer of `parameters` on
// `window`; an Automatic path is settled to the one chosen. Null when SDL
// refuses.
std::unique_ptr<SdlPresenter> OpenPresenter(SDL_Window* window, const PresentParameters& parameters,
                                            PresentPath& path);

}  // namespace drawing::platform::sdl
