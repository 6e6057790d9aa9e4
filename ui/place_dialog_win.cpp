#include "ui/place_dialog_win.h"

#include <commdlg.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

#include <time.h>  // _tzset

#include "base/dpi_win.h"
#include "base/handles_win.h"
#include "base/utf8_text.h"
#include "base/wide_text_win.h"
#include "clock/country_week.h"
#include "res/identity.h"
#include "res/resource.h"
#include "tray/tray_events.h"
#include "ui/about_dialog_win.h"
#include "ui/locale_text_win.h"
#include "ui/offset_text.h"
#include "ui/window_geometry.h"
#include "ui/window_geometry_win.h"
#include "ui/zone_dialog_win.h"

namespace {

constexpr int PLACE_MAX_CHARS = 10;
// The Icon group's buttons in order: Built-in and Icon Files are IconFrom's 0 and 1.
constexpr int HOUR_ICON_CHOICE = 2;

// The tip's time format from the user's locale pictures. Both lookups come first, so a failure of
// either keeps the format in force.
void ReadTipTimeFormat(Place& place) {
  std::string timePicture;
  std::string longDatePicture;
  if (!ReadLocalePicture(LOCALE_STIMEFORMAT, &timePicture)) return;
  if (!ReadLocalePicture(LOCALE_SLONGDATE, &longDatePicture)) return;
  place.BuildTipTimeFormat(timePicture, longDatePicture);
}

LRESULT AddListText(HWND list, UINT message, const std::string& text) {
  return SendMessageW(list, message, 0, reinterpret_cast<LPARAM>(Wide(text).c_str()));
}

// A command of the icon's menu, as the menu sends it and as automation tools send it: the item's id
// with 0 in the high word, and no control. The menu's ids have a range above every control's.
bool IsTrayCommand(WPARAM wParam, LPARAM lParam) {
  return lParam == 0 && HIWORD(wParam) == 0 && LOWORD(wParam) >= ID_TRAY_FIRST && LOWORD(wParam) <= ID_TRAY_LAST;
}
static_assert(IDC_NO_WORK_DAY < ID_TRAY_FIRST && IDC_ZONE_NOW < ID_TRAY_FIRST && IDM_ABOUTBOX < ID_TRAY_FIRST,
              "the icon's menu has ids of its own");

}  // namespace

PlaceDialog::PlaceDialog(HINSTANCE instance, ProfileStore& store, PlaceKeeper& places, int instanceNumber,
                         bool showAtStart)
    : DialogWindow(instance, IDD_PLACE),
      store_(store),
      places_(places),
      instanceNumber_(instanceNumber),
      showAtStart_(showAtStart),
      place_(zoneClock_),
      trayIcon_(instance),
      tray_(place_, *this, trayIcon_) {
  programIcon_ = LoadIconW(instance, MAKEINTRESOURCEW(IDR_MAINFRAME));
  notFoundTip_ = LoadResourceString(instance, IDS_NOT_FOUND_TIP);
  noTimerTip_ = LoadResourceString(instance, IDS_NO_TIMER_TIP);
  PlaceSettings& settings = place_.Settings();
  std::string country;
  if (ReadLocalePicture(LOCALE_ICOUNTRY, &country)) ApplyCountryDefaults(settings, std::atoi(country.c_str()));
  LoadSettings(store_, instanceNumber_, settings);
  (void)MeasureTrayIconSize();
}

bool PlaceDialog::MeasureTrayIconSize() {
  const bool changed = trayIcon_.MeasureIconSize();
  if (changed || !trayProgramIcon_) {
    trayProgramIcon_ = trayIcon_.LoadResourceIcon(IDR_MAINFRAME);
    const PlaceSettings& settings = place_.Settings();
    LoadCustomIcons(customIcons_, settings.userActiveIcon, settings.userInActiveIcon, TrayMetrics());
  }
  return changed;
}

