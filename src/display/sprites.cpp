// The sprite registry: creation as a black transparent picture, drawing as
// a screen-aligned textured quad, destruction, and the walk over every sprite
// around a device reset.
#include "display/sprites.h"

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

constexpr int32_t kSpriteGrowthStep = 64;

}  // namespace

void Sprites::DestroyThunk(void* context, int32_t number) {
  static_cast<Sprites*>(context)->Destroy(number);
}

void Sprites::CreateRegistry() {
  if (registry_ == nullptr) {
    registry_ = runtime::ObjectTableNew(heap_, static_cast<int32_t>(sizeof(SpriteRecord)),
                                        kSpriteGrowthStep, &Sprites::DestroyThunk, this);
  }
}

SpriteRecord* Sprites::New(int number, int width, int height) {
  // Sprites are device textures: nothing can be made before the screen opens.
  if (screen_.device == nullptr || registry_ == nullptr) {
    return nullptr;
  }
  int32_t chosen = number;
  auto* record = static_cast<SpriteRecord*>(runtime::ObjectAllocate(registry_, number, &chosen));
  if (record == nullptr) {
    return nullptr;
  }
  const SpriteKind kind = screen_.depth > 16 ? SpriteKind::Sprite32 : SpriteKind::Sprite16;
  SpriteTexture* block = CreateTexture(width, height, kind);
  if (block == nullptr) {
    runtime::ObjectRelease(registry_, chosen);
    return nullptr;
  }
  record->texture = block;
  record->width = width;
  record->height = height;
  record->coords[0] = {0.0f, 0.0f};
  record->coords[1] = {1.0f, 0.0f};
  record->coords[2] = {0.0f, 1.0f};
  record->coords[3] = {1.0f, 1.0f};

  platform::Hdc dc = BeginGdi(block);
  if (dc != nullptr) {
    platform::Hbrush brush = gdi_.CreateSolidBrush(0);
    if (brush != nullptr) {
      gdi_.FillRect(dc, platform::Rect{0, 0, width, height}, brush);
      gdi_.DeleteObject(brush);
    }
    EndGdi(block);
  }
  ApplyColorKey(block, SpriteColorKey);
  return record;
}

SpriteRecord* Sprites::Find(int number) const {
  if (registry_ == nullptr) {
    return nullptr;
  }
  return static_cast<SpriteRecord*>(runtime::ObjectFind(registry_, number));
}

void Sprites::ForgetRenderStates() {
  for (int32_t& value : renderStateCache_) {
    value = -1;
  }
}

void Sprites::SetRenderStates(int32_t alphaBlendEnable, int32_t sourceBlend,
                              int32_t destinationBlend, int32_t vertexFormat) {
  platform::Device* device = screen_.device;
  if (device == nullptr) {
    return;
  }
  const int32_t values[kRenderStateSlots] = {alphaBlendEnable, sourceBlend, destinationBlend,
                                             vertexFormat};
  constexpr platform::RenderState kStates[3] = {platform::RenderState::AlphaBlendEnable,
                                                platform::RenderState::SrcBlend,
                                                platform::RenderState::DestBlend};
  for (int slot = 0; slot < kRenderStateSlots; ++slot) {
    if (renderStateCache_[slot] == values[slot]) {
      continue;
    }
    renderStateCache_[slot] = values[slot];
    const auto value = static_cast<uint32_t>(values[slot]);
    if (slot == static_cast<int>(RenderStateSlot::VertexFormat)) {
      device->SetFVF(value);
    } else {
      device->SetRenderState(kStates[slot], value);
    }
  }
}

void Sprites::Draw(const SpriteRecord& sprite, int x, int y) {
  const platform::Rect destination{x, y, x + sprite.width, y + sprite.height};
  const platform::Rect screen{0, 0, screen_.screenWidth, screen_.screenHeight};
  platform::Rect visible;
  // Only a visibility test: the device clips the whole quad itself.
  if (!IntersectRect(destination, screen, &visible)) {
    return;
  }
  SetRenderStates(1, static_cast<int32_t>(platform::Blend::One),
                  static_cast<int32_t>(platform::Blend::Zero), kVertexFormat);

  // The half-pixel shift puts texel centres on pixel centres.
  const float left = static_cast<float>(destination.left) - 0.5f;
  const float top = static_cast<float>(destination.top) - 0.5f;
  const float right = static_cast<float>(destination.right) - 0.5f;
  const float bottom = static_cast<float>(destination.bottom) - 0.5f;
  const SpriteTexCoord* uv = sprite.coords;
  const SpriteVertex vertices[4] = {
      {left, top, 0.0f, 1.0f, uv[0].u, uv[0].v},
      {right, top, 0.0f, 1.0f, uv[1].u, uv[1].v},
      {left, bottom, 0.0f, 1.0f, uv[2].u, uv[2].v},
      {right, bottom, 0.0f, 1.0f, uv[3].u, uv[3].v},
  };
  screen_.device->SetTexture(0, sprite.texture->texture);
  screen_.device->DrawPrimitiveUP(platform::PrimitiveType::TriangleStrip, 2, vertices,
                                  sizeof(SpriteVertex));
}

void Sprites::Destroy(int number) {
  SpriteRecord* record = Find(number);
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
  runtime::ObjectRelease(registry_, number);
}

void Sprites::DestroyAll() {
  if (registry_ != nullptr) {
    runtime::ObjectFreeAll(registry_);
  }
}

template <class Action>
void Sprites::ForEachTexture(Action action) {
  if (registry_ == nullptr) {
    return;
  }
  runtime::ObjectIterateReset(registry_);
  while (auto* record =
             static_cast<SpriteRecord*>(runtime::ObjectIterateNext(registry_, nullptr))) {
    action(record->texture);
  }
}

void Sprites::ReleaseDeviceResources() {
  ForEachTexture([](SpriteTexture* block) { ReleaseDeviceResources(block); });
}

void Sprites::RestoreDeviceResources() {
  ForEachTexture([this](SpriteTexture* block) { RestoreDeviceResources(block); });
}

}  // namespace drawing::display
