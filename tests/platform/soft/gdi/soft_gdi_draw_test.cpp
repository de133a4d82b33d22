// Drawing primitives of the software GDI, checked byte by byte.
#include <gtest/gtest.h>

#include "soft_gdi_fixture.h"

namespace drawing::platform::soft {
namespace {

using testing::Dib;
using testing::Surface;

constexpr uint32_t kBackground = 0x11111111u;
constexpr ColorRef kRed = 0x0000FF;   // COLORREF: red in the low byte
constexpr ColorRef kBlue = 0xFF0000;  // COLORREF: blue in the third byte

class SurfaceDraw : public ::testing::Test {
 protected:
  SurfaceDraw()
      : surface(8, 6, Format::X8R8G8B8, 0x11), dc(gdi.CreateSurfaceDC(surface.Memory())) {}

  void UsePenAndBrush(ColorRef penColor, Hbrush brush) {
    gdi.SelectObject(dc, gdi.CreatePen(PenStyle::Solid, 0, penColor));
    gdi.SelectObject(dc, brush);
  }

  SoftGdi gdi;
  Surface surface;
  Hdc dc;
};

TEST_F(SurfaceDraw, RectangleOutlinesWithPenAndFillsWithBrush) {
  UsePenAndBrush(kRed, gdi.CreateSolidBrush(kBlue));
  ASSERT_TRUE(gdi.Rectangle(dc, 1, 1, 5, 4));  // columns 1..4, rows 1..3
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      const bool inside = x >= 1 && x <= 4 && y >= 1 && y <= 3;
      const bool border = inside && (x == 1 || x == 4 || y == 1 || y == 3);
      const uint32_t expected = !inside ? kBackground : border ? 0x00FF0000u : 0x000000FFu;
      EXPECT_EQ(surface.Pixel32(x, y), expected) << x << "," << y;
    }
  }
}

TEST_F(SurfaceDraw, SolidThreeByThreeBoxCoversNinePixels) {
  UsePenAndBrush(0x00C0B0A0, gdi.CreateSolidBrush(0x00C0B0A0));
  gdi.Rectangle(dc, 2, 2, 5, 5);
  int covered = 0;
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t x = 0; x < 8; ++x) {
      if (surface.Pixel32(x, y) == 0x00A0B0C0u) {
        ++covered;
        EXPECT_TRUE(x >= 2 && x <= 4 && y >= 2 && y <= 4) << x << "," << y;
      }
    }
  }
  EXPECT_EQ(covered, 9);
}

TEST_F(SurfaceDraw, RectangleCornersInEitherOrder) {
  UsePenAndBrush(kRed, gdi.CreateSolidBrush(kRed));
  gdi.Rectangle(dc, 4, 4, 1, 1);
  EXPECT_EQ(surface.Pixel32(1, 1), 0x00FF0000u);
  EXPECT_EQ(surface.Pixel32(3, 3), 0x00FF0000u);
  EXPECT_EQ(surface.Pixel32(4, 4), kBackground);
}

TEST_F(SurfaceDraw, NullBrushDrawsOutlineOnly) {
  UsePenAndBrush(kRed, gdi.GetStockObject(StockObject::NullBrush));
  gdi.Rectangle(dc, 0, 0, 4, 4);
  EXPECT_EQ(surface.Pixel32(0, 0), 0x00FF0000u);
  EXPECT_EQ(surface.Pixel32(3, 2), 0x00FF0000u);
  EXPECT_EQ(surface.Pixel32(1, 1), kBackground);
  EXPECT_EQ(surface.Pixel32(2, 2), kBackground);
}

TEST_F(SurfaceDraw, NotModeInvertsEachCoveredPixelOnce) {
  UsePenAndBrush(kRed, gdi.CreateSolidBrush(kBlue));
  gdi.SetROP2(dc, Rop2::Not);
  gdi.Rectangle(dc, 1, 1, 4, 4);
  EXPECT_EQ(surface.Pixel32(1, 1), ~kBackground);
  EXPECT_EQ(surface.Pixel32(2, 2), ~kBackground);
  EXPECT_EQ(surface.Pixel32(3, 1), ~kBackground);
  EXPECT_EQ(surface.Pixel32(4, 4), kBackground);
  gdi.Rectangle(dc, 1, 1, 4, 4);
  EXPECT_EQ(surface.Pixel32(2, 2), kBackground) << "twice restores";
}

TEST_F(SurfaceDraw, RectangleIsClippedToTheSurface) {
  UsePenAndBrush(kRed, gdi.CreateSolidBrush(kBlue));
  EXPECT_TRUE(gdi.Rectangle(dc, -3, -3, 2, 2));  // border at x=1 and y=1 only
  EXPECT_EQ(surface.Pixel32(0, 0), 0x000000FFu);
  EXPECT_EQ(surface.Pixel32(1, 0), 0x00FF0000u);
  EXPECT_EQ(surface.Pixel32(0, 1), 0x00FF0000u);
  EXPECT_EQ(surface.Pixel32(2, 2), kBackground);
  EXPECT_TRUE(gdi.Rectangle(dc, 6, 4, 20, 20));
  EXPECT_EQ(surface.Pixel32(7, 5), 0x000000FFu);
  EXPECT_TRUE(gdi.Rectangle(dc, 100, 100, 110, 110));
  // The padding beyond each row is never touched.
  for (int32_t y = 0; y < 6; ++y) {
    for (int32_t i = 32; i < surface.pitch; ++i) {
      EXPECT_EQ(surface.bytes[static_cast<size_t>(y * surface.pitch + i)], 0x11);
    }
  }
}

