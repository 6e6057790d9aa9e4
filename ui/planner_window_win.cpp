#include "ui/planner_window_win.h"

#include <commctrl.h>
#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <utility>

#include <time.h>  // _tzset

#include "base/wide_text_win.h"
#include "clock/country_week.h"
#include "clock/tip_time_format.h"
#include "res/identity.h"
#include "res/resource.h"
#include "ui/locale_text_win.h"
#include "ui/offset_text.h"
#include "ui/work_week.h"

namespace {

const wchar_t* const GRID_CLASS = L"FarhourPlannerGrid";

// Short times, where the locale has them (Windows 7 and later), else its time picture.
constexpr LCTYPE LOCALE_SHORT_TIME = 0x00000079;

// The shading of cells, where high contrast does not choose the system's colours.
const COLORREF AT_WORK_COLOUR = RGB(190, 226, 190);
const COLORREF DAY_OFF_COLOUR = RGB(232, 232, 232);
const COLORREF BEST_COLOUR = RGB(250, 200, 80);
const COLORREF NOW_COLOUR = RGB(210, 0, 0);

bool HighContrast() {
  HIGHCONTRASTW contrast;
  std::memset(&contrast, 0, sizeof contrast);
  contrast.cbSize = sizeof contrast;
  return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
         (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void FillColour(HDC dc, const RECT& r, COLORREF colour) {
  (void)SetBkColor(dc, colour);
  (void)ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void DrawUtf8(HDC dc, const std::string& text, RECT r, UINT format) {
  WideText wide = Wide(text);
  (void)DrawTextW(dc, wide.c_str(), static_cast<int>(wide.size()), &r,
                  format | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void DrawCentred(HDC dc, const std::string& text, const RECT& r) { DrawUtf8(dc, text, r, DT_CENTER | DT_END_ELLIPSIS); }

int TextWidth(HDC dc, const std::string& text) {
  const WideText wide = Wide(text);
  SIZE size = {0, 0};
  return GetTextExtentPoint32W(dc, wide.c_str(), static_cast<int>(wide.size()), &size) ? size.cx : 0;
}

bool SamePlace(const PlaceSettings& a, const PlaceSettings& b) {
  return a.place == b.place && a.offset == b.offset && a.from == b.from && a.to == b.to &&
         a.workDays == b.workDays && a.zone == b.zone;
}

bool SamePlaces(const std::vector<NumberedPlace>& a, const std::vector<NumberedPlace>& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (a[i].number != b[i].number || !SamePlace(a[i].settings, b[i].settings)) return false;
  }
  return true;
}

std::string Joined(const std::vector<std::string>& lines) {
  std::string text;
  for (const std::string& line : lines) text += (text.empty() ? "" : "\r\n") + line;
  return text;
}

}  // namespace

int PlannerWindow::GridLayout::ColumnLeft(int column, int columns) const {
  return nameWidth + (columns > 0 ? MulDiv(width - nameWidth, column, columns) : 0);
}

PlannerWindow::PlannerWindow(HINSTANCE instance, ProfileStore& store, std::string mark)
    : DialogWindow(instance, IDD_PLANNER), store_(store), mark_(std::move(mark)) {}

PlannerWindow::~PlannerWindow() {
  if (Hwnd()) Close();
}

bool PlannerWindow::Open() {
  if (!Hwnd()) {
    INITCOMMONCONTROLSEX controls;
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_DATE_CLASSES;
    (void)InitCommonControlsEx(&controls);
    WNDCLASSW gridClass;
    std::memset(&gridClass, 0, sizeof gridClass);
    gridClass.lpfnWndProc = GridProc;
    gridClass.hInstance = Instance();
    gridClass.hCursor = LoadCursor(nullptr, IDC_ARROW);
    gridClass.lpszClassName = GRID_CLASS;
    // Registered by the first planner of the process; later ones find it there.
    (void)RegisterClassW(&gridClass);
    if (!CreateModeless()) return false;
  }
  if (IsIconic(Hwnd())) (void)ShowWindow(Hwnd(), SW_RESTORE);
  (void)ShowWindow(Hwnd(), SW_SHOW);
  (void)SetForegroundWindow(Hwnd());
  return true;
}

void PlannerWindow::Close() {
  (void)KillTimer(Hwnd(), PLANNER_TIMER_ID);
  (void)RemovePropW(Hwnd(), Wide(mark_).c_str());
  (void)::DestroyWindow(Hwnd());
  grid_ = nullptr;
}

BOOL PlannerWindow::OnInitDialog() {
  (void)SetPropW(Hwnd(), Wide(mark_).c_str(), Hwnd());
  grid_ = GetDlgItem(Hwnd(), IDC_PLANNER_GRID);
  (void)SetWindowLongPtrW(grid_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  font_ = reinterpret_cast<HFONT>(SendMessageW(Hwnd(), WM_GETFONT, 0, 0));
  ReadTexts();
  std::string country;
  here_ = HereHours();
  if (ReadLocalePicture(LOCALE_SISO3166CTRYNAME, &country)) here_.workDays = CountryWorkDays(country.c_str());
  LoadHereHours(store_, here_);
  FillHalfHours(GetDlgItem(Hwnd(), IDC_PLANNER_FROM), 0, LoadResourceString(Instance(), IDS_AM));
  FillHalfHours(GetDlgItem(Hwnd(), IDC_PLANNER_TO), 12, LoadResourceString(Instance(), IDS_PM));
  (void)SendDlgItemMessageW(Hwnd(), IDC_PLANNER_FROM, CB_SETCURSEL, static_cast<WPARAM>(here_.from), 0);
  (void)SendDlgItemMessageW(Hwnd(), IDC_PLANNER_TO, CB_SETCURSEL, static_cast<WPARAM>(here_.to), 0);
  LocaleWeekOrder(weekOrder_);
  for (int position = 0; position < DAYS_IN_WEEK; ++position) {
    const int id = IDC_PLANNER_DAY_FIRST + position;
    SetText(GetDlgItem(Hwnd(), id), LiteralLabel(LocaleDayName(Instance(), weekOrder_[position])));
    (void)CheckDlgButton(Hwnd(), id, IsWorkDay(here_.workDays, weekOrder_[position]) ? BST_CHECKED : BST_UNCHECKED);
  }
  day_ = DayHere(std::time(nullptr));
  ShowDay();
  (void)ReloadPlaces(true);
  Rebuild();
  (void)SetTimer(Hwnd(), PLANNER_TIMER_ID, PLANNER_PERIOD_MS, nullptr);
  (void)SetFocus(grid_);
  return FALSE;
}

void PlannerWindow::ReadTexts() {
  for (int day = 0; day < DAYS_IN_WEEK; ++day) texts_.dayNames[day] = LocaleDayName(Instance(), day);
  std::string picture;
  if (ReadLocalePicture(LOCALE_SHORT_TIME, &picture) || ReadLocalePicture(LOCALE_STIMEFORMAT, &picture)) {
    texts_.timeFormat = ConvertPicture(WithoutSeconds(picture));
  }
  am_.clear();
  pm_.clear();
  (void)ReadLocalePicture(LOCALE_S1159, &am_);
  (void)ReadLocalePicture(LOCALE_S2359, &pm_);
  const HINSTANCE instance = Instance();
  atWorkRow_ = LoadResourceString(instance, IDS_PLANNER_AT_WORK_ROW);
  texts_.atWorkLine = LoadResourceString(instance, IDS_PLANNER_AT_WORK_LINE);
  texts_.closedLine = LoadResourceString(instance, IDS_PLANNER_CLOSED_LINE);
  texts_.dayOffLine = LoadResourceString(instance, IDS_PLANNER_DAY_OFF_LINE);
  texts_.range = LoadResourceString(instance, IDS_PLANNER_RANGE);
  texts_.allAtWork = LoadResourceString(instance, IDS_PLANNER_ALL_AT_WORK);
  texts_.mostAtWork = LoadResourceString(instance, IDS_PLANNER_MOST_AT_WORK);
  texts_.noneAtWork = LoadResourceString(instance, IDS_PLANNER_NONE_AT_WORK);
}

bool PlannerWindow::ReloadPlaces(bool force) {
  std::vector<NumberedPlace> stored = LoadStoredPlaces(store_);
  if (!force && SamePlaces(stored, stored_)) return false;
  stored_ = std::move(stored);
  places_.clear();
  numbers_.clear();
  // A zone's clock keeps the rules it looked up: one clock per zone, kept while a place has it.
  std::vector<std::unique_ptr<SystemZoneClock>> oldClocks = std::move(zoneClocks_);
  zoneClocks_.clear();
  const auto clockOf = [this, &oldClocks](const std::string& zone) -> ZoneClock* {
    for (const auto& clock : zoneClocks_) {
      if (clock->Zone() == zone) return clock.get();
    }
    auto kept = std::find_if(oldClocks.begin(), oldClocks.end(),
                             [&zone](const std::unique_ptr<SystemZoneClock>& clock) { return clock->Zone() == zone; });
    if (kept != oldClocks.end()) {
      zoneClocks_.push_back(std::move(*kept));
      oldClocks.erase(kept);
    } else {
      zoneClocks_.emplace_back(new SystemZoneClock());
      zoneClocks_.back()->SetZone(zone);
    }
    return zoneClocks_.back().get();
  };
  PlannerPlace here;
  here.settings.place = LoadResourceString(Instance(), IDS_PLANNER_HERE);
  here.settings.from = here_.from;
  here.settings.to = here_.to;
  here.settings.workDays = here_.workDays;
  places_.push_back(here);
  numbers_.push_back(-1);
  for (const NumberedPlace& stored : stored_) {
    PlannerPlace place;
    place.settings = stored.settings;
    place.counted = std::find(unticked_.begin(), unticked_.end(), stored.number) == unticked_.end();
    if (!place.settings.zone.empty()) place.zone = clockOf(place.settings.zone);
    places_.push_back(place);
    numbers_.push_back(stored.number);
  }
  return true;
}

void PlannerWindow::Rebuild() {
  const std::time_t now = std::time(nullptr);
  gridData_ = BuildPlannerGrid(places_, day_, now);
  shownMinute_ = static_cast<long long>(now) / 60;
  const int rows = static_cast<int>(places_.size());
  const int columns = static_cast<int>(gridData_.columns.size());
  if (selectedRow_ >= rows) selectedRow_ = rows - 1;
  if (selectedColumn_ >= columns) selectedColumn_ = columns - 1;
  if (selectedColumn_ < 0) selectedColumn_ = std::max(gridData_.nowColumn, 0);
  ShowBestHours();
  ShowConverter();
  (void)InvalidateRect(grid_, nullptr, FALSE);
}

void PlannerWindow::ShowBestHours() {
  SetText(GetDlgItem(Hwnd(), IDC_PLANNER_BEST), BestHoursText(gridData_, places_, texts_));
}

void PlannerWindow::ShowConverter() {
  const std::string typedText = WindowText(GetDlgItem(Hwnd(), IDC_PLANNER_TIME));
  std::time_t chosen = 0;
  std::string problem;
  if (typedText.find_first_not_of(" \t") == std::string::npos) {
    if (gridData_.columns.empty()) return;
    chosen = gridData_.columns[static_cast<size_t>(selectedColumn_)];
  } else {
    TypedTime typed;
    const int row = ParseTypedTime(typedText, am_, pm_, &typed)
                        ? (typed.placeName.empty() ? 0 : FindPlannerPlace(places_, typed.placeName))
                        : -2;
    if (row == -2) {
      const std::string example = places_.size() > 1 ? places_[1].settings.place : places_[0].settings.place;
      problem = FormatPrompt(LoadResourceString(Instance(), IDS_PLANNER_NOT_A_TIME), example);
    } else if (row < 0) {
      problem = FormatPrompt(LoadResourceString(Instance(), IDS_PLANNER_NO_SUCH_PLACE), typed.placeName);
    } else {
      chosen = InstantOfPlaceTime(places_[static_cast<size_t>(row)], day_, typed.minutes);
      const int column = ColumnOf(gridData_, chosen);
      if (column >= 0 && column != selectedColumn_) {
        selectedColumn_ = column;
        (void)InvalidateRect(grid_, nullptr, FALSE);
      }
    }
  }
  if (!problem.empty()) {
    lines_.clear();
    SetText(GetDlgItem(Hwnd(), IDC_PLANNER_LINES), problem);
    (void)EnableWindow(GetDlgItem(Hwnd(), IDC_PLANNER_COPY), FALSE);
    return;
  }
  lines_ = ConverterLines(places_, chosen, texts_);
  SetText(GetDlgItem(Hwnd(), IDC_PLANNER_LINES), Joined(lines_));
  (void)EnableWindow(GetDlgItem(Hwnd(), IDC_PLANNER_COPY), TRUE);
  // What a screen reader says for the grid: the chosen cell's place and time.
  const size_t row = static_cast<size_t>(selectedRow_);
  if (row < lines_.size()) SetText(grid_, lines_[row]);
}

void PlannerWindow::ShowDay() {
  SYSTEMTIME date;
  std::memset(&date, 0, sizeof date);
  date.wYear = static_cast<WORD>(day_.year);
  date.wMonth = static_cast<WORD>(day_.month);
  date.wDay = static_cast<WORD>(day_.day);
  date.wHour = 12;
  (void)SendDlgItemMessageW(Hwnd(), IDC_PLANNER_DATE, DTM_SETSYSTEMTIME, GDT_VALID, reinterpret_cast<LPARAM>(&date));
}

void PlannerWindow::OnTimer() {
  if (ReloadPlaces(false)) {
    Rebuild();
    return;
  }
  // The line that marks now moves once a minute.
  const std::time_t now = std::time(nullptr);
  if (static_cast<long long>(now) / 60 == shownMinute_) return;
  shownMinute_ = static_cast<long long>(now) / 60;
  gridData_.nowColumn = ColumnOf(gridData_, now);
  (void)InvalidateRect(grid_, nullptr, FALSE);
}

void PlannerWindow::OnHereHoursChanged() {
  const LRESULT from = SendDlgItemMessageW(Hwnd(), IDC_PLANNER_FROM, CB_GETCURSEL, 0, 0);
  const LRESULT to = SendDlgItemMessageW(Hwnd(), IDC_PLANNER_TO, CB_GETCURSEL, 0, 0);
  if (from >= 0) here_.from = static_cast<int>(from);
  if (to >= 0) here_.to = static_cast<int>(to);
  here_.workDays = 0;
  for (int position = 0; position < DAYS_IN_WEEK; ++position) {
    if (IsDlgButtonChecked(Hwnd(), IDC_PLANNER_DAY_FIRST + position) == BST_CHECKED) {
      here_.workDays |= 1 << weekOrder_[position];
    }
  }
  SaveHereHours(store_, here_);
  (void)ReloadPlaces(true);
  Rebuild();
}

void PlannerWindow::CopyLines() {
  if (lines_.empty()) return;
  const WideText text = Wide(Joined(lines_));
  const size_t bytes = (text.size() + 1) * sizeof(wchar_t);
  HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
  if (!memory) return;
  if (void* target = GlobalLock(memory)) {
    std::memcpy(target, text.c_str(), bytes);
    (void)GlobalUnlock(memory);
    if (OpenClipboard(Hwnd())) {
      (void)EmptyClipboard();
      // The clipboard owns the memory once it takes it; it makes the ANSI form for those who ask.
      if (SetClipboardData(CF_UNICODETEXT, memory)) memory = nullptr;
      (void)CloseClipboard();
    }
  }
  if (memory) (void)GlobalFree(memory);
}

bool PlannerWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  switch (message) {
    case WM_TIMER:
      if (wParam != PLANNER_TIMER_ID) return false;
      OnTimer();
      return true;
    case WM_SETTINGCHANGE:
      if (lParam && lstrcmpW(reinterpret_cast<const wchar_t*>(lParam), L"intl") == 0) {
        ReadTexts();
        Rebuild();
      }
      return false;
    case WM_TIMECHANGE:
      for (const auto& clock : zoneClocks_) clock->Invalidate();
      _tzset();
      Rebuild();
      return false;
    case WM_NOTIFY: {
      const NMHDR* header = reinterpret_cast<const NMHDR*>(lParam);
      if (!header || header->idFrom != IDC_PLANNER_DATE || header->code != DTN_DATETIMECHANGE) return false;
      const auto* change = reinterpret_cast<const NMDATETIMECHANGE*>(lParam);
      if (change->dwFlags != GDT_VALID) return false;
      day_ = {change->st.wYear, change->st.wMonth, change->st.wDay};
      Rebuild();
      return true;
    }
    case WM_COMMAND: {
      const UINT id = LOWORD(wParam);
      const UINT code = HIWORD(wParam);
      if (id >= IDC_PLANNER_DAY_FIRST && id < IDC_PLANNER_DAY_FIRST + DAYS_IN_WEEK && code == BN_CLICKED) {
        OnHereHoursChanged();
        return true;
      }
      switch (id) {
        case IDC_PLANNER_PREVIOUS:
        case IDC_PLANNER_NEXT:
          day_ = AddDays(day_, id == IDC_PLANNER_NEXT ? 1 : -1);
          ShowDay();
          Rebuild();
          return true;
        case IDC_PLANNER_TIME:
          if (code == EN_CHANGE) ShowConverter();
          return true;
        case IDC_PLANNER_FROM:
        case IDC_PLANNER_TO:
          if (code == CBN_SELCHANGE) OnHereHoursChanged();
          return true;
        case IDC_PLANNER_COPY: CopyLines(); return true;
        case IDOK: return true;
        case IDCANCEL: Close(); return true;
        default: return false;
      }
    }
    case WM_CLOSE:
      Close();
      return true;
    default:
      return DialogWindow::OnMessage(message, wParam, lParam, result);
  }
}

LRESULT CALLBACK PlannerWindow::GridProc(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* self = reinterpret_cast<PlannerWindow*>(GetWindowLongPtrW(grid, GWLP_USERDATA));
  if (!self) return DefWindowProcW(grid, message, wParam, lParam);
  // No exception may unwind into the system's code.
  try {
    return self->OnGridMessage(grid, message, wParam, lParam);
  } catch (...) {
    return DefWindowProcW(grid, message, wParam, lParam);
  }
}

LRESULT PlannerWindow::OnGridMessage(HWND grid, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_GETDLGCODE: return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFONT:
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) (void)InvalidateRect(grid, nullptr, FALSE);
      return 0;
    case WM_GETFONT: return reinterpret_cast<LRESULT>(font_);
    case WM_ERASEBKGND: return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint;
      HDC dc = BeginPaint(grid, &paint);
      RECT client;
      (void)GetClientRect(grid, &client);
      if (dc) PaintGrid(dc, client);
      (void)EndPaint(grid, &paint);
      return 0;
    }
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      (void)InvalidateRect(grid, nullptr, FALSE);
      return 0;
    case WM_KEYDOWN:
      OnGridKey(static_cast<UINT>(wParam));
      return 0;
    case WM_LBUTTONDOWN:
      (void)SetFocus(grid);
      OnGridClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_MOUSEWHEEL:
      OnGridKey(GET_WHEEL_DELTA_WPARAM(wParam) > 0 ? VK_UP : VK_DOWN);
      return 0;
    default: return DefWindowProcW(grid, message, wParam, lParam);
  }
}

PlannerWindow::GridLayout PlannerWindow::Layout(HDC dc) const {
  GridLayout layout;
  RECT client;
  (void)GetClientRect(grid_, &client);
  layout.width = client.right;
  TEXTMETRICW metrics;
  if (GetTextMetricsW(dc, &metrics)) layout.rowHeight = metrics.tmHeight + metrics.tmHeight / 3;
  int nameWidth = 0;
  for (const PlannerPlace& place : places_) {
    const int width = TextWidth(dc, place.settings.place);
    if (width > nameWidth) nameWidth = width;
  }
  // Room for the tick box, the widest difference from here and margins; never more than a third of
  // the grid.
  layout.nameWidth = nameWidth + TextWidth(dc, "+10:30") + 2 * layout.rowHeight;
  if (layout.nameWidth > layout.width / 3) layout.nameWidth = layout.width / 3;
  layout.visibleRows = client.bottom / layout.rowHeight - 1;
  if (layout.visibleRows < 1) layout.visibleRows = 1;
  return layout;
}

void PlannerWindow::PaintGrid(HDC dc, const RECT& client) {
  const HGDIOBJ oldFont = font_ ? SelectObject(dc, font_) : nullptr;
  const bool contrast = HighContrast();
  const GridLayout layout = Layout(dc);
  const COLORREF windowColour = GetSysColor(COLOR_WINDOW);
  const COLORREF textColour = GetSysColor(COLOR_WINDOWTEXT);
  FillColour(dc, client, windowColour);
  (void)SetBkMode(dc, TRANSPARENT);
  const int columns = static_cast<int>(gridData_.columns.size());
  const int rows = static_cast<int>(places_.size());
  const bool twentyFour = !UsesTwelveHourClock(texts_.timeFormat);
  if (topRow_ > selectedRow_) topRow_ = selectedRow_;
  if (selectedRow_ >= topRow_ + layout.visibleRows) topRow_ = selectedRow_ - layout.visibleRows + 1;

  for (int shown = 0; shown < layout.visibleRows && topRow_ + shown < rows; ++shown) {
    const int row = topRow_ + shown;
    const int top = shown * layout.rowHeight;
    RECT name = {0, top, layout.nameWidth, top + layout.rowHeight};
    if (row > 0) {
      RECT box = {2, top + 2, 2 + layout.rowHeight - 4, top + layout.rowHeight - 2};
      (void)DrawFrameControl(dc, &box, DFC_BUTTON,
                             DFCS_BUTTONCHECK | (places_[static_cast<size_t>(row)].counted ? DFCS_CHECKED : 0));
    }
    name.left = layout.rowHeight;
    name.right -= layout.rowHeight / 3;
    (void)SetTextColor(dc, textColour);
    // How far the place's clock is from here at the chosen hour, at the right of its name.
    std::string difference;
    if (row > 0 && selectedColumn_ >= 0 && selectedColumn_ < columns) {
      const PlaceMoment& there = gridData_.cells[static_cast<size_t>(row)][static_cast<size_t>(selectedColumn_)];
      const PlaceMoment& here = gridData_.cells[0][static_cast<size_t>(selectedColumn_)];
      if (there.state != WorkState::UNKNOWN && here.state != WorkState::UNKNOWN) {
        difference = DifferenceLabel(there.time, here.time);
      }
    }
    DrawUtf8(dc, difference, name, DT_RIGHT);
    name.right -= TextWidth(dc, difference) + layout.rowHeight / 3;
    DrawUtf8(dc, places_[static_cast<size_t>(row)].settings.place, name, DT_LEFT | DT_END_ELLIPSIS);
    for (int column = 0; column < columns; ++column) {
      const PlaceMoment& moment = gridData_.cells[static_cast<size_t>(row)][static_cast<size_t>(column)];
      RECT cell = {layout.ColumnLeft(column, columns), top, layout.ColumnLeft(column + 1, columns),
                   top + layout.rowHeight};
      COLORREF back = windowColour;
      COLORREF fore = textColour;
      if (moment.state == WorkState::AT_WORK) {
        back = contrast ? GetSysColor(COLOR_HIGHLIGHT) : AT_WORK_COLOUR;
        fore = contrast ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour;
      } else if (moment.state == WorkState::DAY_OFF) {
        back = contrast ? GetSysColor(COLOR_BTNFACE) : DAY_OFF_COLOUR;
        fore = contrast ? GetSysColor(COLOR_BTNTEXT) : textColour;
      }
      FillColour(dc, cell, back);
      (void)SetTextColor(dc, fore);
      DrawCentred(dc, moment.state == WorkState::UNKNOWN ? "?" : HourLabel(moment.time, twentyFour), cell);
      // A new day begins at the place: a thicker line before its first hour.
      if (moment.state != WorkState::UNKNOWN && moment.time.tm_hour == 0 && column > 0) {
        RECT line = {cell.left, cell.top, cell.left + 2, cell.bottom};
        FillColour(dc, line, textColour);
      }
    }
  }

  // The count row: how many of the ticked are at work, the best hours marked.
  const int countTop = (rows - topRow_ < layout.visibleRows ? rows - topRow_ : layout.visibleRows) * layout.rowHeight;
  RECT label = {layout.rowHeight, countTop, layout.nameWidth, countTop + layout.rowHeight};
  (void)SetTextColor(dc, textColour);
  DrawUtf8(dc, atWorkRow_, label, DT_LEFT | DT_END_ELLIPSIS);
  for (int column = 0; column < columns; ++column) {
    RECT cell = {layout.ColumnLeft(column, columns), countTop, layout.ColumnLeft(column + 1, columns),
                 countTop + layout.rowHeight};
    const bool best = gridData_.best[static_cast<size_t>(column)];
    FillColour(dc, cell, best ? (contrast ? GetSysColor(COLOR_HIGHLIGHT) : BEST_COLOUR) : windowColour);
    (void)SetTextColor(dc, best && contrast ? GetSysColor(COLOR_HIGHLIGHTTEXT) : textColour);
    DrawCentred(dc, std::to_string(gridData_.atWork[static_cast<size_t>(column)]), cell);
  }

  // The chosen column, framed; the chosen cell, with the focus.
  const int bottom = countTop + layout.rowHeight;
  if (selectedColumn_ >= 0 && selectedColumn_ < columns) {
    RECT frame = {layout.ColumnLeft(selectedColumn_, columns), 0, layout.ColumnLeft(selectedColumn_ + 1, columns),
                  bottom};
    const HBRUSH frameBrush = GetSysColorBrush(COLOR_WINDOWTEXT);
    (void)FrameRect(dc, &frame, frameBrush);
    if (GetFocus() == grid_ && selectedRow_ >= topRow_) {
      const int top = (selectedRow_ - topRow_) * layout.rowHeight;
      RECT focus = {frame.left + 2, top + 2, frame.right - 2, top + layout.rowHeight - 2};
      (void)SetTextColor(dc, textColour);
      (void)SetBkColor(dc, windowColour);
      (void)DrawFocusRect(dc, &focus);
    }
  }
  // Now, as a line at its minute.
  if (gridData_.nowColumn >= 0) {
    const int column = gridData_.nowColumn;
    const int left = layout.ColumnLeft(column, columns);
    const int width = layout.ColumnLeft(column + 1, columns) - left;
    const long long into = static_cast<long long>(std::time(nullptr)) - gridData_.columns[static_cast<size_t>(column)];
    const int x = left + static_cast<int>(width * (into < 0 ? 0 : into > 3600 ? 3600 : into) / 3600);
    RECT line = {x, 0, x + 2, bottom};
    FillColour(dc, line, contrast ? textColour : NOW_COLOUR);
  }
  if (oldFont) (void)SelectObject(dc, oldFont);
}

void PlannerWindow::Select(int row, int column) {
  const int rows = static_cast<int>(places_.size());
  const int columns = static_cast<int>(gridData_.columns.size());
  if (row < 0 || row >= rows || column < 0 || column >= columns) return;
  selectedRow_ = row;
  selectedColumn_ = column;
  // A cell chosen replaces a typed time.
  HWND typed = GetDlgItem(Hwnd(), IDC_PLANNER_TIME);
  if (GetWindowTextLengthW(typed) > 0) {
    SetText(typed, "");
  } else {
    ShowConverter();
  }
  (void)InvalidateRect(grid_, nullptr, FALSE);
}

void PlannerWindow::OnGridKey(UINT key) {
  const int columns = static_cast<int>(gridData_.columns.size());
  switch (key) {
    case VK_LEFT: Select(selectedRow_, selectedColumn_ - 1); break;
    case VK_RIGHT: Select(selectedRow_, selectedColumn_ + 1); break;
    case VK_UP: Select(selectedRow_ - 1, selectedColumn_); break;
    case VK_DOWN: Select(selectedRow_ + 1, selectedColumn_); break;
    case VK_HOME: Select(selectedRow_, 0); break;
    case VK_END: Select(selectedRow_, columns - 1); break;
    case VK_SPACE: {
      // Here always counts; a place's tick says whether the best hours wait for it.
      if (selectedRow_ <= 0) break;
      const int number = numbers_[static_cast<size_t>(selectedRow_)];
      const auto ticked = std::find(unticked_.begin(), unticked_.end(), number);
      const bool counted = ticked != unticked_.end();
      if (counted) {
        unticked_.erase(ticked);
      } else {
        unticked_.push_back(number);
      }
      places_[static_cast<size_t>(selectedRow_)].counted = counted;
      Rebuild();
      break;
    }
    default: break;
  }
}

void PlannerWindow::OnGridClick(int x, int y) {
  HDC dc = GetDC(grid_);
  if (!dc) return;
  const HGDIOBJ oldFont = font_ ? SelectObject(dc, font_) : nullptr;
  const GridLayout layout = Layout(dc);
  if (oldFont) (void)SelectObject(dc, oldFont);
  (void)ReleaseDC(grid_, dc);
  const int row = topRow_ + y / layout.rowHeight;
  if (row >= static_cast<int>(places_.size())) return;
  const int columns = static_cast<int>(gridData_.columns.size());
  if (x < layout.nameWidth) {
    selectedRow_ = row;
    if (x < layout.rowHeight) OnGridKey(VK_SPACE);
    Select(row, selectedColumn_);
    return;
  }
  for (int column = 0; column < columns; ++column) {
    if (x < layout.ColumnLeft(column + 1, columns)) {
      Select(row, column);
      return;
    }
  }
}
