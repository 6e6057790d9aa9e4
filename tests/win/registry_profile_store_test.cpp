// The profile in the real registry (under Wine): the key chain, the stored kinds and sizes, and
// what values of the wrong kind or size read as. Works under a private company key.
#include "clock/registry_profile_store_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <cstring>
#include <ostream>
#include <string>
#include <vector>

#include "clock/place_settings.h"

namespace {

const char* const COMPANY = "BrindlewoodTest";
const char* const APPLICATION = "Farhour";
const char* const SECTION_PATH = "software\\BrindlewoodTest\\Farhour\\Settings";

// RegDeleteTreeA is newer than the Windows version the program targets.
void DeleteTree(HKEY parent, const char* name) {
  RegKey key;
  if (RegOpenKeyExA(parent, name, 0, KEY_READ | KEY_WRITE, key.Receive()) != ERROR_SUCCESS) return;
  char child[256];
  for (;;) {
    DWORD length = sizeof child;
    if (RegEnumKeyExA(key.Get(), 0, child, &length, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    DeleteTree(key.Get(), child);
  }
  key.Reset();
  (void)RegDeleteKeyA(parent, name);
}

struct RawValue {
  bool found = false;
  DWORD kind = REG_NONE;
  std::string bytes;
};

RegKey OpenSectionDirectly(const char* path) {
  RegKey key;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ | KEY_WRITE, key.Receive()) !=
      ERROR_SUCCESS) {
    key.Reset();
  }
  return key;
}

// The stored bytes as they are: texts in UTF-16, as Windows keeps them whichever call wrote them.
RawValue ReadRaw(const char* name) {
  RawValue raw;
  RegKey key = OpenSectionDirectly(SECTION_PATH);
  if (!key) return raw;
  const std::wstring wideName(name, name + strlen(name));
  DWORD size = 0;
  if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &raw.kind, nullptr, &size) != ERROR_SUCCESS) {
    return raw;
  }
  std::vector<char> data(size + 1);
  if (RegQueryValueExW(key.Get(), wideName.c_str(), nullptr, &raw.kind, reinterpret_cast<BYTE*>(data.data()),
                       &size) != ERROR_SUCCESS) {
    return raw;
  }
  raw.found = true;
  raw.bytes.assign(data.data(), size);
  return raw;
}

void WriteRaw(const char* name, DWORD kind, const std::string& bytes) {
  RegKey key = OpenSectionDirectly(SECTION_PATH);
  ASSERT_TRUE(key);
  const std::wstring wideName(name, name + strlen(name));
  ASSERT_EQ(ERROR_SUCCESS,
            RegSetValueExW(key.Get(), wideName.c_str(), 0, kind, reinterpret_cast<const BYTE*>(bytes.data()),
                           static_cast<DWORD>(bytes.size())));
}

DWORD ValueCount(const char* path) {
  RegKey key = OpenSectionDirectly(path);
  if (!key) return ULONG_MAX;
  DWORD values = 0;
  if (RegQueryInfoKeyA(key.Get(), nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &values,
                       nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) {
    return ULONG_MAX;
  }
  return values;
}

std::string IntBytes(unsigned bits) {
  std::string bytes(4, '\0');
  for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return bytes;
}

// The UTF-16 bytes of UTF-8 text, without a terminator and with one.
std::string Units(const std::string& utf8) {
  if (utf8.empty()) return std::string();
  std::vector<wchar_t> wide(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  return std::string(reinterpret_cast<const char*>(wide.data()), static_cast<size_t>(length) * 2);
}
std::string Text(const std::string& utf8) { return Units(utf8) + std::string(2, '\0'); }

// The bytes of a stored text up to its first zero unit, and that unit.
size_t TextBytes(const std::string& bytes) {
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    if (bytes[i] == '\0' && bytes[i + 1] == '\0') return i + 2;
  }
  return std::string::npos;
}

PlaceSettings SampleRecord() {
  PlaceSettings s;
  s.place = "Oslo";
  s.offset = 5.75;
  s.icon = 3;
  s.from = -1;
  s.to = 20;
  s.workDays = 0x1F;
  s.userActiveIcon = "";
  s.userInActiveIcon = "C:\\icons\\night.ico";
  s.iconFrom = 1;
  return s;
}

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
}

