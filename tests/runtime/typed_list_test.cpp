#include "runtime/typed_list.h"

#include <gtest/gtest.h>

#include <cstdint>

namespace drawing::runtime {
namespace {

struct Mode {
  std::int16_t width;
  std::int16_t height;
  std::int16_t depth;
  std::int16_t refreshRate;
};

TEST(TypedList, BehavesLikeTheByteList) {
  MainHeap heap;
  TypedList<Mode> modes(heap);
  ASSERT_TRUE(modes);
  EXPECT_EQ(modes.Next(), nullptr);
  EXPECT_EQ(modes.Current(), nullptr);
  EXPECT_EQ(modes.Position(), -1);

  for (std::int16_t k = 1; k <= 3; ++k) {
    Mode* mode = modes.Add();
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->width, 0);
    mode->width = static_cast<std::int16_t>(k * 100);
    EXPECT_EQ(modes.Current(), mode);
  }
  EXPECT_EQ(modes.Count(), 3);

  modes.Rewind();
  EXPECT_EQ(modes.Current(), nullptr);
  modes.Add()->width = 50;  // goes to the front

  modes.Rewind();
  std::int16_t expected[] = {50, 100, 200, 300};
  for (std::int32_t k = 0; k < 4; ++k) {
    Mode* mode = modes.Next();
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->width, expected[k]);
    EXPECT_EQ(modes.Current(), mode);
    EXPECT_EQ(modes.Position(), k);
  }
  EXPECT_EQ(modes.Next(), nullptr);
  EXPECT_EQ(modes.Current()->width, 300);

  modes.Clear();
  EXPECT_EQ(modes.Count(), 0);
  EXPECT_EQ(modes.Current(), nullptr);
}

TEST(TypedList, FreeGivesTheMemoryBack) {
  MainHeap heap;
  TypedList<double> values(heap);
  *values.Add() = 1.5;
  values.Free();
  EXPECT_FALSE(values);
  EXPECT_EQ(values.Add(), nullptr);
  EXPECT_EQ(values.Count(), 0);
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
}

TEST(TypedList, RefusedHeaderLeavesAnInertList) {
  MainHeap heap;
  heap.SetFailurePredicate([](std::size_t) { return true; });
  TypedList<Mode> modes(heap);
  EXPECT_FALSE(modes);
  EXPECT_EQ(modes.Add(), nullptr);
  EXPECT_EQ(modes.Next(), nullptr);
  EXPECT_EQ(modes.Position(), -1);
}

TEST(ListView, SeesTheListItIsGivenWithItsOwnCursor) {
  MainHeap heap;
  TypedList<Mode> owner(heap);
  ASSERT_TRUE(owner);
  const ListView<Mode> view(owner.list());
  view.Add()->width = 7;
  EXPECT_EQ(owner.Current()->width, 7);
  view.Rewind();
  Mode* first = view.Next();
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->width, 7);
  EXPECT_EQ(view.Next(), nullptr);
  EXPECT_EQ(view.Count(), 1);
}

}  // namespace
}  // namespace drawing::runtime
