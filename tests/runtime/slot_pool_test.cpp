#include "runtime/slot_pool.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <vector>

namespace drawing::runtime {
namespace {

// Capacity of every chunk the pool makes while `takes` slots are taken.
std::vector<std::int32_t> ChunkCapacitiesFor(SlotPool& pool, int takes) {
  std::vector<std::int32_t> capacities;
  for (int k = 0; k < takes; ++k) {
    const std::int32_t before = pool.chunkCount();
    EXPECT_NE(pool.Take(), nullptr);
    if (pool.chunkCount() != before) {
      capacities.push_back(pool.lastChunkCapacity());
    }
  }
  return capacities;
}

TEST(SlotPool, ChunkCapacityFollowsTheSlotTotal) {
  EXPECT_EQ(SlotPool::ChunkCapacity(0, 16, 65536), 16);
  EXPECT_EQ(SlotPool::ChunkCapacity(511, 16, 65536), 16);
  EXPECT_EQ(SlotPool::ChunkCapacity(512, 16, 65536), 32);
  EXPECT_EQ(SlotPool::ChunkCapacity(767, 16, 65536), 32);
  EXPECT_EQ(SlotPool::ChunkCapacity(768, 16, 65536), 48);
  EXPECT_EQ(SlotPool::ChunkCapacity(1023, 16, 65536), 48);
  EXPECT_EQ(SlotPool::ChunkCapacity(1024, 16, 65536), 64);
  EXPECT_EQ(SlotPool::ChunkCapacity(1 << 20, 16, 65536), 65536);
  EXPECT_EQ(SlotPool::ChunkCapacity((1 << 20) + 4096, 16, 65536), 65536);
  EXPECT_EQ(SlotPool::ChunkCapacity(0x7FFFFFFF, 16, 65536), 65536);
}

TEST(SlotPool, GrowingPoolMakesChunksOfASixteenthOfTheTotal) {
  MainHeap heap;
  SlotPool pool(heap, 1, 16, 65536);
  const std::vector<std::int32_t> capacities = ChunkCapacitiesFor(pool, 1100);

  std::vector<std::int32_t> expected(32, 16);  // totals 0..511
  expected.insert(expected.end(), 8, 32);      // totals 512..767
  expected.insert(expected.end(), 6, 48);      // totals 768..1055
  expected.push_back(64);                      // total 1056
  EXPECT_EQ(capacities, expected);
  EXPECT_EQ(pool.totalSlots(), 1056 + 64);
}

TEST(SlotPool, ChunksNeverExceedTheMaximum) {
  MainHeap heap;
  SlotPool pool(heap, 1, 16, 65536);
  const std::vector<std::int32_t> capacities = ChunkCapacitiesFor(pool, (1 << 20) + 70000);
  ASSERT_FALSE(capacities.empty());
  EXPECT_EQ(capacities.back(), 65536);
  for (std::int32_t capacity : capacities) {
    EXPECT_LE(capacity, 65536);
  }
}

TEST(SlotPool, SlotsAreDistinctAndInAddressOrderWithinAChunk) {
  MainHeap heap;
  SlotPool pool(heap, 24, 16, 65536);
  std::vector<unsigned char*> slots;
  for (int k = 0; k < 16; ++k) {
    slots.push_back(static_cast<unsigned char*>(pool.Take()));
  }
  EXPECT_EQ(pool.chunkCount(), 1);
  for (std::size_t k = 1; k < slots.size(); ++k) {
    EXPECT_EQ(slots[k] - slots[k - 1], 24);
  }
  std::set<unsigned char*> unique(slots.begin(), slots.end());
  unique.insert(static_cast<unsigned char*>(pool.Take()));
  EXPECT_EQ(unique.size(), 17u);
  EXPECT_EQ(pool.chunkCount(), 2);
}

TEST(SlotPool, RefusedChunkFallsBackToOneSlot) {
  MainHeap heap;
  SlotPool pool(heap, 32, 16, 65536);
  heap.FailRequestsAbove(200);  // room for one slot, not for sixteen

  for (int k = 1; k <= 3; ++k) {
    ASSERT_NE(pool.Take(), nullptr);
    EXPECT_EQ(pool.chunkCount(), k);
    EXPECT_EQ(pool.lastChunkCapacity(), 1);
  }
  EXPECT_EQ(pool.totalSlots(), 3);

  heap.ClearFailures();
  ASSERT_NE(pool.Take(), nullptr);
  EXPECT_EQ(pool.lastChunkCapacity(), 16);
}

TEST(SlotPool, TakeFailsOnlyWhenEvenOneSlotIsRefused) {
  MainHeap heap;
  SlotPool pool(heap, 32, 16, 65536);
  heap.SetFailurePredicate([](std::size_t) { return true; });
  EXPECT_EQ(pool.Take(), nullptr);
  EXPECT_EQ(pool.chunkCount(), 0);
  EXPECT_EQ(pool.totalSlots(), 0);
}

TEST(SlotPool, ClearReturnsEveryChunkAndRestartsTheTotal) {
  MainHeap heap;
  SlotPool pool(heap, 8, 16, 65536);
  ChunkCapacitiesFor(pool, 600);
  EXPECT_GT(heap.LiveBlockCount(), 30u);
  pool.Clear();
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
  EXPECT_EQ(pool.totalSlots(), 0);
  EXPECT_EQ(pool.chunkCount(), 0);
  EXPECT_EQ(ChunkCapacitiesFor(pool, 1), std::vector<std::int32_t>{16});
}

}  // namespace
}  // namespace drawing::runtime
