// The display scale, asked of whichever Windows runs the program: the calls that know a DPI per
// monitor or per window are looked up at run time, so the program still starts on Windows versions
// without them, and answers from the system's DPI there.
#ifndef FARHOUR_BASE_DPI_WIN_H
#define FARHOUR_BASE_DPI_WIN_H

#include <windows.h>

#include "base/handles_win.h"

// The DPI of 100 %.
constexpr UINT STANDARD_DPI = 96;
// WM_DPICHANGED, which the program's headers predate (Windows 8.1): the new DPI in wParam's low word,
// the suggested window rectangle at lParam.
constexpr UINT WM_DPICHANGED_MESSAGE = 0x02E0;

// The DPI of the monitor that shows the window (or, for null, the primary monitor).
UINT MonitorDpi(HWND hwnd);
// The DPI of the taskbar's monitor, at which the notification area shows its icons.
UINT TaskbarDpi();
// GetSystemMetrics at that DPI: SM_CXSMICON, SM_CXICON and the like.
int SystemMetricForDpi(int index, UINT dpi);
// An icon of the module's resources, size pixels square, drawn for that size where the resource has
// it. Owned: a shared icon keeps the size of its first load.
OwnedIcon LoadIconAtSize(HINSTANCE instance, int resourceId, int size);
// An icon of the module's resources at a metric's size (SM_CXICON, SM_CXSMICON) for the DPI, drawn for
// that size where the resource has it. Owned: a shared icon keeps the size of its first load.
OwnedIcon LoadIconAtMetric(HINSTANCE instance, int resourceId, int metric, UINT dpi);
// Whether Windows itself rescales the thread's dialogs when they move to a monitor of another DPI
// (per-monitor awareness version 2, Windows 10 1703 and later).
bool PlatformScalesDialogs(HWND hwnd);

#endif
