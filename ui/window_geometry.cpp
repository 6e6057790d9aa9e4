#include "ui/window_geometry.h"

Point CentredIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
  return Point{(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}

Point CentredWithin(int width, int height, const Rect& over, const Rect& workArea) {
  int x = over.left + (over.right - over.left - width) / 2;
  int y = over.top + (over.bottom - over.top - height) / 2;
  if (x + width > workArea.right) x = workArea.right - width;
  if (y + height > workArea.bottom) y = workArea.bottom - height;
  if (x < workArea.left) x = workArea.left;
  if (y < workArea.top) y = workArea.top;
  return Point{x, y};
}
