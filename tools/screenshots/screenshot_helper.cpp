// Drives a running farhour.exe for the screenshot script, the way a person would, and prints the
// screen rectangle of what is to be photographed:
//   screenshot_helper prepare   forgets the unnumbered instance's settings, so that it starts fresh,
//                               and has Wine frame farhour's windows itself (see below)
//   screenshot_helper finish    gives the framing of farhour's windows back to the window manager
//   screenshot_helper show      double-clicks the tray icon; prints the properties window's rectangle
//   screenshot_helper zone      presses Time Zone..., types a city, whose zone the search selects, sets
//                               the window beside the properties window; prints the rectangle of both
//   screenshot_helper hour      closes the Time Zone window and ticks "The hour there"; prints the
//                               properties window's rectangle
//   screenshot_helper about     chooses About from the system menu; prints the About box's rectangle
//   screenshot_helper planner   stores New York, London, Tel Aviv and Auckland, chooses Plan a
//                               call... in its menu and types 15:00; prints the planner's rectangle
//   screenshot_helper close     closes the About box and the planner, forgets those places, answers
//                               the Close question with Yes, waits
// Rectangles are printed as "WIDTHxHEIGHT+X+Y", the geometry ImageMagick's -crop takes.
#include <windows.h>
#include <shlwapi.h>

#include <cstdio>
#include <string>

namespace {

constexpr UINT TRAY_NOTIFY = 0x8064;
constexpr UINT TRAY_ID = 999;
constexpr int IDC_APPLY = 1006;
constexpr int IDC_TIME_ZONE = 1015;
constexpr int IDC_HOUR_ICON = 1028;
constexpr int IDC_ZONE_SEARCH = 1016;
constexpr int ID_TRAY_PLAN_CALL = 32778;
constexpr int IDC_PLANNER_TIME = 1035;
constexpr DWORD WAIT_MS = 20000;
const char* const APP_KEY = "Software\\Brindlewood\\Farhour\\";

// The planner's places: section, name, zone, first half hour of work, work days.
struct ShownPlace {
  const char* section;
  const char* name;
  const char* zone;
  DWORD from;
  DWORD workDays;
};
// The running place's section is written too: the planner shows what is stored.
const ShownPlace SHOWN_PLACES[] = {
    {"Settings", "New York", "Eastern Standard Time", 18, 0x3E},
    {"Settings91", "London", "GMT Standard Time", 18, 0x3E},
    {"Settings92", "Tel Aviv", "Israel Standard Time", 18, 0x1F},
    {"Settings93", "Auckland", "New Zealand Standard Time", 17, 0x3E},
};
// On a display without a window manager nobody draws the title bars of windows that Wine leaves to
// one; windows that Wine frames itself look as they do on Windows.
const char* const WINE_FRAMING_KEY = "Software\\Wine\\AppDefaults\\farhour.exe\\X11 Driver";

struct Search {
  const char* caption;
  DWORD processId;  // 0: any process
  bool question;    // a message box with Yes and No
  HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  char className[32] = "";
  char text[256] = "";
  GetClassNameA(hwnd, className, sizeof className);
  GetWindowTextA(hwnd, text, sizeof text);
  if (std::string(className) != "#32770") return TRUE;
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (search->processId && pid != search->processId) return TRUE;
  bool match = search->question ? IsWindowVisible(hwnd) && GetDlgItem(hwnd, IDYES) && GetDlgItem(hwnd, IDNO)
                                : std::string(text) == search->caption;
  if (!match) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND WaitForDialog(const char* caption, DWORD processId, bool question) {
  DWORD end = GetTickCount() + WAIT_MS;
  for (;;) {
    Search search{caption, processId, question, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found || static_cast<LONG>(end - GetTickCount()) <= 0) return search.found;
    Sleep(100);
  }
}

// The properties window: the "Farhour" dialog that has the OK button of the properties.
HWND WaitForProperties() {
  DWORD end = GetTickCount() + WAIT_MS;
  for (;;) {
    Search search{"Farhour", 0, false, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found && GetDlgItem(search.found, IDC_APPLY)) return search.found;
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return nullptr;
    Sleep(100);
  }
}

DWORD ProcessOf(HWND hwnd) {
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  return pid;
}

// Prints the window's rectangle once it has been painted.
int PrintRectangle(HWND hwnd) {
  RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(500);
  RECT r;
  if (!GetWindowRect(hwnd, &r)) return 1;
  std::printf("%ldx%ld+%ld+%ld\n", r.right - r.left, r.bottom - r.top, r.left, r.top);
  return 0;
}

// Lets the window's thread handle what has been sent or posted to it.
void Pump(DWORD milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    Sleep(20);
  }
}

// A small window of the helper, in front: the person's other work.
HWND TakeTheFront() {
  WNDCLASSA wc = {};
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "FarhourScreenshotWork";
  RegisterClassA(&wc);
  HWND work = CreateWindowExA(WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP | WS_VISIBLE, 0, 0, 1, 1, nullptr,
                              nullptr, wc.hInstance, nullptr);
  (void)SetForegroundWindow(work);
  Pump(300);
  return work;
}

bool DoubleClickTrayIcon(HWND window) {
  PostMessageA(window, TRAY_NOTIFY, TRAY_ID, WM_LBUTTONDBLCLK);
  for (int i = 0; i < 100 && !IsWindowVisible(window); ++i) Sleep(50);
  Pump(300);
  return IsWindowVisible(window) != FALSE;
}

int Show() {
  HWND window = WaitForProperties();
  if (!window) return 1;
  if (!DoubleClickTrayIcon(window)) return 1;
  // Wine draws the title bar of a window that became active while it was hidden as inactive when
  // it is shown. After another window has had the front, the next double-click brings it forward
  // with an active title bar, as on Windows.
  HWND work = TakeTheFront();
  bool shown = DoubleClickTrayIcon(window);
  DestroyWindow(work);
  return shown ? PrintRectangle(window) : 1;
}

int Zone() {
  HWND window = WaitForProperties();
  if (!window) return 1;
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDC_TIME_ZONE, BN_CLICKED),
               reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_TIME_ZONE)));
  HWND zone = WaitForDialog("Time Zone", ProcessOf(window), false);
  if (!zone) return 1;
  HWND search = GetDlgItem(zone, IDC_ZONE_SEARCH);
  for (char c : std::string("Tel Aviv")) PostMessageA(search, WM_CHAR, static_cast<unsigned char>(c), 1);
  Pump(500);
  // Side by side, both on the screen: the properties window moves to the left edge.
  SetWindowPos(window, nullptr, 8, 40, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT properties, picker;
  GetWindowRect(window, &properties);
  SetWindowPos(zone, nullptr, properties.right + 8, properties.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
  Pump(300);
  GetWindowRect(zone, &picker);
  RedrawWindow(zone, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
  Sleep(500);
  RECT both;
  UnionRect(&both, &properties, &picker);
  std::printf("%ldx%ld+%ld+%ld\n", both.right - both.left, both.bottom - both.top, both.left, both.top);
  return 0;
}

// Closes the Time Zone window if it is open.
void CloseZoneWindow(HWND window) {
  Search zone{"Time Zone", ProcessOf(window), false, nullptr};
  EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&zone));
  if (zone.found) PostMessageA(zone.found, WM_COMMAND, IDCANCEL, 0);
  Pump(300);
}

