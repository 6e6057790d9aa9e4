// Places added, removed and ended from the icon's menu, and the Startup shortcuts that bring them
// back at sign-in.
#include <gtest/gtest.h>

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/tray_stand_in.h"
#include "res/resource.h"

namespace {

std::vector<Shortcut> StartupShortcuts() {
  std::vector<Shortcut> shortcuts;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((StartupFolder() + "\\*.lnk").c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
    Shortcut shortcut;
    if (LinkOf(StartupFolder() + "\\" + found.cFileName, &shortcut)) shortcuts.push_back(shortcut);
  }
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  return shortcuts;
}

// The names of the Startup shortcuts that start the program under test with these arguments.
std::vector<std::string> ShortcutsStarting(const std::string& arguments) {
  std::vector<std::string> names;
  for (const Shortcut& s : StartupShortcuts()) {
    if (lstrcmpiA(s.target.c_str(), FarhourExePath().c_str()) == 0 && s.arguments == arguments) {
      names.push_back(s.name);
    }
  }
  std::sort(names.begin(), names.end());
  return names;
}

// Empties the test's own Startup folder.
void DeleteTestShortcuts() {
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((StartupFolder() + "\\*.lnk").c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
    const std::string path = StartupFolder() + "\\" + found.cFileName;
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    DeleteFileA(path.c_str());
  }
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
}

// Waits for the Startup shortcuts that start the place to be these; the program makes and deletes
// them in the background.
bool ShortcutsBecome(const std::string& arguments, const std::vector<std::string>& names) {
  for (DWORD end = GetTickCount() + 20000; ShortcutsStarting(arguments) != names; Sleep(100)) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
  }
  return true;
}

// The properties window of a copy that another one started, once it is in front, as the user who
// added the place needs it; null when it did not come within the wait.
HWND WindowInFront(int number, DWORD milliseconds) {
  const std::string caption = "Farhour (" + std::to_string(number) + ")";
  for (DWORD end = GetTickCount() + milliseconds; static_cast<LONG>(end - GetTickCount()) > 0; Sleep(50)) {
    HWND found = FindWindowA("#32770", caption.c_str());
    if (found && IsWindowVisible(found) && GetForegroundWindow() == found) return found;
  }
  return nullptr;
}

void Choose(HWND window, UINT command) { PostMessageA(window, WM_COMMAND, command, 0); }

}  // namespace

// What every test of places runs in: a Startup folder and a Start menu of the test's own, the
// stand-in tray, windows that Wine frames itself, and COM for reading shortcuts.
class Places : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(folders_.Ready());
    CoInitialize(nullptr);
    DeleteTestShortcuts();
  }
  void TearDown() override {
    DeleteTestShortcuts();
    CoUninitialize();
  }

  StandInShellFolders folders_;
  TrayStandIn tray_;
  UnmanagedWindows unmanaged_;
};

