// The search of the zone list: names folded once, the places of each zone, and the order of what
// is found.
#include "clock/zone_search.h"

#include <algorithm>
#include <utility>

#include "clock/zone_places.h"

namespace {

// The base letters of U+00C0 to U+017F, the Latin letters of western and central Europe; none for
// the two signs among them, U+00D7 and U+00F7.
const char BASE_LETTERS[192][3] = {
    "A", "A", "A",  "A",  "A", "A", "AE", "C", "E", "E", "E", "E", "I",  "I", "I",  "I",   // U+00C0
    "D", "N", "O",  "O",  "O", "O", "O",  "",  "O", "U", "U", "U", "U",  "Y", "TH", "ss",  // U+00D0
    "a", "a", "a",  "a",  "a", "a", "ae", "c", "e", "e", "e", "e", "i",  "i", "i",  "i",   // U+00E0
    "d", "n", "o",  "o",  "o", "o", "o",  "",  "o", "u", "u", "u", "u",  "y", "th", "y",   // U+00F0
    "A", "a", "A",  "a",  "A", "a", "C",  "c", "C", "c", "C", "c", "C",  "c", "D",  "d",   // U+0100
    "D", "d", "E",  "e",  "E", "e", "E",  "e", "E", "e", "E", "e", "G",  "g", "G",  "g",   // U+0110
    "G", "g", "G",  "g",  "H", "h", "H",  "h", "I", "i", "I", "i", "I",  "i", "I",  "i",   // U+0120
    "I", "i", "IJ", "ij", "J", "j", "K",  "k", "k", "L", "l", "L", "l",  "L", "l",  "L",   // U+0130
    "l", "L", "l",  "N",  "n", "N", "n",  "N", "n", "n", "N", "n", "O",  "o", "O",  "o",   // U+0140
    "O", "o", "OE", "oe", "R", "r", "R",  "r", "R", "r", "S", "s", "S",  "s", "S",  "s",   // U+0150
    "S", "s", "T",  "t",  "T", "t", "T",  "t", "U", "u", "U", "u", "U",  "u", "U",  "u",   // U+0160
    "U", "u", "U",  "u",  "W", "w", "Y",  "y", "Y", "Z", "z", "Z", "z",  "Z", "z",  "s",   // U+0170
};

// How a name holds the text searched for, best first.
enum Quality { WHOLE_NAME, WORD_START, INSIDE, NOWHERE };

// In folded text; a byte of a letter beyond Latin's continues a word too.
bool InWord(char c) {
  const unsigned char u = static_cast<unsigned char>(c);
  return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || u >= 0x80;
}

Quality MatchQuality(const std::string& name, const std::string& text) {
  if (name == text) return WHOLE_NAME;
  Quality quality = NOWHERE;
  for (std::size_t at = name.find(text); at != std::string::npos; at = name.find(text, at + 1)) {
    if (at == 0 || !InWord(name[at - 1])) return WORD_START;
    quality = INSIDE;
  }
  return quality;
}

// Without accents, in lower case: the form in which names are compared.
std::string SearchKey(const std::string& text) {
  std::string key = FoldAccents(text);
  for (char& c : key) {
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return key;
}

std::string Trimmed(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

std::string PlaceNote(std::size_t row, bool withComment) {
  const ZonePlace place = ZonePlaceAt(row);
  std::string note = std::string(place.city) + ", " + place.country;
  if (withComment) note += std::string(": ") + place.comment;
  return note;
}

}  // namespace

std::string FoldAccents(const std::string& text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    // U+00C0 to U+017F are the two-byte sequences that start with C3, C4 or C5.
    if (lead >= 0xC3 && lead <= 0xC5 && i + 1 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      const unsigned code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      const char* base = BASE_LETTERS[code - 0xC0];
      if (base[0] != '\0') {
        folded += base;
        ++i;
        continue;
      }
    }
    folded += text[i];
  }
  return folded;
}

ZoneSearch::ZoneSearch(const std::vector<ZoneEntry>& zones) {
  for (const ZoneEntry& entry : zones) {
    Zone zone;
    zone.display = SearchKey(entry.displayName);
    zone.key = SearchKey(entry.keyName);
    zone.keyName = entry.keyName;
    zones_.push_back(std::move(zone));
  }
  // Key names, like the registry's, are compared without regard to case.
  for (std::size_t row = 0; row < ZonePlaceCount(); ++row) {
    const ZonePlace place = ZonePlaceAt(row);
    const std::string key = SearchKey(place.keyName);
    for (Zone& zone : zones_) {
      if (zone.key != key) continue;
      zone.places.push_back(Place{row, SearchKey(place.city), SearchKey(place.country), SearchKey(place.comment)});
    }
  }
}

std::vector<ZoneMatch> ZoneSearch::Find(const std::string& text) const {
  const std::string wanted = SearchKey(Trimmed(text));
  std::vector<ZoneMatch> matches;
  if (wanted.empty()) {
    for (std::size_t i = 0; i < zones_.size(); ++i) matches.push_back(ZoneMatch{i, std::string()});
    return matches;
  }
  // A pass per quality keeps the list's order within each.
  for (int level = WHOLE_NAME; level < NOWHERE; ++level) {
    for (std::size_t i = 0; i < zones_.size(); ++i) {
      const Zone& zone = zones_[i];
      const Quality inDisplay = MatchQuality(zone.display, wanted);
      Quality best = std::min(inDisplay, MatchQuality(zone.key, wanted));
      const Place* bestPlace = nullptr;
      bool byComment = false;
      for (const Place& place : zone.places) {
        const Quality named = std::min(MatchQuality(place.city, wanted), MatchQuality(place.country, wanted));
        const Quality described = MatchQuality(place.comment, wanted);
        if (std::min(named, described) >= best) continue;
        best = std::min(named, described);
        bestPlace = &place;
        byComment = described < named;
      }
      if (best != level) continue;
      matches.push_back(ZoneMatch{i, std::string()});
      if (inDisplay == NOWHERE) matches.back().note = bestPlace ? PlaceNote(bestPlace->row, byComment) : zone.keyName;
    }
  }
  return matches;
}
