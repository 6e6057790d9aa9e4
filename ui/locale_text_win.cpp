#include "ui/locale_text_win.h"

#include <cstdio>
#include <cstdlib>

#include "ui/work_week.h"

namespace {

constexpr int LOCALE_TEXT_MAX = 128;

// What a day is called where the locale has no name for it.
const char* const ENGLISH_DAY_NAMES[DAYS_IN_WEEK] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};

void AddTimeItem(HWND list, const char* text, int hour, int minute) {
  LRESULT index = SendMessageA(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
  if (index >= 0) (void)SendMessageA(list, CB_SETITEMDATA, static_cast<WPARAM>(index), hour * 60 + minute);
}

}  // namespace

bool ReadLocalePicture(LCTYPE type, std::string* picture) {
  char text[LOCALE_TEXT_MAX] = "";
  if (GetLocaleInfoA(GetUserDefaultLCID(), type, text, LOCALE_TEXT_MAX) == 0) return false;
  text[LOCALE_TEXT_MAX - 1] = '\0';
  *picture = text;
  return true;
}

std::string LocaleDayName(int day) {
  if (day < 0 || day >= DAYS_IN_WEEK) return std::string();
  // The locale numbers its day names from Monday.
  std::string name;
  if (!ReadLocalePicture(LOCALE_SABBREVDAYNAME1 + (day + 6) % DAYS_IN_WEEK, &name) || name.empty()) {
    name = ENGLISH_DAY_NAMES[day];
  }
  return name;
}

void LocaleWeekOrder(int (&days)[7]) {
  std::string firstDay;
  const int first = ReadLocalePicture(LOCALE_IFIRSTDAYOFWEEK, &firstDay) ? std::atoi(firstDay.c_str()) : 0;
  for (int position = 0; position < DAYS_IN_WEEK; ++position) days[position] = WeekdayAtPosition(first, position);
}

void FillHalfHours(HWND list, int firstHour, const char* suffix) {
  for (int hour = firstHour; hour < firstHour + 12; ++hour) {
    for (int minute = 0; minute < 60; minute += 30) {
      char text[16];
      int shown = hour % 12 == 0 ? 12 : hour % 12;
      std::snprintf(text, sizeof text, "%d:%02d%s", shown, minute, suffix);
      AddTimeItem(list, text, hour, minute);
    }
  }
}
