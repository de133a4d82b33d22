#include "platform/win32/win32_api.h"
//
#include "platform/win32/win32_gdi.h"

namespace drawing::platform::win32 {

namespace {

// BITMAPINFO: the header and one colour entry, which stays zero.
BITMAPINFO ToNative(const BitmapInfoHeader& header) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = header.width;
  info.bmiHeader.biHeight = header.height;
  info.bmiHeader.biPlanes = header.planes;
  info.bmiHeader.biBitCount = header.bitCount;
  info.bmiHeader.biCompression = static_cast<DWORD>(header.compression);
  info.bmiHeader.biSizeImage = header.sizeImage;
  info.bmiHeader.biXPelsPerMeter = header.xPelsPerMeter;
  info.bmiHeader.biYPelsPerMeter = header.yPelsPerMeter;
  info.bmiHeader.biClrUsed = header.clrUsed;
  info.bmiHeader.biClrImportant = header.clrImportant;
  return info;
}

BitmapInfoHeader FromNative(const BITMAPINFOHEADER& native) {
  BitmapInfoHeader header;
  header.size = native.biSize;
  header.width = native.biWidth;
  header.height = native.biHeight;
  header.planes = native.biPlanes;
  header.bitCount = native.biBitCount;
  header.compression = static_cast<BiCompression>(native.biCompression);
  header.sizeImage = native.biSizeImage;
  header.xPelsPerMeter = native.biXPelsPerMeter;
  header.yPelsPerMeter = native.biYPelsPerMeter;
  header.clrUsed = native.biClrUsed;
  header.clrImportant = native.biClrImportant;
  return header;
}

Bitmap FromNative(const BITMAP& native) {
  Bitmap bitmap;
  bitmap.bmType = native.bmType;
  bitmap.bmWidth = native.bmWidth;
  bitmap.bmHeight = native.bmHeight;
  bitmap.bmWidthBytes = native.bmWidthBytes;
  bitmap.bmPlanes = native.bmPlanes;
  bitmap.bmBitsPixel = native.bmBitsPixel;
  bitmap.bmBits = native.bmBits;
  return bitmap;
}

Hgdiobj FromNativeObject(HGDIOBJ object) {
  return win32::FromNative(object);
}

}  // namespace

Hdc Win32Gdi::CreateDisplayDC() {
  return win32::FromNative(CreateDCA("DISPLAY", nullptr, nullptr, nullptr));
}

Hdc Win32Gdi::CreateCompatibleDC(Hdc dc) {
  return win32::FromNative(::CreateCompatibleDC(win32::ToNative(dc)));
}

bool Win32Gdi::DeleteDC(Hdc dc) {
  return ::DeleteDC(win32::ToNative(dc)) != FALSE;
}

Hbitmap Win32Gdi::CreateDIBSection(Hdc dc, const BitmapInfoHeader& header, void** bits) {
  const BITMAPINFO info = ToNative(header);
  return FromNativeObject(
      ::CreateDIBSection(win32::ToNative(dc), &info, DIB_RGB_COLORS, bits, nullptr, 0));
}

bool Win32Gdi::GetObjectBitmap(Hgdiobj object, Bitmap* out) {
  BITMAP native{};
  if (GetObjectA(win32::ToNative(object), sizeof(native), &native) != sizeof(native)) {
    return false;
  }
  *out = FromNative(native);
  return true;
}

bool Win32Gdi::GetObjectDibSection(Hgdiobj object, DibSection* out) {
  DIBSECTION native{};
  if (GetObjectA(win32::ToNative(object), sizeof(native), &native) != sizeof(native)) {
    return false;
  }
  out->dsBm = FromNative(native.dsBm);
  out->dsBmih = FromNative(native.dsBmih);
  for (int i = 0; i < 3; ++i) {
    out->dsBitfields[i] = native.dsBitfields[i];
  }
  out->dshSection = native.dshSection;
  out->dsOffset = native.dsOffset;
  return true;
}

ObjType Win32Gdi::GetObjectType(Hgdiobj object) {
  return static_cast<ObjType>(::GetObjectType(win32::ToNative(object)));
}

