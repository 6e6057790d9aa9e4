#include "ui/window_geometry_win.h"

#include "ui/window_geometry.h"

void CentreOverOwner(HWND hwnd) {
  HWND owner = GetWindow(hwnd, GW_OWNER);
  const bool overOwner = owner && IsWindowVisible(owner) && !IsIconic(owner);
  // The work area of the monitor the owner is on, so that a box over a window on a second monitor
  // stays there.
  MONITORINFO monitor;
  ZeroMemory(&monitor, sizeof monitor);
  monitor.cbSize = sizeof monitor;
  if (!GetMonitorInfoW(MonitorFromWindow(overOwner ? owner : hwnd, MONITOR_DEFAULTTONEAREST), &monitor)) {
    (void)SystemParametersInfoW(SPI_GETWORKAREA, 0, &monitor.rcWork, 0);
  }
  const RECT& area = monitor.rcWork;
  RECT centre = area;
  if (overOwner) (void)GetWindowRect(owner, &centre);
  RECT own;
  (void)GetWindowRect(hwnd, &own);
  Point at = CentredWithin(own.right - own.left, own.bottom - own.top,
                           Rect{centre.left, centre.top, centre.right, centre.bottom},
                           Rect{area.left, area.top, area.right, area.bottom});
  (void)SetWindowPos(hwnd, nullptr, at.x, at.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
