// The work-day boxes of the properties window: the days in the order of the user's week, and the
// day names as the boxes show them.
#ifndef FARHOUR_UI_WORK_WEEK_H
#define FARHOUR_UI_WORK_WEEK_H

#include <string>

constexpr int DAYS_IN_WEEK = 7;

// The day (0 Sunday to 6 Saturday) at position 0 to 6 of a week that starts on firstDay, the
// locale's first day of the week as Windows numbers it (0 Monday to 6 Sunday). A first day outside
// that range starts the week on Monday.
int WeekdayAtPosition(int firstDay, int position);

// A text that a button or label shows as it is: each '&' doubled, so none becomes a mnemonic.
std::string LiteralLabel(const std::string& text);

#endif
