// The crossing between the program's UTF-8 and the W calls' UTF-16, both ways.
#include "base/wide_text_win.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace {

std::wstring Units(const WideText& text) { return std::wstring(text.c_str(), text.size()); }
std::string Utf8Of(const std::wstring& text) { return Utf8(text.data(), static_cast<int>(text.size())); }

struct CrossingRow {
  const char* label;
  std::string utf8;
  std::wstring utf16;
};

const CrossingRow CROSSING_ROWS[] = {
    {"empty", "", L""},
    {"ASCII", "Perth", L"Perth"},
    {"Polish", "\xc5\x81\xc3\xb3\x64\xc5\xba", L"\x0141\x00f3\x0064\x017a"},
    {"Japanese", "\xe6\x9d\xb1\xe4\xba\xac", L"\x6771\x4eac"},
    {"Greek", "\xce\x91\xce\xb8\xce\xae\xce\xbd\xce\xb1", L"\x0391\x03b8\x03ae\x03bd\x03b1"},
    {"surrogate pair", "\xf0\x9d\x92\x9c", L"\xd835\xdc9c"},
    {"zero inside", std::string("a\0b", 3), std::wstring(L"a\0b", 3)},
};

void PrintTo(const CrossingRow& row, std::ostream* os) { *os << row.label; }

class Crossings : public ::testing::TestWithParam<CrossingRow> {};

TEST_P(Crossings, GiveTheSameCharactersBothWays) {
  const CrossingRow& row = GetParam();
  const WideText wide = Wide(row.utf8);
  EXPECT_EQ(row.utf16, Units(wide)) << row.label;
  EXPECT_EQ(L'\0', wide.c_str()[wide.size()]) << row.label;
  EXPECT_EQ(row.utf8, Utf8Of(row.utf16)) << row.label;
}

INSTANTIATE_TEST_SUITE_P(Texts, Crossings, ::testing::ValuesIn(CROSSING_ROWS));

// What is not well formed crosses as the replacement character, never as nothing or more.
struct DamagedRow {
  const char* label;
  std::wstring utf16;
  std::string utf8;
};

const DamagedRow DAMAGED_ROWS[] = {
    {"lone high surrogate", std::wstring(L"\xd835" L"a"), "\xef\xbf\xbd" "a"},
    {"lone low surrogate", std::wstring(L"a\xdc9c"), "a\xef\xbf\xbd"},
};

void PrintTo(const DamagedRow& row, std::ostream* os) { *os << row.label; }

class Damaged : public ::testing::TestWithParam<DamagedRow> {};

TEST_P(Damaged, CrossesAsTheReplacementCharacter) {
  const DamagedRow& row = GetParam();
  EXPECT_EQ(row.utf8, Utf8Of(row.utf16)) << row.label;
}

INSTANTIATE_TEST_SUITE_P(Texts, Damaged, ::testing::ValuesIn(DAMAGED_ROWS));

TEST(Utf8, ReadsAZeroTerminatedTextToItsZero) {
  EXPECT_EQ("\xe6\x9d\xb1", Utf8(L"\x6771\0ignored"));
  EXPECT_EQ("", Utf8(static_cast<const wchar_t*>(nullptr)));
}

TEST(Wide, MalformedBytesBecomeTheReplacementCharacter) {
  EXPECT_EQ(std::wstring(L"a\xfffd" L"b"), Units(Wide("a\xc3" "b")));
}

}  // namespace
