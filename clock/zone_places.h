// The places people type to find a time zone: the world's cities of 50,000 people and more, the
// seats of states and provinces (and of China's prefectures and counties), the countries' regions
// (states, provinces), the IANA time zones' own places, and the countries, each with the Windows
// zones that keep their time.
// The table is generated (tools/zones/make_zone_places.py).
#ifndef FARHOUR_CLOCK_ZONE_PLACES_H
#define FARHOUR_CLOCK_ZONE_PLACES_H

#include <cstddef>
#include <string>
#include <vector>

// Texts in UTF-8.
struct ZonePlace {
  // Its names apart by a line feed, the usual English one first, then the others people type; then,
  // where another place of its country has its name, a vertical tab and its region; then, where tzdata
  // describes the zone's area, a tab and that comment: "Mumbai\nBombay", "Portland\vOregon",
  // "Goose Bay\tAtlantic - Labrador (most areas)". A region with people in several zones has a place
  // per zone, most people first.
  const char* text;
  std::size_t zone;     // in ZoneKeys()
  std::size_t country;  // in ZoneCountries()
};

struct ZoneCountry {
  struct Zone {
    std::size_t zone;   // in ZoneKeys()
    std::size_t place;  // in ZonePlaces(): the zone's biggest place in the country
  };
  std::string code;        // ISO 3166: "US"
  const char* names;       // apart by a line feed, the usual English one first: "United States\nUS\nUSA"
  std::vector<Zone> zones;  // where most of its people live first
};

// The Windows zones' key names: "Central Standard Time".
std::vector<const char*> ZoneKeys();
// The places, biggest first.
std::vector<ZonePlace> ZonePlaces();
// The countries, most people first.
std::vector<ZoneCountry> ZoneCountries();

#endif
