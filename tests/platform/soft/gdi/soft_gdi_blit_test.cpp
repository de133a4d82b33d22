// Blits and GetDIBits of the software GDI: orientation, clipping, formats.
#include <gtest/gtest.h>

#include "soft_gdi_fixture.h"

namespace drawing::platform::soft {
namespace {

using testing::Dib;
using testing::DibRequest;
using testing::Surface;

// Fills a 32-bit DIB with pixels that tell their position: 0xAA0000xy-like.
void Number(Dib& dib) {
  for (int32_t y = 0; y < dib.height; ++y) {
    for (int32_t x = 0; x < dib.width; ++x) {
      const uint32_t value = 0xA0000000u | static_cast<uint32_t>(y << 8 | x) | 0x00300000u;
      std::memcpy(dib.At(x, y), &value, 4);
    }
  }
}

uint32_t Numbered(int32_t x, int32_t y) {
  return 0xA0000000u | static_cast<uint32_t>(y << 8 | x) | 0x00300000u;
}

TEST(SoftGdiBitBlt, BottomUpDibOntoTopDownSurfaceKeepsThePicture) {
  SoftGdi gdi;
  Dib dib(gdi, 5, 4, 32);
  Number(dib);
  Surface screen(5, 4, Format::X8R8G8B8, 0);
  Hdc screenDc = gdi.CreateSurfaceDC(screen.Memory());
  ASSERT_TRUE(gdi.BitBlt(screenDc, 0, 0, 5, 4, dib.dc, 0, 0, Rop3::SrcCopy));
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      EXPECT_EQ(screen.Pixel32(x, y), Numbered(x, y)) << "all four bytes, " << x << "," << y;
    }
  }
  // The first row in the DIB's memory is the picture's bottom row.
  EXPECT_EQ(testing::Load32(static_cast<uint8_t*>(dib.memory)), Numbered(0, 3));
  EXPECT_EQ(testing::Load32(screen.bytes.data()), Numbered(0, 0));
}

TEST(SoftGdiBitBlt, SurfaceBackIntoDib) {
  SoftGdi gdi;
  Surface screen(3, 2, Format::X8R8G8B8, 0);
  Hdc screenDc = gdi.CreateSurfaceDC(screen.Memory());
  gdi.SetPixelV(screenDc, 2, 0, 0x000000FF);
  Dib dib(gdi, 3, 2, 32);
  gdi.BitBlt(dib.dc, 0, 0, 3, 2, screenDc, 0, 0, Rop3::SrcCopy);
  EXPECT_EQ(dib.Pixel32(2, 0), 0x00FF0000u);
  EXPECT_EQ(dib.Pixel32(2, 1), 0u);
}

TEST(SoftGdiBitBlt, ClipsToDestinationAndSource) {
  SoftGdi gdi;
  Dib source(gdi, 4, 4, 32);
  Number(source);
  Surface screen(4, 4, Format::X8R8G8B8, 0x77);
  Hdc screenDc = gdi.CreateSurfaceDC(screen.Memory());
  // Destination starts left of and above the surface; the source runs out at its right edge.
  ASSERT_TRUE(gdi.BitBlt(screenDc, -1, -1, 10, 10, source.dc, 1, 0, Rop3::SrcCopy));
  EXPECT_EQ(screen.Pixel32(0, 0), Numbered(2, 1));
  EXPECT_EQ(screen.Pixel32(1, 2), Numbered(3, 3));
  EXPECT_EQ(screen.Pixel32(2, 0), 0x77777777u) << "beyond the source's right edge";
  EXPECT_EQ(screen.Pixel32(0, 3), 0x77777777u) << "beyond the source's bottom edge";
  // A negative source origin moves the destination along.
  ASSERT_TRUE(gdi.BitBlt(screenDc, 0, 0, 2, 2, source.dc, -1, -1, Rop3::SrcCopy));
  EXPECT_EQ(screen.Pixel32(1, 1), Numbered(0, 0));
  EXPECT_EQ(screen.Pixel32(0, 0), Numbered(2, 1)) << "outside the source stays";
}

TEST(SoftGdiBitBlt, NotSrcEraseCombinesSourceAndDestination) {
  SoftGdi gdi;
  Dib source(gdi, 1, 1, 32);
  const uint32_t s = 0x0F0F00F0u;
  std::memcpy(source.At(0, 0), &s, 4);
  Surface screen(1, 1, Format::X8R8G8B8, 0);
  const uint32_t d = 0x30303030u;
  std::memcpy(screen.At(0, 0), &d, 4);
  Hdc screenDc = gdi.CreateSurfaceDC(screen.Memory());
  ASSERT_TRUE(gdi.BitBlt(screenDc, 0, 0, 1, 1, source.dc, 0, 0, Rop3::NotSrcErase));
  EXPECT_EQ(screen.Pixel32(0, 0), ~(s | d));
}

