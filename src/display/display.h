// The display subsystem: the adapter's display modes, the hidden screen
// window and the exclusive full-screen device, frame presentation with
// device-loss recovery, and sprites shown as textured quads (kept by the
// `Sprites` the display owns).
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
#include "display/sprites.h"
#include "platform/platform.h"
#include "runtime/main_heap.h"

namespace drawing::display {

// Bits per pixel of a surface format: 32 for X8R8G8B8, 16 for R5G6B5 and
// X1R5G5B5, 0 for every other format.
int FormatBitsPerPixel(platform::Format format);

// The screen's size and pixel format as the screen drawing target needs them.
struct ScreenGeometry {
  int32_t width = 0;
  int32_t height = 0;
  int32_t depth = 0;
  platform::PixelLayout layout = platform::PixelLayout::Bgrx32;
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
  // 1 when the screen is open. `width` and `height` are taken as 16-bit values.
  int OpenFullScreen(int width, int height, int depth, const char* title, int FlipSync = 1,
                     int refreshRate = -1);
  void CloseFullScreen();
  void ShutdownDisplay();

  // --- Frame presentation ----------------------------------------------------
  // Pumps messages, recovers a lost device, flips. 0 when the device was
  // found unusable in this call, else 1.
  int PresentFrame();
  // Ends the scene the sprites or the screen drawing target began, if any.
  void EndSceneIfOpen();
  // `colour` is RGB with red in the low byte. Needs no scene and opens none.
  void ClearBackBuffer(int32_t colour);

  // --- Sprites (forwarded to the display's `Sprites`) --------------------------
  // A black, fully transparent sprite; null without an open screen or when
  // the device refuses a texture or surface.
  SpriteRecord* NewSprite(int number, int width, int height) {
    return sprites_.New(number, width, height);
  }
  // Begins the scene and draws the sprite; nothing for an unknown number.
  void ShowSprite(int number, int x, int y);
  void DestroySprite(int number) { sprites_.Destroy(number); }
  void DestroyAllSprites() { sprites_.DestroyAll(); }

 private:
  static intptr_t WindowProcThunk(void* context, platform::Hwnd window, uint32_t message,
                                  uintptr_t wParam, intptr_t lParam);
  // Activation drives DeviceActive; close is swallowed.
  intptr_t ScreenWindowProc(platform::Hwnd window, uint32_t message, uintptr_t wParam,
                            intptr_t lParam);
  // The windowCreated flag.
  int CreateScreenWindow();
  void FillPresentParameters(platform::PresentParameters& parameters, platform::Hwnd window,
                             int width, int height, int depth, int FlipSync);
  // Format::Unknown when no format of that depth fits.
  platform::Format ChooseBackBufferFormat(int depth);
  void ApplyDefaultDeviceStates();
  // SceneOpen after the call.
  int EnsureScene();

  // A field of the current mode record, sign-extended; 0 when there is none.
  int ModeField(int16_t ScreenModeInfo::*field) const;
  platform::D3dResult WaitForLostDevice();
  int ResetDevice();
  // The device's back buffer; null when the device does not hand one over.
  static platform::Surface* QueryBackBuffer(platform::Device& device);

  runtime::MainHeap& heap_;
  platform::Platform platform_;
  ScreenState state_;
  Sprites sprites_{heap_, platform_.gdi, state_};
  std::function<void()> deactivationListener_;
};

}  // namespace drawing::display
