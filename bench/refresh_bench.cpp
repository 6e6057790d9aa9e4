// The tray refresh, the program's most frequent work: the shell reports every mouse movement over the
// icon, and each report refreshes it. Prints figures only, never judges them:
//  1. the cost of a refresh that changes nothing, as a ratio against its floor, the least any refresh
//     must do: read the clock, break it down, render the time (goal: at most 1.25);
//  2. how often 10,000 refreshes call the shell: once per minute shown without seconds, at most once
//     per second with them.
// Both run the real controller and the real clock evaluation; only the shell is replaced.
// Usage: refresh_bench [rounds] [milliseconds per timed block] [seconds of the system-clock counts]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "clock/place.h"
#include "clock/tip_time_format.h"
#include "res/resource.h"
#include "tray/tray_controller.h"

namespace {

// The user's locale pictures, as the program reads them: en_US's "h:mm:ss tt" and "dddd, MMMM dd,
// yyyy", and pictures without seconds.
struct Pictures {
  const char* time;
  const char* longDate;
};
const Pictures WITH_SECONDS = {"h:mm:ss tt", "dddd, MMMM dd, yyyy"};
const Pictures WITHOUT_SECONDS = {"HH:mm", "dd MMMM yyyy"};

using Clock = std::chrono::steady_clock;

PlaceSettings BenchPlace() {
  PlaceSettings settings;
  settings.place = "Tokyo";
  settings.offset = 9.0;
  settings.from = 0;   // 12:00am
  settings.to = 23;    // 11:30pm
  settings.workDays = EVERY_DAY;
  settings.icon = 12;
  settings.iconFrom = 0;
  return settings;
}

// A zone that keeps a simulated clock standing at *now, 9 hours ahead of this computer: the place's
// time that the offset would give on that clock.
class SimulatedZone : public ZoneClock {
 public:
  explicit SimulatedZone(const std::time_t* now) : now_(now) {}
  void SetZone(const std::string&) override {}
  bool ZoneTime(std::time_t, std::tm* zoneTime) override {
    if (!now_) return false;
    const std::time_t there = *now_ + 9 * 3600;
    const std::tm* parts = std::localtime(&there);
    if (!parts) return false;
    *zoneTime = *parts;
    return true;
  }

 private:
  const std::time_t* now_;
};

// The window and the shell around the icon as the program has them, minus the shell: the place reads
// the system clock (or, given simulatedNow, a simulated one), resource icons are looked up once and
// then come from a map, shell calls are counted.
class CountingHost : public TrayOwner, public TrayShell {
 public:
  explicit CountingHost(const Pictures& pictures, const std::time_t* simulatedNow = nullptr)
      : zone_(simulatedNow), place_(zone_), tray_(place_, *this, *this) {
    place_.Settings() = BenchPlace();
    if (simulatedNow) place_.Settings().zone = "Simulated";
    place_.BuildTipTimeFormat(pictures.time, pictures.longDate);
  }

  const Place& BenchedPlace() const { return place_; }
  TrayController& Tray() { return tray_; }

  IconRef CustomActiveIcon() const override { return nullptr; }
  IconRef CustomInactiveIcon() const override { return nullptr; }
  IconRef ProgramIcon() const override { return &programIcon_; }
  bool RefreshTimerRunning() const override { return true; }
  // The benched places show pictures, never the hour.
  IconRef HourIcon(const HourFace&) override { return nullptr; }
  std::string NotFoundTip(const std::string& path) const override { return "\"" + path + "\" not found"; }
  std::string NoTimerTip() const override { return "No TIMER!"; }
  IconRef LoadResourceIcon(unsigned short resourceId) override {
    auto found = icons_.find(resourceId);
    if (found != icons_.end()) return found->second;
    // Any distinct address serves as a handle: the controller only compares them.
    IconRef icon = &iconStorage_[icons_.size() % ICON_SLOTS];
    icons_.emplace(resourceId, icon);
    return icon;
  }
  bool ShellAdd(unsigned, IconRef) override {
    ++adds;
    return true;
  }
  bool ShellModify(unsigned, IconRef, const char* tip) override {
    ++modifies;
    tips.insert(tip);
    return true;
  }
  void ShellDelete(unsigned) override {}

  long adds = 0;
  long modifies = 0;
  std::set<std::string> tips;

