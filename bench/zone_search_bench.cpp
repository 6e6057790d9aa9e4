// Typing into the Time Zone window's search: each key pressed searches the zones again, over their
// names and the whole table of places and countries (goal: under 5 ms a key). Times
// ZoneSearch::Find on every prefix of a few words as they are typed, and the search's set-up, which
// runs once per window. The zones are those the table names; "(UTC+00:00) " and the key name stand
// in for the display names, which only the system has. Prints figures only.
// Usage: zone_search_bench [rounds] [milliseconds per timed block]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "clock/zone_places.h"
#include "clock/zone_search.h"

namespace {

using Clock = std::chrono::steady_clock;

const char* const WORDS[] = {"chicago", "new york city", "sao paulo", "united states", "bengaluru", "kathmandu", "e",
                             "zzz"};

std::vector<ZoneEntry> TableZones() {
  std::vector<ZoneEntry> zones;
  for (const std::string key : ZoneKeys()) zones.push_back(ZoneEntry{key, "(UTC+00:00) " + key, 0});
  return zones;
}

template <typename Work>
double MicrosecondsPerCall(long iterations, Work work) {
  const auto start = Clock::now();
  for (long i = 0; i < iterations; ++i) work();
  return std::chrono::duration<double, std::micro>(Clock::now() - start).count() / iterations;
}

// The median over the rounds of the time of one call, each round a block of about blockMs.
template <typename Work>
double MedianMicroseconds(int rounds, double blockMs, Work work) {
  long n = 1;
  while (MicrosecondsPerCall(n, work) * n < blockMs * 1000 / 4 && n < (1L << 20)) n *= 2;
  n *= 4;
  std::vector<double> times;
  for (int r = 0; r < rounds; ++r) times.push_back(MicrosecondsPerCall(n, work));
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const double blockMs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 20;
  const std::vector<ZoneEntry> zones = TableZones();
  std::printf("Typing into the Time Zone window's search: %zu zones, %zu places, %zu countries\n", zones.size(),
              ZonePlaces().size(), ZoneCountries().size());
  std::printf("goal: under 5,000 us a key (median of %d rounds per prefix)\n\n", rounds);

  std::size_t sink = 0;
  const double setUp = MedianMicroseconds(rounds, blockMs, [&] { sink += ZoneSearch(zones).Find("").size(); });
  std::printf("set-up of the search, once per window: %.1f us\n\n", setUp);

  const ZoneSearch search(zones);
  std::printf("%-14s %6s %12s %12s %-16s %8s\n", "typed", "keys", "median us", "slowest us", "at", "found");
  double slowest = 0;
  for (const char* word : WORDS) {
    const std::string typed = word;
    std::vector<double> times;
    std::string worstAt;
    for (std::size_t length = 1; length <= typed.size(); ++length) {
      const std::string prefix = typed.substr(0, length);
      times.push_back(MedianMicroseconds(rounds, blockMs, [&] { sink += search.Find(prefix).size(); }));
      if (times.back() >= *std::max_element(times.begin(), times.end())) worstAt = prefix;
    }
    const double worst = *std::max_element(times.begin(), times.end());
    std::vector<double> all = times;
    std::sort(all.begin(), all.end());
    std::printf("%-14s %6zu %12.1f %12.1f %-16s %8zu\n", word, typed.size(), all[all.size() / 2], worst,
                ("\"" + worstAt + "\"").c_str(), search.Find(typed).size());
    slowest = std::max(slowest, worst);
  }
  std::printf("\nslowest key: %.1f us, %.4f of the goal\n", slowest, slowest / 5000.0);
  if (sink == 0) std::printf("(the searches found nothing)\n");
  return 0;
}
