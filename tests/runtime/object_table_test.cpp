#include "runtime/object_table.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

namespace drawing::runtime {
namespace {

struct Record {
  std::uintptr_t handle;  // non-zero while in use
  std::uint32_t payload[3];
};

// Stands in for a kind's registry: its free callback destroys like
// DestroyImage does (find, then release) and logs every call.
struct Registry {
  ObjectTable* table = nullptr;
  std::vector<std::int32_t> freed;
  bool releaseOnFree = true;

  static void Free(void* context, std::int32_t number) {
    auto* self = static_cast<Registry*>(context);
    self->freed.push_back(number);
    if (self->releaseOnFree && ObjectFind(self->table, number) != nullptr) {
      ObjectRelease(self->table, number);
    }
  }
};

Record* Fill(void* record, std::uintptr_t handle) {
  auto* r = static_cast<Record*>(record);
  r->handle = handle;
  r->payload[0] = static_cast<std::uint32_t>(handle * 3);
  return r;
}

std::vector<std::int32_t> IterateAll(ObjectTable* table) {
  std::vector<std::int32_t> numbers;
  ObjectIterateReset(table);
  std::int32_t number = 0;
  while (ObjectIterateNext(table, &number) != nullptr) {
    numbers.push_back(number);
  }
  return numbers;
}

class ObjectTableTest : public ::testing::Test {
 protected:
  void SetUp() override {
    registry.table = ObjectTableNew(heap, sizeof(Record), 16, &Registry::Free, &registry);
    ASSERT_NE(registry.table, nullptr);
  }

  ObjectTable* table() { return registry.table; }

  // Objects 3 and 0, then auto-numbered P and Q in that order; returns P, Q.
  std::pair<std::int32_t, std::int32_t> FillZeroThreePQ() {
    Fill(ObjectAllocate(table(), 3), 30);
    Fill(ObjectAllocate(table(), 0), 10);
    std::int32_t p = 0;
    std::int32_t q = 0;
    Fill(ObjectAllocate(table(), AutoNumber, &p), 100);
    Fill(ObjectAllocate(table(), AutoNumber, &q), 200);
    return {p, q};
  }

