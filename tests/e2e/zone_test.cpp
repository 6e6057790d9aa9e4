// A place with its own time zone, as a person uses it: the tip follows the zone whatever this
// computer's zone is, the Time Zone window picks one, and a zone this computer lacks changes nothing.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "e2e/tray_stand_in.h"
#include "res/resource.h"

namespace {

constexpr UINT REFRESH_TIMER = 101;
const char* const SECTION = "Settings9";
const char* const INSTANCE = "9";
const char* const NEPAL = "Nepal Standard Time";  // +5:45 all year
const char* const LINE_ISLANDS = "Line Islands Standard Time";  // +14:00 all year

// A place with the given zone and offset that is never inside its active window (it has no end), so
// that its tip is always in brackets: these tests read the time there, whatever the hour.
void StorePlace(const char* place, const char* offset, const char* zone) {
  WriteStoredPlace(SECTION, {place, offset, 0, 0, -1, 0, "", "", 0});
  if (zone) WriteSectionString(SECTION, "Zone", zone);
}

// The en_US tip's time, "%I:%M:%S %p. %A, %B %d, %Y", of the UTC instant now + shift seconds.
std::string TipTimeAt(std::time_t instant) {
  char text[128] = "";
  std::strftime(text, sizeof text, "%I:%M:%S %p. %A, %B %d, %Y", std::gmtime(&instant));
  return text;
}

// Whether tip is "[<place> = <the time at UTC + shift>]" for an instant within [from, to].
bool TipShowsUtcPlus(const std::string& tip, const std::string& place, long shift, std::time_t from,
                     std::time_t to) {
  for (std::time_t t = from; t <= to; ++t) {
    if (tip == "[" + place + " = " + TipTimeAt(t + shift) + "]") return true;
  }
  return false;
}

std::string LastTip(const TrayStandIn& tray, HWND window) {
  std::string tip;
  for (const TrayCall& call : tray.Calls()) {
    if (call.window == Handle32(window) && call.message == NIM_MODIFY) tip = call.tip;
  }
  return tip;
}

// Starts farhour.exe without TZ in its environment: Microsoft's runtime would read a Linux zone
// name there as UTC, while Wine takes this computer's zone from the TZ this test runs under.
class WithoutTz {
 public:
  WithoutTz() {
    char value[256] = "";
    had_ = GetEnvironmentVariableA("TZ", value, sizeof value) > 0;
    old_ = value;
    SetEnvironmentVariableA("TZ", nullptr);
  }
  ~WithoutTz() {
    if (had_) SetEnvironmentVariableA("TZ", old_.c_str());
  }

 private:
  bool had_ = false;
  std::string old_;
};

// Asked for in Unicode, like ComboEntryText: Wine 8 hands the ANSI form across processes as wide text.
std::string ListText(HWND list, int index) {
  LRESULT length = SendMessageW(list, LB_GETTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == LB_ERR || length < 0) return std::string();
  std::vector<WCHAR> wide(static_cast<std::size_t>(length) + 1);
  if (SendMessageW(list, LB_GETTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data())) == LB_ERR) {
    return std::string();
  }
  char text[4096] = "";
  WideCharToMultiByte(CP_UTF8, 0, wide.data(), -1, text, sizeof text, nullptr, nullptr);
  return text;
}

int ListCount(HWND list) { return static_cast<int>(SendMessageA(list, LB_GETCOUNT, 0, 0)); }

