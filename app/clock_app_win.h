// The application: start-up, the hidden run of the properties window, and the end of the process.
#ifndef FARHOUR_APP_CLOCK_APP_WIN_H
#define FARHOUR_APP_CLOCK_APP_WIN_H

#include <windows.h>

class ClockApp {
 public:
  explicit ClockApp(HINSTANCE instance);
  // Runs the program until the user confirms its removal; returns the process's exit code.
  int InitInstance();

 private:
  HINSTANCE instance_;
};

#endif