class RegistryTest {
 protected:
  void Clean() {
    RegKey software = OpenSectionDirectly("software");
    ASSERT_TRUE(software);
    DeleteTree(software.Get(), COMPANY);
  }
  RegistryProfileStore store_{COMPANY, APPLICATION};
};

class RegistryStore : public ::testing::Test, public RegistryTest {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
};

TEST_F(RegistryStore, ReadsCreateTheEmptySectionKey) {
  ASSERT_FALSE(OpenSectionDirectly("software\\BrindlewoodTest"));
  PlaceSettings s;
  ApplyCountryDefaults(s, 1);
  LoadSettings(store_, 0, s);
  PlaceSettings expected;
  ApplyCountryDefaults(expected, 1);
  ExpectSameRecord(expected, s);
  EXPECT_EQ(0u, ValueCount(SECTION_PATH));
  EXPECT_EQ(ULONG_MAX, ValueCount("software\\BrindlewoodTest\\Farhour\\Settings2"));
}

TEST_F(RegistryStore, EachInstanceCreatesItsOwnSection) {
  EXPECT_EQ(5, store_.ReadInt("Settings10", "Icon", 5));
  EXPECT_EQ(0u, ValueCount("software\\BrindlewoodTest\\Farhour\\Settings10"));
  EXPECT_EQ(ULONG_MAX, ValueCount(SECTION_PATH));
}

// Whether a place has settings is asked without making them; removing a place takes its section
// and leaves the others.
TEST_F(RegistryStore, HasSectionMakesNothingAndDeleteSectionRemovesOnlyThatPlace) {
  EXPECT_FALSE(store_.HasSection("Settings"));
  ASSERT_FALSE(OpenSectionDirectly("software\\BrindlewoodTest")) << "asking made the keys";
  EXPECT_TRUE(store_.DeleteSection("Settings3")) << "a place never stored is gone already";
  SaveSettings(store_, 3, SampleRecord());
  SaveSettings(store_, 4, SampleRecord());
  EXPECT_TRUE(store_.HasSection("Settings3"));
  EXPECT_TRUE(store_.DeleteSection("Settings3"));
  EXPECT_FALSE(store_.HasSection("Settings3"));
  EXPECT_EQ(ULONG_MAX, ValueCount("software\\BrindlewoodTest\\Farhour\\Settings3"));
  EXPECT_EQ(10u, ValueCount("software\\BrindlewoodTest\\Farhour\\Settings4"));
}

// The planner finds every place stored, and none removed, without making the keys.
TEST_F(RegistryStore, SectionNamesListWhatIsStoredAndMakeNothing) {
  EXPECT_TRUE(store_.SectionNames().empty());
  ASSERT_FALSE(OpenSectionDirectly("software\\BrindlewoodTest")) << "listing made the keys";
  SaveSettings(store_, 0, SampleRecord());
  SaveSettings(store_, 12, SampleRecord());
  SaveSettings(store_, 7, SampleRecord());
  EXPECT_TRUE(store_.DeleteSection("Settings12"));
  std::vector<std::string> names = store_.SectionNames();
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"Settings", "Settings7"}));
}

// Writes, their stored kind and bytes.
struct WriteCase {
  const char* label;
  bool text;
  std::string textValue;
  int intValue;
  DWORD kind;
  std::string bytes;
};

class RegistryWrites : public ::testing::TestWithParam<WriteCase>, public RegistryTest {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
};

