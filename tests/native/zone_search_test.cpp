// Finding a zone by what people type, over a part of Windows' list with its own display names and
// the table of places.
#include "clock/zone_search.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

namespace {

// In Windows' order.
const std::vector<ZoneEntry> ZONES = {
    {"Pacific Standard Time", "(UTC-08:00) Pacific Time (US & Canada)", 480},
    {"Central America Standard Time", "(UTC-06:00) Central America", 360},
    {"Central Standard Time", "(UTC-06:00) Central Time (US & Canada)", 360},
    {"Eastern Standard Time", "(UTC-05:00) Eastern Time (US & Canada)", 300},
    {"US Eastern Standard Time", "(UTC-05:00) Indiana (East)", 300},
    {"Atlantic Standard Time", "(UTC-04:00) Atlantic Time (Canada)", 240},
    {"Central Brazilian Standard Time", "(UTC-04:00) Cuiaba", 240},
    {"SA Western Standard Time", "(UTC-04:00) Georgetown, La Paz, Manaus, San Juan", 240},
    {"E. South America Standard Time", "(UTC-03:00) Brasilia", 180},
    {"W. Europe Standard Time", "(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna", -60},
    {"India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi", -330},
    {"Nepal Standard Time", "(UTC+05:45) Kathmandu", -345},
    {"Tokyo Standard Time", "(UTC+09:00) Osaka, Sapporo, Tokyo", -540},
};

struct SearchCase {
  const char* text;
  std::vector<std::string> keys;  // the zones found, in order
  const char* firstNote;
};

void PrintTo(const SearchCase& c, std::ostream* os) { *os << '"' << c.text << '"'; }

class ZoneSearches : public ::testing::TestWithParam<SearchCase> {};

TEST_P(ZoneSearches, FindTheZonesOfCitiesCountriesAndNamesBestFirst) {
  const std::vector<ZoneMatch> found = ZoneSearch(ZONES).Find(GetParam().text);
  std::vector<std::string> keys;
  for (const ZoneMatch& match : found) keys.push_back(ZONES[match.zone].keyName);
  EXPECT_EQ(GetParam().keys, keys);
  if (!found.empty()) EXPECT_EQ(GetParam().firstNote, found[0].note);
}

const SearchCase SEARCH_CASES[] = {
    {"Chicago", {"Central Standard Time"}, "Chicago, United States"},
    {"LOS ANGELES", {"Pacific Standard Time"}, "Los Angeles, United States"},
    {"S\xc3\xa3o Paulo", {"E. South America Standard Time"}, "Sao Paulo, Brazil"},
    {"  sao paulo ", {"E. South America Standard Time"}, "Sao Paulo, Brazil"},
    {"Z\xc3\xbcrich", {"W. Europe Standard Time"}, "Zurich, Switzerland"},
    {"Germany", {"W. Europe Standard Time"}, "Berlin, Germany"},
    {"Kathmandu", {"Nepal Standard Time"}, ""},
    {"curacao", {"SA Western Standard Time"}, "Curacao, Cura\xc3\xa7" "ao"},
    {"Brazil",
     {"Central Brazilian Standard Time", "SA Western Standard Time", "E. South America Standard Time"},
     "Campo Grande, Brazil"},
    // A whole name before a word's start, before a part of a word; Windows' order within each.
    {"India", {"India Standard Time", "US Eastern Standard Time"}, "Kolkata, India"},
    {"man",
     {"Central America Standard Time", "Central Standard Time", "SA Western Standard Time", "W. Europe Standard Time",
      "Nepal Standard Time"},
     "Managua, Nicaragua"},
    {"Labrador", {"Atlantic Standard Time"}, "Goose Bay, Canada: Atlantic - Labrador (most areas)"},
    {"w. europe", {"W. Europe Standard Time"}, "W. Europe Standard Time"},
    {"paz", {"SA Western Standard Time"}, ""},
    {"Atlantis", {}, ""},
    {"\xc3", {}, ""},
};
INSTANTIATE_TEST_SUITE_P(Texts, ZoneSearches, ::testing::ValuesIn(SEARCH_CASES));

}  // namespace
