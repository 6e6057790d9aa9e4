// The place's clock: the shift, the active window, the weekday rule and the tip text, in fixed
// time zones; and a place with a zone of its own, its zone clock replaced by a fixed one.
#include "clock/remote_clock.h"

#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <ctime>
#include <limits>
#include <ostream>
#include <string>

#include "clock/tip_time_format.h"
#include "native/in_time_zone.h"

namespace {

const char* const UTC = "UTC0";
// New Zealand: clocks go forward on the last Sunday of September (29 September 2002) at 2:00.
const char* const NEW_ZEALAND = "NZST-12NZDT,M9.5.0,M4.1.0/3";

struct WallClock {
  int year, month, day, hour, minute, second;
};

// The instant at which the zone's clocks show the given time.
std::time_t At(const WallClock& w) {
  std::tm t{};
  t.tm_year = w.year - 1900;
  t.tm_mon = w.month - 1;
  t.tm_mday = w.day;
  t.tm_hour = w.hour;
  t.tm_min = w.minute;
  t.tm_sec = w.second;
  t.tm_isdst = -1;
  return std::mktime(&t);
}

// 5 March 2002 is a Tuesday.
WallClock Tuesday(int hour, int minute) { return {2002, 3, 5, hour, minute, 0}; }

const int MON_FRI = MONDAY_TO_FRIDAY;
const int ALL = EVERY_DAY;

PlaceSettings Place(double offset, int from, int to, int workDays) {
  PlaceSettings s;
  s.offset = offset;
  s.from = from;
  s.to = to;
  s.workDays = workDays;
  return s;
}

// Minute values behind the list entries.
struct ListCase {
  int index;
  int fromMinutes;
  int toMinutes;
};

class ListMinutes : public ::testing::TestWithParam<ListCase> {};

TEST_P(ListMinutes, AreHalfHoursFromMidnightAndNoonOrMinusOne) {
  EXPECT_EQ(GetParam().fromMinutes, FromListMinutes(GetParam().index));
  EXPECT_EQ(GetParam().toMinutes, ToListMinutes(GetParam().index));
}

const ListCase LIST_CASES[] = {
    {0, 0, 720},   {1, 30, 750},   {10, 300, 1020}, {17, 510, 1230}, {23, 690, 1410},
    {-1, -1, -1},  {24, -1, -1},   {40, -1, -1},    {INT_MIN, -1, -1}, {INT_MAX, -1, -1},
};
INSTANTIATE_TEST_SUITE_P(Indices, ListMinutes, ::testing::ValuesIn(LIST_CASES));

// One reading: the zone, the user's wall clock, the place, and what the tip and flag must be.
// The tip format shows the shifted weekday and time so that the shift itself is checked.
struct ReadingCase {
  const char* label;
  const char* zone;
  WallClock now;
  PlaceSettings place;
  const char* tip;
  bool active;
};

class Readings : public ::testing::TestWithParam<ReadingCase> {};

TEST_P(Readings, ShiftWindowAndWeekdaysGiveTipAndFlag) {
  const ReadingCase& c = GetParam();
  InTimeZone zone(c.zone);
  RemoteReading reading = ReadRemoteClock(c.place, "%a %H:%M", At(c.now));
  EXPECT_EQ(c.tip, reading.tip) << c.label;
  EXPECT_EQ(c.active, reading.active) << c.label;
}

void PrintTo(const ReadingCase& c, std::ostream* os) { *os << c.label; }

const ReadingCase READING_CASES[] = {
    // Office hours 8:30am to 5:00pm, Monday to Friday, both ends inclusive.
    {"before opening", UTC, Tuesday(8, 29), Place(0, 17, 10, MON_FRI), "[Here! = Tue 08:29]", false},
    {"opening minute", UTC, Tuesday(8, 30), Place(0, 17, 10, MON_FRI), "Here! = Tue 08:30", true},
    {"closing minute", UTC, Tuesday(17, 0), Place(0, 17, 10, MON_FRI), "Here! = Tue 17:00", true},
    {"seconds ignored", UTC, {2002, 3, 5, 17, 0, 59}, Place(0, 17, 10, MON_FRI), "Here! = Tue 17:00", true},
    {"after closing", UTC, Tuesday(17, 1), Place(0, 17, 10, MON_FRI), "[Here! = Tue 17:01]", false},
    {"Saturday", UTC, {2002, 3, 9, 12, 0, 0}, Place(0, 17, 10, MON_FRI), "[Here! = Sat 12:00]", false},
    {"Sunday", UTC, {2002, 3, 10, 12, 0, 0}, Place(0, 17, 10, MON_FRI), "[Here! = Sun 12:00]", false},
    {"Monday", UTC, {2002, 3, 4, 12, 0, 0}, Place(0, 17, 10, MON_FRI), "Here! = Mon 12:00", true},
    {"Friday", UTC, {2002, 3, 8, 12, 0, 0}, Place(0, 17, 10, MON_FRI), "Here! = Fri 12:00", true},
    // The whole day without the weekday rule.
    {"weekend allowed", UTC, {2002, 3, 9, 12, 0, 0}, Place(0, 0, 23, ALL), "Here! = Sat 12:00", true},
    // A place's own work days.
    {"Sunday to Thursday: Friday", UTC, {2002, 3, 8, 12, 0, 0}, Place(0, 17, 10, 0x1F), "[Here! = Fri 12:00]", false},
    {"Sunday to Thursday: Sunday", UTC, {2002, 3, 10, 12, 0, 0}, Place(0, 17, 10, 0x1F), "Here! = Sun 12:00", true},
    {"Saturday to Wednesday: Saturday", UTC, {2002, 3, 9, 12, 0, 0}, Place(0, 17, 10, 0x4F), "Here! = Sat 12:00", true},
    {"no work day", UTC, Tuesday(12, 0), Place(0, 0, 23, 0), "[Here! = Tue 12:00]", false},
    {"the shifted day decides", UTC, {2002, 3, 7, 22, 0, 0}, Place(3, 0, 23, 0x1F), "[Here! = Fri 01:00]", false},
    {"midnight opens", UTC, Tuesday(0, 0), Place(0, 0, 23, ALL), "Here! = Tue 00:00", true},
    {"last entry", UTC, Tuesday(23, 30), Place(0, 0, 23, ALL), "Here! = Tue 23:30", true},
    {"last half hour", UTC, Tuesday(23, 45), Place(0, 0, 23, ALL), "[Here! = Tue 23:45]", false},
    // Indices outside the lists: a From of -1 opens at midnight, a To of -1 never lets it open.
    {"From -1", UTC, Tuesday(0, 0), Place(0, -1, 23, ALL), "Here! = Tue 00:00", true},
    {"From 24", UTC, Tuesday(0, 0), Place(0, 24, 0, ALL), "Here! = Tue 00:00", true},
    {"To -1", UTC, Tuesday(0, 0), Place(0, -1, -1, ALL), "[Here! = Tue 00:00]", false},
    {"To 24", UTC, Tuesday(12, 0), Place(0, 0, 24, ALL), "[Here! = Tue 12:00]", false},
    // The shift: whole hours and truncated minutes of |offset|, the sign applied to both.
    {"-3.5 back a day", UTC, {2002, 3, 4, 1, 10, 0}, Place(-3.5, 0, 23, MON_FRI), "[Here! = Sun 21:40]", false},
    {"-3.5 back to Friday", UTC, {2002, 3, 9, 1, 10, 0}, Place(-3.5, 0, 23, MON_FRI), "Here! = Fri 21:40", true},
    {"19 into Saturday", UTC, {2002, 3, 8, 15, 0, 0}, Place(19, 17, 10, MON_FRI), "[Here! = Sat 10:00]", false},
    {"5.75", UTC, Tuesday(0, 0), Place(5.75, 0, 23, ALL), "Here! = Tue 05:45", true},
    {"-0.5", UTC, Tuesday(8, 59), Place(-0.5, 17, 10, MON_FRI), "[Here! = Tue 08:29]", false},
    {"-0.5 across midnight", UTC, Tuesday(0, 10), Place(-0.5, 0, 23, ALL), "[Here! = Mon 23:40]", false},
    {"5.1 truncates", UTC, Tuesday(0, 0), Place(5.1, 0, 23, ALL), "Here! = Tue 05:05", true},
    {"-5.1 truncates", UTC, Tuesday(12, 0), Place(-5.1, 0, 23, ALL), "Here! = Tue 06:55", true},
    {"30 hours", UTC, Tuesday(0, 0), Place(30, 0, 23, ALL), "Here! = Wed 06:00", true},
    {"24", UTC, Tuesday(9, 0), Place(24, 17, 10, MON_FRI), "Here! = Wed 09:00", true},
    {"-24", UTC, Tuesday(9, 0), Place(-24, 17, 10, MON_FRI), "Here! = Mon 09:00", true},
    {"no seconds shifted", UTC, Tuesday(0, 0), Place(1.0 / 3600, 0, 23, ALL), "Here! = Tue 00:00", true},
    // Not a number: no shift at all.
    {"NaN", UTC, Tuesday(8, 30), Place(std::numeric_limits<double>::quiet_NaN(), 17, 10, MON_FRI),
     "Here! = Tue 08:30", true},
    {"infinity", UTC, Tuesday(8, 30), Place(std::numeric_limits<double>::infinity(), 17, 10, MON_FRI),
     "Here! = Tue 08:30", true},
    // The shifted instant is rendered with the user's own rule in force at that instant.
    {"before spring forward", NEW_ZEALAND, {2002, 9, 28, 20, 0, 0}, Place(12, 0, 23, ALL),
     "Here! = Sun 09:00", true},
    {"same side of the change", NEW_ZEALAND, {2002, 9, 28, 1, 0, 0}, Place(12, 0, 23, ALL),
     "Here! = Sat 13:00", true},
};
INSTANTIATE_TEST_SUITE_P(Cases, Readings, ::testing::ValuesIn(READING_CASES));

// The time text: the format as given, cut to 127 UTF-16 units but never blanked.
struct TimeTextCase {
  const char* label;
  std::string format;
  std::string timeText;
};

class TimeTexts : public ::testing::TestWithParam<TimeTextCase> {};

TEST_P(TimeTexts, FormatTheShiftedTime) {
  const TimeTextCase& c = GetParam();
  InTimeZone zone(UTC);
  PlaceSettings place = Place(0, 17, 10, MON_FRI);
  RemoteReading active = ReadRemoteClock(place, c.format, At(Tuesday(10, 15)));
  EXPECT_TRUE(active.active) << c.label;
  EXPECT_EQ("Here! = " + c.timeText, active.tip) << c.label;
  // The same instant outside a window that never opens: the same text, in brackets.
  RemoteReading inactive = ReadRemoteClock(Place(0, 17, -1, MON_FRI), c.format, At(Tuesday(10, 15)));
  EXPECT_FALSE(inactive.active) << c.label;
  EXPECT_EQ("[Here! = " + c.timeText + "]", inactive.tip) << c.label;
}

std::string Repeat(const std::string& text, int times) {
  std::string all;
  for (int i = 0; i < times; ++i) all += text;
  return all;
}

void PrintTo(const TimeTextCase& c, std::ostream* os) { *os << c.label; }

const TimeTextCase TIME_TEXT_CASES[] = {
    {"locale pictures", ConvertPictures("h:mm:ss tt", "dddd, MMMM dd, yyyy"),
     "10:15:00 AM. Tuesday, March 05, 2002"},
    {"empty format", "", ""},
    {"literal text", "no time", "no time"},
    {"127 bytes", std::string(127, 'x'), std::string(127, 'x')},
    {"128 bytes cut", std::string(128, 'x'), std::string(127, 'x')},
    {"long literal cut", std::string(400, 'y'), std::string(127, 'y')},
    // Units, not bytes: 127 three-byte characters are 381 bytes and stay; a surrogate pair is two.
    {"three-byte characters cut at 127 units", Repeat("\xe6\x9d\xb1", 130), Repeat("\xe6\x9d\xb1", 127)},
    {"two-byte characters cut at 127 units", Repeat("\xc3\xa9", 128), Repeat("\xc3\xa9", 127)},
    {"surrogate pair across the cut", std::string(126, 'x') + "\xf0\x9f\x95\x90", std::string(126, 'x')},
    {"surrogate pair ending at the cut", std::string(125, 'x') + "\xf0\x9f\x95\x90z",
     std::string(125, 'x') + "\xf0\x9f\x95\x90"},
    {"expands past 128", Repeat("%c ", 8), Repeat("Tue Mar  5 10:15:00 2002 ", 8).substr(0, 127)},
    {"unknown conversions", "%q %E %k%", "%q %E %k%"},
    {"escaped percent", "100%% %H", "100% 10"},
};
INSTANTIATE_TEST_SUITE_P(Formats, TimeTexts, ::testing::ValuesIn(TIME_TEXT_CASES));

TEST(Readings, PlaceNameAndBracketsFrameTheTimeText) {
  InTimeZone zone(UTC);
  PlaceSettings place = Place(0, 17, 10, MON_FRI);
  place.place = "Tokyo";
  EXPECT_EQ("[Tokyo = Sat 10:15]", ReadRemoteClock(place, "%a %H:%M", At({2002, 3, 9, 10, 15, 0})).tip);
  place.place = "";
  EXPECT_EQ(" = Tue 10:15", ReadRemoteClock(place, "%a %H:%M", At(Tuesday(10, 15))).tip);
}

// Instants no breakdown can render: no time text, and the place is not shown as active.
struct UnrenderableCase {
  std::time_t now;
  double offset;
};

class Unrenderable : public ::testing::TestWithParam<UnrenderableCase> {};

TEST_P(Unrenderable, GiveAnEmptyInactiveReading) {
  InTimeZone zone(UTC);
  RemoteReading reading = ReadRemoteClock(Place(GetParam().offset, -1, 23, ALL), "%H:%M", GetParam().now);
  EXPECT_EQ("[Here! = ]", reading.tip);
  EXPECT_FALSE(reading.active);
}

const UnrenderableCase UNRENDERABLE_CASES[] = {
    {std::numeric_limits<std::time_t>::max(), 0.0},
    {std::numeric_limits<std::time_t>::max(), 24.0},
    {std::numeric_limits<std::time_t>::max() - 3600, 1e300},
    {std::numeric_limits<std::time_t>::min(), -24.0},
    {std::numeric_limits<std::time_t>::min(), -1e300},
};
INSTANTIATE_TEST_SUITE_P(Instants, Unrenderable, ::testing::ValuesIn(UNRENDERABLE_CASES));

// Offsets far beyond any dialog entry still give a reading, shifted by at most a bounded amount.
class AbsurdOffsets : public ::testing::TestWithParam<double> {};

TEST_P(AbsurdOffsets, GiveAWellFormedReading) {
  InTimeZone zone(UTC);
  const std::time_t now = At(Tuesday(12, 0));
  RemoteReading reading = ReadRemoteClock(Place(GetParam(), 0, 23, ALL), "%Y", now);
  const std::string prefix = reading.active ? "Here! = " : "[Here! = ";
  ASSERT_EQ(prefix, reading.tip.substr(0, prefix.size()));
  const int year = std::atoi(reading.tip.c_str() + prefix.size());
  EXPECT_NE(0, year);
  EXPECT_LT(std::abs(year - 2002), 2000);
  EXPECT_EQ(GetParam() > 0, year > 2002);
}

INSTANTIATE_TEST_SUITE_P(Offsets, AbsurdOffsets,
                         ::testing::Values(1e300, -1e300, 1e12, -1e12, std::numeric_limits<double>::max(),
                                           -std::numeric_limits<double>::max()));

// A zone clock whose zone is a fixed number of minutes from UTC, or which cannot tell the zone.
class FixedZoneClock : public ZoneClock {
 public:
  FixedZoneClock(bool known, int minutesFromUtc) : known_(known), minutes_(minutesFromUtc) {}
  void SetZone(const std::string&) override {}
  bool ZoneTime(std::time_t utc, std::tm* zoneTime) override {
    ++calls;
    asked = utc;
    if (!known_) return false;
    const std::time_t shifted = utc + minutes_ * 60;
    *zoneTime = *std::gmtime(&shifted);
    return true;
  }
  int calls = 0;
  std::time_t asked = 0;

