// The search of the zone list: every name folded once into one text, searched as a whole, and the
// order of what is found.
#include "clock/zone_search.h"

#include <algorithm>
#include <utility>

#include "base/utf8_text.h"

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

// The base letters of U+0180 to U+024F (Vietnamese's horned o and u, Pinyin's tone marks, Romanian's
// comma letters) and of U+1E00 to U+1EFF (Vietnamese's further letters, the dotted letters of
// transliterated Arabic: Ḩā'il, Birāṭnagar); a dot where a letter has none.
const char LATIN_B_BASES[] =
    "................................Oo.............Uu..............."  // U+0180
    ".............AaIiOoUuUuUuUuUu.AaAa....GgKkOoOo..j...Gg..NnAa...."  // U+01C0
    "AaAaEeEeIiIiOoOoRrRrUuUuSsTt..Hh......AaEeOoOoOoOoYy............"  // U+0200
    "................";  // U+0240
const char LATIN_ADDITIONAL_BASES[] =
    "AaBbBbBbCcDdDdDdDdDdEeEeEeEeEeFfGgHhHhHhHhHhIiIiKkKkKkLlLlLlLlMm"  // U+1E00
    "MmMmNnNnNnNnOoOoOoOoPpPpRrRrRrRrSsSsSsSsSsTtTtTtTtUuUuUuUuUuVvVv"  // U+1E40
    "WwWwWwWwWwXxXxYyZzZzZzhtwy......AaAaAaAaAaAaAaAaAaAaAaAaEeEeEeEe"  // U+1E80
    "EeEeEeEeIiIiOoOoOoOoOoOoOoOoOoOoOoOoUuUuUuUuUuUuUuYyYyYyYy......";  // U+1EC0

// The marks that transliterations write for an apostrophe, a hamza or an ayin, besides the
// typewriter's: the typographic quotes ("Ba‘qubah", "Ha’il") and the modifier letters ("Oʻzbekiston").
const char* const APOSTROPHES[] = {"\xE2\x80\x99", "\xE2\x80\x98", "\xCA\xBB", "\xCA\xBC", "\xCA\xBE", "\xCA\xBF"};

// How a name holds the text searched for, best first. A name that the text holds with a word more,
// " City" after it or an Arabic article before it, comes after the names that are the whole text
// ("Jersey City" the city before Jersey the island) and before the starts of words.
enum Quality { WHOLE_NAME, NAME_AND_WORD, WORD_START, INSIDE, NOWHERE };

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

// The small letter of a capital of the cases the table's names hold beyond ASCII: Latin's further
// letters (Vietnamese among them), Greek, Cyrillic, Armenian and Georgian. Any other stays.
char32_t SmallLetter(char32_t c) {
  if ((c >= 0x391 && c <= 0x3AB && c != 0x3A2) || (c >= 0x410 && c <= 0x42F)) return c + 32;
  if (c >= 0x400 && c <= 0x40F) return c + 80;
  if (c >= 0x388 && c <= 0x38A) return c + 37;
  if (c == 0x386) return 0x3AC;
  if (c == 0x38C) return 0x3CC;
  if (c == 0x38E || c == 0x38F) return c + 63;
  if (c == 0x3C2) return 0x3C3;  // the final sigma is a sigma
  if (c >= 0x531 && c <= 0x556) return c + 48;
  if (c >= 0x10A0 && c <= 0x10C5) return c - 0x10A0 + 0x2D00;
  if (c >= 0x1C90 && c <= 0x1CBF && c != 0x1CBB && c != 0x1CBC) return c - 0x1C90 + 0x10D0;
  if (c == 0x4C0) return 0x4CF;
  if (c == 0x1AF) return 0x1B0;
  // Capitals on even code points, each followed by its small letter.
  const bool pairs = (c >= 0x1A0 && c <= 0x1A5) || (c >= 0x3D8 && c <= 0x3EF) || (c >= 0x460 && c <= 0x481) ||
                     (c >= 0x48A && c <= 0x4BF) || (c >= 0x4D0 && c <= 0x52F) || (c >= 0x1E00 && c <= 0x1E95) ||
                     (c >= 0x1EA0 && c <= 0x1EFF);
  if (pairs && c % 2 == 0) return c + 1;
  if (c >= 0x4C1 && c <= 0x4CE && c % 2 == 1) return c + 1;
  return c;
}

