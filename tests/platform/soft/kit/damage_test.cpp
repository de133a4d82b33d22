// The changed region: every marked tile is covered by the rectangles that
// come out, nothing unmarked is (while the bound allows), and the number of
// rectangles stays bounded however scattered the changes.
#include "platform/soft/kit/damage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace drawing::platform::soft {
namespace {

constexpr int32_t kTile = Damage::kTile;

// Whether pixel (x, y) lies in one of `rects`.
bool Covered(const std::vector<Rect>& rects, int32_t x, int32_t y) {
  for (const Rect& r : rects) {
    if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) {
      return true;
    }
  }
  return false;
}

// Checks every tile's first pixel: covered when marked; when `exact`, not
// covered when not.
void ExpectCovers(const Damage& damage, bool exact) {
  const std::vector<Rect> rects = damage.Rects();
  for (int32_t y = 0; y < damage.Height(); y += kTile) {
    for (int32_t x = 0; x < damage.Width(); x += kTile) {
      if (damage.Marked(x, y)) {
        EXPECT_TRUE(Covered(rects, x, y)) << x << "," << y;
      } else if (exact) {
        EXPECT_FALSE(Covered(rects, x, y)) << x << "," << y;
      }
    }
  }
  for (const Rect& r : rects) {
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= damage.Width() &&
                r.bottom <= damage.Height() && r.left < r.right && r.top < r.bottom);
  }
}

TEST(Damage, StartsWholeAndMarksOnlyTheTilesAWriteTouches) {
  Damage damage(100, 70);  // 4 x 3 tiles, the last ones cut short
  EXPECT_TRUE(damage.Whole());
  ASSERT_EQ(damage.Rects().size(), 1u);
  EXPECT_EQ(damage.Rects()[0].right, 100);
  EXPECT_EQ(damage.Rects()[0].bottom, 70);

  damage.Clear();
  EXPECT_TRUE(damage.Empty());
  EXPECT_TRUE(damage.Rects().empty());
  damage.Add(Rect{31, 31, 33, 33});   // the corner of four tiles
  damage.Add(Rect{-50, 60, 5, 500});  // cut to the picture
  damage.Add(Rect{90, 10, 90, 20});   // empty
  EXPECT_EQ(damage.MarkedTiles(), 5);
  EXPECT_TRUE(damage.Marked(0, 69));
  EXPECT_FALSE(damage.Marked(96, 10));
  ExpectCovers(damage, true);
}

TEST(Damage, RunsAlongARowAreCarriedDownWhileTheyRepeat) {
  Damage damage(256, 256);
  damage.Clear();
  damage.Add(Rect{0, 0, 64, 96});      // columns 0-1, rows 0-2: one rectangle
  damage.Add(Rect{128, 32, 160, 40});  // column 4, row 1
  const std::vector<Rect> rects = damage.Rects();
  EXPECT_EQ(rects.size(), 2u);
  ExpectCovers(damage, true);
}

TEST(Damage, ScatteredChangesStayWithinTheBound) {
  Damage damage(4096, 2048);  // 128 x 64 tiles
  damage.Clear();
  for (int32_t y = 0; y < 2048; y += 2 * kTile) {
    for (int32_t x = (y / kTile) % 4 * kTile; x < 4096; x += 4 * kTile) {
      damage.Add(Rect{x, y, x + 1, y + 1});
    }
  }
  EXPECT_LE(static_cast<int32_t>(damage.Rects().size()), Damage::kMaxRects);
  ExpectCovers(damage, false);
}

TEST(Damage, AddingAnotherOfADifferentSizeMarksEverything) {
  Damage damage(64, 64);
  damage.Clear();
  Damage other(64, 64);
  other.Clear();
  other.Add(Rect{40, 40, 41, 41});
  damage.Add(other);
  EXPECT_EQ(damage.MarkedTiles(), 1);
  damage.Add(Damage(32, 32));
  EXPECT_TRUE(damage.Whole());
}

}  // namespace
}  // namespace drawing::platform::soft
