#include <windows.h>

#include "app/clock_app_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  ClockApp app(instance);
  return app.InitInstance();
}
