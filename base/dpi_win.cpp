#include "base/dpi_win.h"

#include "base/handles_win.h"

namespace {

// From shellscalingapi.h and winuser.h of Windows 8.1 and 10, which the program's headers predate.
constexpr int MDT_EFFECTIVE_DPI_VALUE = 0;
using GetDpiForMonitorFunction = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);
using GetSystemMetricsForDpiFunction = int(WINAPI*)(int, UINT);
using DpiContext = HANDLE;
using GetWindowDpiAwarenessContextFunction = DpiContext(WINAPI*)(HWND);
using AreDpiAwarenessContextsEqualFunction = BOOL(WINAPI*)(DpiContext, DpiContext);
const DpiContext PER_MONITOR_AWARE_V2 = reinterpret_cast<DpiContext>(static_cast<INT_PTR>(-4));

template <typename Function>
Function Lookup(HMODULE module, const char* name) {
  FARPROC found = module ? GetProcAddress(module, name) : nullptr;
  return reinterpret_cast<Function>(reinterpret_cast<void*>(found));
}

HMODULE User32() { return GetModuleHandleW(L"user32.dll"); }

// shcore.dll is loaded once, at the first question, and stays for the process.
GetDpiForMonitorFunction GetDpiForMonitorCall() {
  static const LoadedLibrary shcore(LoadLibraryW(L"shcore.dll"));
  static const auto call = Lookup<GetDpiForMonitorFunction>(shcore.Get(), "GetDpiForMonitor");
  return call;
}

UINT SystemDpi() {
  HDC screen = GetDC(nullptr);
  if (!screen) return STANDARD_DPI;
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  (void)ReleaseDC(nullptr, screen);
  return dpi > 0 ? static_cast<UINT>(dpi) : STANDARD_DPI;
}

}  // namespace

UINT MonitorDpi(HWND hwnd) {
  const auto getDpiForMonitor = GetDpiForMonitorCall();
  if (getDpiForMonitor) {
    HMONITOR monitor = hwnd ? MonitorFromWindow(hwnd, MONITOR_DEFAULTTOPRIMARY)
                            : MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY);
    UINT x = 0;
    UINT y = 0;
    if (monitor && SUCCEEDED(getDpiForMonitor(monitor, MDT_EFFECTIVE_DPI_VALUE, &x, &y)) && x > 0) return x;
  }
  return SystemDpi();
}

UINT TaskbarDpi() { return MonitorDpi(FindWindowW(L"Shell_TrayWnd", nullptr)); }

int SystemMetricForDpi(int index, UINT dpi) {
  static const auto forDpi = Lookup<GetSystemMetricsForDpiFunction>(User32(), "GetSystemMetricsForDpi");
  if (forDpi) return forDpi(index, dpi);
  // Before Windows 10 the metrics are those of the system's DPI; another DPI scales them.
  const UINT system = SystemDpi();
  const int metric = GetSystemMetrics(index);
  return dpi == system ? metric : MulDiv(metric, static_cast<int>(dpi), static_cast<int>(system));
}

OwnedIcon LoadIconAtSize(HINSTANCE instance, int resourceId, int size) {
  return OwnedIcon(static_cast<HICON>(
      LoadImageW(instance, MAKEINTRESOURCEW(resourceId), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}

OwnedIcon LoadIconAtMetric(HINSTANCE instance, int resourceId, int metric, UINT dpi) {
  return LoadIconAtSize(instance, resourceId, SystemMetricForDpi(metric, dpi));
}

bool PlatformScalesDialogs(HWND hwnd) {
  static const auto contextOf = Lookup<GetWindowDpiAwarenessContextFunction>(User32(), "GetWindowDpiAwarenessContext");
  static const auto equal = Lookup<AreDpiAwarenessContextsEqualFunction>(User32(), "AreDpiAwarenessContextsEqual");
  return contextOf && equal && equal(contextOf(hwnd), PER_MONITOR_AWARE_V2);
}
