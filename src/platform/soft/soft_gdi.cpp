#include "platform/soft/soft_gdi.h"

namespace drawing::platform::soft {

class SoftGdiState {};

SoftGdi::SoftGdi() : state_(std::make_unique<SoftGdiState>()) {}
SoftGdi::~SoftGdi() = default;

Hdc SoftGdi::CreateSurfaceDC(const SurfaceMemory&) {
  return nullptr;
}
Hdc SoftGdi::CreateDisplayDC() {
  return nullptr;
}
Hdc SoftGdi::CreateCompatibleDC(Hdc) {
  return nullptr;
}
bool SoftGdi::DeleteDC(Hdc) {
  return false;
}
Hbitmap SoftGdi::CreateDIBSection(Hdc, const BitmapInfoHeader&, void**) {
  return nullptr;
}
bool SoftGdi::GetObjectBitmap(Hgdiobj, Bitmap*) {
  return false;
}
bool SoftGdi::GetObjectDibSection(Hgdiobj, DibSection*) {
  return false;
}
ObjType SoftGdi::GetObjectType(Hgdiobj) {
  return ObjType::None;
}
Hgdiobj SoftGdi::SelectObject(Hdc, Hgdiobj) {
  return nullptr;
}
Hgdiobj SoftGdi::GetStockObject(StockObject) {
  return nullptr;
}
Hbrush SoftGdi::CreateSolidBrush(ColorRef) {
  return nullptr;
}
Hpen SoftGdi::CreatePen(PenStyle, int, ColorRef) {
  return nullptr;
}
bool SoftGdi::DeleteObject(Hgdiobj) {
  return false;
}
bool SoftGdi::Rectangle(Hdc, int, int, int, int) {
  return false;
}
bool SoftGdi::SetPixelV(Hdc, int, int, ColorRef) {
  return false;
}
int SoftGdi::FillRect(Hdc, const Rect&, Hbrush) {
  return 0;
}
bool SoftGdi::BitBlt(Hdc, int, int, int, int, Hdc, int, int, Rop3) {
  return false;
}
bool SoftGdi::StretchBlt(Hdc, int, int, int, int, Hdc, int, int, int, int, Rop3) {
  return false;
}
int SoftGdi::SetStretchBltMode(Hdc, StretchMode) {
  return 0;
}
int SoftGdi::SetROP2(Hdc, Rop2) {
  return 0;
}
int SoftGdi::SetBkMode(Hdc, BkMode) {
  return 0;
}
ColorRef SoftGdi::SetBkColor(Hdc, ColorRef) {
  return 0xFFFFFFFFu;
}
ColorRef SoftGdi::SetTextColor(Hdc, ColorRef) {
  return 0xFFFFFFFFu;
}
uint32_t SoftGdi::SetTextAlign(Hdc, TextAlign) {
  return 0xFFFFFFFFu;
}
int SoftGdi::GetDIBits(Hdc, Hbitmap, uint32_t, uint32_t, void*, BitmapInfoHeader*) {
  return 0;
}
uint32_t SoftGdi::GdiGetBatchLimit() {
  return 0;
}
uint32_t SoftGdi::GdiSetBatchLimit(uint32_t) {
  return 0;
}
int32_t SoftGdi::LiveObjectCount() const {
  return 0;
}

}  // namespace drawing::platform::soft
