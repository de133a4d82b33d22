// Objects of the software GDI: DIB sections, DCs, selection and deletion.
#include <gtest/gtest.h>

#include "soft_gdi_fixture.h"

namespace drawing::platform::soft {
namespace {

using testing::DibRequest;

TEST(SoftGdiDibSection, RowsArePaddedToFourBytes) {
  SoftGdi gdi;
  struct Case {
    uint16_t bits;
    int32_t width;
    int32_t pitch;
  };
  for (const Case c :
       {Case{8, 5, 8}, Case{16, 3, 8}, Case{24, 5, 16}, Case{24, 4, 12}, Case{32, 5, 20}}) {
    void* bits = nullptr;
    Hbitmap bitmap = gdi.CreateDIBSection(nullptr, DibRequest(c.width, 3, c.bits), &bits);
    ASSERT_NE(bitmap, nullptr) << c.bits;
    Bitmap info;
    ASSERT_TRUE(gdi.GetObjectBitmap(bitmap, &info));
    EXPECT_EQ(info.bmWidth, c.width);
    EXPECT_EQ(info.bmHeight, 3);
    EXPECT_EQ(info.bmWidthBytes, c.pitch) << c.bits << " bits, width " << c.width;
    EXPECT_EQ(info.bmBitsPixel, c.bits);
    EXPECT_EQ(info.bmPlanes, 1);
    EXPECT_EQ(info.bmBits, bits);
    const auto* bytes = static_cast<const uint8_t*>(bits);
    for (int32_t i = 0; i < c.pitch * 3; ++i) {
      ASSERT_EQ(bytes[i], 0) << "new pixel memory is zero";
    }
    EXPECT_TRUE(gdi.DeleteObject(bitmap));
  }
}

TEST(SoftGdiDibSection, DescribesItselfAsDibSection) {
  SoftGdi gdi;
  void* bits = nullptr;
  Hbitmap bitmap = gdi.CreateDIBSection(nullptr, DibRequest(7, 2, 32), &bits);
  DibSection section;
  ASSERT_TRUE(gdi.GetObjectDibSection(bitmap, &section));
  EXPECT_EQ(section.dsBm.bmBits, bits);
  EXPECT_EQ(section.dsBm.bmWidthBytes, 28);
  EXPECT_EQ(section.dsBmih.width, 7);
  EXPECT_EQ(section.dsBmih.height, 2);
  EXPECT_EQ(section.dsBmih.bitCount, 32);
  EXPECT_EQ(section.dsBmih.sizeImage, 56u);
  EXPECT_EQ(gdi.GetObjectType(bitmap), ObjType::Bitmap);
}

TEST(SoftGdiDibSection, RefusesUnsupportedRequests) {
  SoftGdi gdi;
  void* bits = reinterpret_cast<void*>(1);
  EXPECT_EQ(gdi.CreateDIBSection(nullptr, DibRequest(4, 4, 4), &bits), nullptr);
  EXPECT_EQ(bits, nullptr);
  EXPECT_EQ(gdi.CreateDIBSection(nullptr, DibRequest(0, 4, 32), &bits), nullptr);
  EXPECT_EQ(gdi.CreateDIBSection(nullptr, DibRequest(4, 0, 32), &bits), nullptr);
  EXPECT_EQ(gdi.CreateDIBSection(nullptr, DibRequest(100000, 100000, 32), &bits), nullptr);
  EXPECT_EQ(gdi.LiveObjectCount(), 0);
}

TEST(SoftGdiObjects, TypesOfEveryKind) {
  SoftGdi gdi;
  Hdc memory = gdi.CreateCompatibleDC(nullptr);
  Hdc display = gdi.CreateDisplayDC();
  Hbrush brush = gdi.CreateSolidBrush(0x123456);
  Hpen pen = gdi.CreatePen(PenStyle::Solid, 0, 0);
  EXPECT_EQ(gdi.GetObjectType(brush), ObjType::Brush);
  EXPECT_EQ(gdi.GetObjectType(pen), ObjType::Pen);
  EXPECT_EQ(gdi.GetObjectType(gdi.GetStockObject(StockObject::SystemFont)), ObjType::Font);
  EXPECT_EQ(gdi.GetObjectType(reinterpret_cast<Hgdiobj>(memory)), ObjType::MemDc);
  EXPECT_EQ(gdi.GetObjectType(reinterpret_cast<Hgdiobj>(display)), ObjType::Dc);
  EXPECT_EQ(gdi.GetObjectType(nullptr), ObjType::None);
  Bitmap info;
  DibSection section;
  EXPECT_FALSE(gdi.GetObjectBitmap(brush, &info));
  EXPECT_FALSE(gdi.GetObjectDibSection(brush, &section));
}

TEST(SoftGdiMemoryDc, StartsWithOnePixelMonochromeBitmap) {
  SoftGdi gdi;
  Hdc dc = gdi.CreateCompatibleDC(nullptr);
  Hbitmap bitmap = gdi.CreateDIBSection(nullptr, DibRequest(2, 2, 32), nullptr);
  Hgdiobj initial = gdi.SelectObject(dc, bitmap);
  ASSERT_NE(initial, nullptr);
  Bitmap info;
  ASSERT_TRUE(gdi.GetObjectBitmap(initial, &info));
  EXPECT_EQ(info.bmWidth, 1);
  EXPECT_EQ(info.bmHeight, 1);
  EXPECT_EQ(info.bmBitsPixel, 1);
  EXPECT_EQ(info.bmBits, nullptr);
  DibSection section;
  EXPECT_FALSE(gdi.GetObjectDibSection(initial, &section)) << "not a DIB section";
  EXPECT_EQ(gdi.SelectObject(dc, initial), bitmap);
}

TEST(SoftGdiMemoryDc, BitmapSitsInOneDcAtATime) {
  SoftGdi gdi;
  Hdc first = gdi.CreateCompatibleDC(nullptr);
  Hdc second = gdi.CreateCompatibleDC(first);
  Hbitmap bitmap = gdi.CreateDIBSection(nullptr, DibRequest(2, 2, 24), nullptr);
  Hgdiobj initial = gdi.SelectObject(first, bitmap);
  EXPECT_EQ(gdi.SelectObject(second, bitmap), nullptr);
  EXPECT_FALSE(gdi.DeleteObject(bitmap)) << "selected bitmaps stay";
  EXPECT_EQ(gdi.GetObjectType(bitmap), ObjType::Bitmap);
  gdi.SelectObject(first, initial);
  EXPECT_NE(gdi.SelectObject(second, bitmap), nullptr);
  EXPECT_TRUE(gdi.DeleteDC(second));  // deselects
  EXPECT_TRUE(gdi.DeleteObject(bitmap));
  EXPECT_EQ(gdi.GetObjectType(bitmap), ObjType::None);
  EXPECT_FALSE(gdi.DeleteDC(second));
}

TEST(SoftGdiMemoryDc, BitmapsSelectOnlyIntoMemoryDcs) {
  SoftGdi gdi;
  testing::Surface surface(2, 2, Format::X8R8G8B8, 0);
  Hdc surfaceDc = gdi.CreateSurfaceDC(surface.Memory());
  Hdc display = gdi.CreateDisplayDC();
  Hbitmap bitmap = gdi.CreateDIBSection(display, DibRequest(2, 2, 32), nullptr);
  ASSERT_NE(bitmap, nullptr);
  EXPECT_EQ(gdi.SelectObject(surfaceDc, bitmap), nullptr);
  EXPECT_EQ(gdi.SelectObject(display, bitmap), nullptr);
}

TEST(SoftGdiSelect, ReturnsThePreviousObjectOfEachKind) {
  SoftGdi gdi;
  Hdc dc = gdi.CreateCompatibleDC(nullptr);
  Hbrush brush = gdi.CreateSolidBrush(0xFF);
  Hpen pen = gdi.CreatePen(PenStyle::Solid, 0, 0xFF);
  EXPECT_EQ(gdi.SelectObject(dc, brush), gdi.GetStockObject(StockObject::WhiteBrush));
  EXPECT_EQ(gdi.SelectObject(dc, pen), gdi.GetStockObject(StockObject::BlackPen));
  EXPECT_EQ(gdi.SelectObject(dc, gdi.GetStockObject(StockObject::NullBrush)), brush);
  EXPECT_EQ(gdi.SelectObject(dc, gdi.GetStockObject(StockObject::SystemFont)),
            gdi.GetStockObject(StockObject::SystemFont));
  EXPECT_EQ(gdi.SelectObject(nullptr, brush), nullptr);
  EXPECT_EQ(gdi.SelectObject(dc, nullptr), nullptr);
}

TEST(SoftGdiDelete, StockObjectsSurviveDeletion) {
  SoftGdi gdi;
  Hgdiobj black = gdi.GetStockObject(StockObject::BlackBrush);
  EXPECT_TRUE(gdi.DeleteObject(black));
  EXPECT_EQ(gdi.GetObjectType(black), ObjType::Brush);
  EXPECT_EQ(gdi.GetStockObject(StockObject::BlackBrush), black);
}

TEST(SoftGdiDelete, SelectedPenGoesWhenDeselected) {
  SoftGdi gdi;
  Hdc dc = gdi.CreateCompatibleDC(nullptr);
  Hpen pen = gdi.CreatePen(PenStyle::Solid, 0, 0x00FF00);
  Hgdiobj old = gdi.SelectObject(dc, pen);
  EXPECT_TRUE(gdi.DeleteObject(pen));
  EXPECT_EQ(gdi.GetObjectType(pen), ObjType::Pen) << "still selected";
  gdi.SelectObject(dc, old);
  EXPECT_EQ(gdi.GetObjectType(pen), ObjType::None);
  gdi.DeleteDC(dc);
  EXPECT_EQ(gdi.LiveObjectCount(), 0);
}

TEST(SoftGdiDelete, DeletingTheDcReleasesEverything) {
  SoftGdi gdi;
  Hdc dc = gdi.CreateCompatibleDC(nullptr);
  Hbrush brush = gdi.CreateSolidBrush(0x0000FF);
  gdi.SelectObject(dc, brush);
  gdi.DeleteObject(brush);
  EXPECT_FALSE(gdi.DeleteObject(reinterpret_cast<Hgdiobj>(dc))) << "DCs go through DeleteDC";
  EXPECT_TRUE(gdi.DeleteDC(dc));
  EXPECT_EQ(gdi.LiveObjectCount(), 0);
  EXPECT_FALSE(gdi.DeleteObject(brush));
}

TEST(SoftGdiState, SettersReturnThePreviousValue) {
  SoftGdi gdi;
  Hdc dc = gdi.CreateCompatibleDC(nullptr);
  EXPECT_EQ(gdi.SetROP2(dc, Rop2::Not), static_cast<int>(Rop2::CopyPen));
  EXPECT_EQ(gdi.SetROP2(dc, Rop2::CopyPen), static_cast<int>(Rop2::Not));
  EXPECT_EQ(gdi.SetBkMode(dc, BkMode::Transparent), static_cast<int>(BkMode::Opaque));
  EXPECT_EQ(gdi.SetBkColor(dc, 0x123456), 0xFFFFFFu);
  EXPECT_EQ(gdi.SetBkColor(dc, 0), 0x123456u);
  EXPECT_EQ(gdi.SetTextColor(dc, 0xABCDEF), 0u);
  EXPECT_EQ(gdi.SetTextColor(dc, 0), 0xABCDEFu);
  EXPECT_EQ(gdi.SetTextAlign(dc, TextAlign::UpdateCp), 0u);
  EXPECT_EQ(gdi.SetTextAlign(dc, TextAlign::NoUpdateCp), 1u);
  gdi.SetStretchBltMode(dc, StretchMode::Halftone);
  EXPECT_EQ(gdi.SetStretchBltMode(dc, StretchMode::ColorOnColor),
            static_cast<int>(StretchMode::Halftone));

  EXPECT_EQ(gdi.SetROP2(nullptr, Rop2::Not), 0);
  EXPECT_EQ(gdi.SetBkMode(nullptr, BkMode::Opaque), 0);
  EXPECT_EQ(gdi.SetBkColor(nullptr, 0), 0xFFFFFFFFu);
  EXPECT_EQ(gdi.SetTextColor(nullptr, 0), 0xFFFFFFFFu);
  EXPECT_EQ(gdi.SetTextAlign(nullptr, TextAlign::UpdateCp), 0xFFFFFFFFu);
}

TEST(SoftGdiState, BatchLimitKeepsItsValue) {
  SoftGdi gdi;
  const uint32_t initial = gdi.GdiGetBatchLimit();
  EXPECT_GT(initial, 1u);
  EXPECT_EQ(gdi.GdiSetBatchLimit(1), initial);
  EXPECT_EQ(gdi.GdiGetBatchLimit(), 1u);
  EXPECT_EQ(gdi.GdiSetBatchLimit(initial), 1u);
  EXPECT_EQ(gdi.GdiGetBatchLimit(), initial);
}

TEST(SoftGdiSurfaceDc, RefusesPaletteLayoutsAndEmptyMemory) {
  SoftGdi gdi;
  testing::Surface surface(4, 4, Format::X8R8G8B8, 0);
  SoftGdi::SurfaceMemory memory = surface.Memory();
  memory.rows.layout = PixelLayout::Index8;
  EXPECT_EQ(gdi.CreateSurfaceDC(memory), nullptr);
  memory = surface.Memory();
  memory.rows.first = nullptr;
  EXPECT_EQ(gdi.CreateSurfaceDC(memory), nullptr);
  memory = surface.Memory();
  memory.rows.step = 8;  // narrower than a row
  EXPECT_EQ(gdi.CreateSurfaceDC(memory), nullptr);
  Hdc dc = gdi.CreateSurfaceDC(surface.Memory());
  ASSERT_NE(dc, nullptr);
  EXPECT_TRUE(gdi.DeleteDC(dc));
  EXPECT_EQ(gdi.LiveObjectCount(), 0);
}

}  // namespace
}  // namespace drawing::platform::soft
