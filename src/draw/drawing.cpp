#include "draw/drawing.h"

namespace drawing::draw {

Drawing::Drawing(runtime::MainHeap& heap, platform::System& system)
    : heap_(heap), system_(system) {}

void Drawing::InitDrawing() {
  tlsIndex_ = system_.TlsAlloc();
}

void Drawing::SetCurrent(DrawContext* context) {
  currentDrawContext_ = context;
  if (tlsIndex_ != TlsOutOfIndexes) {
    system_.TlsSetValue(tlsIndex_, context);
  }
}

void Drawing::Destroy(DrawContext* context) {
  // The most derived object starts the heap block.
  void* block = dynamic_cast<void*>(context);
  context->~DrawContext();
  heap_.Free(block);
  SetCurrent(nullptr);
}

intptr_t Drawing::BeginDraw(DrawContext* context) {
  if (context == nullptr) {
    return 0;
  }
  intptr_t result = context->BeginTarget();
  if (result != 0) {
    return result;
  }
  context->ReleaseTarget(false);
  Destroy(context);
  return 0;
}

void Drawing::EndDraw() {
  DrawContext* context = currentDrawContext_;
  if (context == nullptr) {
    return;
  }
  context->EndTarget();
  context->ReleaseTarget(true);
  Destroy(context);
}

void Drawing::CheckFrontColour(DrawContext& context, Colour colour) {
  if (colour != context.frontColor) {
    context.frontColor = colour;
    context.SetFrontColor(colour);
  }
}

bool Drawing::BlitImage(platform::Hbitmap bitmap, int32_t x, int32_t y) {
  if (currentDrawContext_ == nullptr) {
    return false;
  }
  currentDrawContext_->BlitImage(bitmap, x, y);
  return true;
}

bool Drawing::DrawBox(int32_t x, int32_t y, int32_t width, int32_t height, Colour colour) {
  if (currentDrawContext_ == nullptr) {
    return false;
  }
  CheckFrontColour(*currentDrawContext_, colour);
  currentDrawContext_->DrawBox(x, y, width, height);
  return true;
}

bool Drawing::SetDrawMode(int32_t mode) {
  if (currentDrawContext_ == nullptr) {
    return false;
  }
  currentDrawContext_->SetDrawMode(mode);
  return true;
}

bool Drawing::DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour) {
  if (currentDrawContext_ == nullptr) {
    return false;
  }
  CheckFrontColour(*currentDrawContext_, colour);
  currentDrawContext_->DrawLine(x1, y1, x2, y2);
  return true;
}

}  // namespace drawing::draw
