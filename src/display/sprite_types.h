// Records of a sprite: the registry record, the device data block behind it
// and the vertex layout of the quad that shows it.
#pragma once

#include <cstdint>

#include "platform/direct3d.h"
#include "platform/handles.h"

namespace drawing::display {

// 3 draws through a 32-bit A8R8G8B8 texture, 2 through a 16-bit A1R5G5B5 one.
enum class SpriteKind : int32_t { Sprite16 = 2, Sprite32 = 3 };

// The transparent colour applied to every new sprite (black).
inline constexpr int32_t SpriteColorKey = 0;

// One block per sprite, zero-filled from MainHeap and owned by its record.
struct SpriteTexture {
  SpriteKind kind;
  int32_t width;
  int32_t height;
  int32_t colorKey;            // RGB last keyed into the alpha, red in the low byte; -1 = none yet
  platform::Texture* texture;  // managed pool: survives a device reset
  platform::Surface* level0;   // surface level 0 of texture
  platform::Surface* systemCopy;     // system-memory copy for GDI, made on first access
  platform::Surface* renderSurface;  // kind 2 only: default pool, remade after a reset
  platform::Hdc gdiContext;          // set while GDI access is open
};

struct SpriteTexCoord {
  float u;
  float v;
};

// The registry record; a non-null texture marks it as in use.
struct SpriteRecord {
  SpriteTexture* texture;
  int32_t width;
  int32_t height;
  SpriteTexCoord coords[4];  // top-left, top-right, bottom-left, bottom-right
};

// D3DFVF_XYZRHW | D3DFVF_TEX1, 24 bytes.
struct SpriteVertex {
  float x;
  float y;
  float z;
  float rhw;
  float u;
  float v;
};
static_assert(sizeof(SpriteVertex) == 24);

}  // namespace drawing::display
