// GDI and the two USER32 drawing calls: device contexts, DIB sections, the
// objects selected into contexts and the operations the program draws with.
#pragma once

#include <cstdint>

#include "platform/handles.h"
#include "platform/pixels.h"
#include "platform/port_result.h"

namespace drawing::platform {

enum class ObjType : uint32_t {
  None = 0,
  Pen = 1,
  Brush = 2,
  Dc = 3,
  Font = 6,
  Bitmap = 7,
  MemDc = 10,
};

enum class StockObject : int32_t {
  WhiteBrush = 0,
  BlackBrush = 4,
  NullBrush = 5,
  BlackPen = 7,
  SystemFont = 13,
};

enum class PenStyle : int32_t { Solid = 0 };

// Ternary raster operations of BitBlt/StretchBlt.
enum class Rop3 : uint32_t {
  SrcCopy = 0x00CC0020u,
  NotSrcErase = 0x001100A6u,  // NOT (source OR destination)
};

// Binary raster operations of SetROP2.
enum class Rop2 : int32_t { Not = 6, CopyPen = 13 };

enum class BkMode : int32_t { Transparent = 1, Opaque = 2 };

enum class StretchMode : int32_t { ColorOnColor = 3, Halftone = 4 };

enum class TextAlign : uint32_t { NoUpdateCp = 0, UpdateCp = 1 };

enum class BiCompression : uint32_t { Rgb = 0 };

// BITMAPINFOHEADER; a positive height means bottom-up rows.
struct BitmapInfoHeader {
  uint32_t size = 40;
  int32_t width = 0;
  int32_t height = 0;
  uint16_t planes = 1;
  uint16_t bitCount = 0;
  BiCompression compression = BiCompression::Rgb;
  uint32_t sizeImage = 0;
  int32_t xPelsPerMeter = 0;
  int32_t yPelsPerMeter = 0;
  uint32_t clrUsed = 0;
  uint32_t clrImportant = 0;
};

// BITMAP as GetObject reports it.
struct Bitmap {
  int32_t bmType = 0;
  int32_t bmWidth = 0;
  int32_t bmHeight = 0;
  int32_t bmWidthBytes = 0;  // bytes per row, a multiple of 4 for DIB sections
  uint16_t bmPlanes = 0;
  uint16_t bmBitsPixel = 0;
  void* bmBits = nullptr;  // first byte of the pixel memory (bottom row first)
};

// DIBSECTION as GetObject reports it.
struct DibSection {
  Bitmap dsBm;
  BitmapInfoHeader dsBmih;
  uint32_t dsBitfields[3] = {0, 0, 0};
  void* dshSection = nullptr;
  uint32_t dsOffset = 0;
};

// The pixels of a BITMAP whose memory is known (a DIB section's), as rows:
// bottom-up memory when `bottomUp`, as a positive DIB height says.
inline Rows RowsOf(const Bitmap& bitmap, bool bottomUp = true) {
  PixelLayout layout = PixelLayout::Bgrx32;
  switch (bitmap.bmBitsPixel) {
    case 1:
      layout = PixelLayout::Mono1;
      break;
    case 8:
      layout = PixelLayout::Index8;
      break;
    case 16:
      layout = PixelLayout::Rgb555;
      break;
    case 24:
      layout = PixelLayout::Bgr24;
      break;
    default:
      break;
  }
  auto* memory = static_cast<uint8_t*>(bitmap.bmBits);
  return bottomUp
             ? Rows::BottomUp(memory, bitmap.bmWidthBytes, bitmap.bmWidth, bitmap.bmHeight, layout)
             : Rows::TopDown(memory, bitmap.bmWidthBytes, bitmap.bmWidth, bitmap.bmHeight, layout);
}

class Gdi {
 public:
  virtual ~Gdi() = default;

  // CreateDCA("DISPLAY", NULL, NULL, NULL); null on failure.
  DRAWING_NODISCARD virtual Hdc CreateDisplayDC() = 0;
  // A memory context compatible with `dc` (null: with the display).
  DRAWING_NODISCARD virtual Hdc CreateCompatibleDC(Hdc dc) = 0;
  virtual bool DeleteDC(Hdc dc) = 0;

