#include "platform/soft/direct3d/soft_direct3d_module.h"

#include "platform/soft/direct3d/soft_direct3d.h"

namespace drawing::platform::soft {

SoftDirect3DModule::SoftDirect3DModule(DisplayHost& host, SoftGdi& gdi,
                                       SoftDirect3DModuleFaults faults)
    : host_(host), gdi_(gdi), faults_(faults) {}

bool SoftDirect3DModule::LoadLibrary() {
  loaded_ = loaded_ || !faults_.libraryMissing;
  return loaded_;
}

bool SoftDirect3DModule::GetProcAddress() {
  entryFound_ = loaded_ && !faults_.entryPointMissing;
  return entryFound_;
}

Direct3D* SoftDirect3DModule::Direct3DCreate9(uint32_t sdkVersion) {
  if (!entryFound_ || faults_.createReturnsNull || sdkVersion != kSdkVersion) {
    return nullptr;
  }
  return new SoftDirect3D(host_, gdi_, live_);
}

}  // namespace drawing::platform::soft
