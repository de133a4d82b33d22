#include "platform/hosts/sdl/sdl_presenters.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/hosts/sdl/sdl_modes.h"
#include "platform/soft/direct3d/soft_device_pixels.h"

namespace drawing::platform::sdl {

namespace {

constexpr unsigned kGlRenderer = 0x1F01;  // GL_RENDERER

// The GL_RENDERER string of the current OpenGL context; "" without one.
const char* CurrentGlRenderer() {
  using GetString = const unsigned char* (*)(unsigned);
  auto getString = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
  const unsigned char* name = getString != nullptr ? getString(kGlRenderer) : nullptr;
  return name != nullptr ? reinterpret_cast<const char*>(name) : "";
}

// The back buffer's shape, as the memory a presenter lends must have it.
struct FrameShape {
  explicit FrameShape(const PresentParameters& parameters)
      : width(parameters.BackBufferWidth),
        height(parameters.BackBufferHeight),
        format(parameters.BackBufferFormat) {}

  Rows RowsAt(void* memory, int pitch) const {
    return Rows::TopDown(static_cast<uint8_t*>(memory), pitch, static_cast<int32_t>(width),
                         static_cast<int32_t>(height), soft::DeviceLayout(format));
  }

  uint32_t width;
  uint32_t height;
  Format format;
};

class TexturePresenter final : public SdlPresenter {
 public:
  TexturePresenter(SDL_Renderer* renderer, SDL_Texture* texture, const FrameShape& shape)
      : renderer_(renderer), texture_(texture), shape_(shape) {
    SDL_RendererInfo info;
    vsync_ =
        SDL_GetRendererInfo(renderer_, &info) == 0 && (info.flags & SDL_RENDERER_PRESENTVSYNC) != 0;
  }
  ~TexturePresenter() override {
    Unlock();
    SDL_DestroyTexture(texture_);
    SDL_DestroyRenderer(renderer_);
  }
  TexturePresenter(const TexturePresenter&) = delete;
  TexturePresenter& operator=(const TexturePresenter&) = delete;

  bool Ready() const override { return true; }

  Rows Lend() override {
    Unlock();
    void* pixels = nullptr;
    int pitch = 0;
    if (SDL_LockTexture(texture_, nullptr, &pixels, &pitch) != 0) {
      return {};
    }
    locked_ = true;
    return shape_.RowsAt(pixels, pitch);
  }

  // A locked texture's memory holds nothing its driver promises to keep.
  Shown Show(const ConstRows& frame, bool fromLent, const soft::Damage& /*changed*/,
             bool& copied) override {
    const bool inTexture = fromLent && locked_;
    // Unlocking uploads what was drawn in the texture's own memory.
    Unlock();
    copied = !inTexture;
    if (copied &&
        SDL_UpdateTexture(texture_, nullptr, frame.first, static_cast<int>(frame.step)) != 0) {
      return Shown::Lost;
    }
    if (SDL_RenderCopy(renderer_, texture_, nullptr, nullptr) != 0) {
      return Shown::Lost;
    }
    SDL_RenderPresent(renderer_);
    return Shown::Ok;
  }

  SDL_Renderer* Renderer() const override { return renderer_; }
  bool WaitsForRetrace() const override { return vsync_; }

 private:
  void Unlock() {
    if (locked_) {
      SDL_UnlockTexture(texture_);
      locked_ = false;
    }
  }

  SDL_Renderer* renderer_;
  SDL_Texture* texture_;
  FrameShape shape_;
  bool vsync_ = false;
  bool locked_ = false;  // the texture is locked and lent
};

class SurfacePresenter final : public SdlPresenter {
 public:
  SurfacePresenter(SDL_Window* window, SDL_Surface* surface, const FrameShape& shape)
      : window_(window), surface_(surface), shape_(shape) {}

  bool Ready() const override { return surface_ != nullptr; }

  Rows Lend() override {
    // The surface goes when the window's size changes; SDL makes a new one.
    surface_ = SDL_GetWindowSurface(window_);
    if (surface_ == nullptr || static_cast<uint32_t>(surface_->w) != shape_.width ||
        static_cast<uint32_t>(surface_->h) != shape_.height ||
        surface_->format->format != SdlPixelsOfFormat(shape_.format)) {
      lentPixels_ = nullptr;
      kept_ = false;
      return {};
    }
    kept_ = surface_->pixels == lentPixels_ && lentPixels_ != nullptr && !renewed_;
    lentPixels_ = surface_->pixels;
    renewed_ = false;
    return shape_.RowsAt(surface_->pixels, surface_->pitch);
  }

  bool KeepsLent() const override { return kept_; }

