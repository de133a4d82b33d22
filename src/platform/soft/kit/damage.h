// Which parts of a picture changed: the bookkeeping that lets a frame cost
// what the drawing changed rather than what the screen holds.
//
// The picture is cut into tiles of kTile x kTile pixels; a write marks every
// tile it touches, so the marked tiles always cover every changed pixel
// (and some that did not change). `Rects` turns the marks into a bounded
// number of rectangles, since each rectangle costs a host one request.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/handles.h"

namespace drawing::platform::soft {

class Damage {
 public:
  static constexpr int32_t kTile = 32;
  // At most this many rectangles come out of Rects: rows of tiles are
  // merged into bands when there would be more.
  static constexpr int32_t kMaxRects = 64;

  // An empty picture: nothing changed, nothing can.
  Damage() = default;
  // A picture of width x height pixels, all of it changed.
  Damage(int32_t width, int32_t height);

  int32_t Width() const { return width_; }
  int32_t Height() const { return height_; }

  // Marks the tiles under `area` (cut to the picture).
  void Add(const Rect& area);
  // Marks every tile.
  void AddAll();
  // Marks what `other`, of the same size, marks; all of it for another size.
  void Add(const Damage& other);
  void Clear();

  bool Empty() const { return marked_ == 0; }
  bool Whole() const { return marked_ == static_cast<int32_t>(tiles_.size()) && marked_ > 0; }
  // Marked tiles, and all tiles.
  int32_t MarkedTiles() const { return marked_; }
  int32_t TileCount() const { return static_cast<int32_t>(tiles_.size()); }
  bool Marked(int32_t x, int32_t y) const;

  // Rectangles, cut to the picture, that together cover every marked tile:
  // runs of marked tiles along each row of tiles, a run carried down while
  // the rows below have the same one; no more than kMaxRects. The picture
  // itself when every tile is marked.
  std::vector<Rect> Rects() const;

 private:
  int32_t columns_ = 0;
  int32_t rows_ = 0;
  int32_t width_ = 0;
  int32_t height_ = 0;
  int32_t marked_ = 0;
  std::vector<uint8_t> tiles_;  // row by row, 1 when marked
};

}  // namespace drawing::platform::soft
