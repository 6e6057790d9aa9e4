// The place's time: the present in the place's zone, or shifted by the offset and rendered in the
// user's own time zone.
#include "clock/remote_clock.h"

#include <cmath>
#include <limits>
#include <vector>

#include "base/utf8_text.h"
#include "clock/tip_time_format.h"

namespace {

// The time text is held to what the tip's 128-character buffer always held.
const size_t MAX_TIME_TEXT = 127;

// Offsets beyond ±24 hours only come from a refused dialog entry and last until the next load.
// Holding them to about a thousand years keeps the shift within any time_t; the breakdown may still
// fail there, which gives an empty time text (see ReadRemoteClock).
const double MAX_SHIFT_HOURS = 1.0e7;

// The shift in seconds: whole hours and whole minutes of |offset|, minutes truncated, sign applied
// last, so -3.5 goes back 3 hours 30 minutes. An offset that is not a finite number shifts nothing.
long long ShiftSeconds(double offset) {
  if (!std::isfinite(offset)) return 0;
  double a = std::fabs(offset);
  if (a > MAX_SHIFT_HOURS) a = MAX_SHIFT_HOURS;
  const double hours = std::floor(a);
  const double minutes = std::trunc((a - hours) * 60.0);
  const long long seconds =
      static_cast<long long>(hours) * 3600 + static_cast<long long>(minutes) * 60;
  return offset < 0 ? -seconds : seconds;
}

// now + shift, held to the range of time_t instead of overflowing.
std::time_t AddSeconds(std::time_t now, long long shift) {
  const long long lo = static_cast<long long>(std::numeric_limits<std::time_t>::min());
  const long long hi = static_cast<long long>(std::numeric_limits<std::time_t>::max());
  const long long n = static_cast<long long>(now);
  if (shift > 0 && n > hi - shift) return static_cast<std::time_t>(hi);
  if (shift < 0 && n < lo - shift) return static_cast<std::time_t>(lo);
  return static_cast<std::time_t>(n + shift);
}

}  // namespace

// The rendered time, cut to 127 UTF-16 units without splitting a character. A result longer than that keeps
// its beginning rather than blanking the tip, so the buffer is sized for the whole result: in the default locale no
// conversion gives more than 12 characters per format character ("%c" is 24 for 2).
// This runs on every mouse movement over the icon: the usual format is checked without copying and
// rendered on the stack.
std::string FormatTimeText(const std::tm& parts, const std::string& format) {
  if (format.empty()) return std::string();
  // Runtimes that end the process on an unknown conversion never see one.
  std::string escaped;
  const std::string* safe = &format;
  if (!IsStrftimeSafe(format)) {
    escaped = MakeStrftimeSafe(format);
    safe = &escaped;
  }
  char onStack[2048];
  std::vector<char> onHeap;
  char* buffer = onStack;
  size_t capacity = sizeof onStack;
  const size_t needed = 256 + safe->size() * 16;
  if (needed > capacity) {
    onHeap.resize(needed);
    buffer = onHeap.data();
    capacity = onHeap.size();
  }
  const size_t length = std::strftime(buffer, capacity, safe->c_str(), &parts);
  if (length > MAX_TIME_TEXT) return CutToUtf16Units(std::string(buffer, length), MAX_TIME_TEXT);
  return std::string(buffer, length);
}

bool ReadPlaceTime(const PlaceSettings& settings, std::time_t now, ZoneClock* zone, std::tm* parts) {
  // A zone that cannot be told (unknown here, or no zone data) falls back to the offset, which the
  // user chose too and which still gives a time.
  if (!settings.zone.empty() && zone && zone->ZoneTime(now, parts)) return true;
  const std::time_t shifted = AddSeconds(now, ShiftSeconds(settings.offset));
  // localtime's result is overwritten by the next call.
  const std::tm* broken = std::localtime(&shifted);
  if (!broken) return false;
  *parts = *broken;
  return true;
}

unsigned MillisecondsToNextMinute(std::time_t now) {
  // The clock's second is whole: the minute may already be up to a second old when it reads 0, and
  // a timer may fire a little early, so the refresh comes a quarter of a second after the turn.
  const long long second = ((static_cast<long long>(now) % 60) + 60) % 60;
  return static_cast<unsigned>((60 - second) * 1000 + 250);
}

int FromListMinutes(int index) {
  if (index < 0 || index > 23) return -1;
  return 30 * index;
}

int ToListMinutes(int index) {
  if (index < 0 || index > 23) return -1;
  return 720 + 30 * index;
}

bool IsActiveAt(const PlaceSettings& settings, const std::tm& placeTime) {
  const int minutes = placeTime.tm_hour * 60 + placeTime.tm_min;
  return FromListMinutes(settings.from) <= minutes && minutes <= ToListMinutes(settings.to) &&
         IsWorkDay(settings.workDays, placeTime.tm_wday);
}

RemoteReading ReadRemoteClock(const PlaceSettings& settings, const std::string& tipTimeFormat,
                              std::time_t now, ZoneClock* zone) {
  // One breakdown serves the text and the fields.
  RemoteReading reading;
  std::string timeText;
  bool active = false;
  std::tm parts{};
  if (ReadPlaceTime(settings, now, zone, &parts)) {
    timeText = FormatTimeText(parts, tipTimeFormat);
    active = IsActiveAt(settings, parts);
    reading.hour = parts.tm_hour;
  }
  // Without a breakdown (Microsoft's runtime has none before 1970 or after 3000) there is no time to
  // compare: the place shows as inactive, with an empty time.

  // The place name goes in as "%s" would take it: up to its first zero byte.
  const std::string place(settings.place.c_str());
  reading.active = active;
  reading.tip = active ? place + " = " + timeText : "[" + place + " = " + timeText + "]";
  return reading;
}
