// The portable side of a place's zone: the offset it amounts to, and the order of the list.
#include "clock/zone_clock.h"

#include <algorithm>
#include <cmath>

namespace {

const double DAY_HOURS = 24.0;

long long WallMinutes(const std::tm& t) {
  return DaysFromCivil(1900LL + t.tm_year, t.tm_mon, t.tm_mday) * 1440 + t.tm_hour * 60LL + t.tm_min;
}

}  // namespace

long long DaysFromCivil(long long year, long long month0, long long day) {
  year += month0 >= 0 ? month0 / 12 : -((11 - month0) / 12);
  month0 = ((month0 % 12) + 12) % 12;
  const long long y = month0 < 2 ? year - 1 : year;
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long yearOfEra = y - era * 400;
  const long long m = month0 < 2 ? month0 + 10 : month0 - 2;  // March is 0
  const long long dayOfYear = (153 * m + 2) / 5 + day - 1;
  const long long dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
  return era * 146097 + dayOfEra - 719468;
}

double EffectiveOffsetHours(const std::tm& zoneTime, const std::tm& localTime) {
  return static_cast<double>(WallMinutes(zoneTime) - WallMinutes(localTime)) / 60.0;
}

double OffsetWithinDay(double hours) {
  return std::fabs(hours) > DAY_HOURS ? std::fmod(hours, DAY_HOURS) : hours;
}

void SortZones(std::vector<ZoneEntry>& zones) {
  std::sort(zones.begin(), zones.end(), [](const ZoneEntry& a, const ZoneEntry& b) {
    if (a.biasMinutes != b.biasMinutes) return a.biasMinutes > b.biasMinutes;
    if (a.displayName != b.displayName) return a.displayName < b.displayName;
    return a.keyName < b.keyName;
  });
}
