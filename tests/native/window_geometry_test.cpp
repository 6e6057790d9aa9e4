// The minimised window's icon sits centred, rounded the way integer division rounds.
#include <gtest/gtest.h>

#include "ui/window_geometry.h"

TEST(CentredIconOrigin, DropsTheRemainderTowardZero) {
  struct Row {
    int clientWidth, clientHeight, iconWidth, iconHeight;
    int x, y;
  };
  const Row rows[] = {
      {35, 20, 32, 32, 2, -5},   // -11 / 2 is -5, not -6
      {32, 32, 32, 32, 0, 0},
      {33, 34, 32, 32, 1, 1},
      {160, 28, 32, 32, 64, -1},
      {0, 0, 32, 32, -15, -15},
      {16, 16, 16, 16, 0, 0},
  };
  for (const Row& r : rows) {
    Point p = CentredIconOrigin(r.clientWidth, r.clientHeight, r.iconWidth, r.iconHeight);
    EXPECT_EQ(p.x, r.x) << r.clientWidth << "x" << r.clientHeight;
    EXPECT_EQ(p.y, r.y) << r.clientWidth << "x" << r.clientHeight;
  }
}
