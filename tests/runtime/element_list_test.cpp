#include "runtime/element_list.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace drawing::runtime {
namespace {

class ElementListTest : public ::testing::Test {
 protected:
  void SetUp() override {
    list = ListNew(heap, sizeof(std::int32_t), &current);
    ASSERT_NE(list, nullptr);
  }

  std::int32_t* Add(std::int32_t value) {
    auto* data = static_cast<std::int32_t*>(ListAdd(list));
    *data = value;
    return data;
  }

  // Values from the cursor's next element to the end.
  std::vector<std::int32_t> Pass() {
    std::vector<std::int32_t> values;
    while (auto* data = static_cast<std::int32_t*>(ListNext(list))) {
      values.push_back(*data);
    }
    return values;
  }

  std::vector<std::int32_t> All() {
    ListRewind(list);
    return Pass();
  }

  MainHeap heap;
  void* current = reinterpret_cast<void*>(1);  // proves every cursor move writes it
  ElementList* list = nullptr;
};

TEST_F(ElementListTest, EmptyListHasNoCurrentElement) {
  EXPECT_EQ(ListCount(list), 0);
  EXPECT_EQ(ListNext(list), nullptr);
  EXPECT_EQ(current, nullptr);
  EXPECT_EQ(ListPosition(list), -1);
  EXPECT_EQ(ListNext(list), nullptr);
  EXPECT_EQ(ListPosition(list), -1);
}

TEST_F(ElementListTest, TwentyAddsAppendInOrder) {
  for (std::int32_t k = 0; k < 20; ++k) {
    Add(k);
    EXPECT_EQ(ListPosition(list), k);
  }
  EXPECT_EQ(ListCount(list), 20);

  ListRewind(list);
  EXPECT_EQ(current, nullptr);
  EXPECT_EQ(ListPosition(list), -1);
  for (std::int32_t k = 0; k < 20; ++k) {
    auto* data = static_cast<std::int32_t*>(ListNext(list));
    ASSERT_NE(data, nullptr);
    EXPECT_EQ(*data, k);
    EXPECT_EQ(current, data);
    EXPECT_EQ(ListPosition(list), k);
  }
  EXPECT_EQ(ListNext(list), nullptr);
}

TEST_F(ElementListTest, CursorStaysOnLastElementAtTheEnd) {
  Add(1);
  Add(2);
  std::int32_t* last = Add(3);
  EXPECT_EQ(All(), (std::vector<std::int32_t>{1, 2, 3}));
  EXPECT_EQ(ListNext(list), nullptr);
  EXPECT_EQ(current, last);
  EXPECT_EQ(ListPosition(list), ListCount(list) - 1);

  // So an addition after a full pass goes to the end.
  Add(4);
  EXPECT_EQ(ListPosition(list), 3);
  EXPECT_EQ(All(), (std::vector<std::int32_t>{1, 2, 3, 4}));
}

TEST_F(ElementListTest, AddAfterRewindGoesToTheFront) {
  Add(1);
  Add(2);
  ListRewind(list);
  std::int32_t* front = Add(0);
  EXPECT_EQ(ListPosition(list), 0);
  EXPECT_EQ(current, front);
  EXPECT_EQ(ListCount(list), 3);
  EXPECT_EQ(All(), (std::vector<std::int32_t>{0, 1, 2}));
}

TEST_F(ElementListTest, AddInTheMiddleGoesAfterTheCursor) {
  Add(1);
  Add(3);
  ListRewind(list);
  ListNext(list);
  Add(2);
  EXPECT_EQ(ListPosition(list), 1);
  // The cursor is on the new element, so the pass continues behind it.
  EXPECT_EQ(Pass(), std::vector<std::int32_t>{3});
  EXPECT_EQ(All(), (std::vector<std::int32_t>{1, 2, 3}));
}

TEST_F(ElementListTest, PositionIsRecomputedAfterRewindThenKeptUpToDate) {
  for (std::int32_t k = 0; k < 5; ++k) {
    Add(k);
  }
  ListRewind(list);
  ListNext(list);
  EXPECT_EQ(list->indexStale, 1);
  EXPECT_EQ(ListPosition(list), 0);
  EXPECT_EQ(list->indexStale, 0);
  ListNext(list);
  ListNext(list);
  EXPECT_EQ(list->indexStale, 0);
  EXPECT_EQ(ListPosition(list), 2);

  // Rewinding in the middle and adding at the front keeps counting right.
  ListRewind(list);
  Add(-1);
  EXPECT_EQ(ListPosition(list), 0);
  ListNext(list);
  EXPECT_EQ(ListPosition(list), 1);
}

TEST_F(ElementListTest, NewElementsAreZeroFilled) {
  ElementList* wide = ListNew(heap, 200, nullptr);
  ASSERT_NE(wide, nullptr);
  std::memset(ListAdd(wide), 0xCD, 200);
  ListClear(wide);
  // Recycled heap memory must not show through.
  for (int k = 0; k < 40; ++k) {
    auto* data = static_cast<unsigned char*>(ListAdd(wide));
    for (int b = 0; b < 200; ++b) {
      ASSERT_EQ(data[b], 0) << k << " " << b;
    }
    std::memset(data, 0xCD, 200);
  }
}

TEST_F(ElementListTest, ClearEmptiesTheListAndReturnsItsNodes) {
  const std::size_t blocksOfEmptyList = heap.LiveBlockCount();
  for (std::int32_t k = 0; k < 100; ++k) {
    Add(k);
  }
  ListClear(list);
  EXPECT_EQ(current, nullptr);
  EXPECT_EQ(ListCount(list), 0);
  EXPECT_EQ(ListPosition(list), -1);
  EXPECT_EQ(ListNext(list), nullptr);
  EXPECT_EQ(heap.LiveBlockCount(), blocksOfEmptyList);
  EXPECT_EQ(list->pool.totalSlots(), 0);

  Add(7);
  EXPECT_EQ(All(), std::vector<std::int32_t>{7});
}

TEST_F(ElementListTest, FreeReturnsEverythingAndIgnoresNull) {
  Add(1);
  ListFree(list);
  list = nullptr;
  ListFree(nullptr);
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
}

TEST_F(ElementListTest, OperationsOnNoListAnswerNone) {
  EXPECT_EQ(ListAdd(nullptr), nullptr);
  EXPECT_EQ(ListNext(nullptr), nullptr);
  EXPECT_EQ(ListPosition(nullptr), -1);
  EXPECT_EQ(ListCount(nullptr), 0);
  ListRewind(nullptr);
  ListClear(nullptr);
}

TEST_F(ElementListTest, RefusedChunkFallsBackToOneSlotNodes) {
  Add(0);
  for (std::int32_t k = 1; k < 16; ++k) {
    Add(k);
  }
  // The next node needs a new chunk; only a one-node chunk fits.
  heap.FailRequestsAbove(static_cast<std::size_t>(list->nodeSize) * 2 + 64);
  Add(16);
  EXPECT_EQ(list->pool.lastChunkCapacity(), 1);
  Add(17);
  EXPECT_EQ(list->pool.lastChunkCapacity(), 1);
  EXPECT_EQ(ListCount(list), 18);

  // Nothing at all: the add fails and the list is unchanged.
  heap.SetFailurePredicate([](std::size_t) { return true; });
  EXPECT_EQ(ListAdd(list), nullptr);
  EXPECT_EQ(ListCount(list), 18);

  heap.ClearFailures();
  Add(18);
  std::vector<std::int32_t> expected;
  for (std::int32_t k = 0; k <= 18; ++k) {
    expected.push_back(k);
  }
  EXPECT_EQ(All(), expected);
}

TEST(ElementList, PackedOddSizedElementsKeepTheirBytes) {
  MainHeap heap;
  void* current = nullptr;
  constexpr std::int32_t kSize = 58;
  ElementList* list = ListNew(heap, kSize, &current);
  ASSERT_NE(list, nullptr);
  for (int k = 0; k < 50; ++k) {
    auto* data = static_cast<unsigned char*>(ListAdd(list));
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(data) % kBlockAlignment, 0u);
    for (int b = 0; b < kSize; ++b) {
      data[b] = static_cast<unsigned char>(k * 7 + b);
    }
    // An unaligned 64-bit field in the middle of the record.
    const double value = k + 0.5;
    std::memcpy(data + 13, &value, sizeof value);
  }
  ListRewind(list);
  int k = 0;
  while (auto* data = static_cast<unsigned char*>(ListNext(list))) {
    EXPECT_EQ(data[0], static_cast<unsigned char>(k * 7));
    EXPECT_EQ(data[kSize - 1], static_cast<unsigned char>(k * 7 + kSize - 1));
    double value = 0;
    std::memcpy(&value, data + 13, sizeof value);
    EXPECT_EQ(value, k + 0.5);
    ++k;
  }
  EXPECT_EQ(k, 50);
}

TEST(ElementList, InvalidElementSizesAreRefused) {
  MainHeap heap;
  EXPECT_EQ(ListNew(heap, -1, nullptr), nullptr);
  EXPECT_EQ(ListNew(heap, INT32_MAX, nullptr), nullptr);
  ElementList* empty = ListNew(heap, 0, nullptr);
  ASSERT_NE(empty, nullptr);
  EXPECT_NE(ListAdd(empty), nullptr);
  EXPECT_EQ(ListCount(empty), 1);
}

}  // namespace
}  // namespace drawing::runtime
