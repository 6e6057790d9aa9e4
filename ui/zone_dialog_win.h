// The Time Zone window: picks the place's time zone from this computer's list, or none.
#ifndef FARHOUR_UI_ZONE_DIALOG_WIN_H
#define FARHOUR_UI_ZONE_DIALOG_WIN_H

#include <ctime>
#include <string>
#include <vector>

#include "clock/system_zone_clock_win.h"
#include "clock/zone_search.h"
#include "ui/dialog_window_win.h"

class ZoneDialog : public DialogWindow {
 public:
  // zone: the key name chosen so far, empty for none; workDays: the place's days so far. The time
  // under the list is written with timeFormat, the tip's format.
  ZoneDialog(HINSTANCE instance, std::string zone, int workDays, std::string timeFormat);
  // After OK: the key name chosen, empty for none.
  const std::string& Zone() const { return zone_; }
  // After OK: the ISO 3166 code of the country of the city or country that the entry chosen was
  // found by; empty when it was found by the zone's own names, or listed without a search.
  const std::string& Country() const { return country_; }

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
  // The country the selected entry was found by, or empty.
  std::string SelectedCountry() const;
  // The selected entry becomes the choice; false, and the choice as it was, when none is selected.
  bool TakeSelection();

  std::string zone_;
  std::string country_;
  int workDays_;
  std::string timeFormat_;
  std::vector<ZoneEntry> zones_;  // names in the ANSI code page, as the list shows them
  std::vector<std::string> listedCountries_;  // of each entry of the list, in its order
  ZoneSearch search_;
  bool zoneKnown_ = false;  // whether this computer has zone_
  // The entry last selected in the list by the user, not by a search.
  bool userPicked_ = false;
  std::string userZone_;
  SystemZoneClock clock_;
};

#endif
