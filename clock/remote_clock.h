// The place's clock: the shifted time, its text and whether the place is inside its active hours.
#ifndef FARHOUR_CLOCK_REMOTE_CLOCK_H
#define FARHOUR_CLOCK_REMOTE_CLOCK_H

#include <ctime>
#include <string>

#include "clock/place_settings.h"
#include "clock/zone_clock.h"

struct RemoteReading {
  std::string tip;
  bool active = false;
  int hour = -1;  // at the place, 0 to 23; -1 when its time cannot be told
};

// From the instant now to a little after the next minute begins, in milliseconds: every zone and
// offset changes its hour at the turn of a minute, so a refresh then shows the new hour at once.
unsigned MillisecondsToNextMinute(std::time_t now);

// A broken-down time rendered with the tip's UTF-8 strftime format, made safe for every runtime and
// cut to 127 UTF-16 units between characters; empty for an empty format.
std::string FormatTimeText(const std::tm& parts, const std::string& format);

// Minute of the day behind the From and To list entries; -1 for an index outside 0 to 23.
int FromListMinutes(int index);
int ToListMinutes(int index);

// The place's time at the instant now, broken down: its zone's when it has one the zone clock can
// tell, else now shifted by the offset in the process's local time zone. False when there is no
// breakdown.
bool ReadPlaceTime(const PlaceSettings& settings, std::time_t now, ZoneClock* zone, std::tm* parts);

// Whether the place is at work when its clock shows placeTime: a work day of the place, and a minute
// inside its active window, both ends included. The tray's icon and the call planner both ask this.
bool IsActiveAt(const PlaceSettings& settings, const std::tm& placeTime);

// Evaluates the place's clock at the instant now. A place with a zone that zone can tell takes the
// zone's time; any other is shifted by its offset and rendered in the process's local time zone. The
// time text is cut to 127 UTF-16 units between characters.
RemoteReading ReadRemoteClock(const PlaceSettings& settings, const std::string& tipTimeFormat,
                              std::time_t now, ZoneClock* zone = nullptr);

#endif
