// A zone's time from the system's zone data, under Wine against the prefix's zones, and the list of
// those zones. Every expected time is the IANA time zone database's (tzdata 2025b, Debian's tzdata
// 2025b-0+deb12u2, through Python's zoneinfo), for the IANA zone named beside each Windows zone.
#include "clock/system_zone_clock_win.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct Utc {
  int year, month, day, hour, minute;
};

struct ZoneWall {
  int year, month, day, hour, minute, wday, yday;
};

std::time_t At(const Utc& u) {
  SYSTEMTIME t{};
  t.wYear = static_cast<WORD>(u.year);
  t.wMonth = static_cast<WORD>(u.month);
  t.wDay = static_cast<WORD>(u.day);
  t.wHour = static_cast<WORD>(u.hour);
  t.wMinute = static_cast<WORD>(u.minute);
  FILETIME file;
  EXPECT_TRUE(SystemTimeToFileTime(&t, &file));
  const unsigned long long ticks = (static_cast<unsigned long long>(file.dwHighDateTime) << 32) | file.dwLowDateTime;
  return static_cast<std::time_t>(ticks / 10000000ULL - 11644473600ULL);
}

struct ZoneTimeCase {
  const char* zone;
  Utc utc;
  ZoneWall wall;
  int isdst;
};

void PrintTo(const ZoneTimeCase& c, std::ostream* os) {
  *os << c.zone << " at " << c.utc.year << "-" << c.utc.month << "-" << c.utc.day << " " << c.utc.hour << ":"
      << c.utc.minute << " UTC";
}

class ZoneTimes : public ::testing::TestWithParam<ZoneTimeCase> {};

TEST_P(ZoneTimes, FollowTheZonesOwnRulesForTheYear) {
  const ZoneTimeCase& c = GetParam();
  SystemZoneClock clock;
  clock.SetZone(c.zone);
  std::tm t{};
  ASSERT_TRUE(clock.ZoneTime(At(c.utc), &t));
  const ZoneWall got{t.tm_year + 1900, t.tm_mon + 1, t.tm_mday, t.tm_hour, t.tm_min, t.tm_wday, t.tm_yday};
  EXPECT_EQ(c.wall.year, got.year);
  EXPECT_EQ(c.wall.month, got.month);
  EXPECT_EQ(c.wall.day, got.day);
  EXPECT_EQ(c.wall.hour, got.hour);
  EXPECT_EQ(c.wall.minute, got.minute);
  EXPECT_EQ(c.wall.wday, got.wday);
  EXPECT_EQ(c.wall.yday, got.yday);
  EXPECT_EQ(0, t.tm_sec);
  EXPECT_EQ(c.isdst, t.tm_isdst);
}

