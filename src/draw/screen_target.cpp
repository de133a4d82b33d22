#include "draw/screen_target.h"

#include "draw/gdi_backend.h"

namespace drawing::draw {

namespace {

// A GdiBackend whose device context and pixels come from the back buffer.
class ScreenContext final : public GdiBackend {
 public:
  ScreenContext(platform::Gdi& gdi, platform::Surface& backBuffer)
      : GdiBackend(gdi), backBuffer_(backBuffer) {}

  // Hands the device context and any lock back to the surface.
  void ReleaseTarget(bool /*ending*/) override {
    if (dc != nullptr) {
      backBuffer_.ReleaseDC(dc);
      dc = nullptr;
    }
    if (lockedPixels != nullptr) {
      backBuffer_.UnlockRect();
      lockedPixels = nullptr;
    }
  }

 protected:
  platform::Hdc acquireDc() override {
    if (dc != nullptr) {
      return dc;
    }
    if (lockedPixels != nullptr) {
      backBuffer_.UnlockRect();
      lockedPixels = nullptr;
    }
    platform::Hdc fetched = nullptr;
    if (platform::Failed(backBuffer_.GetDC(&fetched))) {
      return nullptr;
    }
    dc = fetched;
    return dc;
  }

  void* lockPixels(int32_t* pitch) override {
    if (dc != nullptr) {
      backBuffer_.ReleaseDC(dc);
      dc = nullptr;
    }
    platform::LockedRect locked;
    if (platform::Succeeded(backBuffer_.LockRect(&locked, nullptr, platform::LockFlag::None))) {
      lockedPixels = locked.pBits;
      *pitch = locked.Pitch;
    }
    return lockedPixels;
  }

 private:
  platform::Surface& backBuffer_;
};

}  // namespace

DrawContext* ScreenTarget(Drawing& drawing, display::Display& display, platform::Gdi& gdi) {
  display.EndSceneIfOpen();
  platform::Surface* backBuffer = display.BackBuffer();
  if (backBuffer == nullptr) {
    return nullptr;
  }
  platform::Hdc dc = nullptr;
  if (platform::Failed(backBuffer->GetDC(&dc)) || dc == nullptr) {
    return nullptr;
  }
  auto* context = drawing.NewDrawContext<ScreenContext>(gdi, *backBuffer);
  if (context == nullptr) {
    // Nothing will hand the context back later, and a surface with a lent
    // context cannot be presented.
    backBuffer->ReleaseDC(dc);
    return nullptr;
  }
  context->dcMode = GdiBackend::ScreenDcMode;
  context->dc = dc;
  context->lockedPixels = nullptr;
  const display::ScreenGeometry geometry = display.Geometry();
  context->pixelFormat = geometry.pixelFormat;
  context->width = geometry.width;
  context->height = geometry.height;
  context->depth = geometry.depth;
  return context;
}

}  // namespace drawing::draw
