// The end of a COM object's life: its last Release deletes it.
#pragma once

#include <cstdint>

namespace drawing::platform::soft {

// Drops one of `object`'s `references` and deletes the object when none is
// left. A Release too many is ignored rather than deleting twice.
template <typename Object>
uint32_t ReleaseReference(Object* object, uint32_t& references) {
  if (references == 0) {
    return 0;
  }
  const uint32_t remaining = --references;
  if (remaining == 0) {
    delete object;
  }
  return remaining;
}

}  // namespace drawing::platform::soft