void PlaceDialog::SetWindowIcons() {
  OwnedIcon big = LoadIconAtMetric(Instance(), IDR_MAINFRAME, SM_CXICON, Dpi());
  OwnedIcon small = LoadIconAtMetric(Instance(), IDR_MAINFRAME, SM_CXSMICON, Dpi());
  // Shared program icon where the resource gives none at that size.
  HICON bigShown = big ? big.Get() : programIcon_;
  HICON smallShown = small ? small.Get() : programIcon_;
  (void)SendMessageW(Hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(bigShown));
  (void)SendMessageW(Hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(smallShown));
  // The window no longer shows the icons of the previous DPI, which go now.
  bigWindowIcon_ = std::move(big);
  smallWindowIcon_ = std::move(small);
}

void PlaceDialog::OnDpiChanged(UINT) {
  SetWindowIcons();
  if (MeasureTrayIconSize()) tray_.ImagesChanged();
}

void PlaceDialog::HoldZone(const std::string& zone) {
  heldZone_ = zone;
  heldZoneKnown_ = place_.ZoneOffset(zone, &heldZoneOffset_);
}

bool PlaceDialog::SavePlace() {
  if (removed_) return true;
  place_.BringOffsetInStep();
  return SaveSettings(store_, instanceNumber_, place_.Settings());
}

BOOL PlaceDialog::OnInitDialog() {
  AppendAboutCommand();
  SetWindowIcons();
  // The template sits at (0, 0) without a centring style: the window starts centred on the work
  // area, and later showings leave it where the user put it.
  CentreOverOwner(Hwnd());
  ReadTipTimeFormat(place_);
  FillLists();
  LabelWorkDays();
  draft_ = place_.Settings();
  HoldZone(draft_.zone);
  (void)UpdateData(false);
  trayIcon_.Attach(Hwnd());
  (void)trayIcon_.ReadTheme();
  tray_.CreateTray();
  refreshTimerFailed_ = !ArmRefreshTimer();
  // At sign-in the shell often refuses icons for a while: ask it again soon, then at each refresh.
  if (tray_.AddPending()) {
    addRetriesLeft_ = ADD_RETRY_COUNT;
    (void)SetTimer(Hwnd(), ADD_RETRY_TIMER_ID, ADD_RETRY_PERIOD_MS, nullptr);
  }
  HWND ok = GetDlgItem(Hwnd(), IDOK);
  if (ok) {
    (void)EnableWindow(ok, FALSE);
    (void)ShowWindow(ok, SW_HIDE);
  }
  if (instanceNumber_ > 0) {
    SetText(Hwnd(), WindowText(Hwnd()) + " (" + std::to_string(instanceNumber_) + ")");
  }
  places_.Announce(Hwnd(), instanceNumber_);
  (void)PostMessageW(Hwnd(), AFTER_START_MESSAGE, 0, 0);
  return TRUE;
}

void PlaceDialog::AppendAboutCommand() {
  HMENU systemMenu = GetSystemMenu(Hwnd(), FALSE);
  if (!systemMenu) return;
  std::string about = LoadResourceString(Instance(), IDS_ABOUTBOX);
  if (about.empty()) return;
  (void)AppendMenuW(systemMenu, MF_SEPARATOR, 0, nullptr);
  (void)AppendMenuW(systemMenu, MF_STRING, IDM_ABOUTBOX, Wide(about).c_str());
}

void PlaceDialog::FillLists() {
  FillHalfHours(GetDlgItem(Hwnd(), IDC_FROM), 0, LoadResourceString(Instance(), IDS_AM));
  FillHalfHours(GetDlgItem(Hwnd(), IDC_TO), 12, LoadResourceString(Instance(), IDS_PM));
  HWND names = GetDlgItem(Hwnd(), IDC_ICON_NAME);
  for (int i = 0; i < BUILTIN_ICON_COUNT; ++i) {
    (void)AddListText(names, CB_ADDSTRING, LoadResourceString(Instance(), IDS_ICON_NAME_FIRST + i));
  }
}

void PlaceDialog::LabelWorkDays() {
  LocaleWeekOrder(weekOrder_);
  for (int position = 0; position < DAYS_IN_WEEK; ++position) {
    const std::string name = LocaleDayName(Instance(), weekOrder_[position]);
    SetText(GetDlgItem(Hwnd(), IDC_WORK_DAY_FIRST + position), LiteralLabel(name));
  }
}