Hgdiobj Win32Gdi::SelectObject(Hdc dc, Hgdiobj object) {
  return FromNativeObject(::SelectObject(win32::ToNative(dc), win32::ToNative(object)));
}

Hgdiobj Win32Gdi::GetStockObject(StockObject object) {
  return FromNativeObject(::GetStockObject(static_cast<int>(object)));
}

Hbrush Win32Gdi::CreateSolidBrush(ColorRef color) {
  return FromNativeObject(::CreateSolidBrush(color));
}

Hpen Win32Gdi::CreatePen(PenStyle style, int width, ColorRef color) {
  return FromNativeObject(::CreatePen(static_cast<int>(style), width, color));
}

bool Win32Gdi::DeleteObject(Hgdiobj object) {
  return ::DeleteObject(win32::ToNative(object)) != FALSE;
}

bool Win32Gdi::Rectangle(Hdc dc, int left, int top, int right, int bottom) {
  return ::Rectangle(win32::ToNative(dc), left, top, right, bottom) != FALSE;
}

bool Win32Gdi::SetPixelV(Hdc dc, int x, int y, ColorRef color) {
  return ::SetPixelV(win32::ToNative(dc), x, y, color) != FALSE;
}

int Win32Gdi::FillRect(Hdc dc, const Rect& rect, Hbrush brush) {
  const RECT native = win32::ToNative(rect);
  return ::FillRect(win32::ToNative(dc), &native, static_cast<HBRUSH>(win32::ToNative(brush)));
}

bool Win32Gdi::BitBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX,
                      int sourceY, Rop3 operation) {
  return ::BitBlt(win32::ToNative(destination), x, y, width, height, win32::ToNative(source),
                  sourceX, sourceY, static_cast<DWORD>(operation)) != FALSE;
}

bool Win32Gdi::StretchBlt(Hdc destination, int x, int y, int width, int height, Hdc source,
                          int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                          Rop3 operation) {
  return ::StretchBlt(win32::ToNative(destination), x, y, width, height, win32::ToNative(source),
                      sourceX, sourceY, sourceWidth, sourceHeight,
                      static_cast<DWORD>(operation)) != FALSE;
}

int Win32Gdi::SetStretchBltMode(Hdc dc, StretchMode mode) {
  return ::SetStretchBltMode(win32::ToNative(dc), static_cast<int>(mode));
}

int Win32Gdi::SetROP2(Hdc dc, Rop2 mode) {
  return ::SetROP2(win32::ToNative(dc), static_cast<int>(mode));
}

int Win32Gdi::SetBkMode(Hdc dc, BkMode mode) {
  return ::SetBkMode(win32::ToNative(dc), static_cast<int>(mode));
}

ColorRef Win32Gdi::SetBkColor(Hdc dc, ColorRef color) {
  return ::SetBkColor(win32::ToNative(dc), color);
}

ColorRef Win32Gdi::SetTextColor(Hdc dc, ColorRef color) {
  return ::SetTextColor(win32::ToNative(dc), color);
}

uint32_t Win32Gdi::SetTextAlign(Hdc dc, TextAlign align) {
  return ::SetTextAlign(win32::ToNative(dc), static_cast<UINT>(align));
}

int Win32Gdi::GetDIBits(Hdc dc, Hbitmap bitmap, uint32_t start, uint32_t lines, void* bits,
                        BitmapInfoHeader* header) {
  BITMAPINFO info = ToNative(*header);
  const int rows = ::GetDIBits(win32::ToNative(dc), static_cast<HBITMAP>(win32::ToNative(bitmap)),
                               start, lines, bits, &info, DIB_RGB_COLORS);
  *header = FromNative(info.bmiHeader);
  return rows;
}

uint32_t Win32Gdi::GdiGetBatchLimit() {
  return ::GdiGetBatchLimit();
}

uint32_t Win32Gdi::GdiSetBatchLimit(uint32_t limit) {
  return ::GdiSetBatchLimit(limit);
}

}  // namespace drawing::platform::win32
