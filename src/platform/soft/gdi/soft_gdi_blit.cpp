// Copies of the software GDI: BitBlt, StretchBlt and GetDIBits.
#include <algorithm>
#include <cstring>

#include "platform/soft/gdi/soft_blit.h"
#include "platform/soft/gdi/soft_gdi.h"
#include "platform/soft/gdi/soft_gdi_handles.h"
#include "platform/soft/gdi/soft_gdi_state.h"

namespace drawing::platform::soft {
namespace {

std::optional<BlitOp> OpOf(Rop3 operation) {
  switch (operation) {
    case Rop3::SrcCopy:
      return BlitOp::Copy;
    case Rop3::NotSrcErase:
      return BlitOp::NotSrcErase;
  }
  return std::nullopt;
}

struct BlitEnds {
  PixelView destination;
  PixelView source;
  BlitOp op;
  // Set when the copy need write only these parts of the destination: the
  // rest already holds what the source would put there.
  const Damage* region = nullptr;
};

// The destination area of a blit and where it is read from.
struct BlitArea {
  int32_t x, y, width, height, sourceX, sourceY;
};

// The DIB section a plain copy of all of it into a surface of its size
// comes from, or null: such copies can be cut down to what changed.
BitmapObject* WholeCopySource(const SoftGdiState& state, const DcObject& from, const DcObject& to,
                              const PixelView& toShape, const BlitArea& area) {
  if (from.kind != DcKind::Memory || to.kind != DcKind::Surface || to.access == nullptr ||
      area.x != 0 || area.y != 0 || area.sourceX != 0 || area.sourceY != 0) {
    return nullptr;
  }
  BitmapObject* bitmap = state.FindBitmap(from.bitmap);
  if (bitmap == nullptr || !bitmap->dib || bitmap->rows.width != toShape.width ||
      bitmap->rows.height != toShape.height) {
    return nullptr;
  }
  return bitmap;
}

std::optional<BlitEnds> EndsOf(const SoftGdiState& state, Hdc destination, Hdc source,
                               Rop3 operation, const BlitArea& area, bool sameSize) {
  DcObject* to = state.FindDc(IdOf(destination));
  DcObject* from = state.FindDc(IdOf(source));
  const std::optional<BlitOp> op = OpOf(operation);
  if (to == nullptr || from == nullptr || !op) {
    return std::nullopt;
  }
  const std::optional<PixelView> fromView = state.ReadTarget(*from);
  const std::optional<PixelView> toShape = state.TargetOf(*to);
  if (!toShape || !fromView) {
    return std::nullopt;
  }
  // A plain copy over the whole destination makes whatever it held before
  // (a clear not yet written, say) irrelevant.
  const bool replacesAll = *op == BlitOp::Copy && sameSize &&
                           BlitCoversDestination(*toShape, area.x, area.y, area.width, area.height,
                                                 *fromView, area.sourceX, area.sourceY);
  if (replacesAll) {
    if (BitmapObject* bitmap = WholeCopySource(state, *from, *to, *toShape, area)) {
      const Damage* changed = bitmap->writesReported && bitmap->copiedInto == to->access
                                  ? &bitmap->sinceCopied
                                  : nullptr;
      Rows memory;
      const Damage* region = to->access->ReplaceByCopy(bitmap, changed, &memory);
      to->surface = GdiView(memory);
      bitmap->sinceCopied.Clear();
      bitmap->copiedInto = to->access;
      return BlitEnds{to->surface, *fromView, *op, region};
    }
  }
  // The destination's owner may move its pixels now: take the view after.
  const std::optional<PixelView> toView =
      state.TouchTarget(*to, replacesAll ? SurfaceTouch::ReplaceAll : SurfaceTouch::Modify,
                        Rect{area.x, area.y, area.x + area.width, area.y + area.height});
  return BlitEnds{*toView, *fromView, *op};
}

// Copies the parts of a cut-down copy; source and destination share their
// coordinates there.
void CopyRegion(const BlitEnds& ends) {
  for (const Rect& part : ends.region->Rects()) {
    BlitViews(ends.destination, part.left, part.top, part.right - part.left, part.bottom - part.top,
              ends.source, part.left, part.top, ends.op);
  }
}

}  // namespace

bool SoftGdi::BitBlt(Hdc destination, int x, int y, int width, int height, Hdc source, int sourceX,
                     int sourceY, Rop3 operation) {
  const std::optional<BlitEnds> ends = EndsOf(*state_, destination, source, operation,
                                              {x, y, width, height, sourceX, sourceY}, true);
  if (!ends) {
    return false;
  }
  if (ends->region != nullptr) {
    CopyRegion(*ends);
    return true;
  }
  BlitViews(ends->destination, x, y, width, height, ends->source, sourceX, sourceY, ends->op);
  return true;
}

bool SoftGdi::StretchBlt(Hdc destination, int x, int y, int width, int height, Hdc source,
                         int sourceX, int sourceY, int sourceWidth, int sourceHeight,
                         Rop3 operation) {
  const bool sameSize = width == sourceWidth && height == sourceHeight;
  const std::optional<BlitEnds> ends = EndsOf(*state_, destination, source, operation,
                                              {x, y, width, height, sourceX, sourceY}, sameSize);
  // Mirroring through negative sizes is not offered.
  if (!ends || width < 0 || height < 0 || sourceWidth < 0 || sourceHeight < 0) {
    return false;
  }
  if (ends->region != nullptr) {
    CopyRegion(*ends);  // the same size each way: a plain copy
    return true;
  }
  StretchViews(ends->destination, x, y, width, height, ends->source, sourceX, sourceY, sourceWidth,
               sourceHeight, ends->op);
  return true;
}

int SoftGdi::GetDIBits(Hdc dc, Hbitmap bitmap, uint32_t start, uint32_t lines, void* bits,
                       BitmapInfoHeader* header) {
  BitmapObject* object = state_->FindBitmap(IdOf(bitmap));
  if (state_->FindDc(IdOf(dc)) == nullptr || object == nullptr || header == nullptr) {
    return 0;
  }
  if (bits == nullptr) {
    // Asked only for the bitmap's description.
    header->width = object->rows.width;
    header->height = object->BottomUp() ? object->rows.height : -object->rows.height;
    header->planes = 1;
    header->bitCount = static_cast<uint16_t>(BitsPerPixel(object->rows.layout));
    header->compression = BiCompression::Rgb;
    header->sizeImage =
        static_cast<uint32_t>(object->Pitch()) * static_cast<uint32_t>(object->rows.height);
    return object->rows.height;
  }
  const PixelLayout layout = header->bitCount == 24 ? PixelLayout::Bgr24 : PixelLayout::Bgrx32;
  if ((header->bitCount != 24 && header->bitCount != 32) ||
      header->compression != BiCompression::Rgb || header->width <= 0 || header->height == 0 ||
      start >= static_cast<uint32_t>(object->rows.height)) {
    return 0;
  }
  const auto count = static_cast<int32_t>(
      std::min<uint32_t>(lines, static_cast<uint32_t>(object->rows.height) - start));
  if (count == 0) {
    return 0;
  }
  const int64_t stride = (static_cast<int64_t>(header->width) * header->bitCount + 31) / 32 * 4;
  auto* memory = static_cast<uint8_t*>(bits);
  std::memset(memory, 0, static_cast<size_t>(stride * count));

  // Scan lines count from the bottom for a bottom-up request, from the top
  // for a top-down one.
  const bool bottomUp = header->height > 0;
  const int32_t width = std::min(header->width, object->rows.width);
  const auto pitch = static_cast<ptrdiff_t>(stride);
  const PixelView out{bottomUp ? Rows::BottomUp(memory, pitch, width, count, layout)
                               : Rows::TopDown(memory, pitch, width, count, layout)};
  const int32_t first = bottomUp ? object->rows.height - static_cast<int32_t>(start) - count
                                 : static_cast<int32_t>(start);
  BlitViews(out, 0, 0, width, count, object->View(), 0, first, BlitOp::Copy);
  return count;
}

}  // namespace drawing::platform::soft
