// The native GDI adapter against the software GDI: the same operations on
// DIB sections must leave the same bytes, since the program's pictures are
// defined by the software rules on every other platform.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "platform/soft/gdi/soft_gdi.h"
#include "platform/win32/win32_gdi.h"

namespace drawing::platform {
namespace {

BitmapInfoHeader Request(int32_t width, int32_t height, uint16_t bitCount) {
  BitmapInfoHeader header;
  header.width = width;
  header.height = height;
  header.bitCount = bitCount;
  return header;
}

// A DIB section in its own memory DC, pre-filled with a byte pattern so that
// every byte an operation leaves alone is visible too.
class Section {
 public:
  Section(Gdi& gdi, int32_t width, int32_t height, uint16_t bitCount) : gdi_(gdi) {
    bitmap_ = gdi.CreateDIBSection(nullptr, Request(width, height, bitCount), &bits_);
    Bitmap info;
    if (bitmap_ != nullptr && gdi.GetObjectBitmap(bitmap_, &info)) {
      size_ = static_cast<size_t>(info.bmWidthBytes) * static_cast<size_t>(height);
      auto* bytes = static_cast<uint8_t*>(bits_);
      for (size_t i = 0; i < size_; ++i) {
        bytes[i] = static_cast<uint8_t>(i * 37 + 11);
      }
    }
    dc_ = gdi.CreateCompatibleDC(nullptr);
    previous_ = gdi.SelectObject(dc_, bitmap_);
  }
  ~Section() {
    gdi_.SelectObject(dc_, previous_);
    gdi_.DeleteDC(dc_);
    gdi_.DeleteObject(bitmap_);
  }
  Section(const Section&) = delete;
  Section& operator=(const Section&) = delete;

  bool Valid() const { return bitmap_ != nullptr && dc_ != nullptr && size_ > 0; }
  Hdc Dc() const { return dc_; }
  Hbitmap Handle() const { return bitmap_; }
  std::vector<uint8_t> Bytes() const {
    const auto* bytes = static_cast<const uint8_t*>(bits_);
    return std::vector<uint8_t>(bytes, bytes + size_);
  }

