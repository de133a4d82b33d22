// The objects behind the software GDI's handles and the table that owns them.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <unordered_map>

#include "platform/gdi.h"
#include "platform/soft/gdi/pixel_format.h"
#include "platform/soft/gdi/soft_gdi.h"

namespace drawing::platform::soft {

using HandleId = uintptr_t;

struct GdiObjectBase {
  explicit GdiObjectBase(ObjType objectType) : type(objectType) {}
  virtual ~GdiObjectBase() = default;

  ObjType type;
  bool stock = false;
  bool deletePending = false;  // DeleteObject while selected: goes when deselected
  int32_t selections = 0;      // DCs that have it selected
};

struct BitmapObject : GdiObjectBase {
  BitmapObject() : GdiObjectBase(ObjType::Bitmap) {}

  bool dib = false;
  BitmapInfoHeader header;  // as a DIB section reports it
  std::unique_ptr<uint8_t[]> memory;
  Rows rows;  // over `memory`
  std::array<uint32_t, 256> palette{};
  // What changed since the last copy of all of it into a surface
  // (`copiedInto`), counted only once the program reports its own writes.
  Damage sinceCopied;
  const SurfaceAccess* copiedInto = nullptr;
  bool writesReported = false;

  PixelView View() const { return PixelView{rows, palette.data()}; }
  bool BottomUp() const { return rows.step < 0; }
  int32_t Pitch() const { return static_cast<int32_t>(rows.step < 0 ? -rows.step : rows.step); }
};

struct BrushObject : GdiObjectBase {
  BrushObject() : GdiObjectBase(ObjType::Brush) {}
  bool hollow = false;
  uint32_t color = 0;  // 0x00RRGGBB
};

struct PenObject : GdiObjectBase {
  PenObject() : GdiObjectBase(ObjType::Pen) {}
  int32_t width = 0;
  uint32_t color = 0;  // 0x00RRGGBB
};

struct FontObject : GdiObjectBase {
  FontObject() : GdiObjectBase(ObjType::Font) {}
};

enum class DcKind : uint8_t { Display, Memory, Surface };

struct DcObject : GdiObjectBase {
  explicit DcObject(DcKind dcKind)
      : GdiObjectBase(dcKind == DcKind::Memory ? ObjType::MemDc : ObjType::Dc), kind(dcKind) {}

  DcKind kind;
  HandleId bitmap = 0;  // memory DCs only
  HandleId brush = 0;
  HandleId pen = 0;
  HandleId font = 0;
  int32_t rop2 = static_cast<int32_t>(Rop2::CopyPen);
  int32_t bkMode = static_cast<int32_t>(BkMode::Opaque);
  int32_t stretchMode = 1;  // BLACKONWHITE
  ColorRef bkColor = 0xFFFFFFu;
  ColorRef textColor = 0;
  uint32_t textAlign = 0;
  PixelView surface;                // surface DCs only
  SurfaceAccess* access = nullptr;  // surface DCs only: told before each use
};

class SoftGdiState {
 public:
  SoftGdiState();

  template <typename T>
  HandleId Add(std::unique_ptr<T> object) {
    const HandleId id = TakeId();
    objects_.emplace(id, std::move(object));
    return id;
  }
  GdiObjectBase* Find(HandleId id) const;
  BitmapObject* FindBitmap(HandleId id) const;
  DcObject* FindDc(HandleId id) const;
  void Erase(HandleId id);

  // A DC with GDI's defaults selected: white brush, black pen, system font
  // and, for a memory DC, the one-pixel monochrome bitmap.
  DcObject* NewDc(DcKind kind, HandleId* id);

  // Puts `id` into `slot` of a DC, keeping selection counts; an object whose
  // deletion was waiting for it to be deselected goes now.
  void Select(HandleId& slot, HandleId id);

  // The pixels a DC draws on; none for the display DC.
  std::optional<PixelView> TargetOf(const DcObject& dc) const;
  // The same, after telling a surface's owner how they are about to be used
  // (and following the pixels if the owner moved them); a DIB section
  // written in `area` counts it as changed.
  std::optional<PixelView> TouchTarget(DcObject& dc, SurfaceTouch touch, const Rect& area) const;
  // A read of a DC's pixels.
  std::optional<PixelView> ReadTarget(DcObject& dc) const {
    return TouchTarget(dc, SurfaceTouch::Read, Rect{});
  }

  HandleId Stock(StockObject object) const;
  HandleId DefaultBitmap() const { return defaultBitmap_; }
  int32_t LiveCount() const;

  uint32_t batchLimit = 20;

 private:
  HandleId TakeId();

  std::unordered_map<HandleId, std::unique_ptr<GdiObjectBase>> objects_;
  HandleId nextId_ = 0x1000;
  HandleId whiteBrush_ = 0;
  HandleId blackBrush_ = 0;
  HandleId nullBrush_ = 0;
  HandleId blackPen_ = 0;
  HandleId systemFont_ = 0;
  HandleId defaultBitmap_ = 0;
};

}  // namespace drawing::platform::soft
