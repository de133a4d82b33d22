#include "draw/gdi_backend.h"

namespace drawing::draw {

using platform::Hgdiobj;

namespace {

constexpr platform::ColorRef kBlack = 0;

}  // namespace

GdiBackend::GdiBackend(platform::Gdi& gdi, platform::Hdc dc, int32_t targetWidth,
                       int32_t targetHeight, int32_t targetDepth, platform::PixelLayout layout)
    : gdi_(gdi), dc_(dc), layout_(layout) {
  width = targetWidth;
  height = targetHeight;
  depth = targetDepth;
}

GdiBackend::~GdiBackend() {
  DeleteOwned(brush_);
  DeleteOwned(pen_);
  DeleteOwned(defaultBrush_);
  DeleteOwned(defaultPen_);
}

platform::Hdc GdiBackend::TakeDc() {
  platform::Hdc dc = dc_;
  dc_ = nullptr;
  return dc;
}

int32_t GdiBackend::BufferFormat() {
  switch (layout_) {
    case platform::PixelLayout::Bgrx32:
      return 64;
    case platform::PixelLayout::Rgb565:
      return 4;
    case platform::PixelLayout::Rgb555:
      return 2;
    default:
      return 0;
  }
}

void GdiBackend::DeleteOwned(Hgdiobj& object) {
  if (object != nullptr) {
    gdi_.DeleteObject(object);
    object = nullptr;
  }
}

void GdiBackend::SelectIfSet(Hgdiobj object) {
  if (object != nullptr && dc_ != nullptr) {
    gdi_.SelectObject(dc_, object);
  }
}

void GdiBackend::EnsureDc() {
  if (dcState_ != DcState::GivenUp) {
    return;
  }
  dcState_ = DcState::InUse;
  if (dc_ == nullptr) {
    dc_ = FetchDc();
  }
  if (dc_ == nullptr) {
    return;
  }
  gdi_.SetTextColor(dc_, frontColor);
  gdi_.SetTextAlign(dc_, platform::TextAlign::UpdateCp);
  gdi_.SetBkColor(dc_, backColor);
  if (drawMode_ != DrawModeNone) {
    SetDrawMode(drawMode_);
  } else {
    SelectIfSet(brush_);
  }
  SelectIfSet(pen_);
  SelectIfSet(font_);
}

intptr_t GdiBackend::BufferAddress() {
  dcState_ = DcState::GivenUp;
  if (dc_ != nullptr) {
    GiveBackDc(TakeDc());
  }
  // A lock that fails (the pixels are locked already) keeps the last one.
  if (const platform::Rows locked = LockPixels(); locked.first != nullptr) {
    locked_ = locked;
  }
  return reinterpret_cast<intptr_t>(locked_.first);
}

intptr_t GdiBackend::BeginTarget() {
  defaultBrush_ = gdi_.CreateSolidBrush(kBlack);
  defaultPen_ = gdi_.CreatePen(platform::PenStyle::Solid, 0, kBlack);
  drawMode_ = DrawModeNone;
  dcState_ = DcState::InUse;
  if (dc_ == nullptr) {
    return 0;
  }
  gdi_.SetTextAlign(dc_, platform::TextAlign::UpdateCp);
  savedBrush_ = gdi_.SelectObject(dc_, defaultBrush_);
  savedPen_ = gdi_.SelectObject(dc_, defaultPen_);
  font_ = gdi_.GetStockObject(platform::StockObject::SystemFont);
  brush_ = gdi_.CreateSolidBrush(kBlack);
  return reinterpret_cast<intptr_t>(dc_);
}

void GdiBackend::EndTarget() {
  SelectIfSet(savedBrush_);
  SelectIfSet(savedPen_);
  DeleteOwned(brush_);
  DeleteOwned(pen_);
  DeleteOwned(defaultBrush_);
  DeleteOwned(defaultPen_);
}

void GdiBackend::SetFrontColor(Colour colour) {
  EnsureDc();
  if (dc_ == nullptr) {
    return;
  }
  // The new object is selected before the old one is deleted, so the DC
  // never holds a deleted object.
  if (!HasAny(drawMode_, DrawModeOutline)) {
    if (Hgdiobj made = gdi_.CreateSolidBrush(colour); made != nullptr) {
      gdi_.SelectObject(dc_, made);
      DeleteOwned(brush_);
      brush_ = made;
    }
  }
  if (Hgdiobj made = gdi_.CreatePen(platform::PenStyle::Solid, 0, colour); made != nullptr) {
    gdi_.SelectObject(dc_, made);
    DeleteOwned(pen_);
    pen_ = made;
  }
  gdi_.SetTextColor(dc_, colour);
}

void GdiBackend::DrawBox(int32_t x, int32_t y, int32_t boxWidth, int32_t boxHeight) {
  EnsureDc();
  if (dc_ == nullptr) {
    return;
  }
  // A one-pixel box in any direction is a single pixel.
  if ((boxWidth == 1 || boxWidth == -1) && (boxHeight == 1 || boxHeight == -1)) {
    gdi_.SetPixelV(dc_, boxWidth == 1 ? x : x - 1, boxHeight == 1 ? y : y - 1, frontColor);
    return;
  }
  gdi_.Rectangle(dc_, x, y, x + boxWidth, y + boxHeight);
}

void GdiBackend::SetDrawMode(DrawMode mode) {
  EnsureDc();
  if (dc_ == nullptr) {
    return;
  }
  drawMode_ = mode;
  gdi_.SetROP2(dc_, HasAny(mode, DrawModeXor) ? platform::Rop2::Not : platform::Rop2::CopyPen);
  if (HasAny(mode, DrawModeOutline)) {
    gdi_.SelectObject(dc_, gdi_.GetStockObject(platform::StockObject::NullBrush));
  } else {
    SelectIfSet(brush_);
  }
  gdi_.SetBkMode(dc_, HasAny(mode, DrawModeTransparent) ? platform::BkMode::Transparent
                                                        : platform::BkMode::Opaque);
  SetFrontColor(frontColor);
}

void GdiBackend::BlitImage(platform::Hbitmap bitmap, int32_t x, int32_t y) {
  BlitImageSized(bitmap, x, y, 0, 0);
}

void GdiBackend::BlitImageSized(platform::Hbitmap bitmap, int32_t x, int32_t y, int32_t drawWidth,
                                int32_t drawHeight) {
  EnsureDc();
  if (dc_ == nullptr) {
    return;
  }
  // Only bitmaps are drawn; this program has no icons to blit.
  if (gdi_.GetObjectType(bitmap) != platform::ObjType::Bitmap) {
    return;
  }
  platform::Hdc memory = gdi_.CreateCompatibleDC(dc_);
  if (memory == nullptr) {
    return;
  }
  platform::Bitmap info;
  if (gdi_.GetObjectBitmap(bitmap, &info)) {
    const platform::Rop3 operation =
        HasAny(drawMode_, DrawModeXor) ? platform::Rop3::NotSrcErase : platform::Rop3::SrcCopy;
    const bool ownSize = drawWidth == 0 || drawHeight == 0;
    const int32_t drawnWidth = ownSize ? info.bmWidth : drawWidth;
    const int32_t drawnHeight = ownSize ? info.bmHeight : drawHeight;
    gdi_.SelectObject(memory, bitmap);
    if (drawnWidth == info.bmWidth && drawnHeight == info.bmHeight) {
      gdi_.BitBlt(dc_, x, y, drawnWidth, drawnHeight, memory, 0, 0, operation);
    } else {
      gdi_.SetStretchBltMode(dc_, platform::StretchMode::Halftone);
      gdi_.StretchBlt(dc_, x, y, drawWidth, drawHeight, memory, 0, 0, info.bmWidth, info.bmHeight,
                      operation);
    }
  }
  gdi_.DeleteDC(memory);
}

}  // namespace drawing::draw