// The text with every capital that SmallLetter knows in small; ASCII's too. Bytes that are not UTF-8
// stay as they are.
std::string SmallLetters(const std::string& text) {
  std::string small;
  small.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead >= 0xC2 && lead <= 0xDF ? 2 : lead >= 0xE1 && lead <= 0xEF ? 3 : 1;
    bool valid = i + length <= text.size();
    char32_t c = length == 1 ? lead : length == 2 ? lead & 0x1Fu : lead & 0x0Fu;
    for (std::size_t k = 1; valid && k < length; ++k) {
      const unsigned char trail = static_cast<unsigned char>(text[i + k]);
      valid = (trail & 0xC0) == 0x80;
      c = c << 6 | (trail & 0x3Fu);
    }
    if (length == 1 || !valid) {
      small += lead >= 'A' && lead <= 'Z' ? static_cast<char>(lead - 'A' + 'a') : text[i];
      ++i;
      continue;
    }
    c = SmallLetter(c);
    if (c < 0x800) {
      small += static_cast<char>(0xC0 | c >> 6);
    } else {
      small += static_cast<char>(0xE0 | c >> 12);
      small += static_cast<char>(0x80 | (c >> 6 & 0x3F));
    }
    small += static_cast<char>(0x80 | (c & 0x3F));
    i += length;
  }
  return small;
}

// The words people write in two ways, in one: "&" is "and", and "st." or "st" before a space is "saint"
// ("St. Lucia", "Bosnia & Herzegovina"); spaces in a row are one. A last "st" stays, the start of a
// word being typed ("Stockholm").
std::string SameWords(const std::string& key) {
  std::string words;
  for (std::size_t i = 0; i < key.size(); ++i) {
    const bool wordStart = i == 0 || !InWord(key[i - 1]);
    if (key[i] == '&') {
      words += words.empty() || words.back() == ' ' ? "and " : " and ";
    } else if (wordStart && key.compare(i, 3, "st.") == 0) {
      words += i + 3 < key.size() && InWord(key[i + 3]) ? "saint " : "saint";
      i += 2;
    } else if (wordStart && key.compare(i, 3, "st ") == 0) {
      words += "saint";
      i += 1;
    } else if (key[i] != ' ' || (!words.empty() && words.back() != ' ')) {
      words += key[i];
    }
  }
  if (!words.empty() && words.back() == ' ') words.pop_back();
  return words;
}

// Without Latin accents, in small letters, without apostrophes in any of their forms ("Xian", "Nampo",
// "Baqubah"), a hyphen between words as a space ("Winston Salem", "Port au Prince"; not before a digit,
// "UTC-05:00"), and words written in two ways in one: the form in which names are compared.
std::string SearchKey(const std::string& text) {
  std::string key = SmallLetters(FoldAccents(text));
  for (const char* mark : APOSTROPHES) {
    const std::size_t length = std::char_traits<char>::length(mark);
    for (std::size_t at = key.find(mark); at != std::string::npos; at = key.find(mark, at)) key.erase(at, length);
  }
  key.erase(std::remove(key.begin(), key.end(), '\''), key.end());
  for (std::size_t at = key.find('-'); at != std::string::npos; at = key.find('-', at + 1)) {
    if (at + 1 == key.size() || key[at + 1] < '0' || key[at + 1] > '9') key[at] = ' ';
  }
  return SameWords(key);
}

// A place's text: its names apart by line feeds, then its region after a vertical tab, then a comment
// after a tab.
const char REGION_MARK = '\v';

// The first of a text's names, up to a line feed, a tab, the region or its end.
std::string FirstName(const char* text) {
  std::size_t length = 0;
  while (text[length] != '\0' && text[length] != '\n' && text[length] != '\t' && text[length] != REGION_MARK) {
    ++length;
  }
  return std::string(text, length);
}

// A zone's place in the list found: how well it matched, then from what, then that one's rank.
std::uint64_t RankKey(Quality quality, unsigned tier, std::uint64_t rank) {
  return static_cast<std::uint64_t>(quality) << 48 | static_cast<std::uint64_t>(tier) << 40 | rank;
}

const std::uint64_t NOT_FOUND = ~std::uint64_t{0};
const char CITY_SUFFIX[] = " city";
// Arabic's article as people transliterate it, or leave it out: "Ad Dammam" is Dammam, "Ar Ramadi"
// Ramadi.
const char* const ARTICLES[] = {"al ", "el ", "ad ", "ar ", "as ", "ash ", "at ", "ath ", "az ", "an ", "adh "};

}  // namespace

