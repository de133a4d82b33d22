#include "draw/image_target.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "draw/drawing.h"
#include "fake_system.h"
#include "image/images.h"
#include "platform/soft/gdi/soft_gdi.h"
#include "runtime/main_heap.h"

namespace drawing::draw {
namespace {

class ImageTargetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    images.InitImages();
    drawing.InitDrawing();
  }

  platform::Bitmap Description(int32_t number) {
    platform::Bitmap bitmap;
    EXPECT_TRUE(gdi.GetObjectBitmap(images.ImageHandle(number), &bitmap));
    return bitmap;
  }
  // The image's own pixel memory, all rows.
  std::vector<uint8_t> Bytes(int32_t number) {
    const platform::Bitmap bitmap = Description(number);
    const auto* bits = static_cast<const uint8_t*>(bitmap.bmBits);
    return {bits, bits + static_cast<ptrdiff_t>(bitmap.bmWidthBytes) * bitmap.bmHeight};
  }
  // Pixel (x, y) of a 32-bit image as 0xAARRGGBB.
  uint32_t Pixel32(int32_t number, int32_t x, int32_t y) {
    const platform::Bitmap bitmap = Description(number);
    uint32_t value;
    std::memcpy(&value,
                static_cast<const uint8_t*>(bitmap.bmBits) +
                    static_cast<ptrdiff_t>(bitmap.bmHeight - 1 - y) * bitmap.bmWidthBytes + x * 4,
                4);
    return value;
  }
  DrawContext* Open(int32_t number) { return ImageTarget(drawing, images, gdi, number); }

  runtime::MainHeap heap;
  platform::soft::SoftGdi gdi;
  testing::FakeSystem system;
  image::Images images{heap, gdi};
  Drawing drawing{heap, system};
};

TEST_F(ImageTargetTest, MissingImageGivesNoTarget) {
  EXPECT_EQ(Open(3), nullptr);
  EXPECT_EQ(drawing.BeginDraw(Open(3)), 0);
  drawing.EndDraw();
  EXPECT_EQ(drawing.CurrentDrawContext(), nullptr);
  EXPECT_FALSE(drawing.DrawLine(0, 0, 5, 5, 0x96000000u));
}

TEST_F(ImageTargetTest, CanvasOpensOnItsOwnPixels) {
  ASSERT_NE(images.NewImage(0, 40, 30, 32), 0);
  const platform::Bitmap bitmap = Description(0);
  DrawContext* context = Open(0);
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(drawing.CurrentDrawContext(), context);
  EXPECT_EQ(context->width, 40);
  EXPECT_EQ(context->height, 30);
  EXPECT_EQ(context->depth, 32);
  EXPECT_EQ(context->frontColor, 0u);
  EXPECT_EQ(context->BufferAddress(), reinterpret_cast<intptr_t>(bitmap.bmBits));
  EXPECT_EQ(context->BufferPitch(), bitmap.bmWidthBytes);
  EXPECT_EQ(context->BufferFormat(), 64 + 0x8000);
  EXPECT_NE(drawing.BeginDraw(context), 0);
  drawing.EndDraw();
  EXPECT_EQ(drawing.CurrentDrawContext(), nullptr);
}

TEST_F(ImageTargetTest, BatchLimitIsOneWhileTheImageIsOpen) {
  ASSERT_NE(images.NewImage(0, 8, 8, 32), 0);
  gdi.GdiSetBatchLimit(12);
  drawing.BeginDraw(Open(0));
  EXPECT_EQ(gdi.GdiGetBatchLimit(), 1u);
  drawing.EndDraw();
  EXPECT_EQ(gdi.GdiGetBatchLimit(), 12u);
}

TEST_F(ImageTargetTest, EndDrawFreesEverythingTheTargetMade) {
  ASSERT_NE(images.NewImage(0, 8, 8, 32), 0);
  ASSERT_NE(images.NewImage(1, 8, 8, 16), 0);
  const int32_t objects = gdi.LiveObjectCount();
  const size_t blocks = heap.LiveBlockCount();
  for (int32_t number : {0, 1}) {
    drawing.BeginDraw(Open(number));
    EXPECT_GT(gdi.LiveObjectCount(), objects);
    drawing.EndDraw();
    EXPECT_EQ(gdi.LiveObjectCount(), objects) << number;
    EXPECT_EQ(heap.LiveBlockCount(), blocks) << number;
  }
}

TEST_F(ImageTargetTest, RefusedContextLeavesNothingBehind) {
  ASSERT_NE(images.NewImage(1, 8, 8, 16), 0);
  const int32_t objects = gdi.LiveObjectCount();
  heap.FailRequestsAbove(0);
  EXPECT_EQ(Open(1), nullptr);
  EXPECT_EQ(gdi.LiveObjectCount(), objects);
  EXPECT_EQ(drawing.CurrentDrawContext(), nullptr);
}