int Hour() {
  HWND window = WaitForProperties();
  if (!window) return 1;
  CloseZoneWindow(window);
  (void)SendMessageA(GetDlgItem(window, IDC_HOUR_ICON), BM_CLICK, 0, 0);
  Pump(300);
  return PrintRectangle(window);
}

int About() {
  HWND window = WaitForProperties();
  if (!window) return 1;
  CloseZoneWindow(window);
  PostMessageA(window, WM_SYSCOMMAND, 16, 0);
  HWND about = WaitForDialog("About Farhour", ProcessOf(window), false);
  return about ? PrintRectangle(about) : 1;
}

void StorePlace(const ShownPlace& place) {
  HKEY key = nullptr;
  const std::string path = std::string(APP_KEY) + place.section;
  if (RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
      ERROR_SUCCESS) {
    return;
  }
  const auto text = [key](const char* name, const char* value) {
    (void)RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value), lstrlenA(value) + 1);
  };
  const auto number = [key](const char* name, DWORD value) {
    (void)RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  };
  text("Place", place.name);
  text("Offset", "0.000000");
  text("Zone", place.zone);
  number("From", place.from);
  number("To", 10);
  number("WorkDays", place.workDays);
  RegCloseKey(key);
}

int Planner() {
  HWND window = WaitForProperties();
  if (!window) return 1;
  for (const ShownPlace& place : SHOWN_PLACES) StorePlace(place);
  PostMessageA(window, WM_COMMAND, MAKEWPARAM(ID_TRAY_PLAN_CALL, 0), 0);
  HWND planner = WaitForDialog("Plan a call", ProcessOf(window), false);
  if (!planner) return 1;
  HWND time = GetDlgItem(planner, IDC_PLANNER_TIME);
  for (char c : std::string("15:00")) PostMessageA(time, WM_CHAR, static_cast<unsigned char>(c), 1);
  Pump(500);
  return PrintRectangle(planner);
}

int Close() {
  HWND window = WaitForProperties();
  if (!window) return 1;
  DWORD pid = ProcessOf(window);
  for (const ShownPlace& place : SHOWN_PLACES) {
    (void)SHDeleteKeyA(HKEY_CURRENT_USER, (std::string(APP_KEY) + place.section).c_str());
  }
  for (const char* box : {"About Farhour", "Time Zone", "Plan a call"}) {
    Search search{box, pid, false, nullptr};
    EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
    if (search.found) PostMessageA(search.found, WM_COMMAND, IDCANCEL, 0);
  }
  Pump(300);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
  HWND question = WaitForDialog(nullptr, pid, true);
  if (!question) return 1;
  PostMessageA(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(question, IDYES)));
  bool ended = !process || WaitForSingleObject(process, WAIT_MS) == WAIT_OBJECT_0;
  if (process) CloseHandle(process);
  return ended ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
  std::string command = argc > 1 ? argv[1] : "";
  if (command == "prepare") {
    (void)SHDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brindlewood\\Farhour\\Settings");
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, WINE_FRAMING_KEY, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS) {
      return 1;
    }
    (void)RegSetValueExA(key, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
    RegCloseKey(key);
    return 0;
  }
  if (command == "finish") {
    (void)SHDeleteKeyA(HKEY_CURRENT_USER, WINE_FRAMING_KEY);
    return 0;
  }
  if (command == "show") return Show();
  if (command == "zone") return Zone();
  if (command == "hour") return Hour();
  if (command == "about") return About();
  if (command == "planner") return Planner();
  if (command == "close") return Close();
  std::fprintf(stderr, "usage: screenshot_helper prepare|show|zone|hour|about|planner|close|finish\n");
  return 2;
}
