// A small driver that starts the real farhour.exe under the same Wine prefix and acts on it the way a
// person does: through its windows, the messages the shell and the mouse send, and the registry.
#ifndef FARHOUR_TESTS_E2E_DRIVER_H
#define FARHOUR_TESTS_E2E_DRIVER_H

#include <windows.h>

#include <string>
#include <vector>

struct RegValue {
  std::string name;
  DWORD kind = 0;
  std::vector<unsigned char> data;
  std::string Text() const;
  int Int() const;
};

// Values of HKCU\Software\Brindlewood\Farhour\<section>, in no particular order; empty when the key
// is missing. exists tells whether the key is there.
std::vector<RegValue> ReadSection(const std::string& section, bool* exists = nullptr);
const RegValue* FindValue(const std::vector<RegValue>& values, const std::string& name);
void DeleteSection(const std::string& section);
void WriteSectionString(const std::string& section, const char* name, const std::string& text);
void WriteSectionDword(const std::string& section, const char* name, DWORD value);

// One running farhour.exe.
class FarhourProcess {
 public:
  explicit FarhourProcess(const std::string& arguments);
  ~FarhourProcess();
  FarhourProcess(const FarhourProcess&) = delete;
  FarhourProcess& operator=(const FarhourProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  // The properties window, once set-up has finished; null if it never appeared.
  HWND Window() const { return window_; }
  DWORD Id() const { return processId_; }
  bool Running() const;
  // Waits for the process to end; false on time-out. *exitCode gets its exit code.
  bool WaitForExit(DWORD milliseconds, DWORD* exitCode = nullptr);
  // A message box of this process other than the properties window, or null within the wait.
  HWND WaitForMessageBox(DWORD milliseconds) const;
  // A top-level window of the process with this caption other than the properties window.
  HWND WaitForWindow(const std::string& caption, DWORD milliseconds) const;
  // Asks the program to close the way the system menu does, answers the question with Yes.
  bool CloseConfirmed();
  void Kill();

 private:
  HANDLE process_ = nullptr;
  DWORD processId_ = 0;
  HWND window_ = nullptr;
};

// The program under test, as a Windows path.
std::string FarhourExePath();

std::string WindowText(HWND hwnd);
// The text of a message box's message.
std::string MessageBoxText(HWND box);
// Presses a button of a dialog by its id, as a click does.
void PressButton(HWND dialog, int id);
// Lets a few messages pass so that posted ones are handled.
void Settle(DWORD milliseconds = 200);

// The text of a dialog's control, asked for with WM_GETTEXT, which Wine carries across processes.
std::string ControlText(HWND dialog, int id);
// The text of a combo box's list entry; empty when there is none.
std::string ComboEntryText(HWND combo, int index);
// The control that has the keyboard focus in the window's thread, or null.
HWND FocusedControl(HWND window);
// Replaces a field's whole text by typing, one character message per character.
void TypeText(HWND control, const std::string& text);
// A press and release of a key, posted to the control as the keyboard delivers it; with alt, the
// Alt key is held down.
void PressKey(HWND control, UINT virtualKey, bool alt = false);
// Whether farhour.exe's windows are left to the X window manager (Wine's default) or framed by
// Wine itself. With no window manager on the test display, Wine waits two seconds for each managed
// window that is hidden; windows that Wine frames itself hide at once and look as on Windows.
void SetFarhourWindowsManaged(bool managed);

#endif
