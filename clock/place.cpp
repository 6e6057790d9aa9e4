#include "clock/place.h"

#include <ctime>

#include "clock/tip_time_format.h"

Place::Place(ZoneClock& zoneClock) : zoneClock_(zoneClock) {}

void Place::BuildTipTimeFormat(const std::string& timePicture, const std::string& longDatePicture) {
  tipTimeFormat_ = ConvertPictures(timePicture, longDatePicture);
  twelveHourClock_ = UsesTwelveHourClock(tipTimeFormat_);
}

RemoteReading Place::ReadRemoteClock() const {
  zoneClock_.SetZone(settings_.zone);
  return ::ReadRemoteClock(settings_, tipTimeFormat_, std::time(nullptr), &zoneClock_);
}

bool Place::ZoneOffset(const std::string& zone, double* hours) const {
  if (zone.empty()) return false;
  zoneClock_.SetZone(zone);
  const std::time_t now = std::time(nullptr);
  std::tm there{};
  if (!zoneClock_.ZoneTime(now, &there)) return false;
  const std::tm* here = std::localtime(&now);
  if (!here) return false;
  *hours = EffectiveOffsetHours(there, *here);
  return true;
}

bool Place::BringOffsetInStep() {
  double hours = 0.0;
  if (!ZoneOffset(settings_.zone, &hours)) return false;
  settings_.offset = OffsetWithinDay(hours);
  return true;
}
