// The drawing primitives of the software GDI: Rectangle, SetPixelV, FillRect.
#include <algorithm>
#include <cstring>

#include "platform/soft/gdi/soft_gdi.h"
#include "platform/soft/gdi/soft_gdi_handles.h"
#include "platform/soft/gdi/soft_gdi_state.h"

namespace drawing::platform::soft {
namespace {

// The binary raster operation `rop2` (1..16) of pen and destination bits:
// bit n of rop2 - 1 is the result for pen bit n >> 1 and destination bit n & 1.
uint32_t Mix(int32_t rop2, uint32_t pen, uint32_t destination) {
  const auto table = static_cast<uint32_t>(rop2 - 1);
  uint32_t result = 0;
  if ((table & 1u) != 0) result |= ~pen & ~destination;
  if ((table & 2u) != 0) result |= ~pen & destination;
  if ((table & 4u) != 0) result |= pen & ~destination;
  if ((table & 8u) != 0) result |= pen & destination;
  return result;
}

// Columns x0..x1-1 of row y, cut to the view, drawn with `raw` under `rop2`.
void MixSpan(const PixelView& view, int64_t x0, int64_t x1, int64_t y, uint32_t raw, int32_t rop2) {
  if (y < 0 || y >= view.height) {
    return;
  }
  const auto from = static_cast<int32_t>(std::max<int64_t>(x0, 0));
  const auto to = static_cast<int32_t>(std::min<int64_t>(x1, view.width));
  const auto row = static_cast<int32_t>(y);
  if (rop2 == static_cast<int32_t>(Rop2::CopyPen)) {
    FillRaw(view, from, row, to - from, raw);
    return;
  }
  const uint32_t mask = RawMask(view.layout);
  for (int32_t x = from; x < to; ++x) {
    WriteRaw(view, x, row, Mix(rop2, raw, ReadRaw(view, x, row)) & mask);
  }
}

}  // namespace

bool SoftGdi::Rectangle(Hdc dc, int left, int top, int right, int bottom) {
  DcObject* object = state_->FindDc(IdOf(dc));
  if (object == nullptr) {
    return false;
  }
  const Rect area{std::min(left, right), std::min(top, bottom), std::max(left, right),
                  std::max(top, bottom)};
  const std::optional<PixelView> view = state_->TouchTarget(*object, SurfaceTouch::Modify, area);
  if (!view) {
    return false;
  }
  int64_t l = area.left;
  int64_t r = area.right;
  int64_t t = area.top;
  int64_t b = area.bottom;
  if (r - l < 1 || b - t < 1) {
    return true;
  }
  const auto* pen = static_cast<const PenObject*>(state_->Find(object->pen));
  const auto* brush = static_cast<const BrushObject*>(state_->Find(object->brush));
  const uint32_t penRaw = RawFromColor(*view, pen != nullptr ? pen->color : 0u);
  const int32_t rop2 = object->rop2;

  // The outline is one pixel wide; the brush fills what lies inside it.
  MixSpan(*view, l, r, t, penRaw, rop2);
  if (b - 1 > t) {
    MixSpan(*view, l, r, b - 1, penRaw, rop2);
  }
  const bool fill = brush != nullptr && !brush->hollow && r - l > 2;
  const uint32_t brushRaw = fill ? RawFromColor(*view, brush->color) : 0u;
  for (int64_t y = std::max<int64_t>(t + 1, 0); y < std::min<int64_t>(b - 1, view->height); ++y) {
    MixSpan(*view, l, l + 1, y, penRaw, rop2);
    if (r - 1 > l) {
      MixSpan(*view, r - 1, r, y, penRaw, rop2);
    }
    if (fill) {
      MixSpan(*view, l + 1, r - 1, y, brushRaw, rop2);
    }
  }
  return true;
}

bool SoftGdi::SetPixelV(Hdc dc, int x, int y, ColorRef color) {
  DcObject* object = state_->FindDc(IdOf(dc));
  if (object == nullptr) {
    return false;
  }
  const std::optional<PixelView> view =
      state_->TouchTarget(*object, SurfaceTouch::Modify, Rect{x, y, x + 1, y + 1});
  if (!view || !view->Contains(x, y)) {
    return false;
  }
  WriteRaw(*view, x, y, RawFromColor(*view, RgbFromColorRef(color)));
  return true;
}

int SoftGdi::FillRect(Hdc dc, const Rect& rect, Hbrush brush) {
  DcObject* object = state_->FindDc(IdOf(dc));
  GdiObjectBase* found = state_->Find(IdOf(brush));
  if (object == nullptr || found == nullptr || found->type != ObjType::Brush) {
    return 0;
  }
  const std::optional<PixelView> view = state_->TouchTarget(*object, SurfaceTouch::Modify, rect);
  if (!view) {
    return 0;
  }
  const auto* fill = static_cast<const BrushObject*>(found);
  const int32_t left = std::max(rect.left, 0);
  const int32_t top = std::max(rect.top, 0);
  const int32_t right = std::min(rect.right, view->width);
  const int32_t bottom = std::min(rect.bottom, view->height);
  if (fill->hollow || left >= right || top >= bottom) {
    return 1;
  }
  FillRaw(*view, left, top, right - left, RawFromColor(*view, fill->color));
  const int32_t bits = BitsPerPixel(view->layout);
  for (int32_t y = top + 1; y < bottom; ++y) {
    if (bits % 8 == 0) {
      const size_t offset = static_cast<size_t>(left) * static_cast<size_t>(bits / 8);
      std::memcpy(view->Row(y) + offset, view->Row(top) + offset,
                  static_cast<size_t>(right - left) * static_cast<size_t>(bits / 8));
    } else {
      FillRaw(*view, left, y, right - left, RawFromColor(*view, fill->color));
    }
  }
  return 1;
}

}  // namespace drawing::platform::soft
