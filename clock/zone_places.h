// The places of the IANA time zone database, each with the Windows zone whose time it keeps: what
// people type to find a zone. The table is generated (tools/zones/make_zone_places.py).
#ifndef FARHOUR_CLOCK_ZONE_PLACES_H
#define FARHOUR_CLOCK_ZONE_PLACES_H

#include <cstddef>

// Texts in UTF-8.
struct ZonePlace {
  const char* keyName;  // "Central Standard Time"
  const char* city;     // "Chicago", from "America/Chicago"
  const char* country;  // "United States"
  const char* comment;  // "Central (most areas)"; empty where the country has one zone
};

std::size_t ZonePlaceCount();
// The place at index, below ZonePlaceCount().
ZonePlace ZonePlaceAt(std::size_t index);

#endif
