#include "platform/soft/direct3d/soft_surface.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "platform/soft/direct3d/soft_device.h"
#include "platform/soft/direct3d/soft_device_pixels.h"
#include "platform/soft/direct3d/soft_ref_count.h"

namespace drawing::platform::soft {

namespace {

// Rows carry some padding, as video memory rows often do, so that code which
// steps through rows by width times pixel size instead of the pitch shows up
// in tests.
constexpr int32_t kRowPadding = 16;

int32_t PitchFor(uint32_t width, uint32_t bytesPerPixel) {
  const uint32_t rowBytes = width * bytesPerPixel;
  return static_cast<int32_t>((rowBytes + 15u) / 16u * 16u) + kRowPadding;
}

bool FormatTakesDC(Format format) {
  return format == Format::X8R8G8B8 || format == Format::R5G6B5 || format == Format::X1R5G5B5;
}

}  // namespace

std::unique_ptr<SoftSurface> SoftSurface::Create(SoftDevice& device, const SurfaceDesc& desc,
                                                 Unknown* container) {
  const uint32_t bytesPerPixel = DeviceBytesPerPixel(desc.format);
  if (bytesPerPixel == 0 || desc.width == 0 || desc.height == 0 ||
      desc.width > SoftDevice::kMaxDimension || desc.height > SoftDevice::kMaxDimension) {
    return nullptr;
  }
  const int32_t pitch = PitchFor(desc.width, bytesPerPixel);
  const size_t size = static_cast<size_t>(pitch) * desc.height;
  std::unique_ptr<uint8_t[]> pixels(new (std::nothrow) uint8_t[size]());
  if (pixels == nullptr) {
    return nullptr;
  }
  uint8_t* memory = pixels.get();
  return std::unique_ptr<SoftSurface>(
      new SoftSurface(device, desc, container, std::move(pixels), memory, pitch));
}

std::unique_ptr<SoftSurface> SoftSurface::CreateLent(SoftDevice& device, const SurfaceDesc& desc,
                                                     Unknown* container, BackBufferLease& lease) {
  const uint32_t bytesPerPixel = DeviceBytesPerPixel(desc.format);
  const size_t rowBytes = static_cast<size_t>(desc.width) * bytesPerPixel;
  const Rows memory = lease.Pixels();
  if (bytesPerPixel == 0 || desc.width == 0 || desc.height == 0 || memory.first == nullptr ||
      memory.step < 0 || static_cast<size_t>(memory.step) < rowBytes) {
    return nullptr;
  }
  for (uint32_t y = 0; y < desc.height; ++y) {
    std::memset(memory.Row(static_cast<int32_t>(y)), 0, rowBytes);
  }
  auto surface = std::unique_ptr<SoftSurface>(new SoftSurface(
      device, desc, container, nullptr, memory.first, static_cast<int32_t>(memory.step)));
  surface->lease_ = &lease;
  return surface;
}

void SoftSurface::MoveLent() {
  if (lease_ != nullptr) {
    TakeLent(lease_->Pixels());
    uniformity_ = Uniformity::Unknown;
    if (!lease_->HoldsLastDrawn()) {
      DrewAll();
    }
  }
}

void SoftSurface::Drew(const Rect& area) const {
  changed_.Add(area);
  drawnOver_.Add(area);
}

void SoftSurface::DrewAll() const {
  changed_.AddAll();
  drawnOver_.Clear();
  copyOf_ = nullptr;
}

bool SoftSurface::HoldsLastDrawn() const {
  return lease_ == nullptr || lease_->HoldsLastDrawn();
}

void SoftSurface::Presented() {
  if (tracks_) {
    changed_.Clear();
  }
}

const Damage* SoftSurface::ReplaceByCopy(const void* source, const Damage* changed, Rows* memory) {
  // Every pixel is about to be written: a fill kept aside never will be.
  pendingFill_.reset();
  uniformity_ = Uniformity::Unknown;
  if (tracks_ && changed != nullptr && copyOf_ == source && HoldsLastDrawn()) {
    // The pixels are the last copy with things drawn over it: copy what
    // changed in the source and what covers the copy.
    Changing(false);
    copyRegion_ = *changed;
    copyRegion_.Add(drawnOver_);
    changed_.Add(copyRegion_);
    drawnOver_.Clear();
    *memory = MemoryRows();
    return &copyRegion_;
  }
  Changing(true);
  DrewAll();
  copyOf_ = tracks_ ? source : nullptr;
  *memory = MemoryRows();
  return nullptr;
}

void SoftSurface::TakeLent(const Rows& memory) const {
  if (memory.first != nullptr) {
    memory_ = memory.first;
    pitch_ = static_cast<int32_t>(memory.step);
  }
}

uint8_t* SoftSurface::Pixels() {
  WritePending();
  Changing(false);
  uniformity_ = Uniformity::Unknown;
  // Anything may be written through the pointer.
  DrewAll();
  return memory_;
}

const uint8_t* SoftSurface::Pixels() const {
  WritePending();
  return memory_;
}

void SoftSurface::Fill(const Rect& area, uint32_t raw) {
  const auto width = static_cast<int32_t>(desc_.width);
  const auto height = static_cast<int32_t>(desc_.height);
  const int32_t left = std::max(area.left, 0);
  const int32_t top = std::max(area.top, 0);
  const int32_t right = std::min(area.right, width);
  const int32_t bottom = std::min(area.bottom, height);
  if (left >= right || top >= bottom) {
    return;
  }
  if (left == 0 && top == 0 && right == width && bottom == height) {
    // Whatever was kept aside before is covered by this fill.
    pendingFill_ = raw;
    uniformity_ = Uniformity::Uniform;
    uniformRaw_ = raw;
    return;
  }
  WritePending();
  Changing(false);
  uniformity_ = Uniformity::Unknown;
  Drew(Rect{left, top, right, bottom});
  FillRows(left, top, right, bottom, raw);
}

void SoftSurface::WritePending() const {
  if (!pendingFill_) {
    return;
  }
  const uint32_t raw = *pendingFill_;
  pendingFill_.reset();
  // The fill covers every pixel: what the memory held does not matter.
  Changing(true);
  DrewAll();
  FillRows(0, 0, static_cast<int32_t>(desc_.width), static_cast<int32_t>(desc_.height), raw);
}

void SoftSurface::Changing(bool replacesAll) const {
  if (!presentedInPlace_) {
    return;
  }
  presentedInPlace_ = false;
  TakeLent(lease_->Changing(replacesAll));
}

void SoftSurface::PresentedInPlace() {
  presentedInPlace_ = Lent();
}

void SoftSurface::FillRows(int32_t left, int32_t top, int32_t right, int32_t bottom,
                           uint32_t raw) const {
  // One row pixel by pixel, then copies of it.
  const size_t offset = static_cast<size_t>(left) * bytesPerPixel_;
  uint8_t* first = memory_ + static_cast<ptrdiff_t>(top) * pitch_ + offset;
  for (int32_t x = 0; x < right - left; ++x) {
    WriteRawPixel(first + static_cast<size_t>(x) * bytesPerPixel_, bytesPerPixel_, raw);
  }
  const size_t bytes = static_cast<size_t>(right - left) * bytesPerPixel_;
  for (int32_t y = top + 1; y < bottom; ++y) {
    std::memcpy(memory_ + static_cast<ptrdiff_t>(y) * pitch_ + offset, first, bytes);
  }
}

std::optional<uint32_t> SoftSurface::UniformRaw() const {
  if (pendingFill_) {
    return pendingFill_;
  }
  // Memory handed out through a lock or a context may change at any time.
  if (locked_ || dc_ != nullptr) {
    return std::nullopt;
  }
  if (uniformity_ == Uniformity::Unknown) {
    const uint32_t raw = ReadRawPixel(memory_, bytesPerPixel_);
    const size_t bytes = static_cast<size_t>(desc_.width) * bytesPerPixel_;
    bool uniform = true;
    for (size_t at = 0; uniform && at < bytes; at += bytesPerPixel_) {
      uniform = ReadRawPixel(memory_ + at, bytesPerPixel_) == raw;
    }
    for (uint32_t y = 1; uniform && y < desc_.height; ++y) {
      uniform = std::memcmp(memory_ + static_cast<ptrdiff_t>(y) * pitch_, memory_, bytes) == 0;
    }
    uniformity_ = uniform ? Uniformity::Uniform : Uniformity::Mixed;
    uniformRaw_ = raw;
  }
  if (uniformity_ == Uniformity::Mixed) {
    return std::nullopt;
  }
  return uniformRaw_;
}

Rows SoftSurface::Touch(SurfaceTouch touch, const Rect& area) {
  switch (touch) {
    case SurfaceTouch::Read:
      WritePending();
      return MemoryRows();
    case SurfaceTouch::Modify:
      WritePending();
      Changing(false);
      Drew(area);
      break;
    case SurfaceTouch::ReplaceAll:
      pendingFill_.reset();
      Changing(true);
      DrewAll();
      break;
  }
  uniformity_ = Uniformity::Unknown;
  return MemoryRows();
}

SoftSurface::SoftSurface(SoftDevice& device, const SurfaceDesc& desc, Unknown* container,
                         std::unique_ptr<uint8_t[]> pixels, uint8_t* memory, int32_t pitch)
    : device_(device),
      desc_(desc),
      container_(container),
      pixels_(std::move(pixels)),
      memory_(memory),
      pitch_(pitch),
      bytesPerPixel_(DeviceBytesPerPixel(desc.format)),
      references_(container == nullptr ? 1 : 0),
      tracks_(desc.kind == SurfaceKind::BackBuffer && device.Host().TracksChanges()) {
  // Only a back buffer's changes are asked for (Changed, at Present).
  if (desc_.kind == SurfaceKind::BackBuffer) {
    changed_ = Damage(static_cast<int32_t>(desc.width), static_cast<int32_t>(desc.height));
    drawnOver_ = Damage(static_cast<int32_t>(desc.width), static_cast<int32_t>(desc.height));
    drawnOver_.Clear();
  }
  if (container_ == nullptr) {
    device_.StandaloneSurfaceCreated(desc_);
  }
}

SoftSurface::~SoftSurface() {
  if (dc_ != nullptr) {
    device_.Gdi().DeleteDC(dc_);
  }
  if (container_ == nullptr) {
    device_.StandaloneSurfaceDestroyed(desc_);
  }
}

uint32_t SoftSurface::AddRef() {
  ++references_;
  if (container_ != nullptr) {
    container_->AddRef();
  }
  return references_;
}

uint32_t SoftSurface::Release() {
  if (container_ == nullptr) {
    return ReleaseReference(this, references_);
  }
  if (references_ == 0) {
    return 0;
  }
  const uint32_t remaining = --references_;
  // May delete the container and this surface with it.
  container_->Release();
  return remaining;
}

D3dResult SoftSurface::LockRect(LockedRect* locked, const Rect* rect, LockFlag flags) {
  if (locked == nullptr || locked_ || dc_ != nullptr || !desc_.lockable) {
    return D3dResult::InvalidCall;
  }
  int32_t left = 0;
  int32_t top = 0;
  if (rect != nullptr) {
    const auto width = static_cast<int32_t>(desc_.width);
    const auto height = static_cast<int32_t>(desc_.height);
    if (rect->left < 0 || rect->top < 0 || rect->left >= rect->right || rect->top >= rect->bottom ||
        rect->right > width || rect->bottom > height) {
      return D3dResult::InvalidCall;
    }
    left = rect->left;
    top = rect->top;
  }
  // The caller may read or write anything through the pointer.
  WritePending();
  Changing(false);
  uniformity_ = Uniformity::Unknown;
  Drew(rect != nullptr
           ? *rect
           : Rect{0, 0, static_cast<int32_t>(desc_.width), static_cast<int32_t>(desc_.height)});
  locked_ = true;
  lastLockFlags_ = flags;
  locked->Pitch = pitch_;
  locked->pBits = memory_ + static_cast<ptrdiff_t>(top) * pitch_ +
                  static_cast<ptrdiff_t>(left) * bytesPerPixel_;
  return D3dResult::Ok;
}

D3dResult SoftSurface::UnlockRect() {
  if (!locked_) {
    return D3dResult::InvalidCall;
  }
  locked_ = false;
  return D3dResult::Ok;
}

D3dResult SoftSurface::GetDC(Hdc* dc) {
  if (dc == nullptr || locked_ || dc_ != nullptr || !desc_.lockable ||
      !FormatTakesDC(desc_.format)) {
    return D3dResult::InvalidCall;
  }
  const D3dResult allowed = device_.Host().Allow(DeviceOperation::GetDC);
  if (Failed(allowed)) {
    return allowed;
  }
  // Drawing through the context tells this surface first (Touch), so a
  // fill kept aside can stay aside.
  dc_ = device_.Gdi().CreateSurfaceDC(Memory());
  if (dc_ == nullptr) {
    return D3dResult::Fail;
  }
  uniformity_ = Uniformity::Unknown;
  *dc = dc_;
  return D3dResult::Ok;
}

D3dResult SoftSurface::ReleaseDC(Hdc dc) {
  if (dc_ == nullptr || dc != dc_) {
    return D3dResult::InvalidCall;
  }
  device_.Gdi().DeleteDC(dc_);
  dc_ = nullptr;
  return D3dResult::Ok;
}

ConstRows SoftSurface::View() const {
  Pixels();
  return MemoryRows();
}

Rows SoftSurface::MemoryRows() const {
  return Rows::TopDown(memory_, pitch_, static_cast<int32_t>(desc_.width),
                       static_cast<int32_t>(desc_.height), DeviceLayout(desc_.format));
}

SoftGdi::SurfaceMemory SoftSurface::Memory() {
  return SoftGdi::SurfaceMemory{MemoryRows(), this};
}

uint32_t SoftSurface::ReadPixel(uint32_t x, uint32_t y) const {
  return ReadRawPixel(Pixels() + static_cast<size_t>(y) * pitch_ + x * bytesPerPixel_,
                      bytesPerPixel_);
}

void SoftSurface::WritePixel(uint32_t x, uint32_t y, uint32_t raw) {
  WriteRawPixel(Pixels() + static_cast<size_t>(y) * pitch_ + x * bytesPerPixel_, bytesPerPixel_,
                raw);
}

}  // namespace drawing::platform::soft