TEST(SoftGdiBitBlt, ConvertsBetweenDepths) {
  SoftGdi gdi;
  Dib rgb(gdi, 2, 1, 24);
  uint8_t* p = rgb.At(0, 0);
  p[0] = 1, p[1] = 2, p[2] = 3;
  Dib rgba(gdi, 2, 1, 32);
  const uint32_t with = 0x80654321u;
  std::memcpy(rgba.At(1, 0), &with, 4);
  std::memset(rgba.At(0, 0), 0xEE, 4);
  gdi.BitBlt(rgba.dc, 0, 0, 1, 1, rgb.dc, 0, 0, Rop3::SrcCopy);
  EXPECT_EQ(rgba.Pixel32(0, 0), 0x00030201u) << "24-bit sources give a zero top byte";
  gdi.BitBlt(rgb.dc, 1, 0, 1, 1, rgba.dc, 1, 0, Rop3::SrcCopy);
  EXPECT_EQ(rgb.Pixel24(1, 0), 0x654321u) << "alpha dropped";

  Dib packed(gdi, 2, 1, 16);
  const uint16_t white = 0x7FFF;
  const uint16_t mixed = (31u << 10) | (16u << 5) | 1u;
  std::memcpy(packed.At(0, 0), &white, 2);
  std::memcpy(packed.At(1, 0), &mixed, 2);
  gdi.BitBlt(rgba.dc, 0, 0, 2, 1, packed.dc, 0, 0, Rop3::SrcCopy);
  EXPECT_EQ(rgba.Pixel32(0, 0), 0x00FFFFFFu);
  EXPECT_EQ(rgba.Pixel32(1, 0), 0x00FF8408u);
}

TEST(SoftGdiBitBlt, OverlappingCopyWithinOneBitmap) {
  SoftGdi gdi;
  Dib dib(gdi, 4, 4, 32);
  Number(dib);
  gdi.BitBlt(dib.dc, 1, 1, 3, 3, dib.dc, 0, 0, Rop3::SrcCopy);
  EXPECT_EQ(dib.Pixel32(1, 1), Numbered(0, 0));
  EXPECT_EQ(dib.Pixel32(3, 3), Numbered(2, 2));
  EXPECT_EQ(dib.Pixel32(0, 0), Numbered(0, 0));
  gdi.BitBlt(dib.dc, 0, 0, 3, 3, dib.dc, 1, 1, Rop3::SrcCopy);
  EXPECT_EQ(dib.Pixel32(0, 0), Numbered(0, 0));
  EXPECT_EQ(dib.Pixel32(2, 2), Numbered(2, 2));
}

TEST(SoftGdiBitBlt, FailsWithoutPixels) {
  SoftGdi gdi;
  Dib dib(gdi, 2, 2, 32);
  Hdc display = gdi.CreateDisplayDC();
  EXPECT_FALSE(gdi.BitBlt(display, 0, 0, 2, 2, dib.dc, 0, 0, Rop3::SrcCopy));
  EXPECT_FALSE(gdi.BitBlt(dib.dc, 0, 0, 2, 2, nullptr, 0, 0, Rop3::SrcCopy));
}

TEST(SoftGdiStretchBlt, NearestNeighbourBothWays) {
  SoftGdi gdi;
  Dib small(gdi, 2, 2, 32);
  Number(small);
  Surface screen(4, 4, Format::X8R8G8B8, 0);
  Hdc screenDc = gdi.CreateSurfaceDC(screen.Memory());
  gdi.SetStretchBltMode(screenDc, StretchMode::Halftone);
  ASSERT_TRUE(gdi.StretchBlt(screenDc, 0, 0, 4, 4, small.dc, 0, 0, 2, 2, Rop3::SrcCopy));
  for (int32_t y = 0; y < 4; ++y) {
    for (int32_t x = 0; x < 4; ++x) {
      EXPECT_EQ(screen.Pixel32(x, y), Numbered(x / 2, y / 2)) << x << "," << y;
    }
  }
  Dib big(gdi, 4, 4, 32);
  Number(big);
  Dib half(gdi, 2, 2, 32);
  ASSERT_TRUE(gdi.StretchBlt(half.dc, 0, 0, 2, 2, big.dc, 0, 0, 4, 4, Rop3::SrcCopy));
  EXPECT_EQ(half.Pixel32(0, 0), Numbered(1, 1));
  EXPECT_EQ(half.Pixel32(1, 1), Numbered(3, 3));
}

