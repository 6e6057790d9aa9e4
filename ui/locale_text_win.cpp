#include "ui/locale_text_win.h"

#include <cstdio>
#include <cstdlib>

#include "base/wide_text_win.h"
#include "res/resource.h"
#include "ui/dialog_window_win.h"
#include "ui/work_week.h"

namespace {

constexpr int LOCALE_TEXT_MAX = 128;

}  // namespace

bool ReadLocalePicture(LCTYPE type, std::string* picture) {
  wchar_t text[LOCALE_TEXT_MAX] = L"";
  if (GetLocaleInfoW(GetUserDefaultLCID(), type, text, LOCALE_TEXT_MAX) == 0) return false;
  text[LOCALE_TEXT_MAX - 1] = L'\0';
  *picture = Utf8(text);
  return true;
}

std::string LocaleDayName(HINSTANCE instance, int day) {
  if (day < 0 || day >= DAYS_IN_WEEK) return std::string();
  // The locale numbers its day names from Monday.
  std::string name;
  if (!ReadLocalePicture(LOCALE_SABBREVDAYNAME1 + (day + 6) % DAYS_IN_WEEK, &name) || name.empty()) {
    name = LoadResourceString(instance, IDS_DAY_FIRST + day);
  }
  return name;
}

void LocaleWeekOrder(int (&days)[7]) {
  std::string firstDay;
  const int first = ReadLocalePicture(LOCALE_IFIRSTDAYOFWEEK, &firstDay) ? std::atoi(firstDay.c_str()) : 0;
  for (int position = 0; position < DAYS_IN_WEEK; ++position) days[position] = WeekdayAtPosition(first, position);
}

void FillHalfHours(HWND list, int firstHour, const std::string& suffix) {
  for (int hour = firstHour; hour < firstHour + 12; ++hour) {
    for (int minute = 0; minute < 60; minute += 30) {
      char text[16];
      int shown = hour % 12 == 0 ? 12 : hour % 12;
      std::snprintf(text, sizeof text, "%d:%02d", shown, minute);
      const LRESULT index = SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Wide(text + suffix).c_str()));
      if (index >= 0) (void)SendMessageW(list, CB_SETITEMDATA, static_cast<WPARAM>(index), hour * 60 + minute);
    }
  }
}
