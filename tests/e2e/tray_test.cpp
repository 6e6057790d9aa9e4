// The tray icon as the shell receives it, and what the mouse on it does.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <ctime>
#include <regex>
#include <string>

#include "e2e/driver.h"
#include "e2e/tray_stand_in.h"

namespace {

// The program's own icons, loaded from its file at the size the shell gets them.
class ProgramIcons {
 public:
  ProgramIcons() {
    std::string path = FarhourExePath();
    module_ = LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  }
  ~ProgramIcons() {
    if (module_) FreeLibrary(module_);
  }
  HICON Get(int id) const { return module_ ? LoadTrayIcon(module_, id) : nullptr; }

 private:
  HMODULE module_ = nullptr;
};

// Settings that put the place at about noon, so that a window of 12:00am to 11:30pm is open
// whatever the time of the test, or that close the window for good.
void WritePlace(const std::string& section, const char* place, bool active, int icon) {
  DeleteSection(section);
  std::time_t now = std::time(nullptr);
  std::tm local = *std::localtime(&now);
  int offset = 12 - local.tm_hour;
  WriteSectionString(section, "Place", place);
  WriteSectionString(section, "Offset", std::to_string(offset) + ".000000");
  WriteSectionDword(section, "From", 0);
  WriteSectionDword(section, "To", active ? 23 : 0xFFFFFFFF);
  WriteSectionDword(section, "Weekdays", 0);
  WriteSectionDword(section, "Icon", static_cast<DWORD>(icon));
  WriteSectionDword(section, "IconFrom", 0);
}

std::vector<TrayCall> CallsOf(const TrayStandIn& tray, DWORD window) {
  std::vector<TrayCall> calls;
  for (const TrayCall& call : tray.Calls()) {
    if (call.window == window) calls.push_back(call);
  }
  return calls;
}

// The en_US pictures "h:mm:ss tt" and "dddd, MMMM d, yyyy", as the tip renders them.
const std::regex US_TIME(R"(\d\d:\d\d:\d\d (AM|PM)\. [A-Z][a-z]+day, [A-Z][a-z]+ \d\d, \d{4})");

}  // namespace

TEST(Tray, TheShellReceivesTheIconTipAndImage) {
  TrayStandIn tray;
  ProgramIcons icons;
  WritePlace("Settings4", "Tokyo", true, 12);
  FarhourProcess farhour("4");
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  std::vector<TrayCall> calls = CallsOf(tray, Handle32(farhour.Window()));
  ASSERT_GE(calls.size(), 2u);

  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(calls[0].id, TRAY_ICON_ID);
  EXPECT_EQ(calls[0].flags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON));
  EXPECT_EQ(calls[0].callbackMessage, TRAY_NOTIFY_MESSAGE);
  EXPECT_EQ(calls[0].tip, "");
  EXPECT_TRUE(calls[0].image == tray.ImageOf(icons.Get(149))) << "the active image of entry 0";

  EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(calls[1].flags, static_cast<UINT>(NIF_ICON | NIF_TIP));
  EXPECT_TRUE(std::regex_match(calls[1].tip, std::regex("Tokyo = " + std::string("12") + R"(:.*)")))
      << calls[1].tip;
  if (std::string(getenv("LANG") ? getenv("LANG") : "").rfind("en_US", 0) == 0) {
    EXPECT_TRUE(std::regex_match(calls[1].tip.substr(8), US_TIME)) << calls[1].tip;
  }
  EXPECT_TRUE(calls[1].image == tray.ImageOf(icons.Get(149 + 12))) << "the active image of Japan";
  EXPECT_FALSE(calls[1].image == tray.ImageOf(icons.Get(249 + 12)));
  EXPECT_FALSE(calls[1].image.empty());

  ASSERT_TRUE(farhour.CloseConfirmed());
  calls = CallsOf(tray, Handle32(farhour.Window()));
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(calls.back().id, TRAY_ICON_ID);
}

TEST(Tray, OutsideTheWindowTheTipIsBracketedAndTheImageInactive) {
  TrayStandIn tray;
  ProgramIcons icons;
  WritePlace("Settings4", "Oslo", false, 15);
  FarhourProcess farhour("4");
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  std::vector<TrayCall> calls = CallsOf(tray, Handle32(farhour.Window()));
  ASSERT_GE(calls.size(), 2u);
  EXPECT_TRUE(std::regex_match(calls[1].tip, std::regex(R"(\[Oslo = 12:.*\])"))) << calls[1].tip;
  EXPECT_TRUE(calls[1].image == tray.ImageOf(icons.Get(249 + 15))) << "the inactive image of Norway";
  ASSERT_TRUE(farhour.CloseConfirmed());
}

TEST(Tray, MouseMovementRefreshesOnlyOnChange) {
  TrayStandIn tray;
  WritePlace("Settings4", "Rome", true, 11);
  FarhourProcess farhour("4");
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  tray.Clear();
  DWORD start = GetTickCount();
  // Sent, not posted: each call returns once the program has handled it, so every refresh it makes
  // is counted below.
  for (int i = 0; i < 2000; ++i) SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE);
  DWORD seconds = (GetTickCount() - start) / 1000 + 1;
  std::vector<TrayCall> calls = CallsOf(tray, Handle32(farhour.Window()));
  // The en_US tip shows seconds: at most one modify per second that passed.
  EXPECT_LE(calls.size(), seconds + 1);
  for (const TrayCall& call : calls) EXPECT_EQ(call.message, static_cast<DWORD>(NIM_MODIFY));
  ASSERT_TRUE(farhour.CloseConfirmed());
}