int PlaceDialog::TickedWorkDays() const {
  int workDays = 0;
  for (int position = 0; position < DAYS_IN_WEEK; ++position) {
    if (IsDlgButtonChecked(Hwnd(), IDC_WORK_DAY_FIRST + position) == BST_CHECKED) {
      workDays |= 1 << weekOrder_[position];
    }
  }
  return workDays;
}

void PlaceDialog::TickWorkDays(int workDays) {
  for (int position = 0; position < DAYS_IN_WEEK; ++position) {
    const bool ticked = IsWorkDay(workDays, weekOrder_[position]);
    (void)CheckDlgButton(Hwnd(), IDC_WORK_DAY_FIRST + position, ticked ? BST_CHECKED : BST_UNCHECKED);
  }
  ShowNoWorkDayNote();
}

void PlaceDialog::ShowNoWorkDayNote() {
  (void)ShowWindow(GetDlgItem(Hwnd(), IDC_NO_WORK_DAY), TickedWorkDays() == 0 ? SW_SHOWNA : SW_HIDE);
}

void PlaceDialog::DoDataExchange(DataExchange& dx) {
  PlaceSettings& settings = draft_;
  dx.Text(IDC_PLACE, settings.place);
  dx.MaxChars(IDC_PLACE, settings.place, PLACE_MAX_CHARS);
  if (dx.Saving()) {
    settings.workDays = TickedWorkDays();
  } else {
    TickWorkDays(settings.workDays);
  }
  dx.ListIndex(IDC_FROM, settings.from);
  dx.ListIndex(IDC_TO, settings.to);
  // With a zone the field shows the zone's offset, read-only, and OK takes the zone instead;
  // without one it is the user's, checked as always.
  if (!heldZoneKnown_) {
    dx.Offset(IDC_OFFSET, settings.offset);
    dx.OffsetRange(IDC_OFFSET, settings.offset);
  } else if (!dx.Saving()) {
    dx.Offset(IDC_OFFSET, heldZoneOffset_);
  }
  if (!dx.Failed()) (void)SendDlgItemMessageW(Hwnd(), IDC_OFFSET, EM_SETREADONLY, heldZoneKnown_, 0);
  dx.ListIndex(IDC_ICON_NAME, settings.icon);
  dx.Text(IDC_ACTIVE_FILE, settings.userActiveIcon);
  dx.Text(IDC_INACTIVE_FILE, settings.userInActiveIcon);
  // The hour there leaves IconFrom as it was, for copies that know only the other two. An IconFrom
  // of another value, stored by hand, ticks no button, as before.
  int iconChoice = settings.iconStyle == ICON_STYLE_HOUR ? HOUR_ICON_CHOICE : settings.iconFrom;
  if (settings.iconStyle != ICON_STYLE_HOUR && iconChoice == HOUR_ICON_CHOICE) iconChoice = -1;
  dx.Radio(IDC_BUILTIN, iconChoice);
  if (dx.Saving()) {
    settings.iconStyle = iconChoice == HOUR_ICON_CHOICE ? ICON_STYLE_HOUR : ICON_STYLE_PICTURES;
    if (iconChoice != HOUR_ICON_CHOICE) settings.iconFrom = iconChoice;
  }
}

// The icon's notifications and the request to show the window reach it before its message map.
bool PlaceDialog::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == TRAY_NOTIFY_MESSAGE) {
    OnTrayNotify(lParam);
  } else if (places_.AsksToShow(message)) {
    ShowProperties(true);
  } else if (trayIcon_.IsTaskbarCreated(message)) {
    // Windows also announces the shell after a change of the display's scale.
    (void)MeasureTrayIconSize();
    tray_.ReAddTray();
  } else if (message == WM_DISPLAYCHANGE) {
    if (MeasureTrayIconSize()) tray_.ImagesChanged();
  }
  return DialogWindow::WindowProc(message, wParam, lParam, result);
}

void PlaceDialog::OnTrayNotify(LPARAM notification) {
  const unsigned previous = lastTrayNotification_;
  lastTrayNotification_ = static_cast<unsigned>(notification);
  const TrayAction action = TrayActionFor(previous, lastTrayNotification_);
  switch (action) {
    case TrayAction::REFRESH: tray_.UpdateTray(); break;
    case TrayAction::MENU_AT_CURSOR:
    case TrayAction::MENU_AT_ICON:
      trayIcon_.ShowTrayMenu(place_.ReadRemoteClock().tip, TRAY_ICON_ID, action == TrayAction::MENU_AT_ICON);
      break;
    case TrayAction::SHOW_PROPERTIES: ShowProperties(true); break;
    case TrayAction::NONE: break;
  }
}

