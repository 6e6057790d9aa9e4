// The place record's defaults and its stored values: the nine of old, WorkDays, Zone and IconStyle.
#include "clock/place_settings.h"

#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#include "clock/decimal_text.h"
#include "res/identity.h"

namespace {

// The stored form of Offset: the C library's "%f" text in the default locale, which the program
// never changes, so the separator is always a point.
// A value that is not a finite number is written as "0.000000". The runtimes spell infinity and
// NaN differently ("inf", "nan", "1.#INF00", "-1.#IND00"), and the older Microsoft forms read back
// through the number prefix as 1.0 and -1.0, which are valid offsets: the place would silently
// move by an hour. 0.0 is what loading makes of any out-of-range or not-a-number value anyway.
std::string FormatOffset(double offset) {
  if (!std::isfinite(offset)) offset = 0.0;
  char small[64];
  int length = std::snprintf(small, sizeof small, "%f", offset);
  if (length < 0) return "0.000000";
  if (static_cast<size_t>(length) < sizeof small) return std::string(small, static_cast<size_t>(length));
  // A value refused by the dialog (1e300, say) is written whole; loading then resets it.
  std::string text(static_cast<size_t>(length) + 1, '\0');
  (void)std::snprintf(&text[0], text.size(), "%f", offset);
  text.resize(static_cast<size_t>(length));
  return text;
}

// What loading keeps of a stored offset: values outside -24 to 24, and not-a-number, become 0.0.
double LimitOffset(double offset) {
  if (std::isnan(offset) || offset < OFFSET_MIN || offset > OFFSET_MAX) return 0.0;
  return offset;
}

// Copies of the program before WorkDays read and write Weekdays alone; this one writes both in step,
// Weekdays 1 exactly when the days are Monday to Friday. Weekdays out of step with WorkDays was
// therefore changed later by such a copy, and is the user's latest choice. A value that is missing
// or cannot be read leaves the days as they are.
void LoadWorkDays(ProfileSection& section, int& workDays) {
  const int stored = section.GetInt("WorkDays", workDays) & EVERY_DAY;
  const bool storedMondayToFriday = stored == MONDAY_TO_FRIDAY;
  const bool mondayToFriday = section.GetInt("Weekdays", storedMondayToFriday) != 0;
  if (mondayToFriday == storedMondayToFriday) {
    workDays = stored;
  } else {
    workDays = mondayToFriday ? MONDAY_TO_FRIDAY : EVERY_DAY;
  }
}

}  // namespace

std::string SettingsSection(int instanceNumber) {
  if (instanceNumber <= 0) return SETTINGS_SECTION;
  return SETTINGS_SECTION + std::to_string(instanceNumber);
}

int ParseInstanceNumber(const char* commandLine) {
  if (!commandLine) return 0;
  // atoi's reading, with a number too large for an int held at the nearest limit rather than left
  // to the runtime (atoi's result is undefined there).
  long value = std::strtol(commandLine, nullptr, 10);
  if (value > INT_MAX) return INT_MAX;
  if (value < INT_MIN) return INT_MIN;
  return static_cast<int>(value);
}

void ApplyCountryDefaults(PlaceSettings& settings, int countryCode) {
  if (countryCode == 1) {
    settings.place = "NZ";
    settings.offset = 19.0;
    settings.icon = 16;  // "New Zealand"
  } else if (countryCode == 64) {
    settings.place = "CA";
    settings.offset = -19.0;
    settings.icon = 25;  // "USA"
  }
}

void LoadSettings(ProfileStore& store, int instanceNumber, PlaceSettings& settings) {
  LoadSettings(*store.OpenSection(SettingsSection(instanceNumber)), settings);
}

void LoadSettings(ProfileSection& section, PlaceSettings& settings) {
  settings.place = section.GetString("Place", settings.place);
  // The offset always passes through its six-decimal text, even when nothing is stored.
  const std::string offsetText = section.GetString("Offset", FormatOffset(settings.offset));
  // Only the decimal prefix is read, the way atof reads it in the old runtimes: newer ones would also
  // take "0x10" as 16 and "inf" or "nan", and one stored text must mean the same offset everywhere.
  settings.offset = LimitOffset(DecimalToDouble(offsetText.c_str()));
  settings.icon = section.GetInt("Icon", settings.icon);
  settings.from = section.GetInt("From", settings.from);
  settings.to = section.GetInt("To", settings.to);
  LoadWorkDays(section, settings.workDays);
  settings.userActiveIcon = section.GetString("UserActiveIcon", settings.userActiveIcon);
  settings.userInActiveIcon = section.GetString("UserInActiveIcon", settings.userInActiveIcon);
  settings.iconFrom = section.GetInt("IconFrom", settings.iconFrom);
  settings.zone = section.GetString("Zone", settings.zone);
  settings.iconStyle = section.GetInt("IconStyle", settings.iconStyle);
}

bool SaveSettings(ProfileStore& store, int instanceNumber, const PlaceSettings& settings) {
  const std::unique_ptr<ProfileSection> section = store.OpenSection(SettingsSection(instanceNumber));
  bool saved = section->WriteString("Place", settings.place);
  saved &= section->WriteString("Offset", FormatOffset(settings.offset));
  saved &= section->WriteInt("Icon", settings.icon);
  saved &= section->WriteInt("From", settings.from);
  saved &= section->WriteInt("To", settings.to);
  saved &= section->WriteInt("Weekdays", settings.workDays == MONDAY_TO_FRIDAY ? 1 : 0);
  saved &= section->WriteString("UserActiveIcon", settings.userActiveIcon);
  saved &= section->WriteString("UserInActiveIcon", settings.userInActiveIcon);
  saved &= section->WriteInt("IconFrom", settings.iconFrom);
  saved &= section->WriteInt("WorkDays", settings.workDays);
  // A user who never picks a zone keeps the nine values of old; one who clears it keeps an empty
  // Zone, which means the same as none.
  if (!settings.zone.empty() || section->HasValue("Zone")) {
    saved &= section->WriteString("Zone", settings.zone);
  }
  // Likewise: the hour there is a choice beside IconFrom, which keeps what older copies show.
  if (settings.iconStyle != ICON_STYLE_PICTURES || section->HasValue("IconStyle")) {
    saved &= section->WriteInt("IconStyle", settings.iconStyle);
  }
  return saved;
}

bool KeepNotSavedMark(ProfileStore& store, int instanceNumber) {
  return store.WriteInt(NOT_SAVED_SECTION, SettingsSection(instanceNumber).c_str(), 1);
}

bool TakeNotSavedMark(ProfileStore& store, int instanceNumber) {
  const std::string name = SettingsSection(instanceNumber);
  if (!store.HasValue(NOT_SAVED_SECTION, name.c_str())) return false;
  if (store.ReadInt(NOT_SAVED_SECTION, name.c_str(), 0) == 0) return false;
  // A mark that stays is told again at the next start, which is still true then.
  (void)store.WriteInt(NOT_SAVED_SECTION, name.c_str(), 0);
  return true;
}
