// Planning a call between places: the hours of one day here beside every place's own hours, whether
// each place is at work then, the hours that suit them all, and a time typed for any of them.
#ifndef FARHOUR_CLOCK_CALL_PLANNER_H
#define FARHOUR_CLOCK_CALL_PLANNER_H

#include <ctime>
#include <string>
#include <vector>

#include "clock/place_settings.h"
#include "clock/profile_store.h"
#include "clock/zone_clock.h"

// One row of the planner: the user's own clock ("here") or a stored place.
struct PlannerPlace {
  PlaceSettings settings;     // settings.place is the name the row shows
  ZoneClock* zone = nullptr;  // tells the place's zone; null, or a zone it cannot tell: the offset
  bool counted = true;        // whether the best hours wait for this place
};

enum class WorkState { AT_WORK, CLOSED, DAY_OFF, UNKNOWN };

// A place's clock at one instant and what it means for its working hours.
struct PlaceMoment {
  std::tm time{};  // meaningless when the state is UNKNOWN
  WorkState state = WorkState::UNKNOWN;
};

// By the same rules as the tray's icon: the place's own day, zone and daylight saving.
PlaceMoment PlaceMomentAt(const PlannerPlace& place, std::time_t instant);

// A date of the calendar here.
struct CalendarDay {
  int year = 1970;
  int month = 1;  // 1 to 12
  int day = 1;
};
bool operator==(const CalendarDay& a, const CalendarDay& b);

// The date here at the instant; 1 January 1970 when the runtime cannot break it down.
CalendarDay DayHere(std::time_t instant);
// The date days later (earlier for a negative count).
CalendarDay AddDays(const CalendarDay& day, int days);

struct PlannerGrid {
  CalendarDay day;
  // The instant each hour of the day here starts: 24, or 23 and 25 on the days the clocks change.
  std::vector<std::time_t> columns;
  std::vector<std::vector<PlaceMoment>> cells;  // [row][column], the rows in the places' order
  int nowColumn = -1;                           // the column that holds now; -1 on another day
  std::vector<int> atWork;                      // per column, how many counted rows are at work
  int counted = 0;                              // how many rows are counted
  // Per column: every counted row at work; where no column has that, those with the most at work
  // (none when no one is at work all day).
  std::vector<bool> best;
  bool allAtWork = false;  // the best columns have every counted row at work
};

PlannerGrid BuildPlannerGrid(const std::vector<PlannerPlace>& places, const CalendarDay& day, std::time_t now);

// The column that holds the instant; -1 outside the grid's day.
int ColumnOf(const PlannerGrid& grid, std::time_t instant);

// A time of day as typed: "15:00", "3 pm", "3:30PM", "9.15", "0930", with the locale's AM and PM
// designators or "am" and "pm" in any case, and after it, " in " and a place's name ("10:00 in NZ").
struct TypedTime {
  int minutes = -1;       // minute of the day
  std::string placeName;  // empty: the time is the user's own
};
// False for anything that is not one time of day.
bool ParseTypedTime(const std::string& text, const std::string& am, const std::string& pm, TypedTime* typed);

// The row whose name is the text, ignoring case and surrounding spaces; -1 when none.
int FindPlannerPlace(const std::vector<PlannerPlace>& places, const std::string& name);

// The instant when the place's clock shows that minute of its day that falls in the day here (its
// date at noon here); where its clocks skip that time, the instant an hour on.
std::time_t InstantOfPlaceTime(const PlannerPlace& place, const CalendarDay& day, int minutes);

// The user's own hours in the planner, kept in a section of their own beside the places': the
// working window as the From and To lists give it, and the work days.
struct HereHours {
  int from = 18;  // 9:00am
  int to = 10;    // 5:00pm
  int workDays = MONDAY_TO_FRIDAY;
};
void LoadHereHours(ProfileStore& store, HereHours& hours);
void SaveHereHours(ProfileStore& store, const HereHours& hours);

// The instance numbers of the places stored in the sections named, each once, in number order; the
// unnumbered place counts as 0.
std::vector<int> StoredPlaceNumbers(const std::vector<std::string>& sections);

struct NumberedPlace {
  int number = 0;
  PlaceSettings settings;
};
// Every place stored, in number order, each section opened once; makes no section.
std::vector<NumberedPlace> LoadStoredPlaces(ProfileStore& store);

#endif
