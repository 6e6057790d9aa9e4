// One place as the running program holds it: its settings, its zone's clock, how its time is
// written in the tip, and what its clock reads now.
#ifndef FARHOUR_CLOCK_PLACE_H
#define FARHOUR_CLOCK_PLACE_H

#include <string>

#include "clock/place_settings.h"
#include "clock/remote_clock.h"
#include "clock/zone_clock.h"

class Place {
 public:
  // zoneClock tells the time of the place's zone.
  explicit Place(ZoneClock& zoneClock);

  PlaceSettings& Settings() { return settings_; }
  const PlaceSettings& Settings() const { return settings_; }

  // The tip's strftime format from the user's time and long-date pictures. Until it is first built
  // the format is empty, and so is the time in the tip.
  void BuildTipTimeFormat(const std::string& timePicture, const std::string& longDatePicture);
  const std::string& TipTimeFormat() const { return tipTimeFormat_; }
  // Whether the user's time picture, and so the tip, writes the hour on a 12-hour clock.
  bool TwelveHourClock() const { return twelveHourClock_; }

  // The place's clock at this moment.
  RemoteReading ReadRemoteClock() const;

  // The zone's time minus this computer's now, in hours; false with no zone, or one this computer
  // does not have. Any zone, not only the place's.
  bool ZoneOffset(const std::string& zone, double* hours) const;
  // With a zone this computer has, the offset becomes the zone's of this moment, held within a day
  // (OffsetWithinDay): what is stored, so that a copy of the program without zones shows the right
  // time that day. False, and the offset untouched, otherwise.
  bool BringOffsetInStep();

 private:
  ZoneClock& zoneClock_;
  PlaceSettings settings_;
  std::string tipTimeFormat_;
  bool twelveHourClock_ = false;
};

#endif