TEST_P(RegistryWrites, StoreTheKindAndSizeTheReadsExpect) {
  const WriteCase& c = GetParam();
  const bool stored = c.text ? store_.WriteText("Settings", "Value", c.textValue)
                             : store_.WriteInt("Settings", "Value", c.intValue);
  EXPECT_TRUE(stored) << c.label;
  RawValue raw = ReadRaw("Value");
  ASSERT_TRUE(raw.found) << c.label;
  EXPECT_EQ(c.kind, raw.kind) << c.label;
  EXPECT_EQ(c.bytes, raw.bytes) << c.label;
  if (c.text) {
    EXPECT_EQ(std::string(c.textValue.c_str()), store_.ReadText("Settings", "Value", "x"));
  } else {
    EXPECT_EQ(c.intValue, store_.ReadInt("Settings", "Value", 12345));
  }
}

void PrintTo(const WriteCase& c, std::ostream* os) { *os << c.label; }

const WriteCase WRITE_CASES[] = {
    {"text", true, "Oslo", 0, REG_SZ, Text("Oslo")},
    {"empty text", true, "", 0, REG_SZ, Text("")},
    {"text with a zero byte", true, std::string("Two\0Parts", 9), 0, REG_SZ, Text("Two")},
    {"Latin text", true, "Z\xc3\xbcrich", 0, REG_SZ, Text("Z\xc3\xbcrich")},
    {"Polish text", true, "\xc5\x81\xc3\xb3\x64\xc5\xba", 0, REG_SZ, std::string("\x41\x01\xf3\x00\x64\x00\x7a\x01\0\0", 10)},
    {"Japanese text", true, "\xe6\x9d\xb1\xe4\xba\xac", 0, REG_SZ, std::string("\x71\x67\xac\x4e\0\0", 6)},
    {"Greek text", true, "\xce\x91\xce\xb8\xce\xae\xce\xbd\xce\xb1", 0, REG_SZ, Text("\xce\x91\xce\xb8\xce\xae\xce\xbd\xce\xb1")},
    {"surrogate pair", true, "\xf0\x9d\x92\x9c", 0, REG_SZ, std::string("\x35\xd8\x9c\xdc\0\0", 6)},
    {"zero", false, "", 0, REG_DWORD, IntBytes(0)},
    {"minus one", false, "", -1, REG_DWORD, std::string(4, '\xFF')},
    {"largest", false, "", INT_MAX, REG_DWORD, IntBytes(0x7FFFFFFF)},
    {"smallest", false, "", INT_MIN, REG_DWORD, IntBytes(0x80000000u)},
};
INSTANTIATE_TEST_SUITE_P(Values, RegistryWrites, ::testing::ValuesIn(WRITE_CASES));

TEST_F(RegistryStore, SaveWritesTheNineValuesAndWorkDaysInTheirKinds) {
  SaveSettings(store_, 0, SampleRecord());
  EXPECT_EQ(10u, ValueCount(SECTION_PATH));
  struct Expected {
    const char* name;
    DWORD kind;
    std::string bytes;
  };
  const Expected expected[] = {
      {"Place", REG_SZ, Text("Oslo")},
      {"Offset", REG_SZ, Text("5.750000")},
      {"Icon", REG_DWORD, IntBytes(3)},
      {"From", REG_DWORD, std::string(4, '\xFF')},
      {"To", REG_DWORD, IntBytes(20)},
      {"Weekdays", REG_DWORD, IntBytes(0)},
      {"UserActiveIcon", REG_SZ, Text("")},
      {"UserInActiveIcon", REG_SZ, Text("C:\\icons\\night.ico")},
      {"IconFrom", REG_DWORD, IntBytes(1)},
      {"WorkDays", REG_DWORD, IntBytes(0x1F)},
  };
  for (const Expected& e : expected) {
    RawValue raw = ReadRaw(e.name);
    ASSERT_TRUE(raw.found) << e.name;
    EXPECT_EQ(e.kind, raw.kind) << e.name;
    EXPECT_EQ(e.bytes, raw.bytes) << e.name;
  }
  PlaceSettings loaded;
  LoadSettings(store_, 0, loaded);
  ExpectSameRecord(SampleRecord(), loaded);
}