  MainHeap heap;
  Registry registry;
};

TEST_F(ObjectTableTest, NewTableHoldsStepFreeRecords) {
  EXPECT_EQ(table()->capacity, 16);
  EXPECT_EQ(table()->recordSize, static_cast<std::int32_t>(sizeof(Record)));
  for (std::int32_t n = 0; n < 16; ++n) {
    EXPECT_EQ(ObjectFind(table(), n), nullptr) << n;
  }
  EXPECT_TRUE(IterateAll(table()).empty());
}

TEST_F(ObjectTableTest, InvalidShapesAreRefused) {
  EXPECT_EQ(ObjectTableNew(heap, sizeof(std::uintptr_t) - 1, 16), nullptr);
  EXPECT_EQ(ObjectTableNew(heap, 16, 0), nullptr);
  heap.FailRequestsAbove(sizeof(Record) * 8);
  EXPECT_EQ(ObjectTableNew(heap, sizeof(Record), 16), nullptr);
}

TEST_F(ObjectTableTest, AHandleIsInUseByAllItsBits) {
  // On 64-bit builds this handle's low 32 bits are zero.
  const std::uintptr_t high = std::uintptr_t{1} << (sizeof(std::uintptr_t) * 8 - 1);
  Fill(ObjectAllocate(table(), 5), high);
  ASSERT_NE(ObjectFind(table(), 5), nullptr);
  EXPECT_EQ(static_cast<Record*>(ObjectFind(table(), 5))->handle, high);
  EXPECT_EQ(IterateAll(table()), std::vector<std::int32_t>{5});
}

TEST_F(ObjectTableTest, GrowthIsByNumberPlusStepWithZeroRecords) {
  Fill(ObjectAllocate(table(), 3), 33);
  void* record = ObjectAllocate(table(), 40);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(table()->capacity, 56);
  for (std::int32_t n = 16; n < 56; ++n) {
    Record copy;
    std::memcpy(&copy, table()->records + n * sizeof(Record), sizeof copy);
    EXPECT_EQ(copy.handle, 0u) << n;
    EXPECT_EQ(copy.payload[0], 0u) << n;
  }
  // Records below the old capacity survive the move.
  auto* kept = static_cast<Record*>(ObjectFind(table(), 3));
  ASSERT_NE(kept, nullptr);
  EXPECT_EQ(kept->handle, 33u);
  EXPECT_EQ(kept->payload[0], 99u);
}

TEST_F(ObjectTableTest, FindOfUnfilledRecordAnswersNone) {
  void* record = ObjectAllocate(table(), 5);
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(ObjectFind(table(), 5), nullptr);
  EXPECT_EQ(ObjectFind(table(), 6), nullptr);
  Fill(record, 1);
  EXPECT_EQ(ObjectFind(table(), 5), record);
}

TEST_F(ObjectTableTest, ReusingANumberDestroysTheOldObjectFirst) {
  Fill(ObjectAllocate(table(), 2), 7);
  registry.freed.clear();

  auto* record = static_cast<Record*>(ObjectAllocate(table(), 2));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(registry.freed, std::vector<std::int32_t>{2});
  EXPECT_EQ(record->handle, 0u);
  EXPECT_EQ(record->payload[0], 0u);
  EXPECT_EQ(ObjectFind(table(), 2), nullptr);
}

TEST_F(ObjectTableTest, ReusedRecordIsClearedEvenIfTheCallbackKeepsIt) {
  registry.releaseOnFree = false;
  Fill(ObjectAllocate(table(), 4), 9);
  auto* record = static_cast<Record*>(ObjectAllocate(table(), 4));
  ASSERT_NE(record, nullptr);
  EXPECT_EQ(record->handle, 0u);
}

TEST_F(ObjectTableTest, AllocationOfAFreeNumberStillAsksTheCallback) {
  // The kind's callback decides whether there is anything to destroy.
  ObjectAllocate(table(), 1);
  EXPECT_EQ(registry.freed, std::vector<std::int32_t>{1});
}

TEST_F(ObjectTableTest, ReleaseFreesTheNumberWithoutCallback) {
  Fill(ObjectAllocate(table(), 0), 5);
  registry.freed.clear();
  ObjectRelease(table(), 0);
  EXPECT_EQ(ObjectFind(table(), 0), nullptr);
  EXPECT_TRUE(registry.freed.empty());
}

TEST_F(ObjectTableTest, IterationYieldsNumberedAscendingThenAutoOldestFirst) {
  const auto [p, q] = FillZeroThreePQ();
  EXPECT_EQ(IterateAll(table()), (std::vector<std::int32_t>{0, 3, p, q}));

  ObjectIterateReset(table());
  std::int32_t number = 0;
  std::vector<std::uintptr_t> handles;
  while (auto* record = static_cast<Record*>(ObjectIterateNext(table(), &number))) {
    handles.push_back(record->handle);
  }
  EXPECT_EQ(handles, (std::vector<std::uintptr_t>{10, 30, 100, 200}));
  EXPECT_EQ(ObjectIterateNext(table(), &number), nullptr);
}

TEST_F(ObjectTableTest, FreeAllDestroysEverythingInIterationOrder) {
  const auto [p, q] = FillZeroThreePQ();
  registry.freed.clear();
  const std::size_t blocksBefore = heap.LiveBlockCount();

  // The callback releases the object just reported; the walk must go on.
  ObjectFreeAll(table());
  EXPECT_EQ(registry.freed, (std::vector<std::int32_t>{0, 3, p, q}));
  EXPECT_TRUE(IterateAll(table()).empty());
  EXPECT_EQ(heap.LiveBlockCount(), blocksBefore - 2);
}

TEST(ObjectTable, FreeAllWithoutCallbackDoesNothing) {
  MainHeap heap;
  ObjectTable* table = ObjectTableNew(heap, sizeof(Record), 4);
  ASSERT_NE(table, nullptr);
  Fill(ObjectAllocate(table, 1), 11);
  Fill(ObjectAllocate(table, AutoNumber), 12);
  ObjectFreeAll(table);
  EXPECT_EQ(IterateAll(table).size(), 2u);
  EXPECT_NE(ObjectFind(table, 1), nullptr);
}

TEST_F(ObjectTableTest, AutoNumbersAreHighCheckedIdsNotAddresses) {
  std::int32_t p = 0;
  std::int32_t q = 0;
  auto* recordP = Fill(ObjectAllocate(table(), AutoNumber, &p), 1);
  Fill(ObjectAllocate(table(), AutoNumber, &q), 2);
  EXPECT_EQ(p, kFirstAutoNumber);
  EXPECT_EQ(q, kFirstAutoNumber + 1);
  EXPECT_EQ(ObjectFind(table(), p), recordP);
  // The auto records are not part of the numbered block.
  EXPECT_EQ(table()->capacity, 16);
  // An auto allocation never consults the callback.
  EXPECT_TRUE(registry.freed.empty());

  ObjectRelease(table(), p);
  EXPECT_EQ(ObjectFind(table(), p), nullptr);
  EXPECT_NE(ObjectFind(table(), q), nullptr);
  // A released id is not handed out again right away.
  std::int32_t r = 0;
  ObjectAllocate(table(), AutoNumber, &r);
  EXPECT_EQ(r, kFirstAutoNumber + 2);
}

TEST_F(ObjectTableTest, AutoNumbersSkipIdsStillInUseAfterWrapping) {
  std::int32_t first = 0;
  Fill(ObjectAllocate(table(), AutoNumber, &first), 1);
  std::int32_t last = 0;
  table()->nextAutoNumber = INT32_MAX;
  Fill(ObjectAllocate(table(), AutoNumber, &last), 2);
  EXPECT_EQ(last, INT32_MAX);
  std::int32_t wrapped = 0;
  Fill(ObjectAllocate(table(), AutoNumber, &wrapped), 3);
  EXPECT_EQ(first, kFirstAutoNumber);
  EXPECT_EQ(wrapped, kFirstAutoNumber + 1);
}

TEST_F(ObjectTableTest, UnknownNumbersAreAnsweredSafely) {
  Fill(ObjectAllocate(table(), 1), 1);
  std::int32_t p = 0;
  auto* recordP = Fill(ObjectAllocate(table(), AutoNumber, &p), 2);
  // The address of a record, or any number beyond the table, is no object.
  const auto asNumber = static_cast<std::int32_t>(reinterpret_cast<std::uintptr_t>(recordP));
  for (std::int32_t number :
       {16, 1000, asNumber, p + 1, kFirstAutoNumber - 1, INT32_MAX, -1, -2, INT32_MIN}) {
    EXPECT_EQ(ObjectFind(table(), number), nullptr) << number;
    ObjectRelease(table(), number);
  }
  EXPECT_NE(ObjectFind(table(), 1), nullptr);
  EXPECT_EQ(ObjectFind(table(), p), recordP);
  EXPECT_EQ(table()->capacity, 16);
}

TEST_F(ObjectTableTest, AllocateRefusesNumbersOutsideTheExplicitRange) {
  for (std::int32_t number : {-2, INT32_MIN, kFirstAutoNumber, kFirstAutoNumber + 5, INT32_MAX}) {
    EXPECT_EQ(ObjectAllocate(table(), number), nullptr) << number;
  }
  EXPECT_EQ(table()->capacity, 16);
  EXPECT_TRUE(registry.freed.empty());
}

TEST_F(ObjectTableTest, RefusedGrowthLeavesTheTableIntact) {
  Fill(ObjectAllocate(table(), 2), 22);
  heap.FailRequestsAbove(sizeof(Record) * 16);
  EXPECT_EQ(ObjectAllocate(table(), 100), nullptr);
  EXPECT_EQ(table()->capacity, 16);
  ASSERT_NE(ObjectFind(table(), 2), nullptr);
  EXPECT_EQ(static_cast<Record*>(ObjectFind(table(), 2))->handle, 22u);
}

TEST_F(ObjectTableTest, ReleasingTheNextAutoRecordDuringIterationIsSafe) {
  std::int32_t p = 0;
  std::int32_t q = 0;
  std::int32_t r = 0;
  Fill(ObjectAllocate(table(), AutoNumber, &p), 1);
  Fill(ObjectAllocate(table(), AutoNumber, &q), 2);
  Fill(ObjectAllocate(table(), AutoNumber, &r), 3);
  ObjectIterateReset(table());
  std::int32_t number = 0;
  ASSERT_NE(ObjectIterateNext(table(), &number), nullptr);
  EXPECT_EQ(number, p);
  ObjectRelease(table(), q);
  ASSERT_NE(ObjectIterateNext(table(), &number), nullptr);
  EXPECT_EQ(number, r);
  EXPECT_EQ(ObjectIterateNext(table(), &number), nullptr);
}

TEST(ObjectTable, TableFreeReturnsAllItsMemory) {
  MainHeap heap;
  ObjectTable* table = ObjectTableNew(heap, 16, 4);
  ASSERT_NE(table, nullptr);
  Fill(ObjectAllocate(table, 9), 1);
  Fill(ObjectAllocate(table, AutoNumber), 2);
  Fill(ObjectAllocate(table, AutoNumber), 3);
  ObjectTableFree(table);
  ObjectTableFree(nullptr);
  EXPECT_EQ(heap.LiveBlockCount(), 0u);
}

}  // namespace
}  // namespace drawing::runtime
