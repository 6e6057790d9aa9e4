#include <windows.h>

#include "app/clock_app_win.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int) {
  ClockApp app(instance, commandLine);
  return app.InitInstance();
}
