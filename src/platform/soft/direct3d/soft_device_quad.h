// The one primitive the software device draws: a screen-aligned textured
// rectangle given as a triangle strip of four pre-transformed vertices
// (x, y, z, rhw, u, v), sampled at pixel centres with point sampling.
#pragma once

#include <cstdint>

#include "platform/soft/direct3d/soft_surface.h"

namespace drawing::platform::soft {

inline constexpr uint32_t kQuadVertexStride = 24;

// The rectangle's edges in screen coordinates and the texture coordinates
// at those edges (u0 at x0, u1 at x1, v0 at y0, v1 at y1).
struct ScreenQuad {
  double x0 = 0.0;
  double x1 = 0.0;
  double y0 = 0.0;
  double y1 = 0.0;
  double u0 = 0.0;
  double u1 = 0.0;
  double v0 = 0.0;
  double v1 = 0.0;
};

// Reads the strip top-left, top-right, bottom-left, bottom-right (any
// mirroring of that pattern); false when the vertices do not form a
// screen-aligned rectangle with u along x and v along y.
bool ReadScreenQuad(const void* vertices, ScreenQuad* quad);

// How a texel and the target pixel combine: each is weighted 0 or 1 and the
// sum saturates per channel. Copy (1, 0) is what the sprites use.
struct QuadBlend {
  bool source = true;
  bool destination = false;
};

// Fills the pixels whose centres lie inside the quad (left and top edges
// included, right and bottom excluded), clipped to `target`, with the
// nearest texel of `texture` (coordinates wrap).
void DrawScreenQuad(const ScreenQuad& quad, const SoftSurface& texture, SoftSurface& target,
                    QuadBlend blend);

}  // namespace drawing::platform::soft
