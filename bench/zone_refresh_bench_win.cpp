// The refresh of a place with a zone against the same refresh of a place with an offset, under
// Wine in one run (goal: at most 1.25 times as long). Both run the real controller and the real
// place's clock on the system clock; the zone's is the real SystemZoneClock with the system's zone
// data, as the program has it. Only the shell is replaced. Prints figures only.
// Usage: zone_refresh_bench [rounds] [milliseconds per timed block]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "clock/place.h"
#include "clock/system_zone_clock_win.h"
#include "res/resource.h"
#include "tray/tray_controller.h"

namespace {

using Clock = std::chrono::steady_clock;

// The user's locale pictures: en_US's, with seconds, and pictures without them.
struct Pictures {
  const char* time;
  const char* longDate;
};
const Pictures WITH_SECONDS = {"h:mm:ss tt", "dddd, MMMM dd, yyyy"};
const Pictures WITHOUT_SECONDS = {"HH:mm", "dd MMMM yyyy"};

PlaceSettings BenchPlace(const char* zone) {
  PlaceSettings settings;
  settings.place = "Auckland";
  settings.offset = 12.0;
  settings.from = 0;
  settings.to = 23;
  settings.workDays = EVERY_DAY;
  settings.zone = zone;
  return settings;
}

// The place, with the zone clock the window keeps, and the window and the shell around its icon,
// minus the shell.
class BenchHost : public TrayOwner, public TrayShell {
 public:
  BenchHost(const char* zone, const Pictures& pictures) : place_(zone_), tray_(place_, *this, *this) {
    place_.Settings() = BenchPlace(zone);
    place_.BuildTipTimeFormat(pictures.time, pictures.longDate);
  }
  TrayController& Tray() { return tray_; }

  IconRef CustomActiveIcon() const override { return nullptr; }
  IconRef CustomInactiveIcon() const override { return nullptr; }
  IconRef ProgramIcon() const override { return &icons_[0]; }
  bool RefreshTimerRunning() const override { return true; }
  std::string NotFoundTip(const std::string& path) const override { return "\"" + path + "\" not found"; }
  std::string NoTimerTip() const override { return "No TIMER!"; }
  IconRef LoadResourceIcon(unsigned short resourceId) override { return &icons_[resourceId % 2]; }
  // The benched places show pictures, never the hour.
  IconRef HourIcon(const HourFace&) override { return nullptr; }
  bool ShellAdd(unsigned, IconRef) override { return true; }
  bool ShellModify(unsigned, IconRef, const char*) override {
    ++modifies;
    return true;
  }
  void ShellDelete(unsigned) override {}
  long modifies = 0;

 private:
  SystemZoneClock zone_;
  Place place_;
  TrayController tray_;
  char icons_[2] = {};
};

template <typename Work>
double NsPerCall(long iterations, Work work) {
  const auto start = Clock::now();
  for (long i = 0; i < iterations; ++i) work();
  return std::chrono::duration<double, std::nano>(Clock::now() - start).count() / iterations;
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Prints one row; returns the two tips, which show that the zone's time is the one read.
std::string Bench(const char* label, const Pictures& pictures, int rounds, double blockSeconds) {
  BenchHost offsetHost("", pictures);
  BenchHost zoneHost("New Zealand Standard Time", pictures);
  TrayController& offsetTray = offsetHost.Tray();
  TrayController& zoneTray = zoneHost.Tray();
  offsetTray.CreateTray();
  zoneTray.CreateTray();
  const std::string tips = "\"" + offsetTray.LastTip() + "\" / \"" + zoneTray.LastTip() + "\"";

  long n = 64;
  while (NsPerCall(n, [&] { offsetTray.UpdateTray(); }) * n < blockSeconds * 1e9 / 4 && n < (1L << 24)) n *= 2;
  n = std::max(1L, static_cast<long>(n * 4));

  std::vector<double> offsets, zones, ratios;
  for (int r = 0; r < rounds; ++r) {
    double offsetNs = 0;
    double zoneNs = 0;
    // Alternate which goes first, so that drift hits both.
    if (r % 2 == 0) {
      offsetNs = NsPerCall(n, [&] { offsetTray.UpdateTray(); });
      zoneNs = NsPerCall(n, [&] { zoneTray.UpdateTray(); });
    } else {
      zoneNs = NsPerCall(n, [&] { zoneTray.UpdateTray(); });
      offsetNs = NsPerCall(n, [&] { offsetTray.UpdateTray(); });
    }
    offsets.push_back(offsetNs);
    zones.push_back(zoneNs);
    ratios.push_back(zoneNs / offsetNs);
  }
  std::printf("%-16s %9ld %6d %10.1f %10.1f %8.3f %8.3f %8.3f\n", label, n, rounds, Median(offsets), Median(zones),
              Median(ratios), *std::min_element(ratios.begin(), ratios.end()),
              *std::max_element(ratios.begin(), ratios.end()));
  return tips;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 21;
  const double blockSeconds = (argc > 2 ? std::max(1, std::atoi(argv[2])) : 40) / 1000.0;
  std::printf("Refresh that changes nothing: a place with a zone against one with an offset\n");
  std::printf("goal: zone / offset <= 1.25 (median of the rounds)\n\n");
  std::printf("%-16s %9s %6s %10s %10s %8s %8s %8s\n", "format", "iters", "rounds", "offset ns", "zone ns",
              "ratio", "min", "max");
  const std::string withSeconds = Bench("with seconds", WITH_SECONDS, rounds, blockSeconds);
  const std::string withoutSeconds = Bench("without seconds", WITHOUT_SECONDS, rounds, blockSeconds);
  std::printf("(tips, offset / zone: %s, %s)\n", withSeconds.c_str(), withoutSeconds.c_str());
  return 0;
}
