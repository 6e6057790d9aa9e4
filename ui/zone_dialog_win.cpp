#include "ui/zone_dialog_win.h"

#include <utility>

#include "clock/remote_clock.h"
#include "res/resource.h"
#include "ui/about_dialog_win.h"

namespace {

// Item data of the list's entries that are not zones of this computer.
constexpr LRESULT NO_ZONE_ITEM = -1;
constexpr LRESULT UNKNOWN_ZONE_ITEM = -2;

const char* const NO_ZONE_TEXT = "(No zone: a fixed offset from this computer's clock)";
const char* const UNKNOWN_ZONE_SUFFIX = " (not available on this computer)";

std::string ControlText(HWND control) {
  char text[256] = "";
  (void)GetWindowTextA(control, text, sizeof text);
  return text;
}

}  // namespace

ZoneDialog::ZoneDialog(HINSTANCE instance, std::string zone, std::string timeFormat, CharacterLength characters)
    : DialogWindow(instance, IDD_TIME_ZONE),
      zone_(std::move(zone)),
      timeFormat_(std::move(timeFormat)),
      characters_(characters) {}

BOOL ZoneDialog::OnInitDialog() {
  CentreOverOwner(Hwnd());
  zones_ = ListSystemZones();
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
      if (HIWORD(wParam) == LBN_SELCHANGE) ShowNow();
      if (HIWORD(wParam) == LBN_DBLCLK && SelectedZone(&zone_)) EndDialog(IDOK);
      return true;
    case IDOK:
      // Nothing selected (a search that matched nothing): the choice stays as it was.
      (void)SelectedZone(&zone_);
      EndDialog(IDOK);
      return true;
    case IDCANCEL:
      EndDialog(IDCANCEL);
      return true;
    default:
      return false;
  }
}

// The entry for no zone heads the list; a stored zone this computer lacks follows it; then the
// zones whose names hold the search text. The entry of the current choice is selected.
void ZoneDialog::FillList() {
  HWND list = GetDlgItem(Hwnd(), IDC_ZONE_LIST);
  std::string selected = zone_;
  if (SendMessageA(list, LB_GETCURSEL, 0, 0) != LB_ERR) (void)SelectedZone(&selected);
  const std::string search = ControlText(GetDlgItem(Hwnd(), IDC_ZONE_SEARCH));
  (void)SendMessageA(list, WM_SETREDRAW, FALSE, 0);
  (void)SendMessageA(list, LB_RESETCONTENT, 0, 0);
  auto add = [&](const std::string& text, LRESULT data, bool isSelected) {
    LRESULT index = SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text.c_str()));
    if (index < 0) return;
    (void)SendMessageA(list, LB_SETITEMDATA, static_cast<WPARAM>(index), data);
    if (isSelected) (void)SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  };
  add(NO_ZONE_TEXT, NO_ZONE_ITEM, selected.empty());
  if (!zone_.empty() && !zoneKnown_) add(zone_ + UNKNOWN_ZONE_SUFFIX, UNKNOWN_ZONE_ITEM, selected == zone_);
  for (std::size_t i = 0; i < zones_.size(); ++i) {
    if (!ZoneMatches(zones_[i], search)) continue;
    add(zones_[i].displayName, static_cast<LRESULT>(i), zones_[i].keyName == selected);
  }
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

// The line under the list: the time in the selected zone now, and whether daylight-saving time
// applies there.
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
      line = "Now there: " + FormatTimeText(there, timeFormat_, characters_) +
             (there.tm_isdst > 0 ? ", daylight-saving time" : ", standard time");
    }
  }
  (void)SetDlgItemTextA(Hwnd(), IDC_ZONE_NOW, line.c_str());
}
