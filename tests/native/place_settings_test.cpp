// The place record's defaults, its section names, its nine stored values and its zone, over an
// in-memory profile that follows the registry's rules.
#include "clock/place_settings.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <limits>
#include <ostream>
#include <string>
#include <vector>

#include "clock/memory_profile_store.h"

namespace {

// In the order they are written.
const char* const VALUE_NAMES[] = {"Place", "Offset", "Icon", "From", "To", "Weekdays",
                                   "UserActiveIcon", "UserInActiveIcon", "IconFrom", "WorkDays"};

std::string IntBytes(uint32_t bits) {
  std::string bytes(4, '\0');
  for (int i = 0; i < 4; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return bytes;
}

std::string Text(const std::string& text) { return text + std::string(1, '\0'); }

void ExpectSameRecord(const PlaceSettings& expected, const PlaceSettings& actual) {
  EXPECT_EQ(expected.place, actual.place);
  EXPECT_EQ(expected.offset, actual.offset);
  EXPECT_EQ(expected.icon, actual.icon);
  EXPECT_EQ(expected.from, actual.from);
  EXPECT_EQ(expected.to, actual.to);
  EXPECT_EQ(expected.workDays, actual.workDays);
  EXPECT_EQ(expected.userActiveIcon, actual.userActiveIcon);
  EXPECT_EQ(expected.userInActiveIcon, actual.userInActiveIcon);
  EXPECT_EQ(expected.iconFrom, actual.iconFrom);
  EXPECT_EQ(expected.zone, actual.zone);
  EXPECT_EQ(expected.iconStyle, actual.iconStyle);
}

PlaceSettings SampleRecord() {
  PlaceSettings s;
  s.place = "Oslo";
  s.offset = 5.75;
  s.icon = 3;
  s.from = 4;
  s.to = 20;
  s.workDays = 0x1F;  // Sunday to Thursday
  s.userActiveIcon = "C:\\icons\\day.ico";
  s.userInActiveIcon = "C:\\icons\\night.ico";
  s.iconFrom = 1;
  return s;
}

// First start on an empty profile: fixed defaults, then the country's, then nothing stored.
struct FirstStartCase {
  int countryCode;  // 0: the country lookup failed
  const char* place;
  double offset;
  int icon;
};

class FirstStart : public ::testing::TestWithParam<FirstStartCase> {};

TEST_P(FirstStart, DefaultsDependOnlyOnCountryAndCreateTheEmptySection) {
  const FirstStartCase& c = GetParam();
  MemoryProfileStore store;
  PlaceSettings s;
  if (c.countryCode != 0) ApplyCountryDefaults(s, c.countryCode);
  LoadSettings(store, 0, s);

  EXPECT_EQ(c.place, s.place);
  EXPECT_EQ(c.offset, s.offset);
  EXPECT_EQ(c.icon, s.icon);
  EXPECT_EQ(17, s.from);
  EXPECT_EQ(10, s.to);
  EXPECT_EQ(MONDAY_TO_FRIDAY, s.workDays);
  EXPECT_EQ("", s.userActiveIcon);
  EXPECT_EQ("", s.userInActiveIcon);
  EXPECT_EQ(0, s.iconFrom);
  EXPECT_TRUE(store.HasSection("Settings"));
  EXPECT_TRUE(store.ValueNames("Settings").empty());
}

const FirstStartCase FIRST_START_CASES[] = {
    {1, "NZ", 19.0, 16},
    {64, "CA", -19.0, 25},
    {44, "Here!", 0.0, 0},
    {0, "Here!", 0.0, 0},
    {-1, "Here!", 0.0, 0},
};
INSTANTIATE_TEST_SUITE_P(Countries, FirstStart, ::testing::ValuesIn(FIRST_START_CASES));

// Instance numbers and their sections.
struct SectionCase {
  int instanceNumber;
  const char* section;
};

class Sections : public ::testing::TestWithParam<SectionCase> {};

TEST_P(Sections, InstanceNumberChoosesTheSectionOfEveryValue) {
  const SectionCase& c = GetParam();
  EXPECT_EQ(c.section, SettingsSection(c.instanceNumber));
  MemoryProfileStore store;
  SaveSettings(store, c.instanceNumber, SampleRecord());
  EXPECT_EQ(10u, store.ValueNames(c.section).size());
  PlaceSettings loaded;
  LoadSettings(store, c.instanceNumber, loaded);
  for (const ProfileAccess& access : store.Accesses()) EXPECT_EQ(c.section, access.section);
  EXPECT_EQ(2, store.SectionOpens()) << "a save and a load open the section once each";
  ExpectSameRecord(SampleRecord(), loaded);
}

const SectionCase SECTION_CASES[] = {
    {0, "Settings"},    {-5, "Settings"},      {2, "Settings2"},
    {10, "Settings10"}, {INT_MIN, "Settings"}, {INT_MAX, "Settings2147483647"},
};
INSTANTIATE_TEST_SUITE_P(Instances, Sections, ::testing::ValuesIn(SECTION_CASES));

TEST(Sections, DifferentInstancesKeepIndependentRecords) {
  MemoryProfileStore store;
  PlaceSettings two = SampleRecord();
  SaveSettings(store, 2, two);
  PlaceSettings unnumbered;
  LoadSettings(store, 0, unnumbered);
  ExpectSameRecord(PlaceSettings(), unnumbered);
}

// The instance number from the command line, read as atoi reads it.
struct InstanceNumberCase {
  const char* commandLine;
  int expected;
};

class InstanceNumbers : public ::testing::TestWithParam<InstanceNumberCase> {};

TEST_P(InstanceNumbers, ReadLikeAtoi) {
  EXPECT_EQ(GetParam().expected, ParseInstanceNumber(GetParam().commandLine));
}

const InstanceNumberCase INSTANCE_NUMBER_CASES[] = {
    {nullptr, 0}, {"", 0},     {"2", 2},      {"10", 10},
    {"-5", -5},   {" 7x", 7},  {"abc", 0},    {"+3", 3},
    {"0x10", 0},  {"1.9", 1},  {"99999999999", INT_MAX}, {"-99999999999", INT_MIN},
};
INSTANTIATE_TEST_SUITE_P(CommandLines, InstanceNumbers, ::testing::ValuesIn(INSTANCE_NUMBER_CASES));

// A save writes the nine values and WorkDays, in order, each in its kind.
TEST(Save, WritesExactlyTheTenValuesInOrderWithTheirKinds) {
  MemoryProfileStore store;
  PlaceSettings s = SampleRecord();
  s.from = -1;
  s.userActiveIcon.clear();
  SaveSettings(store, 0, s);

  std::vector<std::string> written;
  for (const ProfileAccess& access : store.Accesses()) {
    EXPECT_TRUE(access.write);
    written.push_back(access.name);
  }
  EXPECT_EQ(std::vector<std::string>(std::begin(VALUE_NAMES), std::end(VALUE_NAMES)), written);
  EXPECT_EQ(written, store.ValueNames("Settings"));

  struct Expected {
    const char* name;
    StoredKind kind;
    std::string bytes;
  };
  const Expected expected[] = {
      {"Place", StoredKind::TEXT, Text("Oslo")},
      {"Offset", StoredKind::TEXT, Text("5.750000")},
      {"Icon", StoredKind::INTEGER, IntBytes(3)},
      {"From", StoredKind::INTEGER, std::string(4, '\xFF')},
      {"To", StoredKind::INTEGER, IntBytes(20)},
      {"Weekdays", StoredKind::INTEGER, IntBytes(0)},
      {"UserActiveIcon", StoredKind::TEXT, Text("")},
      {"UserInActiveIcon", StoredKind::TEXT, Text("C:\\icons\\night.ico")},
      {"IconFrom", StoredKind::INTEGER, IntBytes(1)},
      {"WorkDays", StoredKind::INTEGER, IntBytes(0x1F)},
  };
  for (const Expected& e : expected) {
    const StoredValue* value = store.GetRaw("Settings", e.name);
    ASSERT_NE(nullptr, value) << e.name;
    EXPECT_EQ(e.kind, value->kind) << e.name;
    EXPECT_EQ(e.bytes, value->bytes) << e.name;
  }
}

TEST(Load, ReadsTheNineValuesAndWorkDaysInOrderThenZoneAndIconStyle) {
  MemoryProfileStore store;
  PlaceSettings s;
  LoadSettings(store, 3, s);
  std::vector<std::string> read;
  for (const ProfileAccess& access : store.Accesses()) {
    EXPECT_FALSE(access.write);
    read.push_back(access.name);
  }
  const std::vector<std::string> expected = {"Place", "Offset", "Icon", "From", "To", "WorkDays", "Weekdays",
                                             "UserActiveIcon", "UserInActiveIcon", "IconFrom", "Zone", "IconStyle"};
  EXPECT_EQ(expected, read);
}

// The Offset as saved: "%f", six decimals, a point; numbers that are not finite as 0.
struct SavedOffsetCase {
  double offset;
  const char* text;
};

class SavedOffsets : public ::testing::TestWithParam<SavedOffsetCase> {};

TEST_P(SavedOffsets, AreWrittenAsSixDecimalTextThatReadsBackSafely) {
  const SavedOffsetCase& c = GetParam();
  MemoryProfileStore store;
  PlaceSettings s;
  s.offset = c.offset;
  SaveSettings(store, 0, s);
  const StoredValue* value = store.GetRaw("Settings", "Offset");
  ASSERT_NE(nullptr, value);
  EXPECT_EQ(StoredKind::TEXT, value->kind);
  EXPECT_EQ(Text(c.text), value->bytes);

  PlaceSettings loaded;
  loaded.offset = 7.0;
  LoadSettings(store, 0, loaded);
  const double expected = std::isfinite(c.offset) && std::fabs(c.offset) <= 24.0
                              ? std::strtod(c.text, nullptr)
                              : 0.0;
  EXPECT_EQ(expected, loaded.offset);
}

const SavedOffsetCase SAVED_OFFSET_CASES[] = {
    {5.75, "5.750000"},
    {-19.0, "-19.000000"},
    {19.0, "19.000000"},
    {-3.5, "-3.500000"},
    {0.0, "0.000000"},
    {1.0 / 3.0, "0.333333"},
    {30.0, "30.000000"},
    {-24.0, "-24.000000"},
    {std::numeric_limits<double>::quiet_NaN(), "0.000000"},
    {std::numeric_limits<double>::infinity(), "0.000000"},
    {-std::numeric_limits<double>::infinity(), "0.000000"},
};
INSTANTIATE_TEST_SUITE_P(Offsets, SavedOffsets, ::testing::ValuesIn(SAVED_OFFSET_CASES));

TEST(Save, HugeFiniteOffsetIsWrittenWholeAndLoadsAsZero) {
  MemoryProfileStore store;
  PlaceSettings s;
  s.offset = 1e300;
  SaveSettings(store, 0, s);
  const StoredValue* value = store.GetRaw("Settings", "Offset");
  ASSERT_NE(nullptr, value);
  EXPECT_GT(value->bytes.size(), 300u);
  EXPECT_EQ(".000000", value->bytes.substr(value->bytes.size() - 8, 7));
  PlaceSettings loaded;
  loaded.offset = 2.0;
  LoadSettings(store, 0, loaded);
  EXPECT_EQ(0.0, loaded.offset);
}

// Stored Offset texts and the offset they load as.
struct StoredOffsetCase {
  const char* text;
  double expected;
};

class StoredOffsets : public ::testing::TestWithParam<StoredOffsetCase> {};

TEST_P(StoredOffsets, LoadAsTheirDecimalPrefixWithinPlusMinus24) {
  const StoredOffsetCase& c = GetParam();
  MemoryProfileStore store;
  store.SetRaw("Settings", "Offset", StoredKind::TEXT, Text(c.text));
  PlaceSettings s;
  s.offset = 11.0;
  LoadSettings(store, 0, s);
  EXPECT_EQ(c.expected, s.offset) << '"' << c.text << '"';
  // The stored text is left as it was until the next save.
  EXPECT_EQ(Text(c.text), store.GetRaw("Settings", "Offset")->bytes);
}

const StoredOffsetCase STORED_OFFSET_CASES[] = {
    {"24", 24.0},
    {"-24.000000", -24.0},
    {"24.5", 0.0},
    {"-24.5", 0.0},
    {"24.000001", 0.0},
    {"5,5", 5.0},
    {"abc", 0.0},
    {"", 0.0},
    {"1e2", 0.0},
    {"1e1", 10.0},
    {"2.5e", 2.5},
    {"  7.25xyz", 7.25},
    {"\t-3.5", -3.5},
    {".5", 0.5},
    {"-.25", -0.25},
    {"+6", 6.0},
    {"nan", 0.0},
    {"inf", 0.0},
    {"-infinity", 0.0},
    {"1e999", 0.0},
    {"-1e999", 0.0},
    {"0x10", 0.0},
    {"1.#INF00", 1.0},
    {"19.000000", 19.0},
};
INSTANTIATE_TEST_SUITE_P(Texts, StoredOffsets, ::testing::ValuesIn(STORED_OFFSET_CASES));

// With nothing stored, the in-memory Offset still passes through its six-decimal text.
struct UnstoredOffsetCase {
  double inMemory;
  double expected;
};

class UnstoredOffsets : public ::testing::TestWithParam<UnstoredOffsetCase> {};

TEST_P(UnstoredOffsets, PassThroughTheirTextAndTheRangeRule) {
  MemoryProfileStore store;
  PlaceSettings s;
  s.offset = GetParam().inMemory;
  LoadSettings(store, 0, s);
  EXPECT_EQ(GetParam().expected, s.offset);
}

const UnstoredOffsetCase UNSTORED_OFFSET_CASES[] = {
    {1.0 / 3.0, 0.333333},
    {5.75, 5.75},
    {-19.0, -19.0},
    {30.0, 0.0},
    {-24.0000001, -24.0},
    {std::numeric_limits<double>::quiet_NaN(), 0.0},
    {std::numeric_limits<double>::infinity(), 0.0},
    {-1e300, 0.0},
};
INSTANTIATE_TEST_SUITE_P(Offsets, UnstoredOffsets, ::testing::ValuesIn(UNSTORED_OFFSET_CASES));

// Values stored by hand, with other kinds or sizes than a save would give.
struct StoredDataCase {
  const char* name;
  StoredKind kind;
  std::string bytes;
  PlaceSettings expected;
};

PlaceSettings With(void (*change)(PlaceSettings&)) {
  PlaceSettings s = SampleRecord();
  change(s);
  return s;
}

class StoredData : public ::testing::TestWithParam<StoredDataCase> {};

TEST_P(StoredData, LoadsAsItsKindAllowsAndOtherwiseKeepsTheField) {
  const StoredDataCase& c = GetParam();
  MemoryProfileStore store;
  SaveSettings(store, 0, SampleRecord());
  store.SetRaw("Settings", c.name, c.kind, c.bytes);
  PlaceSettings s = SampleRecord();
  LoadSettings(store, 0, s);
  ExpectSameRecord(c.expected, s);
}

const StoredDataCase STORED_DATA_CASES[] = {
    {"Icon", StoredKind::INTEGER, IntBytes(3) + std::string(4, '\0'), SampleRecord()},
    {"Icon", StoredKind::INTEGER, std::string("\x07\x00", 2), SampleRecord()},
    {"Icon", StoredKind::INTEGER, "", SampleRecord()},
    {"Icon", StoredKind::TEXT, Text("12"), SampleRecord()},
    {"Icon", StoredKind::BYTES, IntBytes(12), SampleRecord()},
    {"Icon", StoredKind::INTEGER, IntBytes(12), With([](PlaceSettings& s) { s.icon = 12; })},
    {"Icon", StoredKind::INTEGER, IntBytes(99), With([](PlaceSettings& s) { s.icon = 99; })},
    {"From", StoredKind::INTEGER, IntBytes(40), With([](PlaceSettings& s) { s.from = 40; })},
    {"From", StoredKind::INTEGER, std::string(4, '\xFF'), With([](PlaceSettings& s) { s.from = -1; })},
    {"To", StoredKind::INTEGER, IntBytes(0x80000000u), With([](PlaceSettings& s) { s.to = INT_MIN; })},
    {"IconFrom", StoredKind::BYTES, std::string(8, '\x01'), SampleRecord()},
    {"Place", StoredKind::INTEGER, IntBytes(5), SampleRecord()},
    {"Place", StoredKind::BYTES, Text("Binary"), SampleRecord()},
    {"Place", StoredKind::TEXT, Text(""), With([](PlaceSettings& s) { s.place = ""; })},
    {"Place", StoredKind::TEXT, "", With([](PlaceSettings& s) { s.place = ""; })},
    {"Place", StoredKind::TEXT, "NoTerminator", With([](PlaceSettings& s) { s.place = "NoTerminator"; })},
    {"Place", StoredKind::TEXT, std::string("Two\0Parts\0", 10), With([](PlaceSettings& s) { s.place = "Two"; })},
    {"Place", StoredKind::TEXT, Text("A place name of thirty chars.."),
     With([](PlaceSettings& s) { s.place = "A place name of thirty chars.."; })},
    {"Offset", StoredKind::INTEGER, IntBytes(3), SampleRecord()},
    {"UserActiveIcon", StoredKind::INTEGER, IntBytes(1), SampleRecord()},
    {"UserInActiveIcon", StoredKind::TEXT, Text("D:\\x.ico"),
     With([](PlaceSettings& s) { s.userInActiveIcon = "D:\\x.ico"; })},
};
INSTANTIATE_TEST_SUITE_P(Kinds, StoredData, ::testing::ValuesIn(STORED_DATA_CASES));

TEST(StoredData, OneMegabyteTextLoadsWhole) {
  MemoryProfileStore store;
  std::string big(1 << 20, 'x');
  for (size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>('A' + i % 26);
  store.SetRaw("Settings", "UserActiveIcon", StoredKind::TEXT, Text(big));
  store.SetRaw("Settings", "Offset", StoredKind::TEXT, Text("1" + std::string(1 << 20, '0')));
  PlaceSettings s;
  LoadSettings(store, 0, s);
  EXPECT_EQ(big, s.userActiveIcon);
  EXPECT_EQ(0.0, s.offset);
}

// The work days as loaded from WorkDays and the older Weekdays, which copies of the program before
// WorkDays read and write alone; and the Weekdays a save then writes for them.
const StoredValue* const NONE = nullptr;
const StoredValue WEEKDAYS_ON{StoredKind::INTEGER, IntBytes(1)};
const StoredValue WEEKDAYS_OFF{StoredKind::INTEGER, IntBytes(0)};
const StoredValue WEEKDAYS_SEVEN{StoredKind::INTEGER, IntBytes(7)};
const StoredValue SHORT_INTEGER{StoredKind::INTEGER, std::string("\x01\x00", 2)};
const StoredValue SUNDAY_TO_THURSDAY{StoredKind::INTEGER, IntBytes(0x1F)};
const StoredValue MONDAY_TO_FRIDAY_STORED{StoredKind::INTEGER, IntBytes(MONDAY_TO_FRIDAY)};
const StoredValue NO_DAY{StoredKind::INTEGER, IntBytes(0)};
const StoredValue HIGH_BITS{StoredKind::INTEGER, IntBytes(0xFFFFFF9Fu)};
const StoredValue DAYS_AS_TEXT{StoredKind::TEXT, Text("31")};

struct WorkDaysCase {
  const char* label;
  const StoredValue* weekdays;
  const StoredValue* workDays;
  int before;    // the record's days before the load
  int expected;
};

class WorkDaysLoads : public ::testing::TestWithParam<WorkDaysCase> {};

TEST_P(WorkDaysLoads, FollowTheLatestChoiceAndSaveWeekdaysInStep) {
  const WorkDaysCase& c = GetParam();
  MemoryProfileStore store;
  if (c.weekdays) store.SetRaw("Settings", "Weekdays", c.weekdays->kind, c.weekdays->bytes);
  if (c.workDays) store.SetRaw("Settings", "WorkDays", c.workDays->kind, c.workDays->bytes);
  PlaceSettings s;
  s.workDays = c.before;
  LoadSettings(store, 0, s);
  EXPECT_EQ(c.expected, s.workDays) << c.label;

  SaveSettings(store, 0, s);
  EXPECT_EQ(IntBytes(c.expected == MONDAY_TO_FRIDAY ? 1 : 0), store.GetRaw("Settings", "Weekdays")->bytes) << c.label;
  EXPECT_EQ(IntBytes(c.expected), store.GetRaw("Settings", "WorkDays")->bytes) << c.label;
}

void PrintTo(const WorkDaysCase& c, std::ostream* os) { *os << c.label; }

const WorkDaysCase WORK_DAYS_CASES[] = {
    {"nothing stored", NONE, NONE, 0x4F, 0x4F},
    {"older copy: Weekdays only", &WEEKDAYS_ON, NONE, MONDAY_TO_FRIDAY, MONDAY_TO_FRIDAY},
    {"older copy: every day", &WEEKDAYS_OFF, NONE, MONDAY_TO_FRIDAY, EVERY_DAY},
    {"older copy: any non-zero", &WEEKDAYS_SEVEN, NONE, EVERY_DAY, MONDAY_TO_FRIDAY},
    {"older copy: unreadable", &SHORT_INTEGER, NONE, 0x1F, 0x1F},
    {"Sunday to Thursday", &WEEKDAYS_OFF, &SUNDAY_TO_THURSDAY, MONDAY_TO_FRIDAY, 0x1F},
    {"no day", &WEEKDAYS_OFF, &NO_DAY, MONDAY_TO_FRIDAY, 0},
    {"only the seven low bits", &WEEKDAYS_OFF, &HIGH_BITS, MONDAY_TO_FRIDAY, 0x1F},
    {"WorkDays without Weekdays", NONE, &SUNDAY_TO_THURSDAY, MONDAY_TO_FRIDAY, 0x1F},
    {"Weekdays unreadable", &SHORT_INTEGER, &SUNDAY_TO_THURSDAY, MONDAY_TO_FRIDAY, 0x1F},
    {"WorkDays unreadable", &WEEKDAYS_OFF, &DAYS_AS_TEXT, 0x1F, 0x1F},
    {"older copy ticked Weekdays later", &WEEKDAYS_ON, &SUNDAY_TO_THURSDAY, 0x1F, MONDAY_TO_FRIDAY},
    {"older copy cleared Weekdays later", &WEEKDAYS_OFF, &MONDAY_TO_FRIDAY_STORED, MONDAY_TO_FRIDAY, EVERY_DAY},
};
INSTANTIATE_TEST_SUITE_P(Stored, WorkDaysLoads, ::testing::ValuesIn(WORK_DAYS_CASES));

// A value deleted while the program runs leaves its field, and the next save writes it back.
class DeletedValues : public ::testing::TestWithParam<const char*> {};

TEST_P(DeletedValues, KeepTheInMemoryFieldAndComeBackOnSave) {
  const char* name = GetParam();
  MemoryProfileStore store;
  SaveSettings(store, 0, PlaceSettings());
  ASSERT_TRUE(store.DeleteValue("Settings", name));

  PlaceSettings s = SampleRecord();
  LoadSettings(store, 0, s);
  // Every field but the deleted one now holds the stored default; the deleted one kept its value.
  PlaceSettings expected;
  const std::string n = name;
  const PlaceSettings sample = SampleRecord();
  if (n == "Place") expected.place = sample.place;
  if (n == "Offset") expected.offset = sample.offset;
  if (n == "Icon") expected.icon = sample.icon;
  if (n == "From") expected.from = sample.from;
  if (n == "To") expected.to = sample.to;
  if (n == "UserActiveIcon") expected.userActiveIcon = sample.userActiveIcon;
  if (n == "UserInActiveIcon") expected.userInActiveIcon = sample.userInActiveIcon;
  if (n == "IconFrom") expected.iconFrom = sample.iconFrom;
  ExpectSameRecord(expected, s);

  SaveSettings(store, 0, s);
  EXPECT_EQ(10u, store.ValueNames("Settings").size());
  PlaceSettings reloaded;
  LoadSettings(store, 0, reloaded);
  ExpectSameRecord(expected, reloaded);
}

INSTANTIATE_TEST_SUITE_P(Names, DeletedValues, ::testing::ValuesIn(VALUE_NAMES));

// Save followed by load gives the same record, Offset as its six-decimal text.
class RoundTrips : public ::testing::TestWithParam<PlaceSettings> {};

TEST_P(RoundTrips, SaveThenLoadGivesTheSameRecord) {
  MemoryProfileStore store;
  SaveSettings(store, 4, GetParam());
  PlaceSettings loaded;
  ApplyCountryDefaults(loaded, 1);
  LoadSettings(store, 4, loaded);
  PlaceSettings expected = GetParam();
  char text[64];
  std::snprintf(text, sizeof text, "%f", expected.offset);
  expected.offset = std::strtod(text, nullptr);
  ExpectSameRecord(expected, loaded);
}

const PlaceSettings ROUND_TRIP_CASES[] = {
    PlaceSettings(),
    SampleRecord(),
    With([](PlaceSettings& s) { s.offset = 1.0 / 3.0; s.place = ""; }),
    With([](PlaceSettings& s) { s.offset = -24.0; s.icon = -1; s.from = -1; s.to = -1; s.iconFrom = -1; }),
    With([](PlaceSettings& s) { s.offset = 24.0; s.icon = INT_MAX; s.workDays = 0; }),
    With([](PlaceSettings& s) { s.workDays = EVERY_DAY; }),
    With([](PlaceSettings& s) { s.offset = -0.5; s.place = "Z\xfc" "rich \x82\xa0"; }),
    With([](PlaceSettings& s) { s.zone = "Chatham Islands Standard Time"; }),
};
INSTANTIATE_TEST_SUITE_P(Records, RoundTrips, ::testing::ValuesIn(ROUND_TRIP_CASES));

// The registry cannot be reached: every read gives its default and every write fails quietly.
TEST(Unreachable, ReadsKeepTheRecordAndWritesLeaveNothing) {
  MemoryProfileStore store;
  store.SetUnreachable(true);
  PlaceSettings s = SampleRecord();
  s.offset = 1.0 / 3.0;
  LoadSettings(store, 0, s);
  PlaceSettings expected = SampleRecord();
  expected.offset = 0.333333;
  ExpectSameRecord(expected, s);
  EXPECT_FALSE(SaveSettings(store, 0, s)) << "a save that stored nothing says so";
  EXPECT_FALSE(store.HasSection("Settings"));
  EXPECT_EQ(22u, store.Accesses().size());  // eleven reads and IconStyle, ten writes
}

// A save says whether it stored the record, with and without a zone, into a new section or over one.
TEST(Save, TellsWhetherTheRecordWasStored) {
  struct Row {
    bool unreachable;
    const char* zone;
    bool before;  // the section held the record already
  };
  const Row rows[] = {{false, "", false}, {false, "Tokyo Standard Time", true}, {true, "", true},
                      {true, "Tokyo Standard Time", false}};
  for (const Row& row : rows) {
    MemoryProfileStore store;
    PlaceSettings s = SampleRecord();
    s.zone = row.zone;
    if (row.before) EXPECT_TRUE(SaveSettings(store, 4, s));
    store.SetUnreachable(row.unreachable);
    EXPECT_EQ(SaveSettings(store, 4, s), !row.unreachable) << row.zone << row.before;
  }
}

// A save that failed at sign-out is kept for the place's next start, told once, to that place alone,
// and looking for one makes nothing.
TEST(NotSavedMarks, AreToldOnceToTheirOwnPlace) {
  struct Row {
    int marked;  // the place whose save failed; -1: none
    int asking;
    bool told;
  };
  const Row rows[] = {{2, 2, true}, {2, 3, false}, {0, 0, true}, {0, -5, true}, {-1, 0, false}, {5, 0, false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(::testing::Message() << row.marked << " asked by " << row.asking);
    MemoryProfileStore store;
    if (row.marked >= 0) EXPECT_TRUE(KeepNotSavedMark(store, row.marked));
    EXPECT_EQ(TakeNotSavedMark(store, row.asking), row.told);
    EXPECT_FALSE(TakeNotSavedMark(store, row.asking)) << "told once";
    EXPECT_EQ(TakeNotSavedMark(store, row.marked), row.marked >= 0 && !row.told) << "the mark of another";
    EXPECT_EQ(store.HasSection("NotSaved"), row.marked >= 0);
  }
}

// Zone is written only once the user has chosen one, so a user who never does keeps the nine values
// of old; once stored it is always written, emptied rather than removed when the zone is cleared.
struct ZoneSaveCase {
  const char* label;
  const StoredValue* before;  // the stored Zone before the save; null: none
  const char* zone;
  const char* after;  // the stored Zone text after the save; null: none
};

const StoredValue NAMED_ZONE{StoredKind::TEXT, Text("Tokyo Standard Time")};
const StoredValue EMPTY_ZONE{StoredKind::TEXT, Text("")};
const StoredValue INTEGER_ZONE{StoredKind::INTEGER, IntBytes(7)};

class ZoneSaves : public ::testing::TestWithParam<ZoneSaveCase> {};

TEST_P(ZoneSaves, WriteZoneLastOnlyWhenChosenOrAlreadyStored) {
  const ZoneSaveCase& c = GetParam();
  MemoryProfileStore store;
  if (c.before) store.SetRaw("Settings2", "Zone", c.before->kind, c.before->bytes);
  PlaceSettings s = SampleRecord();
  s.zone = c.zone;
  SaveSettings(store, 2, s);

  const StoredValue* stored = store.GetRaw("Settings2", "Zone");
  const std::vector<std::string> names = store.ValueNames("Settings2");
  if (!c.after) {
    EXPECT_EQ(nullptr, stored) << c.label;
    EXPECT_EQ(10u, names.size()) << c.label;
    return;
  }
  ASSERT_NE(nullptr, stored) << c.label;
  EXPECT_EQ(StoredKind::TEXT, stored->kind) << c.label;
  EXPECT_EQ(Text(c.after), stored->bytes) << c.label;
  EXPECT_EQ(11u, names.size()) << c.label;
  EXPECT_EQ("Zone", store.Accesses().back().name) << c.label;
}

void PrintTo(const ZoneSaveCase& c, std::ostream* os) { *os << c.label; }

const ZoneSaveCase ZONE_SAVE_CASES[] = {
    {"never chosen", nullptr, "", nullptr},
    {"chosen", nullptr, "New Zealand Standard Time", "New Zealand Standard Time"},
    {"changed", &NAMED_ZONE, "India Standard Time", "India Standard Time"},
    {"cleared", &NAMED_ZONE, "", ""},
    {"stored empty", &EMPTY_ZONE, "", ""},
    {"stored in another kind", &INTEGER_ZONE, "", ""},
};
INSTANTIATE_TEST_SUITE_P(Rules, ZoneSaves, ::testing::ValuesIn(ZONE_SAVE_CASES));

// A stored Zone as the load reads it; anything but text keeps the field's current value.
struct ZoneLoadCase {
  const char* label;
  const StoredValue* stored;  // null: none
  const char* expected;       // from a record whose zone was "Nepal Standard Time"
};

class ZoneLoads : public ::testing::TestWithParam<ZoneLoadCase> {};

TEST_P(ZoneLoads, ReadTextAndOtherwiseKeepTheField) {
  const ZoneLoadCase& c = GetParam();
  MemoryProfileStore store;
  SaveSettings(store, 0, SampleRecord());
  if (c.stored) store.SetRaw("Settings", "Zone", c.stored->kind, c.stored->bytes);
  PlaceSettings s = SampleRecord();
  s.zone = "Nepal Standard Time";
  LoadSettings(store, 0, s);
  EXPECT_EQ(c.expected, s.zone) << c.label;
}

void PrintTo(const ZoneLoadCase& c, std::ostream* os) { *os << c.label; }

const ZoneLoadCase ZONE_LOAD_CASES[] = {
    {"none stored", nullptr, "Nepal Standard Time"},
    {"a zone", &NAMED_ZONE, "Tokyo Standard Time"},
    {"empty: no zone", &EMPTY_ZONE, ""},
    {"an integer", &INTEGER_ZONE, "Nepal Standard Time"},
};
INSTANTIATE_TEST_SUITE_P(Stored, ZoneLoads, ::testing::ValuesIn(ZONE_LOAD_CASES));

TEST(ZoneLoads, AHandStoredZoneSurvivesLoadAndSave) {
  MemoryProfileStore store;
  store.SetRaw("Settings", "Zone", StoredKind::TEXT, Text("Lord Howe Standard Time"));
  PlaceSettings s;
  LoadSettings(store, 0, s);
  SaveSettings(store, 0, s);
  ASSERT_NE(nullptr, store.GetRaw("Settings", "Zone"));
  EXPECT_EQ(Text("Lord Howe Standard Time"), store.GetRaw("Settings", "Zone")->bytes);
}

// The hour there is stored beside IconFrom, which keeps the pictures an older copy shows; a user who
// never picks it keeps the ten values as they were.
struct IconStyleCase {
  const char* label;
  const StoredValue* before;  // the stored IconStyle before the save; null: none
  int iconStyle;
  int iconFrom;
  int after;  // the stored IconStyle after the save and what a load gives; -1: none stored
};

const StoredValue HOUR_STYLE{StoredKind::INTEGER, IntBytes(ICON_STYLE_HOUR)};
const StoredValue TEXT_STYLE{StoredKind::TEXT, Text("1")};

class IconStyles : public ::testing::TestWithParam<IconStyleCase> {};

TEST_P(IconStyles, AreStoredBesideIconFromOnlyOncePicked) {
  const IconStyleCase& c = GetParam();
  MemoryProfileStore store;
  if (c.before) store.SetRaw("Settings5", "IconStyle", c.before->kind, c.before->bytes);
  PlaceSettings s = SampleRecord();
  s.iconStyle = c.iconStyle;
  s.iconFrom = c.iconFrom;
  SaveSettings(store, 5, s);

  const StoredValue* stored = store.GetRaw("Settings5", "IconStyle");
  const StoredValue* iconFrom = store.GetRaw("Settings5", "IconFrom");
  ASSERT_NE(nullptr, iconFrom);
  EXPECT_EQ(IntBytes(static_cast<uint32_t>(c.iconFrom)), iconFrom->bytes) << "IconFrom keeps its meaning";
  if (c.after < 0) {
    EXPECT_EQ(nullptr, stored);
    EXPECT_EQ(10u, store.ValueNames("Settings5").size());
  } else {
    ASSERT_NE(nullptr, stored);
    EXPECT_EQ(StoredKind::INTEGER, stored->kind);
    EXPECT_EQ(IntBytes(static_cast<uint32_t>(c.after)), stored->bytes);
  }
  PlaceSettings loaded;
  LoadSettings(store, 5, loaded);
  EXPECT_EQ(c.after < 0 ? ICON_STYLE_PICTURES : c.after, loaded.iconStyle);
  EXPECT_EQ(c.iconFrom, loaded.iconFrom);
}

void PrintTo(const IconStyleCase& c, std::ostream* os) { *os << c.label; }

const IconStyleCase ICON_STYLE_CASES[] = {
    {"never picked, built-in", nullptr, ICON_STYLE_PICTURES, 0, -1},
    {"never picked, files", nullptr, ICON_STYLE_PICTURES, 1, -1},
    {"the hour over built-in", nullptr, ICON_STYLE_HOUR, 0, ICON_STYLE_HOUR},
    {"the hour over files", nullptr, ICON_STYLE_HOUR, 1, ICON_STYLE_HOUR},
    {"back to pictures", &HOUR_STYLE, ICON_STYLE_PICTURES, 1, ICON_STYLE_PICTURES},
    {"stored as text by hand", &TEXT_STYLE, ICON_STYLE_PICTURES, 0, ICON_STYLE_PICTURES},
};
INSTANTIATE_TEST_SUITE_P(Rules, IconStyles, ::testing::ValuesIn(ICON_STYLE_CASES));

// Settings an older copy wrote, without IconStyle, show the pictures they chose; a style of the
// wrong kind keeps the field.
TEST(IconStyles, LoadAsPicturesFromSettingsWithoutThem) {
  MemoryProfileStore store;
  SaveSettings(store, 0, SampleRecord());
  PlaceSettings s;
  LoadSettings(store, 0, s);
  EXPECT_EQ(ICON_STYLE_PICTURES, s.iconStyle);
  store.SetRaw("Settings", "IconStyle", StoredKind::BYTES, std::string(8, '\x01'));
  s.iconStyle = ICON_STYLE_HOUR;
  LoadSettings(store, 0, s);
  EXPECT_EQ(ICON_STYLE_HOUR, s.iconStyle);
}

}  // namespace
