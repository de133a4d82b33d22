// The GDI back-end of a drawing context: draws through a Windows device
// context with the objects it creates, and restores the context's own
// objects when the drawing ends.
#pragma once

#include <cstdint>

#include "draw/draw_context.h"
#include "platform/gdi.h"
#include "platform/handles.h"

namespace drawing::draw {

class GdiBackend : public DrawContext {
 public:
  // The device context is fetched on demand through the hooks and may be
  // given up for direct pixel access.
  static constexpr int32_t ScreenDcMode = 7;

  explicit GdiBackend(platform::Gdi& gdi) : gdi_(gdi) {}
  // Deletes owned objects that EndTarget did not get to (a failed begin).
  ~GdiBackend() override;

  void DrawBox(int32_t x, int32_t y, int32_t width, int32_t height) override;
  // Direct access to the target's pixels: the device context is given up
  // and fetched again by the next GDI operation.
  intptr_t BufferAddress() override;
  int32_t BufferPitch() override { return lockedPitch; }
  int32_t BufferFormat() override { return pixelFormat; }
  void SetDrawMode(DrawMode mode) override;
  void BlitImage(platform::Hbitmap bitmap, int32_t x, int32_t y) override;
  void BlitImageSized(platform::Hbitmap bitmap, int32_t x, int32_t y, int32_t width,
                      int32_t height) override;
  void SetFrontColor(Colour colour) override;
  intptr_t BeginTarget() override;
  void EndTarget() override;

  // Fetches and sets up the device context again after direct pixel access.
  void EnsureDc();

  int32_t dcMode = 0;
  void* lockedPixels = nullptr;
  int32_t lockedPitch = 0;
  int32_t pixelFormat = 0;
  platform::Hdc dc = nullptr;
  DrawMode drawMode = DrawModeNone;
  int32_t dcState = 0;                      // 1 while the DC is in use, -1 after it was given up
  platform::Hbrush brush = nullptr;         // owned
  platform::Hpen pen = nullptr;             // owned
  platform::Hfont font = nullptr;           // not owned
  platform::Hbrush defaultBrush = nullptr;  // owned
  platform::Hpen defaultPen = nullptr;      // owned
  platform::Hbrush savedBrush = nullptr;
  platform::Hpen savedPen = nullptr;
  platform::Hfont createdFont = nullptr;  // owned
  float textAngle = 0.0f;

 protected:
  // The target's hooks: the device context (null when none can be had), and
  // the locked pixels with their pitch (null on failure).
  virtual platform::Hdc acquireDc() { return dc; }
  virtual void* lockPixels(int32_t* /*pitch*/) { return nullptr; }

  platform::Gdi& gdi_;

 private:
  void DeleteOwned(platform::Hgdiobj& object);
  void SelectIfSet(platform::Hgdiobj object);
};

}  // namespace drawing::draw
