#include "app/place_lock_win.h"

#include "base/wide_text_win.h"
#include "res/identity.h"
#include "res/resource.h"
#include "ui/place_dialog_win.h"

namespace {

// Windows' user names are short; the cut keeps the name within the limit of an object's name.
constexpr DWORD USER_NAME_MAX = 64;

// "Local\": one lock per sign-in session, and the user's name in it for a program started there as
// another user, who has settings of their own.
std::string LockName(const std::string& section) {
  wchar_t user[USER_NAME_MAX + 1] = L"";
  DWORD size = USER_NAME_MAX + 1;
  if (!GetUserNameW(user, &size)) user[0] = L'\0';
  user[USER_NAME_MAX] = L'\0';
  return "Local\\" COMPANY_NAME "." APPLICATION_NAME "." + Utf8(user) + "." + section;
}

}  // namespace

PlaceLock::PlaceLock(const std::string& section) {
  const std::string name = LockName(section);
  HANDLE mutex = CreateMutexW(nullptr, FALSE, Wide(name).c_str());
  const DWORD error = GetLastError();
  mutex_ = FileHandle(mutex);
  held_ = !mutex || error != ERROR_ALREADY_EXISTS;
}

bool PlaceRunning(const std::string& section) {
  FileHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, Wide(LockName(section)).c_str()));
  return static_cast<bool>(mutex);
}

bool ShowRunningCopy(const std::string& section, DWORD milliseconds) {
  const DWORD start = GetTickCount();
  // Started at the same instant, the copy that runs may not have its window yet.
  for (;;) {
    const DWORD spent = GetTickCount() - start;
    if (spent >= milliseconds) return false;
    if (HWND window = FindPlaceWindow(section)) {
      DWORD processId = 0;
      (void)GetWindowThreadProcessId(window, &processId);
      // Started by the user, this process may hand the foreground on to the copy it asks.
      (void)AllowSetForegroundWindow(processId);
      DWORD_PTR answer = 0;
      return SendMessageTimeoutW(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDBLCLK,
                                 SMTO_ABORTIFHUNG, milliseconds - spent, &answer) != 0;
    }
    Sleep(100);
  }
}
