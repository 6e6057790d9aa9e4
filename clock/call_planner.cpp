// The call planner's arithmetic: every place's clock at the hours of a day here, through the same
// reading of the place's time and the same active rule as the tray's icon.
#include "clock/call_planner.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>

#include "base/utf8_text.h"
#include "clock/remote_clock.h"
#include "res/identity.h"

namespace {

const int HOUR_SECONDS = 3600;

// Minutes of the wall clock since 1970, for differences between two readings.
long long WallMinutes(const std::tm& t) {
  return DaysFromCivil(1900LL + t.tm_year, t.tm_mon, t.tm_mday) * 1440 + t.tm_hour * 60LL + t.tm_min;
}

// The instant here at hour:00 of the day; the runtime moves a time the clocks skip forward.
std::time_t LocalInstant(const CalendarDay& day, int hour) {
  std::tm t{};
  t.tm_year = day.year - 1900;
  t.tm_mon = day.month - 1;
  t.tm_mday = day.day;
  t.tm_hour = hour;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

std::string Folded(const std::string& text) {
  std::string folded;
  for (char c : text) folded += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return folded;
}

// Whether the folded text ends with the folded designator (a non-empty one), and takes it off.
bool TakeSuffix(std::string& folded, const std::string& designator) {
  const std::string d = Folded(TrimmedSpaces(designator));
  if (d.empty() || folded.size() < d.size() || folded.compare(folded.size() - d.size(), d.size(), d) != 0) {
    return false;
  }
  folded.erase(folded.size() - d.size());
  folded = TrimmedSpaces(folded);
  return true;
}

// "15", "1530", "15:30", "15.30", "3" into hours and minutes; false for anything else.
bool ParseClockDigits(const std::string& text, int* hour, int* minute) {
  std::string digits;
  size_t separators = 0;
  for (char c : text) {
    if (std::isdigit(static_cast<unsigned char>(c))) {
      digits += c;
    } else if ((c == ':' || c == '.') && separators == 0 && !digits.empty()) {
      ++separators;
      if (digits.size() > 2) return false;
      digits.insert(0, 2 - digits.size(), '0');
    } else {
      return false;
    }
  }
  if (separators == 1 && digits.size() != 4) return false;
  if (digits.empty() || digits.size() > 4) return false;
  if (digits.size() <= 2) {
    *hour = std::atoi(digits.c_str());
    *minute = 0;
  } else {
    *hour = std::atoi(digits.substr(0, digits.size() - 2).c_str());
    *minute = std::atoi(digits.substr(digits.size() - 2).c_str());
  }
  return *hour <= 23 && *minute <= 59;
}

}  // namespace

PlaceMoment PlaceMomentAt(const PlannerPlace& place, std::time_t instant) {
  PlaceMoment moment;
  if (!ReadPlaceTime(place.settings, instant, place.zone, &moment.time)) return moment;
  if (IsActiveAt(place.settings, moment.time)) {
    moment.state = WorkState::AT_WORK;
  } else {
    moment.state = IsWorkDay(place.settings.workDays, moment.time.tm_wday) ? WorkState::CLOSED : WorkState::DAY_OFF;
  }
  return moment;
}

bool operator==(const CalendarDay& a, const CalendarDay& b) {
  return a.year == b.year && a.month == b.month && a.day == b.day;
}

CalendarDay DayHere(std::time_t instant) {
  CalendarDay day;
  const std::tm* t = std::localtime(&instant);
  if (!t) return day;
  day.year = t->tm_year + 1900;
  day.month = t->tm_mon + 1;
  day.day = t->tm_mday;
  return day;
}

CalendarDay AddDays(const CalendarDay& day, int days) {
  // From days since 1970 back to the calendar, counting from 1 March so that leap days come last.
  const long long z = DaysFromCivil(day.year, day.month - 1, day.day) + days + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long dayOfEra = z - era * 146097;
  const long long yearOfEra = (dayOfEra - dayOfEra / 1460 + dayOfEra / 36524 - dayOfEra / 146096) / 365;
  const long long dayOfYear = dayOfEra - (365 * yearOfEra + yearOfEra / 4 - yearOfEra / 100);
  const long long m = (5 * dayOfYear + 2) / 153;  // March is 0
  CalendarDay result;
  result.day = static_cast<int>(dayOfYear - (153 * m + 2) / 5 + 1);
  result.month = static_cast<int>(m < 10 ? m + 3 : m - 9);
  result.year = static_cast<int>(yearOfEra + era * 400 + (result.month <= 2 ? 1 : 0));
  return result;
}

PlannerGrid BuildPlannerGrid(const std::vector<PlannerPlace>& places, const CalendarDay& day, std::time_t now) {
  PlannerGrid grid;
  grid.day = day;
  const std::time_t start = LocalInstant(day, 0);
  const std::time_t end = LocalInstant(AddDays(day, 1), 0);
  if (start != static_cast<std::time_t>(-1) && end > start) {
    for (std::time_t t = start; t < end; t += HOUR_SECONDS) grid.columns.push_back(t);
  }
  grid.nowColumn = ColumnOf(grid, now);
  grid.atWork.assign(grid.columns.size(), 0);
  grid.cells.reserve(places.size());
  for (const PlannerPlace& place : places) {
    std::vector<PlaceMoment> row;
    row.reserve(grid.columns.size());
    for (size_t c = 0; c < grid.columns.size(); ++c) {
      row.push_back(PlaceMomentAt(place, grid.columns[c]));
      if (place.counted && row.back().state == WorkState::AT_WORK) ++grid.atWork[c];
    }
    if (place.counted) ++grid.counted;
    grid.cells.push_back(std::move(row));
  }
  const int most = grid.atWork.empty() ? 0 : *std::max_element(grid.atWork.begin(), grid.atWork.end());
  grid.allAtWork = most > 0 && most == grid.counted;
  grid.best.assign(grid.columns.size(), false);
  for (size_t c = 0; c < grid.columns.size(); ++c) grid.best[c] = most > 0 && grid.atWork[c] == most;
  return grid;
}

int ColumnOf(const PlannerGrid& grid, std::time_t instant) {
  if (grid.columns.empty() || instant < grid.columns.front()) return -1;
  const long long column = (static_cast<long long>(instant) - grid.columns.front()) / HOUR_SECONDS;
  return column < static_cast<long long>(grid.columns.size()) ? static_cast<int>(column) : -1;
}

bool ParseTypedTime(const std::string& text, const std::string& am, const std::string& pm, TypedTime* typed) {
  std::string folded = Folded(TrimmedSpaces(text));
  std::string placeName;
  const size_t in = folded.rfind(" in ");
  if (in != std::string::npos) {
    placeName = TrimmedSpaces(TrimmedSpaces(text).substr(in + 4));
    if (placeName.empty()) return false;
    folded = TrimmedSpaces(folded.substr(0, in));
  }
  // The locale's designators first: one may be "a.m.", which ends like "m." of no other.
  int half = -1;  // 0 morning, 1 afternoon
  if (TakeSuffix(folded, pm) || TakeSuffix(folded, "pm") || TakeSuffix(folded, "p")) {
    half = 1;
  } else if (TakeSuffix(folded, am) || TakeSuffix(folded, "am") || TakeSuffix(folded, "a")) {
    half = 0;
  }
  int hour = 0;
  int minute = 0;
  if (!ParseClockDigits(folded, &hour, &minute)) return false;
  if (half >= 0) {
    if (hour < 1 || hour > 12) return false;
    hour = hour % 12 + 12 * half;
  }
  typed->minutes = hour * 60 + minute;
  typed->placeName = placeName;
  return true;
}

int FindPlannerPlace(const std::vector<PlannerPlace>& places, const std::string& name) {
  const std::string wanted = Folded(TrimmedSpaces(name));
  for (size_t i = 0; i < places.size(); ++i) {
    if (Folded(TrimmedSpaces(places[i].settings.place)) == wanted) return static_cast<int>(i);
  }
  return -1;
}

std::time_t InstantOfPlaceTime(const PlannerPlace& place, const CalendarDay& day, int minutes) {
  const std::time_t noon = LocalInstant(day, 12);
  const PlaceMoment atNoon = PlaceMomentAt(place, noon);
  if (atNoon.state == WorkState::UNKNOWN) return noon;
  std::tm wanted = atNoon.time;
  wanted.tm_hour = minutes / 60;
  wanted.tm_min = minutes % 60;
  std::time_t instant = noon + (WallMinutes(wanted) - WallMinutes(atNoon.time)) * 60 - atNoon.time.tm_sec;
  // The place's offset may differ at that instant (its clocks changed in between): one step more.
  const PlaceMoment there = PlaceMomentAt(place, instant);
  if (there.state != WorkState::UNKNOWN) instant += (WallMinutes(wanted) - WallMinutes(there.time)) * 60;
  return instant;
}

void LoadHereHours(ProfileStore& store, HereHours& hours) {
  // Nothing is made for a user who never changed the planner's hours.
  const std::unique_ptr<ProfileSection> section = store.OpenExistingSection(PLANNER_SECTION);
  if (!section) return;
  hours.from = section->GetInt("From", hours.from);
  hours.to = section->GetInt("To", hours.to);
  hours.workDays = section->GetInt("WorkDays", hours.workDays) & EVERY_DAY;
}

void SaveHereHours(ProfileStore& store, const HereHours& hours) {
  const std::unique_ptr<ProfileSection> section = store.OpenSection(PLANNER_SECTION);
  // A failed write leaves the stored hours as they were; the planner keeps showing the new ones.
  (void)section->WriteInt("From", hours.from);
  (void)section->WriteInt("To", hours.to);
  (void)section->WriteInt("WorkDays", hours.workDays);
}

std::vector<int> StoredPlaceNumbers(const std::vector<std::string>& sections) {
  const std::string prefix = Folded(SETTINGS_SECTION);
  std::vector<int> numbers;
  for (const std::string& section : sections) {
    const std::string folded = Folded(section);
    if (folded.compare(0, prefix.size(), prefix) != 0) continue;
    const std::string digits = folded.substr(prefix.size());
    int number = 0;
    if (!digits.empty()) {
      // Only the names the program makes: no sign, no leading zero, no number beyond an int.
      if (digits[0] == '0' || digits.size() > 9 ||
          !std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        continue;
      }
      number = std::atoi(digits.c_str());
    }
    numbers.push_back(number);
  }
  std::sort(numbers.begin(), numbers.end());
  numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
  return numbers;
}

std::vector<NumberedPlace> LoadStoredPlaces(ProfileStore& store) {
  std::vector<NumberedPlace> places;
  for (int number : StoredPlaceNumbers(store.SectionNames())) {
    // A place removed since the list was read stays removed.
    const std::unique_ptr<ProfileSection> section = store.OpenExistingSection(SettingsSection(number));
    if (!section) continue;
    NumberedPlace place;
    place.number = number;
    LoadSettings(*section, place.settings);
    places.push_back(std::move(place));
  }
  return places;
}
