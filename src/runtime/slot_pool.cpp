#include "runtime/slot_pool.h"

#include <algorithm>
#include <limits>
#include <new>

namespace drawing::runtime {

SlotPool::SlotPool(MainHeap& heap, std::size_t slotSize, std::int32_t minChunk,
                   std::int32_t maxChunk)
    : heap_(&heap), slotSize_(slotSize), minChunk_(minChunk), maxChunk_(maxChunk) {}

std::int32_t SlotPool::ChunkCapacity(std::int32_t totalSlots, std::int32_t minChunk,
                                     std::int32_t maxChunk) {
  const std::int32_t capacity = (totalSlots >> 4) & ~std::int32_t{15};
  return std::min(std::max(capacity, minChunk), maxChunk);
}

SlotPool::Chunk* SlotPool::MakeChunk() {
  std::int32_t capacity = ChunkCapacity(totalSlots_, minChunk_, maxChunk_);
  void* memory = nullptr;
  if (slotSize_ <= (std::numeric_limits<std::size_t>::max() - sizeof(Chunk)) /
                       static_cast<std::size_t>(capacity)) {
    memory = heap_->Allocate(sizeof(Chunk) + static_cast<std::size_t>(capacity) * slotSize_);
  }
  if (memory == nullptr) {
    capacity = 1;
    memory = heap_->Allocate(sizeof(Chunk) + slotSize_);
    if (memory == nullptr) {
      return nullptr;
    }
  }
  auto* chunk = new (memory) Chunk{open_, capacity, 0};
  open_ = chunk;
  totalSlots_ += capacity;
  ++chunkCount_;
  lastChunkCapacity_ = capacity;
  return chunk;
}

void* SlotPool::Take() {
  Chunk* chunk = open_ != nullptr ? open_ : MakeChunk();
  if (chunk == nullptr) {
    return nullptr;
  }
  // Slots go out in address order.
  void* slot = reinterpret_cast<unsigned char*>(chunk + 1) +
               static_cast<std::size_t>(chunk->used) * slotSize_;
  if (++chunk->used == chunk->capacity) {
    open_ = chunk->next;
    chunk->next = full_;
    full_ = chunk;
  }
  return slot;
}

void SlotPool::FreeChain(MainHeap& heap, Chunk* chunk) {
  while (chunk != nullptr) {
    Chunk* next = chunk->next;
    heap.Free(chunk);
    chunk = next;
  }
}

void SlotPool::Clear() {
  FreeChain(*heap_, open_);
  FreeChain(*heap_, full_);
  open_ = nullptr;
  full_ = nullptr;
  totalSlots_ = 0;
  chunkCount_ = 0;
  lastChunkCapacity_ = 0;
}

}  // namespace drawing::runtime
