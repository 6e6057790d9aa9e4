// The record of one place, its defaults and its load and save rules over a ProfileStore.
#ifndef FARHOUR_CLOCK_PLACE_SETTINGS_H
#define FARHOUR_CLOCK_PLACE_SETTINGS_H

#include <string>

#include "clock/profile_store.h"

// An offset lies within these hours of the user's own clock, both ends included.
constexpr double OFFSET_MIN = -24.0;
constexpr double OFFSET_MAX = 24.0;

// The days a place works, one bit per day as the C library counts them: bit 0 Sunday to bit 6
// Saturday.
constexpr int MONDAY_TO_FRIDAY = 0x3E;
constexpr int EVERY_DAY = 0x7F;

// Whether the day (0 Sunday to 6 Saturday) is one of the work days.
inline bool IsWorkDay(int workDays, int weekday) {
  return weekday >= 0 && weekday <= 6 && (workDays >> weekday & 1) != 0;
}

// IconStyle: 0 shows the pictures IconFrom chooses; 1 shows the hour at the place, drawn by the
// program, and leaves IconFrom as it was for copies that do not know this value.
constexpr int ICON_STYLE_PICTURES = 0;
constexpr int ICON_STYLE_HOUR = 1;

struct PlaceSettings {
  std::string place = "Here!";
  double offset = 0.0;
  int icon = 0;
  int from = 17;  // 8:30am
  int to = 10;    // 5:00pm
  // Stored as WorkDays, and as the older Weekdays flag: 1 for Monday to Friday, else 0.
  int workDays = MONDAY_TO_FRIDAY;
  std::string userActiveIcon;
  std::string userInActiveIcon;
  int iconFrom = 0;
  int iconStyle = ICON_STYLE_PICTURES;
  // The key name of one of the system's time zones; empty: the offset applies instead.
  std::string zone;
};

// "Settings" for instance numbers of 0 or less, "Settings%i" above.
std::string SettingsSection(int instanceNumber);

// The instance number as atoi reads it from the command-line text (null counts as empty).
int ParseInstanceNumber(const char* commandLine);

// Country code 1 and 64 have defaults of their own; other codes leave the record as it is.
void ApplyCountryDefaults(PlaceSettings& settings, int countryCode);

// Reads the nine values, WorkDays, Zone and IconStyle; each read defaults to the field's current
// value. A stored WorkDays decides the work days unless Weekdays was changed after it by a copy that
// knows only Weekdays; without WorkDays, a non-zero Weekdays means Monday to Friday and 0 every day.
void LoadSettings(ProfileStore& store, int instanceNumber, PlaceSettings& settings);
// The same from a section already open.
void LoadSettings(ProfileSection& section, PlaceSettings& settings);
// Writes the nine values, in order, in their stored kinds, then WorkDays, then Zone when it is not
// empty or the section already holds one, then IconStyle when it is not 0 or the section holds one.
// False when a value could not be written; the others are written all the same.
bool SaveSettings(ProfileStore& store, int instanceNumber, const PlaceSettings& settings);

// A save that failed where no one could be told (at sign-out), kept for the place's next start.
bool KeepNotSavedMark(ProfileStore& store, int instanceNumber);
// Whether such a failure was kept for the place; the mark goes with the answer. Makes no section.
bool TakeNotSavedMark(ProfileStore& store, int instanceNumber);

#endif
