// The call planner: which hours of a day here each place is at work, the hours that suit all, the
// converter's lines, typed times, and the planner's own settings.
#include "clock/call_planner.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "clock/memory_profile_store.h"
#include "native/in_time_zone.h"
#include "ui/planner_text.h"

namespace {

const char* const UTC = "UTC0";
const char* const LONDON_RULES = "GMT0BST,M3.5.0/1,M10.5.0";
const int SUN_THU = 0x1F;
const int NINE = 18;          // 9:00am in the From list
const int EIGHT_THIRTY = 17;  // 8:30am
const int FIVE = 10;          // 5:00pm in the To list

// A zone that is minutesBefore from UTC until the instant change, then minutesAfter.
class StepZone : public ZoneClock {
 public:
  StepZone(int minutesBefore, std::time_t change = 0, int minutesAfter = 0)
      : before_(minutesBefore), after_(change ? minutesAfter : minutesBefore), change_(change) {}
  void SetZone(const std::string&) override {}
  bool ZoneTime(std::time_t utc, std::tm* zoneTime) override {
    const std::time_t shifted = utc + 60 * (change_ && utc >= change_ ? after_ : before_);
    *zoneTime = *std::gmtime(&shifted);
    return true;
  }

 private:
  int before_, after_;
  std::time_t change_;
};

PlannerPlace Place(const char* name, double offset, int from, int to, int workDays, ZoneClock* zone = nullptr) {
  PlannerPlace place;
  place.settings.place = name;
  place.settings.offset = offset;
  place.settings.from = from;
  place.settings.to = to;
  place.settings.workDays = workDays;
  if (zone) place.settings.zone = "Zone";
  place.zone = zone;
  return place;
}

// "9-17,20": the columns whose cell in the row is at work.
std::string AtWorkColumns(const PlannerGrid& grid, size_t row) {
  std::string text;
  const std::vector<PlaceMoment>& cells = grid.cells[row];
  for (size_t c = 0; c < cells.size(); ++c) {
    if (cells[c].state != WorkState::AT_WORK || (c > 0 && cells[c - 1].state == WorkState::AT_WORK)) continue;
    size_t last = c;
    while (last + 1 < cells.size() && cells[last + 1].state == WorkState::AT_WORK) ++last;
    text += (text.empty() ? "" : ",") + std::to_string(c) + (last > c ? "-" + std::to_string(last) : "");
  }
  return text;
}

std::time_t Utc(int year, int month, int day, int hour) {
  InTimeZone utc(UTC);
  std::tm t{};
  t.tm_year = year - 1900;
  t.tm_mon = month - 1;
  t.tm_mday = day;
  t.tm_hour = hour;
  return std::mktime(&t);
}

PlannerTexts EnglishTexts() {
  PlannerTexts texts{{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}, "%H:%M", "%1 %2", "%1 %2 (closed)",
                     "%1 %2 (weekend)", "%1-%2", "Everyone is at work: %1",
                     "No hour holds all of them. Most are at work: %1", "No one is at work on this day."};
  return texts;
}

TEST(CallPlanner, EachPlaceIsAtWorkInTheColumnsOfItsOwnHoursDayAndZone) {
  // Auckland's clocks go forward at 14:00 UTC on 26 September 2026.
  StepZone auckland(780), telAviv(120), aucklandSpring(720, Utc(2026, 9, 26, 14), 780);
  struct Row {
    const char* label;
    const char* here;
    CalendarDay day;
    PlannerPlace place;
    size_t columns;
    const char* atWork;
    const char* firstLabel;  // the place's hour in the first column
  };
  const Row rows[] = {
      {"Monday to Friday on a Wednesday", UTC, {2026, 12, 9}, Place("L", 0, NINE, FIVE, MONDAY_TO_FRIDAY), 24, "9-17", "0"},
      {"Sunday to Thursday on a Friday", UTC, {2026, 12, 11}, Place("T", 0, NINE, FIVE, SUN_THU, &telAviv), 24, "", "2"},
      {"Sunday to Thursday on a Sunday", UTC, {2026, 12, 13}, Place("T", 0, NINE, FIVE, SUN_THU, &telAviv), 24, "7-15", "2"},
      {"across the date line: its Wednesday, then its Thursday", UTC, {2026, 12, 9},
       Place("A", 0, EIGHT_THIRTY, FIVE, MONDAY_TO_FRIDAY, &auckland), 24, "0-4,20-23", "13"},
      {"across the date line: its Friday, then its Saturday", UTC, {2026, 12, 11},
       Place("A", 0, EIGHT_THIRTY, FIVE, MONDAY_TO_FRIDAY, &auckland), 24, "0-4", "13"},
      {"clocks go forward here: 23 hours", LONDON_RULES, {2026, 3, 29}, Place("H", 0, NINE, FIVE, EVERY_DAY), 23, "8-16", "0"},
      {"clocks go back here: 25 hours", LONDON_RULES, {2026, 10, 25}, Place("H", 0, NINE, FIVE, EVERY_DAY), 25, "10-18", "0"},
      {"clocks go forward there", UTC, {2026, 9, 26}, Place("A", 0, NINE, FIVE, EVERY_DAY, &aucklandSpring), 24,
       "0-5,20-23", "12"},
      {"an offset of five and a half hours", UTC, {2026, 12, 9}, Place("K", 5.5, NINE, FIVE, EVERY_DAY), 24, "4-11",
       "5:30"},
      {"no work day", UTC, {2026, 12, 9}, Place("N", 0, 0, 23, 0), 24, "", "0"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    InTimeZone here(row.here);
    const PlannerGrid grid = BuildPlannerGrid({row.place}, row.day, 0);
    ASSERT_EQ(grid.columns.size(), row.columns);
    EXPECT_EQ(AtWorkColumns(grid, 0), row.atWork);
    EXPECT_EQ(HourLabel(grid.cells[0][0].time, true), row.firstLabel);
  }
}

TEST(CallPlanner, TheBestHoursAreThoseOfEveryCountedPlaceElseOfTheMost) {
  InTimeZone here(UTC);
  StepZone telAviv(120), auckland(780);
  const std::vector<PlannerPlace> places = {
      Place("Here", 0, NINE, FIVE, MONDAY_TO_FRIDAY), Place("London", 0, NINE, FIVE, MONDAY_TO_FRIDAY),
      Place("Tel Aviv", 0, NINE, FIVE, SUN_THU, &telAviv),
      Place("Auckland", 0, EIGHT_THIRTY, FIVE, MONDAY_TO_FRIDAY, &auckland)};
  struct Row {
    const char* label;
    CalendarDay day;
    bool aucklandCounted;
    const char* text;
  };
  const Row rows[] = {
      {"no hour holds all four", {2026, 12, 9}, true,
       "No hour holds all of them. Most are at work: 09:00-15:00 (Here, London, Tel Aviv)"},
      {"Auckland not ticked", {2026, 12, 9}, false, "Everyone is at work: 09:00-15:00"},
      {"a Friday: London and here only, by then Auckland in its weekend", {2026, 12, 11}, true,
       "No hour holds all of them. Most are at work: 09:00-17:00 (Here, London)"},
      {"a Saturday: no one", {2026, 12, 12}, true, "No one is at work on this day."},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    std::vector<PlannerPlace> counted = places;
    counted[3].counted = row.aucklandCounted;
    const PlannerGrid grid = BuildPlannerGrid(counted, row.day, 0);
    EXPECT_EQ(BestHoursText(grid, counted, EnglishTexts()), row.text);
  }
}

TEST(CallPlanner, TheConverterGivesEveryPlacesDayTimeAndState) {
  InTimeZone here(UTC);
  StepZone telAviv(120), auckland(780);
  const std::vector<PlannerPlace> places = {Place("Here", 0, NINE, FIVE, MONDAY_TO_FRIDAY),
                                            Place("Tel Aviv", 0, NINE, FIVE, SUN_THU, &telAviv),
                                            Place("Auckland", 0, EIGHT_THIRTY, FIVE, MONDAY_TO_FRIDAY, &auckland),
                                            Place("Kathmandu", 5.75, NINE, FIVE, MONDAY_TO_FRIDAY)};
  struct Row {
    const char* label;
    std::time_t instant;
    std::vector<std::string> lines;
  };
  const Row rows[] = {
      {"Wednesday 15:00", Utc(2026, 12, 9, 15),
       {"Wed 15:00 Here", "Wed 17:00 Tel Aviv", "Thu 04:00 Auckland (closed)", "Wed 20:45 Kathmandu (closed)"}},
      {"Friday 15:00", Utc(2026, 12, 11, 15),
       {"Fri 15:00 Here", "Fri 17:00 Tel Aviv (weekend)", "Sat 04:00 Auckland (weekend)",
        "Fri 20:45 Kathmandu (closed)"}},
      {"Sunday 8:00", Utc(2026, 12, 13, 8),
       {"Sun 08:00 Here (weekend)", "Sun 10:00 Tel Aviv", "Sun 21:00 Auckland (weekend)",
        "Sun 13:45 Kathmandu (weekend)"}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    EXPECT_EQ(ConverterLines(places, row.instant, EnglishTexts()), row.lines);
  }
}

TEST(CallPlanner, ATypedTimeIsReadInEitherClockAndMayNameAPlace) {
  struct Row {
    const char* text;
    const char* pm;
    bool read;
    int minutes;
    const char* place;
  };
  const Row rows[] = {
      {"15:00", "PM", true, 900, ""},        {" 3 pm ", "PM", true, 900, ""},   {"3:30PM", "PM", true, 930, ""},
      {"12 am", "PM", true, 0, ""},          {"12pm", "PM", true, 720, ""},     {"9.15", "PM", true, 555, ""},
      {"0930", "PM", true, 570, ""},         {"3 nachm.", "nachm.", true, 900, ""},
      {"10:00 in NZ", "PM", true, 600, "NZ"}, {"7 pm in Tel Aviv", "PM", true, 1140, "Tel Aviv"},
      {"13 pm", "PM", false, 0, ""},         {"0 am", "PM", false, 0, ""},      {"24:00", "PM", false, 0, ""},
      {"9:60", "PM", false, 0, ""},          {"9:5", "PM", false, 0, ""},       {"12345", "PM", false, 0, ""},
      {"", "PM", false, 0, ""},              {"noon", "PM", false, 0, ""},      {"10:00 in ", "PM", false, 0, ""},
      {"in NZ", "PM", false, 0, ""},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.text);
    TypedTime typed;
    ASSERT_EQ(ParseTypedTime(row.text, "AM", row.pm, &typed), row.read);
    if (!row.read) continue;
    EXPECT_EQ(typed.minutes, row.minutes);
    EXPECT_EQ(typed.placeName, row.place);
  }
}

TEST(CallPlanner, APlacesTimeIsTheInstantItsClockShowsItWithinTheDayHere) {
  StepZone telAviv(120), auckland(780), aucklandSpring(720, Utc(2026, 9, 26, 14), 780);
  struct Row {
    const char* label;
    const char* here;
    CalendarDay day;
    PlannerPlace place;
    int minutes;
    std::time_t instant;
  };
  const Row rows[] = {
      {"here", UTC, {2026, 12, 9}, Place("Here", 0, 0, 0, 0), 900, Utc(2026, 12, 9, 15)},
      {"here, clocks gone back", LONDON_RULES, {2026, 10, 25}, Place("Here", 0, 0, 0, 0), 900, Utc(2026, 10, 25, 15)},
      {"here, clocks gone forward", LONDON_RULES, {2026, 3, 29}, Place("Here", 0, 0, 0, 0), 900, Utc(2026, 3, 29, 14)},
      {"behind", UTC, {2026, 12, 9}, Place("T", 0, 0, 0, 0, &telAviv), 600, Utc(2026, 12, 9, 8)},
      {"ahead: its next day", UTC, {2026, 12, 9}, Place("A", 0, 0, 0, 0, &auckland), 600, Utc(2026, 12, 9, 21)},
      {"clocks gone forward there since noon here", UTC, {2026, 9, 26}, Place("A", 0, 0, 0, 0, &aucklandSpring), 600,
       Utc(2026, 9, 26, 21)},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    InTimeZone here(row.here);
    EXPECT_EQ(InstantOfPlaceTime(row.place, row.day, row.minutes), row.instant);
  }
}

TEST(CallPlanner, ShortTimesLeaveOutTheSecondsAndTheirSeparator) {
  const char* const rows[][2] = {
      {"h:mm:ss tt", "h:mm tt"}, {"HH:mm:ss", "HH:mm"}, {"tt hh:mm:ss", "tt hh:mm"},
      {"H.mm.ss", "H.mm"},       {"H:mm", "H:mm"},      {"HH'h'mm's'ss", "HH'h'mm's'"},
  };
  for (const auto& row : rows) EXPECT_EQ(WithoutSeconds(row[0]), row[1]) << row[0];
}

TEST(CallPlanner, EachRowSaysHowFarItsClockIsFromHere) {
  InTimeZone here(UTC);
  StepZone auckland(780), newfoundland(-210), hawaii(-600);
  const std::time_t noon = Utc(2026, 12, 9, 12);
  const PlannerPlace places[] = {Place("A", 0, 0, 0, 0, &auckland), Place("N", 0, 0, 0, 0, &newfoundland),
                                 Place("H", 0, 0, 0, 0, &hawaii), Place("K", 5.75, 0, 0, 0), Place("U", 0, 0, 0, 0)};
  const char* const labels[] = {"+13", "-3:30", "-10", "+5:45", "0"};
  const PlaceMoment atHome = PlaceMomentAt(places[4], noon);
  for (size_t i = 0; i < 5; ++i) EXPECT_EQ(DifferenceLabel(PlaceMomentAt(places[i], noon).time, atHome.time), labels[i]);
}

TEST(CallPlanner, DaysFollowTheCalendar) {
  struct Row {
    CalendarDay from;
    int days;
    CalendarDay to;
  };
  const Row rows[] = {
      {{2026, 12, 31}, 1, {2027, 1, 1}}, {{2028, 2, 28}, 1, {2028, 2, 29}}, {{2100, 2, 28}, 1, {2100, 3, 1}},
      {{2026, 3, 1}, -1, {2026, 2, 28}}, {{2000, 2, 29}, 366, {2001, 3, 1}}, {{1970, 1, 1}, -1, {1969, 12, 31}},
  };
  for (const Row& row : rows) {
    const CalendarDay to = AddDays(row.from, row.days);
    EXPECT_TRUE(to == row.to) << row.from.year << "-" << row.from.month << "-" << row.from.day << " + " << row.days
                              << " gave " << to.year << "-" << to.month << "-" << to.day;
  }
}

TEST(CallPlanner, EveryStoredPlaceOnceInNumberOrder) {
  const std::vector<std::string> sections = {"Settings10", "Planner",   "settings3",  "Settings", "Settings0",
                                             "Settings-1", "Settings05", "Settings+4", "SettingsX", "Settings2",
                                             "Settings99999999999", "SETTINGS3"};
  EXPECT_EQ(StoredPlaceNumbers(sections), (std::vector<int>{0, 2, 3, 10}));
}

// A list of sections read just before a place was removed.
class ListedBeforeRemoval : public MemoryProfileStore {
 public:
  std::vector<std::string> SectionNames() const override {
    std::vector<std::string> names = MemoryProfileStore::SectionNames();
    names.push_back("Settings9");
    return names;
  }
};

TEST(CallPlanner, ReadingThePlacesAndTheHoursHereMakesNoSection) {
  ListedBeforeRemoval store;
  PlaceSettings dana;
  dana.place = "Dana";
  SaveSettings(store, 2, dana);
  SaveSettings(store, 0, PlaceSettings());
  const int opensBefore = store.SectionOpens();
  const std::vector<NumberedPlace> places = LoadStoredPlaces(store);
  ASSERT_EQ(places.size(), 2u);
  EXPECT_EQ(places[1].number, 2);
  EXPECT_EQ(places[1].settings.place, "Dana");
  EXPECT_EQ(store.SectionOpens() - opensBefore, 3) << "one opening per place listed";
  EXPECT_FALSE(store.HasSection("Settings9")) << "a place removed meanwhile came back";

  HereHours hours;
  hours.workDays = SUN_THU;
  LoadHereHours(store, hours);
  EXPECT_EQ(hours.workDays, SUN_THU) << "the locale's week stays the default";
  EXPECT_FALSE(store.HasSection("Planner")) << "a user who never sets the planner's hours keeps no section";
  hours.from = 16;
  SaveHereHours(store, hours);
  HereHours loaded;
  LoadHereHours(store, loaded);
  EXPECT_EQ(loaded.from, 16);
  EXPECT_EQ(loaded.workDays, SUN_THU);
  EXPECT_EQ(LoadStoredPlaces(store).size(), 2u) << "the planner's is no place";
}

}  // namespace
