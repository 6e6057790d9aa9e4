// The hour icon on Windows: the drawing made a platform icon, and the taskbar's look as the user's
// settings keep it.
#ifndef FARHOUR_ICONS_HOUR_ICON_WIN_H
#define FARHOUR_ICONS_HOUR_ICON_WIN_H

#include <windows.h>

#include "base/handles_win.h"
#include "icons/hour_icon.h"

// The icon of DrawHourIcon at size pixels, with its transparency in both the alpha channel and the
// mask; null when the platform makes none or the size is not one an icon can have.
OwnedIcon MakeHourIcon(int size, const HourFace& face, TaskbarTheme theme);

// Windows 10 and 11 keep the taskbar's look per user ("SystemUsesLightTheme" under the current
// theme's Personalize key, 0 for dark); without that value, or with one of another kind, the
// taskbar is the classic light one.
TaskbarTheme ReadTaskbarTheme();

#endif
