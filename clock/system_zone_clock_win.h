// The system's time zones on Windows: the list, and a zone's clock from the system's zone data.
#ifndef FARHOUR_CLOCK_SYSTEM_ZONE_CLOCK_WIN_H
#define FARHOUR_CLOCK_SYSTEM_ZONE_CLOCK_WIN_H

#include <windows.h>

#include <string>
#include <vector>

#include "clock/zone_clock.h"

// The clock of one of the system's zones, named by its key name. The zone's rules are looked up
// once per year and kept; nothing is read from the registry on an ordinary call.
class SystemZoneClock : public ZoneClock {
 public:
  // A new name forgets the rules kept.
  void SetZone(const std::string& keyName) override;
  const std::string& Zone() const { return keyName_; }
  // Forgets the rules kept, after the system's time settings changed.
  void Invalidate();
  // False for no zone and for a zone this computer does not have.
  bool ZoneTime(std::time_t utc, std::tm* zoneTime) override;

 private:
  // GetTimeZoneInformationForYear, which systems before Windows Vista SP1 lack.
  using RulesForYear = BOOL(WINAPI*)(USHORT, PDYNAMIC_TIME_ZONE_INFORMATION, LPTIME_ZONE_INFORMATION);

  // One year's rules, or the answer that the system has none for that year.
  struct YearRules {
    int year = -1;  // -1: the slot is empty
    bool known = false;
    TIME_ZONE_INFORMATION rules{};
  };

  // The rules of the zone's local year, looked up on first use; null when the system has none.
  const TIME_ZONE_INFORMATION* Rules(int year);

  std::string keyName_;
  // The key name as GetTimeZoneInformationForYear takes it; empty for a name it cannot hold.
  WCHAR wideKeyName_[128] = {};
  RulesForYear rulesForYear_ = nullptr;
  bool resolved_ = false;
  // Near New Year the zone's year and UTC's differ: both stay, and the older lookup gives way.
  YearRules years_[2];
  int nextSlot_ = 0;
};

// This computer's zones in Windows' order; empty when the list cannot be read.
std::vector<ZoneEntry> ListSystemZones();

#endif
