#pragma once

#include <cstddef>
#include <cstdint>

#include "runtime/main_heap.h"

namespace drawing::runtime {

// Hands out fixed-size slots carved from chunks taken from the heap. A chunk is
// made only when no chunk has room, sized at about a sixteenth of all slots so
// far (see ChunkCapacity), so growth costs one heap request per chunk. Single
// slots are never given back; Clear returns every chunk at once.
//
// Trivially destructible: it lives inside heap memory and goes with the heap.
class SlotPool {
 public:
  SlotPool(MainHeap& heap, std::size_t slotSize, std::int32_t minChunk, std::int32_t maxChunk);

  // The next free slot (content undefined). When the heap refuses a chunk of
  // the computed capacity a chunk of one slot is tried instead; null only if
  // that is refused too.
  void* Take();

  // Returns all chunks to the heap; the slot total starts again at 0.
  void Clear();

  // Capacity of the chunk made when `totalSlots` slots exist: the total shifted
  // right by 4 with its low four bits cleared, kept within [minChunk, maxChunk].
  static std::int32_t ChunkCapacity(std::int32_t totalSlots, std::int32_t minChunk,
                                    std::int32_t maxChunk);

  std::size_t slotSize() const { return slotSize_; }
  std::int32_t totalSlots() const { return totalSlots_; }
  std::int32_t chunkCount() const { return chunkCount_; }
  // Capacity of the most recent chunk, 0 when there is none.
  std::int32_t lastChunkCapacity() const { return lastChunkCapacity_; }

 private:
  struct alignas(kBlockAlignment) Chunk {
    Chunk* next;
    std::int32_t capacity;
    std::int32_t used;
  };

  Chunk* MakeChunk();
  static void FreeChain(MainHeap& heap, Chunk* chunk);

  MainHeap* heap_;
  std::size_t slotSize_;
  std::int32_t minChunk_;
  std::int32_t maxChunk_;
  Chunk* open_ = nullptr;  // chunks that still have room
  Chunk* full_ = nullptr;
  std::int32_t totalSlots_ = 0;
  std::int32_t chunkCount_ = 0;
  std::int32_t lastChunkCapacity_ = 0;
};

}  // namespace drawing::runtime
