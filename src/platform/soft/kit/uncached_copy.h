// Copies of whole screen rows that do not keep what they write in the
// cache. A frame writes the back buffer once and nobody reads it before it
// is shown, while the Canvas the strokes blend into next must stay cached.
#pragma once

#include <cstddef>
#include <cstdint>

namespace drawing::platform::soft {

// Copies `bytes` bytes from `from` to `to` (not overlapping), the bulk with
// stores that go past the cache where the machine has them.
void UncachedCopy(uint8_t* to, const uint8_t* from, size_t bytes);

// Orders the uncached stores before any later store or load.
void UncachedCopyDone();

}  // namespace drawing::platform::soft
