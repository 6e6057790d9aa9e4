// A dialog window object: the template's window, its message dispatch to named handlers, the hidden
// modal run and the data exchange between controls and the object's fields.
#ifndef FARHOUR_UI_DIALOG_WINDOW_WIN_H
#define FARHOUR_UI_DIALOG_WINDOW_WIN_H

#include <windows.h>

#include <string>

#include "base/handles_win.h"

class DataExchange;

class DialogWindow {
 public:
  DialogWindow(HINSTANCE instance, int templateId);
  virtual ~DialogWindow();
  DialogWindow(const DialogWindow&) = delete;
  DialogWindow& operator=(const DialogWindow&) = delete;

  HWND Hwnd() const { return hwnd_; }
  HINSTANCE Instance() const { return instance_; }

  // Creates the window from the template and runs its modal loop without ever showing it. The
  // window that had the foreground gets it back. Returns the value given to EndDialog, or -1
  // when the window could not be created.
  INT_PTR RunHidden(HWND previousForeground);
  // The ordinary modal run over an owner, which stays disabled meanwhile.
  INT_PTR RunModal(HWND owner);
  // Creates the window from the template and leaves it to the thread's loop (the hidden run's),
  // which gives it the keyboard's dialog navigation too. Hwnd() is null again once it is destroyed.
  bool CreateModeless();
  void EndDialog(INT_PTR result);

  // FALSE: copy the fields into the controls. TRUE: copy the controls into the fields with
  // validation; false when a validation failed (the user has been told).
  bool UpdateData(bool save);

  // A message box captioned with the application title, modal over this window.
  int ShowMessage(const std::string& text, UINT type = MB_OK | MB_ICONEXCLAMATION);

 protected:
  virtual BOOL OnInitDialog() { return TRUE; }
  virtual void DoDataExchange(DataExchange&) {}
  // Sees every message before the message map; the base passes it on to OnMessage.
  virtual bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The message map: true when the message was handled, with its result.
  virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // Called once the modal loop is over; the override tears down, then calls the base.
  virtual void DestroyWindow();
  // The window moved to a monitor of another DPI, or that monitor's scale changed; the window has
  // its new size and layout. The override remakes what it drew at the old DPI (icons).
  virtual void OnDpiChanged(UINT /*dpi*/) {}
  // The DPI of the window's monitor.
  UINT Dpi() const { return dpi_; }

 private:
  static INT_PTR CALLBACK DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  // Where Windows does not rescale dialogs itself: the controls and the font follow the new DPI.
  void ScaleToDpi(UINT dpi, const RECT& suggested);

  HINSTANCE instance_;
  int templateId_;
  HWND hwnd_ = nullptr;
  bool modeless_ = false;
  bool ended_ = false;
  INT_PTR result_ = 0;
  UINT dpi_ = 96;
  OwnedGdiObject scaledFont_;  // the dialog's font at the new DPI, made by ScaleToDpi
};

// One transfer between the controls and the fields, in one direction.
class DataExchange {
 public:
  DataExchange(DialogWindow& dialog, bool save) : dialog_(dialog), save_(save) {}
  bool Saving() const { return save_; }
  bool Failed() const { return failed_; }

  void Text(int id, std::string& field);
  // Refuses more than maxChars characters as a person counts them. The edit control counts UTF-16
  // units, two for a character beyond U+FFFF and one more for each mark on a letter, so typing stops
  // only at four units a character: any name of maxChars characters fits, and OK is the rule.
  void MaxChars(int id, const std::string& field, int maxChars);
  void ListIndex(int id, int& field);
  void Offset(int id, double& field);
  void OffsetRange(int id, double field);
  void Radio(int firstId, int& field);

 private:
  void Fail(int id, const std::string& message);

  DialogWindow& dialog_;
  bool save_;
  bool failed_ = false;
};

// The whole text of a window or control.
std::string WindowText(HWND control);
// Sets the text of a window or control.
void SetText(HWND window, const std::string& text);
// A string of the program's string table, or empty when there is none.
std::string LoadResourceString(HINSTANCE instance, UINT id);
// The application title, the name of the settings' key and the caption of every message box.
std::string ApplicationTitle(HINSTANCE instance);

#endif
