// A sprite's device data: the managed texture, GDI access through a
// system-memory copy, keying of the alpha by a transparent colour, and the
// default-pool surface of 16-bit sprites around a device reset.
#include <cstring>

#include "display/sprites.h"

namespace drawing::display {

using platform::Format;
using platform::LockedRect;
using platform::LockFlag;

namespace {

unsigned char* Row(const LockedRect& locked, int32_t y) {
  return static_cast<unsigned char*>(locked.pBits) + static_cast<intptr_t>(y) * locked.Pitch;
}

// Copies `rows` rows of `rowBytes` bytes, each through its own pitch.
void CopyRows(const LockedRect& source, const LockedRect& destination, int32_t rows,
              size_t rowBytes) {
  for (int32_t y = 0; y < rows; ++y) {
    std::memcpy(Row(destination, y), Row(source, y), rowBytes);
  }
}

// Rewrites every row from `source` into `destination` (possibly the same
// memory) through the kind's keying rule.
void KeyRows(SpriteKind kind, const LockedRect& source, const LockedRect& destination,
             int32_t width, int32_t height, int32_t colour) {
  for (int32_t y = 0; y < height; ++y) {
    if (kind == SpriteKind::Sprite32) {
      KeyRow32(reinterpret_cast<const uint32_t*>(Row(source, y)),
               reinterpret_cast<uint32_t*>(Row(destination, y)), width, colour);
    } else {
      KeyRow16(reinterpret_cast<const uint16_t*>(Row(source, y)),
               reinterpret_cast<uint16_t*>(Row(destination, y)), width, colour);
    }
  }
}

size_t RowBytes(const SpriteTexture& block) {
  const int32_t bytesPerPixel = block.kind == SpriteKind::Sprite32 ? 4 : 2;
  return static_cast<size_t>(bytesPerPixel) * static_cast<size_t>(block.width);
}

template <class Object>
void ReleaseIfSet(Object*& object) {
  if (object != nullptr) {
    object->Release();
    object = nullptr;
  }
}

}  // namespace

void KeyRow32(const uint32_t* source, uint32_t* destination, int32_t count, int32_t colour) {
  const auto bits = static_cast<uint32_t>(colour);
  const uint32_t key =
      (static_cast<uint32_t>(colour >> 16) | (bits << 16) | (bits & 0xFF00u)) & 0xFFFFFFu;
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t pixel = source[i];
    destination[i] = (pixel & 0xFFFFFFu) == key ? pixel & 0xFFFFFFu : pixel | 0xFF000000u;
  }
}

void KeyRow16(const uint16_t* source, uint16_t* destination, int32_t count, int32_t colour) {
  const auto bits = static_cast<uint32_t>(colour);
  const uint32_t key = ((bits & 0xF8u) << 7) | (static_cast<uint32_t>(colour >> 6) & 0x3E0u) |
                       static_cast<uint32_t>(colour >> 19);
  const uint32_t key16 = key & 0xFFFFu;
  for (int32_t i = 0; i < count; ++i) {
    const uint32_t pixel = source[i];
    destination[i] =
        static_cast<uint16_t>((pixel & 0x7FFFu) == key16 ? pixel & 0x7FFFu : pixel | 0x8000u);
  }
}

platform::Surface* Sprites::CreateRenderSurface(int width, int height) {
  platform::Surface* surface = nullptr;
  if (platform::Failed(screen_.device->CreateRenderTarget(
          static_cast<uint32_t>(width), static_cast<uint32_t>(height), Format::X1R5G5B5,
          platform::MultiSample::None, 0, true, &surface))) {
    ReleaseIfSet(surface);
  }
  return surface;
}

SpriteTexture* Sprites::CreateTexture(int width, int height, SpriteKind kind) {
  platform::Device* device = screen_.device;
  if (device == nullptr) {
    return nullptr;
  }
  Format format;
  switch (kind) {
    case SpriteKind::Sprite32:
      format = Format::A8R8G8B8;
      break;
    case SpriteKind::Sprite16:
      format = Format::A1R5G5B5;
      break;
    default:
      return nullptr;
  }

  platform::Texture* texture = nullptr;
  platform::Surface* renderSurface = nullptr;
  platform::Surface* level0 = nullptr;
  auto fail = [&]() -> SpriteTexture* {
    ReleaseIfSet(texture);
    ReleaseIfSet(renderSurface);
    ReleaseIfSet(level0);
    return nullptr;
  };

  if (platform::Failed(device->CreateTexture(static_cast<uint32_t>(width),
                                             static_cast<uint32_t>(height), 1, 0, format,
                                             platform::Pool::Managed, &texture)) ||
      texture == nullptr) {
    return fail();
  }
  if (kind == SpriteKind::Sprite16) {
    renderSurface = CreateRenderSurface(width, height);
    if (renderSurface == nullptr) {
      return fail();
    }
  }
  if (platform::Failed(texture->GetSurfaceLevel(0, &level0)) || level0 == nullptr) {
    return fail();
  }
  auto* block = static_cast<SpriteTexture*>(heap_.Allocate(sizeof(SpriteTexture), true));
  if (block == nullptr) {
    return fail();
  }
  block->kind = kind;
  block->width = width;
  block->height = height;
  block->colorKey = -1;
  block->texture = texture;
  block->level0 = level0;
  block->renderSurface = renderSurface;
  return block;
}

