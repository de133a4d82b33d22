// "d3d9.dll" of the software device: loading, the entry point and
// Direct3DCreate9, each of which a test can make fail.
#pragma once

#include <cstdint>

#include "platform/direct3d.h"
#include "platform/soft/direct3d/display_host.h"
#include "platform/soft/direct3d/soft_live_objects.h"
#include "platform/soft/gdi/soft_gdi.h"

namespace drawing::platform::soft {

class SoftDevice;

struct SoftDirect3DModuleFaults {
  bool libraryMissing = false;     // LoadLibrary fails
  bool entryPointMissing = false;  // GetProcAddress fails
  bool createReturnsNull = false;  // Direct3DCreate9 returns null
};

class SoftDirect3DModule final : public Direct3DModule {
 public:
  // The SDK version Direct3DCreate9 accepts.
  static constexpr uint32_t kSdkVersion = 32;

  // `host` and `gdi` must outlive every object the module makes.
  SoftDirect3DModule(DisplayHost& host, SoftGdi& gdi, SoftDirect3DModuleFaults faults = {});

  bool LoadLibrary() override;
  bool GetProcAddress() override;
  // Null unless both steps above succeeded and `sdkVersion` is kSdkVersion.
  Direct3D* Direct3DCreate9(uint32_t sdkVersion) override;

  SoftDirect3DModuleFaults& Faults() { return faults_; }
  const SoftLiveObjects& Live() const { return live_; }
  // The device made last, while it lives; null otherwise.
  SoftDevice* Device() const { return live_.device; }
  // Told of every call on the module's devices from now on; null for none.
  void SetObserver(EmulationObserver* observer) { live_.observer = observer; }

 private:
  DisplayHost& host_;
  SoftGdi& gdi_;
  SoftDirect3DModuleFaults faults_;
  SoftLiveObjects live_;
  bool loaded_ = false;
  bool entryFound_ = false;
};

}  // namespace drawing::platform::soft
