// A small driver that starts the real farhour.exe under the same Wine prefix and acts on it the way a
// person does: through its windows, the messages the shell and the mouse send, and the registry.
#ifndef FARHOUR_TESTS_E2E_DRIVER_H
#define FARHOUR_TESTS_E2E_DRIVER_H

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "res/resource.h"

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
// The registry through its Unicode calls, the text in UTF-8; the other readers and writers here use
// the ANSI calls, as a copy of the program from before Unicode does.
void WriteSectionText(const std::string& section, const char* name, const std::string& utf8);
bool ReadSectionText(const std::string& section, const char* name, std::string* utf8);
void WriteSectionDword(const std::string& section, const char* name, DWORD value);
// Stores data of any kind and size, as a hand edit of the registry can.
void WriteSectionValue(const std::string& section, const char* name, DWORD kind, const std::string& bytes);

// One running farhour.exe.
class FarhourProcess {
 public:
  explicit FarhourProcess(const std::string& arguments);
  // A copy that another one started, by its properties window (none for null).
  explicit FarhourProcess(HWND window);
  ~FarhourProcess();
  FarhourProcess(const FarhourProcess&) = delete;
  FarhourProcess& operator=(const FarhourProcess&) = delete;

  bool Started() const { return process_ != nullptr; }
  // The properties window, once set-up has finished; null if it never appeared or the process ended
  // first.
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

// Starts one process per argument text at the same time (a start takes seconds under Wine) and
// waits for all their windows.
std::vector<std::unique_ptr<FarhourProcess>> StartFarhours(const std::vector<std::string>& arguments);

// What a process holds, counted from inside it.
struct ProcessResources {
  DWORD kernelHandles = 0;
  DWORD gdiObjects = 0;       // bitmaps (icons are made of them), fonts, palettes and the like
  // Device contexts, regions, pens and brushes: the platform makes these while it paints windows
  // and keeps caches of them (window device contexts, system-colour pens and brushes); the
  // program makes none.
  DWORD drawingObjects = 0;
  DWORD userObjects = 0;      // its windows, menus and icons
  DWORD heapBytes = 0;        // allocated in all its heaps
  DWORD workingSetBytes = 0;
  DWORD pagefileBytes = 0;
};

class ProbeHook;

// Work done inside a running farhour.exe, by the probe DLL hooked into its thread.
class ProcessProbe {
 public:
  explicit ProcessProbe(HWND farhourWindow);
  ~ProcessProbe();
  ProcessProbe(const ProcessProbe&) = delete;
  ProcessProbe& operator=(const ProcessProbe&) = delete;

  bool Installed() const;
  // False when the program did not answer in time.
  bool CountResources(ProcessResources* counts);
  // Returns once the program has handled every message posted to it before: a sent message does
  // not tell, since a thread handles the messages sent to it before those posted.
  bool Sync();
  // From now on the program's lookups of the time and long-date pictures give these texts; a null
  // picture makes its lookup fail. Other locale lookups are left alone.
  bool SetLocalePictures(const wchar_t* timePicture, const wchar_t* longDatePicture);

 private:
  std::unique_ptr<ProbeHook> hook_;
};

// Without a window manager, Wine waits up to two seconds for one at every hiding of a managed window,
// such as the properties window after OK. While an object of this type lives, copies of farhour.exe
// started then make windows that Wine frames itself: they hide at once and look as on Windows. The
// setting is put back as it was afterwards.
class UnmanagedWindows {
 public:
  UnmanagedWindows();
  ~UnmanagedWindows();
  UnmanagedWindows(const UnmanagedWindows&) = delete;
  UnmanagedWindows& operator=(const UnmanagedWindows&) = delete;

 private:
  HKEY key_ = nullptr;
  bool had_ = false;
  std::string previous_;
};

// The nine stored values of one place: a text for the REG_SZ values, a number for the REG_DWORD ones.
struct StoredPlace {
  const char* place;
  const char* offset;
  int icon;
  int from;
  int to;
  int weekdays;
  const char* userActiveIcon;
  const char* userInActiveIcon;
  int iconFrom;
};
// Replaces the section by exactly these nine values.
void WriteStoredPlace(const std::string& section, const StoredPlace& stored);

// The open popup menu window of a process, waiting up to milliseconds for one; null when none.
HWND OpenMenuWindow(DWORD processId, DWORD milliseconds);

// The program under test, as a Windows path.
std::string FarhourExePath();

// The notification area's icon size at the DPI Wine gives every process: 16 pixels at 96 DPI.
int TrayIconSize();
// An icon of the program's file (loaded as data) at the notification area's size: the picture the
// program should hand to the shell. Shared: each resource is loaded at one size in a test process.
HICON LoadTrayIcon(HMODULE module, int id);

// Texts the program shows are read in UTF-16 and given in UTF-8.
std::string WindowText(HWND hwnd);
// The text of a message box's message.
std::string MessageBoxText(HWND box);
// Presses a button of a dialog by its id, as a click does.
void PressButton(HWND dialog, int id);
// Waits for a window to be gone, as a message box is after its button is pressed; false on time-out.
bool WaitForClose(HWND window, DWORD milliseconds);
// Lets a few messages pass so that posted ones are handled.
void Settle(DWORD milliseconds = 200);

// The text of a dialog's control, asked for with WM_GETTEXT, which Wine carries across processes.
std::string ControlText(HWND dialog, int id);
// The days the properties window's work-day boxes tick, bit 0 Sunday to bit 6 Saturday, told by their labels in an English
// locale; -1 when a label is not a day's.
int TickedWorkDays(HWND dialog);
// The text of a combo box's list entry; empty when there is none.
std::string ComboEntryText(HWND combo, int index);
// The control that has the keyboard focus in the window's thread, or null.
HWND FocusedControl(HWND window);
// Replaces a field's whole text by typing, one character message per character.
void TypeText(HWND control, const std::string& text);  // text in UTF-8
// A press and release of a key, posted to the control as the keyboard delivers it; with alt, the
// Alt key is held down.
void PressKey(HWND control, UINT virtualKey, bool alt = false);

// The user's Startup folder and Start menu, for as long as the object lives, are folders of the
// test's own: the program finds them where the shell's settings say, and never sees the user's.
class StandInShellFolders {
 public:
  StandInShellFolders();
  ~StandInShellFolders();
  StandInShellFolders(const StandInShellFolders&) = delete;
  StandInShellFolders& operator=(const StandInShellFolders&) = delete;
  bool Ready() const { return key_ != nullptr; }

 private:
  struct Kept {
    const char* name;
    bool had;
    std::string value;
  };
  void Replace(const char* name, const std::string& folder);
  HKEY key_ = nullptr;
  std::vector<Kept> kept_;
};

// The Startup folder as the shell gives it now.
std::string StartupFolder();

struct Shortcut {
  std::string name;
  std::string target;
  std::string arguments;
};

// Reads a shortcut through the shell's link object, or, given a target, first makes it.
bool LinkOf(const std::string& path, Shortcut* shortcut, const char* newTarget = nullptr,
            const char* newArguments = "");

#endif
