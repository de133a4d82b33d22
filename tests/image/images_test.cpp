// Image objects: creation, initial contents, numbering and destruction.
#include <gtest/gtest.h>

#include <cstring>

#include "image_test_support.h"
#include "runtime/object_table.h"

namespace drawing::image {
namespace {

using testing::ImageWorld;

TEST_F(ImageWorld, CanvasStartsOpaqueBlack) {
  const intptr_t handle = images.NewImage(0, 5, 3, 32);
  ASSERT_NE(handle, 0);
  EXPECT_EQ(reinterpret_cast<platform::Hbitmap>(handle), images.ImageHandle(0));
  const ImageRecord* record = images.FindImage(0);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->width, 5);
  EXPECT_EQ(record->height, 3);
  EXPECT_EQ(record->depth, 32);
  for (int32_t y = 0; y < 3; ++y) {
    for (int32_t x = 0; x < 5; ++x) {
      uint32_t value = 0;
      std::memcpy(&value, Pixel(0, x, y), 4);
      EXPECT_EQ(value, 0xFF000000u) << x << "," << y;
    }
  }
}

TEST_F(ImageWorld, ImagesAreBottomUpDibSections) {
  images.NewImage(0, 3, 2, 24);
  platform::DibSection section;
  ASSERT_TRUE(gdi.GetObjectDibSection(images.ImageHandle(0), &section));
  EXPECT_GT(section.dsBmih.height, 0) << "positive height: bottom-up";
  EXPECT_EQ(section.dsBm.bmWidthBytes, 12);
}

TEST_F(ImageWorld, ShallowImagesAreFilledBlack) {
  for (const int32_t depth : {8, 16, 24}) {
    ASSERT_NE(images.NewImage(1, 3, 2, depth), 0) << depth;
    EXPECT_EQ(images.FindImage(1)->depth, depth);
    platform::Bitmap info;
    gdi.GetObjectBitmap(images.ImageHandle(1), &info);
    const auto* bytes = static_cast<const uint8_t*>(info.bmBits);
    for (int32_t i = 0; i < info.bmWidthBytes * 2; ++i) {
      EXPECT_EQ(bytes[i], 0) << depth << " bits, byte " << i;
    }
  }
  EXPECT_EQ(gdi.LiveObjectCount(), 1) << "only the last image's bitmap; no DC left over";
}

TEST_F(ImageWorld, SecondImageUnderANumberReplacesTheFirst) {
  const auto first = reinterpret_cast<platform::Hbitmap>(images.NewImage(0, 4, 4, 32));
  const auto second = reinterpret_cast<platform::Hbitmap>(images.NewImage(0, 2, 6, 32));
  ASSERT_NE(second, nullptr);
  EXPECT_EQ(gdi.GetObjectType(first), platform::ObjType::None) << "old bitmap deleted";
  EXPECT_EQ(images.ImageHandle(0), second);
  EXPECT_EQ(images.FindImage(0)->width, 2);
  EXPECT_EQ(images.FindImage(0)->height, 6);
  EXPECT_EQ(gdi.LiveObjectCount(), 1);
}

TEST_F(ImageWorld, AutoNumberIsNotSmallAndFindsItsImage) {
  const intptr_t number = images.NewImage(runtime::AutoNumber, 2, 2, 32);
  ASSERT_GE(number, 0x10000);
  const platform::Hbitmap handle = images.ImageHandle(static_cast<int32_t>(number));
  ASSERT_NE(handle, nullptr);
  EXPECT_EQ(gdi.GetObjectType(handle), platform::ObjType::Bitmap);
  const intptr_t another = images.NewImage(runtime::AutoNumber, 2, 2, 32);
  EXPECT_NE(another, number);
  EXPECT_NE(images.ImageHandle(static_cast<int32_t>(another)), handle);
}

TEST_F(ImageWorld, DestroyMinusOneDoesNothing) {
  const intptr_t number = images.NewImage(runtime::AutoNumber, 2, 2, 32);
  images.NewImage(0, 2, 2, 32);
  images.DestroyImage(runtime::AutoNumber);
  EXPECT_NE(images.ImageHandle(static_cast<int32_t>(number)), nullptr);
  EXPECT_NE(images.ImageHandle(0), nullptr);
  EXPECT_EQ(gdi.LiveObjectCount(), 2);
}

TEST_F(ImageWorld, UnusedNumbersAnswerNothing) {
  EXPECT_EQ(images.ImageHandle(0), nullptr);
  EXPECT_EQ(images.ImageHandle(7), nullptr);
  EXPECT_EQ(images.ImageHandle(1000), nullptr);
  EXPECT_EQ(images.ImageHandle(-5), nullptr);
  EXPECT_EQ(images.FindImage(3), nullptr);
  images.DestroyImage(3);  // nothing to destroy
}

TEST_F(ImageWorld, DestroyImageDeletesItsBitmap) {
  const auto handle = reinterpret_cast<platform::Hbitmap>(images.NewImage(2, 2, 2, 32));
  images.DestroyImage(2);
  EXPECT_EQ(images.ImageHandle(2), nullptr);
  EXPECT_EQ(gdi.GetObjectType(handle), platform::ObjType::None);
}

TEST_F(ImageWorld, DestroyAllImagesLeavesNone) {
  images.NewImage(0, 2, 2, 32);
  images.NewImage(20, 2, 2, 24);  // beyond the first growth step
  const auto number = static_cast<int32_t>(images.NewImage(runtime::AutoNumber, 2, 2, 8));
  const size_t heapBlocks = heap.LiveBlockCount();
  images.DestroyAllImages();
  EXPECT_EQ(images.ImageHandle(0), nullptr);
  EXPECT_EQ(images.ImageHandle(20), nullptr);
  EXPECT_EQ(images.ImageHandle(number), nullptr);
  EXPECT_EQ(gdi.LiveObjectCount(), 0);
  EXPECT_LT(heap.LiveBlockCount(), heapBlocks) << "the auto-numbered record went back";
}

TEST_F(ImageWorld, FailedCreationLeavesTheNumberEmpty) {
  images.NewImage(0, 2, 2, 32);
  const size_t heapBlocks = heap.LiveBlockCount();
  EXPECT_EQ(images.NewImage(0, 0, 2, 32), 0);
  EXPECT_EQ(images.ImageHandle(0), nullptr) << "the old image is gone too";
  EXPECT_EQ(images.NewImage(runtime::AutoNumber, 2, 2, 4), 0) << "4 bits are not offered";
  EXPECT_EQ(heap.LiveBlockCount(), heapBlocks) << "no empty record lingers";
  EXPECT_EQ(gdi.LiveObjectCount(), 0);
}

// A GDI whose contexts can be refused.
class RefusingGdi : public platform::soft::SoftGdi {
 public:
  platform::Hdc CreateDisplayDC() override {
    return refuseDisplay ? nullptr : SoftGdi::CreateDisplayDC();
  }
  platform::Hdc CreateCompatibleDC(platform::Hdc dc) override {
    return refuseMemory ? nullptr : SoftGdi::CreateCompatibleDC(dc);
  }
  bool refuseDisplay = false;
  bool refuseMemory = false;
};

TEST(ImagesWithoutContexts, NoDisplayMeansNoImage) {
  runtime::MainHeap heap;
  RefusingGdi gdi;
  Images images(heap, gdi);
  images.InitImages();
  gdi.refuseDisplay = true;
  EXPECT_EQ(images.NewImage(0, 2, 2, 32), 0);
  EXPECT_EQ(images.ImageHandle(0), nullptr);
  EXPECT_EQ(images.CreateImageBitmap(2, 2, 32), nullptr);
}

TEST(ImagesWithoutContexts, NoMemoryDcStillMakesTheImage) {
  runtime::MainHeap heap;
  RefusingGdi gdi;
  Images images(heap, gdi);
  images.InitImages();
  gdi.refuseMemory = true;
  EXPECT_NE(images.NewImage(0, 2, 2, 24), 0);
  EXPECT_NE(images.ImageHandle(0), nullptr);
}

TEST(ImagesWithoutTable, EverythingAnswersNothing) {
  runtime::MainHeap heap;
  platform::soft::SoftGdi gdi;
  Images images(heap, gdi);
  EXPECT_EQ(images.NewImage(0, 2, 2, 32), 0);
  EXPECT_EQ(images.ImageHandle(0), nullptr);
  images.DestroyAllImages();
  heap.FailRequestsAbove(0);
  images.InitImages();
  EXPECT_EQ(images.NewImage(0, 2, 2, 32), 0);
}

}  // namespace
}  // namespace drawing::image
