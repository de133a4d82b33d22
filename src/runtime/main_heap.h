#pragma once

#include <cstddef>
#include <functional>
#include <utility>

namespace drawing::runtime {

// Alignment of every heap block and of list and table element data: enough
// for SSE vectors and long double. std::max_align_t is no help here: the
// 32-bit Windows toolchain has two definitions of it (8 and 16), and 32-bit
// Windows malloc only promises 8.
inline constexpr std::size_t kBlockAlignment = 16;

// The one private heap through which every runtime allocation goes. Each block
// carries a small header that keeps it on an intrusive list, so destroying the
// heap releases everything still allocated at once; nothing else needs to be
// freed one by one at shutdown.
class MainHeap {
 public:
  // Decides, from the requested size, whether a request is refused. Tests use
  // it to exercise the callers' fallbacks.
  using FailurePredicate = std::function<bool(std::size_t size)>;

  MainHeap() = default;
  ~MainHeap();
  MainHeap(const MainHeap&) = delete;
  MainHeap& operator=(const MainHeap&) = delete;

  // A block of `size` bytes (0 is valid and yields a distinct block), zeroed
  // when `zeroFill` is set, otherwise undefined. Null when refused. Blocks are
  // aligned to kBlockAlignment.
  void* Allocate(std::size_t size, bool zeroFill = false);

  // Resizes a block, possibly moving it; the content up to the smaller size is
  // kept, and with `zeroFill` any bytes beyond the old size are zero. A null
  // block allocates. On refusal the result is null and the old block stays
  // valid and unchanged.
  void* Reallocate(void* block, std::size_t size, bool zeroFill = false);

  // Returns a block to the heap; a null block is ignored.
  void Free(void* block);

  // Frees every block still allocated. The heap stays usable afterwards.
  void Destroy();

  // Size of a live block as last requested.
  static std::size_t BlockSize(const void* block);

  std::size_t LiveBlockCount() const { return liveBlocks_; }
  std::size_t LiveBytes() const { return liveBytes_; }

  void SetFailurePredicate(FailurePredicate predicate) { failurePredicate_ = std::move(predicate); }
  // Shorthand: refuse every request larger than `limit` bytes.
  void FailRequestsAbove(std::size_t limit);
  void ClearFailures() { failurePredicate_ = nullptr; }

 private:
  // The header sits right before the block, `padding` bytes after the start
  // of what the C library handed out (where the block had to move up to be
  // aligned).
  struct alignas(kBlockAlignment) BlockHeader {
    BlockHeader* previous;
    BlockHeader* next;
    std::size_t size;
    std::size_t padding;
  };
  static constexpr std::size_t kSlack = kBlockAlignment - 1;

  bool Refuses(std::size_t size) const;
  void Link(BlockHeader* header);
  void Unlink(BlockHeader* header);
  static BlockHeader* HeaderOf(void* block);
  // Bytes from the C library's start of a block to its aligned header.
  static std::size_t PaddingAt(const void* raw);
  static void ReleaseRaw(BlockHeader* header);

  BlockHeader* blocks_ = nullptr;
  std::size_t liveBlocks_ = 0;
  std::size_t liveBytes_ = 0;
  FailurePredicate failurePredicate_;
};

}  // namespace drawing::runtime
