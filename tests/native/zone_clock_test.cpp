// The portable side of a place's zone: the offset a zone amounts to, the offset stored, and the
// order of the zone list.
#include "clock/zone_clock.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

struct WallTime {
  int year, month, day, hour, minute, second;
};

std::tm Parts(const WallTime& w) {
  std::tm t{};
  t.tm_year = w.year - 1900;
  t.tm_mon = w.month - 1;
  t.tm_mday = w.day;
  t.tm_hour = w.hour;
  t.tm_min = w.minute;
  t.tm_sec = w.second;
  return t;
}

// The zone's wall clock and this computer's at the same instant.
struct OffsetCase {
  const char* label;
  WallTime zone;
  WallTime local;
  double hours;
};

class EffectiveOffsets : public ::testing::TestWithParam<OffsetCase> {};

TEST_P(EffectiveOffsets, AreTheWallClocksDifferenceInWholeMinutes) {
  const OffsetCase& c = GetParam();
  EXPECT_EQ(c.hours, EffectiveOffsetHours(Parts(c.zone), Parts(c.local))) << c.label;
}

void PrintTo(const OffsetCase& c, std::ostream* os) { *os << c.label; }

const OffsetCase OFFSET_CASES[] = {
    {"same time", {2026, 3, 5, 10, 15, 0}, {2026, 3, 5, 10, 15, 0}, 0.0},
    {"Kathmandu from UTC", {2026, 3, 5, 15, 45, 0}, {2026, 3, 5, 10, 0, 0}, 5.75},
    {"Chatham from UTC, next day", {2026, 3, 6, 0, 45, 0}, {2026, 3, 5, 11, 0, 0}, 13.75},
    {"Chatham standard from UTC", {2026, 7, 1, 12, 45, 0}, {2026, 7, 1, 0, 0, 0}, 12.75},
    {"Los Angeles from London", {2026, 7, 1, 2, 0, 0}, {2026, 7, 1, 10, 0, 0}, -8.0},
    {"Newfoundland from UTC, day before", {2026, 1, 31, 22, 30, 0}, {2026, 2, 1, 2, 0, 0}, -3.5},
    {"across New Year", {2027, 1, 1, 0, 30, 0}, {2026, 12, 31, 11, 30, 0}, 13.0},
    {"behind across New Year", {2026, 12, 31, 14, 0, 0}, {2027, 1, 1, 9, 0, 0}, -19.0},
    {"across the date line", {2026, 6, 2, 12, 0, 0}, {2026, 6, 1, 11, 0, 0}, 25.0},
    {"across 29 February", {2028, 3, 1, 1, 0, 0}, {2028, 2, 29, 23, 0, 0}, 2.0},
    {"across 28 February", {2027, 3, 1, 1, 0, 0}, {2027, 2, 28, 23, 0, 0}, 2.0},
    {"seconds ignored", {2026, 3, 5, 10, 15, 59}, {2026, 3, 5, 10, 0, 1}, 0.25},
};
INSTANTIATE_TEST_SUITE_P(Zones, EffectiveOffsets, ::testing::ValuesIn(OFFSET_CASES));

// The list's order: standard offset west first, then the display name.
TEST(SortZones, OrdersByBiasDescendingThenDisplayName) {
  std::vector<ZoneEntry> zones = {
      {"New Zealand Standard Time", "(UTC+12:00) Auckland, Wellington", -720},
      {"Dateline Standard Time", "(UTC-12:00) International Date Line West", 720},
      {"GMT Standard Time", "(UTC+00:00) Dublin, Edinburgh, Lisbon, London", 0},
      {"Nepal Standard Time", "(UTC+05:45) Kathmandu", -345},
      {"UTC", "(UTC) Coordinated Universal Time", 0},
      {"Pacific Standard Time", "(UTC-08:00) Pacific Time (US & Canada)", 480},
      {"Greenwich Standard Time", "(UTC+00:00) Monrovia, Reykjavik", 0},
      {"India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", -330},
  };
  SortZones(zones);
  std::vector<std::string> keys;
  for (const ZoneEntry& zone : zones) keys.push_back(zone.keyName);
  const std::vector<std::string> expected = {
      "Dateline Standard Time", "Pacific Standard Time", "UTC",
      "GMT Standard Time",      "Greenwich Standard Time", "India Standard Time",
      "Nepal Standard Time",    "New Zealand Standard Time",
  };
  EXPECT_EQ(expected, keys);
}

// What the settings store of an effective offset: the same time of day, within -24 to 24 hours.
struct ZoneOffsetCase {
  double effective;
  double stored;
};

class ZoneOffsetsStored : public ::testing::TestWithParam<ZoneOffsetCase> {};

TEST_P(ZoneOffsetsStored, KeepTheTimeOfDayWithinADay) {
  EXPECT_EQ(GetParam().stored, OffsetWithinDay(GetParam().effective)) << GetParam().effective;
}

const ZoneOffsetCase ZONE_OFFSET_CASES[] = {
    {26.0, 2.0},   {-25.0, -1.0}, {24.0, 24.0},  {-24.0, -24.0},
    {25.75, 1.75}, {-24.5, -0.5}, {5.75, 5.75},  {0.0, 0.0},
};
INSTANTIATE_TEST_SUITE_P(Zones, ZoneOffsetsStored, ::testing::ValuesIn(ZONE_OFFSET_CASES));

}  // namespace
