// The call planner's grid for the user and 20 places (goal: under 5 ms), with the converter's lines
// and the best hours as the window shows them. Half the places have a zone: on Windows the real
// SystemZoneClock with the system's zone data, natively a fixed-offset stand-in. The zones' yearly
// rules, which a window looks up once when it opens, and the first grid are timed apart from the
// median of the later grids.
// Prints figures only. Usage: planner_bench [rounds]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "clock/call_planner.h"
#include "ui/planner_text.h"
#ifdef _WIN32
#include "clock/system_zone_clock_win.h"
#endif

namespace {

using Clock = std::chrono::steady_clock;

const char* const ZONES[] = {
    "GMT Standard Time",        "Israel Standard Time",    "New Zealand Standard Time", "Eastern Standard Time",
    "Pacific Standard Time",    "Tokyo Standard Time",     "India Standard Time",       "Nepal Standard Time",
    "E. South America Standard Time", "AUS Eastern Standard Time",
};
const int PLACES = 20;

#ifdef _WIN32
using BenchZone = SystemZoneClock;
#else
// The zone's distance from UTC by the index of its name, in minutes: what the stand-in tells.
class BenchZone : public ZoneClock {
 public:
  void SetZone(const std::string& keyName) override {
    minutes_ = 0;
    for (int i = 0; i < 10; ++i) {
      if (keyName == ZONES[i]) minutes_ = (i * 137) % 1440 - 600;
    }
  }
  bool ZoneTime(std::time_t utc, std::tm* zoneTime) override {
    const std::time_t shifted = utc + minutes_ * 60;
    const std::tm* broken = std::gmtime(&shifted);
    if (!broken) return false;
    *zoneTime = *broken;
    return true;
  }

 private:
  int minutes_ = 0;
};
#endif

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 101;
  std::vector<std::unique_ptr<BenchZone>> zones;
  std::vector<PlannerPlace> places(1);
  places[0].settings.place = "Here";
  for (int i = 0; i < PLACES; ++i) {
    PlannerPlace place;
    place.settings.place = "Place " + std::to_string(i + 1);
    place.settings.offset = (i % 2) ? (i - 10) * 1.25 : 0.0;
    place.settings.from = 16 + i % 4;
    place.settings.workDays = i % 3 ? MONDAY_TO_FRIDAY : 0x1F;
    if (i % 2 == 0) {
      zones.emplace_back(new BenchZone());
      place.settings.zone = ZONES[i / 2];
      zones.back()->SetZone(place.settings.zone);
      place.zone = zones.back().get();
    }
    places.push_back(place);
  }
  PlannerTexts texts{{"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}, "%I:%M %p", "%1 %2",
                     "%1 %2 (closed)", "%1 %2 (weekend)", "%1-%2", "Everyone is at work: %1",
                     "No hour holds all of them. Most are at work: %1", "No one is at work on this day."};
  const std::time_t now = std::time(nullptr);
  const CalendarDay today = DayHere(now);
  size_t sink = 0;
  auto build = [&](const CalendarDay& day) {
    const PlannerGrid grid = BuildPlannerGrid(places, day, now);
    sink += BestHoursText(grid, places, texts).size();
    sink += ConverterLines(places, grid.columns[grid.columns.size() / 2], texts).size();
  };

  // What a window opening with these places first does: each zone's rules for the year looked up.
  Clock::time_point start = Clock::now();
  for (const auto& zone : zones) {
    std::tm there{};
    sink += zone->ZoneTime(now, &there) ? 1 : 0;
  }
  const double lookups = Milliseconds(start);
  start = Clock::now();
  build(today);
  const double first = Milliseconds(start);
  std::vector<double> times;
  for (int i = 0; i < rounds; ++i) {
    start = Clock::now();
    build(AddDays(today, i % 2));  // today and tomorrow in turn, as Next and Previous do
    times.push_back(Milliseconds(start));
  }
  std::sort(times.begin(), times.end());
  std::printf("grid, best hours and converter for here + %d places (%d with a zone), goal under 5 ms\n", PLACES,
              PLACES / 2);
  std::printf("  the %d zones' rules looked up:   %8.3f ms   (once a year per zone)\n", PLACES / 2, lookups);
  std::printf("  first grid:                     %8.3f ms\n", first);
  std::printf("  median of the next %d:          %8.3f ms   (slowest %.3f ms)\n", rounds, times[times.size() / 2],
              times.back());
  return sink == 0;
}