void PlaceDialog::OnTrayCommand(UINT id) {
  switch (id) {
    case ID_TRAY_NOW:
    case ID_TRAY_PROPERTIES: ShowProperties(false); break;
    case ID_TRAY_ADD_PLACE:
      if (!places_.AddPlace(instanceNumber_)) TellFailure(IDS_PLACE_NOT_STARTED, std::string());
      break;
    case ID_TRAY_PLAN_CALL: places_.PlanCall(); break;
    case ID_TRAY_REMOVE_PLACE: OnRemovePlace(); break;
    case ID_TRAY_EXIT: OnSysCommand(SC_CLOSE); break;
    default: break;
  }
}

std::string PlaceDialog::PlaceTitle() const {
  const std::string name = CutTip(place_.Settings().place);
  return name.empty() ? WindowText(Hwnd()) : name;
}

void PlaceDialog::TellFailure(UINT text, const std::string& detail) {
  (void)ShowMessage(FormatPrompt(LoadResourceString(Instance(), text), detail));
}

void PlaceDialog::OnRemovePlace() {
  // A place without a name goes by its window's title, "Farhour (2)"; a stored name of any length is
  // cut as the tip cuts it.
  const std::string question = FormatPrompt(LoadResourceString(Instance(), IDS_REMOVE_QUESTION), PlaceTitle());
  if (ShowMessage(question, MB_YESNO | MB_ICONEXCLAMATION | MB_DEFBUTTON2) != IDYES) return;
  // Settings that stay keep the place running, with its shortcuts, as it was.
  if (!store_.DeleteSection(SettingsSection(instanceNumber_))) {
    TellFailure(IDS_SETTINGS_NOT_DELETED, PlaceTitle());
    return;
  }
  removed_ = true;
  places_.ForgetShortcuts(instanceNumber_);
}

void PlaceDialog::OnPlacesWorkDone() {
  for (const PlaceFailure& failure : places_.FinishedWork()) TellFailure(failure.text, failure.detail);
  if (removed_ && !places_.Working()) EndDialog(1);
}

void PlaceDialog::OnStarted() {
  if (TakeNotSavedMark(store_, instanceNumber_)) TellFailure(IDS_NOT_SAVED_AT_SIGN_OUT, PlaceTitle());
  if (showAtStart_) ShowProperties(true);
}

// Each showing starts a new draft from the stored settings; the running place is left as it is.
void PlaceDialog::ShowProperties(bool toForeground) {
  draft_ = place_.Settings();
  LoadSettings(store_, instanceNumber_, draft_);
  HoldZone(draft_.zone);
  (void)UpdateData(false);
  (void)ShowWindow(Hwnd(), SW_SHOW);
  if (toForeground) (void)SetForegroundWindow(Hwnd());
}

