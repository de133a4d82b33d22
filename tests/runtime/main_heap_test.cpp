#include "runtime/main_heap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace drawing::runtime {
namespace {

bool AllBytesAre(const void* block, std::size_t size, unsigned char value) {
  const auto* bytes = static_cast<const unsigned char*>(block);
  for (std::size_t k = 0; k < size; ++k) {
    if (bytes[k] != value) {
      return false;
    }
  }
  return true;
}

TEST(MainHeap, ZeroFillGivesZeroedBlock) {
  MainHeap heap;
  // Dirty some memory first so a recycled block would show garbage.
  void* dirty = heap.Allocate(256);
  std::memset(dirty, 0xAB, 256);
  heap.Free(dirty);

  void* block = heap.Allocate(256, true);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllBytesAre(block, 256, 0));
}

TEST(MainHeap, BlocksAreAlignedForAnyFundamentalType) {
  MainHeap heap;
  for (std::size_t size : {1u, 3u, 58u, 100u}) {
    void* block = heap.Allocate(size);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kBlockAlignment, 0u);
  }
}

TEST(MainHeap, SizeZeroRequestsYieldDistinctFreeableBlocks) {
  MainHeap heap;
  void* a = heap.Allocate(0);
  void* b = heap.Allocate(0, true);
  ASSERT_NE(a, nullptr);
  ASSERT_NE(b, nullptr);
  EXPECT_NE(a, b);
  EXPECT_EQ(heap.LiveBlockCount(), 2u);
  void* c = heap.Reallocate(a, 0, true);
  ASSERT_NE(c, nullptr);
  heap.Free(c);
  heap.Free(b);
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
}

TEST(MainHeap, ReallocateKeepsContentAndZeroesNewBytes) {
  MainHeap heap;
  auto* block = static_cast<unsigned char*>(heap.Allocate(16));
  std::memset(block, 0x5A, 16);
  auto* grown = static_cast<unsigned char*>(heap.Reallocate(block, 4096, true));
  ASSERT_NE(grown, nullptr);
  EXPECT_TRUE(AllBytesAre(grown, 16, 0x5A));
  EXPECT_TRUE(AllBytesAre(grown + 16, 4096 - 16, 0));
  EXPECT_EQ(MainHeap::BlockSize(grown), 4096u);
  EXPECT_EQ(heap.LiveBytes(), 4096u);

  auto* shrunk = static_cast<unsigned char*>(heap.Reallocate(grown, 8, true));
  ASSERT_NE(shrunk, nullptr);
  EXPECT_TRUE(AllBytesAre(shrunk, 8, 0x5A));
  EXPECT_EQ(heap.LiveBytes(), 8u);
}

// Grown and shrunk blocks that the C library moves must stay aligned and keep
// their bytes, with other blocks allocated in between to make it move them.
TEST(MainHeap, ResizedBlocksStayAlignedAndKeepTheirBytes) {
  MainHeap heap;
  std::vector<void*> spacers;
  void* block = heap.Allocate(1);
  ASSERT_NE(block, nullptr);
  static_cast<unsigned char*>(block)[0] = 1;
  std::size_t size = 1;
  for (std::size_t next : {7u, 24u, 3u, 100u, 1000u, 40u, 5000u, 17u, 70000u, 9u}) {
    spacers.push_back(heap.Allocate(next % 64 + 1));
    block = heap.Reallocate(block, next);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(reinterpret_cast<std::uintptr_t>(block) % kBlockAlignment, 0u) << next;
    auto* bytes = static_cast<unsigned char*>(block);
    for (std::size_t k = 0; k < std::min(size, next); ++k) {
      ASSERT_EQ(bytes[k], static_cast<unsigned char>(k * 7 + 1)) << "byte " << k << " at " << next;
    }
    for (std::size_t k = 0; k < next; ++k) {
      bytes[k] = static_cast<unsigned char>(k * 7 + 1);
    }
    size = next;
  }
  EXPECT_EQ(heap.LiveBlockCount(), spacers.size() + 1);
  EXPECT_EQ(MainHeap::BlockSize(block), 9u);
}

TEST(MainHeap, ReallocateOfNullAllocates) {
  MainHeap heap;
  void* block = heap.Reallocate(nullptr, 32, true);
  ASSERT_NE(block, nullptr);
  EXPECT_TRUE(AllBytesAre(block, 32, 0));
  EXPECT_EQ(heap.LiveBlockCount(), 1u);
}

TEST(MainHeap, ReallocateKeepsOtherBlocksLinked) {
  MainHeap heap;
  void* first = heap.Allocate(8);
  void* middle = heap.Allocate(8);
  void* last = heap.Allocate(8);
  // Moving the middle block must not break the list the heap walks at the end.
  middle = heap.Reallocate(middle, 1 << 20);
  ASSERT_NE(middle, nullptr);
  heap.Free(first);
  heap.Free(last);
  EXPECT_EQ(heap.LiveBlockCount(), 1u);
  EXPECT_EQ(heap.LiveBytes(), std::size_t{1} << 20);
  heap.Free(middle);
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
}

TEST(MainHeap, FreeOfNullIsIgnored) {
  MainHeap heap;
  heap.Free(nullptr);
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
}

TEST(MainHeap, DestroyReleasesEverythingAndHeapStaysUsable) {
  MainHeap heap;
  for (int k = 0; k < 100; ++k) {
    heap.Allocate(static_cast<std::size_t>(k) * 7, k % 2 == 0);
  }
  EXPECT_EQ(heap.LiveBlockCount(), 100u);
  heap.Destroy();
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
  EXPECT_EQ(heap.LiveBytes(), 0u);

  void* again = heap.Allocate(10, true);
  ASSERT_NE(again, nullptr);
  EXPECT_EQ(heap.LiveBlockCount(), 1u);
}

TEST(MainHeap, DestructorReleasesBlocksLeftBehind) {
  // The sanitizer build's leak check is what proves the release; this runs a
  // heap holding plain and moved blocks to its end.
  auto heap = std::make_unique<MainHeap>();
  for (int k = 0; k < 25; ++k) {
    heap->Allocate(32);
    void* moved = heap->Reallocate(heap->Allocate(4), 4096, true);
    ASSERT_NE(moved, nullptr);
  }
  EXPECT_EQ(heap->LiveBlockCount(), 50u);
  heap.reset();
}

TEST(MainHeap, FailurePredicateRefusesRequestsWithoutSideEffects) {
  MainHeap heap;
  void* kept = heap.Allocate(16);
  std::memset(kept, 7, 16);
  heap.FailRequestsAbove(64);

  EXPECT_EQ(heap.Allocate(65), nullptr);
  EXPECT_NE(heap.Allocate(64), nullptr);
  EXPECT_EQ(heap.Reallocate(kept, 1000, true), nullptr);
  // The refused reallocation left the old block alone.
  EXPECT_TRUE(AllBytesAre(kept, 16, 7));
  EXPECT_EQ(heap.LiveBlockCount(), 2u);

  std::size_t asked = 0;
  heap.SetFailurePredicate([&asked](std::size_t size) {
    asked = size;
    return true;
  });
  EXPECT_EQ(heap.Allocate(3), nullptr);
  EXPECT_EQ(asked, 3u);

  heap.ClearFailures();
  EXPECT_NE(heap.Allocate(1000), nullptr);
}

TEST(MainHeap, AbsurdSizesAreRefused) {
  MainHeap heap;
  EXPECT_EQ(heap.Allocate(static_cast<std::size_t>(-1)), nullptr);
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
}

}  // namespace
}  // namespace drawing::runtime
