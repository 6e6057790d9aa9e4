// Positions computed for the properties window's own drawing.
#ifndef FARHOUR_UI_WINDOW_GEOMETRY_H
#define FARHOUR_UI_WINDOW_GEOMETRY_H

struct Point {
  int x;
  int y;
};

// Screen rectangles: left and top inside, right and bottom just outside.
struct Rect {
  int left;
  int top;
  int right;
  int bottom;
};

// Where an icon of the given size is drawn to sit centred in a client area, in integer arithmetic
// that drops the remainder toward zero: a 32 x 32 icon in a 35 x 20 area goes to (2, -5).
Point CentredIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight);

// Where a window of the given size goes to sit centred over the rectangle over, moved as little as
// needed to lie whole inside workArea (its top left corner wins when it is larger than workArea).
Point CentredWithin(int width, int height, const Rect& over, const Rect& workArea);

#endif
