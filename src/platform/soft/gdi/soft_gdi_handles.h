// Handles of the software GDI are ids into its object table, never addresses.
#pragma once

#include "platform/handles.h"
#include "platform/soft/gdi/soft_gdi_state.h"

namespace drawing::platform::soft {

inline HandleId IdOf(const void* handle) {
  return reinterpret_cast<HandleId>(handle);
}
inline Hdc ToHdc(HandleId id) {
  return reinterpret_cast<Hdc>(id);
}
inline Hgdiobj ToHgdiobj(HandleId id) {
  return reinterpret_cast<Hgdiobj>(id);
}

}  // namespace drawing::platform::soft