std::string FoldAccents(const std::string& text) {
  std::string folded;
  folded.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const unsigned char lead = static_cast<unsigned char>(text[i]);
    // U+00C0 to U+024F are the two-byte sequences that start with C3 to C9.
    if (lead >= 0xC3 && lead <= 0xC9 && i + 1 < text.size() &&
        (static_cast<unsigned char>(text[i + 1]) & 0xC0) == 0x80) {
      const unsigned code = ((lead & 0x1Fu) << 6) | (static_cast<unsigned char>(text[i + 1]) & 0x3Fu);
      const char further[2] = {code >= 0x180 && code < 0x250 ? LATIN_B_BASES[code - 0x180] : '.', '\0'};
      const char* base = code < 0x180 ? BASE_LETTERS[code - 0xC0] : further[0] != '.' ? further : "";
      if (base[0] != '\0') {
        folded += base;
        ++i;
        continue;
      }
    }
    // U+1E00 to U+1EFF: E1 B8 80 to E1 BB BF.
    if (lead == 0xE1 && i + 2 < text.size()) {
      const unsigned char second = static_cast<unsigned char>(text[i + 1]);
      const unsigned char third = static_cast<unsigned char>(text[i + 2]);
      if (second >= 0xB8 && second <= 0xBB && (third & 0xC0) == 0x80) {
        const char base = LATIN_ADDITIONAL_BASES[(second - 0xB8) << 6 | (third & 0x3F)];
        if (base != '.') {
          folded += base;
          i += 2;
          continue;
        }
      }
    }
    folded += text[i];
  }
  return folded;
}


// The best match of each zone name, country, place name and place comment in one search.
struct ZoneSearch::Hits {
  explicit Hits(const ZoneSearch& search)
      : zones(search.zones_.size(), NOWHERE),
        countries(search.countries_.size(), NOWHERE),
        named(search.places_.size(), NOWHERE),
        described(search.places_.size(), NOWHERE) {}
  std::vector<Quality> zones, countries, named, described;
};

ZoneSearch::ZoneSearch(const std::vector<ZoneEntry>& zones)
    : zones_(zones), places_(ZonePlaces()), countries_(ZoneCountries()) {
  auto addName = [this](const std::string& name, Kind kind, std::size_t index) {
    starts_.push_back(static_cast<std::uint32_t>(names_.size()));
    names_ += SearchKey(name);
    names_ += '\n';
    owners_.push_back(Owner{kind, static_cast<std::uint32_t>(index)});
  };
  // Each text holds names apart by line feeds, a place's region (shown, not searched) and its comment.
  auto addNames = [&](const char* text, Kind kind, std::size_t index) {
    std::string name;
    bool inRegion = false;
    for (const char* at = text;; ++at) {
      if (*at == '\n' || *at == '\t' || *at == '\0' || *at == REGION_MARK) {
        if (!name.empty() && !inRegion) addName(name, kind, index);
        name.clear();
        if (*at == '\0') break;
        if (*at == '\t') kind = PLACE_COMMENT;
        inRegion = *at == REGION_MARK;
      } else {
        name += *at;
      }
    }
  };
  std::vector<std::string> keys;  // folded
  for (std::size_t i = 0; i < zones_.size(); ++i) {
    displays_.push_back(SearchKey(zones_[i].displayName));
    keys.push_back(SearchKey(zones_[i].keyName));
    addName(zones_[i].displayName, ZONE_NAME, i);
    addName(zones_[i].keyName, ZONE_NAME, i);
  }
  for (std::size_t i = 0; i < countries_.size(); ++i) addNames(countries_[i].names, COUNTRY, i);
  for (std::size_t i = 0; i < places_.size(); ++i) addNames(places_[i].text, PLACE, i);
  // Key names, like the registry's, are compared without regard to case.
  for (const char* key : ZoneKeys()) {
    listed_.push_back(static_cast<std::size_t>(std::find(keys.begin(), keys.end(), SearchKey(key)) - keys.begin()));
  }
}

void ZoneSearch::Scan(const std::string& wanted, bool wordMore, Hits* hits) const {
  std::size_t name = 0;
  for (std::size_t at = names_.find(wanted); at != std::string::npos; at = names_.find(wanted, at + 1)) {
    // The hits come in order, and so do the names.
    while (name + 1 < starts_.size() && starts_[name + 1] <= at) ++name;
    const std::size_t start = starts_[name];
    const std::size_t end = name + 1 < starts_.size() ? starts_[name + 1] - 1 : names_.size() - 1;
    if (at + wanted.size() > end) continue;
    const Quality quality = at == start && at + wanted.size() == end ? WHOLE_NAME
                            : at == start || !InWord(names_[at - 1]) ? WORD_START
                                                                     : INSIDE;
    if (wordMore && quality != WHOLE_NAME) continue;
    const Quality counted = wordMore ? NAME_AND_WORD : quality;
    const Owner owner = owners_[name];
    std::vector<Quality>& best = owner.kind == ZONE_NAME ? hits->zones
                                 : owner.kind == COUNTRY ? hits->countries
                                 : owner.kind == PLACE   ? hits->named
                                                         : hits->described;
    best[owner.index] = std::min(best[owner.index], counted);
  }
}

