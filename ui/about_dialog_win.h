// The About box, opened from the properties window's system menu.
#ifndef FARHOUR_UI_ABOUT_DIALOG_WIN_H
#define FARHOUR_UI_ABOUT_DIALOG_WIN_H

#include "base/handles_win.h"
#include "ui/dialog_window_win.h"

class AboutDialog : public DialogWindow {
 public:
  explicit AboutDialog(HINSTANCE instance);

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void OnDpiChanged(UINT dpi) override;

 private:
  // The picture at the standard icon size of the box's DPI, drawn for that size.
  void SetPicture();

  OwnedIcon picture_;
};

#endif