TEST(SoftGdiGetDIBits, DeliversBottomUpRowsOfThreeBytes) {
  SoftGdi gdi;
  Dib dib(gdi, 5, 3, 32);
  Number(dib);
  BitmapInfoHeader request = DibRequest(5, 3, 24);
  std::vector<uint8_t> rows(16 * 3, 0xCC);
  Hdc dc = gdi.CreateCompatibleDC(nullptr);
  gdi.SelectObject(dib.dc, dib.previous);  // as GDI wants: not selected
  ASSERT_EQ(gdi.GetDIBits(dc, dib.bitmap, 0, 3, rows.data(), &request), 3);
  for (int32_t r = 0; r < 3; ++r) {
    const int32_t y = 2 - r;  // first row delivered is the bottom row
    for (int32_t x = 0; x < 5; ++x) {
      const uint8_t* p = rows.data() + r * 16 + x * 3;
      const uint32_t color = Numbered(x, y) & 0xFFFFFFu;
      EXPECT_EQ(p[0] | (p[1] << 8) | (p[2] << 16), color) << x << "," << y;
    }
    EXPECT_EQ(rows[static_cast<size_t>(r * 16 + 15)], 0) << "padding is zero";
  }
}

TEST(SoftGdiGetDIBits, PartOfTheLinesAndTopDownRequests) {
  SoftGdi gdi;
  Dib dib(gdi, 2, 4, 32);
  Number(dib);
  Hdc dc = gdi.CreateCompatibleDC(nullptr);
  std::vector<uint8_t> rows(8 * 4, 0);
  BitmapInfoHeader request = DibRequest(2, 4, 24);
  // Scan lines 1 and 2 counted from the bottom: picture rows 2 and 1.
  ASSERT_EQ(gdi.GetDIBits(dc, dib.bitmap, 1, 2, rows.data(), &request), 2);
  EXPECT_EQ(rows[0] | (rows[1] << 8) | (rows[2] << 16), Numbered(0, 2) & 0xFFFFFFu);
  EXPECT_EQ(rows[8] | (rows[9] << 8) | (rows[10] << 16), Numbered(0, 1) & 0xFFFFFFu);
  EXPECT_EQ(gdi.GetDIBits(dc, dib.bitmap, 3, 10, rows.data(), &request), 1);
  EXPECT_EQ(gdi.GetDIBits(dc, dib.bitmap, 4, 1, rows.data(), &request), 0);

  request.height = -4;
  ASSERT_EQ(gdi.GetDIBits(dc, dib.bitmap, 0, 4, rows.data(), &request), 4);
  EXPECT_EQ(rows[0] | (rows[1] << 8) | (rows[2] << 16), Numbered(0, 0) & 0xFFFFFFu);
}

TEST(SoftGdiGetDIBits, FromShallowerDepths) {
  SoftGdi gdi;
  Dib packed(gdi, 1, 2, 16);
  const uint16_t red = 31u << 10;
  std::memcpy(packed.At(0, 1), &red, 2);  // bottom row red, top row black
  Dib indexed(gdi, 1, 1, 8);
  *indexed.At(0, 0) = 200;
  Hdc dc = gdi.CreateCompatibleDC(nullptr);
  BitmapInfoHeader request = DibRequest(1, 2, 24);
  std::vector<uint8_t> rows(8, 0xCC);
  ASSERT_EQ(gdi.GetDIBits(dc, packed.bitmap, 0, 2, rows.data(), &request), 2);
  EXPECT_EQ(std::vector<uint8_t>(rows.begin(), rows.begin() + 4),
            (std::vector<uint8_t>{0, 0, 0xFF, 0}));
  EXPECT_EQ(std::vector<uint8_t>(rows.begin() + 4, rows.end()), (std::vector<uint8_t>{0, 0, 0, 0}));
  request.height = 1;
  rows.assign(4, 0xCC);
  ASSERT_EQ(gdi.GetDIBits(dc, indexed.bitmap, 0, 1, rows.data(), &request), 1);
  EXPECT_EQ(rows, (std::vector<uint8_t>{0, 0, 0, 0})) << "the palette is all black";
}

TEST(SoftGdiGetDIBits, RefusesWithoutDcOrBitmap) {
  SoftGdi gdi;
  Dib dib(gdi, 1, 1, 32);
  Hdc dc = gdi.CreateCompatibleDC(nullptr);
  BitmapInfoHeader request = DibRequest(1, 1, 24);
  std::vector<uint8_t> rows(4);
  EXPECT_EQ(gdi.GetDIBits(nullptr, dib.bitmap, 0, 1, rows.data(), &request), 0);
  EXPECT_EQ(gdi.GetDIBits(dc, gdi.CreateSolidBrush(0), 0, 1, rows.data(), &request), 0);
  request.bitCount = 8;
  EXPECT_EQ(gdi.GetDIBits(dc, dib.bitmap, 0, 1, rows.data(), &request), 0);
}

}  // namespace
}  // namespace drawing::platform::soft
