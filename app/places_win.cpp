#include "app/places_win.h"

#include <climits>
#include <string>

#include "app/place_lock_win.h"
#include "app/shortcuts_win.h"
#include "base/wide_text_win.h"
#include "clock/place_settings.h"

namespace {

// How long the new copy may take to show its window: a start takes seconds on a busy machine.
constexpr DWORD NEW_COPY_WAIT_MS = 15000;

bool StartCopy(int instanceNumber) {
  const std::string program = ThisProgram();
  if (program.empty()) return false;
  // The call may write into its command line.
  WideText commandLine = Wide("\"" + program + "\" " + std::to_string(instanceNumber));
  STARTUPINFOW startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started;
  ZeroMemory(&started, sizeof started);
  if (!CreateProcessW(Wide(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return false;
  }
  FileHandle process(started.hProcess);
  FileHandle thread(started.hThread);
  // The new copy may ask for the foreground when it shows its window.
  (void)AllowSetForegroundWindow(started.dwProcessId);
  return true;
}

}  // namespace

int Places::FreeInstanceNumber() const {
  for (int number = 1; number < INT_MAX; ++number) {
    const std::string section = SettingsSection(number);
    if (!store_.HasSection(section) && !PlaceRunning(section)) return number;
  }
  return 0;
}

bool Places::AddPlace(int fromInstanceNumber) {
  const int number = FreeInstanceNumber();
  if (number <= 0 || !StartCopy(number)) return false;
  // The new place comes back at sign-in when the one it was added from does; a portable copy
  // started by hand makes no shortcuts.
  if (StartsAtSignIn(fromInstanceNumber)) (void)MakeStartupShortcut(number);
  // Its properties window in front, so that the user names the place at once.
  return ShowRunningCopy(SettingsSection(number), NEW_COPY_WAIT_MS);
}

void Places::ForgetShortcuts(int instanceNumber) { DeletePlaceShortcuts(instanceNumber); }
