// The running copies of this program, one per place. Two copies of one place would each save their
// whole record at exit, the last one silently undoing the other's edits, and show two identical
// icons. A copy holds its place's lock while it runs, marks its window so that the place's later
// starts find it, and answers the request to show its properties window.
#ifndef FARHOUR_APP_COPIES_WIN_H
#define FARHOUR_APP_COPIES_WIN_H

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

// Marks the window as the copy of the place, from its set-up to its tear-down.
void MarkPlaceWindow(HWND window, const std::string& section);
void UnmarkPlaceWindow(HWND window, const std::string& section);
// The window of the copy that runs the place; null when there is none.
HWND FindPlaceWindow(const std::string& section);

// The mark of the call planner's window, which one copy of the session has open for all of them,
// and that window; null when none is open.
std::string PlannerMark();
HWND FindPlannerWindow();

// The message that asks a copy to show its properties window in front. Every copy registers the
// same name, so every copy of the session knows it.
UINT ShowPropertiesMessage();

// Asks the running copy of the place to show its properties window in front, and lets it take the
// foreground from this process. A copy started at the same instant may not have its window yet:
// this waits for it, and for its answer, up to the time given, so it is for a start without a window
// of its own, never for a window's thread. False when no copy answered.
bool ShowRunningCopy(const std::string& section, DWORD milliseconds);

#endif
