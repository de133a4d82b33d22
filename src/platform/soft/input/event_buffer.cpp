#include "platform/soft/input/event_buffer.h"

#include <algorithm>

namespace drawing::platform::soft {

void EventBuffer::SetCapacity(uint32_t records) {
  capacity_ = records;
  Clear();
}

void EventBuffer::Push(const DiDeviceObjectData& record) {
  if (capacity_ == 0) {
    return;
  }
  if (queue_.size() >= capacity_) {
    overflow_ = true;
    return;
  }
  queue_.push_back(record);
}

DiResult EventBuffer::Take(DiDeviceObjectData* records, uint32_t* count) {
  const std::size_t taken = std::min<std::size_t>(*count, queue_.size());
  if (records != nullptr) {
    std::copy_n(queue_.begin(), taken, records);
  }
  queue_.erase(queue_.begin(), queue_.begin() + static_cast<std::ptrdiff_t>(taken));
  *count = static_cast<uint32_t>(taken);
  const DiResult result = overflow_ ? DiResult::BufferOverflow : DiResult::Ok;
  overflow_ = false;
  return result;
}

void EventBuffer::Clear() {
  queue_.clear();
  overflow_ = false;
}

}  // namespace drawing::platform::soft
