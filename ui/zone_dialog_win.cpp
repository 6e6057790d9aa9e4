#include "ui/zone_dialog_win.h"

#include <utility>
#include <vector>

#include "base/wide_text_win.h"
#include "clock/country_week.h"
#include "clock/place_settings.h"
#include "clock/remote_clock.h"
#include "res/resource.h"
#include "ui/offset_text.h"
#include "ui/window_geometry_win.h"

namespace {

// Item data of the list's entries that are not zones of this computer.
constexpr LRESULT NO_ZONE_ITEM = -1;
constexpr LRESULT UNKNOWN_ZONE_ITEM = -2;

}  // namespace

ZoneDialog::ZoneDialog(HINSTANCE instance, std::string zone, int workDays, std::string timeFormat)
    : DialogWindow(instance, IDD_TIME_ZONE),
      zone_(std::move(zone)),
      workDays_(workDays),
      timeFormat_(std::move(timeFormat)) {}

BOOL ZoneDialog::OnInitDialog() {
  CentreOverOwner(Hwnd());
  zones_ = ListSystemZones();
  search_ = ZoneSearch(zones_);
  for (const ZoneEntry& zone : zones_) zoneKnown_ = zoneKnown_ || zone.keyName == zone_;
  FillList();
  ShowNow();
  return TRUE;
}

bool ZoneDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message != WM_COMMAND) return DialogWindow::OnMessage(message, wParam, lParam, result);
  switch (LOWORD(wParam)) {
    case IDC_ZONE_SEARCH:
      if (HIWORD(wParam) == EN_CHANGE) FillList();
      return true;
    case IDC_ZONE_LIST:
      if (HIWORD(wParam) == LBN_SELCHANGE) {
        userPicked_ = SelectedZone(&userZone_);
        ShowNow();
      }
      if (HIWORD(wParam) == LBN_DBLCLK && TakeSelection()) EndDialog(IDOK);
      return true;
    case IDOK:
      // Nothing selected (a search that matched nothing): the choice stays as it was.
      (void)TakeSelection();
      EndDialog(IDOK);
      return true;
    case IDCANCEL:
      EndDialog(IDCANCEL);
      return true;
    default:
      return false;
  }
}

// Without a search, the entry for no zone heads the list, and a stored zone this computer lacks
// follows it; a search lists only the zones it finds, so that Enter never takes either.
void ZoneDialog::FillList() {
  HWND list = GetDlgItem(Hwnd(), IDC_ZONE_LIST);
  const std::string search = WindowText(GetDlgItem(Hwnd(), IDC_ZONE_SEARCH));
  const bool searching = search.find_first_not_of(" \t") != std::string::npos;
  // The zone chosen so far is only where the list starts: a search does not keep it.
  const std::string* kept = userPicked_ ? &userZone_ : searching ? nullptr : &zone_;
  auto isKept = [&](const std::string& keyName) { return kept && *kept == keyName; };
  (void)SendMessageW(list, WM_SETREDRAW, FALSE, 0);
  (void)SendMessageW(list, LB_RESETCONTENT, 0, 0);
  listedCountries_.clear();
  auto add = [&](const std::string& text, LRESULT data, bool isSelected, const std::string& country = std::string()) {
    LRESULT index = SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
    if (index < 0) return;
    listedCountries_.resize(static_cast<std::size_t>(index) + 1);
    listedCountries_[static_cast<std::size_t>(index)] = country;
    (void)SendMessageW(list, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    if (isSelected) (void)SendMessageW(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  };
  if (!searching) {
    add(LoadResourceString(Instance(), IDS_NO_ZONE), NO_ZONE_ITEM, isKept(std::string()));
    if (!zone_.empty() && !zoneKnown_) {
      add(FormatPrompt(LoadResourceString(Instance(), IDS_ZONE_NOT_HERE), zone_), UNKNOWN_ZONE_ITEM, isKept(zone_));
    }
  }
  const std::string matchFormat = LoadResourceString(Instance(), IDS_ZONE_MATCH);
  for (const ZoneMatch& match : search_.Find(search)) {
    const ZoneEntry& zone = zones_[match.zone];
    const std::string text = match.note.empty() ? zone.displayName : FormatPrompt(matchFormat, zone.displayName, match.note);
    add(text, static_cast<LRESULT>(match.zone), isKept(zone.keyName), match.countryCode);
  }
  if (SendMessageW(list, LB_GETCURSEL, 0, 0) == LB_ERR) (void)SendMessageW(list, LB_SETCURSEL, 0, 0);
  (void)SendMessageW(list, WM_SETREDRAW, TRUE, 0);
  (void)InvalidateRect(list, nullptr, TRUE);
  ShowNow();
}

bool ZoneDialog::SelectedZone(std::string* keyName) const {
  HWND list = GetDlgItem(Hwnd(), IDC_ZONE_LIST);
  LRESULT index = SendMessageW(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return false;
  LRESULT data = SendMessageW(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
  if (data == NO_ZONE_ITEM) {
    keyName->clear();
  } else if (data == UNKNOWN_ZONE_ITEM) {
    *keyName = zone_;
  } else if (data >= 0 && static_cast<std::size_t>(data) < zones_.size()) {
    *keyName = zones_[static_cast<std::size_t>(data)].keyName;
  } else {
    return false;
  }
  return true;
}

std::string ZoneDialog::SelectedCountry() const {
  LRESULT index = SendDlgItemMessageW(Hwnd(), IDC_ZONE_LIST, LB_GETCURSEL, 0, 0);
  if (index < 0 || static_cast<std::size_t>(index) >= listedCountries_.size()) return std::string();
  return listedCountries_[static_cast<std::size_t>(index)];
}

bool ZoneDialog::TakeSelection() {
  if (!SelectedZone(&zone_)) return false;
  country_ = SelectedCountry();
  return true;
}

// The line under the list: the time in the selected zone now, whether daylight-saving time applies
// there, and whether it is a work day there: by the country the entry was found by, else by the
// place's days.
void ZoneDialog::ShowNow() {
  std::string keyName;
  std::string line;
  if (!SelectedZone(&keyName)) {
    line = "";
  } else if (keyName.empty()) {
    line = LoadResourceString(Instance(), IDS_NO_ZONE_NOW);
  } else {
    clock_.SetZone(keyName);
    std::tm there{};
    if (!clock_.ZoneTime(std::time(nullptr), &there)) {
      line = LoadResourceString(Instance(), IDS_ZONE_UNAVAILABLE_NOW);
    } else {
      const std::string country = SelectedCountry();
      const int workDays = country.empty() ? workDays_ : CountryWorkDays(country.c_str());
      line = FormatPrompt(LoadResourceString(Instance(), IDS_ZONE_NOW), FormatTimeText(there, timeFormat_),
                          LoadResourceString(Instance(), there.tm_isdst > 0 ? IDS_DAYLIGHT_TIME : IDS_STANDARD_TIME),
                          LoadResourceString(Instance(), IsWorkDay(workDays, there.tm_wday) ? IDS_WORK_DAY : IDS_WEEKEND));
    }
  }
  SetText(GetDlgItem(Hwnd(), IDC_ZONE_NOW), line);
}