TEST(Tray, DoubleClickShowsThePropertiesWindowInFront) {
  TrayStandIn tray;
  WritePlace("Settings4", "Paris", true, 8);
  FarhourProcess farhour("4");
  ASSERT_NE(farhour.Window(), nullptr);
  EXPECT_FALSE(IsWindowVisible(farhour.Window()));
  // The shell reports the first click's press and release, then the double-click.
  SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDOWN);
  SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONUP);
  EXPECT_FALSE(IsWindowVisible(farhour.Window())) << "a single click does nothing";
  SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDBLCLK);
  EXPECT_TRUE(IsWindowVisible(farhour.Window()));
  EXPECT_EQ(GetForegroundWindow(), farhour.Window());
  char place[64] = "";
  GetDlgItemTextA(farhour.Window(), 1000, place, sizeof place);
  EXPECT_STREQ(place, "Paris");
  ASSERT_TRUE(farhour.CloseConfirmed());
}

TEST(Tray, ARestartedShellGetsTheIconBack) {
  TrayStandIn tray;
  WritePlace("Settings4", "Lima", true, 3);
  FarhourProcess farhour("4");
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  tray.Clear();
  tray.ForgetIcons();
  SendMessageA(farhour.Window(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  std::vector<TrayCall> calls = CallsOf(tray, Handle32(farhour.Window()));
  ASSERT_EQ(calls.size(), 2u);
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD));
  EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_TRUE(std::regex_match(calls[1].tip, std::regex(R"(Lima = .*)"))) << calls[1].tip;
  ASSERT_TRUE(farhour.CloseConfirmed());
}

// Any program may broadcast "TaskbarCreated" while the shell still holds the icon; the shell then
// refuses the second add. The icon it holds must go on being refreshed and be removed at the end.
TEST(Tray, AReAnnouncedShellThatStillHoldsTheIconKeepsItCurrent) {
  TrayStandIn tray;
  WritePlace("Settings4", "Oslo", true, 3);
  FarhourProcess farhour("4");
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  tray.Clear();
  SendMessageA(farhour.Window(), RegisterWindowMessageA("TaskbarCreated"), 0, 0);
  Sleep(1100);  // the next tip differs by its seconds
  SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE);
  ASSERT_TRUE(farhour.CloseConfirmed());
  std::vector<TrayCall> calls = CallsOf(tray, Handle32(farhour.Window()));
  ASSERT_EQ(calls.size(), 4u);
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD)) << "refused: the shell holds the icon";
  EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_EQ(calls[2].message, static_cast<DWORD>(NIM_MODIFY)) << "the mouse movement's refresh";
  EXPECT_NE(calls[2].tip, calls[1].tip);
  EXPECT_EQ(calls[3].message, static_cast<DWORD>(NIM_DELETE));
}

// At sign-in the shell often refuses icons for a while; the icon must arrive once it takes them.
TEST(Tray, ABusyShellAtSignInGetsTheIconOnceItTakesIt) {
  TrayStandIn tray;
  tray.RefuseAdds(2);
  WritePlace("Settings4", "Kyiv", true, 3);
  FarhourProcess farhour("4");
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(4, 20000));
  ASSERT_TRUE(farhour.CloseConfirmed());
  std::vector<TrayCall> calls = CallsOf(tray, Handle32(farhour.Window()));
  ASSERT_EQ(calls.size(), 5u);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(calls[i].message, static_cast<DWORD>(NIM_ADD)) << i;
  EXPECT_EQ(calls[3].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_TRUE(std::regex_match(calls[3].tip, std::regex(R"(Kyiv = 12:.*)"))) << calls[3].tip;
  EXPECT_EQ(calls[4].message, static_cast<DWORD>(NIM_DELETE));
}

// One refused refresh must not freeze the icon: the next one sends the whole picture again.
TEST(Tray, ARefusedRefreshIsSentAgainAndTheIconRemovedAtExit) {
  TrayStandIn tray;
  WritePlace("Settings4", "Kyiv", true, 3);
  FarhourProcess farhour("4");
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  tray.FailCalls(true);
  Sleep(1100);  // the next tip differs by its seconds
  SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE);
  tray.FailCalls(false);
  tray.Clear();
  SendMessageA(farhour.Window(), WM_TIMER, 101, 0);
  ASSERT_TRUE(farhour.CloseConfirmed());
  std::vector<TrayCall> calls = CallsOf(tray, Handle32(farhour.Window()));
  ASSERT_EQ(calls.size(), 3u);
  EXPECT_EQ(calls[0].message, static_cast<DWORD>(NIM_ADD)) << "refused: the shell holds the icon";
  EXPECT_EQ(calls[1].message, static_cast<DWORD>(NIM_MODIFY));
  EXPECT_TRUE(std::regex_match(calls[1].tip, std::regex(R"(Kyiv = 12:.*)"))) << calls[1].tip;
  EXPECT_EQ(calls[2].message, static_cast<DWORD>(NIM_DELETE));
}
