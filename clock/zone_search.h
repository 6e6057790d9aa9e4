// Finding a zone by what people type: a city, a country, or a zone's own names.
#ifndef FARHOUR_CLOCK_ZONE_SEARCH_H
#define FARHOUR_CLOCK_ZONE_SEARCH_H

#include <cstddef>
#include <string>
#include <vector>

#include "clock/zone_clock.h"

// The text with every Latin letter that carries an accent replaced by its base letter ("São Paulo"
// is "Sao Paulo", "Ærøskøbing" "AEroskobing"); other characters stay as they are. UTF-8 in and out.
std::string FoldAccents(const std::string& text);

// One zone that a search found.
struct ZoneMatch {
  std::size_t zone;  // its index in the list searched
  // What matched, when the zone's display name does not hold the text: "Chicago, United States",
  // "Toronto, Canada: Eastern - ON & QC (most areas)" or the key name. UTF-8; else empty.
  std::string note;
};

class ZoneSearch {
 public:
  ZoneSearch() = default;
  // zones: the list to search, in its order, names in UTF-8. Each zone is also found by the cities,
  // countries and comments of the places that keep its time.
  explicit ZoneSearch(const std::vector<ZoneEntry>& zones);

  // The zones with a name that holds text, ignoring case, accents and the spaces around it: first
  // those where it is a whole name, then those where it starts a word, then the rest; each group
  // in the list's order. A blank text finds every zone, in order, without notes.
  std::vector<ZoneMatch> Find(const std::string& text) const;

 private:
  struct Place {
    std::size_t row;  // in the table of places
    std::string city, country, comment;  // folded
  };
  struct Zone {
    std::string display, key;  // folded
    std::string keyName;
    std::vector<Place> places;
  };
  std::vector<Zone> zones_;
};

#endif
