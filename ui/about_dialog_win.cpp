#include "ui/about_dialog_win.h"

#include "res/resource.h"
#include "ui/window_geometry_win.h"

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