// Values edited by hand into another kind or size: read as their kind allows, else the default;
// the next save puts them back in their proper kinds.
struct HandEditCase {
  const char* label;
  const char* name;
  DWORD kind;
  std::string bytes;
  void (*change)(PlaceSettings&);  // what the load makes of it; null: the field keeps its value
};

class RegistryHandEdits : public ::testing::TestWithParam<HandEditCase>, public RegistryTest {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
};

TEST_P(RegistryHandEdits, ReadSafelyAndAreRewrittenInTheirKinds) {
  const HandEditCase& c = GetParam();
  SaveSettings(store_, 0, SampleRecord());
  WriteRaw(c.name, c.kind, c.bytes);
  PlaceSettings loaded = SampleRecord();
  LoadSettings(store_, 0, loaded);
  PlaceSettings expected = SampleRecord();
  if (c.change) c.change(expected);
  ExpectSameRecord(expected, loaded);

  SaveSettings(store_, 0, loaded);
  RawValue raw = ReadRaw(c.name);
  ASSERT_TRUE(raw.found);
  const std::string n = c.name;
  const bool text = n == "Place" || n == "Offset" || n == "UserActiveIcon" || n == "UserInActiveIcon";
  EXPECT_EQ(text ? static_cast<DWORD>(REG_SZ) : static_cast<DWORD>(REG_DWORD), raw.kind) << c.label;
  EXPECT_EQ(text ? TextBytes(raw.bytes) : 4u, raw.bytes.size()) << c.label;
}

void PrintTo(const HandEditCase& c, std::ostream* os) { *os << c.label; }

const HandEditCase HAND_EDIT_CASES[] = {
    {"binary integer", "Icon", REG_BINARY, IntBytes(12), nullptr},
    {"eight-byte integer", "From", REG_QWORD, IntBytes(12) + IntBytes(0), nullptr},
    {"eight-byte DWORD", "To", REG_DWORD, IntBytes(12) + IntBytes(0), nullptr},
    {"two-byte DWORD", "Weekdays", REG_DWORD, std::string("\x01\x00", 2), nullptr},
    {"empty DWORD", "IconFrom", REG_DWORD, "", nullptr},
    {"text integer", "Icon", REG_SZ, Text("12"), nullptr},
    {"DWORD text", "Place", REG_DWORD, IntBytes(0x41414141), nullptr},
    {"binary text", "Place", REG_BINARY, Text("Bin"), nullptr},
    {"no kind", "UserInActiveIcon", REG_NONE, Text("D:\\x.ico"), nullptr},
    {"DWORD offset", "Offset", REG_DWORD, IntBytes(3), nullptr},
    {"proper DWORD", "Icon", REG_DWORD, IntBytes(27), [](PlaceSettings& s) { s.icon = 27; }},
    {"empty text", "Place", REG_SZ, "", [](PlaceSettings& s) { s.place = ""; }},
    {"terminator only", "Place", REG_SZ, Text(""), [](PlaceSettings& s) { s.place = ""; }},
    {"no terminator", "Place", REG_SZ, Units("Bergen"),
     [](PlaceSettings& s) { s.place = "Bergen"; }},
    {"odd byte at the end", "Place", REG_SZ, Units("Bergen") + "x",
     [](PlaceSettings& s) { s.place = "Bergen"; }},
    {"zero inside", "Place", REG_SZ, Units(std::string("Two\0Parts\0", 10)),
     [](PlaceSettings& s) { s.place = "Two"; }},
    {"unpaired surrogate", "Place", REG_SZ, std::string("\x35\xd8" "a\0\0\0", 6),
     [](PlaceSettings& s) { s.place = "\xef\xbf\xbd" "a"; }},
    {"expandable, kept as written", "UserActiveIcon", REG_EXPAND_SZ, Text("%TEMP%\\a.ico"),
     [](PlaceSettings& s) { s.userActiveIcon = "%TEMP%\\a.ico"; }},
    {"multi-string, first part", "UserActiveIcon", REG_MULTI_SZ, Units(std::string("a.ico\0b.ico\0\0", 13)),
     [](PlaceSettings& s) { s.userActiveIcon = "a.ico"; }},
    {"offset out of range", "Offset", REG_SZ, Text("1e2"), [](PlaceSettings& s) { s.offset = 0.0; }},
    {"offset hexadecimal", "Offset", REG_SZ, Text("0x10"), [](PlaceSettings& s) { s.offset = 0.0; }},
    {"offset with comma", "Offset", REG_SZ, Text("5,5"), [](PlaceSettings& s) { s.offset = 5.0; }},
};
INSTANTIATE_TEST_SUITE_P(Kinds, RegistryHandEdits, ::testing::ValuesIn(HAND_EDIT_CASES));

