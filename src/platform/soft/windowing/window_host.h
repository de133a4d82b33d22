// What the software window system asks of the place its windows live in.
//
// The rules of USER32 the program relies on (class registry, message queue,
// dispatch to the class procedure, activation, the cursor's display counter)
// are SoftWindowing's and the same everywhere. A host supplies only what
// really differs: whether a native window can be made and how it follows
// the program's calls, where focus changes and close requests come from,
// and which faults a test scripted. The headless host keeps windows as
// records; the SDL host shows them as SDL windows; a window another program
// owns (a screen saver's preview) needs one more host, nothing else.
#pragma once

#include "platform/windowing.h"

namespace drawing::platform::soft {

struct SoftWindow;

class WindowHost {
 public:
  // A native window for `window`, just created; false refuses it.
  virtual bool OpenWindow(Hwnd window, const SoftWindow& record) = 0;
  // The title, placement or visibility of `window` changed to `record`'s.
  virtual void TitleChanged(Hwnd /*window*/, const SoftWindow& /*record*/) {}
  virtual void Moved(Hwnd /*window*/, const SoftWindow& /*record*/) {}
  virtual void Shown(Hwnd /*window*/, const SoftWindow& /*record*/, ShowCommand /*command*/) {}
  // Whether showing a window gives it the focus at once, as Windows does
  // (WM_ACTIVATE is sent before ShowWindow returns); otherwise the focus
  // arrives later as a host event.
  virtual bool ShowActivates() const { return false; }

  // Whether the program's module has icon resource `resource`.
  virtual bool HasIcon(int /*resource*/) const { return false; }
  // A scripted failure of RegisterClassEx.
  virtual bool RegisterClassFails() { return false; }
  // The cursor's counter crossed zero (shown: counter >= 0), or its
  // confinement changed (null: free).
  virtual void CursorShown(bool /*shown*/) {}
  virtual void CursorClipped(const Rect* /*rect*/) {}

  // Takes one waiting event of the host and posts what it means to the
  // window system; false when none was waiting.
  virtual bool Poll() { return false; }

 protected:
  ~WindowHost() = default;
};

}  // namespace drawing::platform::soft
