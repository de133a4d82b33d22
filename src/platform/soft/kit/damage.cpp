#include "platform/soft/kit/damage.h"

#include <algorithm>
#include <cstring>

namespace drawing::platform::soft {

namespace {

int32_t TilesFor(int32_t pixels) {
  return pixels <= 0 ? 0 : (pixels + Damage::kTile - 1) / Damage::kTile;
}

struct Run {
  int32_t first;  // columns of tiles first..last
  int32_t last;
  int32_t top;  // rows of tiles top..bottom
  int32_t bottom;
};

}  // namespace

Damage::Damage(int32_t width, int32_t height)
    : columns_(TilesFor(width)),
      rows_(TilesFor(height)),
      width_(columns_ > 0 && rows_ > 0 ? width : 0),
      height_(columns_ > 0 && rows_ > 0 ? height : 0),
      tiles_(static_cast<size_t>(columns_) * static_cast<size_t>(rows_), 0) {
  AddAll();
}

void Damage::Add(const Rect& area) {
  const int32_t left = std::max(area.left, 0);
  const int32_t top = std::max(area.top, 0);
  const int32_t right = std::min(area.right, width_);
  const int32_t bottom = std::min(area.bottom, height_);
  if (left >= right || top >= bottom) {
    return;
  }
  const int32_t firstColumn = left / kTile;
  const int32_t lastColumn = (right - 1) / kTile;
  for (int32_t row = top / kTile; row <= (bottom - 1) / kTile; ++row) {
    uint8_t* tile = tiles_.data() + static_cast<size_t>(row) * columns_;
    for (int32_t column = firstColumn; column <= lastColumn; ++column) {
      marked_ += 1 - tile[column];
      tile[column] = 1;
    }
  }
}

void Damage::AddAll() {
  std::fill(tiles_.begin(), tiles_.end(), uint8_t{1});
  marked_ = static_cast<int32_t>(tiles_.size());
}

void Damage::Add(const Damage& other) {
  if (other.width_ != width_ || other.height_ != height_) {
    AddAll();
    return;
  }
  if (other.Empty() || Whole()) {
    return;
  }
  if (other.Whole()) {
    AddAll();
    return;
  }
  int32_t marked = 0;
  for (size_t k = 0; k < tiles_.size(); ++k) {
    tiles_[k] |= other.tiles_[k];
    marked += tiles_[k];
  }
  marked_ = marked;
}

void Damage::Clear() {
  if (marked_ != 0) {
    std::memset(tiles_.data(), 0, tiles_.size());
    marked_ = 0;
  }
}

bool Damage::Marked(int32_t x, int32_t y) const {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) {
    return false;
  }
  return tiles_[static_cast<size_t>(y / kTile) * columns_ + static_cast<size_t>(x / kTile)] != 0;
}

std::vector<Rect> Damage::Rects() const {
  std::vector<Rect> rects;
  if (Empty()) {
    return rects;
  }
  if (Whole()) {
    rects.push_back(Rect{0, 0, width_, height_});
    return rects;
  }
  const auto toPixels = [this](const Run& run) {
    return Rect{run.first * kTile, run.top * kTile, std::min((run.last + 1) * kTile, width_),
                std::min((run.bottom + 1) * kTile, height_)};
  };
  // Runs along each row, carried down while the next row repeats them.
  std::vector<Run> done;
  std::vector<Run> open;
  std::vector<Run> next;
  for (int32_t row = 0; row < rows_; ++row) {
    const uint8_t* tile = tiles_.data() + static_cast<size_t>(row) * columns_;
    next.clear();
    for (int32_t column = 0; column < columns_;) {
      if (tile[column] == 0) {
        ++column;
        continue;
      }
      const int32_t first = column;
      while (column < columns_ && tile[column] != 0) {
        ++column;
      }
      Run run{first, column - 1, row, row};
      for (Run& above : open) {
        if (above.first == run.first && above.last == run.last) {
          run.top = above.top;
          above.first = -1;  // carried on
        }
      }
      next.push_back(run);
    }
    for (const Run& above : open) {
      if (above.first >= 0) {
        done.push_back(above);
      }
    }
    open.swap(next);
  }
  done.insert(done.end(), open.begin(), open.end());
  if (static_cast<int32_t>(done.size()) <= kMaxRects) {
    for (const Run& run : done) {
      rects.push_back(toPixels(run));
    }
    return rects;
  }
  // Too many: one rectangle per band of rows, from its first marked column
  // to its last, the bands as thin as the bound allows.
  int32_t band = 1;
  while ((rows_ + band - 1) / band > kMaxRects) {
    band *= 2;
  }
  for (int32_t top = 0; top < rows_; top += band) {
    const int32_t bottom = std::min(top + band, rows_) - 1;
    Run run{columns_, -1, top, bottom};
    for (int32_t row = top; row <= bottom; ++row) {
      const uint8_t* tile = tiles_.data() + static_cast<size_t>(row) * columns_;
      for (int32_t column = 0; column < columns_; ++column) {
        if (tile[column] != 0) {
          run.first = std::min(run.first, column);
          run.last = std::max(run.last, column);
        }
      }
    }
    if (run.last >= 0) {
      rects.push_back(toPixels(run));
    }
  }
  return rects;
}

}  // namespace drawing::platform::soft
