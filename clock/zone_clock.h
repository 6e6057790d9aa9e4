// A place's own time zone: its wall-clock time at an instant, by the zone's own rules for the year
// (daylight saving included), whatever this computer's zone is.
#ifndef FARHOUR_CLOCK_ZONE_CLOCK_H
#define FARHOUR_CLOCK_ZONE_CLOCK_H

#include <ctime>
#include <string>
#include <vector>

class ZoneClock {
 public:
  virtual ~ZoneClock() = default;
  // Chooses the zone by its key name; empty for none. Cheap when the name is unchanged.
  virtual void SetZone(const std::string& keyName) = 0;
  // The zone's wall-clock time at the instant utc, broken down (tm_wday and tm_yday set, tm_isdst
  // 1 while daylight-saving time applies there, else 0); false when this computer does not know
  // the zone, or cannot say.
  virtual bool ZoneTime(std::time_t utc, std::tm* zoneTime) = 0;
};

// Days from 1 January 1970 to a date of the proleptic Gregorian calendar (month0 0 to 11); months
// outside that range carry into the year, as mktime takes them.
long long DaysFromCivil(long long year, long long month0, long long day);

// The zone's wall-clock time minus this computer's at the same instant, in hours: 5.75 for 5 hours
// 45 minutes ahead, -19 for 19 hours behind. Whole minutes; the seconds of both times are ignored.
double EffectiveOffsetHours(const std::tm& zoneTime, const std::tm& localTime);

// An effective offset as the settings store it: within -24 to 24 hours, the range they load, and
// with the same time of day (26 is 2, -25 is -1): a copy of the program without the zone then shows
// the right time, if not the right date.
double OffsetWithinDay(double hours);

// One zone of this computer's list.
struct ZoneEntry {
  std::string keyName;      // "New Zealand Standard Time", what the settings store
  std::string displayName;  // "(UTC+12:00) Auckland, Wellington"
  int biasMinutes = 0;      // UTC minus the zone's standard time, as Windows counts it: -720 for +12:00
};

// Windows' order: by standard offset from UTC, west first, then by display name.
void SortZones(std::vector<ZoneEntry>& zones);

#endif
