// 16-bit pixels as the software GDI and the software device read and write
// them: one packing for both.
#include "platform/soft/gdi/rgb16.h"

#include <gtest/gtest.h>

#include <cstdint>

#include "platform/soft/direct3d/soft_device_pixels.h"
#include "platform/soft/gdi/pixel_format.h"

namespace drawing::platform::soft {
namespace {

TEST(Rgb16, PrimariesAndWhiteWidenToFullChannels) {
  EXPECT_EQ(RgbFrom565(0xF800u), 0xFF0000u);
  EXPECT_EQ(RgbFrom565(0x07E0u), 0x00FF00u);
  EXPECT_EQ(RgbFrom565(0x001Fu), 0x0000FFu);
  EXPECT_EQ(RgbFrom555(0x7FFFu), 0xFFFFFFu);
  EXPECT_EQ(RgbFrom555(0x8000u), 0x000000u);  // the top bit is no colour
  // Narrowing truncates: 0x07 is below one step of five bits.
  EXPECT_EQ(Rgb565From(0x070307u), 0u);
  EXPECT_EQ(Rgb555From(0x080808u), 0x0421u);
}

// Every 16-bit value: the GDI's layouts and the device's formats read the
// same colour, and writing that colour back gives the value again.
TEST(Rgb16, GdiAndDeviceAgreeOnEveryValue) {
  uint8_t memory[4] = {};
  const PixelView view565{Rows::TopDown(memory, 4, 1, 1, PixelLayout::Rgb565)};
  const PixelView view555{Rows::TopDown(memory, 4, 1, 1, PixelLayout::Rgb555)};
  uint32_t wrong = 0;
  for (uint32_t raw = 0; raw <= 0xFFFFu; ++raw) {
    const uint32_t colour565 = ColorFromRaw(view565, raw);
    wrong += colour565 != (ArgbFromRaw(Format::R5G6B5, raw) & 0xFFFFFFu) ? 1 : 0;
    wrong += RawFromColor(view565, colour565) != raw ? 1 : 0;
    wrong += RawFromArgb(Format::R5G6B5, ArgbFromRaw(Format::R5G6B5, raw)) != raw ? 1 : 0;
    const uint32_t colour555 = ColorFromRaw(view555, raw);
    wrong += colour555 != (ArgbFromRaw(Format::X1R5G5B5, raw) & 0xFFFFFFu) ? 1 : 0;
    wrong += RawFromColor(view555, colour555) != (raw & 0x7FFFu) ? 1 : 0;
    wrong += RawFromArgb(Format::A1R5G5B5, ArgbFromRaw(Format::A1R5G5B5, raw)) != raw ? 1 : 0;
  }
  EXPECT_EQ(wrong, 0u);
}

}  // namespace
}  // namespace drawing::platform::soft
