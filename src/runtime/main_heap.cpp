#include "runtime/main_heap.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>

namespace drawing::runtime {

MainHeap::~MainHeap() {
  Destroy();
}

bool MainHeap::Refuses(std::size_t size) const {
  if (size > std::numeric_limits<std::size_t>::max() - sizeof(BlockHeader) - kSlack) {
    return true;
  }
  return failurePredicate_ && failurePredicate_(size);
}

void MainHeap::Link(BlockHeader* header) {
  header->previous = nullptr;
  header->next = blocks_;
  if (blocks_ != nullptr) {
    blocks_->previous = header;
  }
  blocks_ = header;
  ++liveBlocks_;
  liveBytes_ += header->size;
}

void MainHeap::Unlink(BlockHeader* header) {
  if (header->previous != nullptr) {
    header->previous->next = header->next;
  } else {
    blocks_ = header->next;
  }
  if (header->next != nullptr) {
    header->next->previous = header->previous;
  }
  --liveBlocks_;
  liveBytes_ -= header->size;
}

MainHeap::BlockHeader* MainHeap::HeaderOf(void* block) {
  return reinterpret_cast<BlockHeader*>(static_cast<unsigned char*>(block) - sizeof(BlockHeader));
}

std::size_t MainHeap::PaddingAt(const void* raw) {
  const auto start = reinterpret_cast<std::uintptr_t>(raw);
  return static_cast<std::size_t>(((start + kSlack) & ~static_cast<std::uintptr_t>(kSlack)) -
                                  start);
}

void MainHeap::ReleaseRaw(BlockHeader* header) {
  std::free(reinterpret_cast<unsigned char*>(header) - header->padding);
}

std::size_t MainHeap::BlockSize(const void* block) {
  return HeaderOf(const_cast<void*>(block))->size;
}

void* MainHeap::Allocate(std::size_t size, bool zeroFill) {
  if (Refuses(size)) {
    return nullptr;
  }
  const std::size_t total = sizeof(BlockHeader) + size + kSlack;
  void* raw = zeroFill ? std::calloc(1, total) : std::malloc(total);
  if (raw == nullptr) {
    return nullptr;
  }
  const std::size_t padding = PaddingAt(raw);
  auto* header = reinterpret_cast<BlockHeader*>(static_cast<unsigned char*>(raw) + padding);
  header->padding = padding;
  header->size = size;
  Link(header);
  return header + 1;
}

void* MainHeap::Reallocate(void* block, std::size_t size, bool zeroFill) {
  if (block == nullptr) {
    return Allocate(size, zeroFill);
  }
  if (Refuses(size)) {
    return nullptr;
  }
  BlockHeader* header = HeaderOf(block);
  const std::size_t oldSize = header->size;
  // Take the block off the list first: realloc may move it, and the
  // neighbours' links must then point at the new place.
  Unlink(header);
  const std::size_t oldPadding = header->padding;
  void* raw = std::realloc(reinterpret_cast<unsigned char*>(header) - oldPadding,
                           sizeof(BlockHeader) + size + kSlack);
  if (raw == nullptr) {
    Link(header);
    return nullptr;
  }
  // The C library keeps the bytes, not our alignment: at a new address the
  // header and data may have to move to the new aligned place.
  const std::size_t padding = PaddingAt(raw);
  header = reinterpret_cast<BlockHeader*>(static_cast<unsigned char*>(raw) + padding);
  if (padding != oldPadding) {
    std::memmove(header, static_cast<unsigned char*>(raw) + oldPadding,
                 sizeof(BlockHeader) + std::min(oldSize, size));
  }
  header->padding = padding;
  header->size = size;
  Link(header);
  auto* data = reinterpret_cast<unsigned char*>(header + 1);
  if (zeroFill && size > oldSize) {
    std::memset(data + oldSize, 0, size - oldSize);
  }
  return data;
}

void MainHeap::Free(void* block) {
  if (block == nullptr) {
    return;
  }
  BlockHeader* header = HeaderOf(block);
  Unlink(header);
  ReleaseRaw(header);
}

void MainHeap::Destroy() {
  BlockHeader* header = blocks_;
  while (header != nullptr) {
    BlockHeader* next = header->next;
    ReleaseRaw(header);
    header = next;
  }
  blocks_ = nullptr;
  liveBlocks_ = 0;
  liveBytes_ = 0;
}

void MainHeap::FailRequestsAbove(std::size_t limit) {
  failurePredicate_ = [limit](std::size_t size) { return size > limit; };
}

}  // namespace drawing::runtime
