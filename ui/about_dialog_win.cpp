#include "ui/about_dialog_win.h"

#include "res/resource.h"

AboutDialog::AboutDialog(HINSTANCE instance) : DialogWindow(instance, IDD_ABOUTBOX) {}

BOOL AboutDialog::OnInitDialog() {
  CentreOverOwner(Hwnd());
  return TRUE;
}

bool AboutDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(LOWORD(wParam));
    return true;
  }
  return DialogWindow::OnMessage(message, wParam, lParam, result);
}

void CentreOverOwner(HWND hwnd) {
  RECT area;
  (void)SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0);
  HWND owner = GetWindow(hwnd, GW_OWNER);
  RECT centre = area;
  if (owner && IsWindowVisible(owner) && !IsIconic(owner)) (void)GetWindowRect(owner, &centre);
  RECT own;
  (void)GetWindowRect(hwnd, &own);
  int width = own.right - own.left;
  int height = own.bottom - own.top;
  int x = centre.left + (centre.right - centre.left - width) / 2;
  int y = centre.top + (centre.bottom - centre.top - height) / 2;
  // Keep the whole box on the work area.
  if (x + width > area.right) x = area.right - width;
  if (y + height > area.bottom) y = area.bottom - height;
  if (x < area.left) x = area.left;
  if (y < area.top) y = area.top;
  (void)SetWindowPos(hwnd, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}
