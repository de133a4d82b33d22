// Numbered sprites on the screen's device: the registry, creation as a black
// transparent picture, pixel access through GDI with colour keying, drawing
// as a screen-aligned textured quad, destruction, and what sprites need
// around a device reset.
//
// `Display` owns one and forwards the program's sprite operations to it. The
// sprites read the screen (device, depth, size) from the display's
// `ScreenState` and change only their own state: the registry and the cache
// of the render states they set. The scene bracket stays with the display,
// which begins the scene before asking for a quad.
#pragma once

#include <cstdint>

#include "display/screen_state.h"
#include "display/sprite_types.h"
#include "platform/gdi.h"
#include "runtime/main_heap.h"
#include "runtime/object_table.h"

namespace drawing::display {

// renderStateCache slots, in the order the sprite display sets them.
enum class RenderStateSlot : int32_t {
  AlphaBlendEnable = 0,
  SrcBlend = 1,
  DestBlend = 2,
  VertexFormat = 3,
};
inline constexpr int kRenderStateSlots = 4;

// Rewrite the alpha of `count` pixels from `source` into `destination` (they
// may be the same row): pixels whose colour equals `colour` (an RGB value,
// red in the low byte) become transparent, all others opaque.
void KeyRow32(const uint32_t* source, uint32_t* destination, int32_t count, int32_t colour);
void KeyRow16(const uint16_t* source, uint16_t* destination, int32_t count, int32_t colour);

class Sprites final {
 public:
  Sprites(runtime::MainHeap& heap, platform::Gdi& gdi, const ScreenState& screen)
      : heap_(heap), gdi_(gdi), screen_(screen) {}
  Sprites(const Sprites&) = delete;
  Sprites& operator=(const Sprites&) = delete;

  // Makes the registry once; later calls keep it (and its sprites).
  void CreateRegistry();

  // A black, fully transparent sprite; null without a device or when the
  // device refuses a texture or surface. An earlier sprite with that number
  // is destroyed first.
  SpriteRecord* New(int number, int width, int height);
  // The sprite with that number, or null.
  SpriteRecord* Find(int number) const;
  // Draws the sprite's quad with its top-left corner at (x, y), unless it
  // lies wholly off screen. The caller has begun the scene.
  void Draw(const SpriteRecord& sprite, int x, int y);
  void Destroy(int number);
  void DestroyAll();

  // The device has its default render states again (a new device or a
  // reset): the next drawn sprite sets all of them.
  void ForgetRenderStates();
  // Before a device reset: gives up what lives in the default pool.
  void ReleaseDeviceResources();
  // After a successful reset: makes it again from the managed textures.
  void RestoreDeviceResources();

  // Pixel access of one sprite through GDI. The context draws on a
  // system-memory copy that starts from the texture's pixels; ending the
  // access carries the copy into the texture, alpha keyed by the sprite's
  // colour key. Null when no context could be had.
  platform::Hdc BeginGdi(SpriteTexture* block);
  // The texture, or null when no GDI access was open.
  platform::Texture* EndGdi(SpriteTexture* block);
  // Rewrites the texture's alpha so pixels of `colour` (RGB, red in the low
  // byte) are transparent and all others opaque; nothing when that colour is
  // already applied or the texture cannot be locked.
  void ApplyColorKey(SpriteTexture* block, int32_t colour);

 private:
  static void DestroyThunk(void* context, int32_t number);
  // Calls `action` with the device data of every sprite.
  template <class Action>
  void ForEachTexture(Action action);

  SpriteTexture* CreateTexture(int width, int height, SpriteKind kind);
  platform::Surface* CreateRenderSurface(int width, int height);
  void SetRenderStates(int32_t alphaBlendEnable, int32_t sourceBlend, int32_t destinationBlend,
                       int32_t vertexFormat);
  // 1 when there was something to do or nothing is needed.
  static int ReleaseDeviceResources(SpriteTexture* block);
  // 1 on success.
  int RestoreDeviceResources(SpriteTexture* block);

  runtime::MainHeap& heap_;
  platform::Gdi& gdi_;
  const ScreenState& screen_;
  runtime::ObjectTable* registry_ = nullptr;                    // of SpriteRecord
  int32_t renderStateCache_[kRenderStateSlots] = {0, 0, 0, 0};  // -1 = not set yet
};

}  // namespace drawing::display
