#include "platform/soft/direct3d/soft_texture.h"

#include "platform/soft/direct3d/soft_device.h"
#include "platform/soft/direct3d/soft_ref_count.h"

namespace drawing::platform::soft {

SoftTexture* SoftTexture::Create(SoftDevice& device, uint32_t width, uint32_t height, Format format,
                                 Pool pool) {
  auto texture = std::unique_ptr<SoftTexture>(new SoftTexture(device));
  const SurfaceDesc desc{width, height, format, pool, true, SurfaceKind::TextureLevel};
  texture->level0_ = SoftSurface::Create(device, desc, texture.get());
  if (texture->level0_ == nullptr) {
    return nullptr;
  }
  return texture.release();
}

SoftTexture::SoftTexture(SoftDevice& device) : device_(device) {
  device_.TextureCreated();
}

SoftTexture::~SoftTexture() {
  // The level goes first: it may still hold a GDI context of the device's.
  level0_.reset();
  device_.TextureDestroyed(this);
}

uint32_t SoftTexture::AddRef() {
  return ++references_;
}

uint32_t SoftTexture::Release() {
  return ReleaseReference(this, references_);
}

D3dResult SoftTexture::GetSurfaceLevel(uint32_t level, Surface** surface) {
  if (surface == nullptr || level != 0) {
    return D3dResult::InvalidCall;
  }
  level0_->AddRef();
  *surface = level0_.get();
  return D3dResult::Ok;
}

D3dResult SoftTexture::LockRect(uint32_t level, LockedRect* locked, const Rect* rect,
                                LockFlag flags) {
  if (level != 0) {
    return D3dResult::InvalidCall;
  }
  return level0_->LockRect(locked, rect, flags);
}

D3dResult SoftTexture::UnlockRect(uint32_t level) {
  if (level != 0) {
    return D3dResult::InvalidCall;
  }
  return level0_->UnlockRect();
}

}  // namespace drawing::platform::soft
