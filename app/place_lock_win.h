// One running copy per place. Two copies of one place would each save their whole record at exit,
// the last one silently undoing the other's edits, and show two identical icons.
#ifndef FARHOUR_APP_PLACE_LOCK_WIN_H
#define FARHOUR_APP_PLACE_LOCK_WIN_H

#include <windows.h>

#include <string>

#include "base/handles_win.h"

// The lock a copy holds for as long as it runs, named after its settings section and the user.
// Taking it is atomic, so of two copies started at the same instant one runs.
class PlaceLock {
 public:
  explicit PlaceLock(const std::string& section);
  // False when another copy of the place holds the lock. A lock that cannot be made at all holds:
  // better a second copy than a place that cannot start.
  bool Held() const { return held_; }

 private:
  FileHandle mutex_;
  bool held_ = true;
};

// Whether a copy of the place runs now, holding its lock.
bool PlaceRunning(const std::string& section);

// Asks the running copy of the place to show its properties window in front, as a double-click on
// its icon does. False when no copy answered within the time given.
bool ShowRunningCopy(const std::string& section, DWORD milliseconds);

#endif
