#include "base/utf8_text.h"

namespace {

constexpr char32_t ZERO_WIDTH_JOINER = 0x200D;

struct Range {
  char32_t first;
  char32_t last;
};

// Marks that sit on the character before them, in the scripts people name places in, and the
// selectors and modifiers that change how it is drawn.
constexpr Range JOINING_RANGES[] = {
    {0x0300, 0x036F}, {0x0483, 0x0489}, {0x0591, 0x05BD}, {0x05BF, 0x05C7}, {0x0610, 0x061A},
    {0x064B, 0x065F}, {0x0670, 0x0670}, {0x06D6, 0x06DC}, {0x06DF, 0x06E8}, {0x06EA, 0x06ED},
    {0x0E31, 0x0E31}, {0x0E34, 0x0E3A}, {0x0E47, 0x0E4E}, {0x0EB1, 0x0EB1}, {0x0EB4, 0x0EBC},
    {0x0EC8, 0x0ECD}, {0x0F18, 0x0F19}, {0x0F35, 0x0F35}, {0x0F37, 0x0F37}, {0x0F39, 0x0F39},
    {0x0F3E, 0x0F3F}, {0x0F71, 0x0F84}, {0x0F86, 0x0F87}, {0x0F8D, 0x0FBC}, {0x102B, 0x103E},
    {0x1160, 0x11FF}, {0x1AB0, 0x1AFF}, {0x1DC0, 0x1DFF}, {0x200C, 0x200D}, {0x20D0, 0x20FF},
    {0x302A, 0x302F}, {0x3099, 0x309A}, {0xFE00, 0xFE0F}, {0xFE20, 0xFE2F}, {0x1F3FB, 0x1F3FF},
    {0xE0020, 0xE007F}, {0xE0100, 0xE01EF},
};

// The Indic scripts share one layout: in each block of 128 from Devanagari to Sinhala, the marks
// sit at the same places.
bool IsIndicMark(char32_t c) {
  if (c < 0x0900 || c > 0x0DFF) return false;
  const unsigned at = static_cast<unsigned>(c & 0x7F);
  return at <= 0x03 || (at >= 0x3A && at <= 0x4F && at != 0x3D) || (at >= 0x51 && at <= 0x57) ||
         at == 0x62 || at == 0x63;
}

bool JoinsPrevious(char32_t c) {
  if (c < 0x0300) return false;
  if (IsIndicMark(c)) return true;
  for (const Range& range : JOINING_RANGES) {
    if (c >= range.first && c <= range.last) return true;
  }
  return false;
}

// The code point at text[i] and its bytes; a malformed byte stands for itself.
char32_t CodePointAt(const std::string& text, std::size_t i, std::size_t* bytes) {
  *bytes = Utf8SequenceLength(text.data() + i, text.size() - i);
  const auto first = static_cast<unsigned char>(text[i]);
  if (*bytes == 1) return first;
  char32_t c = first & (0xFF >> (*bytes + 1));
  for (std::size_t k = 1; k < *bytes; ++k) c = (c << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
  return c;
}

// One character as a person sees it, from text[start]: its bytes and its UTF-16 units.
struct Character {
  std::size_t bytes;
  std::size_t units;
};

Character CharacterAt(const std::string& text, std::size_t start) {
  Character character{0, 0};
  bool joined = false;  // the code point before was a zero-width joiner
  for (std::size_t i = start; i < text.size();) {
    std::size_t bytes = 0;
    const char32_t c = CodePointAt(text, i, &bytes);
    if (i > start && !joined && !JoinsPrevious(c)) break;
    joined = c == ZERO_WIDTH_JOINER;
    character.bytes += bytes;
    character.units += c > 0xFFFF ? 2 : 1;
    i += bytes;
  }
  return character;
}

}  // namespace

std::size_t Utf8SequenceLength(const char* text, std::size_t available) {
  const auto first = static_cast<unsigned char>(text[0]);
  std::size_t length = 1;
  if (first >= 0xC2 && first <= 0xDF) length = 2;
  if (first >= 0xE0 && first <= 0xEF) length = 3;
  if (first >= 0xF0 && first <= 0xF4) length = 4;
  if (length > available) return 1;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) return 1;
  }
  const auto second = static_cast<unsigned char>(text[1]);
  // Overlong forms, surrogates and code points past U+10FFFF are not characters.
  if ((first == 0xE0 && second < 0xA0) || (first == 0xED && second >= 0xA0) ||
      (first == 0xF0 && second < 0x90) || (first == 0xF4 && second >= 0x90)) {
    return 1;
  }
  return length;
}

std::size_t Utf16Length(const std::string& text) {
  std::size_t units = 0;
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t bytes = Utf8SequenceLength(text.data() + i, text.size() - i);
    units += bytes == 4 ? 2 : 1;
    i += bytes;
  }
  return units;
}

std::size_t CountCharacters(const std::string& text) {
  std::size_t count = 0;
  for (std::size_t i = 0; i < text.size(); i += CharacterAt(text, i).bytes) ++count;
  return count;
}

std::string CutToUtf16Units(const std::string& text, std::size_t maxUnits) {
  // Each byte takes at most one unit: a text with no more bytes than units fits whole.
  if (text.size() <= maxUnits) return text;
  std::size_t end = 0;
  std::size_t units = 0;
  while (end < text.size()) {
    const Character next = CharacterAt(text, end);
    if (units + next.units > maxUnits) break;
    units += next.units;
    end += next.bytes;
  }
  return text.substr(0, end);
}

std::string TrimmedSpaces(const std::string& text) {
  const std::size_t first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}