 private:
  bool known_;
  int minutes_;
};

struct ZoneReadingCase {
  const char* label;
  const char* zone;        // the place's stored zone
  bool withClock;          // false: no zone clock is given
  bool known;              // whether the zone clock can tell the zone
  int zoneMinutes;         // the zone's distance from UTC
  WallClock now;           // UTC
  PlaceSettings place;     // offset, window, weekday rule
  const char* tip;
  bool active;
  bool asked;              // whether the zone clock was asked
};

class ZoneReadings : public ::testing::TestWithParam<ZoneReadingCase> {};

TEST_P(ZoneReadings, TakeTheZonesTimeWhenItCanBeToldElseTheOffset) {
  const ZoneReadingCase& c = GetParam();
  InTimeZone zone(UTC);
  FixedZoneClock clock(c.known, c.zoneMinutes);
  PlaceSettings place = c.place;
  place.zone = c.zone;
  const std::time_t now = At(c.now);
  RemoteReading reading = ReadRemoteClock(place, "%a %H:%M", now, c.withClock ? &clock : nullptr);
  EXPECT_EQ(c.tip, reading.tip) << c.label;
  EXPECT_EQ(c.active, reading.active) << c.label;
  EXPECT_EQ(c.asked ? 1 : 0, clock.calls) << c.label;
  if (c.asked) EXPECT_EQ(now, clock.asked) << c.label;
}

void PrintTo(const ZoneReadingCase& c, std::ostream* os) { *os << c.label; }

const ZoneReadingCase ZONE_READING_CASES[] = {
    {"zone opens the window", "Nepal Standard Time", true, true, 345, Tuesday(2, 45), Place(0, 17, 10, MON_FRI),
     "Here! = Tue 08:30", true, true},
    {"zone's weekday", "Tonga Standard Time", true, true, 780, {2002, 3, 8, 12, 0, 0}, Place(0, 0, 23, MON_FRI),
     "[Here! = Sat 01:00]", false, true},
    {"offset not added to the zone", "GMT Standard Time", true, true, 60, Tuesday(10, 0), Place(5.75, 0, 23, ALL),
     "Here! = Tue 11:00", true, true},
    {"zone behind, day before", "Hawaiian Standard Time", true, true, -600, Tuesday(3, 0), Place(0, 0, 23, ALL),
     "Here! = Mon 17:00", true, true},
    {"unknown zone: the offset", "Atlantis Standard Time", true, false, 0, Tuesday(0, 0), Place(5.75, 0, 23, ALL),
     "Here! = Tue 05:45", true, true},
    {"no zone chosen: the offset", "", true, true, 60, Tuesday(9, 0), Place(-0.5, 17, 10, MON_FRI),
     "Here! = Tue 08:30", true, false},
    {"no zone clock: the offset", "India Standard Time", false, true, 330, Tuesday(9, 0), Place(-0.5, 17, 10, MON_FRI),
     "Here! = Tue 08:30", true, false},
};
INSTANTIATE_TEST_SUITE_P(Zones, ZoneReadings, ::testing::ValuesIn(ZONE_READING_CASES));

// The hour the icon shows turns with the place's own minute, for offsets of half and three
// quarters of an hour as for whole ones.
struct HourCase {
  const char* label;
  double offset;
  WallClock now;  // UTC
  int hour;
};

class Hours : public ::testing::TestWithParam<HourCase> {};

TEST_P(Hours, AreThePlacesOwn) {
  const HourCase& c = GetParam();
  InTimeZone zone(UTC);
  EXPECT_EQ(c.hour, ReadRemoteClock(Place(c.offset, 0, 23, ALL), "%H", At(c.now)).hour) << c.label;
}

void PrintTo(const HourCase& c, std::ostream* os) { *os << c.label; }

const HourCase HOUR_CASES[] = {
    {"a second before ten", 0, {2026, 12, 8, 9, 59, 59}, 9},
    {"ten", 0, {2026, 12, 8, 10, 0, 0}, 10},
    {"half an hour ahead, before", 5.5, {2026, 12, 8, 4, 29, 59}, 9},
    {"half an hour ahead, after", 5.5, {2026, 12, 8, 4, 30, 0}, 10},
    {"three quarters ahead, after", 5.75, {2026, 12, 8, 4, 15, 0}, 10},
    {"three and a half behind, before", -3.5, {2026, 12, 8, 13, 29, 59}, 9},
    {"three and a half behind, after", -3.5, {2026, 12, 8, 13, 30, 0}, 10},
    {"across midnight", 1, {2026, 12, 8, 23, 0, 0}, 0},
};
INSTANTIATE_TEST_SUITE_P(Offsets, Hours, ::testing::ValuesIn(HOUR_CASES));

// The refresh timer's next wait: a quarter of a second past the next turn of the minute, whatever
// second the clock reads, before 1970 too; never a minute late and never before the turn.
struct NextMinuteCase {
  long long now;
  unsigned milliseconds;
};

class NextMinutes : public ::testing::TestWithParam<NextMinuteCase> {};

TEST_P(NextMinutes, EndJustAfterTheTurn) {
  const NextMinuteCase& c = GetParam();
  EXPECT_EQ(c.milliseconds, MillisecondsToNextMinute(static_cast<std::time_t>(c.now)));
}

const NextMinuteCase NEXT_MINUTE_CASES[] = {
    {1796990400, 60250}, {1796990459, 1250}, {1796990401, 59250}, {1796990430, 30250}, {-1, 1250}, {-60, 60250},
};
INSTANTIATE_TEST_SUITE_P(Seconds, NextMinutes, ::testing::ValuesIn(NEXT_MINUTE_CASES));

}  // namespace