TEST_F(RegistryStore, OneMegabyteTextLoadsWhole) {
  SaveSettings(store_, 0, SampleRecord());
  std::string big(1 << 20, 'x');
  for (size_t i = 0; i < big.size(); i += 97) big[i] = static_cast<char>('A' + i % 26);
  WriteRaw("UserActiveIcon", REG_SZ, Text(big));
  PlaceSettings loaded = SampleRecord();
  LoadSettings(store_, 0, loaded);
  EXPECT_EQ(big.size(), loaded.userActiveIcon.size());
  EXPECT_EQ(big, loaded.userActiveIcon);
}

TEST_F(RegistryStore, DeletedKeysAreMadeAgainByTheNextSave) {
  SaveSettings(store_, 3, SampleRecord());
  Clean();
  PlaceSettings kept = SampleRecord();
  LoadSettings(store_, 3, kept);
  ExpectSameRecord(SampleRecord(), kept);
  SaveSettings(store_, 3, kept);
  EXPECT_EQ(10u, ValueCount("software\\BrindlewoodTest\\Farhour\\Settings3"));
}

// Whether a value is there, whatever its kind and size; what decides whether Zone is written.
struct HasValueCase {
  const char* label;
  DWORD kind;  // REG_NONE with no bytes and stored false: nothing stored
  std::string bytes;
  bool stored;
};

class RegistryHasValue : public ::testing::TestWithParam<HasValueCase>, public RegistryTest {
 protected:
  void SetUp() override { Clean(); }
  void TearDown() override { Clean(); }
};

TEST_P(RegistryHasValue, CountsAValueOfAnyKind) {
  const HasValueCase& c = GetParam();
  SaveSettings(store_, 0, SampleRecord());
  if (c.stored) WriteRaw("Zone", c.kind, c.bytes);
  EXPECT_EQ(c.stored, store_.HasValue("Settings", "Zone")) << c.label;
  EXPECT_FALSE(store_.HasValue("Settings", "Zone2")) << c.label;
  EXPECT_FALSE(store_.HasValue("Settings7", "Zone")) << c.label;
  // A stored Zone, of whatever kind, is written back as text by the next save; none stays none.
  SaveSettings(store_, 0, SampleRecord());
  EXPECT_EQ(c.stored ? 11u : 10u, ValueCount(SECTION_PATH)) << c.label;
}

void PrintTo(const HasValueCase& c, std::ostream* os) { *os << c.label; }

const HasValueCase HAS_VALUE_CASES[] = {
    {"nothing", REG_NONE, "", false},
    {"text", REG_SZ, Text("New Zealand Standard Time"), true},
    {"empty text", REG_SZ, Text(""), true},
    {"integer", REG_DWORD, IntBytes(1), true},
    {"no bytes, no kind", REG_NONE, "", true},
    {"binary", REG_BINARY, std::string(300, '\x01'), true},
};
INSTANTIATE_TEST_SUITE_P(Kinds, RegistryHasValue, ::testing::ValuesIn(HAS_VALUE_CASES));

}  // namespace
