#include "platform/win32/win32_api.h"
//
#include "platform/hosts/preview/win32_gdi_display_host.h"

#include <vector>

#include "platform/win32/win32_saver_window.h"

namespace drawing::platform::win32 {

GdiDisplayHost::GdiDisplayHost(Hwnd window, uint32_t width, uint32_t height, GdiPacing pacing)
    : window_(window), width_(width), height_(height), pacing_(pacing) {
  pacer_.SetRefreshRate(kRefreshRate);
}

D3dResult GdiDisplayHost::Accept(const PresentParameters& parameters) {
  // The device checked the format; a size other than the window's cannot be shown.
  if (parameters.BackBufferWidth != width_ || parameters.BackBufferHeight != height_) {
    return D3dResult::NotAvailable;
  }
  return D3dResult::Ok;
}

D3dResult GdiDisplayHost::CreateDevice(const PresentParameters& parameters) {
  return Accept(parameters);
}

D3dResult GdiDisplayHost::Reset(const PresentParameters& parameters) {
  return Accept(parameters);
}

soft::BackBufferLease* GdiDisplayHost::LendBackBuffer(const PresentParameters& parameters) {
  pixels_.assign(static_cast<size_t>(parameters.BackBufferWidth) * parameters.BackBufferHeight, 0);
  lent_ = Rows::TopDown(reinterpret_cast<uint8_t*>(pixels_.data()),
                        static_cast<ptrdiff_t>(parameters.BackBufferWidth) * 4,
                        static_cast<int32_t>(parameters.BackBufferWidth),
                        static_cast<int32_t>(parameters.BackBufferHeight), PixelLayout::Bgrx32);
  return this;
}

D3dResult GdiDisplayHost::Present(const ConstRows& backBuffer, const soft::Damage& changed) {
  const HWND window = ToNative(window_);
  // The window's WM_PAINT says when the screen lost some of its picture.
  const bool lost = RemovePropW(window, kPictureLostProperty) != nullptr;
  const std::vector<Rect> parts =
      lost ? std::vector<Rect>{Rect{0, 0, backBuffer.width, backBuffer.height}} : changed.Rects();
  const HDC dc = parts.empty() ? nullptr : GetDC(window);
  if (dc != nullptr) {
    for (const Rect& part : parts) {
      // Each part as a top-down DIB of its own rows, full width.
      const int rows = part.bottom - part.top;
      BITMAPINFO info{};
      info.bmiHeader.biSize = sizeof(info.bmiHeader);
      info.bmiHeader.biWidth = static_cast<LONG>(backBuffer.step / 4);
      info.bmiHeader.biHeight = -static_cast<LONG>(rows);
      info.bmiHeader.biPlanes = 1;
      info.bmiHeader.biBitCount = 32;
      info.bmiHeader.biCompression = BI_RGB;
      SetDIBitsToDevice(dc, part.left, part.top, static_cast<DWORD>(part.right - part.left),
                        static_cast<DWORD>(rows), part.left, 0, 0, static_cast<UINT>(rows),
                        backBuffer.Row(part.top), &info, DIB_RGB_COLORS);
    }
    ReleaseDC(window, dc);
  }
  if (pacing_ == GdiPacing::OwnPeriod) {
    pacer_.FramePresented();
  }
  return D3dResult::Ok;
}

}  // namespace drawing::platform::win32