  // CreateDIBSection(dc, header + one zero colour entry, DIB_RGB_COLORS, bits,
  // no section, 0). Null on failure; *bits receives the pixel memory.
  DRAWING_NODISCARD virtual Hbitmap CreateDIBSection(Hdc dc, const BitmapInfoHeader& header,
                                                     void** bits) = 0;
  // GetObjectA for a BITMAP; false unless the whole record was filled.
  DRAWING_NODISCARD virtual bool GetObjectBitmap(Hgdiobj object, Bitmap* out) = 0;
  // GetObjectA for a DIBSECTION; false unless the whole record was filled
  // (that is, unless the object is a DIB section).
  DRAWING_NODISCARD virtual bool GetObjectDibSection(Hgdiobj object, DibSection* out) = 0;
  DRAWING_NODISCARD virtual ObjType GetObjectType(Hgdiobj object) = 0;
  // Returns the object previously selected, or null on failure.
  virtual Hgdiobj SelectObject(Hdc dc, Hgdiobj object) = 0;
  DRAWING_NODISCARD virtual Hgdiobj GetStockObject(StockObject object) = 0;
  DRAWING_NODISCARD virtual Hbrush CreateSolidBrush(ColorRef color) = 0;
  DRAWING_NODISCARD virtual Hpen CreatePen(PenStyle style, int width, ColorRef color) = 0;
  virtual bool DeleteObject(Hgdiobj object) = 0;

  // Filled with the selected brush, outlined with the selected pen; covers
  // columns left..right-1 and rows top..bottom-1.
  virtual bool Rectangle(Hdc dc, int left, int top, int right, int bottom) = 0;
  virtual bool SetPixelV(Hdc dc, int x, int y, ColorRef color) = 0;
  // USER32 FillRect: columns left..right-1, rows top..bottom-1.
  virtual int FillRect(Hdc dc, const Rect& rect, Hbrush brush) = 0;
  virtual bool BitBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX,
                      int sourceY, Rop3 operation) = 0;
  virtual bool StretchBlt(Hdc destination, int x, int y, int width, int height, Hdc source,
                          int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                          Rop3 operation) = 0;
  virtual int SetStretchBltMode(Hdc dc, StretchMode mode) = 0;
  // Each returns the previous value (0 / CLR_INVALID on failure).
  virtual int SetROP2(Hdc dc, Rop2 mode) = 0;
  virtual int SetBkMode(Hdc dc, BkMode mode) = 0;
  virtual ColorRef SetBkColor(Hdc dc, ColorRef color) = 0;
  virtual ColorRef SetTextColor(Hdc dc, ColorRef color) = 0;
  virtual uint32_t SetTextAlign(Hdc dc, TextAlign align) = 0;

  // GetDIBits(dc, bitmap, start, lines, bits, header, DIB_RGB_COLORS): the
  // bitmap's rows converted to the header's format (24 bits here), bottom-up.
  // Returns the number of rows delivered, 0 on failure.
  DRAWING_NODISCARD virtual int GetDIBits(Hdc dc, Hbitmap bitmap, uint32_t start, uint32_t lines,
                                          void* bits, BitmapInfoHeader* header) = 0;

  DRAWING_NODISCARD virtual uint32_t GdiGetBatchLimit() = 0;
  // Returns the previous limit, 0 on failure.
  virtual uint32_t GdiSetBatchLimit(uint32_t limit) = 0;

  // Not a Windows call: the program wrote `area` of a DIB section's pixels
  // itself, through the memory CreateDIBSection gave it. A GDI that copies
  // only what changed since its last copy (the software one) relies on
  // hearing of every such write once it has heard of one; Windows' own GDI
  // reads the memory whole each time and has nothing to do.
  virtual void DibSectionWritten(Hbitmap /*bitmap*/, const Rect& /*area*/) {}
};

}  // namespace drawing::platform
