// The user's time and long-date pictures as a strftime format: the conversion table, the
// first-occurrence rule, text in other scripts, and the escaping that keeps strftime safe.
#include "clock/tip_time_format.h"

#include <gtest/gtest.h>

#include <ctime>
#include <ostream>
#include <string>
#include <vector>

namespace {

// 09:05:07 on Tuesday 5 March 2002.
std::tm SampleTime() {
  std::tm t{};
  t.tm_year = 102;
  t.tm_mon = 2;
  t.tm_mday = 5;
  t.tm_hour = 9;
  t.tm_min = 5;
  t.tm_sec = 7;
  t.tm_wday = 2;
  t.tm_yday = 63;
  t.tm_isdst = 0;
  return t;
}

// strftime with room for any result of these formats; "" when it gives nothing.
std::string Render(const std::string& format) {
  std::tm t = SampleTime();
  std::vector<char> buffer(256 + format.size() * 16);
  size_t length = std::strftime(buffer.data(), buffer.size(), format.c_str(), &t);
  return std::string(buffer.data(), length);
}

std::string Repeat(const std::string& text, size_t times) {
  std::string all;
  for (size_t i = 0; i < times; ++i) all += text;
  return all;
}

// Locale pictures and the format they give.
struct PicturesCase {
  const char* timePicture;
  const char* longDatePicture;
  const char* format;
};

class Pictures : public ::testing::TestWithParam<PicturesCase> {};

TEST_P(Pictures, ConvertTokenByTokenInTableOrder) {
  const PicturesCase& c = GetParam();
  EXPECT_EQ(c.format, ConvertPictures(c.timePicture, c.longDatePicture));
}

const PicturesCase PICTURES_CASES[] = {
    {"h:mm:ss tt", "dddd, MMMM dd, yyyy", "%I:%M:%S %p. %A, %B %d, %Y"},
    {"HH:mm:ss", "dd MMMM yyyy", "%H:%M:%S. %d %B %Y"},
    {"H:mm:ss", "d. MMMM yyyy", "%H:%M:%S. %d. %B %Y"},
    {"H:mm:ss", "dddd, d' de 'MMMM' de 'yyyy", "%H:%M:%S. %A, %d' de '%B' de '%Y"},
    {"HH' h 'mm' min 'ss' s '", "d MMMM yyyy", "%H' %I '%M' %Min '%S' %S '. %d %B %Y"},
    {"HH:mm:ss", "yyyy 'm.' MMMM d 'd.'", "%H:%M:%S. %Y '%M.' %B %d 'd.'"},
    {"HH:mm:ss", "d MMMM yyyy 'y.'", "%H:%M:%S. %d %B %Y '%y.'"},
    // Empty pictures, a changed time picture, and the short tokens.
    {"", "", ". "},
    {"HH:mm:ss", "dddd, MMMM dd, yyyy", "%H:%M:%S. %A, %B %d, %Y"},
    {"h:m:s t", "ddd d MMM M yy", "%I:%M:%S %p. %a %d %b %m %y"},
    {"h:mm", "y", "%I:%M. %y"},
};
INSTANTIATE_TEST_SUITE_P(Locales, Pictures, ::testing::ValuesIn(PICTURES_CASES));

// What strftime makes of the converted pictures at 09:05:07 on Tuesday 5 March 2002.
struct RenderedCase {
  std::string timePicture;
  std::string longDatePicture;
  std::string rendered;
};

class Rendered : public ::testing::TestWithParam<RenderedCase> {};

TEST_P(Rendered, ShowsTheTimeInTheDefaultLocale) {
  const RenderedCase& c = GetParam();
  EXPECT_EQ(c.rendered, Render(ConvertPictures(c.timePicture, c.longDatePicture)));
}

const RenderedCase RENDERED_CASES[] = {
    {"h:mm:ss tt", "dddd, MMMM dd, yyyy", "09:05:07 AM. Tuesday, March 05, 2002"},
    {"HH:mm:ss", "dd MMMM yyyy", "09:05:07. 05 March 2002"},
    {"H:mm:ss", "d. MMMM yyyy", "09:05:07. 05. March 2002"},
    // A "%" the user wrote keeps its letter from being converted and shows as written unless it
    // begins a conversion every runtime knows.
    {"%", "%", "%. %"},
    {"100%", "%%", "100%. %"},
    {"HH%q", "%E %# %O", "09%q. %E %# %O"},
    {"%#A %Ec", "", "%#A %Ec. "},
    {"HH:mm%", "%", "09:05%. %"},
    {"%H", "d", "09. 05"},
    // "%%" is already an escaped "%": 63 pairs and one lone "%" give 64.
    {Repeat("%", 127), Repeat("%", 127), Repeat("%", 64) + ". " + Repeat("%", 64)},
    {Repeat("%q", 63) + "%", Repeat("%E", 63) + "%",
     Repeat("%q", 63) + "%. " + Repeat("%E", 63) + "%"},
};
INSTANTIATE_TEST_SUITE_P(Formats, Rendered, ::testing::ValuesIn(RENDERED_CASES));

// Pictures of the longest length the locale lookup gives (127 characters): the format always
// renders to something, of a size the tip's buffer logic allows for.
class LongPictures : public ::testing::TestWithParam<std::string> {};

TEST_P(LongPictures, AlwaysRenderToText) {
  const std::string picture = GetParam().substr(0, 127);
  const std::string format = ConvertPictures(picture, picture);
  std::tm t = SampleTime();
  std::vector<char> buffer(256 + format.size() * 16);
  size_t length = std::strftime(buffer.data(), buffer.size(), format.c_str(), &t);
  EXPECT_GT(length, 0u) << format;
  EXPECT_NE(std::string::npos, std::string(buffer.data(), length).find(". ")) << format;
}

INSTANTIATE_TEST_SUITE_P(Pictures, LongPictures,
                         ::testing::Values(Repeat("%", 127), Repeat("%q", 64), Repeat("%#", 64),
                                           Repeat("%E", 64), Repeat("dddd", 32), Repeat("tt", 64),
                                           Repeat("%c", 64), Repeat("\xD0\xB3%", 42),
                                           Repeat("\xE5\xB9\xB4", 42), Repeat("h%", 64),
                                           Repeat("dddd MMMM yyyy hh:mm:ss tt ", 5)));

// One replacement: the first occurrence only, and never the letter of a directive (a "%" just
// before it).
struct ReplaceCase {
  const char* label;
  std::string format;
  const char* picture;
  const char* directive;
  std::string expected;
};

class Replacements : public ::testing::TestWithParam<ReplaceCase> {};

TEST_P(Replacements, ReplaceAtMostTheFirstOccurrence) {
  const ReplaceCase& c = GetParam();
  std::string format = c.format;
  ReplaceFirstPicture(format, c.picture, c.directive);
  EXPECT_EQ(c.expected, format) << c.label;
}

void PrintTo(const ReplaceCase& c, std::ostream* os) { *os << c.label; }

const ReplaceCase REPLACE_CASES[] = {
    {"at the start", "d/M", "d", "%d", "%d/M"},
    {"in the middle", "x dd y", "dd", "%d", "x %d y"},
    {"at the end", "MM/dd", "dd", "%d", "MM/%d"},
    {"whole text", "yyyy", "yyyy", "%Y", "%Y"},
    {"first only", "d d d", "d", "%d", "%d d d"},
    {"longer token, first part", "MMMM", "MM", "%m", "%mMM"},
    {"none", "HH:mm", "ss", "%S", "HH:mm"},
    {"case-sensitive", "DD", "dd", "%d", "DD"},
    {"empty format", "", "d", "%d", ""},
    {"empty picture", "dd", "", "%d", "dd"},
    {"after a percent", "x%dd", "dd", "%d", "x%dd"},
    {"after a directive, later ones untouched", "%d d", "d", "%d", "%d d"},
    {"after a directive's letter", "%Hh", "h", "%I", "%H%I"},
    {"percent two back", "%xd", "d", "%d", "%x%d"},

    // UTF-8: the pictures' letters are found beside letters of other scripts, and a "%" is a "%".
    {"after a Cyrillic letter", "\xD0\xB3" "dd", "dd", "%d", "\xD0\xB3%d"},
    {"between Japanese literals", "H\xE6\x99\x82mm\xE5\x88\x86", "mm", "%M", "H\xE6\x99\x82%M\xE5\x88\x86"},
    {"percent after a Greek letter", "\xCE\xB1%dd", "dd", "%d", "\xCE\xB1%dd"},
    {"letter after a four-byte character", "\xF0\x9F\x95\x90" "d", "d", "%d", "\xF0\x9F\x95\x90%d"},
};
INSTANTIATE_TEST_SUITE_P(Cases, Replacements, ::testing::ValuesIn(REPLACE_CASES));

// Escaping: every "%" that does not begin a shared conversion is doubled.
struct SafeCase {
  std::string format;
  std::string expected;
};

class SafeFormats : public ::testing::TestWithParam<SafeCase> {};

TEST_P(SafeFormats, EscapeEveryPercentStrftimeCouldMisread) {
  const SafeCase& c = GetParam();
  const std::string safe = MakeStrftimeSafe(c.format);
  EXPECT_EQ(c.expected, safe);
  // The clock makes its format safe once more, byte by byte: a safe format passes unchanged.
  EXPECT_EQ(safe, MakeStrftimeSafe(safe));
  // ...and the check it makes first, without copying, agrees with that.
  EXPECT_TRUE(IsStrftimeSafe(safe));
  EXPECT_EQ(IsStrftimeSafe(c.format), MakeStrftimeSafe(c.format) == c.format) << c.format;
}

std::vector<SafeCase> SafeCases() {
  std::vector<SafeCase> cases = {
      {"", ""},
      {"%", "%%"},
      {"%%", "%%"},
      {"%%%", "%%%%"},
      {"%%%%", "%%%%"},
      {"a%", "a%%"},
      {"%a%", "%a%%"},
      {"% d", "%% d"},
      {"%q", "%%q"},
      {"%E", "%%E"},
      {"%Ey", "%%Ey"},
      {"%Od", "%%Od"},
      {"%#d", "%%#d"},
      {"%#", "%%#"},
      {"%-d", "%%-d"},
      {"%k%l%s%z%Z%e%D%T%n%t", "%%k%%l%%s%%z%%Z%%e%%D%%T%%n%%t"},
      {"100%%d", "100%%d"},
      {"%%%d", "%%%d"},
      {std::string("%\0x", 3), std::string("%%\0x", 4)},
      {"%\x82\xA0", "%%\x82\xA0"},
      {"\x82%d", "\x82%d"},
      // UTF-8's characters of several bytes hold no "%" byte: they pass as they are.
      {"\xE5\xB9\xB4%", "\xE5\xB9\xB4%%"},
      {"%\xE5\xB9\xB4", "%%\xE5\xB9\xB4"},
      {"\xD0\xB3.%d", "\xD0\xB3.%d"},
  };
  // Each shared conversion stays as it is, alone and among text.
  for (const char* c = "aAbBcdHIjmMpSUwWxXyY"; *c; ++c) {
    const std::string directive = std::string("%") + *c;
    cases.push_back({directive, directive});
    cases.push_back({"<" + directive + ">", "<" + directive + ">"});
  }
  return cases;
}
INSTANTIATE_TEST_SUITE_P(Cases, SafeFormats, ::testing::ValuesIn(SafeCases()));

// Formats built from real pictures pass through the escaping unchanged.
TEST(SafeFormats, LeaveConvertedPicturesAlone) {
  for (const PicturesCase& c : PICTURES_CASES) {
    EXPECT_EQ(c.format, MakeStrftimeSafe(c.format)) << c.format;
  }
}

// Text of other scripts in the pictures reaches the tip as it was written.
struct ScriptCase {
  std::string timePicture;
  std::string longDatePicture;
  std::string rendered;
};

class ScriptPictures : public ::testing::TestWithParam<ScriptCase> {};

TEST_P(ScriptPictures, KeepTheirCharactersWhole) {
  const ScriptCase& c = GetParam();
  EXPECT_EQ(c.rendered, Render(ConvertPictures(c.timePicture, c.longDatePicture)));
}

const ScriptCase SCRIPT_CASES[] = {
    // Japanese: 時 分 秒, 年 月 日.
    {"H\xE6\x99\x82mm\xE5\x88\x86ss\xE7\xA7\x92", "yyyy\xE5\xB9\xB4M\xE6\x9C\x88" "d\xE6\x97\xA5",
     "09\xE6\x99\x82" "05\xE5\x88\x86" "07\xE7\xA7\x92. 2002\xE5\xB9\xB4" "03\xE6\x9C\x88" "05\xE6\x97\xA5"},
    // Russian: "г." after the year.
    {"H:mm:ss", "d MMMM yyyy '\xD0\xB3.'", "09:05:07. 05 March 2002 '\xD0\xB3.'"},
    // Greek literal beside a "%".
    {"HH%\xCE\xB1mm", "d", "09%\xCE\xB1" "05. 05"},
};
INSTANTIATE_TEST_SUITE_P(Pictures, ScriptPictures, ::testing::ValuesIn(SCRIPT_CASES));

// The hour icon writes the hour on the clock the tip's format uses: the first hour conversion decides.
struct ClockCase {
  const char* timePicture;
  bool twelveHour;
};

class Clocks : public ::testing::TestWithParam<ClockCase> {};

TEST_P(Clocks, FollowTheFirstHourOfTheConvertedPicture) {
  const ClockCase& c = GetParam();
  EXPECT_EQ(c.twelveHour, UsesTwelveHourClock(ConvertPictures(c.timePicture, "dddd, MMMM dd, yyyy")));
}

const ClockCase CLOCK_CASES[] = {
    {"h:mm:ss tt", true},   {"hh:mm:ss tt", true}, {"tt h:mm:ss", true}, {"HH:mm:ss", false},
    {"H:mm:ss", false},     {"HH' h 'mm", false},  {"mm:ss", false},     {"", false},
    {"'100%' h:mm", true},
};
INSTANTIATE_TEST_SUITE_P(Pictures, Clocks, ::testing::ValuesIn(CLOCK_CASES));

}  // namespace
