// A surface of the software Direct3D device: pixel memory, top row first,
// with a pitch, that can be locked or drawn on through a software GDI
// context, one at a time, as Direct3D allows.
//
// A fill of the whole surface (a clear, a quad of one colour) is kept aside
// and written only when its pixels are next used: read, locked, drawn on in
// part or presented. When a GDI copy replaces every pixel first, it is never
// written at all. Every accessor below sees the pixels as if it had been.
//
// A back buffer also keeps count of what changed, so that a frame costs what
// the drawing changed: what differs from the frame last presented (handed
// to the host with the next one), and, when its pixels are a copy of a DIB
// section (the frame's first blit) with things drawn over it, where they
// were drawn. The next copy of that DIB section then writes only what
// changed in it and what was drawn over. Whatever the count cannot follow
// (memory handed out whole, memory the host replaced) makes the next frame
// whole.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "platform/direct3d.h"
#include "platform/soft/direct3d/display_host.h"
#include "platform/soft/gdi/soft_gdi.h"

namespace drawing::platform::soft {

class SoftDevice;

enum class SurfaceKind : uint8_t { BackBuffer, TextureLevel, RenderTarget, OffscreenPlain };

struct SurfaceDesc {
  uint32_t width = 0;
  uint32_t height = 0;
  Format format = Format::Unknown;
  Pool pool = Pool::Default;
  bool lockable = true;
  SurfaceKind kind = SurfaceKind::OffscreenPlain;
};

class SoftSurface final : public Surface, public SurfaceAccess {
 public:
  // A zero-filled surface. A back buffer or texture level passes its
  // `container` (device or texture): references taken on the surface are
  // references on the container, which owns and deletes the surface. A
  // render target or off-screen surface has no container; it holds a
  // reference on `device` and deletes itself on its last Release. Null when
  // the memory cannot be had.
  static std::unique_ptr<SoftSurface> Create(SoftDevice& device, const SurfaceDesc& desc,
                                             Unknown* container);
  // A back buffer in memory the host lends (DisplayHost::LendBackBuffer),
  // cleared to zero; null when the memory cannot hold the surface.
  static std::unique_ptr<SoftSurface> CreateLent(SoftDevice& device, const SurfaceDesc& desc,
                                                 Unknown* container, BackBufferLease& lease);
  ~SoftSurface() override;
  SoftSurface(const SoftSurface&) = delete;
  SoftSurface& operator=(const SoftSurface&) = delete;

  uint32_t AddRef() override;
  uint32_t Release() override;
  D3dResult LockRect(LockedRect* locked, const Rect* rect, LockFlag flags) override;
  D3dResult UnlockRect() override;
  D3dResult GetDC(Hdc* dc) override;
  D3dResult ReleaseDC(Hdc dc) override;

  const SurfaceDesc& Desc() const { return desc_; }
  // The pixel memory, with any fill kept aside written into it.
  uint8_t* Pixels();
  const uint8_t* Pixels() const;
  // Whether the pixels are the host's, and where they went after a Present.
  bool Lent() const { return lease_ != nullptr; }
  // After a Present or a failed Reset: draws where the lease now says.
  void MoveLent();
  int32_t Pitch() const { return pitch_; }
  uint32_t BytesPerPixel() const { return bytesPerPixel_; }
  // The pixels, with any fill kept aside written into them.
  ConstRows View() const;
  // For a GDI context: the memory as it is, with this surface told before
  // each use (Touch).
  SoftGdi::SurfaceMemory Memory();

  // Sets the pixels of `area`, cut to the surface, to `raw`. A fill of the
  // whole surface is kept aside until the pixels are next used.
  void Fill(const Rect& area, uint32_t raw);
  // The raw value all pixels hold, when they hold one value (worked out
  // once and remembered until the pixels may have changed).
  std::optional<uint32_t> UniformRaw() const;
  // Whether a fill is kept aside, not yet written to memory.
  bool FillPending() const { return pendingFill_.has_value(); }
  Rows Touch(SurfaceTouch touch, const Rect& area) override;
  const Damage* ReplaceByCopy(const void* source, const Damage* changed, Rows* memory) override;

  // What changed since the last presented frame (a back buffer's only;
  // everything, always, when the host wants whole frames).
  const Damage& Changed() const { return changed_; }
  // The frame was presented: nothing differs from the screen any more.
  void Presented();

  // After a Present of lent memory: the host shows the memory as it is, so
  // before it next changes the surface asks the host
  // (BackBufferLease::Changing), which may move it.
  void PresentedInPlace();

  bool IsLocked() const { return locked_; }
  bool HasDC() const { return dc_ != nullptr; }
  LockFlag LastLockFlags() const { return lastLockFlags_; }
  // References taken through this surface and not yet released (for a
  // contained surface, the container's own references are not counted).
  uint32_t References() const { return references_; }

  // The raw pixel at (x, y): a 32-bit value or a 16-bit word.
  uint32_t ReadPixel(uint32_t x, uint32_t y) const;
  void WritePixel(uint32_t x, uint32_t y, uint32_t raw);

 private:
  SoftSurface(SoftDevice& device, const SurfaceDesc& desc, Unknown* container,
              std::unique_ptr<uint8_t[]> pixels, uint8_t* memory, int32_t pitch);

  // Writes a fill kept aside. Const because the pixels it gives are the
  // ones the surface already shows.
  void WritePending() const;
  // The memory is about to change (every pixel of it, or maybe only some).
  void Changing(bool replacesAll) const;
  // The memory as it is, nothing written.
  Rows MemoryRows() const;
  void TakeLent(const Rows& memory) const;
  void FillRows(int32_t left, int32_t top, int32_t right, int32_t bottom, uint32_t raw) const;
  // Counts `area` as drawn on: changed, and over whatever copy it holds.
  void Drew(const Rect& area) const;
  // Every pixel may have changed, and none is known to be a copy any more.
  void DrewAll() const;
  // Whether the memory still holds what was last drawn in it.
  bool HoldsLastDrawn() const;
  enum class Uniformity : uint8_t { Unknown, Uniform, Mixed };

  SoftDevice& device_;
  SurfaceDesc desc_;
  Unknown* container_;
  std::unique_ptr<uint8_t[]> pixels_;  // null for lent memory
  BackBufferLease* lease_ = nullptr;   // for lent memory
  // The pixels drawn on: pixels_ or the host's. Mutable because writing a
  // kept-aside fill, which reads may do, can move lent memory.
  mutable uint8_t* memory_;
  mutable int32_t pitch_;
  uint32_t bytesPerPixel_;
  uint32_t references_;
  bool locked_ = false;
  LockFlag lastLockFlags_ = LockFlag::None;
  Hdc dc_ = nullptr;
  mutable std::optional<uint32_t> pendingFill_;
  mutable bool presentedInPlace_ = false;
  mutable Uniformity uniformity_ = Uniformity::Unknown;
  mutable uint32_t uniformRaw_ = 0;

  // Back buffers only (tracks_). Mutable: writing a kept-aside fill changes
  // the pixels.
  bool tracks_ = false;
  mutable Damage changed_;
  mutable Damage drawnOver_;
  mutable const void* copyOf_ = nullptr;  // the DIB section the pixels are a copy of
  Damage copyRegion_;                     // the answer of the last ReplaceByCopy
};

}  // namespace drawing::platform::soft
