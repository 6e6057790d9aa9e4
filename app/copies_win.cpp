#include "app/copies_win.h"

#include "base/wide_text_win.h"
#include "res/identity.h"

namespace {

// Windows' user names are short; the cut keeps the name within the limit of an object's name.
constexpr DWORD USER_NAME_MAX = 64;
// How often a start looks again for the window of a copy that is still setting up.
constexpr DWORD FIND_RETRY_MS = 100;

// The name of the place's copy in this session: its lock's and its window's mark. The user's name
// is in it for a program started in the session as another user, who has settings of their own.
std::string CopyName(const std::string& section) {
  wchar_t user[USER_NAME_MAX + 1] = L"";
  DWORD size = USER_NAME_MAX + 1;
  if (!GetUserNameW(user, &size)) user[0] = L'\0';
  user[USER_NAME_MAX] = L'\0';
  return COMPANY_NAME "." APPLICATION_NAME "." + Utf8(user) + "." + section;
}

// "Local\": one lock per sign-in session.
std::string LockName(const std::string& section) { return "Local\\" + CopyName(section); }

struct WindowSearch {
  WideText mark;
  HWND found;
};

BOOL CALLBACK FindMarkedWindow(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<WindowSearch*>(lParam);
  if (!GetPropW(hwnd, search->mark.c_str())) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

PlaceLock::PlaceLock(const std::string& section) {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, Wide(LockName(section)).c_str());
  const DWORD error = GetLastError();
  mutex_ = FileHandle(mutex);
  held_ = !mutex || error != ERROR_ALREADY_EXISTS;
}

bool PlaceRunning(const std::string& section) {
  FileHandle mutex(OpenMutexW(SYNCHRONIZE, FALSE, Wide(LockName(section)).c_str()));
  return static_cast<bool>(mutex);
}

void MarkPlaceWindow(HWND window, const std::string& section) {
  (void)SetPropW(window, Wide(CopyName(section)).c_str(), window);
}

void UnmarkPlaceWindow(HWND window, const std::string& section) {
  (void)RemovePropW(window, Wide(CopyName(section)).c_str());
}

HWND FindPlaceWindow(const std::string& section) {
  WindowSearch search{Wide(CopyName(section)), nullptr};
  (void)EnumWindows(FindMarkedWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

std::string PlannerMark() { return CopyName(PLANNER_SECTION); }

HWND FindPlannerWindow() { return FindPlaceWindow(PLANNER_SECTION); }

UINT ShowPropertiesMessage() {
  static const UINT message = RegisterWindowMessageW(L"" COMPANY_NAME "." APPLICATION_NAME ".ShowProperties");
  return message;
}

bool ShowRunningCopy(const std::string& section, DWORD milliseconds) {
  const UINT request = ShowPropertiesMessage();
  if (request == 0) return false;
  for (const DWORD start = GetTickCount(); GetTickCount() - start < milliseconds; Sleep(FIND_RETRY_MS)) {
    HWND window = FindPlaceWindow(section);
    if (!window) continue;
    DWORD processId = 0;
    (void)GetWindowThreadProcessId(window, &processId);
    // Started by the user, this process may hand the foreground on to the copy it asks.
    (void)AllowSetForegroundWindow(processId);
    // Sent, so that the start ends once the copy has answered, and says whether it did.
    DWORD_PTR answer = 0;
    const DWORD spent = GetTickCount() - start;
    const DWORD left = spent < milliseconds ? milliseconds - spent : 1;
    return SendMessageTimeoutW(window, request, 0, 0, SMTO_ABORTIFHUNG, left, &answer) != 0;
  }
  return false;
}
