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

TEST(CentredWithin, CentresOverTheOwnerAndStaysOnItsMonitorsWorkArea) {
  struct Row {
    const char* label;
    Rect over, workArea;
    int x, y;
  };
  const Rect primary{0, 0, 1024, 738};
  const Rect left{-1280, -200, 0, 824};  // a second monitor left of the primary one, higher up
  const Row rows[] = {
      {"centred over the owner", {100, 100, 500, 400}, primary, 200, 200},
      {"owner on the left monitor", {-1000, -100, -600, 300}, left, -900, 50},
      {"owner at the left monitor's left edge", {-1300, 0, -1100, 100}, left, -1280, 0},
      {"owner at the primary's bottom right", {900, 700, 1100, 800}, primary, 824, 638},
      {"larger than the work area", {0, 0, 100, 100}, {0, 0, 150, 80}, 0, 0},
  };
  for (const Row& r : rows) {
    Point p = CentredWithin(200, 100, r.over, r.workArea);
    EXPECT_EQ(p.x, r.x) << r.label;
    EXPECT_EQ(p.y, r.y) << r.label;
  }
}
