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

std::string StartupFolder() {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

struct Shortcut {
  std::string name;
  std::string target;
  std::string arguments;
};

// Reads a shortcut through the shell's link object, or, given a target, first makes it.
bool LinkOf(const std::string& path, Shortcut* shortcut, const char* newTarget = nullptr,
            const char* newArguments = "") {
  IShellLinkA* link = nullptr;
  IPersistFile* file = nullptr;
  WCHAR wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide, MAX_PATH);
  char target[MAX_PATH] = "", arguments[MAX_PATH] = "";
  bool ok = SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                       reinterpret_cast<void**>(&link))) &&
            SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
            (!newTarget || (SUCCEEDED(link->SetPath(newTarget)) && SUCCEEDED(link->SetArguments(newArguments)) &&
                            SUCCEEDED(file->Save(wide, TRUE)))) &&
            SUCCEEDED(file->Load(wide, STGM_READ)) && SUCCEEDED(link->GetPath(target, MAX_PATH, nullptr, 0)) &&
            SUCCEEDED(link->GetArguments(arguments, MAX_PATH));
  if (file) file->Release();
  if (link) link->Release();
  if (ok) *shortcut = {path.substr(path.find_last_of('\\') + 1), target, arguments};
  return ok;
}

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

void DeleteTestShortcuts() {
  for (const Shortcut& s : StartupShortcuts()) {
    if (lstrcmpiA(s.target.c_str(), FarhourExePath().c_str()) == 0 || s.name == "Farhour 1.lnk") {
      DeleteFileA((StartupFolder() + "\\" + s.name).c_str());
    }
  }
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

// From place 0's menu, Add a place twice starts places 1 and 2 with their windows in front; they get
// Startup shortcuts when place 0 has one. Remove on 1 asks, and on Yes takes its settings and its
// shortcut and ends that copy alone; Exit on 2 saves as Close does.
TEST(Places, AddedFromTheMenuRemovedAndEnded) {
  struct Row {
    bool signIn;  // place 0 starts at sign-in, through a shortcut of the user's naming
  };
  const Row rows[] = {{false}, {true}};
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  CoInitialize(nullptr);
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
    EXPECT_EQ(ShortcutsStarting("1"), row.signIn ? std::vector<std::string>{"Farhour 1 (2).lnk"}
                                                 : std::vector<std::string>{});
    EXPECT_EQ(ShortcutsStarting("2"), row.signIn ? std::vector<std::string>{"Farhour 2.lnk"}
                                                 : std::vector<std::string>{});

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

    // Exit asks as Close does, and saves: the new place had stored nothing before.
    PostMessageA(two.Window(), WM_COMMAND, IDC_DISMISS, 0);
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
  DeleteTestShortcuts();
  DeleteSection("Settings1");
  DeleteSection("Settings2");
  CoUninitialize();
}
