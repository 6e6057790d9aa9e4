// Finding a zone by what people type: a city, a country, or a zone's own names.
#ifndef FARHOUR_CLOCK_ZONE_SEARCH_H
#define FARHOUR_CLOCK_ZONE_SEARCH_H

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "clock/zone_clock.h"
#include "clock/zone_places.h"

// The text with every Latin letter of U+00C0 to U+024F and U+1E00 to U+1EFF that carries an accent
// replaced by its base letter ("São Paulo" is "Sao Paulo", "Ærøskøbing" "AEroskobing", "Chișinău"
// "Chisinau", "Thủ Đức" "Thu Duc"); other characters stay as they are. UTF-8 in and out.
std::string FoldAccents(const std::string& text);

// One zone that a search found.
struct ZoneMatch {
  std::size_t zone;  // its index in the list searched
  // What matched, when the zone's display name does not hold the text: "Chicago, United States",
  // "Portland, Oregon, United States" (where the country has two), "Texas, United States",
  // "Goose Bay, Canada: Atlantic - Labrador (most areas)" or the key name. UTF-8; else empty.
  std::string note;
  // The ISO 3166 code of the country of the place or the country that matched ("IL" for Tel Aviv,
  // "US" for "United States"); empty when the zone matched by its own names only.
  std::string countryCode;
};

class ZoneSearch {
 public:
  // A search lists this many zones at most.
  static constexpr std::size_t MOST_MATCHES = 50;

  ZoneSearch() = default;
  // zones: the list to search, in its order, names in UTF-8. Each zone is also found by the names of
  // the places and countries whose time it keeps.
  explicit ZoneSearch(const std::vector<ZoneEntry>& zones);

  // The best zones for text (UTF-8, in any script), ignoring case in Latin, Greek, Cyrillic, Armenian
  // and Georgian, Latin accents and the spaces around it, MOST_MATCHES at most. A name that is the text
  // ranks before one where a word starts with it, and that before one that holds it inside a word; a
  // text that only adds " City" to a name finds that name, after the names that are the whole text and
  // before the starts of words. Among equal matches, a zone's own name that is the whole text comes
  // first (in the list's order), then countries (most people first; a country's zones where most of its
  // people live first), then places and regions (most people first; a region's zones likewise), then
  // zones whose own names only start with or hold the text. A blank text finds every zone, in order,
  // without notes.
  std::vector<ZoneMatch> Find(const std::string& text) const;

 private:
  enum Kind : std::uint8_t { ZONE_NAME, COUNTRY, PLACE, PLACE_COMMENT };
  struct Owner {
    Kind kind;
    std::uint32_t index;  // in zones_, countries_ or places_
  };
  struct Hits;
  // wordMore: wanted is the text without its " City" or its article, and counts only where it is a
  // whole name.
  void Scan(const std::string& wanted, bool wordMore, Hits* hits) const;
  std::string PlaceNote(std::size_t place, bool withComment) const;

  std::vector<ZoneEntry> zones_;
  std::vector<std::string> displays_;  // folded
  std::vector<ZonePlace> places_;
  std::vector<ZoneCountry> countries_;
  std::vector<std::size_t> listed_;  // per key of the table, its zone in zones_, or zones_.size()
  // Every name folded, each followed by a line feed, and where each starts and whose it is.
  std::string names_;
  std::vector<std::uint32_t> starts_;
  std::vector<Owner> owners_;
};

#endif
