// UTF-8 text measured as Windows and people count it: UTF-16 units, characters, and cuts between
// characters.
#include "base/utf8_text.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

// Each text with its bytes of first sequence, its UTF-16 units and the characters a person counts.
struct MeasureRow {
  const char* label;
  std::string text;
  std::size_t firstSequence;
  std::size_t units;
  std::size_t characters;
};

const MeasureRow MEASURE_ROWS[] = {
    {"empty", "", 1, 0, 0},
    {"ASCII", "Perth", 1, 5, 5},
    {"Polish", "\xc5\x81\xc3\xb3\x64\xc5\xba", 2, 4, 4},                      // Łódź
    {"Japanese", "\xe6\x9d\xb1\xe4\xba\xac", 3, 2, 2},                        // 東京
    {"Greek", "\xce\x91\xce\xb8\xce\xae\xce\xbd\xce\xb1", 2, 5, 5},           // Αθήνα
    {"surrogate pair is one character", "\xf0\x9d\x92\x9c" "b", 4, 3, 2},   // 𝒜b
    {"letter and combining accent", "e\xcc\x81" "a", 1, 3, 2},              // é decomposed
    {"two marks on one letter", "a\xcc\x81\xcc\xa3", 1, 3, 1},
    {"Devanagari vowel sign", "\xe0\xa4\x95\xe0\xa4\xbf", 3, 2, 1},         // कि
    {"Tibetan vowel sign", "\xe0\xbd\x80\xe0\xbd\xb2", 3, 2, 1},            // ཀི
    {"joined emoji", "\xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x92\xbb", 4, 5, 1},  // 👩‍💻
    {"skin tone modifier", "\xf0\x9f\x91\x8d\xf0\x9f\x8f\xbd", 4, 4, 1},
    {"variation selector", "\xe2\x9d\xa4\xef\xb8\x8f", 3, 2, 1},
    // Malformed bytes each stand for one character, as their replacement does.
    {"stray continuation byte", "\x80" "a", 1, 2, 2},
    {"lead byte without its continuation", "\xc3" "a", 1, 2, 2},
    {"truncated sequence at the end", "a\xe6\x9d", 1, 3, 3},
    {"overlong form", "\xc0\xaf", 1, 2, 2},
    {"encoded surrogate", "\xed\xa0\x80", 1, 3, 3},
    {"beyond U+10FFFF", "\xf4\x90\x80\x80", 1, 4, 4},
    {"mark at the start", "\xcc\x81" "a", 2, 2, 2},
};

void PrintTo(const MeasureRow& row, std::ostream* os) { *os << row.label; }

class Measures : public ::testing::TestWithParam<MeasureRow> {};

TEST_P(Measures, CountUnitsAndCharacters) {
  const MeasureRow& row = GetParam();
  if (!row.text.empty()) {
    EXPECT_EQ(row.firstSequence, Utf8SequenceLength(row.text.data(), row.text.size())) << row.label;
  }
  EXPECT_EQ(row.units, Utf16Length(row.text)) << row.label;
  EXPECT_EQ(row.characters, CountCharacters(row.text)) << row.label;
}

INSTANTIATE_TEST_SUITE_P(Texts, Measures, ::testing::ValuesIn(MEASURE_ROWS));

TEST(Utf8SequenceLength, NeverReadsPastTheAvailableBytes) {
  const char japanese[] = "\xe6\x9d\xb1";
  const char pair[] = "\xf0\x9d\x92\x9c";
  EXPECT_EQ(1u, Utf8SequenceLength(japanese, 2));
  EXPECT_EQ(3u, Utf8SequenceLength(japanese, 3));
  EXPECT_EQ(1u, Utf8SequenceLength(pair, 3));
  EXPECT_EQ(4u, Utf8SequenceLength(pair, 4));
}

// Cuts end between characters: the longest start that fits.
struct CutRow {
  const char* label;
  std::string text;
  std::size_t maxUnits;
  std::string expected;
};

const CutRow CUT_ROWS[] = {
    {"fits whole", "Kraków", 6, "Kraków"},
    {"ASCII cut", "Wellington", 4, "Well"},
    {"nothing fits", "\xe6\x9d\xb1", 0, ""},
    {"three-byte characters count one unit", "\xe6\x9d\xb1\xe4\xba\xac\xe9\x83\xbd", 2, "\xe6\x9d\xb1\xe4\xba\xac"},
    {"pair across the end", "ab\xf0\x9d\x92\x9c", 3, "ab"},
    {"pair ending at the end", "a\xf0\x9d\x92\x9c" "b", 3, "a\xf0\x9d\x92\x9c"},
    {"accent kept with its letter", "ae\xcc\x81", 2, "a"},
    {"accent and letter fit", "ae\xcc\x81" "b", 3, "ae\xcc\x81"},
    {"joined emoji whole or not at all", "a\xf0\x9f\x91\xa9\xe2\x80\x8d\xf0\x9f\x92\xbb", 5, "a"},
    {"malformed byte is one unit", "\xc3" "ab", 2, "\xc3" "a"},
};

void PrintTo(const CutRow& row, std::ostream* os) { *os << row.label; }

class Cuts : public ::testing::TestWithParam<CutRow> {};

TEST_P(Cuts, EndBetweenCharacters) {
  const CutRow& row = GetParam();
  EXPECT_EQ(row.expected, CutToUtf16Units(row.text, row.maxUnits)) << row.label;
}

INSTANTIATE_TEST_SUITE_P(Texts, Cuts, ::testing::ValuesIn(CUT_ROWS));

}  // namespace