 private:
  Gdi& gdi_;
  Hbitmap bitmap_ = nullptr;
  void* bits_ = nullptr;
  size_t size_ = 0;
  Hdc dc_ = nullptr;
  Hgdiobj previous_ = nullptr;
};

// Brush fills, an outlined rectangle with the stock black pen and single
// pixels on one section of the given depth; returns its bytes.
std::vector<uint8_t> DrawShapes(Gdi& gdi, uint16_t bitCount) {
  Section target(gdi, 13, 9, bitCount);
  EXPECT_TRUE(target.Valid());
  const Hbrush red = gdi.CreateSolidBrush(0x0000FF);
  EXPECT_NE(gdi.FillRect(target.Dc(), Rect{1, 2, 12, 8}, red), 0);
  gdi.FillRect(target.Dc(), Rect{-3, -3, 2, 2}, red);  // clipped at the corner
  const Hbrush green = gdi.CreateSolidBrush(0x3080C0);
  const Hgdiobj oldBrush = gdi.SelectObject(target.Dc(), green);
  const Hgdiobj oldPen = gdi.SelectObject(target.Dc(), gdi.GetStockObject(StockObject::BlackPen));
  EXPECT_TRUE(gdi.Rectangle(target.Dc(), 3, 1, 10, 6));
  gdi.SelectObject(target.Dc(), gdi.GetStockObject(StockObject::NullBrush));
  gdi.Rectangle(target.Dc(), 0, 6, 5, 9);
  gdi.SelectObject(target.Dc(), oldBrush);
  gdi.SelectObject(target.Dc(), oldPen);
  EXPECT_TRUE(gdi.SetPixelV(target.Dc(), 0, 0, 0x123456));
  EXPECT_TRUE(gdi.SetPixelV(target.Dc(), 12, 8, 0xFEDCBA));
  gdi.SetPixelV(target.Dc(), 13, 0, 0xFFFFFF);  // outside: nothing happens
  gdi.DeleteObject(red);
  gdi.DeleteObject(green);
  return target.Bytes();
}

// Copies between sections of the two depths, plainly and with NOT (src OR dst).
std::vector<uint8_t> Blits(Gdi& gdi, uint16_t sourceBits, uint16_t targetBits, Rop3 operation) {
  Section source(gdi, 11, 7, sourceBits);
  Section target(gdi, 9, 8, targetBits);
  EXPECT_TRUE(source.Valid());
  EXPECT_TRUE(target.Valid());
  EXPECT_TRUE(gdi.BitBlt(target.Dc(), 1, 2, 6, 4, source.Dc(), 3, 1, operation));
  gdi.BitBlt(target.Dc(), -2, 5, 5, 5, source.Dc(), 0, 0, operation);  // clipped
  return target.Bytes();
}

// GetDIBits of a 32-bit section as bottom-up 24-bit rows.
std::vector<uint8_t> Rows24(Gdi& gdi) {
  Section source(gdi, 5, 3, 32);
  EXPECT_TRUE(source.Valid());
  const int32_t stride = (5 * 3 + 3) / 4 * 4;
  std::vector<uint8_t> rows(static_cast<size_t>(stride * 3), 0xAA);
  BitmapInfoHeader request = Request(5, 3, 24);
  request.sizeImage = static_cast<uint32_t>(rows.size());
  const Hdc dc = gdi.CreateCompatibleDC(nullptr);
  EXPECT_EQ(gdi.GetDIBits(dc, source.Handle(), 0, 3, rows.data(), &request), 3);
  gdi.DeleteDC(dc);
  for (int32_t row = 0; row < 3; ++row) {  // the padding carries no picture
    for (int32_t i = 15; i < stride; ++i) {
      rows[static_cast<size_t>(row * stride + i)] = 0;
    }
  }
  return rows;
}

class Win32GdiTest : public ::testing::Test {
 protected:
  win32::Win32Gdi native;
  soft::SoftGdi software;
};

TEST_F(Win32GdiTest, ShapesOnA32BitSectionMatchTheSoftwareRules) {
  EXPECT_EQ(DrawShapes(native, 32), DrawShapes(software, 32));
}

TEST_F(Win32GdiTest, ShapesOnA24BitSectionMatchTheSoftwareRules) {
  EXPECT_EQ(DrawShapes(native, 24), DrawShapes(software, 24));
}

TEST_F(Win32GdiTest, CopiesBetweenDepthsMatchTheSoftwareRules) {
  for (const uint16_t from : {uint16_t{24}, uint16_t{32}}) {
    for (const uint16_t to : {uint16_t{24}, uint16_t{32}}) {
      SCOPED_TRACE(testing::Message() << from << " to " << to);
      EXPECT_EQ(Blits(native, from, to, Rop3::SrcCopy), Blits(software, from, to, Rop3::SrcCopy));
      EXPECT_EQ(Blits(native, from, to, Rop3::NotSrcErase),
                Blits(software, from, to, Rop3::NotSrcErase));
    }
  }
}

TEST_F(Win32GdiTest, TwentyFourBitRowsMatchTheSoftwareConversion) {
  EXPECT_EQ(Rows24(native), Rows24(software));
}

TEST_F(Win32GdiTest, DibSectionRecordDescribesTheBottomUpMemory) {
  void* bits = nullptr;
  const Hbitmap bitmap = native.CreateDIBSection(nullptr, Request(5, 3, 24), &bits);
  ASSERT_NE(bitmap, nullptr);
  DibSection section;
  ASSERT_TRUE(native.GetObjectDibSection(bitmap, &section));
  EXPECT_EQ(section.dsBm.bmWidth, 5);
  EXPECT_EQ(section.dsBm.bmHeight, 3);
  EXPECT_EQ(section.dsBm.bmWidthBytes, 16);
  EXPECT_EQ(section.dsBm.bmBitsPixel, 24);
  EXPECT_EQ(section.dsBm.bmBits, bits);
  EXPECT_EQ(section.dsBmih.height, 3);
  EXPECT_EQ(native.GetObjectType(bitmap), ObjType::Bitmap);
  EXPECT_TRUE(native.DeleteObject(bitmap));
}

TEST_F(Win32GdiTest, AStockBrushIsNoDibSection) {
  DibSection section;
  const Hgdiobj brush = native.GetStockObject(StockObject::BlackBrush);
  EXPECT_FALSE(native.GetObjectDibSection(brush, &section));
  EXPECT_EQ(native.GetObjectType(brush), ObjType::Brush);
  EXPECT_EQ(native.GetObjectType(native.GetStockObject(StockObject::BlackPen)), ObjType::Pen);
}

TEST_F(Win32GdiTest, ContextStateSettersAnswerThePreviousValue) {
  const Hdc dc = native.CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  EXPECT_EQ(native.GetObjectType(reinterpret_cast<Hgdiobj>(dc)), ObjType::MemDc);
  native.SetROP2(dc, Rop2::Not);
  EXPECT_EQ(native.SetROP2(dc, Rop2::CopyPen), static_cast<int>(Rop2::Not));
  native.SetBkMode(dc, BkMode::Transparent);
  EXPECT_EQ(native.SetBkMode(dc, BkMode::Opaque), static_cast<int>(BkMode::Transparent));
  native.SetTextColor(dc, 0x00ABCDEF);
  EXPECT_EQ(native.SetTextColor(dc, 0), 0x00ABCDEFu);
  native.SetBkColor(dc, 0x00010203);
  EXPECT_EQ(native.SetBkColor(dc, 0), 0x00010203u);
  EXPECT_TRUE(native.DeleteDC(dc));
}

TEST_F(Win32GdiTest, BatchLimitCanBeSetAndRestored) {
  const uint32_t original = native.GdiGetBatchLimit();
  EXPECT_EQ(native.GdiSetBatchLimit(1), original);
  EXPECT_EQ(native.GdiGetBatchLimit(), 1u);
  native.GdiSetBatchLimit(original);
}

}  // namespace
}  // namespace drawing::platform
