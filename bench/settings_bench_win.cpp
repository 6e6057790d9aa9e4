// A place's load and save against the real registry under Wine: the section opened once for the
// whole record, against the same ten values each opening the key chain anew, as every load and
// save did before. Works in a key of its own under HKEY_CURRENT_USER\Software and removes it.
// Prints figures only.
// Usage: settings_bench [rounds] [loads or saves per round]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "clock/place_settings.h"
#include "clock/registry_profile_store_win.h"

namespace {

using Clock = std::chrono::steady_clock;
const char* const COMPANY = "BrindlewoodBench";
const char* const SECTION = "Settings";

PlaceSettings BenchPlace() {
  PlaceSettings s;
  s.place = "Auckland";
  s.offset = 12.0;
  s.userInActiveIcon = "C:\\icons\\night.ico";
  s.zone = "New Zealand Standard Time";
  return s;
}

// The record one value at a time, each read or write opening the section for itself.
void LoadValueByValue(ProfileStore& store, PlaceSettings& s) {
  s.place = store.ReadText(SECTION, "Place", s.place);
  (void)store.ReadText(SECTION, "Offset", "12.000000");
  s.icon = store.ReadInt(SECTION, "Icon", s.icon);
  s.from = store.ReadInt(SECTION, "From", s.from);
  s.to = store.ReadInt(SECTION, "To", s.to);
  s.workDays = store.ReadInt(SECTION, "WorkDays", s.workDays);
  (void)store.ReadInt(SECTION, "Weekdays", 1);
  s.userActiveIcon = store.ReadText(SECTION, "UserActiveIcon", s.userActiveIcon);
  s.userInActiveIcon = store.ReadText(SECTION, "UserInActiveIcon", s.userInActiveIcon);
  s.iconFrom = store.ReadInt(SECTION, "IconFrom", s.iconFrom);
  s.zone = store.ReadText(SECTION, "Zone", s.zone);
}

void SaveValueByValue(ProfileStore& store, const PlaceSettings& s) {
  (void)store.WriteText(SECTION, "Place", s.place);
  (void)store.WriteText(SECTION, "Offset", "12.000000");
  (void)store.WriteInt(SECTION, "Icon", s.icon);
  (void)store.WriteInt(SECTION, "From", s.from);
  (void)store.WriteInt(SECTION, "To", s.to);
  (void)store.WriteInt(SECTION, "Weekdays", s.workDays == MONDAY_TO_FRIDAY ? 1 : 0);
  (void)store.WriteText(SECTION, "UserActiveIcon", s.userActiveIcon);
  (void)store.WriteText(SECTION, "UserInActiveIcon", s.userInActiveIcon);
  (void)store.WriteInt(SECTION, "IconFrom", s.iconFrom);
  (void)store.WriteInt(SECTION, "WorkDays", s.workDays);
  if (store.HasValue(SECTION, "Zone")) (void)store.WriteText(SECTION, "Zone", s.zone);
}

template <typename Work>
double MicrosecondsPerCall(int count, Work work) {
  const Clock::time_point start = Clock::now();
  for (int i = 0; i < count; ++i) work();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / count;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 11;
  const int count = argc > 2 ? std::max(1, std::atoi(argv[2])) : 200;
  RegistryProfileStore store(COMPANY, "Farhour");
  PlaceSettings s = BenchPlace();
  SaveSettings(store, 0, s);

  // The four take turns within each round, so that a busy machine slows them alike.
  std::vector<double> loadsOnce, loadsEach, savesOnce, savesEach;
  for (int round = 0; round < rounds; ++round) {
    loadsOnce.push_back(MicrosecondsPerCall(count, [&] { LoadSettings(store, 0, s); }));
    loadsEach.push_back(MicrosecondsPerCall(count, [&] { LoadValueByValue(store, s); }));
    savesOnce.push_back(MicrosecondsPerCall(count, [&] { SaveSettings(store, 0, s); }));
    savesEach.push_back(MicrosecondsPerCall(count, [&] { SaveValueByValue(store, s); }));
  }
  const double loadOnce = Median(loadsOnce), loadEach = Median(loadsEach);
  const double saveOnce = Median(savesOnce), saveEach = Median(savesEach);

  std::printf("median of %d rounds of %d, microseconds per whole record (ten values):\n", rounds, count);
  std::printf("  load, section opened once:       %8.1f\n", loadOnce);
  std::printf("  load, section opened per value:  %8.1f  (%.2f x)\n", loadEach, loadEach / loadOnce);
  std::printf("  save, section opened once:       %8.1f\n", saveOnce);
  std::printf("  save, section opened per value:  %8.1f  (%.2f x)\n", saveEach, saveEach / saveOnce);

  (void)store.DeleteSection(SECTION);
  (void)RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\BrindlewoodBench\\Farhour");
  (void)RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\BrindlewoodBench");
  return 0;
}
