// The screen as a drawing target: GDI drawing on the back buffer of the
// full-screen display, through a device context the back-buffer surface
// lends out until the drawing ends.
#pragma once

#include "display/display.h"
#include "draw/draw_context.h"
#include "draw/drawing.h"
#include "platform/gdi.h"

namespace drawing::draw {

// Ends any open scene, borrows the back buffer's device context and makes a
// current GdiBackend context on it. Null when the screen is not open or the
// back buffer lends no context.
DrawContext* ScreenTarget(Drawing& drawing, display::Display& display, platform::Gdi& gdi);

}  // namespace drawing::draw
