#include "platform/soft/gdi/soft_gdi.h"

#include <limits>
#include <new>

#include "platform/soft/gdi/soft_gdi_handles.h"
#include "platform/soft/gdi/soft_gdi_state.h"

namespace drawing::platform::soft {
namespace {

constexpr ColorRef kInvalidColor = 0xFFFFFFFFu;
constexpr uint32_t kGdiError = 0xFFFFFFFFu;
constexpr uint32_t kDefaultBatchLimit = 20;

std::optional<PixelLayout> DibLayout(uint16_t bitCount) {
  switch (bitCount) {
    case 8:
      return PixelLayout::Index8;
    case 16:
      return PixelLayout::Rgb555;
    case 24:
      return PixelLayout::Bgr24;
    case 32:
      return PixelLayout::Bgrx32;
    default:
      return std::nullopt;
  }
}

// Stores `value` in a DC's state and returns the value before, or `failure`
// without a DC.
template <typename T>
T Exchange(DcObject* dc, T DcObject::*field, T value, T failure) {
  if (dc == nullptr) {
    return failure;
  }
  const T previous = dc->*field;
  dc->*field = value;
  return previous;
}

}  // namespace

SoftGdi::SoftGdi() : state_(std::make_unique<SoftGdiState>()) {}
SoftGdi::~SoftGdi() = default;

Hdc SoftGdi::CreateSurfaceDC(const SurfaceMemory& memory) {
  const Rows& rows = memory.rows;
  if (rows.Empty() || rows.layout == PixelLayout::Mono1 || rows.layout == PixelLayout::Index8 ||
      rows.step * 8 < static_cast<int64_t>(rows.width) * BitsPerPixel(rows.layout)) {
    return nullptr;
  }
  HandleId id = 0;
  DcObject* dc = state_->NewDc(DcKind::Surface, &id);
  dc->surface = GdiView(rows);
  dc->access = memory.access;
  return ToHdc(id);
}

Hdc SoftGdi::CreateDisplayDC() {
  HandleId id = 0;
  state_->NewDc(DcKind::Display, &id);
  return ToHdc(id);
}

Hdc SoftGdi::CreateCompatibleDC(Hdc dc) {
  if (dc != nullptr && state_->FindDc(IdOf(dc)) == nullptr) {
    return nullptr;
  }
  HandleId id = 0;
  state_->NewDc(DcKind::Memory, &id);
  return ToHdc(id);
}

bool SoftGdi::DeleteDC(Hdc dc) {
  DcObject* object = state_->FindDc(IdOf(dc));
  if (object == nullptr) {
    return false;
  }
  // Deselecting frees the bitmap for other DCs and lets pending deletions go.
  state_->Select(object->bitmap, 0);
  state_->Select(object->brush, 0);
  state_->Select(object->pen, 0);
  state_->Select(object->font, 0);
  state_->Erase(IdOf(dc));
  return true;
}

Hbitmap SoftGdi::CreateDIBSection(Hdc dc, const BitmapInfoHeader& header, void** bits) {
  if (bits != nullptr) {
    *bits = nullptr;
  }
  if (dc != nullptr && state_->FindDc(IdOf(dc)) == nullptr) {
    return nullptr;
  }
  const std::optional<PixelLayout> layout = DibLayout(header.bitCount);
  if (!layout || header.size < 40 || header.planes != 1 ||
      header.compression != BiCompression::Rgb || header.width <= 0 || header.height == 0 ||
      header.height == std::numeric_limits<int32_t>::min()) {
    return nullptr;
  }
  const int64_t width = header.width;
  const int64_t height = header.height < 0 ? -static_cast<int64_t>(header.height) : header.height;
  const int64_t pitch = (width * header.bitCount + 31) / 32 * 4;
  if (pitch > std::numeric_limits<int32_t>::max() ||
      pitch * height > std::numeric_limits<int32_t>::max()) {
    return nullptr;
  }
  auto bitmap = std::make_unique<BitmapObject>();
  bitmap->memory.reset(new (std::nothrow) uint8_t[static_cast<size_t>(pitch * height)]());
  if (!bitmap->memory) {
    return nullptr;
  }
  const auto rowsPitch = static_cast<ptrdiff_t>(pitch);  // checked to fit 32 bits above
  const auto rowsWidth = static_cast<int32_t>(width);
  const auto rowsHeight = static_cast<int32_t>(height);
  bitmap->rows =
      header.height > 0
          ? Rows::BottomUp(bitmap->memory.get(), rowsPitch, rowsWidth, rowsHeight, *layout)
          : Rows::TopDown(bitmap->memory.get(), rowsPitch, rowsWidth, rowsHeight, *layout);
  bitmap->dib = true;
  bitmap->sinceCopied = Damage(rowsWidth, rowsHeight);
  bitmap->header = header;
  bitmap->header.size = 40;
  bitmap->header.sizeImage = static_cast<uint32_t>(pitch * height);
  // The request carries one zero colour entry: an 8-bit palette of black.
  bitmap->palette.fill(0);
  if (bits != nullptr) {
    *bits = bitmap->memory.get();
  }
  return ToHgdiobj(state_->Add(std::move(bitmap)));
}

bool SoftGdi::GetObjectBitmap(Hgdiobj object, Bitmap* out) {
  BitmapObject* bitmap = state_->FindBitmap(IdOf(object));
  if (bitmap == nullptr || out == nullptr) {
    return false;
  }
  *out = Bitmap{};
  out->bmWidth = bitmap->rows.width;
  out->bmHeight = bitmap->rows.height;
  out->bmWidthBytes = bitmap->Pitch();
  out->bmPlanes = 1;
  out->bmBitsPixel = static_cast<uint16_t>(BitsPerPixel(bitmap->rows.layout));
  out->bmBits = bitmap->dib ? bitmap->memory.get() : nullptr;
  return true;
}

bool SoftGdi::GetObjectDibSection(Hgdiobj object, DibSection* out) {
  BitmapObject* bitmap = state_->FindBitmap(IdOf(object));
  if (bitmap == nullptr || !bitmap->dib || out == nullptr) {
    return false;
  }
  *out = DibSection{};
  GetObjectBitmap(object, &out->dsBm);
  out->dsBmih = bitmap->header;
  return true;
}

ObjType SoftGdi::GetObjectType(Hgdiobj object) {
  GdiObjectBase* found = state_->Find(IdOf(object));
  return found == nullptr ? ObjType::None : found->type;
}

Hgdiobj SoftGdi::SelectObject(Hdc dc, Hgdiobj object) {
  DcObject* target = state_->FindDc(IdOf(dc));
  GdiObjectBase* selected = state_->Find(IdOf(object));
  if (target == nullptr || selected == nullptr || selected->deletePending) {
    return nullptr;
  }
  HandleId* slot = nullptr;
  switch (selected->type) {
    case ObjType::Bitmap:
      // Only memory DCs hold bitmaps, and a bitmap sits in one DC at a time.
      if (target->kind != DcKind::Memory ||
          (!selected->stock && selected->selections > 0 && target->bitmap != IdOf(object))) {
        return nullptr;
      }
      slot = &target->bitmap;
      break;
    case ObjType::Brush:
      slot = &target->brush;
      break;
    case ObjType::Pen:
      slot = &target->pen;
      break;
    case ObjType::Font:
      slot = &target->font;
      break;
    default:
      return nullptr;
  }
  const HandleId previous = *slot;
  state_->Select(*slot, IdOf(object));
  return ToHgdiobj(previous);
}

Hgdiobj SoftGdi::GetStockObject(StockObject object) {
  return ToHgdiobj(state_->Stock(object));
}

Hbrush SoftGdi::CreateSolidBrush(ColorRef color) {
  auto brush = std::make_unique<BrushObject>();
  brush->color = RgbFromColorRef(color);
  return ToHgdiobj(state_->Add(std::move(brush)));
}

Hpen SoftGdi::CreatePen(PenStyle style, int width, ColorRef color) {
  if (style != PenStyle::Solid) {
    return nullptr;
  }
  auto pen = std::make_unique<PenObject>();
  pen->width = width < 0 ? 0 : width;
  pen->color = RgbFromColorRef(color);
  return ToHgdiobj(state_->Add(std::move(pen)));
}

bool SoftGdi::DeleteObject(Hgdiobj object) {
  GdiObjectBase* found = state_->Find(IdOf(object));
  if (found == nullptr || found->type == ObjType::Dc || found->type == ObjType::MemDc) {
    return false;
  }
  if (found->stock) {
    return true;  // stock objects stay
  }
  if (found->selections > 0) {
    if (found->type == ObjType::Bitmap) {
      return false;  // a selected bitmap cannot go
    }
    found->deletePending = true;  // pens, brushes, fonts go when deselected
    return true;
  }
  state_->Erase(IdOf(object));
  return true;
}

int SoftGdi::SetStretchBltMode(Hdc dc, StretchMode mode) {
  return Exchange(state_->FindDc(IdOf(dc)), &DcObject::stretchMode, static_cast<int32_t>(mode), 0);
}

int SoftGdi::SetROP2(Hdc dc, Rop2 mode) {
  const auto value = static_cast<int32_t>(mode);
  if (value < 1 || value > 16) {
    return 0;
  }
  return Exchange(state_->FindDc(IdOf(dc)), &DcObject::rop2, value, 0);
}

int SoftGdi::SetBkMode(Hdc dc, BkMode mode) {
  return Exchange(state_->FindDc(IdOf(dc)), &DcObject::bkMode, static_cast<int32_t>(mode), 0);
}

ColorRef SoftGdi::SetBkColor(Hdc dc, ColorRef color) {
  return Exchange(state_->FindDc(IdOf(dc)), &DcObject::bkColor, color, kInvalidColor);
}

ColorRef SoftGdi::SetTextColor(Hdc dc, ColorRef color) {
  return Exchange(state_->FindDc(IdOf(dc)), &DcObject::textColor, color, kInvalidColor);
}

uint32_t SoftGdi::SetTextAlign(Hdc dc, TextAlign align) {
  return Exchange(state_->FindDc(IdOf(dc)), &DcObject::textAlign, static_cast<uint32_t>(align),
                  kGdiError);
}

uint32_t SoftGdi::GdiGetBatchLimit() {
  return state_->batchLimit;
}

uint32_t SoftGdi::GdiSetBatchLimit(uint32_t limit) {
  const uint32_t previous = state_->batchLimit;
  state_->batchLimit = limit == 0 ? kDefaultBatchLimit : limit;
  return previous;
}

void SoftGdi::DibSectionWritten(Hbitmap bitmap, const Rect& area) {
  if (BitmapObject* object = state_->FindBitmap(IdOf(bitmap)); object != nullptr && object->dib) {
    object->writesReported = true;
    object->sinceCopied.Add(area);
  }
}

int32_t SoftGdi::LiveObjectCount() const {
  return state_->LiveCount();
}

}  // namespace drawing::platform::soft
