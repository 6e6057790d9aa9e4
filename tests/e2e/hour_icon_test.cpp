// The hour there as the tray icon, end to end: the picture the shell gets shows the place's hour,
// turns within two seconds of the hour turning there, tells active from inactive, follows the
// taskbar's light or dark look without a restart, and is what the properties window's third icon
// choice stores. Run in en_US (a 12-hour clock) with TZ=UTC.
#include <windows.h>
#include <shellapi.h>
#include <shlwapi.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "e2e/tray_stand_in.h"
#include "icons/hour_icon_win.h"
#include "res/resource.h"

namespace {

const char* const SECTION = "Settings49";
const char* const INSTANCE = "49";
constexpr UINT REFRESH_TIMER = 101;
const char* const PERSONALIZE_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

// The picture the program should hand to the shell for the hour at the tray's size, in en_US's
// 12-hour clock.
std::string Drawn(TrayStandIn& tray, int hour, bool active, TaskbarTheme theme = TaskbarTheme::LIGHT) {
  OwnedIcon icon = MakeHourIcon(TrayIconSize(), {hour, true, active}, theme);
  return tray.ImageOf(icon.Get());
}

// Waits for the program to hand the shell this picture; false when it has not within the wait.
bool WaitForImage(const TrayStandIn& tray, HWND window, const std::string& image, DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  for (;;) {
    for (const TrayCall& call : tray.Calls()) {
      if (call.window == Handle32(window) && call.message == NIM_MODIFY && call.image == image) return true;
    }
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
    Sleep(20);
  }
}

// A place that shows the hour there, active all day or never.
void StoreHourPlace(const char* offset, const char* zone, bool active) {
  WriteStoredPlace(SECTION, {"There", offset, 3, 0, active ? 23 : -1, 0, "", "", 0});
  WriteSectionDword(SECTION, "IconStyle", 1);
  if (*zone) WriteSectionString(SECTION, "Zone", zone);
}

// The taskbar's look in the test prefix's user settings: 1 light, 0 dark, -1 no such setting (as in a
// new prefix, and as the test leaves it).
bool SetTaskbarLook(int light) {
  const DWORD value = static_cast<DWORD>(light);
  if (light < 0) {
    const DWORD removed = SHDeleteValueA(HKEY_CURRENT_USER, PERSONALIZE_KEY, "SystemUsesLightTheme");
    return removed == ERROR_SUCCESS || removed == ERROR_FILE_NOT_FOUND;
  }
  return SHSetValueA(HKEY_CURRENT_USER, PERSONALIZE_KEY, "SystemUsesLightTheme", REG_DWORD, &value, sizeof value) ==
         ERROR_SUCCESS;
}

// What Windows sends every window when the user switches between the light and the dark look.
void AnnounceLookChange(HWND window) {
  DWORD_PTR result = 0;
  (void)SendMessageTimeoutA(window, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>("ImmersiveColorSet"), SMTO_NORMAL,
                            10000, &result);
}

}  // namespace

// The refresh a second before the hour shows the hour before; then, with the place's clock at the
// new hour and nothing sent to the program, its own timer shows the new hour within two seconds.
TEST(HourIcon, ShowsTheHourThereAndTurnsWithinTwoSeconds) {
  struct Row {
    const char* label;
    const char* offset;
    const char* zone;
    bool active;
    long long before;  // UTC, a second before the hour turns at the place
    int hourBefore;
    int hourAfter;
  };
  const Row rows[] = {
      {"an offset: 09:59:59", "0.000000", "", true, 1796983199, 9, 10},
      {"an offset of half an hour", "5.500000", "", true, 1796963399, 9, 10},
      {"a half-hour zone, inactive", "0.000000", "India Standard Time", false, 1796963399, 9, 10},
      {"a 45-minute zone", "0.000000", "Nepal Standard Time", true, 1796962499, 9, 10},
      {"daylight saving starts: 1:59:59 to 3:00", "0.000000", "W. Europe Standard Time", true, 1806195599, 1, 3},
  };
  TrayStandIn tray;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    const std::string before = Drawn(tray, row.hourBefore, row.active);
    const std::string after = Drawn(tray, row.hourAfter, row.active);
    ASSERT_FALSE(before.empty());
    ASSERT_NE(before, after);
    ASSERT_NE(before, Drawn(tray, row.hourBefore, !row.active)) << "active and inactive differ";
    StoreHourPlace(row.offset, row.zone, row.active);
    ProbedFarhour session(INSTANCE);
    ASSERT_TRUE(session.Ready());
    ASSERT_TRUE(session.Probe().SetClock(row.before));
    tray.Clear();
    SendMessageA(session.Window(), WM_TIMER, REFRESH_TIMER, 0);
    EXPECT_TRUE(WaitForImage(tray, session.Window(), before, 2000)) << "the hour before";
    tray.Clear();
    ASSERT_TRUE(session.Probe().SetClock(row.before + 1));
    EXPECT_TRUE(WaitForImage(tray, session.Window(), after, 2000)) << "the new hour within two seconds";
    ASSERT_TRUE(session.Process().CloseConfirmed());
  }
  DeleteSection(SECTION);
}

