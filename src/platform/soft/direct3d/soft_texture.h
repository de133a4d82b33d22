// A texture of the software Direct3D device: one level, kept in memory, so
// a managed texture keeps its pixels through a device reset.
#pragma once

#include <cstdint>
#include <memory>

#include "platform/direct3d.h"
#include "platform/soft/direct3d/soft_surface.h"

namespace drawing::platform::soft {

class SoftDevice;

class SoftTexture final : public Texture {
 public:
  // Null when the memory cannot be had. The texture holds a reference on
  // `device` until its last Release.
  static SoftTexture* Create(SoftDevice& device, uint32_t width, uint32_t height, Format format,
                             Pool pool);
  ~SoftTexture() override;
  SoftTexture(const SoftTexture&) = delete;
  SoftTexture& operator=(const SoftTexture&) = delete;

  uint32_t AddRef() override;
  uint32_t Release() override;
  D3dResult GetSurfaceLevel(uint32_t level, Surface** surface) override;
  D3dResult LockRect(uint32_t level, LockedRect* locked, const Rect* rect, LockFlag flags) override;
  D3dResult UnlockRect(uint32_t level) override;

  SoftSurface& Level0() { return *level0_; }
  const SoftSurface& Level0() const { return *level0_; }
  const SoftDevice& Device() const { return device_; }
  uint32_t References() const { return references_; }

 private:
  explicit SoftTexture(SoftDevice& device);

  SoftDevice& device_;
  std::unique_ptr<SoftSurface> level0_;
  uint32_t references_ = 1;
};

}  // namespace drawing::platform::soft
