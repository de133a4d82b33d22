// The bounded record queue behind a buffered device.
#include <gtest/gtest.h>

#include <array>

#include "platform/soft/input/event_buffer.h"

namespace drawing::platform::soft {
namespace {

DiDeviceObjectData Record(uint32_t offset, uint32_t data) {
  return {offset, data, 0, 0};
}

TEST(EventBuffer, ReadsRecordsOldestFirstAndEmptiesTheQueue) {
  EventBuffer buffer;
  buffer.SetCapacity(24);
  buffer.Push(Record(0, 3));
  buffer.Push(Record(4, static_cast<uint32_t>(-2)));
  std::array<DiDeviceObjectData, 24> records{};
  uint32_t count = 24;
  EXPECT_EQ(buffer.Take(records.data(), &count), DiResult::Ok);
  ASSERT_EQ(count, 2u);
  EXPECT_EQ(records[0].dwOfs, 0u);
  EXPECT_EQ(records[0].dwData, 3u);
  EXPECT_EQ(static_cast<int32_t>(records[1].dwData), -2);
  count = 24;
  EXPECT_EQ(buffer.Take(records.data(), &count), DiResult::Ok);
  EXPECT_EQ(count, 0u);
}

TEST(EventBuffer, AFullBufferKeepsItsOldestRecordsAndReportsTheLossOnce) {
  EventBuffer buffer;
  buffer.SetCapacity(24);
  for (uint32_t i = 0; i < 24; ++i) {
    buffer.Push(Record(0, i));
  }
  EXPECT_FALSE(buffer.Overflowed());
  buffer.Push(Record(0, 99));
  EXPECT_TRUE(buffer.Overflowed());

  std::array<DiDeviceObjectData, 24> records{};
  uint32_t count = 24;
  EXPECT_EQ(buffer.Take(records.data(), &count), DiResult::BufferOverflow);
  ASSERT_EQ(count, 24u);
  EXPECT_EQ(records[0].dwData, 0u);
  EXPECT_EQ(records[23].dwData, 23u);

  buffer.Push(Record(0, 7));
  count = 24;
  EXPECT_EQ(buffer.Take(records.data(), &count), DiResult::Ok);
  EXPECT_EQ(count, 1u);
}

TEST(EventBuffer, AShortReadLeavesTheRestQueued) {
  EventBuffer buffer;
  buffer.SetCapacity(4);
  for (uint32_t i = 0; i < 3; ++i) {
    buffer.Push(Record(12, i));
  }
  std::array<DiDeviceObjectData, 2> records{};
  uint32_t count = 2;
  EXPECT_EQ(buffer.Take(records.data(), &count), DiResult::Ok);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(buffer.Size(), 1u);
  count = 2;
  buffer.Take(records.data(), &count);
  EXPECT_EQ(records[0].dwData, 2u);
}

TEST(EventBuffer, AnUnbufferedDeviceKeepsNothing) {
  EventBuffer buffer;
  buffer.Push(Record(0, 1));
  EXPECT_EQ(buffer.Size(), 0u);
  EXPECT_FALSE(buffer.Overflowed());
}

TEST(EventBuffer, ANullArrayDiscardsTheRecords) {
  EventBuffer buffer;
  buffer.SetCapacity(8);
  buffer.Push(Record(0, 1));
  buffer.Push(Record(0, 2));
  uint32_t count = 8;
  EXPECT_EQ(buffer.Take(nullptr, &count), DiResult::Ok);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(buffer.Size(), 0u);
}

}  // namespace
}  // namespace drawing::platform::soft
