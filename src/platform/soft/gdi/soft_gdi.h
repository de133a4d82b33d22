// GDI implemented in software: memory device contexts, DIB sections, device
// contexts over caller-owned surface memory, and the primitives and blits the
// program draws with, with GDI's pixel rules.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/direct3d.h"
#include "platform/gdi.h"
#include "platform/pixels.h"
#include "platform/soft/kit/damage.h"

namespace drawing::platform::soft {

class SoftGdiState;

// How a GDI call is about to use the pixels of a surface DC.
enum class SurfaceTouch : uint8_t {
  Read,        // reads them (the source of a blit)
  Modify,      // writes some of them, or writes what depends on them
  ReplaceAll,  // writes every pixel without reading any
};

// The owner of surface memory, told before a GDI call uses it, so that
// content it keeps aside (a clear not yet written) is written first, or
// dropped when every pixel is about to be replaced, and so that it knows
// which pixels change. The pixels may move then (to memory whose old
// content no longer matters); the answer says where they lie now.
class SurfaceAccess {
 public:
  // `area` is where the call writes (anything for a read), not yet cut to
  // the surface.
  virtual Rows Touch(SurfaceTouch touch, const Rect& area) = 0;

  // A plain copy of every pixel of `source`, a DIB section of the surface's
  // size, is about to replace every pixel of the surface. `changed` is what
  // changed in the source since its last such copy into this surface, or
  // null when that is not known. The answer is the part the copy must
  // write: null for all of it, else a region the surface keeps until its
  // next use. `memory` receives where the pixels lie now.
  virtual const Damage* ReplaceByCopy(const void* source, const Damage* changed, Rows* memory) = 0;

 protected:
  ~SurfaceAccess() = default;
};

class SoftGdi : public platform::Gdi {
 public:
  // Pixel memory owned by someone else (a Direct3D surface), in any layout
  // but the palette ones.
  struct SurfaceMemory {
    Rows rows;
    SurfaceAccess* access = nullptr;  // told before each use; may be null
  };

  SoftGdi();
  ~SoftGdi() override;
  SoftGdi(const SoftGdi&) = delete;
  SoftGdi& operator=(const SoftGdi&) = delete;

  // A DC drawing straight into `memory`, which must outlive it; freed with
  // DeleteDC. Null for an unsupported format or empty memory.
  Hdc CreateSurfaceDC(const SurfaceMemory& memory);

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
  void DibSectionWritten(Hbitmap bitmap, const Rect& area) override;

  // Objects and DCs currently alive, stock objects excluded (for leak checks).
  int32_t LiveObjectCount() const;

 private:
  std::unique_ptr<SoftGdiState> state_;
};

}  // namespace drawing::platform::soft
