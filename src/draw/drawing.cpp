#include "draw/drawing.h"

#include <algorithm>
#include <limits>

namespace drawing::draw {

Drawing::Drawing(runtime::MainHeap& heap, platform::System& system)
    : heap_(heap), system_(system) {}

void Drawing::InitDrawing() {
  tlsIndex_ = system_.TlsAlloc();
}

void Drawing::SetCurrent(DrawContext* context) {
  currentDrawContext_ = context;
  if (tlsIndex_ != TlsOutOfIndexes) {
    // The slot only mirrors currentDrawContext_, and a slot we own cannot refuse.
    platform::IgnoreResult(system_.TlsSetValue(tlsIndex_, context));
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

bool Drawing::SetDrawMode(DrawMode mode) {
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

bool Drawing::DrawParallelLines(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t firstOffset,
                                int32_t lastOffset, Colour colour) {
  if (currentDrawContext_ == nullptr || firstOffset > lastOffset) {
    return false;
  }
  const int64_t top = static_cast<int64_t>(std::min(y1, y2)) + firstOffset;
  const int64_t bottom = static_cast<int64_t>(std::max(y1, y2)) + lastOffset;
  if (top < std::numeric_limits<int32_t>::min() || bottom > std::numeric_limits<int32_t>::max()) {
    return false;
  }
  CheckFrontColour(*currentDrawContext_, colour);
  currentDrawContext_->DrawParallelLines(x1, y1, x2, y2, firstOffset, lastOffset);
  return true;
}

}  // namespace drawing::draw
