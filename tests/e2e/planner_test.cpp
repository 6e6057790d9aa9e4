// The call planner as a person uses it: opened from an icon's menu with three places stored, on a
// Wednesday of the program's clock (the computer's zone is UTC, its locale en_US).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "res/resource.h"

namespace {

const char* const PLANNER = "Plan a call";

// Noon UTC on Wednesday 9 December 2026.
constexpr long long WEDNESDAY_NOON = 1796817600;

const char* const APP_KEY = "Software\\Brindlewood\\Farhour";

// Every section of the program's key, so that the planner shows the test's places alone.
void DeleteAllSections() {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, APP_KEY, 0, KEY_READ, &key) != ERROR_SUCCESS) return;
  std::vector<std::string> names;
  char name[256];
  for (DWORD i = 0;; ++i) {
    DWORD length = sizeof name;
    if (RegEnumKeyExA(key, i, name, &length, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.emplace_back(name, length);
  }
  RegCloseKey(key);
  for (const std::string& section : names) DeleteSection(section);
}

void StorePlace(const char* section, const char* name, const char* zone, int from, int workDays) {
  WriteStoredPlace(section, {name, "0.000000", 3, from, 10, workDays == 0x3E ? 1 : 0, "", "", 0});
  WriteSectionDword(section, "WorkDays", static_cast<DWORD>(workDays));
  WriteSectionString(section, "Zone", zone);
}

BOOL CALLBACK CountPlanner(HWND hwnd, LPARAM lParam) {
  if (WindowText(hwnd) == PLANNER) ++*reinterpret_cast<int*>(lParam);
  return TRUE;
}

// The planner windows open on the desktop.
int CountPlanners() {
  int count = 0;
  EnumWindows(CountPlanner, reinterpret_cast<LPARAM>(&count));
  return count;
}

// "9-17,20": the hours whose cell in the row shows the place at work, read the way a screen reader
// reads the grid, cell by cell from the first hour.
std::string AtWorkColumns(ProbedFarhour& session, HWND grid) {
  PressKey(grid, VK_HOME);
  session.Sync();
  std::string text;
  int runStart = -1;
  for (int column = 0; column <= 24; ++column) {
    const std::string cell = column < 24 ? WindowText(grid) : std::string(" (end)");
    const bool atWork = cell.find(" (") == std::string::npos;
    if (atWork && runStart < 0) runStart = column;
    if (!atWork && runStart >= 0) {
      text += (text.empty() ? "" : ",") + std::to_string(runStart) +
              (column - 1 > runStart ? "-" + std::to_string(column - 1) : "");
      runStart = -1;
    }
    PressKey(grid, VK_RIGHT);
    session.Sync();
  }
  return text;
}

std::string ClipboardText() {
  std::string text;
  if (!OpenClipboard(nullptr)) return text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const wchar_t* units = static_cast<const wchar_t*>(GlobalLock(data))) {
      char utf8[4096] = "";
      WideCharToMultiByte(CP_UTF8, 0, units, -1, utf8, sizeof utf8, nullptr, nullptr);
      text = utf8;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

// Waits up to three seconds for the converter to name the place, or to stop naming it.
bool WaitForLinesNaming(HWND planner, const std::string& name, bool named) {
  for (int i = 0; i < 60; ++i) {
    if ((ControlText(planner, IDC_PLANNER_LINES).find(name) != std::string::npos) == named) return true;
    Sleep(50);
  }
  return false;
}

}  // namespace

TEST(Planner, ShowsEveryPlacesHoursTheBestHourAndAnyTimeConverted) {
  DeleteAllSections();
  StorePlace("Settings61", "London", "GMT Standard Time", 18, 0x3E);
  StorePlace("Settings63", "Tel Aviv", "Israel Standard Time", 18, 0x1F);
  StorePlace("Settings64", "Auckland", "New Zealand Standard Time", 17, 0x3E);
  ProbedFarhour session("61");
  ASSERT_TRUE(session.Ready());
  ASSERT_TRUE(session.Probe().SetClock(WEDNESDAY_NOON));
  PostMessageA(session.Window(), WM_COMMAND, MAKEWPARAM(ID_TRAY_PLAN_CALL, 0), 0);
  HWND planner = session.Process().WaitForWindow(PLANNER, 5000);
  ASSERT_NE(planner, nullptr);
  session.Sync();
  HWND grid = GetDlgItem(planner, IDC_PLANNER_GRID);

  // Each row's shaded hours, in the hours of the day here (UTC): the places' own days and zones.
  const char* const shaded[] = {"9-17", "9-17", "7-15", "0-4,20-23"};  // here, London, Tel Aviv, Auckland
  PressKey(grid, VK_UP);
  PressKey(grid, VK_UP);
  PressKey(grid, VK_UP);
  for (int row = 0; row < 4; ++row) {
    SCOPED_TRACE(row);
    EXPECT_EQ(AtWorkColumns(session, grid), shaded[row]);
    PressKey(grid, VK_DOWN);
  }
  EXPECT_EQ(ControlText(planner, IDC_PLANNER_BEST),
            "No hour holds all of them. Most are at work: 09:00 AM to 03:00 PM (Here, London, Tel Aviv).");
  // Space on London's row unticks it: the best hours no longer wait for it; a second Space ticks it.
  PressKey(grid, VK_UP);
  PressKey(grid, VK_UP);
  PressKey(grid, VK_SPACE);
  session.Sync();
  EXPECT_EQ(ControlText(planner, IDC_PLANNER_BEST),
            "No hour holds all of them. Most are at work: 09:00 AM to 03:00 PM (Here, Tel Aviv).");
  PressKey(grid, VK_SPACE);
  session.Sync();
  EXPECT_EQ(ControlText(planner, IDC_PLANNER_BEST),
            "No hour holds all of them. Most are at work: 09:00 AM to 03:00 PM (Here, London, Tel Aviv).");

  TypeText(GetDlgItem(planner, IDC_PLANNER_TIME), "15:00");
  session.Sync();
  const std::string atThree =
      "Wed 03:00 PM Here\r\nWed 03:00 PM London\r\nWed 05:00 PM Tel Aviv\r\nThu 04:00 AM Auckland (closed)";
  EXPECT_EQ(ControlText(planner, IDC_PLANNER_LINES), atThree);
  PressButton(planner, IDC_PLANNER_COPY);
  session.Sync();
  EXPECT_EQ(ClipboardText(), atThree);

  // A time of a place: the time here and everywhere else.
  TypeText(GetDlgItem(planner, IDC_PLANNER_TIME), "10:00 in auckland");
  session.Sync();
  EXPECT_EQ(ControlText(planner, IDC_PLANNER_LINES),
            "Wed 09:00 PM Here (closed)\r\nWed 09:00 PM London (closed)\r\nWed 11:00 PM Tel Aviv (closed)\r\n"
            "Thu 10:00 AM Auckland");

  // A request from another copy brings the open planner forward rather than making another.
  FarhourProcess telAviv("63");
  ASSERT_NE(telAviv.Window(), nullptr);
  PostMessageA(telAviv.Window(), WM_COMMAND, MAKEWPARAM(ID_TRAY_PLAN_CALL, 0), 0);
  EXPECT_EQ(telAviv.WaitForWindow(PLANNER, 1500), nullptr);
  EXPECT_EQ(CountPlanners(), 1);
  ASSERT_TRUE(telAviv.CloseConfirmed());

  // A place added while the planner is open appears, in any script, and goes when it is removed.
  const std::string dana = "\xD0\x94\xD0\xB0\xD0\xBD\xD0\xB0 \xE6\x9D\xB1\xE4\xBA\xAC";  // Дана 東京
  StorePlace("Settings62", "Dana", "", 18, 0x3E);
  WriteSectionText("Settings62", "Place", dana);
  ASSERT_TRUE(WaitForLinesNaming(planner, dana, true));
  PressButton(planner, IDC_PLANNER_COPY);
  session.Sync();
  EXPECT_NE(ClipboardText().find("Wed 09:00 PM " + dana + " (closed)"), std::string::npos) << ClipboardText();
  DeleteSection("Settings62");
  EXPECT_TRUE(WaitForLinesNaming(planner, dana, false));

  PressKey(grid, VK_ESCAPE);
  session.Sync();
  EXPECT_FALSE(IsWindow(planner)) << "Escape closes the planner";
  bool plannerStored = true;
  (void)ReadSection("Planner", &plannerStored);
  EXPECT_FALSE(plannerStored) << "nothing stored for a user who never set the planner's hours";
  ASSERT_TRUE(session.Process().CloseConfirmed());
  for (const char* section : {"Settings61", "Settings63", "Settings64"}) DeleteSection(section);
}
