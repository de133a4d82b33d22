// GDI and USER32's FillRect, forwarded to the real calls.
#pragma once

#include "platform/gdi.h"

namespace drawing::platform::win32 {

class Win32Gdi final : public Gdi {
 public:
  Hdc CreateDisplayDC() override;
  Hdc CreateCompatibleDC(Hdc dc) override;
  bool DeleteDC(Hdc dc) override;
  Hbitmap CreateDIBSection(Hdc dc, const BitmapInfoHeader& header, void** bits) override;
  bool GetObjectBitmap(Hgdiobj object, Bitmap* out) override;
  bool GetObjectDibSection(Hgdiobj object, DibSection* out) override;
  ObjType GetObjectType(Hgdiobj object) override;
  Hgdiobj SelectObject(Hdc dc, Hgdiobj object) override;
  Hgdiobj GetStockObject(StockObject object) override;
  Hbrush CreateSolidBrush(ColorRef color) override;
  Hpen CreatePen(PenStyle style, int width, ColorRef color) override;
  bool DeleteObject(Hgdiobj object) override;
  bool Rectangle(Hdc dc, int left, int top, int right, int bottom) override;
  bool SetPixelV(Hdc dc, int x, int y, ColorRef color) override;
  int FillRect(Hdc dc, const Rect& rect, Hbrush brush) override;
  bool BitBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX,
              int sourceY, Rop3 operation) override;
  bool StretchBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX,
                  int sourceY, int sourceWidth, int sourceHeight, Rop3 operation) override;
  int SetStretchBltMode(Hdc dc, StretchMode mode) override;
  int SetROP2(Hdc dc, Rop2 mode) override;
  int SetBkMode(Hdc dc, BkMode mode) override;
  ColorRef SetBkColor(Hdc dc, ColorRef color) override;
  ColorRef SetTextColor(Hdc dc, ColorRef color) override;
  uint32_t SetTextAlign(Hdc dc, TextAlign align) override;
  int GetDIBits(Hdc dc, Hbitmap bitmap, uint32_t start, uint32_t lines, void* bits,
                BitmapInfoHeader* header) override;
  uint32_t GdiGetBatchLimit() override;
  uint32_t GdiSetBatchLimit(uint32_t limit) override;
};

}  // namespace drawing::platform::win32
