// A place's work days: what the icon shows on each day of the place's week, for places stored by
// this copy and by older ones, and the work-day boxes in the user's language and week.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "e2e/tray_stand_in.h"
#include "res/resource.h"

namespace {

const char* const SECTION = "Settings48";
const char* const INSTANCE = "48";
constexpr UINT REFRESH_TIMER = 101;

// Noon UTC in the week of 7 December 2026, a Monday.
constexpr long long FRIDAY_NOON = 1796990400;
constexpr long long SATURDAY_NOON = 1797076800;
constexpr long long SUNDAY_NOON = 1797163200;
constexpr long long MONDAY_NOON = 1797249600;
// Noon in Israel, two hours ahead of UTC in December.
constexpr long long FRIDAY_NOON_IN_ISRAEL = FRIDAY_NOON - 2 * 3600;
constexpr long long SUNDAY_NOON_IN_ISRAEL = SUNDAY_NOON - 2 * 3600;

// The tip and picture of a refresh at the time given, made as the minute timer makes one.
TrayCall RefreshAt(ProbedFarhour& session, TrayStandIn& tray, long long seconds) {
  EXPECT_TRUE(session.Probe().SetClock(seconds));
  tray.Clear();
  SendMessageA(session.Window(), WM_TIMER, REFRESH_TIMER, 0);
  tray.WaitForCalls(1, 2000);
  const std::vector<TrayCall> calls = tray.Calls();
  return calls.empty() ? TrayCall() : calls.back();
}

// The picture of one of the program's icon resources as the shell gets it.
std::string ResourceImage(TrayStandIn& tray, int resource) {
  HMODULE module = LoadLibraryExA(FarhourExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::string();
  const std::string image = tray.ImageOf(LoadTrayIcon(module, resource));
  FreeLibrary(module);
  return image;
}

// The Time Zone window's pick: the text typed into its search, then Enter. False when the window
// did not open or did not close.
bool PickZone(ProbedFarhour& session, const char* typed, std::string* nowLine) {
  PressButton(session.Window(), IDC_TIME_ZONE);
  HWND picker = session.Process().WaitForWindow("Time Zone", 5000);
  session.Sync();
  if (!picker) return false;
  TypeText(GetDlgItem(picker, IDC_ZONE_SEARCH), typed);
  session.Sync();
  *nowLine = ControlText(picker, IDC_ZONE_NOW);
  PressKey(GetDlgItem(picker, IDC_ZONE_SEARCH), VK_RETURN);
  session.Sync();
  return !IsWindow(picker);
}

}  // namespace

// Run with TZ=UTC: a place with no offset keeps this computer's clock.
TEST(WorkDays, EachPlaceIsActiveOnlyOnItsOwnWorkDaysWhoeverStoredThem) {
  struct Row {
    const char* label;
    int weekdays;  // as stored
    int workDays;  // as stored; -1: none, as an older copy leaves the section
    long long now;
    bool active;
  };
  const Row rows[] = {
      {"older copy, weekdays only: Saturday", 1, -1, SATURDAY_NOON, false},
      {"older copy, weekdays only: Monday", 1, -1, MONDAY_NOON, true},
      {"older copy, every day: Saturday", 0, -1, SATURDAY_NOON, true},
      {"Sunday to Thursday: Friday", 0, 0x1F, FRIDAY_NOON, false},
      {"Sunday to Thursday: Sunday", 0, 0x1F, SUNDAY_NOON, true},
  };
  TrayStandIn tray;
  const std::string activeImage = ResourceImage(tray, 149 + 3);
  const std::string inactiveImage = ResourceImage(tray, 249 + 3);
  ASSERT_FALSE(activeImage.empty());
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    WriteStoredPlace(SECTION, {"Here", "0.000000", 3, 0, 23, row.weekdays, "", "", 0});
    if (row.workDays >= 0) WriteSectionDword(SECTION, "WorkDays", static_cast<DWORD>(row.workDays));
    ProbedFarhour session(INSTANCE);
    ASSERT_TRUE(session.Ready());
    const TrayCall call = RefreshAt(session, tray, row.now);
    EXPECT_EQ(call.tip.rfind(row.active ? "Here = " : "[Here = ", 0), 0u) << call.tip;
    EXPECT_TRUE(call.image == (row.active ? activeImage : inactiveImage));
    ASSERT_TRUE(session.Process().CloseConfirmed());
  }
  DeleteSection(SECTION);
}

