#include "ui/window_geometry.h"

Point CentredIconOrigin(int clientWidth, int clientHeight, int iconWidth, int iconHeight) {
  return Point{(clientWidth - iconWidth + 1) / 2, (clientHeight - iconHeight + 1) / 2};
}
