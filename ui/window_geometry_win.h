// Where the program's windows go on the screen.
#ifndef FARHOUR_UI_WINDOW_GEOMETRY_WIN_H
#define FARHOUR_UI_WINDOW_GEOMETRY_WIN_H

#include <windows.h>

// Centres a window over its owner, or over the work area when the owner is hidden or minimised.
void CentreOverOwner(HWND hwnd);

#endif
