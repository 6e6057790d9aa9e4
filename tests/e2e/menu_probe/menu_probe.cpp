// A hook DLL that the end-to-end tests load into farhour's process. Wine keeps menus and icon
// handles process-local, so what a person sees in an open menu, the system menu or a message box's
// icon can only be read from inside the program. The test installs ProbeGetMessage as a
// WH_GETMESSAGE hook on the program's thread and posts it a request; the hook answers in a file.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

const char* const REQUEST_MESSAGE = "FarhourProbeRequest";

// Requests, in the posted message's wParam; lParam is a serial number echoed on the first line.
enum Request : WPARAM {
  REQUEST_SYNC = 0,          // nothing: the answer shows that everything posted before it was handled
  REQUEST_POPUP_MENU = 1,    // the items of the open popup menu of this process
  REQUEST_SYSTEM_MENU = 2,   // the items of the system menu of the window the request was posted to
  REQUEST_MESSAGE_ICON = 3,  // the standard icon shown by the visible message box of this process
};

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindOpenMenu(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char className[16] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (pid == search->processId && IsWindowVisible(hwnd) && lstrcmpA(className, "#32768") == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char className[16] = "";
  GetClassNameA(hwnd, className, sizeof className);
  // A message box's text is the static control 0xFFFF.
  if (pid == search->processId && IsWindowVisible(hwnd) && lstrcmpA(className, "#32770") == 0 &&
      GetDlgItem(hwnd, 0xFFFF)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// One line per item: id, type and state in hex, text.
std::string DescribeMenu(HMENU menu) {
  std::string out;
  if (!menu) return "no menu\n";
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    MENUITEMINFOA item;
    ZeroMemory(&item, sizeof item);
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item)) {
      out += "error\n";
      continue;
    }
    char head[64];
    std::snprintf(head, sizeof head, "%u\t%x\t%x\t", item.wID, item.fType, item.fState);
    out += head;
    out += text;
    out += "\n";
  }
  return out;
}

std::string DescribeMessageIcon() {
  Search search{GetCurrentProcessId(), nullptr};
  EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return "no message box\n";
  struct Known {
    LPCSTR id;
    const char* name;
  };
  const Known known[] = {{IDI_EXCLAMATION, "exclamation"}, {IDI_HAND, "hand"},
                         {IDI_QUESTION, "question"}, {IDI_ASTERISK, "asterisk"}};
  HICON shown = nullptr;
  for (HWND c = GetWindow(search.found, GW_CHILD); c && !shown; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c)) {
      shown = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
    }
  }
  if (!shown) return "none\n";
  // Standard icons are shared: every load in a process gives the same handle.
  for (const Known& k : known) {
    if (LoadIconA(nullptr, k.id) == shown) return std::string(k.name) + "\n";
  }
  return "other\n";
}

void Answer(LPARAM serial, const std::string& body) {
  char dir[MAX_PATH] = "";
  GetTempPathA(sizeof dir, dir);
  char path[MAX_PATH + 64];
  std::snprintf(path, sizeof path, "%sfarhour_probe_%lu.txt", dir, GetCurrentProcessId());
  std::string temp = std::string(path) + ".part";
  FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) return;
  std::fprintf(file, "%ld\n%s", static_cast<long>(serial), body.c_str());
  std::fclose(file);
  // The test waits for the file: it must appear whole.
  MoveFileExA(temp.c_str(), path, MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessage(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT request = RegisterWindowMessageA(REQUEST_MESSAGE);
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg && request && msg->message == request) {
    std::string body;
    switch (msg->wParam) {
      case REQUEST_POPUP_MENU: {
        Search search{GetCurrentProcessId(), nullptr};
        EnumWindows(FindOpenMenu, reinterpret_cast<LPARAM>(&search));
        body = search.found
                   ? DescribeMenu(reinterpret_cast<HMENU>(SendMessageA(search.found, MN_GETHMENU, 0, 0)))
                   : "no open menu\n";
        break;
      }
      case REQUEST_SYSTEM_MENU:
        body = DescribeMenu(GetSystemMenu(msg->hwnd, FALSE));
        break;
      case REQUEST_MESSAGE_ICON:
        body = DescribeMessageIcon();
        break;
      default:
        break;
    }
    Answer(msg->lParam, body);
    // The program itself never sees the request.
    msg->message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
