#include "draw/screen_target.h"

#include "draw/gdi_backend.h"

namespace drawing::draw {

namespace {

// A GdiBackend whose device context and pixels come from the back buffer.
class ScreenContext final : public GdiBackend {
 public:
  ScreenContext(platform::Gdi& gdi, platform::Surface& backBuffer, platform::Hdc dc,
                const display::ScreenGeometry& screen)
      : GdiBackend(gdi, dc, screen.width, screen.height, screen.depth, screen.layout),
        backBuffer_(backBuffer) {}

  // Hands the device context and any lock back to the surface.
  void ReleaseTarget(bool /*ending*/) override {
    if (platform::Hdc dc = TakeDc(); dc != nullptr) {
      backBuffer_.ReleaseDC(dc);
    }
    Unlock();
  }

 protected:
  platform::Hdc FetchDc() override {
    Unlock();
    platform::Hdc fetched = nullptr;
    if (platform::Failed(backBuffer_.GetDC(&fetched))) {
      return nullptr;
    }
    return fetched;
  }

  void GiveBackDc(platform::Hdc dc) override { backBuffer_.ReleaseDC(dc); }

  platform::Rows LockPixels() override {
    platform::LockedRect locked;
    if (platform::Failed(backBuffer_.LockRect(&locked, nullptr, platform::LockFlag::None))) {
      return {};
    }
    return platform::Rows::TopDown(static_cast<uint8_t*>(locked.pBits), locked.Pitch, width, height,
                                   Layout());
  }

 private:
  void Unlock() {
    if (Locked()) {
      backBuffer_.UnlockRect();
      ForgetLock();
    }
  }

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
  auto* context = drawing.NewDrawContext<ScreenContext>(gdi, *backBuffer, dc, display.Geometry());
  if (context == nullptr) {
    // Nothing will hand the context back later, and a surface with a lent
    // context cannot be presented.
    backBuffer->ReleaseDC(dc);
    return nullptr;
  }
  return context;
}

}  // namespace drawing::draw