 private:
  static constexpr std::size_t ICON_SLOTS = 64;
  SimulatedZone zone_;
  Place place_;
  TrayController tray_;
  char programIcon_ = 0;
  char iconStorage_[ICON_SLOTS] = {};
  std::map<unsigned short, IconRef> icons_;
};

volatile unsigned long g_sink = 0;

// The least a refresh can do: one clock reading, the breakdown of the present and of the shifted
// instant, and the rendering of the time.
void FloorOnce(const char* format, long shiftSeconds) {
  const std::time_t now = std::time(nullptr);
  const std::tm here = *std::localtime(&now);
  const std::time_t shifted = now + shiftSeconds;
  const std::tm there = *std::localtime(&shifted);
  char text[128];
  const std::size_t length = std::strftime(text, sizeof text, format, &there);
  g_sink = g_sink + length + static_cast<unsigned long>(here.tm_min) + static_cast<unsigned char>(text[0]);
}

template <typename Work>
double SecondsFor(long iterations, Work work) {
  const auto start = Clock::now();
  for (long i = 0; i < iterations; ++i) work();
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// Enough iterations of the floor for a block of about blockSeconds.
long CalibrateIterations(const char* format, double blockSeconds) {
  long n = 64;
  for (;;) {
    const double t = SecondsFor(n, [&] { FloorOnce(format, 9 * 3600); });
    if (t >= blockSeconds / 4 || n > (1L << 26)) return std::max(1L, static_cast<long>(n * blockSeconds / t));
    n *= 2;
  }
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

struct RoundFigures {
  double floorNs;
  double refreshNs;
  double readNs;
};

// Each round times the floor, the whole refresh and the clock evaluation alone over the same number
// of iterations, in an order that rotates from round to round, so that drift and noise hit all three.
void BenchRefreshCost(const char* label, const Pictures& pictures, int rounds, double blockSeconds) {
  CountingHost host(pictures);
  TrayController& controller = host.Tray();
  controller.CreateTray();
  const char* format = host.BenchedPlace().TipTimeFormat().c_str();
  const long modifiesBefore = host.modifies;
  const long n = CalibrateIterations(format, blockSeconds);

  std::vector<RoundFigures> figures;
  for (int r = 0; r < rounds; ++r) {
    RoundFigures f{};
    auto floor = [&] { f.floorNs = SecondsFor(n, [&] { FloorOnce(format, 9 * 3600); }) * 1e9 / n; };
    auto refresh = [&] { f.refreshNs = SecondsFor(n, [&] { controller.UpdateTray(); }) * 1e9 / n; };
    auto read = [&] {
      f.readNs = SecondsFor(n, [&] { g_sink = g_sink + host.BenchedPlace().ReadRemoteClock().tip.size(); }) * 1e9 / n;
    };
    switch (r % 3) {
      case 0: floor(); refresh(); read(); break;
      case 1: refresh(); read(); floor(); break;
      default: read(); floor(); refresh(); break;
    }
    figures.push_back(f);
  }

  std::vector<double> floors, refreshes, reads, ratios;
  for (const RoundFigures& f : figures) {
    floors.push_back(f.floorNs);
    refreshes.push_back(f.refreshNs);
    reads.push_back(f.readNs);
    ratios.push_back(f.refreshNs / f.floorNs);
  }
  std::printf("%-16s %9ld %5d %10.1f %10.1f %10.1f %8.3f %8.3f %8.3f %9ld\n", label, n, rounds, Median(floors),
              Median(refreshes), Median(reads), Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
              *std::max_element(ratios.begin(), ratios.end()), host.modifies - modifiesBefore);
}

// What one refresh is made of, each part timed alone: the floor's three calls, then what the clock
// evaluation adds around strftime (the format made safe again, the zero-filled render buffer, the tip
// text). Tells where a refresh above its floor spends the difference.
void BenchRefreshParts(const Pictures& pictures, int rounds, double blockSeconds) {
  const CountingHost host(pictures);
  const std::string formatText = host.BenchedPlace().TipTimeFormat();
  const char* format = formatText.c_str();
  const std::time_t now = std::time(nullptr);
  const std::tm parts = *std::localtime(&now);
  const std::string timeText = [&] {
    char text[128];
    return std::string(text, std::strftime(text, sizeof text, format, &parts));
  }();
  struct Part {
    const char* name;
    std::function<void()> work;
  };
  const std::vector<Part> list = {
      {"time", [] { g_sink = g_sink + static_cast<unsigned long>(std::time(nullptr)); }},
      {"localtime", [&] { g_sink = g_sink + static_cast<unsigned long>(std::localtime(&now)->tm_min); }},
      {"strftime", [&] {
         char text[128];
         g_sink = g_sink + std::strftime(text, sizeof text, format, &parts);
       }},
      {"MakeStrftimeSafe", [&] { g_sink = g_sink + MakeStrftimeSafe(formatText).size(); }},
      {"zeroed buffer", [&] {
         std::vector<char> buffer(256 + formatText.size() * 16);
         g_sink = g_sink + static_cast<unsigned long>(buffer[formatText.size()]);
       }},
      {"tip text", [&] {
         const std::string place("Tokyo");
         g_sink = g_sink + (place + " = " + timeText).size();
       }},
  };
  const long n = CalibrateIterations(format, blockSeconds);
  std::vector<std::vector<double>> ns(list.size());
  for (int r = 0; r < rounds; ++r) {
    for (std::size_t k = 0; k < list.size(); ++k) {
      const Part& part = list[(k + r) % list.size()];
      ns[(k + r) % list.size()].push_back(SecondsFor(n, part.work) * 1e9 / n);
    }
  }
  std::printf("%-18s", "part, ns per call:");
  for (std::size_t k = 0; k < list.size(); ++k) std::printf("  %s %.1f", list[k].name, Median(ns[k]));
  std::printf("\n");
}

// The local midnight that starts 5 March 2002 plus the given time of day.
std::time_t LocalInstant(int hour, int minute, int second) {
  std::tm parts{};
  parts.tm_year = 2002 - 1900;
  parts.tm_mon = 2;
  parts.tm_mday = 5;
  parts.tm_hour = hour;
  parts.tm_min = minute;
  parts.tm_sec = second;
  parts.tm_isdst = -1;
  return std::mktime(&parts);
}

constexpr int MOUSE_MOVES = 10000;

// Whole minutes touched by a set of instants (time zones are whole minutes away from UTC).
std::size_t MinutesOf(const std::set<std::time_t>& seconds) {
  std::set<std::time_t> minutes;
  for (std::time_t s : seconds) minutes.insert(s / 60);
  return minutes.size();
}

// 10,000 mouse-movement refreshes on a clock that moves through exactly one minute, from its first
// second to its last. The add and the refresh that follows it are counted: they are the minute's
// first modify.
void CountOverSimulatedMinute(const char* label, const Pictures& pictures) {
  // 10:15:00 local time, which the place 9 hours ahead shows as 19:15:00.
  const std::time_t minuteStart = LocalInstant(10, 15, 0);
  std::time_t now = minuteStart;
  CountingHost host(pictures, &now);
  TrayController& controller = host.Tray();
  controller.CreateTray();
  std::set<std::time_t> seconds{now};
  for (int i = 0; i < MOUSE_MOVES; ++i) {
    now = minuteStart + static_cast<std::time_t>(static_cast<long long>(i) * 60 / MOUSE_MOVES);
    seconds.insert(now);
    controller.UpdateTray();
  }
  std::printf("%-16s %-10s %8d %8zu %8zu %8ld %8zu\n", label, "simulated", MOUSE_MOVES, seconds.size(),
              MinutesOf(seconds), host.modifies, host.tips.size());
}

// The same on the system clock, the refreshes spread evenly over spanSeconds.
void CountOnSystemClock(const char* label, const Pictures& pictures, double spanSeconds) {
  CountingHost host(pictures);
  TrayController& controller = host.Tray();
  std::set<std::time_t> seconds{std::time(nullptr)};
  controller.CreateTray();
  const auto start = Clock::now();
  for (int i = 0; i < MOUSE_MOVES; ++i) {
    const auto due = start + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(spanSeconds * i / MOUSE_MOVES));
    while (Clock::now() < due) {
    }
    seconds.insert(std::time(nullptr));
    controller.UpdateTray();
  }
  seconds.insert(std::time(nullptr));
  std::printf("%-16s %-10s %8d %8zu %8zu %8ld %8zu\n", label, "system", MOUSE_MOVES, seconds.size(),
              MinutesOf(seconds), host.modifies, host.tips.size());
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  const double blockSeconds = (argc > 2 ? std::max(1, std::atoi(argv[2])) : 40) / 1000.0;
  const double spanSeconds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 3;

  std::printf("Refresh that changes nothing, against its floor (time + 2 x localtime + strftime)\n");
  std::printf("goal: refresh / floor <= 1.25 (median of the rounds)\n\n");
  std::printf("%-16s %9s %5s %10s %10s %10s %8s %8s %8s %9s\n", "format", "iters", "rounds", "floor ns",
              "refresh ns", "clock ns", "ratio", "min", "max", "modifies");
  BenchRefreshCost("with seconds", WITH_SECONDS, rounds, blockSeconds);
  BenchRefreshCost("without seconds", WITHOUT_SECONDS, rounds, blockSeconds);
  std::printf("(clock ns: ReadRemoteClock alone; modifies: shell calls during the timed refreshes)\n\n");
  BenchRefreshParts(WITH_SECONDS, rounds, blockSeconds / 4);
  std::printf("\n");

  std::printf("Shell calls of %d mouse-movement refreshes, counted from the add\n", MOUSE_MOVES);
  std::printf("goal: modifies <= minutes spanned without seconds, <= seconds spanned with them\n\n");
  std::printf("%-16s %-10s %8s %8s %8s %8s %8s\n", "format", "clock", "refresh", "seconds", "minutes", "modifies",
              "tips");
  CountOverSimulatedMinute("without seconds", WITHOUT_SECONDS);
  CountOverSimulatedMinute("with seconds", WITH_SECONDS);
  CountOnSystemClock("without seconds", WITHOUT_SECONDS, spanSeconds);
  CountOnSystemClock("with seconds", WITH_SECONDS, spanSeconds);
  return 0;
}
