// The user's places beyond the running one: a new place started from the icon's menu, and the
// shortcuts of a place removed. The shell's link objects can take seconds, so their work runs on
// threads of its own and the window hears of its end.
#ifndef FARHOUR_APP_PLACES_WIN_H
#define FARHOUR_APP_PLACES_WIN_H

#include <windows.h>

#include <functional>
#include <memory>
#include <vector>

#include "base/handles_win.h"
#include "clock/profile_store.h"
#include "ui/place_dialog_win.h"
#include "ui/planner_window_win.h"

class Places : public PlaceKeeper {
 public:
  Places(HINSTANCE instance, ProfileStore& store);
  // Waits for the work still going on, which ends in seconds.
  ~Places();
  Places(const Places&) = delete;
  Places& operator=(const Places&) = delete;

  void Announce(HWND window, int instanceNumber) override;
  bool AsksToShow(UINT message) const override;
  bool AddPlace(int fromInstanceNumber) override;
  void ForgetShortcuts(int instanceNumber) override;
  void PlanCall() override;
  bool Working() const override { return !jobs_.empty(); }
  std::vector<PlaceFailure> FinishedWork() override;

  // The lowest number above 0 that has neither stored settings nor a running copy, nor a copy this
  // one started that is still starting; 0 when every number is taken.
  int FreeInstanceNumber();

 private:
  struct Job;
  static DWORD WINAPI RunJob(void* job);
  // Runs the work on a thread of its own; on this one when no thread can be made.
  void Begin(std::function<std::vector<PlaceFailure>()> work);

  ProfileStore& store_;
  // The one planner of all places, when this copy opened it.
  PlannerWindow planner_;
  HWND window_ = nullptr;
  std::string section_;
  std::vector<std::unique_ptr<Job>> jobs_;
  // The copies Add started, until they end: a copy takes its number only when it is up, seconds
  // later, and a second Add before then must not take the same one.
  struct StartedCopy {
    int number;
    FileHandle process;
  };
  std::vector<StartedCopy> started_;
};

#endif