std::string ZoneSearch::PlaceNote(std::size_t place, bool withComment) const {
  const ZonePlace& row = places_[place];
  const std::size_t length = std::char_traits<char>::length(row.text);
  std::string note = FirstName(row.text);
  const char* region = std::char_traits<char>::find(row.text, length, REGION_MARK);
  if (region) note += ", " + FirstName(region + 1);
  note += ", " + FirstName(countries_[row.country].names);
  const char* comment = std::char_traits<char>::find(row.text, length, '\t');
  if (withComment && comment) note += std::string(": ") + (comment + 1);
  return note;
}

std::vector<ZoneMatch> ZoneSearch::Find(const std::string& text) const {
  const std::string wanted = SearchKey(TrimmedSpaces(text));
  std::vector<ZoneMatch> matches;
  if (wanted.empty()) {
    for (std::size_t i = 0; i < zones_.size(); ++i) matches.push_back(ZoneMatch{i, std::string(), std::string()});
    return matches;
  }
  // A line feed would join two names.
  if (wanted.find('\n') != std::string::npos) return matches;
  Hits hits(*this);
  Scan(wanted, false, &hits);
  const std::size_t suffix = sizeof CITY_SUFFIX - 1;
  if (wanted.size() > suffix && wanted.compare(wanted.size() - suffix, suffix, CITY_SUFFIX) == 0) {
    Scan(wanted.substr(0, wanted.size() - suffix), true, &hits);
  }
  for (const char* article : ARTICLES) {
    const std::size_t length = std::char_traits<char>::length(article);
    if (wanted.size() > length && wanted.compare(0, length, article) == 0) Scan(wanted.substr(length), true, &hits);
  }

  // Each zone's best way in: its rank, and what led to it.
  struct Way {
    std::uint64_t key = NOT_FOUND;
    Kind kind = ZONE_NAME;
    std::size_t index = 0;
  };
  std::vector<Way> ways(zones_.size());
  auto offer = [&](std::size_t zone, std::uint64_t key, Kind kind, std::size_t index) {
    if (zone < ways.size() && key < ways[zone].key) ways[zone] = Way{key, kind, index};
  };
  // A zone's own name that is the text comes first; one that only starts or holds it comes after the
  // countries and places that match as well ("Rio" is Rio de Janeiro before Rio Branco's zone).
  for (std::size_t i = 0; i < zones_.size(); ++i) {
    if (hits.zones[i] != NOWHERE) offer(i, RankKey(hits.zones[i], hits.zones[i] == WHOLE_NAME ? 0 : 3, i), ZONE_NAME, i);
  }
  for (std::size_t c = 0; c < countries_.size(); ++c) {
    if (hits.countries[c] == NOWHERE) continue;
    const std::vector<ZoneCountry::Zone>& zones = countries_[c].zones;
    for (std::size_t z = 0; z < zones.size(); ++z) {
      offer(listed_[zones[z].zone], RankKey(hits.countries[c], 1, c << 8 | z), COUNTRY, zones[z].place);
    }
  }
  for (std::size_t p = 0; p < places_.size(); ++p) {
    // A name ranks before a comment that matches as well.
    const bool byComment = hits.described[p] < hits.named[p];
    const Quality quality = byComment ? hits.described[p] : hits.named[p];
    if (quality != NOWHERE) offer(listed_[places_[p].zone], RankKey(quality, 2, p), byComment ? PLACE_COMMENT : PLACE, p);
  }

  std::vector<std::size_t> found;
  for (std::size_t i = 0; i < ways.size(); ++i) {
    if (ways[i].key != NOT_FOUND) found.push_back(i);
  }
  const std::size_t shown = std::min(found.size(), MOST_MATCHES);
  std::partial_sort(found.begin(), found.begin() + shown, found.end(),
                    [&](std::size_t a, std::size_t b) { return ways[a].key < ways[b].key; });
  found.resize(shown);
  for (std::size_t zone : found) {
    const Way& way = ways[zone];
    ZoneMatch match{zone, std::string(), std::string()};
    if (way.kind != ZONE_NAME) match.countryCode = countries_[places_[way.index].country].code;
    if (MatchQuality(displays_[zone], wanted) == NOWHERE) {
      match.note = way.kind == ZONE_NAME ? zones_[zone].keyName : PlaceNote(way.index, way.kind == PLACE_COMMENT);
    }
    matches.push_back(std::move(match));
  }
  return matches;
}
