#include "platform/soft/gdi/soft_blit.h"

#include <algorithm>
#include <cstring>
#include <vector>

#include "platform/soft/kit/uncached_copy.h"

namespace drawing::platform::soft {
namespace {

// Copies at least this large do not keep what they write in the cache.
constexpr size_t kUncachedCopyBytes = size_t{1} << 20;

size_t RowBytes(const PixelView& view) {
  return (static_cast<size_t>(view.width) * static_cast<size_t>(BitsPerPixel(view.layout)) + 7) / 8;
}

struct MemoryRange {
  uintptr_t begin = 0;
  uintptr_t end = 0;
};

MemoryRange RangeOf(const PixelView& view) {
  if (view.height <= 0 || view.width <= 0) {
    return {};
  }
  const auto first = reinterpret_cast<uintptr_t>(view.Row(0));
  const auto last = reinterpret_cast<uintptr_t>(view.Row(view.height - 1));
  return {std::min(first, last), std::max(first, last) + RowBytes(view)};
}

bool Overlaps(const PixelView& a, const PixelView& b) {
  const MemoryRange ra = RangeOf(a);
  const MemoryRange rb = RangeOf(b);
  return ra.begin < rb.end && rb.begin < ra.end;
}

// Rows first..first+count-1 of `source` copied aside, so that a destination
// sharing its memory cannot change the source while it is read. Row 0 of the
// result is row `first`.
PixelView CopyRows(const PixelView& source, int32_t first, int32_t count,
                   std::vector<uint8_t>& storage) {
  const size_t rowBytes = RowBytes(source);
  storage.resize(rowBytes * static_cast<size_t>(count));
  for (int32_t r = 0; r < count; ++r) {
    std::memcpy(storage.data() + rowBytes * static_cast<size_t>(r), source.Row(first + r),
                rowBytes);
  }
  PixelView copy = source;
  copy.first = storage.data();
  copy.step = static_cast<ptrdiff_t>(rowBytes);
  copy.height = count;
  return copy;
}

// Same layout and, for palette layouts, the same palette: raw bits carry over.
bool SameLayout(const PixelView& a, const PixelView& b) {
  if (a.layout != b.layout) {
    return false;
  }
  if (a.layout != PixelLayout::Index8 && a.layout != PixelLayout::Mono1) {
    return true;
  }
  const size_t entries = a.layout == PixelLayout::Index8 ? 256 : 2;
  if (a.palette == nullptr || b.palette == nullptr) {
    return a.palette == b.palette;
  }
  return std::memcmp(a.palette, b.palette, entries * sizeof(uint32_t)) == 0;
}

// The source pixel's bits in the destination's layout.
uint32_t SourceRaw(const PixelView& destination, const PixelView& source, bool same, int32_t x,
                   int32_t y) {
  const uint32_t raw = ReadRaw(source, x, y);
  return same ? raw : RawFromColor(destination, ColorFromRaw(source, raw));
}

struct Area {
  int64_t x, y, sourceX, sourceY, width, height;
};

// Cuts the area to the parts inside both views; false when nothing is left.
bool ClipAxis(int64_t& at, int64_t& sourceAt, int64_t& size, int64_t limit, int64_t sourceLimit) {
  if (at < 0) {
    sourceAt -= at;
    size += at;
    at = 0;
  }
  if (sourceAt < 0) {
    at -= sourceAt;
    size += sourceAt;
    sourceAt = 0;
  }
  size = std::min({size, limit - at, sourceLimit - sourceAt});
  return size > 0;
}

void CopyArea(const PixelView& destination, int32_t x, int32_t y, int32_t width, int32_t height,
              const PixelView& source, int32_t sourceX, int32_t sourceY) {
  const bool same = SameLayout(destination, source);
  const int32_t bits = BitsPerPixel(destination.layout);
  if (same && bits % 8 == 0) {
    const size_t bytes = static_cast<size_t>(width) * static_cast<size_t>(bits / 8);
    const size_t sourceOffset = static_cast<size_t>(sourceX) * static_cast<size_t>(bits / 8);
    const size_t offset = static_cast<size_t>(x) * static_cast<size_t>(bits / 8);
    // A copy of screen size (the Canvas put on the back buffer) goes past
    // the cache: what it writes is only shown, while what it displaced
    // would be read again soon.
    if (bytes * static_cast<size_t>(height) >= kUncachedCopyBytes) {
      for (int32_t r = 0; r < height; ++r) {
        UncachedCopy(destination.Row(y + r) + offset, source.Row(sourceY + r) + sourceOffset,
                     bytes);
      }
      UncachedCopyDone();
      return;
    }
    for (int32_t r = 0; r < height; ++r) {
      std::memcpy(destination.Row(y + r) + offset, source.Row(sourceY + r) + sourceOffset, bytes);
    }
    return;
  }
  if (same) {
    for (int32_t r = 0; r < height; ++r) {
      for (int32_t c = 0; c < width; ++c) {
        WriteRaw(destination, x + c, y + r, ReadRaw(source, sourceX + c, sourceY + r));
      }
    }
    return;
  }
  std::vector<uint32_t> colors(static_cast<size_t>(width));
  for (int32_t r = 0; r < height; ++r) {
    ReadColors(source, sourceX, sourceY + r, width, colors.data());
    WriteColors(destination, x, y + r, width, colors.data());
  }
}

void NotSrcEraseArea(const PixelView& destination, int32_t x, int32_t y, int32_t width,
                     int32_t height, const PixelView& source, int32_t sourceX, int32_t sourceY) {
  const bool same = SameLayout(destination, source);
  const uint32_t mask = RawMask(destination.layout);
  for (int32_t r = 0; r < height; ++r) {
    for (int32_t c = 0; c < width; ++c) {
      const uint32_t s = SourceRaw(destination, source, same, sourceX + c, sourceY + r);
      const uint32_t d = ReadRaw(destination, x + c, y + r);
      WriteRaw(destination, x + c, y + r, ~(s | d) & mask);
    }
  }
}

// For each destination position in [0, size) of a stretched axis that lands
// inside both views: the destination coordinate and the source coordinate.
std::vector<std::pair<int32_t, int32_t>> StretchAxis(int64_t at, int64_t size, int64_t limit,
                                                     int64_t sourceAt, int64_t sourceSize,
                                                     int64_t sourceLimit) {
  std::vector<std::pair<int32_t, int32_t>> map;
  const int64_t first = std::max<int64_t>(0, -at);
  const int64_t last = std::min(size, limit - at);
  for (int64_t i = first; i < last; ++i) {
    const int64_t s = sourceAt + (2 * i + 1) * sourceSize / (2 * size);
    if (s >= 0 && s < sourceLimit) {
      map.emplace_back(static_cast<int32_t>(at + i), static_cast<int32_t>(s));
    }
  }
  return map;
}

}  // namespace

void BlitViews(const PixelView& destination, int32_t x, int32_t y, int32_t width, int32_t height,
               const PixelView& source, int32_t sourceX, int32_t sourceY, BlitOp op) {
  Area a{x, y, sourceX, sourceY, width, height};
  if (!ClipAxis(a.x, a.sourceX, a.width, destination.width, source.width) ||
      !ClipAxis(a.y, a.sourceY, a.height, destination.height, source.height)) {
    return;
  }
  PixelView from = source;
  auto fromY = static_cast<int32_t>(a.sourceY);
  std::vector<uint8_t> storage;
  if (Overlaps(destination, source)) {
    from = CopyRows(source, fromY, static_cast<int32_t>(a.height), storage);
    fromY = 0;
  }
  const auto dx = static_cast<int32_t>(a.x);
  const auto dy = static_cast<int32_t>(a.y);
  const auto w = static_cast<int32_t>(a.width);
  const auto h = static_cast<int32_t>(a.height);
  const auto fromX = static_cast<int32_t>(a.sourceX);
  if (op == BlitOp::Copy) {
    CopyArea(destination, dx, dy, w, h, from, fromX, fromY);
  } else {
    NotSrcEraseArea(destination, dx, dy, w, h, from, fromX, fromY);
  }
}

bool BlitCoversDestination(const PixelView& destination, int32_t x, int32_t y, int32_t width,
                           int32_t height, const PixelView& source, int32_t sourceX,
                           int32_t sourceY) {
  Area a{x, y, sourceX, sourceY, width, height};
  return ClipAxis(a.x, a.sourceX, a.width, destination.width, source.width) &&
         ClipAxis(a.y, a.sourceY, a.height, destination.height, source.height) && a.x == 0 &&
         a.y == 0 && a.width == destination.width && a.height == destination.height;
}

void StretchViews(const PixelView& destination, int32_t x, int32_t y, int32_t width, int32_t height,
                  const PixelView& source, int32_t sourceX, int32_t sourceY, int32_t sourceWidth,
                  int32_t sourceHeight, BlitOp op) {
  if (width <= 0 || height <= 0 || sourceWidth <= 0 || sourceHeight <= 0) {
    return;
  }
  if (width == sourceWidth && height == sourceHeight) {
    BlitViews(destination, x, y, width, height, source, sourceX, sourceY, op);
    return;
  }
  const auto columns = StretchAxis(x, width, destination.width, sourceX, sourceWidth, source.width);
  const auto rows =
      StretchAxis(y, height, destination.height, sourceY, sourceHeight, source.height);
  if (columns.empty() || rows.empty()) {
    return;
  }
  PixelView from = source;
  std::vector<uint8_t> storage;
  if (Overlaps(destination, source)) {
    from = CopyRows(source, 0, source.height, storage);
  }
  const bool same = SameLayout(destination, from);
  const uint32_t mask = RawMask(destination.layout);
  for (const auto& [dy, sy] : rows) {
    for (const auto& [dx, sx] : columns) {
      const uint32_t s = SourceRaw(destination, from, same, sx, sy);
      if (op == BlitOp::Copy) {
        // A 32-bit source keeps its top byte only in a 32-bit destination.
        WriteRaw(destination, dx, dy, s);
      } else {
        WriteRaw(destination, dx, dy, ~(s | ReadRaw(destination, dx, dy)) & mask);
      }
    }
  }
}

}  // namespace drawing::platform::soft