platform::Hdc Sprites::BeginGdi(SpriteTexture* block) {
  if (block == nullptr) {
    return nullptr;
  }
  if (block->gdiContext != nullptr) {
    return block->gdiContext;
  }
  const Format format = block->kind == SpriteKind::Sprite32 ? Format::X8R8G8B8 : Format::X1R5G5B5;
  if (block->systemCopy == nullptr && screen_.device != nullptr) {
    platform::Surface* systemCopy = nullptr;
    if (platform::Failed(screen_.device->CreateOffscreenPlainSurface(
            static_cast<uint32_t>(block->width), static_cast<uint32_t>(block->height), format,
            platform::Pool::SystemMem, &systemCopy))) {
      ReleaseIfSet(systemCopy);
    }
    block->systemCopy = systemCopy;
  }
  if (block->systemCopy == nullptr) {
    return nullptr;
  }

  // GDI draws on the system copy, so it starts from the texture's pixels.
  LockedRect source;
  if (platform::Succeeded(block->level0->LockRect(&source, nullptr, LockFlag::ReadOnly))) {
    LockedRect destination;
    if (platform::Succeeded(block->systemCopy->LockRect(&destination, nullptr, LockFlag::None))) {
      CopyRows(source, destination, block->height, RowBytes(*block));
      block->systemCopy->UnlockRect();
    }
    block->level0->UnlockRect();
  }
  platform::Hdc dc = nullptr;
  if (platform::Succeeded(block->systemCopy->GetDC(&dc))) {
    block->gdiContext = dc;
  }
  return block->gdiContext;
}

platform::Texture* Sprites::EndGdi(SpriteTexture* block) {
  if (block == nullptr || block->gdiContext == nullptr) {
    return nullptr;
  }
  if (platform::Succeeded(block->systemCopy->ReleaseDC(block->gdiContext))) {
    LockedRect destination;
    if (platform::Succeeded(block->level0->LockRect(&destination, nullptr, LockFlag::None))) {
      LockedRect source;
      if (platform::Succeeded(block->systemCopy->LockRect(&source, nullptr, LockFlag::ReadOnly))) {
        KeyRows(block->kind, source, destination, block->width, block->height, block->colorKey);
        block->systemCopy->UnlockRect();
      }
      block->level0->UnlockRect();
    }
  }
  block->gdiContext = nullptr;
  return block->texture;
}

void Sprites::ApplyColorKey(SpriteTexture* block, int32_t colour) {
  if (block == nullptr || block->colorKey == colour) {
    return;
  }
  LockedRect pixels;
  if (platform::Failed(block->level0->LockRect(&pixels, nullptr, LockFlag::None))) {
    return;
  }
  KeyRows(block->kind, pixels, pixels, block->width, block->height, colour);
  block->colorKey = colour;
  block->level0->UnlockRect();
}

int Sprites::ReleaseDeviceResources(SpriteTexture* block) {
  if (block == nullptr) {
    return 0;
  }
  switch (block->kind) {
    case SpriteKind::Sprite32:
      return 1;  // managed textures survive a reset
    case SpriteKind::Sprite16:
      if (block->renderSurface == nullptr) {
        return 0;
      }
      ReleaseIfSet(block->renderSurface);
      return 1;
    default:
      return 0;
  }
}

int Sprites::RestoreDeviceResources(SpriteTexture* block) {
  if (block == nullptr) {
    return 0;
  }
  switch (block->kind) {
    case SpriteKind::Sprite32:
      return 1;
    case SpriteKind::Sprite16:
      break;
    default:
      return 0;
  }
  if (block->texture == nullptr || screen_.device == nullptr) {
    return 0;
  }
  if (block->renderSurface != nullptr) {
    return 1;
  }
  platform::Surface* renderSurface = CreateRenderSurface(block->width, block->height);
  if (renderSurface == nullptr) {
    return 0;
  }
  LockedRect source;
  if (platform::Succeeded(block->texture->LockRect(0, &source, nullptr, LockFlag::ReadOnly))) {
    LockedRect destination;
    if (platform::Succeeded(renderSurface->LockRect(&destination, nullptr, LockFlag::None))) {
      CopyRows(source, destination, block->height, RowBytes(*block));
      renderSurface->UnlockRect();
      block->texture->UnlockRect(0);
      block->renderSurface = renderSurface;
      return 1;
    }
    block->texture->UnlockRect(0);
  }
  renderSurface->Release();
  return 0;
}

}  // namespace drawing::display