// One minute before and one after each of the zone's changes in 2026. Pacific/Auckland,
// America/Los_Angeles, Europe/London, Australia/Sydney, Australia/Lord_Howe (a 30-minute change),
// Pacific/Chatham (+12:45 and +13:45).
const ZoneTimeCase CHANGES_2026[] = {
    {"New Zealand Standard Time", {2026, 4, 4, 13, 59}, {2026, 4, 5, 2, 59, 0, 94}, 1},
    {"New Zealand Standard Time", {2026, 4, 4, 14, 1}, {2026, 4, 5, 2, 1, 0, 94}, 0},
    {"New Zealand Standard Time", {2026, 9, 26, 13, 59}, {2026, 9, 27, 1, 59, 0, 269}, 0},
    {"New Zealand Standard Time", {2026, 9, 26, 14, 1}, {2026, 9, 27, 3, 1, 0, 269}, 1},
    {"Pacific Standard Time", {2026, 3, 8, 9, 59}, {2026, 3, 8, 1, 59, 0, 66}, 0},
    {"Pacific Standard Time", {2026, 3, 8, 10, 1}, {2026, 3, 8, 3, 1, 0, 66}, 1},
    {"Pacific Standard Time", {2026, 11, 1, 8, 59}, {2026, 11, 1, 1, 59, 0, 304}, 1},
    {"Pacific Standard Time", {2026, 11, 1, 9, 1}, {2026, 11, 1, 1, 1, 0, 304}, 0},
    {"GMT Standard Time", {2026, 3, 29, 0, 59}, {2026, 3, 29, 0, 59, 0, 87}, 0},
    {"GMT Standard Time", {2026, 3, 29, 1, 1}, {2026, 3, 29, 2, 1, 0, 87}, 1},
    {"GMT Standard Time", {2026, 10, 25, 0, 59}, {2026, 10, 25, 1, 59, 0, 297}, 1},
    {"GMT Standard Time", {2026, 10, 25, 1, 1}, {2026, 10, 25, 1, 1, 0, 297}, 0},
    {"AUS Eastern Standard Time", {2026, 4, 4, 15, 59}, {2026, 4, 5, 2, 59, 0, 94}, 1},
    {"AUS Eastern Standard Time", {2026, 4, 4, 16, 1}, {2026, 4, 5, 2, 1, 0, 94}, 0},
    {"AUS Eastern Standard Time", {2026, 10, 3, 15, 59}, {2026, 10, 4, 1, 59, 0, 276}, 0},
    {"AUS Eastern Standard Time", {2026, 10, 3, 16, 1}, {2026, 10, 4, 3, 1, 0, 276}, 1},
    {"Lord Howe Standard Time", {2026, 4, 4, 14, 59}, {2026, 4, 5, 1, 59, 0, 94}, 1},
    {"Lord Howe Standard Time", {2026, 4, 4, 15, 1}, {2026, 4, 5, 1, 31, 0, 94}, 0},
    {"Lord Howe Standard Time", {2026, 10, 3, 15, 29}, {2026, 10, 4, 1, 59, 0, 276}, 0},
    {"Lord Howe Standard Time", {2026, 10, 3, 15, 31}, {2026, 10, 4, 2, 31, 0, 276}, 1},
    {"Chatham Islands Standard Time", {2026, 4, 4, 13, 59}, {2026, 4, 5, 3, 44, 0, 94}, 1},
    {"Chatham Islands Standard Time", {2026, 4, 4, 14, 1}, {2026, 4, 5, 2, 46, 0, 94}, 0},
    {"Chatham Islands Standard Time", {2026, 9, 26, 13, 59}, {2026, 9, 27, 2, 44, 0, 269}, 0},
    {"Chatham Islands Standard Time", {2026, 9, 26, 14, 1}, {2026, 9, 27, 3, 46, 0, 269}, 1},
};
INSTANTIATE_TEST_SUITE_P(Changes2026, ZoneTimes, ::testing::ValuesIn(CHANGES_2026));

// Zones without daylight-saving time: Asia/Kathmandu (+5:45) and Asia/Kolkata (+5:30).
const ZoneTimeCase FIXED_ZONES[] = {
    {"Nepal Standard Time", {2026, 1, 15, 12, 0}, {2026, 1, 15, 17, 45, 4, 14}, 0},
    {"Nepal Standard Time", {2026, 7, 15, 20, 30}, {2026, 7, 16, 2, 15, 4, 196}, 0},
    {"India Standard Time", {2026, 1, 15, 12, 0}, {2026, 1, 15, 17, 30, 4, 14}, 0},
    {"India Standard Time", {2026, 7, 15, 20, 30}, {2026, 7, 16, 2, 0, 4, 196}, 0},
};
INSTANTIATE_TEST_SUITE_P(Fixed, ZoneTimes, ::testing::ValuesIn(FIXED_ZONES));

// America/Mexico_City kept daylight-saving time until October 2022 and dropped it from 2023; the
// system holds the change as yearly rules of the zone.
const ZoneTimeCase RULES_BY_YEAR[] = {
    {"Central Standard Time (Mexico)", {2022, 7, 1, 12, 0}, {2022, 7, 1, 7, 0, 5, 181}, 1},
    {"Central Standard Time (Mexico)", {2022, 10, 30, 6, 59}, {2022, 10, 30, 1, 59, 0, 302}, 1},
    {"Central Standard Time (Mexico)", {2022, 10, 30, 7, 1}, {2022, 10, 30, 1, 1, 0, 302}, 0},
    {"Central Standard Time (Mexico)", {2023, 7, 1, 12, 0}, {2023, 7, 1, 6, 0, 6, 181}, 0},
    {"Central Standard Time (Mexico)", {2023, 4, 2, 8, 1}, {2023, 4, 2, 2, 1, 0, 91}, 0},
};
INSTANTIATE_TEST_SUITE_P(RulesByYear, ZoneTimes, ::testing::ValuesIn(RULES_BY_YEAR));

// New Year in the zone but not in UTC, ahead and behind: the zone's own year's rules apply.
const ZoneTimeCase NEW_YEAR[] = {
    {"New Zealand Standard Time", {2026, 12, 31, 11, 30}, {2027, 1, 1, 0, 30, 5, 0}, 1},
    {"Pacific Standard Time", {2027, 1, 1, 3, 0}, {2026, 12, 31, 19, 0, 4, 364}, 0},
};
INSTANTIATE_TEST_SUITE_P(NewYear, ZoneTimes, ::testing::ValuesIn(NEW_YEAR));

