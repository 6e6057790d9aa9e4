// A zone's time from the system's yearly rules, and the list of the system's zones from the registry.
#include "clock/system_zone_clock_win.h"

#include <cstring>

#include "base/handles_win.h"
#include "base/wide_text_win.h"
#include "clock/registry_profile_store_win.h"

namespace {

const wchar_t* const ZONES_KEY = L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Time Zones";

// DYNAMIC_TIME_ZONE_INFORMATION::TimeZoneKeyName, with its terminator.
const int KEY_NAME_CHARS = 128;

// The registry's own form of a zone's rules: Bias, StandardBias, DaylightBias, StandardDate,
// DaylightDate.
const DWORD TZI_BYTES = 3 * sizeof(LONG) + 2 * sizeof(SYSTEMTIME);

// A key name longer than a registry key name can be is not one.
const DWORD MAX_KEY_NAME = 256;

// Seconds from 1601, where FILETIME starts, to 1970.
const long long EPOCH_SECONDS = 11644473600LL;
const long long TICKS_PER_SECOND = 10000000LL;

long long MinutesOf(const SYSTEMTIME& t) {
  return DaysFromCivil(t.wYear, t.wMonth - 1, t.wDay) * 1440 + t.wHour * 60LL + t.wMinute;
}

bool UtcSystemTime(std::time_t utc, SYSTEMTIME* out) {
  const long long seconds = static_cast<long long>(utc);
  // FILETIME covers 1601 to 30827; keep well inside it.
  if (seconds < -EPOCH_SECONDS || seconds > 900000000000LL) return false;
  const unsigned long long ticks =
      static_cast<unsigned long long>(seconds + EPOCH_SECONDS) * TICKS_PER_SECOND;
  FILETIME file;
  file.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFFULL);
  file.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
  return FileTimeToSystemTime(&file, out) != FALSE;
}

void BreakDown(const SYSTEMTIME& t, bool daylight, std::tm* out) {
  *out = std::tm{};
  out->tm_year = t.wYear - 1900;
  out->tm_mon = t.wMonth - 1;
  out->tm_mday = t.wDay;
  out->tm_hour = t.wHour;
  out->tm_min = t.wMinute;
  out->tm_sec = t.wSecond;
  // From the date, not wDayOfWeek, which the conversion need not fill.
  const long long days = DaysFromCivil(t.wYear, t.wMonth - 1, t.wDay);
  out->tm_wday = static_cast<int>(((days % 7) + 11) % 7);  // 1 January 1970 was a Thursday
  out->tm_yday = static_cast<int>(days - DaysFromCivil(t.wYear, 0, 1));
  out->tm_isdst = daylight ? 1 : 0;
}

// The key name as TimeZoneKeyName holds it; empty when it does not fit.
void WideKeyName(const std::string& keyName, WCHAR (&wide)[KEY_NAME_CHARS]) {
  wide[0] = L'\0';
  const WideText name = Wide(keyName);
  if (name.size() >= static_cast<size_t>(KEY_NAME_CHARS)) return;
  (void)lstrcpynW(wide, name.c_str(), KEY_NAME_CHARS);
}

// The standard bias from a TZI of exactly its size and kind.
bool ReadBias(HKEY key, int* bias) {
  BYTE tzi[TZI_BYTES + 1];
  DWORD kind = 0;
  DWORD size = sizeof tzi;
  if (RegQueryValueExW(key, L"TZI", nullptr, &kind, tzi, &size) != ERROR_SUCCESS ||
      kind != REG_BINARY || size != TZI_BYTES) {
    return false;
  }
  LONG value = 0;
  std::memcpy(&value, tzi, sizeof value);
  *bias = static_cast<int>(value);
  return true;
}

}  // namespace

void SystemZoneClock::SetZone(const std::string& keyName) {
  if (keyName == keyName_) return;
  keyName_ = keyName;
  WideKeyName(keyName_, wideKeyName_);
  Invalidate();
}

