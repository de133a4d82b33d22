// A buffered input device's queue of records between two reads: a fixed
// number of records; once full, newer records are dropped and the next read
// reports the loss (DI_BUFFEROVERFLOW) together with the records it kept.
#pragma once

#include <cstdint>
#include <deque>

#include "platform/direct_input.h"

namespace drawing::platform::soft {

class EventBuffer {
 public:
  // 0 means unbuffered: nothing is kept. Changing the size empties the queue.
  void SetCapacity(uint32_t records);
  uint32_t Capacity() const { return capacity_; }

  void Push(const DiDeviceObjectData& record);
  // Moves up to *count of the oldest records into `records` (null: discards
  // them) and sets *count to the number moved. BufferOverflow when records
  // were dropped since the previous take, Ok otherwise.
  DiResult Take(DiDeviceObjectData* records, uint32_t* count);
  void Clear();

  std::size_t Size() const { return queue_.size(); }
  bool Overflowed() const { return overflow_; }

 private:
  uint32_t capacity_ = 0;
  std::deque<DiDeviceObjectData> queue_;
  bool overflow_ = false;
};

}  // namespace drawing::platform::soft