  Shown Show(const ConstRows& frame, bool /*fromLent*/, const soft::Damage& changed,
             bool& copied) override {
    copied = false;
    if (stale_) {
      // The window's size changed: asking for the surface now frees the old
      // one, which may be this very frame. The frame is dropped, and the
      // next is drawn in the new surface.
      stale_ = false;
      return Shown::Dropped;
    }
    surface_ = SDL_GetWindowSurface(window_);
    if (surface_ == nullptr) {
      return Shown::Lost;
    }
    if (frame.first != surface_->pixels) {
      // Memory of our own (the surface had another size or format):
      // converted into the surface, cut to the smaller of the two.
      copied = true;
      renewed_ = true;
      const int width = std::min(static_cast<int>(frame.width), surface_->w);
      const int height = std::min(static_cast<int>(frame.height), surface_->h);
      if (SDL_ConvertPixels(width, height, SdlPixelsOfFormat(shape_.format), frame.first,
                            static_cast<int>(frame.step), surface_->format->format,
                            surface_->pixels, surface_->pitch) != 0) {
        return Shown::Lost;
      }
    }
    if (copied || changed.Whole() || exposed_) {
      exposed_ = false;
      return SDL_UpdateWindowSurface(window_) != 0 ? Shown::Lost : Shown::Ok;
    }
    // Only what changed goes to the screen: the window keeps the rest.
    rects_.clear();
    for (const Rect& part : changed.Rects()) {
      rects_.push_back(
          SDL_Rect{part.left, part.top, part.right - part.left, part.bottom - part.top});
    }
    if (rects_.empty()) {
      return Shown::Ok;
    }
    return SDL_UpdateWindowSurfaceRects(window_, rects_.data(), static_cast<int>(rects_.size())) !=
                   0
               ? Shown::Lost
               : Shown::Ok;
  }

  void WindowResized() override {
    if (surface_ != nullptr) {
      stale_ = true;
    }
    renewed_ = true;
  }
  void WindowExposed() override { exposed_ = true; }
  bool OnWindowSurface() const override { return surface_ != nullptr; }

 private:
  SDL_Window* window_;
  SDL_Surface* surface_;
  FrameShape shape_;
  bool stale_ = false;  // the window's size changed since the surface was taken
  // What the last Lend gave, and whether it was the memory lent before with
  // what was drawn in it (renewed_: something else was put there since).
  void* lentPixels_ = nullptr;
  bool kept_ = false;
  bool renewed_ = false;
  bool exposed_ = false;  // the window lost some of its picture: show it all
  std::vector<SDL_Rect> rects_;
};

std::unique_ptr<SdlPresenter> OpenSurface(SDL_Window* window, const FrameShape& shape) {
  // SDL's own framebuffer of the window, not one more renderer behind it.
  SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
  SDL_Surface* surface = SDL_GetWindowSurface(window);
  if (surface == nullptr) {
    return nullptr;
  }
  return std::make_unique<SurfacePresenter>(window, surface, shape);
}

// Whether the renderer just made runs OpenGL in software, so that an
// Automatic path takes the window surface instead; settles `path`.
bool SwitchToWindowSurface(SDL_Renderer* renderer, PresentPath& path) {
  SDL_RendererInfo info;
  if (path != PresentPath::Automatic || SDL_GetRendererInfo(renderer, &info) != 0) {
    return false;
  }
  const char* chosen = SDL_GetHint(SDL_HINT_RENDER_DRIVER);
  if (!PrefersWindowSurface(info.name, CurrentGlRenderer(), chosen != nullptr && *chosen != 0)) {
    path = PresentPath::Renderer;
    return false;
  }
  path = PresentPath::WindowSurface;
  return true;
}

}  // namespace

bool PrefersWindowSurface(const char* rendererName, const char* glRenderer, bool userChoseDriver) {
  if (userChoseDriver || std::strncmp(rendererName, "opengl", 6) != 0) {
    return false;
  }
  for (const char* software : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"}) {
    if (std::strstr(glRenderer, software) != nullptr) {
      return true;
    }
  }
  return false;
}

std::unique_ptr<SdlPresenter> OpenPresenter(SDL_Window* window, const PresentParameters& parameters,
                                            PresentPath& path) {
  const FrameShape shape(parameters);
  if (path == PresentPath::WindowSurface) {
    return OpenSurface(window, shape);
  }
  const bool retrace = parameters.PresentationInterval != PresentInterval::Immediate;
  SDL_Renderer* renderer = SDL_CreateRenderer(window, -1, retrace ? SDL_RENDERER_PRESENTVSYNC : 0);
  if (renderer == nullptr && retrace) {
    renderer = SDL_CreateRenderer(window, -1, 0);
  }
  if (renderer == nullptr) {
    return nullptr;
  }
  if (SwitchToWindowSurface(renderer, path)) {
    SDL_DestroyRenderer(renderer);
    return OpenSurface(window, shape);
  }
  SDL_Texture* texture = SDL_CreateTexture(
      renderer, SdlPixelsOfFormat(parameters.BackBufferFormat), SDL_TEXTUREACCESS_STREAMING,
      static_cast<int>(parameters.BackBufferWidth), static_cast<int>(parameters.BackBufferHeight));
  if (texture == nullptr) {
    SDL_DestroyRenderer(renderer);
    return nullptr;
  }
  return std::make_unique<TexturePresenter>(renderer, texture, shape);
}

}  // namespace drawing::platform::sdl