// A zone found by a city proposes the week of the city's country; OK stores it, and the icon keeps it.
TEST(WorkDays, ACityInIsraelProposesSundayToThursday) {
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  WriteStoredPlace(SECTION, {"Dana", "0.000000", 3, 17, 10, 1, "", "", 0});
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  ASSERT_TRUE(session.Probe().SetClock(FRIDAY_NOON_IN_ISRAEL));
  session.Show();
  std::string nowLine;
  ASSERT_TRUE(PickZone(session, "Tel Aviv", &nowLine));
  EXPECT_NE(nowLine.find("12:00:00 PM. Friday"), std::string::npos) << nowLine;
  EXPECT_EQ(nowLine.substr(nowLine.size() - 9), ", weekend") << nowLine;
  EXPECT_EQ(TickedWorkDays(session.Window()), 0x1F);
  session.Press(IDC_APPLY);

  const std::vector<RegValue> values = ReadSection(SECTION);
  EXPECT_EQ(FindValue(values, "Zone")->Text(), "Israel Standard Time");
  EXPECT_EQ(FindValue(values, "WorkDays")->Int(), 0x1F);
  EXPECT_EQ(FindValue(values, "Weekdays")->Int(), 0);
  TrayCall call = RefreshAt(session, tray, FRIDAY_NOON_IN_ISRAEL + 1);
  EXPECT_EQ(call.tip.rfind("[Dana = 12:00:01 PM. Friday", 0), 0u) << call.tip;
  EXPECT_TRUE(call.image == ResourceImage(tray, 249 + 3)) << "the inactive picture";
  call = RefreshAt(session, tray, SUNDAY_NOON_IN_ISRAEL);
  EXPECT_EQ(call.tip.rfind("Dana = 12:00:00 PM. Sunday", 0), 0u) << call.tip;

  // A zone picked by its own name proposes nothing: the days stay as the user left them.
  session.Show();
  session.Key(IDC_WORK_DAY_FIRST + 6, VK_SPACE);  // Saturday too
  ASSERT_TRUE(PickZone(session, "Israel Standard", &nowLine));
  EXPECT_EQ(TickedWorkDays(session.Window()), 0x5F);
  session.Press(IDC_APPLY);
  EXPECT_EQ(FindValue(ReadSection(SECTION), "WorkDays")->Int(), 0x5F);
  ASSERT_TRUE(session.Process().CloseConfirmed());
  DeleteSection(SECTION);
}

// Run once per locale (see the test list): the boxes hold the locale's day names from its first day.
TEST(Locale, TheWorkDayBoxesFollowTheLocalesWeek) {
  const char* locale = std::getenv("FARHOUR_LOCALE");
  ASSERT_NE(locale, nullptr);
  struct Row {
    const char* locale;
    const char* days[7];
  };
  const Row rows[] = {
      {"en_US", {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"}},
      {"en_NZ", {"Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "Sun"}},
      {"de_DE", {"Mo.", "Di.", "Mi.", "Do.", "Fr.", "Sa.", "So."}},
  };
  const Row* row = nullptr;
  for (const Row& r : rows) if (std::string(r.locale) == locale) row = &r;
  ASSERT_NE(row, nullptr) << locale;
  DeleteSection(SECTION);
  FarhourProcess farhour(INSTANCE);
  ASSERT_NE(farhour.Window(), nullptr);
  for (int position = 0; position < 7; ++position) {
    EXPECT_EQ(ControlText(farhour.Window(), IDC_WORK_DAY_FIRST + position), row->days[position]) << position;
  }
  ASSERT_TRUE(farhour.CloseConfirmed());
  DeleteSection(SECTION);
}

// Needs the Japanese ANSI code page (932): run with LANG=ja_JP.
TEST(DoubleByteLocale, TheWorkDayBoxesShowTheJapaneseDayNames) {
  if (GetACP() != 932) GTEST_SKIP() << "ANSI code page " << GetACP() << ", not 932: run with LANG=ja_JP.UTF-8";
  const wchar_t* const days[] = {L"\u65E5", L"\u6708", L"\u706B", L"\u6C34", L"\u6728", L"\u91D1", L"\u571F"};
  DeleteSection(SECTION);
  FarhourProcess farhour(INSTANCE);
  ASSERT_NE(farhour.Window(), nullptr);
  for (int position = 0; position < 7; ++position) {
    char utf8[16] = "";
    WideCharToMultiByte(CP_UTF8, 0, days[position], -1, utf8, sizeof utf8, nullptr, nullptr);
    EXPECT_EQ(ControlText(farhour.Window(), IDC_WORK_DAY_FIRST + position), utf8) << position;
  }
  ASSERT_TRUE(farhour.CloseConfirmed());
  DeleteSection(SECTION);
}
