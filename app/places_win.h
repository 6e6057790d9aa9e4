// The user's places beyond the running one: a new place started from the icon's menu, and the
// shortcuts of a place removed.
#ifndef FARHOUR_APP_PLACES_WIN_H
#define FARHOUR_APP_PLACES_WIN_H

#include <windows.h>

#include "clock/profile_store.h"
#include "ui/place_dialog_win.h"

class Places : public PlaceKeeper {
 public:
  explicit Places(ProfileStore& store) : store_(store) {}

  bool AddPlace(int fromInstanceNumber) override;
  void ForgetShortcuts(int instanceNumber) override;

  // The lowest number above 0 that has neither stored settings nor a running copy; 0 when every
  // number is taken.
  int FreeInstanceNumber() const;

 private:
  ProfileStore& store_;
};

#endif