TEST_F(SurfaceDraw, SetPixelVWritesOnePixelWithZeroTopByte) {
  EXPECT_TRUE(gdi.SetPixelV(dc, 3, 2, 0x00332211));
  EXPECT_EQ(surface.Pixel32(3, 2), 0x00112233u);
  EXPECT_EQ(surface.Pixel32(2, 2), kBackground);
  EXPECT_EQ(surface.Pixel32(3, 1), kBackground);
  EXPECT_FALSE(gdi.SetPixelV(dc, 8, 0, 0));
  EXPECT_FALSE(gdi.SetPixelV(dc, -1, 0, 0));
}

TEST_F(SurfaceDraw, FillRectIgnoresMixModeAndPen) {
  gdi.SetROP2(dc, Rop2::Not);
  Rect rect{2, 1, 4, 3};
  EXPECT_EQ(gdi.FillRect(dc, rect, gdi.GetStockObject(StockObject::BlackBrush)), 1);
  EXPECT_EQ(surface.Pixel32(2, 1), 0u);
  EXPECT_EQ(surface.Pixel32(3, 2), 0u);
  EXPECT_EQ(surface.Pixel32(4, 2), kBackground);
  EXPECT_EQ(surface.Pixel32(2, 3), kBackground);
  EXPECT_EQ(gdi.FillRect(dc, rect, nullptr), 0);
}

TEST(SoftGdiDraw, DibRowsAreBottomUp) {
  SoftGdi gdi;
  Dib dib(gdi, 3, 4, 24);
  Rect topRow{0, 0, 3, 1};
  gdi.FillRect(dib.dc, topRow, gdi.GetStockObject(StockObject::WhiteBrush));
  const auto* memory = static_cast<const uint8_t*>(dib.memory);
  EXPECT_EQ(memory[3 * dib.pitch], 0xFF) << "the top row is the last row in memory";
  EXPECT_EQ(memory[3 * dib.pitch + 8], 0xFF);
  EXPECT_EQ(memory[3 * dib.pitch + 9], 0x00) << "row padding untouched";
  EXPECT_EQ(memory[0], 0x00);
  gdi.SetPixelV(dib.dc, 2, 3, 0x00030201);  // red 1, green 2, blue 3
  EXPECT_EQ(memory[6], 0x03);
  EXPECT_EQ(memory[7], 0x02);
  EXPECT_EQ(memory[8], 0x01);
}

TEST(SoftGdiDraw, SixteenBitSurfacesPackTheirChannels) {
  SoftGdi gdi;
  Surface wide(2, 1, Format::R5G6B5, 0);
  Surface narrow(2, 1, Format::X1R5G5B5, 0);
  Hdc wideDc = gdi.CreateSurfaceDC(wide.Memory());
  Hdc narrowDc = gdi.CreateSurfaceDC(narrow.Memory());
  gdi.SetPixelV(wideDc, 0, 0, kRed);
  gdi.SetPixelV(wideDc, 1, 0, 0x00FF00);
  gdi.SetPixelV(narrowDc, 0, 0, kRed);
  gdi.SetPixelV(narrowDc, 1, 0, 0xFFFFFF);
  EXPECT_EQ(wide.Pixel16(0, 0), 0xF800);
  EXPECT_EQ(wide.Pixel16(1, 0), 0x07E0);
  EXPECT_EQ(narrow.Pixel16(0, 0), 0x7C00);
  EXPECT_EQ(narrow.Pixel16(1, 0), 0x7FFF) << "the top bit stays clear";
}

TEST(SoftGdiDraw, EightBitDibHasABlackPalette) {
  SoftGdi gdi;
  Dib dib(gdi, 4, 2, 8);
  Rect all{0, 0, 4, 2};
  gdi.FillRect(dib.dc, all, gdi.GetStockObject(StockObject::WhiteBrush));
  const auto* memory = static_cast<const uint8_t*>(dib.memory);
  for (int32_t i = 0; i < 8; ++i) {
    EXPECT_EQ(memory[i], 0) << "every entry is black; the first one matches";
  }
}

TEST(SoftGdiDraw, DisplayDcHasNothingToDrawOn) {
  SoftGdi gdi;
  Hdc display = gdi.CreateDisplayDC();
  ASSERT_NE(display, nullptr);
  EXPECT_FALSE(gdi.Rectangle(display, 0, 0, 2, 2));
  EXPECT_FALSE(gdi.SetPixelV(display, 0, 0, 0));
  EXPECT_TRUE(gdi.DeleteDC(display));
}

}  // namespace
}  // namespace drawing::platform::soft