// From place 0's menu, Add a place twice starts places 1 and 2 with their windows in front; they get
// Startup shortcuts when place 0 has one. Remove on 1 asks, and on Yes takes its settings and its
// shortcut and ends that copy alone; Exit on 2 saves as Close does.
TEST_F(Places, AddedFromTheMenuRemovedAndEnded) {
  struct Row {
    bool signIn;  // place 0 starts at sign-in, through a shortcut of the user's naming
  };
  const Row rows[] = {{false}, {true}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.signIn ? "place 0 starts at sign-in" : "place 0 does not start at sign-in");
    DeleteTestShortcuts();
    DeleteSection("Settings1");
    DeleteSection("Settings2");
    Shortcut made;
    // Something else of the user's, under the name the first new place's shortcut would take.
    ASSERT_TRUE(LinkOf(StartupFolder() + "\\Farhour 1.lnk", &made, "C:\\windows\\notepad.exe", "1"));
    if (row.signIn) {
      ASSERT_TRUE(LinkOf(StartupFolder() + "\\My clock.lnk", &made, FarhourExePath().c_str(), ""));
    }

    FarhourProcess zero("");
    ASSERT_NE(zero.Window(), nullptr);
    Choose(zero.Window(), ID_TRAY_ADD_PLACE);
    FarhourProcess one(WindowInFront(1, 30000));
    ASSERT_NE(one.Window(), nullptr) << "place 1 with its window in front";
    Choose(zero.Window(), ID_TRAY_ADD_PLACE);
    FarhourProcess two(WindowInFront(2, 30000));
    ASSERT_NE(two.Window(), nullptr) << "place 2 with its window in front";
    EXPECT_TRUE(ShortcutsBecome("1", row.signIn ? std::vector<std::string>{"Farhour 1 (2).lnk"}
                                                : std::vector<std::string>{}));
    EXPECT_TRUE(ShortcutsBecome("2", row.signIn ? std::vector<std::string>{"Farhour 2.lnk"}
                                                : std::vector<std::string>{}));

    // The user names the new place at once.
    SetDlgItemTextA(one.Window(), IDC_PLACE, "Lima");
    PressButton(one.Window(), IDC_APPLY);
    for (int i = 0; i < 100 && IsWindowVisible(one.Window()); ++i) Sleep(50);

    const std::vector<RegValue> stored = ReadSection("Settings1");
    const RegValue* name = FindValue(stored, "Place");
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->Text(), "Lima");
    const std::vector<std::string> shortcutsOfOne = ShortcutsStarting("1");
    for (UINT answer : {IDNO, IDYES}) {
      SCOPED_TRACE(answer == IDYES ? "Yes" : "No");
      Choose(one.Window(), ID_TRAY_REMOVE_PLACE);
      HWND question = one.WaitForMessageBox(10000);
      ASSERT_NE(question, nullptr);
      EXPECT_EQ(WindowText(question), "Farhour");
      EXPECT_EQ(MessageBoxText(question),
                "Remove Lima from the notification area? Its settings are deleted and it no longer starts when "
                "you sign in.");
      PressButton(question, answer);
      const bool removed = answer == IDYES;
      EXPECT_EQ(one.WaitForExit(removed ? 20000 : 500), removed);
      bool exists = false;
      EXPECT_EQ(ReadSection("Settings1", &exists).size(), removed ? 0u : stored.size());
      EXPECT_EQ(exists, !removed);
      EXPECT_EQ(ShortcutsStarting("1"), removed ? std::vector<std::string>{} : shortcutsOfOne);
    }
    EXPECT_TRUE(LinkOf(StartupFolder() + "\\Farhour 1.lnk", &made)) << "another program's shortcut stays";
    EXPECT_EQ(made.arguments, "1");
    EXPECT_EQ(ShortcutsStarting(""), row.signIn ? std::vector<std::string>{"My clock.lnk"}
                                                : std::vector<std::string>{});
    EXPECT_TRUE(zero.Running());
    EXPECT_TRUE(two.Running());

    // Exit asks as Close does, and saves: the new place had stored nothing before, and Cancel, handled
    // before the registry is read, stores nothing.
    SendMessageA(two.Window(), WM_COMMAND, MAKEWPARAM(IDC_DISMISS, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(two.Window(), IDC_DISMISS)));
    EXPECT_FALSE(IsWindowVisible(two.Window()));
    EXPECT_TRUE(ReadSection("Settings2").empty());
    Choose(two.Window(), ID_TRAY_EXIT);
    HWND question = two.WaitForMessageBox(10000);
    ASSERT_NE(question, nullptr);
    EXPECT_EQ(MessageBoxText(question), "Are you sure you want to remove Farhour \nfrom the taskbar's status area?");
    PressButton(question, IDYES);
    EXPECT_TRUE(two.WaitForExit(20000));
    EXPECT_EQ(ReadSection("Settings2").size(), 10u);
    EXPECT_EQ(ShortcutsStarting("2").size(), row.signIn ? 1u : 0u) << "Exit keeps the place";

    ASSERT_TRUE(zero.CloseConfirmed());
  }
  DeleteSection("Settings1");
  DeleteSection("Settings2");
}

// Add a place returns at once: while the new copy starts (seconds under Wine) and the copy it was
// chosen in makes its Startup shortcut, that copy answers its icon's mouse moves and opens its menu
// within 200 ms, again and again, until the new place's window comes to the front.
TEST_F(Places, AddAnswersAtOnceWhileTheNewPlaceStarts) {
  DeleteSection("Settings1");
  Shortcut made;
  ASSERT_TRUE(LinkOf(StartupFolder() + "\\Farhour.lnk", &made, FarhourExePath().c_str(), ""));
  FarhourProcess zero("");
  ASSERT_NE(zero.Window(), nullptr);
  Choose(zero.Window(), ID_TRAY_ADD_PLACE);
  int answered = 0;
  for (DWORD end = GetTickCount() + 30000; static_cast<LONG>(end - GetTickCount()) > 0;) {
    HWND one = FindWindowA("#32770", "Farhour (1)");
    if (one && IsWindowVisible(one)) break;
    DWORD_PTR result = 0;
    const DWORD sent = GetTickCount();
    ASSERT_NE(SendMessageTimeoutA(zero.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE, SMTO_ABORTIFHUNG, 200, &result), 0)
        << "a mouse move answered within 200 ms, after " << answered;
    EXPECT_LE(GetTickCount() - sent, 200u);
    PostMessageA(zero.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_RBUTTONDOWN);
    const HWND menu = OpenMenuWindow(zero.Id(), 200);
    ASSERT_NE(menu, nullptr) << "the menu within 200 ms, after " << answered;
    PressKey(zero.Window(), VK_ESCAPE);
    for (DWORD closing = GetTickCount(); OpenMenuWindow(zero.Id(), 0) && GetTickCount() - closing < 5000;) Sleep(20);
    ++answered;
  }
  EXPECT_GE(answered, 1) << "the new place started before the first question";
  FarhourProcess one(WindowInFront(1, 30000));
  ASSERT_NE(one.Window(), nullptr) << "place 1 with its window in front";
  EXPECT_TRUE(ShortcutsBecome("1", {"Farhour 1.lnk"}));
  EXPECT_TRUE(zero.Running());
  one.Kill();
  ASSERT_TRUE(zero.CloseConfirmed());
  DeleteSection("Settings1");
}

