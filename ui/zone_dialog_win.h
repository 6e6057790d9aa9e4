// The Time Zone window: picks the place's time zone from this computer's list, or none.
#ifndef FARHOUR_UI_ZONE_DIALOG_WIN_H
#define FARHOUR_UI_ZONE_DIALOG_WIN_H

#include <ctime>
#include <string>
#include <vector>

#include "clock/ansi_text.h"
#include "clock/system_zone_clock_win.h"
#include "clock/zone_search.h"
#include "ui/dialog_window_win.h"

class ZoneDialog : public DialogWindow {
 public:
  // zone: the key name chosen so far, empty for none. The time under the list is written with
  // timeFormat, the tip's format.
  ZoneDialog(HINSTANCE instance, std::string zone, std::string timeFormat, CharacterLength characters);
  // After OK: the key name chosen, empty for none.
  const std::string& Zone() const { return zone_; }

 protected:
  BOOL OnInitDialog() override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

 private:
  // The entries that hold the search text. The zone the user selected in the list stays selected
  // while it is listed; else the first match is, which Enter then takes.
  void FillList();
  void ShowNow();
  // The key name of the selected entry; false when nothing is selected.
  bool SelectedZone(std::string* keyName) const;

  std::string zone_;
  std::string timeFormat_;
  CharacterLength characters_;
  std::vector<ZoneEntry> zones_;  // names in the ANSI code page, as the list shows them
  ZoneSearch search_;
  bool zoneKnown_ = false;  // whether this computer has zone_
  // The entry last selected in the list by the user, not by a search.
  bool userPicked_ = false;
  std::string userZone_;
  SystemZoneClock clock_;
};

#endif
