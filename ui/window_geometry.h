// Positions computed for the properties window's own drawing.
#ifndef FARHOUR_UI_WINDOW_GEOMETRY_H
#define FARHOUR_UI_WINDOW_GEOMETRY_H

struct Point {
  int x;
  int y;
};

// Where an icon of the given size is drawn to sit centred in a client area, in integer arithmetic
// that drops the remainder toward zero: a 32 x 32 icon in a 35 x 20 area goes to (2, -5).
Point CentredIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

#endif
