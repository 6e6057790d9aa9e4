// The user's places beyond the running one: a new place started from the icon's menu, and the
// shortcuts of a place removed.
#ifndef FARHOUR_APP_PLACES_WIN_H
#define FARHOUR_APP_PLACES_WIN_H

#include <windows.h>

#include "clock/profile_store.h"
#include "ui/place_dialog_win.h"
#include "ui/planner_window_win.h"

class Places : public PlaceKeeper {
 public:
  Places(HINSTANCE instance, ProfileStore& store) : store_(store), planner_(instance, store) {}

  bool AddPlace(int fromInstanceNumber) override;
  void ForgetShortcuts(int instanceNumber) override;
  void PlanCall() override;

  // The lowest number above 0 that has neither stored settings nor a running copy; 0 when every
  // number is taken.
  int FreeInstanceNumber() const;

 private:
  ProfileStore& store_;
  // The one planner of all places, when this copy opened it.
  PlannerWindow planner_;
};

#endif
