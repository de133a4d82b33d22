// The display subsystem: the adapter's display modes, the hidden screen
// window and the exclusive full-screen device, frame presentation with
// device-loss recovery, and sprites shown as textured quads.
//
// One `Display` owns the `ScreenState` and hands it out read-only; other
// subsystems ask the narrow queries below. The application creates it, hands
// it the heap and the platform, and wires the deactivation notification to
// the mouse. Operations report failure with 0 or null.
#pragma once

#include <cstdint>
#include <functional>

#include "display/screen_focus.h"
#include "display/screen_state.h"
#include "display/sprite_types.h"
#include "platform/platform.h"
#include "runtime/main_heap.h"

namespace drawing::display {

// Bits per pixel of a surface format: 32 for X8R8G8B8, 16 for R5G6B5 and
// X1R5G5B5, 0 for every other format.
int FormatBitsPerPixel(platform::Format format);

// Rewrite the alpha of `count` pixels from `source` into `destination` (they
// may be the same row): pixels whose colour equals `colour` (an RGB value,
// red in the low byte) become transparent, all others opaque.
void KeyRow32(const uint32_t* source, uint32_t* destination, int32_t count, int32_t colour);
void KeyRow16(const uint16_t* source, uint16_t* destination, int32_t count, int32_t colour);

// The screen's size and pixel format as the screen drawing target needs them.
struct ScreenGeometry {
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;
  int32_t pixelFormat = 0;  // a ScreenPixelFormatCode value
};

class Display final : public ScreenFocus {
 public:
  Display(runtime::MainHeap& heap, const platform::Platform& platform);
  // Gives up the device and the Direct3D object if the owner did not shut
  // the display down.
  ~Display();
  Display(const Display&) = delete;
  Display& operator=(const Display&) = delete;

  const ScreenState& State() const { return state_; }

  // --- Queries ---------------------------------------------------------------
  platform::Hwnd ScreenWindow() const override { return state_.screenWindow; }
  bool ScreenActive() const override { return state_.DeviceActive; }
  // The device's back buffer while the screen is open; null otherwise.
  platform::Surface* BackBuffer() const { return state_.backBuffer; }
  ScreenGeometry Geometry() const {
    return {state_.screenWidth, state_.screenHeight, state_.depth, state_.ScreenPixelFormat};
  }
  bool WindowCreated() const { return state_.windowCreated; }
  bool DisplayReady() const { return state_.displayReady; }
  // Called when another window takes the focus from the screen window, so
  // the owner can let the mouse go.
  void SetDeactivationListener(std::function<void()> listener) {
    deactivationListener_ = std::move(listener);
  }

  // --- Display modes -------------------------------------------------------
  // Builds the list afresh from the adapter (16-bit family first, then
  // 32-bit) and puts the cursor before the first record. Always 1.
  int EnumerateDisplayModes();
  // 1 when the cursor moved onto a further record; 0 at the end, which also
  // frees the list.
  int NextDisplayMode();
  // Fields of the current record; 0 when there is none.
  int DisplayModeWidth() const;
  int DisplayModeHeight() const;
  int DisplayModeDepth() const;
  int DisplayModeRefreshRate() const;

  // --- Screen window and full-screen device ---------------------------------
  // Sprite registry, screen window, Direct3D object; 1 when the adapter
  // offers at least one mode.
  int InitDisplay();
  // The windowCreated flag.
  int CreateScreenWindow();
  // 1 when the screen is open. `width` and `height` are taken as 16-bit values.
  int OpenFullScreen(int width, int height, int depth, const char* title, int FlipSync = 1,
                     int refreshRate = -1);
  void FillPresentParameters(platform::PresentParameters& parameters, platform::Hwnd window,
                             int width, int height, int depth, int FlipSync);
  // Format::Unknown when no format of that depth fits.
  platform::Format ChooseBackBufferFormat(int depth);
  void ApplyDefaultDeviceStates();
  void CloseFullScreen();
  void ShutdownDisplay();
  intptr_t ScreenWindowProc(platform::Hwnd window, uint32_t message, uintptr_t wParam,
                            intptr_t lParam);

  // --- Frame presentation ----------------------------------------------------
  // Pumps messages, recovers a lost device, flips. 0 when the device was
  // found unusable in this call, else 1.
  int PresentFrame();
  // SceneOpen after the call.
  int EnsureScene();
  void EndSceneIfOpen();

  // --- Sprites -----------------------------------------------------------------
  // A black, fully transparent sprite; null without an open screen or when
  // the device refuses a texture or surface.
  SpriteRecord* NewSprite(int number, int width, int height);
  void ShowSprite(int number, int x, int y);
  // `colour` is RGB with red in the low byte.
  void ClearBackBuffer(int32_t colour);
  void DestroySprite(int number);
  void DestroyAllSprites();
  SpriteTexture* CreateSpriteTexture(int width, int height, SpriteKind kind);
  platform::Hdc SpriteBeginGdi(SpriteTexture* block);
  // The texture, or null when no GDI access was open.
  platform::Texture* SpriteEndGdi(SpriteTexture* block);
  void ApplySpriteColorKey(SpriteTexture* block, int32_t colour);
  void SetSpriteRenderStates(int32_t alphaBlendEnable, int32_t sourceBlend,
                             int32_t destinationBlend, int32_t vertexFormat);
  int ReleaseSpriteDeviceResources(SpriteTexture* block);
  int RestoreSpriteDeviceResources(SpriteTexture* block);

 private:
  static intptr_t WindowProcThunk(void* context, platform::Hwnd window, uint32_t message,
                                  uintptr_t wParam, intptr_t lParam);
  static void DestroySpriteThunk(void* context, int32_t number);

  // A field of the current mode record, sign-extended; 0 when there is none.
  int ModeField(int16_t ScreenModeInfo::*field) const;
  void ResetRenderStateCache();
  platform::D3dResult WaitForLostDevice();
  int ResetDevice();
  // The device's back buffer; null when the device does not hand one over.
  static platform::Surface* QueryBackBuffer(platform::Device& device);
  platform::Surface* CreateSpriteRenderSurface(int width, int height);

  runtime::MainHeap& heap_;
  platform::Platform platform_;
  ScreenState state_;
  std::function<void()> deactivationListener_;
};

}  // namespace drawing::display