TEST_F(ImageTargetTest, BeginAndEndWithNothingDrawnChangeNoPixel) {
  ASSERT_NE(images.NewImage(0, 33, 17, 32), 0);
  const std::vector<uint8_t> before = Bytes(0);
  drawing.BeginDraw(Open(0));
  drawing.EndDraw();
  EXPECT_EQ(Bytes(0), before);
}

TEST_F(ImageTargetTest, StrokesReachTheCanvasAsTheyAreDrawn) {
  ASSERT_NE(images.NewImage(0, 20, 10, 32), 0);
  drawing.BeginDraw(Open(0));
  drawing.SetDrawMode(DrawModeAlphaBlend);
  drawing.DrawLine(2, 3, 6, 3, 255 + 150u * 16777216u);
  EXPECT_EQ(Pixel32(0, 2, 3), 0xFF960000u);
  EXPECT_EQ(Pixel32(0, 6, 3), 0xFF960000u);
  EXPECT_EQ(Pixel32(0, 7, 3), 0xFF000000u);
  drawing.EndDraw();
  EXPECT_EQ(Pixel32(0, 4, 3), 0xFF960000u);
}

TEST_F(ImageTargetTest, FirstLineInColourZeroDrawsWithoutPreparingAColour) {
  ASSERT_NE(images.NewImage(0, 10, 10, 32), 0);
  auto* bits = static_cast<uint8_t*>(Description(0).bmBits);
  std::memset(bits, 0xFF, 10 * 40);  // white, alpha 255
  auto* context = static_cast<RasterBackend*>(Open(0));
  drawing.BeginDraw(context);
  drawing.DrawLine(0, 1, 9, 1, 0);
  EXPECT_EQ(Pixel32(0, 5, 1), 0xFF000000u);
  EXPECT_EQ(Pixel32(0, 5, 2), 0xFFFFFFFFu);
  drawing.EndDraw();
}

TEST_F(ImageTargetTest, TwentyFourBitImageIsDrawnInPlace) {
  ASSERT_NE(images.NewImage(2, 5, 4, 24), 0);
  const platform::Bitmap bitmap = Description(2);
  DrawContext* context = Open(2);
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(context->depth, 24);
  EXPECT_EQ(context->BufferFormat(), 16 + 0x8000);
  EXPECT_EQ(context->BufferAddress(), reinterpret_cast<intptr_t>(bitmap.bmBits));
  drawing.BeginDraw(context);
  drawing.SetDrawMode(DrawModeAlphaBlend);
  drawing.DrawLine(0, 0, 0, 0, 200 + 150u * 16777216u);
  // Top row is the last in memory; red is the third byte.
  EXPECT_EQ(static_cast<const uint8_t*>(bitmap.bmBits)[3 * bitmap.bmWidthBytes + 2], 117);
  drawing.EndDraw();
}

TEST_F(ImageTargetTest, ShallowImageChangesOnlyWhenTheDrawingEnds) {
  ASSERT_NE(images.NewImage(1, 6, 4, 16), 0);
  const platform::Bitmap bitmap = Description(1);
  const std::vector<uint8_t> before = Bytes(1);
  DrawContext* context = Open(1);
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(context->depth, 24);
  EXPECT_EQ(context->BufferFormat(), 16 + 0x8000);
  EXPECT_NE(context->BufferAddress(), reinterpret_cast<intptr_t>(bitmap.bmBits));
  drawing.BeginDraw(context);
  drawing.DrawLine(0, 0, 5, 0, 0xFFFFFF);
  EXPECT_EQ(Bytes(1), before);
  drawing.EndDraw();
  const std::vector<uint8_t> after = Bytes(1);
  // The top row (last in memory) is white in 5-5-5, the other rows stay black.
  const auto* top = after.data() + 3 * bitmap.bmWidthBytes;
  for (int32_t x = 0; x < 6; ++x) {
    EXPECT_EQ(top[2 * x] | top[2 * x + 1] << 8, 0x7FFF) << x;
  }
  EXPECT_TRUE(std::equal(after.begin(), after.begin() + 3 * bitmap.bmWidthBytes, before.begin()));
}

TEST_F(ImageTargetTest, EightBitImageIsDrawnThroughAWorkingCopy) {
  ASSERT_NE(images.NewImage(4, 7, 3, 8), 0);
  const platform::Bitmap bitmap = Description(4);
  DrawContext* context = Open(4);
  ASSERT_NE(context, nullptr);
  EXPECT_EQ(context->depth, 24);
  EXPECT_EQ(context->BufferPitch(), 24);  // 7 * 3 bytes rounded up to 4
  EXPECT_NE(context->BufferAddress(), reinterpret_cast<intptr_t>(bitmap.bmBits));
  EXPECT_NE(drawing.BeginDraw(context), 0);
  drawing.EndDraw();
}

}  // namespace
}  // namespace drawing::draw