void SystemZoneClock::Invalidate() {
  for (YearRules& slot : years_) slot = YearRules();
  nextSlot_ = 0;
}

const TIME_ZONE_INFORMATION* SystemZoneClock::Rules(int year) {
  for (const YearRules& slot : years_) {
    if (slot.year == year) return slot.known ? &slot.rules : nullptr;
  }
  if (!resolved_) {
    resolved_ = true;
    if (HMODULE kernel = GetModuleHandleW(L"kernel32.dll")) {
      rulesForYear_ = reinterpret_cast<RulesForYear>(
          reinterpret_cast<void*>(GetProcAddress(kernel, "GetTimeZoneInformationForYear")));
    }
  }
  YearRules& slot = years_[nextSlot_];
  nextSlot_ = 1 - nextSlot_;
  slot = YearRules();
  slot.year = year;
  if (rulesForYear_ && wideKeyName_[0] != L'\0' && year > 0 && year <= 0xFFFF) {
    DYNAMIC_TIME_ZONE_INFORMATION zone{};
    static_assert(sizeof zone.TimeZoneKeyName == sizeof wideKeyName_, "the key name's field");
    std::memcpy(zone.TimeZoneKeyName, wideKeyName_, sizeof wideKeyName_);
    slot.known = rulesForYear_(static_cast<USHORT>(year), &zone, &slot.rules) != FALSE;
  }
  return slot.known ? &slot.rules : nullptr;
}

bool SystemZoneClock::ZoneTime(std::time_t utc, std::tm* zoneTime) {
  if (keyName_.empty() || wideKeyName_[0] == L'\0') return false;
  SYSTEMTIME universal;
  if (!UtcSystemTime(utc, &universal)) return false;
  const TIME_ZONE_INFORMATION* rules = Rules(universal.wYear);
  SYSTEMTIME local;
  if (!rules || !SystemTimeToTzSpecificLocalTime(rules, &universal, &local)) return false;
  if (local.wYear != universal.wYear) {
    // Across New Year from UTC: the zone's own year decides its rules.
    rules = Rules(local.wYear);
    if (!rules || !SystemTimeToTzSpecificLocalTime(rules, &universal, &local)) return false;
  }
  const long long offsetMinutes = MinutesOf(local) - MinutesOf(universal);
  const bool hasDaylight = rules->DaylightDate.wMonth != 0 && rules->DaylightBias != rules->StandardBias;
  const bool daylight = hasDaylight && offsetMinutes == -(rules->Bias + rules->DaylightBias);
  BreakDown(local, daylight, zoneTime);
  return true;
}

std::vector<ZoneEntry> ListSystemZones() {
  std::vector<ZoneEntry> zones;
  RegKey list;
  if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, ZONES_KEY, 0, KEY_READ | KEY_WOW64_64KEY, list.Receive()) !=
      ERROR_SUCCESS) {
    return zones;
  }
  wchar_t name[MAX_KEY_NAME];
  for (DWORD index = 0;; ++index) {
    DWORD length = MAX_KEY_NAME;
    const LONG status =
        RegEnumKeyExW(list.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    // A name too long for the buffer, or for the clock, cannot be a zone it could use; the rest
    // still can. Any other failure ends the list.
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    if (length >= static_cast<DWORD>(KEY_NAME_CHARS)) continue;
    RegKey zoneKey;
    if (RegOpenKeyExW(list.Get(), name, 0, KEY_READ | KEY_WOW64_64KEY, zoneKey.Receive()) !=
        ERROR_SUCCESS) {
      continue;
    }
    ZoneEntry entry;
    entry.keyName = Utf8(name, static_cast<int>(length));
    if (!ReadRegistryText(zoneKey.Get(), "Display", &entry.displayName) || entry.displayName.empty() ||
        !ReadBias(zoneKey.Get(), &entry.biasMinutes)) {
      continue;
    }
    zones.push_back(entry);
  }
  SortZones(zones);
  return zones;
}
