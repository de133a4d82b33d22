// The current drawing context, its thread-local mirror, the begin/end bracket
// and the small wrappers the application draws through.
#pragma once

#include <cstdint>
#include <new>
#include <utility>

#include "draw/draw_context.h"
#include "platform/handles.h"
#include "platform/system.h"
#include "runtime/main_heap.h"

namespace drawing::draw {

class Drawing {
 public:
  Drawing(runtime::MainHeap& heap, platform::System& system);
  Drawing(const Drawing&) = delete;
  Drawing& operator=(const Drawing&) = delete;

  // Allocates the thread-local slot that mirrors CurrentDrawContext. Once, at
  // start-up, before any target is made.
  void InitDrawing();

  // For back-ends: a context of type `Context`, built in a zero-filled block
  // of the main heap and made current at once.
  // Null when the heap refuses the block.
  template <class Context, class... Args>
  Context* NewDrawContext(Args&&... args);

  // The result of BeginTarget, or 0. A failing target is released and freed.
  intptr_t BeginDraw(DrawContext* context);
  // Ends, releases and frees the current context; nothing without one.
  void EndDraw();

  // Wrappers on the current context. Each answers false (0) and does nothing
  // when no context is current.
  bool BlitImage(platform::Hbitmap bitmap, int32_t x, int32_t y);
  bool DrawBox(int32_t x, int32_t y, int32_t width, int32_t height, Colour colour);
  bool SetDrawMode(DrawMode mode);
  bool DrawLine(int32_t x1, int32_t y1, int32_t x2, int32_t y2, Colour colour);
  // DrawLine(x1, y1 + k, x2, y2 + k, colour) for k = firstOffset..lastOffset,
  // in an order of the back-end's choosing (one colour: the pixels come out
  // the same). False, drawing nothing, also when the offsets are reversed or
  // move a row out of the 32-bit range.
  bool DrawParallelLines(int32_t x1, int32_t y1, int32_t x2, int32_t y2, int32_t firstOffset,
                         int32_t lastOffset, Colour colour);

  DrawContext* CurrentDrawContext() const { return currentDrawContext_; }
  uint32_t TlsIndex() const { return tlsIndex_; }

 private:
  static constexpr uint32_t TlsOutOfIndexes = 0xFFFFFFFFu;

  void SetCurrent(DrawContext* context);
  void Destroy(DrawContext* context);
  // Stores `colour` as the front colour and prepares it, unless it is already.
  static void CheckFrontColour(DrawContext& context, Colour colour);

  runtime::MainHeap& heap_;
  platform::System& system_;
  DrawContext* currentDrawContext_ = nullptr;
  uint32_t tlsIndex_ = TlsOutOfIndexes;
};

template <class Context, class... Args>
Context* Drawing::NewDrawContext(Args&&... args) {
  void* block = heap_.Allocate(sizeof(Context), true);
  if (block == nullptr) {
    return nullptr;
  }
  // DrawContext's own initialisers give the all-ones colours; the back-end's
  // constructor then sets its defaults over them.
  auto* context = new (block) Context(std::forward<Args>(args)...);
  SetCurrent(context);
  return context;
}

}  // namespace drawing::draw