// Add chosen twice in a row, the second time before the first new copy is up (it takes its number
// seconds later under Wine), starts two places, 1 and 2, not place 1 twice.
TEST_F(Places, TwoAddsInARowStartTwoPlaces) {
  DeleteSection("Settings1");
  DeleteSection("Settings2");
  FarhourProcess zero("");
  ASSERT_NE(zero.Window(), nullptr);
  Choose(zero.Window(), ID_TRAY_ADD_PLACE);
  Choose(zero.Window(), ID_TRAY_ADD_PLACE);
  HWND windows[2] = {};
  for (DWORD end = GetTickCount() + 30000; static_cast<LONG>(end - GetTickCount()) > 0 && !(windows[0] && windows[1]);
       Sleep(50)) {
    for (int i = 0; i < 2; ++i) {
      const HWND found = FindWindowA("#32770", ("Farhour (" + std::to_string(i + 1) + ")").c_str());
      if (found && IsWindowVisible(found)) windows[i] = found;
    }
  }
  ASSERT_NE(windows[0], nullptr) << "place 1's window";
  ASSERT_NE(windows[1], nullptr) << "place 2's window";
  FarhourProcess one(windows[0]);
  FarhourProcess two(windows[1]);
  EXPECT_NE(one.Id(), two.Id());
  one.Kill();
  two.Kill();
  ASSERT_TRUE(zero.CloseConfirmed());
  DeleteSection("Settings1");
  DeleteSection("Settings2");
}

// What Remove could not delete, it says, naming it. Settings that stay keep the place running as it
// was, shortcuts and all; a shortcut that stays is named, and the place, its settings deleted, ends.
TEST_F(Places, RemoveSaysWhatItCouldNotDelete) {
  struct Row {
    const char* label;
    bool keptSection;    // the section holds a key of its own, which the registry will not delete with it
    bool keptShortcut;   // the place's Startup shortcut is read-only
    const char* message;  // after the question; %s: the shortcut's path
    bool running;
  };
  const Row rows[] = {
      {"settings kept", true, false,
       "Farhour could not delete the settings of Berlin. The place stays as it was.", true},
      {"shortcut kept", false, true,
       "Farhour could not delete the shortcut %s: it still starts the place when you sign in.", false},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.label);
    DeleteTestShortcuts();
    DeleteSection("Settings58");
    WriteStoredPlace("Settings58", {"Berlin", "1.000000", 3, 16, 8, 1, "", "", 0});
    HKEY inside = nullptr;
    if (row.keptSection) {
      ASSERT_EQ(RegCreateKeyA(HKEY_CURRENT_USER, "Software\\Brindlewood\\Farhour\\Settings58\\Kept", &inside),
                ERROR_SUCCESS);
      RegCloseKey(inside);
    }
    const std::string shortcut = StartupFolder() + "\\Berlin.lnk";
    Shortcut made;
    ASSERT_TRUE(LinkOf(shortcut, &made, FarhourExePath().c_str(), "58"));
    if (row.keptShortcut) SetFileAttributesA(shortcut.c_str(), FILE_ATTRIBUTE_READONLY);

    FarhourProcess berlin("58");
    ASSERT_NE(berlin.Window(), nullptr);
    Choose(berlin.Window(), ID_TRAY_REMOVE_PLACE);
    HWND question = berlin.WaitForMessageBox(10000);
    ASSERT_NE(question, nullptr);
    PressButton(question, IDYES);
    ASSERT_TRUE(WaitForClose(question, 10000));
    HWND told = berlin.WaitForMessageBox(20000);
    ASSERT_NE(told, nullptr) << "the failure is told";
    std::string expected = row.message;
    const std::size_t at = expected.find("%s");
    if (at != std::string::npos) expected.replace(at, 2, shortcut);
    EXPECT_EQ(MessageBoxText(told), expected);
    PressButton(told, IDOK);
    EXPECT_EQ(berlin.WaitForExit(row.running ? 1000 : 20000), !row.running);
    bool exists = false;
    EXPECT_EQ(ReadSection("Settings58", &exists).size(), row.keptSection ? 9u : 0u);
    EXPECT_EQ(exists, row.keptSection);
    EXPECT_EQ(ShortcutsStarting("58"), std::vector<std::string>{"Berlin.lnk"}) << "the shortcut stays";
    if (row.running) {
      ASSERT_TRUE(berlin.CloseConfirmed());
    }
    RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\Brindlewood\\Farhour\\Settings58\\Kept");
  }
  DeleteSection("Settings58");
}