bool PlaceDialog::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_SYSCOMMAND:
      // The system uses the low four bits of a system command itself; the command is the rest.
      OnSysCommand(static_cast<UINT>(wParam & 0xFFF0));
      return (wParam & 0xFFF0) == IDM_ABOUTBOX || (wParam & 0xFFF0) == SC_CLOSE;
    case WM_PAINT:
      if (!IsIconic(Hwnd())) return false;
      OnPaint();
      return true;
    case WM_QUERYDRAGICON:
      *result = reinterpret_cast<LRESULT>(OnQueryDragIcon());
      return true;
    case WM_SETTINGCHANGE:
      OnSettingChange(reinterpret_cast<const wchar_t*>(lParam));
      return false;
    case WM_TIMECHANGE:
      zoneClock_.Invalidate();
      // This computer's zone may have changed with its clock; the runtime reads it only when asked.
      _tzset();
      // The clock moved: the next turn of the minute is somewhere else now.
      if (!refreshTimerFailed_) (void)ArmRefreshTimer();
      return false;
    case WM_TIMER:
      OnTimer(static_cast<UINT_PTR>(wParam));
      return true;
    case WM_QUERYENDSESSION:
      *result = TRUE;
      return true;
    case WM_ENDSESSION:
      OnEndSession(wParam != FALSE);
      return true;
    case PLACES_WORK_DONE_MESSAGE:
      OnPlacesWorkDone();
      return true;
    case AFTER_START_MESSAGE:
      OnStarted();
      return true;
    case WM_COMMAND:
      if (IsTrayCommand(wParam, lParam)) {
        OnTrayCommand(LOWORD(wParam));
        return true;
      }
      if (HIWORD(wParam) != BN_CLICKED) return false;
      if (LOWORD(wParam) >= IDC_WORK_DAY_FIRST && LOWORD(wParam) < IDC_WORK_DAY_FIRST + DAYS_IN_WEEK) {
        ShowNoWorkDayNote();
        return true;
      }
      switch (LOWORD(wParam)) {
        case IDC_APPLY: OnApply(); return true;
        case IDC_DISMISS: OnDismiss(); return true;
        case IDC_BROWSE_ACTIVE: OnBrowseActive(); return true;
        case IDC_BROWSE_INACTIVE: OnBrowseInactive(); return true;
        case IDC_TIME_ZONE: OnTimeZone(); return true;
        // Ending this window ends the program: only the confirmed Close may do that.
        case IDOK:
        case IDCANCEL: return true;
        default: return false;
      }
    default:
      return DialogWindow::OnMessage(message, wParam, lParam, result);
  }
}

void PlaceDialog::OnSysCommand(UINT id) {
  if (id == IDM_ABOUTBOX) {
    AboutDialog about(Instance());
    (void)about.RunModal(Hwnd());
  } else if (id == SC_CLOSE) {
    int answer = ShowMessage(LoadResourceString(Instance(), IDS_CLOSE_QUESTION), MB_YESNO | MB_ICONEXCLAMATION);
    if (answer == IDYES) EndDialog(1);
  }
}

void PlaceDialog::OnPaint() {
  PaintDc dc(Hwnd());
  (void)SendMessageW(Hwnd(), WM_ICONERASEBKGND, reinterpret_cast<WPARAM>(dc.Get()), 0);
  int iconWidth = GetSystemMetrics(SM_CXICON);
  int iconHeight = GetSystemMetrics(SM_CYICON);
  RECT client;
  (void)GetClientRect(Hwnd(), &client);
  Point origin = CentredIconOrigin(client.right - client.left, client.bottom - client.top, iconWidth, iconHeight);
  (void)DrawIcon(dc.Get(), origin.x, origin.y, programIcon_);
}

void PlaceDialog::OnSettingChange(const wchar_t* section) {
  // The zones' rules, and this computer's zone, may have come with the change; they are looked up
  // again when next needed (the runtime's only when asked).
  zoneClock_.Invalidate();
  _tzset();
  // Windows announces a change of the taskbar's light or dark look this way.
  if (section && lstrcmpW(section, L"ImmersiveColorSet") == 0 && trayIcon_.ReadTheme()) tray_.UpdateTray();
  if (section && lstrcmpW(section, L"intl") == 0) {
    ReadTipTimeFormat(place_);
    // The week may now start on another day: the boxes keep the days ticked, not the places.
    const int workDays = TickedWorkDays();
    LabelWorkDays();
    TickWorkDays(workDays);
  }
}

bool PlaceDialog::ArmRefreshTimer() {
  return SetTimer(Hwnd(), REFRESH_TIMER_ID, MillisecondsToNextMinute(std::time(nullptr)), nullptr) != 0;
}

void PlaceDialog::OnTimer(UINT_PTR id) {
  tray_.UpdateTray();
  // Should the timer not be set again, it keeps the period it has.
  if (id == REFRESH_TIMER_ID && !refreshTimerFailed_) (void)ArmRefreshTimer();
  if (id != ADD_RETRY_TIMER_ID) return;
  if (!tray_.AddPending() || --addRetriesLeft_ <= 0) (void)KillTimer(Hwnd(), ADD_RETRY_TIMER_ID);
}

