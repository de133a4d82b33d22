// Numbered sprites: creation as a black transparent picture, display as a
// screen-aligned textured quad, the back-buffer clear and destruction.
#include "display/display.h"

namespace drawing::display {

namespace {

constexpr int32_t kVertexFormat =
    static_cast<int32_t>(platform::FvfBits(platform::Fvf::XyzRhw, platform::Fvf::Tex1));

bool IntersectRect(const platform::Rect& a, const platform::Rect& b, platform::Rect* out) {
  out->left = a.left > b.left ? a.left : b.left;
  out->top = a.top > b.top ? a.top : b.top;
  out->right = a.right < b.right ? a.right : b.right;
  out->bottom = a.bottom < b.bottom ? a.bottom : b.bottom;
  return out->left < out->right && out->top < out->bottom;
}

}  // namespace

SpriteRecord* Display::NewSprite(int number, int width, int height) {
  // Sprites are device textures: nothing can be made before the screen opens.
  if (state_.device == nullptr || state_.sprites == nullptr) {
    return nullptr;
  }
  int32_t chosen = number;
  auto* record =
      static_cast<SpriteRecord*>(runtime::ObjectAllocate(state_.sprites, number, &chosen));
  if (record == nullptr) {
    return nullptr;
  }
  const SpriteKind kind = state_.depth > 16 ? SpriteKind::Sprite32 : SpriteKind::Sprite16;
  SpriteTexture* block = CreateSpriteTexture(width, height, kind);
  if (block == nullptr) {
    runtime::ObjectRelease(state_.sprites, chosen);
    return nullptr;
  }
  record->texture = block;
  record->width = width;
  record->height = height;
  record->coords[0] = {0.0f, 0.0f};
  record->coords[1] = {1.0f, 0.0f};
  record->coords[2] = {0.0f, 1.0f};
  record->coords[3] = {1.0f, 1.0f};

  platform::Gdi& gdi = platform_.gdi;
  platform::Hdc dc = SpriteBeginGdi(block);
  if (dc != nullptr) {
    platform::Hbrush brush = gdi.CreateSolidBrush(0);
    if (brush != nullptr) {
      gdi.FillRect(dc, platform::Rect{0, 0, width, height}, brush);
      gdi.DeleteObject(brush);
    }
    SpriteEndGdi(block);
  }
  ApplySpriteColorKey(block, SpriteColorKey);
  return record;
}

void Display::SetSpriteRenderStates(int32_t alphaBlendEnable, int32_t sourceBlend,
                                    int32_t destinationBlend, int32_t vertexFormat) {
  platform::Device* device = state_.device;
  if (device == nullptr) {
    return;
  }
  const int32_t values[kRenderStateSlots] = {alphaBlendEnable, sourceBlend, destinationBlend,
                                             vertexFormat};
  constexpr platform::RenderState kStates[3] = {platform::RenderState::AlphaBlendEnable,
                                                platform::RenderState::SrcBlend,
                                                platform::RenderState::DestBlend};
  for (int slot = 0; slot < kRenderStateSlots; ++slot) {
    if (state_.renderStateCache[slot] == values[slot]) {
      continue;
    }
    state_.renderStateCache[slot] = values[slot];
    const auto value = static_cast<uint32_t>(values[slot]);
    if (slot == static_cast<int>(RenderStateSlot::VertexFormat)) {
      device->SetFVF(value);
    } else {
      device->SetRenderState(kStates[slot], value);
    }
  }
}

void Display::ShowSprite(int number, int x, int y) {
  if (state_.sprites == nullptr) {
    return;
  }
  auto* record = static_cast<SpriteRecord*>(runtime::ObjectFind(state_.sprites, number));
  if (record == nullptr || EnsureScene() == 0) {
    return;
  }
  const platform::Rect destination{x, y, x + record->width, y + record->height};
  const platform::Rect screen{0, 0, state_.screenWidth, state_.screenHeight};
  platform::Rect visible;
  // Only a visibility test: the device clips the whole quad itself.
  if (!IntersectRect(destination, screen, &visible)) {
    return;
  }
  SetSpriteRenderStates(1, static_cast<int32_t>(platform::Blend::One),
                        static_cast<int32_t>(platform::Blend::Zero), kVertexFormat);

  // The half-pixel shift puts texel centres on pixel centres.
  const float left = static_cast<float>(destination.left) - 0.5f;
  const float top = static_cast<float>(destination.top) - 0.5f;
  const float right = static_cast<float>(destination.right) - 0.5f;
  const float bottom = static_cast<float>(destination.bottom) - 0.5f;
  const SpriteTexCoord* uv = record->coords;
  const SpriteVertex vertices[4] = {
      {left, top, 0.0f, 1.0f, uv[0].u, uv[0].v},
      {right, top, 0.0f, 1.0f, uv[1].u, uv[1].v},
      {left, bottom, 0.0f, 1.0f, uv[2].u, uv[2].v},
      {right, bottom, 0.0f, 1.0f, uv[3].u, uv[3].v},
  };
  state_.device->SetTexture(0, record->texture->texture);
  state_.device->DrawPrimitiveUP(platform::PrimitiveType::TriangleStrip, 2, vertices,
                                 sizeof(SpriteVertex));
}

void Display::ClearBackBuffer(int32_t colour) {
  if (state_.device == nullptr) {
    return;
  }
  // RGB with red in the low byte to the device's 0xAARRGGBB order.
  const auto bits = static_cast<uint32_t>(colour);
  const uint32_t deviceColour =
      ((bits & 0xFFu) << 16) | static_cast<uint32_t>(colour >> 16) | (bits & 0xFF00u);
  state_.device->Clear(0, nullptr, platform::ClearFlag::Target, deviceColour, 0.0f, 0);
}

void Display::DestroySprite(int number) {
  if (state_.sprites == nullptr) {
    return;
  }
  auto* record = static_cast<SpriteRecord*>(runtime::ObjectFind(state_.sprites, number));
  if (record == nullptr) {
    return;
  }
  SpriteTexture* block = record->texture;
  if (block != nullptr) {
    if (block->gdiContext != nullptr && block->systemCopy != nullptr) {
      block->systemCopy->ReleaseDC(block->gdiContext);
    }
    if (block->texture != nullptr) {
      block->texture->Release();
    }
    if (block->level0 != nullptr) {
      block->level0->Release();
    }
    if (block->systemCopy != nullptr) {
      block->systemCopy->Release();
    }
    if (block->renderSurface != nullptr) {
      block->renderSurface->Release();
    }
    heap_.Free(block);
  }
  runtime::ObjectRelease(state_.sprites, number);
}

void Display::DestroyAllSprites() {
  if (state_.sprites != nullptr) {
    runtime::ObjectFreeAll(state_.sprites);
  }
}

}  // namespace drawing::display
