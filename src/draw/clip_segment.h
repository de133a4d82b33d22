// Clipping of a segment against one axis of the target.
#pragma once

#include <cstdint>

namespace drawing::draw {

// Moves end points lying outside lo..hi on the a axis onto the bound and their
// b coordinate along the segment (slope in double precision from the end
// points on entry, truncated toward zero). False when the segment lies wholly
// on one side of lo..hi; then nothing is changed.
bool ClipSegment(int32_t& a1, int32_t& b1, int32_t& a2, int32_t& b2, int32_t lo, int32_t hi);

}  // namespace drawing::draw
