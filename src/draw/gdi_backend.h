// The GDI back-end of a drawing context: draws through a Windows device
// context with the objects it creates, and restores the context's own
// objects when the drawing ends.
#pragma once

#include <cstdint>

#include "draw/draw_context.h"
#include "platform/gdi.h"
#include "platform/handles.h"
#include "platform/pixels.h"

namespace drawing::draw {

class GdiBackend : public DrawContext {
 public:
  // A context drawing through `dc` on a target of this size and layout. The
  // context can be given up for direct pixel access (BufferAddress) and is
  // fetched again through the hooks by the next GDI operation.
  GdiBackend(platform::Gdi& gdi, platform::Hdc dc, int32_t width, int32_t height, int32_t depth,
             platform::PixelLayout layout);
  // Deletes owned objects that EndTarget did not get to (a failed begin).
  ~GdiBackend() override;

  void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height) override;
  // Direct access to the target's pixels: the device context is given up
  // and fetched again by the next GDI operation.
  intptr_t BufferAddress() override;
  int32_t BufferPitch() override { return static_cast<int32_t>(locked_.step); }
  // The program's code of the target's pixels: 64 for X8R8G8B8, 4 for
  // R5G6B5, 2 for X1R5G5B5.
  int32_t BufferFormat() override;
  void SetDrawMode(DrawMode mode) override;
  void BlitImage(platform::Hbitmap bitmap, int32_t x, int32_t y) override;
  void BlitImageSized(platform::Hbitmap bitmap, int32_t x, int32_t y, int32_t width,
                      int32_t height) override;
  void SetFrontColor(Colour colour) override;
  intptr_t BeginTarget() override;
  void EndTarget() override;

 protected:
  // The target's hooks: a device context fetched again after direct pixel
  // access (null when none can be had), one given back, and the pixels
  // locked for direct access (empty rows on failure).
  virtual platform::Hdc FetchDc() = 0;
  virtual void GiveBackDc(platform::Hdc dc) = 0;
  virtual platform::Rows LockPixels() = 0;
  // The device context now, handed over to the caller (null if none).
  platform::Hdc TakeDc();
  // Whether pixels are locked, forgotten by the caller that unlocks them.
  bool Locked() const { return locked_.first != nullptr; }
  void ForgetLock() { locked_.first = nullptr; }
  platform::PixelLayout Layout() const { return layout_; }

 private:
  enum class DcState : uint8_t { InUse, GivenUp };

  // Fetches and sets up the device context again after direct pixel access.
  void EnsureDc();
  void DeleteOwned(platform::Hgdiobj& object);
  void SelectIfSet(platform::Hgdiobj object);

  platform::Gdi& gdi_;
  platform::Hdc dc_;
  platform::PixelLayout layout_;
  platform::Rows locked_;
  DrawMode drawMode_ = DrawModeNone;
  DcState dcState_ = DcState::InUse;
  platform::Hbrush brush_ = nullptr;         // owned
  platform::Hpen pen_ = nullptr;             // owned
  platform::Hfont font_ = nullptr;           // not owned
  platform::Hbrush defaultBrush_ = nullptr;  // owned
  platform::Hpen defaultPen_ = nullptr;      // owned
  platform::Hbrush savedBrush_ = nullptr;
  platform::Hpen savedPen_ = nullptr;
};

}  // namespace drawing::draw
