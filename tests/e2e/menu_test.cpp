// The tray icon's mouse buttons and its context menu, read inside the program through the probe.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <ctime>
#include <memory>
#include <regex>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "e2e/tray_stand_in.h"
#include "res/resource.h"

namespace {

const char* const SECTION = "Settings7";
const char* const INSTANCE = "7";

// A place at about noon now, inside its window (12:00am to 11:30pm) or never inside (To unset).
void WritePlace(const char* place, bool active) {
  std::time_t now = std::time(nullptr);
  int offset = 12 - std::localtime(&now)->tm_hour;
  std::string offsetText = std::to_string(offset) + ".000000";
  WriteStoredPlace(SECTION, {place, offsetText.c_str(), 5, 0, active ? 23 : -1, 0, "", "", 0});
}

// The open menu's top left corner is at the point.
void ExpectMenuAt(HWND menuWindow, int x, int y) {
  RECT r;
  GetWindowRect(menuWindow, &r);
  EXPECT_EQ(r.left, x);
  EXPECT_EQ(r.top, y);
}

}  // namespace

TEST(TrayMenu, TheRightButtonShowsTheClockOfThatMomentAndProperties) {
  struct Row {
    const char* place;
    bool active;
    const char* firstLine;  // a pattern
  };
  const Row rows[] = {
      {"Tokyo", true, R"(Tokyo = 12:\d\d:\d\d PM\. [A-Z][a-z]+day, [A-Z][a-z]+ \d\d, \d{4})"},
      {"Oslo", false, R"(\[Oslo = 12:\d\d:\d\d PM\. [A-Z][a-z]+day, [A-Z][a-z]+ \d\d, \d{4}\])"},
      {"A&B", true, R"(A&B = 12:.*)"},
  };
  TrayStandIn tray;
  WritePlace("Start", true);
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.place);
    WritePlace(row.place, row.active);
    // The stored settings reach the running place only through a showing and OK.
    session.Show();
    session.Press(IDC_APPLY);
    tray.Clear();
    SetCursorPos(300, 200);
    session.Notify(WM_RBUTTONDOWN);
    HWND menuWindow = OpenMenuWindow(session.Process().Id(), 5000);
    ASSERT_NE(menuWindow, nullptr) << "no menu";
    std::vector<ProbeMenuItem> items;
    ASSERT_TRUE(session.Probe().OpenMenu(&items));
    ASSERT_EQ(items.size(), 8u);
    EXPECT_EQ(items[0].id, ID_TRAY_NOW);
    EXPECT_TRUE(std::regex_match(items[0].text, std::regex(row.firstLine))) << items[0].text;
    EXPECT_TRUE(items[1].Separator());
    EXPECT_EQ(items[2].id, ID_TRAY_PROPERTIES);
    EXPECT_EQ(items[2].text, "&Properties");
    EXPECT_EQ(items[3].id, ID_TRAY_PLAN_CALL);
    EXPECT_EQ(items[3].text, "Plan a &call...");
    EXPECT_TRUE(items[4].Separator());
    EXPECT_EQ(items[5].id, ID_TRAY_ADD_PLACE);
    EXPECT_EQ(items[5].text, "&Add a place...");
    EXPECT_EQ(items[6].id, ID_TRAY_REMOVE_PLACE);
    EXPECT_EQ(items[6].text, "&Remove this place...");
    EXPECT_EQ(items[7].id, ID_TRAY_EXIT);
    EXPECT_EQ(items[7].text, "E&xit");
    for (const ProbeMenuItem& item : items) {
      if (item.Separator()) continue;
      EXPECT_EQ(item.state & (MFS_GRAYED | MFS_DISABLED | MFS_DEFAULT | MFS_CHECKED), 0u) << item.text;
    }
    // The line is computed at the press: the tray was last told nothing about this place.
    for (const TrayCall& call : tray.Calls()) {
      EXPECT_EQ(call.tip.find(row.place), std::string::npos) << call.tip;
    }
    ExpectMenuAt(menuWindow, 300, 200);

    // Escape closes it without a choice: nothing changes.
    PressKey(w, VK_ESCAPE);
    session.Sync();
    EXPECT_EQ(OpenMenuWindow(session.Process().Id(), 0), nullptr);
    EXPECT_FALSE(IsWindowVisible(w));
    EXPECT_TRUE(session.Process().Running());
  }
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(TrayMenu, EitherLineOfTheMenuOpensThePropertiesWindow) {
  struct Row {
    const char* how;
    std::vector<UINT> keys;
  };
  const Row rows[] = {
      {"the clock line", {VK_DOWN, VK_RETURN}},
      {"Properties, by arrows", {VK_DOWN, VK_DOWN, VK_RETURN}},
      {"Properties, by its letter", {'P'}},
  };
  WritePlace("Dublin", true);
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.how);
    // The settings are read anew: what the window shows is what the section holds now.
    WritePlace(row.how, true);
    session.Notify(WM_RBUTTONDOWN);
    ASSERT_NE(OpenMenuWindow(session.Process().Id(), 5000), nullptr);
    for (UINT key : row.keys) PressKey(w, key);
    session.Sync();
    EXPECT_EQ(OpenMenuWindow(session.Process().Id(), 0), nullptr);
    EXPECT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(ControlText(w, IDC_PLACE), row.how) << "a longer stored place is shown whole";
    PressButton(w, IDC_DISMISS);
    session.Sync();
  }
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(TrayMenu, OtherButtonsAndCommandsDoNothing) {
  struct Row {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;  // FROM_CONTROL: the handle of the window's OK button
    bool shows;
  };
  constexpr LPARAM FROM_CONTROL = -1;
  const Row rows[] = {
      // A control's notification that carries a menu command's id is not the menu's command.
      {WM_COMMAND, MAKEWPARAM(ID_TRAY_PROPERTIES, BN_CLICKED), FROM_CONTROL, false},
      {WM_COMMAND, MAKEWPARAM(ID_TRAY_EXIT, BN_CLICKED), FROM_CONTROL, false},
      {TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDOWN, false},
      {TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONUP, false},
      {TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_RBUTTONUP, false},
      {TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_RBUTTONDBLCLK, false},
      {TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MBUTTONDOWN, false},
      {WM_COMMAND, MAKEWPARAM(ID_TRAY_PROPERTIES, 1), 0, false},
      {WM_COMMAND, MAKEWPARAM(ID_TRAY_NOW, 1), 0, false},
      {WM_COMMAND, MAKEWPARAM(ID_TRAY_EXIT, 1), 0, false},
      {WM_COMMAND, MAKEWPARAM(ID_TRAY_REMOVE_PLACE, 1), 0, false},
      {WM_COMMAND, ID_TRAY_PROPERTIES, 0, true},
      {WM_COMMAND, ID_TRAY_NOW, 0, true},
  };
  WritePlace("Lusaka", true);
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << row.message << " " << row.wParam << " " << row.lParam);
    const LPARAM lParam = row.lParam == FROM_CONTROL ? reinterpret_cast<LPARAM>(session.Item(IDC_APPLY)) : row.lParam;
    PostMessageA(w, row.message, row.wParam, lParam);
    session.Sync();
    EXPECT_EQ(OpenMenuWindow(session.Process().Id(), 300), nullptr);
    EXPECT_EQ(session.Process().WaitForMessageBox(0), nullptr) << "no question";
    EXPECT_EQ(IsWindowVisible(w) != FALSE, row.shows);
    if (row.shows) {
      EXPECT_EQ(ControlText(w, IDC_PLACE), "Lusaka");
      PressButton(w, IDC_DISMISS);
      session.Sync();
    }
  }
  EXPECT_TRUE(session.Process().Running());
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

