#include "platform/soft/gdi/soft_gdi_state.h"

namespace drawing::platform::soft {
namespace {

template <typename T>
std::unique_ptr<T> MakeStock() {
  auto object = std::make_unique<T>();
  object->stock = true;
  return object;
}

}  // namespace

SoftGdiState::SoftGdiState() {
  auto white = MakeStock<BrushObject>();
  white->color = 0xFFFFFFu;
  whiteBrush_ = Add(std::move(white));
  blackBrush_ = Add(MakeStock<BrushObject>());
  auto hollow = MakeStock<BrushObject>();
  hollow->hollow = true;
  nullBrush_ = Add(std::move(hollow));
  blackPen_ = Add(MakeStock<PenObject>());
  systemFont_ = Add(MakeStock<FontObject>());

  // Every new memory DC starts with this one-pixel monochrome bitmap selected.
  auto bitmap = MakeStock<BitmapObject>();
  bitmap->memory = std::make_unique<uint8_t[]>(2);
  bitmap->rows = Rows::TopDown(bitmap->memory.get(), 2, 1, 1, PixelLayout::Mono1);
  bitmap->palette[0] = 0x000000u;
  bitmap->palette[1] = 0xFFFFFFu;
  defaultBitmap_ = Add(std::move(bitmap));
}

HandleId SoftGdiState::TakeId() {
  // Tables of records treat a handle whose low 32 bits are zero as "none".
  do {
    nextId_ += 4;
  } while ((nextId_ & 0xFFFFFFFFu) == 0 || objects_.count(nextId_) != 0);
  return nextId_;
}

GdiObjectBase* SoftGdiState::Find(HandleId id) const {
  const auto it = objects_.find(id);
  return it == objects_.end() ? nullptr : it->second.get();
}

BitmapObject* SoftGdiState::FindBitmap(HandleId id) const {
  GdiObjectBase* object = Find(id);
  return object != nullptr && object->type == ObjType::Bitmap ? static_cast<BitmapObject*>(object)
                                                              : nullptr;
}

DcObject* SoftGdiState::FindDc(HandleId id) const {
  GdiObjectBase* object = Find(id);
  return object != nullptr && (object->type == ObjType::Dc || object->type == ObjType::MemDc)
             ? static_cast<DcObject*>(object)
             : nullptr;
}

void SoftGdiState::Erase(HandleId id) {
  objects_.erase(id);
}

DcObject* SoftGdiState::NewDc(DcKind kind, HandleId* id) {
  auto owned = std::make_unique<DcObject>(kind);
  DcObject* dc = owned.get();
  *id = Add(std::move(owned));
  if (kind == DcKind::Memory) {
    Select(dc->bitmap, defaultBitmap_);
  }
  Select(dc->brush, whiteBrush_);
  Select(dc->pen, blackPen_);
  Select(dc->font, systemFont_);
  return dc;
}

void SoftGdiState::Select(HandleId& slot, HandleId id) {
  if (slot == id) {
    return;
  }
  const HandleId previous = slot;
  slot = id;
  if (GdiObjectBase* object = Find(id)) {
    ++object->selections;
  }
  if (GdiObjectBase* old = Find(previous)) {
    --old->selections;
    if (old->selections == 0 && old->deletePending) {
      Erase(previous);
    }
  }
}

std::optional<PixelView> SoftGdiState::TargetOf(const DcObject& dc) const {
  switch (dc.kind) {
    case DcKind::Surface:
      return dc.surface;
    case DcKind::Memory:
      if (BitmapObject* bitmap = FindBitmap(dc.bitmap)) {
        return bitmap->View();
      }
      return std::nullopt;
    case DcKind::Display:
      return std::nullopt;
  }
  return std::nullopt;
}

std::optional<PixelView> SoftGdiState::TouchTarget(DcObject& dc, SurfaceTouch touch,
                                                   const Rect& area) const {
  if (dc.kind == DcKind::Surface && dc.access != nullptr) {
    // The pixels may have moved.
    dc.surface = GdiView(dc.access->Touch(touch, area));
  }
  if (touch != SurfaceTouch::Read && dc.kind == DcKind::Memory) {
    if (BitmapObject* bitmap = FindBitmap(dc.bitmap)) {
      bitmap->sinceCopied.Add(area);
    }
  }
  return TargetOf(dc);
}

HandleId SoftGdiState::Stock(StockObject object) const {
  switch (object) {
    case StockObject::WhiteBrush:
      return whiteBrush_;
    case StockObject::BlackBrush:
      return blackBrush_;
    case StockObject::NullBrush:
      return nullBrush_;
    case StockObject::BlackPen:
      return blackPen_;
    case StockObject::SystemFont:
      return systemFont_;
  }
  return 0;
}

int32_t SoftGdiState::LiveCount() const {
  int32_t count = 0;
  for (const auto& entry : objects_) {
    count += entry.second->stock ? 0 : 1;
  }
  return count;
}

}  // namespace drawing::platform::soft