// When this computer's clock is set, the refresh follows the new turn of the minute at once.
TEST(HourIcon, TurnsWithinTwoSecondsAfterTheClockIsSet) {
  TrayStandIn tray;
  const std::string ten = Drawn(tray, 10, true);
  StoreHourPlace("0.000000", "", true);
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  // At 09:59:30 the next refresh is half a minute away; then the clock is set to 09:59:59.
  ASSERT_TRUE(session.Probe().SetClock(1796983170));
  SendMessageA(session.Window(), WM_TIMER, REFRESH_TIMER, 0);
  ASSERT_TRUE(session.Probe().SetClock(1796983199));
  SendMessageA(session.Window(), WM_TIMECHANGE, 0, 0);
  tray.Clear();
  ASSERT_TRUE(session.Probe().SetClock(1796983200));
  EXPECT_TRUE(WaitForImage(tray, session.Window(), ten, 2000)) << "the new hour within two seconds";
  ASSERT_TRUE(session.Process().CloseConfirmed());
  DeleteSection(SECTION);
}

// Switching the taskbar between light and dark redraws the icon at once, and a system without the
// setting has the light look.
TEST(HourIcon, FollowsTheTaskbarsLookWithoutARestart) {
  struct LeftAsNew {
    ~LeftAsNew() { (void)SetTaskbarLook(-1); }
  } leftAsNew;
  TrayStandIn tray;
  const std::string light = Drawn(tray, 9, true, TaskbarTheme::LIGHT);
  const std::string dark = Drawn(tray, 9, true, TaskbarTheme::DARK);
  ASSERT_NE(light, dark);
  ASSERT_TRUE(SetTaskbarLook(0));
  StoreHourPlace("0.000000", "", true);
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  ASSERT_TRUE(session.Probe().SetClock(1796983199));
  SendMessageA(session.Window(), WM_TIMER, REFRESH_TIMER, 0);
  EXPECT_TRUE(WaitForImage(tray, session.Window(), dark, 2000)) << "dark at the start";

  struct Step {
    const char* label;
    int light;  // -1: the value removed
    const std::string* image;
  };
  const Step steps[] = {{"to light", 1, &light}, {"to dark", 0, &dark}, {"no such setting", -1, &light}};
  for (const Step& step : steps) {
    SCOPED_TRACE(step.label);
    ASSERT_TRUE(SetTaskbarLook(step.light));
    tray.Clear();
    AnnounceLookChange(session.Window());
    EXPECT_TRUE(WaitForImage(tray, session.Window(), *step.image, 2000));
  }
  ASSERT_TRUE(session.Process().CloseConfirmed());
  DeleteSection(SECTION);
}

// The properties window's third choice: OK stores IconStyle and leaves IconFrom for older copies,
// and the icon shows the hour at once; Built-in brings the pictures back.
TEST(HourIcon, IsTheThirdIconChoiceAndKeepsIconFrom) {
  TrayStandIn tray;
  const std::string nine = Drawn(tray, 9, true);
  WriteStoredPlace(SECTION, {"There", "0.000000", 3, 0, 23, 0, "", "", 1});
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  ASSERT_TRUE(session.Probe().SetClock(1796983199));
  HWND w = session.Window();
  session.Show();
  EXPECT_EQ(SendDlgItemMessageA(w, IDC_ICON_FILES, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendDlgItemMessageA(w, IDC_HOUR_ICON, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  session.Key(IDC_PLACE, 'H', true);
  EXPECT_EQ(SendDlgItemMessageA(w, IDC_HOUR_ICON, BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(SendDlgItemMessageA(w, IDC_ICON_FILES, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  tray.Clear();
  session.Press(IDC_APPLY);
  std::vector<RegValue> values = ReadSection(SECTION);
  ASSERT_NE(FindValue(values, "IconStyle"), nullptr);
  EXPECT_EQ(FindValue(values, "IconStyle")->Int(), 1);
  EXPECT_EQ(FindValue(values, "IconFrom")->Int(), 1) << "older copies still show the icon files";
  EXPECT_TRUE(WaitForImage(tray, w, nine, 2000));

  session.Show();
  EXPECT_EQ(SendDlgItemMessageA(w, IDC_HOUR_ICON, BM_GETCHECK, 0, 0), BST_CHECKED);
  session.Key(IDC_PLACE, 'B', true);
  session.Press(IDC_APPLY);
  values = ReadSection(SECTION);
  EXPECT_EQ(FindValue(values, "IconStyle")->Int(), 0);
  EXPECT_EQ(FindValue(values, "IconFrom")->Int(), 0);
  EXPECT_EQ(SendDlgItemMessageA(w, IDC_BUILTIN, BM_GETCHECK, 0, 0), BST_CHECKED);
  ASSERT_TRUE(session.Process().CloseConfirmed());
  DeleteSection(SECTION);
}
