// How well the Time Zone window's search finds the places people type, measured with data the table
// was not made from: SimpleMaps' most populous cities (a second source of names and people), each typed
// by its SimpleMaps name, with the zone at its coordinates on the time-zone boundaries as the truth
// (either of two where the boundaries give two: Xinjiang keeps Beijing's clock and its own);
// and each country by its usual English name. A city counts as right when the zone that Enter takes
// (the first found) keeps the truth's clock all through 2026 and 2027, compared hour by hour with this
// machine's zoneinfo (the Windows zone's clock being that of the IANA zone CLDR names for it, territory
// 001); as wrong where a namesake explains it when the first found is another place (of another
// country, or another of its own) and a zone further down, found through a place of the city's own
// country, keeps the right clock. A
// country counts as right when the first zone found is its zone where most of its people live.
// The zones searched are the table's, named by their key names (the display names are the system's).
// Prints figures only.
// Usage: zone_place_check <folder of the lists make_zone_places.py --check-lists writes> [all]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "clock/zone_search.h"

namespace {

std::vector<std::vector<std::string>> ReadRows(const std::string& path) {
  std::vector<std::vector<std::string>> rows;
  std::ifstream in(path);
  std::string line;
  while (std::getline(in, line)) {
    std::vector<std::string> fields;
    std::stringstream split(line);
    std::string field;
    while (std::getline(split, field, '\t')) fields.push_back(field);
    rows.push_back(fields);
  }
  return rows;
}

// The zone's offset from UTC at each hour of 2026 and 2027, in seconds.
const std::vector<long>& HourlyOffsets(const std::string& zone) {
  static std::map<std::string, std::vector<long>> known;
  auto found = known.find(zone);
  if (found != known.end()) return found->second;
  setenv("TZ", zone.c_str(), 1);
  tzset();
  std::vector<long> offsets;
  const std::time_t start = 1767225600;  // 2026-01-01 00:00 UTC
  for (std::time_t at = start; at < start + 730 * 86400; at += 3600) {
    std::tm local{};
    localtime_r(&at, &local);
    offsets.push_back(local.tm_gmtoff);
  }
  return known[zone] = offsets;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: zone_place_check <folder of cities.tsv, zones.tsv, countries.tsv>\n");
    return 2;
  }
  const std::string folder = argv[1];
  // "all" after the folder lists every miss, not only the first 40 of each kind.
  const std::size_t shown = argc > 2 && std::string(argv[2]) == "all" ? std::size_t(-1) : 40;
  std::vector<ZoneEntry> zones;
  std::map<std::string, std::string> homes;
  for (const auto& row : ReadRows(folder + "/zones.tsv")) {
    if (row.size() < 2) continue;
    zones.push_back(ZoneEntry{row[0], "(UTC+00:00) " + row[0], 0});
    homes[row[0]] = row[1];
  }
  const auto cities = ReadRows(folder + "/cities.tsv");
  if (zones.empty() || cities.empty()) {
    std::fprintf(stderr, "zone_place_check: no lists in %s\n", folder.c_str());
    return 2;
  }
  const ZoneSearch search(zones);

  for (std::size_t most : {std::size_t{1000}, std::size_t{3000}}) {
    std::size_t right = 0, wrong = 0, namesake = 0, none = 0, checked = 0;
    std::vector<std::string> wrongOnes, namesakes;
    for (std::size_t i = 0; i < cities.size() && checked < most; ++i) {
      const auto& city = cities[i];
      if (city.size() < 4) continue;
      ++checked;
      const std::vector<ZoneMatch> found = search.Find(city[0]);
      const std::string where = city[0] + " (" + city[1] + ", " + city[2] + ")";
      if (found.empty()) {
        ++none;
        wrongOnes.push_back(where + ": nothing");
        continue;
      }
      std::vector<std::string> truths;
      std::stringstream split(city[2]);
      for (std::string zone; std::getline(split, zone, ',');) truths.push_back(zone);
      auto keepsTruth = [&](const ZoneMatch& match) {
        const std::vector<long>& offsets = HourlyOffsets(homes[zones[match.zone].keyName]);
        return std::any_of(truths.begin(), truths.end(), [&](const std::string& zone) { return HourlyOffsets(zone) == offsets; });
      };
      if (keepsTruth(found[0])) {
        ++right;
        continue;
      }
      // Another place listed first: of another country, or another of the city's own country
      // ("Washington", the state, before "Washington, D.C."), with the right clock further down.
      const auto own = std::find_if(found.begin() + 1, found.end(), [&](const ZoneMatch& match) {
        return match.countryCode == city[1] && keepsTruth(match);
      });
      const bool otherPlace = own != found.end() && (found[0].countryCode != city[1] || found[0].note != own->note);
      const std::string line = where + ": " + zones[found[0].zone].keyName + " (" + found[0].note + ")";
      if (otherPlace) {
        ++namesake;
        namesakes.push_back(line);
      } else {
        ++wrong;
        wrongOnes.push_back(line);
      }
    }
    std::printf("the %zu most populous cities of SimpleMaps, typed by their SimpleMaps name:\n", checked);
    std::printf("  right clock %zu (%.1f %%), nothing found %zu, wrong clock %zu, wrong where a bigger namesake "
                "is listed first %zu\n", right, 100.0 * right / checked, none, wrong, namesake);
    for (std::size_t i = 0; i < wrongOnes.size() && i < shown; ++i) std::printf("    %s\n", wrongOnes[i].c_str());
    if (wrongOnes.size() > shown) std::printf("    ... and %zu more\n", wrongOnes.size() - shown);
    std::printf("  namesakes listed first:\n");
    for (std::size_t i = 0; i < namesakes.size() && i < shown; ++i) std::printf("    %s\n", namesakes[i].c_str());
    if (namesakes.size() > shown) std::printf("    ... and %zu more\n", namesakes.size() - shown);
  }

  std::size_t countries = 0, first = 0, ofCountry = 0;
  std::vector<std::string> missed;
  for (const auto& row : ReadRows(folder + "/countries.tsv")) {
    if (row.size() < 3) continue;
    ++countries;
    const std::vector<ZoneMatch> found = search.Find(row[1]);
    const std::string key = found.empty() ? std::string() : zones[found[0].zone].keyName;
    const std::string expected = row[2].substr(0, row[2].find(','));
    const bool inCountry = !key.empty() && ("," + row[2] + ",").find("," + key + ",") != std::string::npos;
    first += key == expected;
    ofCountry += inCountry;
    if (key != expected) missed.push_back(row[1] + ": " + (key.empty() ? "nothing" : key) + ", not " + expected);
  }
  std::printf("\nthe %zu countries with a zone, typed by their English name:\n", countries);
  std::printf("  a zone of the country %zu, its most populous zone %zu\n", ofCountry, first);
  for (const std::string& line : missed) std::printf("    %s\n", line.c_str());
  return 0;
}
