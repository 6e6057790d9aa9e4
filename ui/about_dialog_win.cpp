#include "ui/about_dialog_win.h"

#include "base/dpi_win.h"
#include "res/resource.h"
#include "ui/window_geometry_win.h"

AboutDialog::AboutDialog(HINSTANCE instance) : DialogWindow(instance, IDD_ABOUTBOX) {}

BOOL AboutDialog::OnInitDialog() {
  SetPicture();
  CentreOverOwner(Hwnd());
  return TRUE;
}

void AboutDialog::OnDpiChanged(UINT) { SetPicture(); }

void AboutDialog::SetPicture() {
  // The picture is the template's first control.
  HWND picture = GetWindow(Hwnd(), GW_CHILD);
  if (!picture || (GetWindowLongW(picture, GWL_STYLE) & SS_TYPEMASK) != SS_ICON) return;
  OwnedIcon icon = LoadIconAtMetric(Instance(), IDR_MAINFRAME, SM_CXICON, Dpi());
  if (!icon) return;
  (void)SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(icon.Get()), 0);
  // The control shows the new icon; the one it showed before, if this box made it, goes now.
  picture_ = std::move(icon);
}

bool AboutDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
    EndDialog(LOWORD(wParam));
    return true;
  }
  return DialogWindow::OnMessage(message, wParam, lParam, result);
}