// Names that are no zone of this computer's, or that the system could not even be asked about.
class UnknownZones : public ::testing::TestWithParam<std::string> {};

TEST_P(UnknownZones, HaveNoTime) {
  SystemZoneClock clock;
  clock.SetZone(GetParam());
  std::tm t{};
  EXPECT_FALSE(clock.ZoneTime(At({2026, 3, 5, 12, 0}), &t));
  EXPECT_FALSE(clock.ZoneTime(At({2026, 3, 5, 12, 1}), &t));
}

INSTANTIATE_TEST_SUITE_P(Names, UnknownZones,
                         ::testing::Values(std::string(), "Atlantis Standard Time", "New Zealand",
                                           "Time Zones", std::string(127, 'x'), std::string(128, 'x'),
                                           "New Zealand Standard Time" + std::string(200, ' '),
                                           std::string("New Zealand\0Standard Time", 25)));

TEST(SystemZoneClock, ANewZoneForgetsTheRulesOfTheOld) {
  const std::time_t now = At({2026, 1, 15, 12, 0});
  SystemZoneClock clock;
  std::tm t{};
  struct Step {
    const char* zone;
    bool known;
    int hour;
  };
  const Step steps[] = {
      {"Nepal Standard Time", true, 17},   {"India Standard Time", true, 17}, {"Atlantis", false, 0},
      {"New Zealand Standard Time", true, 1}, {"GMT Standard Time", true, 12},
  };
  for (const Step& step : steps) {
    clock.SetZone(step.zone);
    EXPECT_EQ(step.zone, clock.Zone());
    ASSERT_EQ(step.known, clock.ZoneTime(now, &t)) << step.zone;
    if (step.known) {
      EXPECT_EQ(step.hour, t.tm_hour) << step.zone;
    }
  }
  clock.Invalidate();
  ASSERT_TRUE(clock.ZoneTime(now, &t));
  EXPECT_EQ(12, t.tm_hour);
}

// The prefix's zone list.
TEST(ListSystemZones, ListsEveryZoneOfThePrefixInOrder) {
  const std::vector<ZoneEntry> zones = ListSystemZones();
  HKEY key = nullptr;
  ASSERT_EQ(ERROR_SUCCESS, RegOpenKeyExA(HKEY_LOCAL_MACHINE,
                                         "SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones", 0,
                                         KEY_READ, &key));
  DWORD subkeys = 0;
  EXPECT_EQ(ERROR_SUCCESS, RegQueryInfoKeyA(key, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr, nullptr));
  RegCloseKey(key);
  EXPECT_EQ(subkeys, zones.size());
  EXPECT_GE(zones.size(), 139u);
  for (std::size_t i = 0; i < zones.size(); ++i) {
    EXPECT_FALSE(zones[i].displayName.empty()) << zones[i].keyName;
    if (i == 0) continue;
    const ZoneEntry& a = zones[i - 1];
    const ZoneEntry& b = zones[i];
    EXPECT_TRUE(a.biasMinutes > b.biasMinutes ||
                (a.biasMinutes == b.biasMinutes && a.displayName <= b.displayName))
        << a.keyName << " before " << b.keyName;
  }
}

struct ListedZoneCase {
  const char* keyName;
  int biasMinutes;
};

class ListedZones : public ::testing::TestWithParam<ListedZoneCase> {};

TEST_P(ListedZones, CarryTheirStandardBias) {
  const std::vector<ZoneEntry> zones = ListSystemZones();
  const ZoneEntry* found = nullptr;
  for (const ZoneEntry& zone : zones) {
    if (zone.keyName == GetParam().keyName) found = &zone;
  }
  ASSERT_NE(nullptr, found) << GetParam().keyName;
  EXPECT_EQ(GetParam().biasMinutes, found->biasMinutes);
}

const ListedZoneCase LISTED_ZONES[] = {
    {"Dateline Standard Time", 720}, {"Pacific Standard Time", 480}, {"GMT Standard Time", 0},
    {"India Standard Time", -330},   {"Nepal Standard Time", -345},  {"Chatham Islands Standard Time", -765},
    {"Lord Howe Standard Time", -630},
};
INSTANTIATE_TEST_SUITE_P(Zones, ListedZones, ::testing::ValuesIn(LISTED_ZONES));

}  // namespace