void PlaceDialog::OnApply() {
  if (!UpdateData(true)) return;
  draft_.zone = heldZone_;
  PlaceSettings& settings = place_.Settings();
  settings = draft_;
  if (!SavePlace()) TellFailure(IDS_NOT_SAVED, PlaceTitle());
  LoadCustomIcons(customIcons_, settings.userActiveIcon, settings.userInActiveIcon, TrayMetrics());
  tray_.UpdateTray();
  (void)ShowWindow(Hwnd(), SW_HIDE);
}

// The draft is dropped with the window: the next showing starts a new one.
void PlaceDialog::OnDismiss() { (void)ShowWindow(Hwnd(), SW_HIDE); }

void PlaceDialog::OnBrowse(std::string& path) {
  if (!UpdateData(true)) return;
  if (!BrowseIconFile(path)) return;
  (void)UpdateData(false);
}

// The zone picked is held by the window, and only OK takes it with the other fields, so that Cancel
// leaves the place as it was. Going back to no zone leaves the offset shown, now the user's to edit.
void PlaceDialog::OnTimeZone() {
  ZoneDialog picker(Instance(), heldZone_, TickedWorkDays(), place_.TipTimeFormat());
  if (picker.RunModal(Hwnd()) != IDOK) return;
  HoldZone(picker.Zone());
  // A zone found by a city or a country proposes that country's week, which the user may change.
  if (!picker.Country().empty()) TickWorkDays(CountryWorkDays(picker.Country().c_str()));
  if (heldZoneKnown_) SetText(GetDlgItem(Hwnd(), IDC_OFFSET), FormatOffsetText(heldZoneOffset_));
  (void)SendDlgItemMessageW(Hwnd(), IDC_OFFSET, EM_SETREADONLY, heldZoneKnown_, 0);
}

bool PlaceDialog::BrowseIconFile(std::string& path) {
  wchar_t file[MAX_PATH] = L"";
  (void)lstrcpynW(file, Wide(path).c_str(), MAX_PATH);
  // The filter's parts are separated by zeros, and a second zero ends it.
  WideText filter = Wide(LoadResourceString(Instance(), IDS_ICON_FILES_FILTER) + "|");
  for (std::size_t i = 0; i < filter.size(); ++i) filter.data()[i] = filter.data()[i] == L'|' ? L'\0' : filter.data()[i];
  OPENFILENAMEW ofn;
  ZeroMemory(&ofn, sizeof ofn);
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = Hwnd();
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = file;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = L"ico";
  ofn.Flags = OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST | OFN_EXPLORER | OFN_ENABLESIZING;
  // The file dialog's library is loaded when it is first needed rather than at every start, where
  // it would delay the icon's arrival in the notification area.
  if (!commonDialogs_) commonDialogs_ = LoadedLibrary(LoadLibraryW(L"comdlg32.dll"));
  using GetOpenFileNameFunction = BOOL(WINAPI*)(LPOPENFILENAMEW);
  FARPROC found = commonDialogs_ ? GetProcAddress(commonDialogs_.Get(), "GetOpenFileNameW") : nullptr;
  auto getOpenFileName = reinterpret_cast<GetOpenFileNameFunction>(reinterpret_cast<void*>(found));
  if (!getOpenFileName || !getOpenFileName(&ofn)) return false;
  path = Utf8(file);
  return true;
}

void PlaceDialog::OnEndSession(bool ending) {
  // Windows ends the process after this message without running the tear-down, and no one is there
  // to read a message: the save is tried once more, and a failure kept for the next start to tell.
  if (!ending || SavePlace() || SavePlace()) return;
  // A mark that cannot be kept either is lost with the session: nothing else is left to try.
  (void)KeepNotSavedMark(store_, instanceNumber_);
}

void PlaceDialog::DestroyWindow() {
  if (!tornDown_ && Hwnd()) {
    tornDown_ = true;
    (void)KillTimer(Hwnd(), REFRESH_TIMER_ID);
    (void)KillTimer(Hwnd(), ADD_RETRY_TIMER_ID);
    tray_.DeleteTray();
    if (!SavePlace()) TellFailure(IDS_NOT_SAVED, PlaceTitle());
    FreeCustomIcons(customIcons_);
    places_.Announce(nullptr, instanceNumber_);
  }
  DialogWindow::DestroyWindow();
}
