// The least a program does to put an icon in the notification area: one window and one add. The
// start-up benchmark compares Farhour's time to its icon with this program's, built the same way.
#include <windows.h>
#include <shellapi.h>

namespace {

constexpr UINT TRAY_NOTIFY_MESSAGE = WM_APP + 100;
constexpr UINT TRAY_ICON_ID = 999;

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcA(hwnd, message, wParam, lParam);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  WNDCLASSA windowClass;
  ZeroMemory(&windowClass, sizeof windowClass);
  windowClass.lpfnWndProc = WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = "MinimalTray";
  if (!RegisterClassA(&windowClass)) return 1;
  HWND hwnd = CreateWindowExA(0, windowClass.lpszClassName, "Minimal tray", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                              CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr, instance, nullptr);
  if (!hwnd) return 1;

  NOTIFYICONDATAA record;
  ZeroMemory(&record, sizeof record);
  record.cbSize = 88;
  record.hWnd = hwnd;
  record.uID = TRAY_ICON_ID;
  record.uFlags = NIF_MESSAGE | NIF_ICON;
  record.uCallbackMessage = TRAY_NOTIFY_MESSAGE;
  record.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));  // IDI_APPLICATION, a shared system icon
  if (!Shell_NotifyIconA(NIM_ADD, &record)) return 2;

  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  (void)Shell_NotifyIconA(NIM_DELETE, &record);
  return 0;
}
