#include "ui/zone_dialog_win.h"

#include <utility>
#include <vector>

#include "clock/country_week.h"
#include "clock/place_settings.h"
#include "clock/remote_clock.h"
#include "res/resource.h"
#include "ui/window_geometry_win.h"

namespace {

// Item data of the list's entries that are not zones of this computer.
constexpr LRESULT NO_ZONE_ITEM = -1;
constexpr LRESULT UNKNOWN_ZONE_ITEM = -2;

const char* const NO_ZONE_TEXT = "(No zone: a fixed offset from this computer's clock)";
const char* const UNKNOWN_ZONE_SUFFIX = " (not available on this computer)";

// Between UTF-8, in which the search and its table of places are written, and the ANSI code page,
// in which the window's controls take text. *exact is false when a character had no equivalent.
std::string Recode(const std::string& text, UINT from, UINT to, bool* exact = nullptr) {
  if (exact) *exact = true;
  if (text.empty()) return text;
  const int size = static_cast<int>(text.size());
  const int wideLength = MultiByteToWideChar(from, 0, text.data(), size, nullptr, 0);
  if (wideLength <= 0) return std::string();
  std::vector<WCHAR> wide(static_cast<std::size_t>(wideLength));
  (void)MultiByteToWideChar(from, 0, text.data(), size, wide.data(), wideLength);
  // UTF-8 holds every character, and the call refuses to be asked whether it did.
  BOOL usedDefault = FALSE;
  const bool toUtf8 = to == CP_UTF8 || (to == CP_ACP && GetACP() == CP_UTF8);
  BOOL* askDefault = toUtf8 ? nullptr : &usedDefault;
  const DWORD flags = toUtf8 ? 0 : WC_NO_BEST_FIT_CHARS;
  const int length = WideCharToMultiByte(to, flags, wide.data(), wideLength, nullptr, 0, nullptr, askDefault);
  if (length <= 0) return std::string();
  std::string out(static_cast<std::size_t>(length), '\0');
  (void)WideCharToMultiByte(to, flags, wide.data(), wideLength, &out[0], length, nullptr, askDefault);
  if (exact) *exact = usedDefault == FALSE;
  return out;
}

std::string Utf8FromAnsi(const std::string& text) { return Recode(text, CP_ACP, CP_UTF8); }

// What matched, after the display name. A code page without the dash or an accented letter gets
// " - " and the letter without its accent; what it still lacks shows as its default character.
std::string AnsiNote(const std::string& note) {
  bool exact = false;
  std::string ansi = Recode(" \xE2\x80\x94 " + note, CP_UTF8, CP_ACP, &exact);
  return exact ? ansi : Recode(" - " + FoldAccents(note), CP_UTF8, CP_ACP);
}

}  // namespace

ZoneDialog::ZoneDialog(HINSTANCE instance, std::string zone, int workDays, std::string timeFormat,
                       CharacterLength characters)
    : DialogWindow(instance, IDD_TIME_ZONE),
      zone_(std::move(zone)),
      workDays_(workDays),
      timeFormat_(std::move(timeFormat)),
      characters_(characters) {}

BOOL ZoneDialog::OnInitDialog() {
  CentreOverOwner(Hwnd());
  zones_ = ListSystemZones();
  std::vector<ZoneEntry> named;
  for (const ZoneEntry& zone : zones_) {
    named.push_back(ZoneEntry{Utf8FromAnsi(zone.keyName), Utf8FromAnsi(zone.displayName), zone.biasMinutes});
  }
  search_ = ZoneSearch(named);
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
  (void)SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  (void)SendMessageA(list, LB_RESETCONTENT, 0, 0);
  listedCountries_.clear();
  auto add = [&](const std::string& text, LRESULT data, bool isSelected, const std::string& country = std::string()) {
    LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) return;
    listedCountries_.resize(static_cast<std::size_t>(index) + 1);
    listedCountries_[static_cast<std::size_t>(index)] = country;
    (void)SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    if (isSelected) (void)SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  };
  if (!searching) {
    add(NO_ZONE_TEXT, NO_ZONE_ITEM, isKept(std::string()));
    if (!zone_.empty() && !zoneKnown_) add(zone_ + UNKNOWN_ZONE_SUFFIX, UNKNOWN_ZONE_ITEM, isKept(zone_));
  }
  for (const ZoneMatch& match : search_.Find(Utf8FromAnsi(search))) {
    const ZoneEntry& zone = zones_[match.zone];
    const std::string text = match.note.empty() ? zone.displayName : zone.displayName + AnsiNote(match.note);
    add(text, static_cast<LRESULT>(match.zone), isKept(zone.keyName), match.countryCode);
  }
  if (SendMessageA(list, LB_GETCURSEL, 0, 0) == LB_ERR) (void)SendMessageA(list, LB_SETCURSEL, 0, 0);
  (void)SendMessageA(list, WM_SETREDRAW, TRUE, 0);
  (void)InvalidateRect(list, nullptr, TRUE);
  ShowNow();
}

bool ZoneDialog::SelectedZone(std::string* keyName) const {
  HWND list = GetDlgItem(Hwnd(), IDC_ZONE_LIST);
  LRESULT index = SendMessageA(list, LB_GETCURSEL, 0, 0);
  if (index == LB_ERR) return false;
  LRESULT data = SendMessageA(list, LB_GETITEMDATA, static_cast<WPARAM>(index), 0);
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
  LRESULT index = SendDlgItemMessageA(Hwnd(), IDC_ZONE_LIST, LB_GETCURSEL, 0, 0);
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
    line = "The Offset field gives the place's time: a fixed number of hours from this computer's clock.";
  } else {
    clock_.SetZone(keyName);
    std::tm there{};
    if (!clock_.ZoneTime(std::time(nullptr), &there)) {
      line = "Not available on this computer: the stored Offset gives the place's time.";
    } else {
      const std::string country = SelectedCountry();
      const int workDays = country.empty() ? workDays_ : CountryWorkDays(country.c_str());
      line = "Now there: " + FormatTimeText(there, timeFormat_, characters_) +
             (there.tm_isdst > 0 ? ", daylight-saving time" : ", standard time") +
             (IsWorkDay(workDays, there.tm_wday) ? ", work day" : ", weekend");
    }
  }
  (void)SetDlgItemTextA(Hwnd(), IDC_ZONE_NOW, line.c_str());
}
