// Opaque handles and small records shared by every platform port.
//
// Each adapter maps its own objects onto these: the native Windows adapter
// casts the real HWND/HDC/HGDIOBJ values, the software adapter hands out
// pointers to its own objects.
#pragma once

#include <cstdint>

namespace drawing::platform {

struct WindowTag;
struct DcTag;
struct GdiObjectTag;
struct InstanceTag;
struct IconTag;
struct MonitorTag;

using Hwnd = WindowTag*;
using Hdc = DcTag*;
// Bitmaps, brushes, pens and fonts share one handle type, as SelectObject does.
using Hgdiobj = GdiObjectTag*;
using Hbitmap = Hgdiobj;
using Hbrush = Hgdiobj;
using Hpen = Hgdiobj;
using Hfont = Hgdiobj;
using Hinstance = InstanceTag*;
using Hicon = IconTag*;
using Hmonitor = MonitorTag*;

// Red in the low byte, then green, then blue; the high byte is ignored by GDI.
using ColorRef = uint32_t;

struct Rect {
  int32_t left = 0;
  int32_t top = 0;
  int32_t right = 0;
  int32_t bottom = 0;
};

}  // namespace drawing::platform
