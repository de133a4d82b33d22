// The screen window, the Direct3D object and the exclusive full-screen device.
#include "display/display.h"

namespace drawing::display {

using platform::Format;

namespace {

constexpr const char* kWindowClassName = "MultimediaBase Class";
constexpr int kIconResource = 1;
constexpr uint32_t kDirect3DSdkVersion = 32;

}  // namespace

Display::Display(runtime::MainHeap& heap, const platform::Platform& platform)
    : heap_(heap), platform_(platform) {}

Display::~Display() {
  // Heap blocks (sprites, the mode list) belong to the heap and go with it;
  // only the platform objects need giving back here.
  if (state_.backBuffer != nullptr) {
    state_.backBuffer->Release();
    state_.backBuffer = nullptr;
  }
  if (state_.device != nullptr) {
    state_.device->Release();
    state_.device = nullptr;
  }
  if (state_.direct3D != nullptr) {
    state_.direct3D->Release();
    state_.direct3D = nullptr;
  }
}

intptr_t Display::WindowProcThunk(void* context, platform::Hwnd window, uint32_t message,
                                  uintptr_t wParam, intptr_t lParam) {
  return static_cast<Display*>(context)->ScreenWindowProc(window, message, wParam, lParam);
}

int Display::InitDisplay() {
  // The registry exists whatever fails below, so sprite calls stay harmless.
  sprites_.CreateRegistry();
  if (CreateScreenWindow() == 0) {
    return 0;
  }
  if (state_.displayReady) {
    return 0;
  }
  platform::Direct3DModule& module = platform_.direct3d;
  if (!module.LoadLibrary() || !module.GetProcAddress()) {
    return 0;
  }
  state_.direct3D = module.Direct3DCreate9(kDirect3DSdkVersion);
  if (state_.direct3D == nullptr) {
    return 0;
  }
  uint32_t modes = state_.direct3D->GetAdapterModeCount(0, Format::X1R5G5B5) +
                   state_.direct3D->GetAdapterModeCount(0, Format::R5G6B5) +
                   state_.direct3D->GetAdapterModeCount(0, Format::X8R8G8B8);
  if (modes > 0) {
    state_.displayReady = true;
    return 1;
  }
  state_.direct3D->Release();
  state_.direct3D = nullptr;
  return 0;
}

int Display::CreateScreenWindow() {
  if (state_.windowCreated || state_.screenWindow != nullptr) {
    return state_.windowCreated ? 1 : 0;
  }
  platform::Windowing& windowing = platform_.windowing;
  platform::Hinstance module = windowing.GetModuleHandle();

  platform::WndClassEx windowClass;
  windowClass.style = static_cast<uint32_t>(platform::ClassStyle::DblClks);
  windowClass.windowProc = &Display::WindowProcThunk;
  windowClass.context = this;
  windowClass.instance = module;
  windowClass.icon = windowing.LoadIcon(module, kIconResource);
  windowClass.background = platform_.gdi.GetStockObject(platform::StockObject::BlackBrush);
  windowClass.className = kWindowClassName;
  if (!windowing.RegisterClassEx(windowClass)) {
    return state_.windowCreated ? 1 : 0;
  }

  // Hidden until a screen is opened in it.
  platform::Hwnd window = windowing.CreateWindowEx(
      0, kWindowClassName, "", static_cast<uint32_t>(platform::WindowStyle::Popup), 0, 0, 1, 1,
      module);
  if (window != nullptr) {
    state_.window = window;
    state_.windowCreated = true;
  }
  return state_.windowCreated ? 1 : 0;
}

int Display::OpenFullScreen(int width, int height, int depth, const char* title, int FlipSync,
                            int refreshRate) {
  const int16_t width16 = static_cast<int16_t>(width);
  const int16_t height16 = static_cast<int16_t>(height);
  platform::Windowing& windowing = platform_.windowing;

  state_.screenWindow = state_.window;
  windowing.SetWindowText(state_.screenWindow, title);
  windowing.MoveWindow(state_.screenWindow, 0, 0, width16, height16, true);
  if (state_.screenWindow == nullptr) {
    DestroyAllSprites();
    return 0;
  }

  state_.depth = static_cast<int16_t>(depth);
  sprites_.ForgetRenderStates();
  state_.refreshRate = refreshRate == -1 ? 0 : refreshRate;
  state_.screenWidth = width16;
  state_.screenHeight = height16;

  windowing.ShowCursor(false);
  // A failure from here on must not leave the user without a pointer.
  auto fail = [&] {
    DestroyAllSprites();
    windowing.ShowCursor(true);
    return 0;
  };

  FillPresentParameters(state_.presentParameters, state_.screenWindow, width16, height16,
                        state_.depth, FlipSync);

  // Without a Direct3D object (the display never became ready) there are no
  // caps to ask for, which ends the open the same way.
  platform::Caps caps;
  if (state_.direct3D == nullptr ||
      platform::Failed(state_.direct3D->GetDeviceCaps(0, platform::DevType::Hal, &caps))) {
    return fail();
  }
  const bool hardwareTransform =
      (caps.DevCaps & static_cast<uint32_t>(platform::DevCap::HwTransformAndLight)) != 0;
  const platform::CreateFlag behaviour = hardwareTransform
                                             ? platform::CreateFlag::MixedVertexProcessing
                                             : platform::CreateFlag::SoftwareVertexProcessing;

  platform::Device* device = nullptr;
  if (platform::Failed(state_.direct3D->CreateDevice(0, platform::DevType::Hal, state_.screenWindow,
                                                     static_cast<uint32_t>(behaviour),
                                                     &state_.presentParameters, &device)) ||
      device == nullptr) {
    if (device != nullptr) {
      device->Release();
    }
    return fail();
  }
  state_.device = device;

  const Format backBufferFormat = state_.presentParameters.BackBufferFormat;
  switch (backBufferFormat) {
    case Format::X8R8G8B8:
      state_.ScreenPixelFormat = platform::PixelLayout::Bgrx32;
      break;
    case Format::R5G6B5:
      state_.ScreenPixelFormat = platform::PixelLayout::Rgb565;
      break;
    case Format::X1R5G5B5:
      state_.ScreenPixelFormat = platform::PixelLayout::Rgb555;
      break;
    default:
      break;
  }
  state_.depth = FormatBitsPerPixel(backBufferFormat);

  state_.backBuffer = QueryBackBuffer(*device);
  device->Clear(0, nullptr, platform::ClearFlag::Target, 0x00000000u, 0.0f, 0);
  ApplyDefaultDeviceStates();

  platform_.system.timeBeginPeriod(1);
  windowing.ShowWindow(state_.screenWindow, platform::ShowCommand::ShowMaximized);
  state_.screenOpen = true;
  state_.DeviceActive = true;
  return 1;
}

void Display::FillPresentParameters(platform::PresentParameters& parameters, platform::Hwnd window,
                                    int width, int height, int depth, int FlipSync) {
  parameters.BackBufferWidth = static_cast<uint32_t>(width);
  parameters.BackBufferHeight = static_cast<uint32_t>(height);
  parameters.BackBufferFormat = ChooseBackBufferFormat(depth);
  parameters.BackBufferCount = 1;
  parameters.MultiSampleType = platform::MultiSample::None;
  parameters.MultiSampleQuality = 0;
  parameters.swapEffect = platform::SwapEffect::Flip;
  parameters.hDeviceWindow = window;
  parameters.Windowed = false;
  parameters.EnableAutoDepthStencil = false;
  parameters.AutoDepthStencilFormat = Format::Unknown;
  // The screen target draws on the back buffer through a GDI context.
  parameters.Flags = static_cast<uint32_t>(platform::PresentFlag::LockableBackbuffer);
  parameters.FullScreen_RefreshRateInHz = static_cast<uint32_t>(state_.refreshRate);
  parameters.PresentationInterval =
      FlipSync != 0 ? platform::PresentInterval::One : platform::PresentInterval::Immediate;
}

Format Display::ChooseBackBufferFormat(int depth) {
  platform::Direct3D* direct3D = state_.direct3D;
  if (direct3D == nullptr) {
    return Format::Unknown;
  }
  auto accepted = [direct3D](Format format) {
    return platform::Succeeded(
        direct3D->CheckDeviceType(0, platform::DevType::Hal, format, format, false));
  };
  if (depth == 16) {
    Format result = Format::Unknown;
    if (accepted(Format::R5G6B5)) {
      result = Format::R5G6B5;
    }
    if (accepted(Format::X1R5G5B5)) {
      result = Format::X1R5G5B5;
    }
    return result;
  }
  if (depth == 32) {
    return accepted(Format::X8R8G8B8) ? Format::X8R8G8B8 : Format::Unknown;
  }
  return Format::Unknown;
}

void Display::ApplyDefaultDeviceStates() {
  platform::Device* device = state_.device;
  if (device == nullptr) {
    return;
  }
  const auto selectArg1 = static_cast<uint32_t>(platform::TextureOp::SelectArg1);
  const auto point = static_cast<uint32_t>(platform::TextureFilter::Point);
  device->SetTextureStageState(0, platform::TextureStageState::ColorOp, selectArg1);
  device->SetTextureStageState(0, platform::TextureStageState::AlphaOp, selectArg1);
  device->SetSoftwareVertexProcessing(false);
  device->SetSamplerState(0, platform::SamplerState::MagFilter, point);
  device->SetSamplerState(0, platform::SamplerState::MinFilter, point);
  device->SetRenderState(platform::RenderState::MultisampleAntialias, 0);
}

void Display::CloseFullScreen() {
  if (!state_.screenOpen) {
    return;
  }
  DestroyAllSprites();
  if (state_.device != nullptr) {
    EndSceneIfOpen();
    if (state_.backBuffer != nullptr) {
      state_.backBuffer->Release();
    }
    state_.device->Release();
    state_.backBuffer = nullptr;
    state_.device = nullptr;
  }
  state_.screenWidth = 0;
  state_.screenHeight = 0;
  if (state_.screenWindow != nullptr) {
    platform_.windowing.ShowCursor(true);
  }
  platform_.system.timeEndPeriod(1);
  platform_.windowing.ShowWindow(state_.screenWindow, platform::ShowCommand::Hide);
  state_.screenOpen = false;
}

void Display::ShutdownDisplay() {
  if (!state_.displayReady) {
    return;
  }
  CloseFullScreen();
  if (state_.direct3D != nullptr) {
    state_.direct3D->Release();
    state_.direct3D = nullptr;
  }
  state_.displayReady = false;
}

}  // namespace drawing::display
