// What the user's locale says, as the windows show it: its pictures and names, its week, and the
// lists of half hours that the working hours are chosen from.
#ifndef FARHOUR_UI_LOCALE_TEXT_WIN_H
#define FARHOUR_UI_LOCALE_TEXT_WIN_H

#include <windows.h>

#include <string>

// One locale text in its own characters, or false when the lookup fails or the text does not fit.
bool ReadLocalePicture(LCTYPE type, std::string* picture);

// The locale's short name of the day (0 Sunday to 6 Saturday), or the string table's where it has
// none.
std::string LocaleDayName(HINSTANCE instance, int day);

// The day (0 Sunday to 6 Saturday) at each position of the locale's week.
void LocaleWeekOrder(int (&days)[7]);

// The From list (firstHour 0, the string table's "am") or the To list (12, "pm"): 24 half hours,
// each entry carrying its minute of the day.
void FillHalfHours(HWND list, int firstHour, const std::string& suffix);

#endif
