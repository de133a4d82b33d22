#include "draw/gdi_backend.h"

namespace drawing::draw {

using platform::Hgdiobj;

namespace {

constexpr platform::ColorRef kBlack = 0;

}  // namespace

GdiBackend::~GdiBackend() {
  DeleteOwned(brush);
  DeleteOwned(pen);
  DeleteOwned(createdFont);
  DeleteOwned(defaultBrush);
  DeleteOwned(defaultPen);
}

void GdiBackend::DeleteOwned(Hgdiobj& object) {
  if (object != nullptr) {
    gdi_.DeleteObject(object);
    object = nullptr;
  }
}

void GdiBackend::SelectIfSet(Hgdiobj object) {
  if (object != nullptr && dc != nullptr) {
    gdi_.SelectObject(dc, object);
  }
}

void GdiBackend::EnsureDc() {
  if (dcMode != ScreenDcMode || dcState != -1) {
    return;
  }
  dcState = 1;
  dc = acquireDc();
  if (dc == nullptr) {
    return;
  }
  gdi_.SetTextColor(dc, frontColor);
  gdi_.SetTextAlign(dc, platform::TextAlign::UpdateCp);
  gdi_.SetBkColor(dc, backColor);
  if (drawMode != DrawModeNone) {
    SetDrawMode(drawMode);
  } else {
    SelectIfSet(brush);
  }
  SelectIfSet(pen);
  SelectIfSet(font);
}

intptr_t GdiBackend::BufferAddress() {
  if (dcMode != ScreenDcMode) {
    return 0;
  }
  dcState = -1;
  return reinterpret_cast<intptr_t>(lockPixels(&lockedPitch));
}

intptr_t GdiBackend::BeginTarget() {
  defaultBrush = gdi_.CreateSolidBrush(kBlack);
  defaultPen = gdi_.CreatePen(platform::PenStyle::Solid, 0, kBlack);
  drawMode = DrawModeNone;
  dcState = 1;
  if (dc == nullptr) {
    return 0;
  }
  gdi_.SetTextAlign(dc, platform::TextAlign::UpdateCp);
  savedBrush = gdi_.SelectObject(dc, defaultBrush);
  savedPen = gdi_.SelectObject(dc, defaultPen);
  font = gdi_.GetStockObject(platform::StockObject::SystemFont);
  brush = gdi_.CreateSolidBrush(kBlack);
  return reinterpret_cast<intptr_t>(dc);
}

void GdiBackend::EndTarget() {
  SelectIfSet(savedBrush);
  SelectIfSet(savedPen);
  DeleteOwned(brush);
  DeleteOwned(pen);
  DeleteOwned(createdFont);
  DeleteOwned(defaultBrush);
  DeleteOwned(defaultPen);
}

void GdiBackend::SetFrontColor(Colour colour) {
  EnsureDc();
  if (dc == nullptr) {
    return;
  }
  // The new object is selected before the old one is deleted, so the DC
  // never holds a deleted object.
  if (!HasAny(drawMode, DrawModeOutline)) {
    if (Hgdiobj made = gdi_.CreateSolidBrush(colour); made != nullptr) {
      gdi_.SelectObject(dc, made);
      DeleteOwned(brush);
      brush = made;
    }
  }
  if (Hgdiobj made = gdi_.CreatePen(platform::PenStyle::Solid, 0, colour); made != nullptr) {
    gdi_.SelectObject(dc, made);
    DeleteOwned(pen);
    pen = made;
  }
  gdi_.SetTextColor(dc, colour);
}

void GdiBackend::DrawBox(int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight) {
  EnsureDc();
  if (dc == nullptr) {
    return;
  }
  // A one-pixel box in any direction is a single pixel.
  if ((boxWidth == 1 || boxWidth == -1) && (boxHeight == 1 || boxHeight == -1)) {
    gdi_.SetPixelV(dc, boxWidth == 1 ? x : x - 1, boxHeight == 1 ? y : y - 1, frontColor);
    return;
  }
  gdi_.Rectangle(dc, x, y, x + boxWidth, y + boxHeight);
}

void GdiBackend::SetDrawMode(DrawMode mode) {
  EnsureDc();
  if (dc == nullptr) {
    return;
  }
  drawMode = mode;
  gdi_.SetROP2(dc, HasAny(mode, DrawModeXor) ? platform::Rop2::Not : platform::Rop2::CopyPen);
  if (HasAny(mode, DrawModeOutline)) {
    gdi_.SelectObject(dc, gdi_.GetStockObject(platform::StockObject::NullBrush));
  } else {
    SelectIfSet(brush);
  }
  gdi_.SetBkMode(dc, HasAny(mode, DrawModeTransparent) ? platform::BkMode::Transparent
                                                       : platform::BkMode::Opaque);
  SetFrontColor(frontColor);
}

void GdiBackend::BlitImage(platform::Hbitmap bitmap, int32_t x, int32_t y) {
  BlitImageSized(bitmap, x, y, 0, 0);
}

void GdiBackend::BlitImageSized(platform::Hbitmap bitmap, int32_t x, int32_t y, int32_t drawWidth,
                                int32_t drawHeight) {
  EnsureDc();
  if (dc == nullptr) {
    return;
  }
  // Only bitmaps are drawn; this program has no icons to blit.
  if (gdi_.GetObjectType(bitmap) != platform::ObjType::Bitmap) {
    return;
  }
  platform::Hdc memory = gdi_.CreateCompatibleDC(dc);
  if (memory == nullptr) {
    return;
  }
  platform::Bitmap info;
  if (gdi_.GetObjectBitmap(bitmap, &info)) {
    const platform::Rop3 operation =
        HasAny(drawMode, DrawModeXor) ? platform::Rop3::NotSrcErase : platform::Rop3::SrcCopy;
    const bool ownSize = drawWidth == 0 || drawHeight == 0;
    const int32_t drawnWidth = ownSize ? info.bmWidth : drawWidth;
    const int32_t drawnHeight = ownSize ? info.bmHeight : drawHeight;
    gdi_.SelectObject(memory, bitmap);
    if (drawnWidth == info.bmWidth && drawnHeight == info.bmHeight) {
      gdi_.BitBlt(dc, x, y, drawnWidth, drawnHeight, memory, 0, 0, operation);
    } else {
      gdi_.SetStretchBltMode(dc, platform::StretchMode::Halftone);
      gdi_.StretchBlt(dc, x, y, drawWidth, drawHeight, memory, 0, 0, info.bmWidth, info.bmHeight,
                      operation);
    }
  }
  gdi_.DeleteDC(memory);
}

}  // namespace drawing::draw
