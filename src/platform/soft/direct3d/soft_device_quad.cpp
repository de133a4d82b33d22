#include "platform/soft/direct3d/soft_device_quad.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>
#include <vector>

#include "platform/soft/direct3d/soft_device_pixels.h"

namespace drawing::platform::soft {

namespace {

struct Vertex {
  float x, y, z, rhw, u, v;
};
static_assert(sizeof(Vertex) == kQuadVertexStride);

// Pixel centres sit on integer coordinates; the covered range of an edge
// pair a <= b is ceil(a) .. ceil(b) - 1, clipped to 0 .. limit - 1.
void CoveredRange(double a, double b, uint32_t limit, int64_t* first, int64_t* end) {
  *first = std::max<int64_t>(0, static_cast<int64_t>(std::ceil(a)));
  *end = std::min<int64_t>(limit, static_cast<int64_t>(std::ceil(b)));
}

// The texel index along one axis for each covered pixel.
std::vector<uint32_t> TexelIndices(double edge0, double edge1, double t0, double t1, int64_t first,
                                   int64_t end, uint32_t size) {
  std::vector<uint32_t> indices;
  indices.reserve(static_cast<size_t>(std::max<int64_t>(0, end - first)));
  const double span = edge1 - edge0;
  for (int64_t p = first; p < end; ++p) {
    const double t = t0 + (static_cast<double>(p) - edge0) / span * (t1 - t0);
    const auto texel = static_cast<int64_t>(std::floor(t * size));
    const int64_t wrapped = ((texel % size) + size) % size;
    indices.push_back(static_cast<uint32_t>(wrapped));
  }
  return indices;
}

uint32_t BlendArgb(uint32_t source, uint32_t destination, QuadBlend blend) {
  uint32_t result = 0;
  for (int shift = 0; shift < 32; shift += 8) {
    uint32_t sum = 0;
    if (blend.source) {
      sum += (source >> shift) & 0xFFu;
    }
    if (blend.destination) {
      sum += (destination >> shift) & 0xFFu;
    }
    result |= std::min<uint32_t>(sum, 0xFFu) << shift;
  }
  return result;
}

// Whether the texels of a row are one contiguous run, in order.
bool Contiguous(const std::vector<uint32_t>& indices) {
  for (size_t k = 1; k < indices.size(); ++k) {
    if (indices[k] != indices[0] + k) {
      return false;
    }
  }
  return true;
}

}  // namespace

bool ReadScreenQuad(const void* vertices, ScreenQuad* quad) {
  Vertex v[4];
  std::memcpy(v, vertices, sizeof(v));
  const bool aligned = v[0].y == v[1].y && v[2].y == v[3].y && v[0].x == v[2].x &&
                       v[1].x == v[3].x && v[0].u == v[2].u && v[1].u == v[3].u &&
                       v[0].v == v[1].v && v[2].v == v[3].v;
  if (!aligned) {
    return false;
  }
  quad->x0 = v[0].x;
  quad->x1 = v[1].x;
  quad->u0 = v[0].u;
  quad->u1 = v[1].u;
  quad->y0 = v[0].y;
  quad->y1 = v[2].y;
  quad->v0 = v[0].v;
  quad->v1 = v[2].v;
  if (quad->x1 < quad->x0) {
    std::swap(quad->x0, quad->x1);
    std::swap(quad->u0, quad->u1);
  }
  if (quad->y1 < quad->y0) {
    std::swap(quad->y0, quad->y1);
    std::swap(quad->v0, quad->v1);
  }
  return true;
}

void DrawScreenQuad(const ScreenQuad& quad, const SoftSurface& texture, SoftSurface& target,
                    QuadBlend blend) {
  int64_t left = 0;
  int64_t right = 0;
  int64_t top = 0;
  int64_t bottom = 0;
  CoveredRange(quad.x0, quad.x1, target.Desc().width, &left, &right);
  CoveredRange(quad.y0, quad.y1, target.Desc().height, &top, &bottom);
  if (left >= right || top >= bottom) {
    return;
  }
  const Format from = texture.Desc().format;
  const Format to = target.Desc().format;
  const bool copy = blend.source && !blend.destination;
  // A texture of one colour copies as a fill, which the target may keep
  // aside (a black sprite over the whole screen, say).
  if (copy) {
    if (const std::optional<uint32_t> texel = texture.UniformRaw()) {
      target.Fill(Rect{static_cast<int32_t>(left), static_cast<int32_t>(top),
                       static_cast<int32_t>(right), static_cast<int32_t>(bottom)},
                  ConvertRaw(from, to, *texel));
      return;
    }
  }
  const std::vector<uint32_t> columns =
      TexelIndices(quad.x0, quad.x1, quad.u0, quad.u1, left, right, texture.Desc().width);
  const std::vector<uint32_t> rows =
      TexelIndices(quad.y0, quad.y1, quad.v0, quad.v1, top, bottom, texture.Desc().height);

  // The sprites' case: a plain copy of whole runs of texels, row by row.
  const bool copyRuns = copy && SameLayout(from, to) && Contiguous(columns);
  const uint32_t bytesPerPixel = target.BytesPerPixel();
  for (size_t row = 0; row < rows.size(); ++row) {
    const auto y = static_cast<uint32_t>(top + static_cast<int64_t>(row));
    if (copyRuns) {
      std::memcpy(target.Pixels() + static_cast<size_t>(y) * target.Pitch() +
                      static_cast<size_t>(left) * bytesPerPixel,
                  texture.Pixels() + static_cast<size_t>(rows[row]) * texture.Pitch() +
                      static_cast<size_t>(columns[0]) * bytesPerPixel,
                  columns.size() * bytesPerPixel);
      continue;
    }
    for (size_t column = 0; column < columns.size(); ++column) {
      const auto x = static_cast<uint32_t>(left + static_cast<int64_t>(column));
      const uint32_t texel = texture.ReadPixel(columns[column], rows[row]);
      if (copy) {
        target.WritePixel(x, y, ConvertRaw(from, to, texel));
      } else {
        const uint32_t argb =
            BlendArgb(ArgbFromRaw(from, texel), ArgbFromRaw(to, target.ReadPixel(x, y)), blend);
        target.WritePixel(x, y, RawFromArgb(to, argb));
      }
    }
  }
}

}  // namespace drawing::platform::soft