// The keyboard reaches the icon as the shell reports it once asked for its third version of
// notifications: Enter or Space shows the window in front, the menu key and Shift+F10 open the menu at
// the icon (where Windows cannot tell the icon's place, as under Wine, at the cursor). The
// WM_CONTEXTMENU that follows a right-click's release opens no second menu.
TEST(TrayMenu, TheKeyboardShowsTheWindowAndOpensTheMenu) {
  struct Row {
    const char* how;
    std::vector<UINT> notifications;
    bool menu;
    bool shows;
  };
  const Row rows[] = {
      {"Enter or Space", {WM_MOUSEMOVE, NIN_KEYSELECT}, false, true},
      {"the menu key", {WM_MOUSEMOVE, WM_CONTEXTMENU}, true, false},
      {"Shift+F10 after Enter", {NIN_KEYSELECT, WM_CONTEXTMENU}, true, true},
      {"a right-click's release and its WM_CONTEXTMENU", {WM_RBUTTONUP, WM_CONTEXTMENU}, false, false},
  };
  TrayStandIn tray;
  WritePlace("Quito", true);
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  EXPECT_EQ(tray.VersionOf(w), static_cast<UINT>(NOTIFYICON_VERSION)) << "asked for the keyboard's notifications";
  for (const Row& row : rows) {
    SCOPED_TRACE(row.how);
    SetCursorPos(320, 240);
    SetForegroundWindow(GetDesktopWindow());
    for (UINT notification : row.notifications) PostMessageA(w, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, notification);
    HWND menuWindow = OpenMenuWindow(session.Process().Id(), row.menu ? 5000 : 300);
    EXPECT_EQ(menuWindow != nullptr, row.menu);
    if (menuWindow) {
      ExpectMenuAt(menuWindow, 320, 240);
      PressKey(w, VK_ESCAPE);
    }
    session.Sync();
    EXPECT_EQ(IsWindowVisible(w) != FALSE, row.shows);
    if (row.shows) {
      EXPECT_EQ(GetForegroundWindow(), w) << "in front";
      EXPECT_EQ(ControlText(w, IDC_PLACE), "Quito");
      session.Press(IDC_DISMISS);
    }
  }
  ASSERT_TRUE(session.Process().CloseConfirmed());
}