// Selects a list entry as a click does.
void SelectEntry(HWND picker, int index) {
  HWND list = GetDlgItem(picker, IDC_ZONE_LIST);
  SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
  PostMessageA(picker, WM_COMMAND, MAKEWPARAM(IDC_ZONE_LIST, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
}

bool ReadOnly(HWND control) { return (GetWindowLongA(control, GWL_STYLE) & ES_READONLY) != 0; }

HWND OpenPicker(ProbedFarhour& session) {
  PressButton(session.Window(), IDC_TIME_ZONE);
  HWND picker = session.Process().WaitForWindow("Time Zone", 5000);
  session.Sync();
  return picker;
}

}  // namespace

// Run once per computer zone (see tests/CMakeLists.txt): the same zone time under each, and from
// UTC-12 an offset beyond a day, which is stored as the same time of day.
TEST(ComputerZone, TheTipShowsTheZonesTimeWhateverThisComputersZoneIs) {
  const char* bias = std::getenv("FARHOUR_COMPUTER_BIAS");
  ASSERT_NE(bias, nullptr) << "run by the e2e_zone_* entries";
  TIME_ZONE_INFORMATION here;
  const DWORD season = GetTimeZoneInformation(&here);
  ASSERT_EQ(here.Bias, std::atol(bias)) << "this computer's zone is the entry's";
  const long biasNow = here.Bias + (season == TIME_ZONE_ID_DAYLIGHT ? here.DaylightBias : here.StandardBias);

  StorePlace("Kiritimati", "1.000000", LINE_ISLANDS);
  TrayStandIn tray;
  WithoutTz withoutTz;
  const std::time_t before = std::time(nullptr);
  FarhourProcess farhour(INSTANCE);
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  const std::time_t after = std::time(nullptr);
  const std::string tip = LastTip(tray, farhour.Window());
  EXPECT_TRUE(TipShowsUtcPlus(tip, "Kiritimati", 14 * 3600, before, after)) << tip;
  ASSERT_TRUE(farhour.CloseConfirmed());
  const std::vector<RegValue> stored = ReadSection(SECTION);
  ASSERT_NE(FindValue(stored, "Offset"), nullptr);
  // What is stored is the zone's offset from this computer's clock, +14 from UTC less this
  // computer's own offset from UTC now, a day less where that is beyond 24 hours.
  const long minutes = 14 * 60 + biasNow;
  char expected[32];
  std::snprintf(expected, sizeof expected, "%f", (minutes > 24 * 60 ? minutes - 24 * 60 : minutes) / 60.0);
  EXPECT_EQ(FindValue(stored, "Offset")->Text(), expected);
  EXPECT_EQ(FindValue(stored, "Zone")->Text(), LINE_ISLANDS);
}

TEST(Zones, ThePickerStoresTheZoneAndItsOffsetAndNoZoneMakesTheOffsetEditable) {
  StorePlace("Kathmandu", "1.000000", nullptr);
  WithoutTz withoutTz;
  UnmanagedWindows unmanaged;
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  session.Show();
  EXPECT_FALSE(ReadOnly(session.Item(IDC_OFFSET)));

  HWND picker = OpenPicker(session);
  ASSERT_NE(picker, nullptr);
  HWND list = GetDlgItem(picker, IDC_ZONE_LIST);
  EXPECT_GT(ListCount(list), 100) << "this computer's zones";
  EXPECT_EQ(ListText(list, 0), "(No zone: a fixed offset from this computer's clock)");
  int nepal = 0;
  while (nepal < ListCount(list) && ListText(list, nepal).find("Kathmandu") == std::string::npos) ++nepal;
  SelectEntry(picker, nepal);
  TypeText(GetDlgItem(picker, IDC_ZONE_SEARCH), "ka");
  session.Sync();
  ASSERT_GT(ListCount(list), 2);
  EXPECT_EQ(ListText(list, 0).find("Kathmandu"), std::string::npos) << "not the first match";
  const int kept = static_cast<int>(SendMessageA(list, LB_GETCURSEL, 0, 0));
  EXPECT_NE(ListText(list, kept).find("Kathmandu"), std::string::npos) << "typing keeps a selection still listed";
  const std::string now = ControlText(picker, IDC_ZONE_NOW);
  EXPECT_EQ(now.rfind("Now there: ", 0), 0u) << now;
  EXPECT_NE(now.find("standard time"), std::string::npos) << now;
  PressKey(GetDlgItem(picker, IDC_ZONE_SEARCH), VK_RETURN);
  session.Sync();
  EXPECT_FALSE(IsWindow(picker));

  // This computer runs on UTC here: Nepal is 5 hours 45 minutes ahead of it.
  EXPECT_EQ(ControlText(session.Window(), IDC_OFFSET), "5.75");
  EXPECT_TRUE(ReadOnly(session.Item(IDC_OFFSET)));
  PressButton(session.Window(), IDC_APPLY);
  session.Sync();
  std::vector<RegValue> stored = ReadSection(SECTION);
  ASSERT_NE(FindValue(stored, "Zone"), nullptr);
  EXPECT_EQ(FindValue(stored, "Zone")->Text(), NEPAL);
  EXPECT_EQ(FindValue(stored, "Offset")->Text(), "5.750000");

  session.Show();
  picker = OpenPicker(session);
  ASSERT_NE(picker, nullptr);
  SelectEntry(picker, 0);
  session.Sync();
  PressKey(GetDlgItem(picker, IDC_ZONE_SEARCH), VK_RETURN);  // Enter is OK
  session.Sync();
  EXPECT_FALSE(IsWindow(picker));
  EXPECT_FALSE(ReadOnly(session.Item(IDC_OFFSET))) << "no zone: the offset is the user's again";
  EXPECT_EQ(ControlText(session.Window(), IDC_OFFSET), "5.75");
  PressButton(session.Window(), IDC_APPLY);
  session.Sync();
  stored = ReadSection(SECTION);
  ASSERT_NE(FindValue(stored, "Zone"), nullptr) << "a stored zone is cleared, not left behind";
  EXPECT_EQ(FindValue(stored, "Zone")->Text(), "");
  EXPECT_EQ(FindValue(stored, "Offset")->Text(), "5.750000");
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(Zones, AZoneThisComputerLacksKeepsItsNameAndTheStoredOffsetRules) {
  StorePlace("Atlantis", "2.000000", "Atlantis Standard Time");
  TrayStandIn tray;
  WithoutTz withoutTz;
  UnmanagedWindows unmanaged;
  const std::time_t before = std::time(nullptr);
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  const std::string tip = LastTip(tray, session.Window());
  // This computer runs on UTC here: the offset of 2 hours is UTC + 2.
  EXPECT_TRUE(TipShowsUtcPlus(tip, "Atlantis", 2 * 3600, before, std::time(nullptr))) << tip;

  session.Show();
  EXPECT_EQ(ControlText(session.Window(), IDC_OFFSET), "2");
  EXPECT_FALSE(ReadOnly(session.Item(IDC_OFFSET)));
  HWND picker = OpenPicker(session);
  ASSERT_NE(picker, nullptr);
  HWND list = GetDlgItem(picker, IDC_ZONE_LIST);
  EXPECT_EQ(ListText(list, 1), "Atlantis Standard Time (not available on this computer)");
  EXPECT_EQ(SendMessageA(list, LB_GETCURSEL, 0, 0), 1);
  EXPECT_EQ(ControlText(picker, IDC_ZONE_NOW).rfind("Not available on this computer", 0), 0u);
  PressKey(GetDlgItem(picker, IDC_ZONE_SEARCH), VK_ESCAPE);  // Escape is Cancel
  session.Sync();
  EXPECT_FALSE(IsWindow(picker));
  PressButton(session.Window(), IDC_APPLY);
  session.Sync();
  SendMessageA(session.Window(), WM_TIMER, REFRESH_TIMER, 0);
  ASSERT_TRUE(session.Process().CloseConfirmed());
  std::vector<RegValue> stored = ReadSection(SECTION);
  ASSERT_NE(FindValue(stored, "Zone"), nullptr);
  EXPECT_EQ(FindValue(stored, "Zone")->Text(), "Atlantis Standard Time");
  EXPECT_EQ(FindValue(stored, "Offset")->Text(), "2.000000");
}

// What a person types, and the zone that Enter in the Time Zone window and then OK store. Typed and
// shown in UTF-8, whatever the code page (1252 here).
struct ZoneQuery {
  const char* typed;
  const char* key;
  const char* firstEntry;  // the list's first entry, where given
};

const ZoneQuery ZONE_QUERIES[] = {
    {"Chicago", "Central Standard Time", "(UTC-06:00) Central Time (US & Canada) \xe2\x80\x94 Chicago, United States"},
    {"New York", "Eastern Standard Time", nullptr},
    {"Los Angeles", "Pacific Standard Time", nullptr},
    {"Sao Paulo", "E. South America Standard Time", nullptr},
    {"Germany", "W. Europe Standard Time", nullptr},
    {"Japan", "Tokyo Standard Time", nullptr},
    {"Kathmandu", "Nepal Standard Time", "(UTC+05:45) Kathmandu"},  // no note: the name shows it
    {"z\xc3\xbc" "rich", "W. Europe Standard Time", nullptr},
    {"C\xc3\xb4te d'Ivoire", "Greenwich Standard Time", "(UTC+00:00) Monrovia, Reykjavik \xe2\x80\x94 Abidjan, C\xc3\xb4te d'Ivoire"},
    // A name with a letter the code page lacks is typed and shown as it is.
    {"Hu\xe1\xba\xbf", "SE Asia Standard Time", "(UTC+07:00) Bangkok, Hanoi, Jakarta \xe2\x80\x94 Hu\xe1\xba\xbf, Vietnam"},
    {"india", "India Standard Time", nullptr},  // before Indiana (East), which Windows lists first
    {"Honolulu", "Hawaiian Standard Time", nullptr},
    // The cities people work in, by the names they type, and countries by their everyday names.
    {"San Francisco", "Pacific Standard Time", nullptr},
    {"Munich", "W. Europe Standard Time",
     "(UTC+01:00) Amsterdam, Berlin, Bern, Rome, Stockholm, Vienna \xe2\x80\x94 Munich, Germany"},
    {"Bengaluru", "India Standard Time", nullptr},
    {"United States", "Eastern Standard Time", nullptr},  // where most Americans live, not the Aleutians
    {"UK", "GMT Standard Time", nullptr},
    {"Tel Aviv", "Israel Standard Time", nullptr},
    {"Salvador", "Bahia Standard Time", nullptr},  // Brazil's, before El Salvador
    // Cities of today's data, by today's names, and a state.
    {"Zhongshan", "China Standard Time", nullptr},  // not Bangladesh's clock
    {"Lianyungang", "China Standard Time", nullptr},
    {"Gurugram", "India Standard Time", "(UTC+05:30) Chennai, Kolkata, Mumbai, New Delhi \xe2\x80\x94 Gurugram, India"},
    {"Texas", "Central Standard Time", "(UTC-06:00) Central Time (US & Canada) \xe2\x80\x94 Texas, United States"},
    {"Astrakhan", "Astrakhan Standard Time", nullptr},  // not Volgograd's clock
};

TEST(Zones, TypingACityOrCountryThenEnterAndOKStoresItsZone) {
  StorePlace("Somewhere", "1.000000", nullptr);
  WithoutTz withoutTz;
  UnmanagedWindows unmanaged;
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  for (const ZoneQuery& query : ZONE_QUERIES) {
    session.Show();
    HWND picker = OpenPicker(session);
    ASSERT_NE(picker, nullptr) << query.typed;
    TypeText(GetDlgItem(picker, IDC_ZONE_SEARCH), query.typed);
    session.Sync();
    if (query.firstEntry) {
      EXPECT_EQ(ListText(GetDlgItem(picker, IDC_ZONE_LIST), 0), query.firstEntry);
    }
    PressKey(GetDlgItem(picker, IDC_ZONE_SEARCH), VK_RETURN);
    session.Sync();
    ASSERT_FALSE(IsWindow(picker)) << query.typed;
    PressButton(session.Window(), IDC_APPLY);
    session.Sync();
    const std::vector<RegValue> stored = ReadSection(SECTION);
    const RegValue* zone = FindValue(stored, "Zone");
    EXPECT_EQ(zone ? zone->Text() : "(none)", query.key) << query.typed;
  }
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(Zones, CancelInThePropertiesWindowForgetsTheZonePickedAndTheFields) {
  StorePlace("Kathmandu", "1.000000", nullptr);
  TrayStandIn tray;
  WithoutTz withoutTz;
  UnmanagedWindows unmanaged;
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  session.Show();
  session.Type(IDC_PLACE, "Nepal");
  HWND picker = OpenPicker(session);
  ASSERT_NE(picker, nullptr);
  TypeText(GetDlgItem(picker, IDC_ZONE_SEARCH), "kathmandu");
  session.Sync();
  PressKey(GetDlgItem(picker, IDC_ZONE_SEARCH), VK_RETURN);
  session.Sync();
  EXPECT_EQ(ControlText(session.Window(), IDC_OFFSET), "5.75") << "the zone picked is shown";
  EXPECT_TRUE(ReadOnly(session.Item(IDC_OFFSET)));

  PressButton(session.Window(), IDC_DISMISS);
  session.Sync();
  const std::time_t before = std::time(nullptr);
  SendMessageA(session.Window(), WM_TIMER, REFRESH_TIMER, 0);
  const std::string tip = LastTip(tray, session.Window());
  // This computer runs on UTC here: the stored offset of 1 hour is UTC + 1.
  EXPECT_TRUE(TipShowsUtcPlus(tip, "Kathmandu", 3600, before, std::time(nullptr))) << tip;
  ASSERT_TRUE(session.Process().CloseConfirmed());
  const std::vector<RegValue> stored = ReadSection(SECTION);
  EXPECT_EQ(FindValue(stored, "Zone"), nullptr);
  ASSERT_NE(FindValue(stored, "Offset"), nullptr);
  EXPECT_EQ(FindValue(stored, "Offset")->Text(), "1.000000");
  EXPECT_EQ(FindValue(stored, "Place")->Text(), "Kathmandu");
}

// Code page 932 has neither the dash nor the accented letter of the note; the list shows them all
// the same.
TEST(DoubleByteLocaleZoneSearch, ANoteKeepsTheCharactersTheCodePageLacks) {
  if (GetACP() != 932) GTEST_SKIP() << "ANSI code page " << GetACP() << ", not 932: run with LANG=ja_JP.UTF-8";
  StorePlace("Abidjan", "0.000000", nullptr);
  WithoutTz withoutTz;
  UnmanagedWindows unmanaged;
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  session.Show();
  HWND picker = OpenPicker(session);
  ASSERT_NE(picker, nullptr);
  TypeText(GetDlgItem(picker, IDC_ZONE_SEARCH), "cote d'ivoire");
  session.Sync();
  EXPECT_EQ(ListText(GetDlgItem(picker, IDC_ZONE_LIST), 0),
            "(UTC+00:00) Monrovia, Reykjavik \xe2\x80\x94 Abidjan, C\xc3\xb4te d'Ivoire");
  PressKey(GetDlgItem(picker, IDC_ZONE_SEARCH), VK_ESCAPE);
  session.Sync();
  ASSERT_TRUE(session.Process().CloseConfirmed());
}
