// The setup program end to end, run the way a person's shell runs it: a silent install and the
// program started from its Start-menu shortcut, upgrades and moves among the user's own files and
// shortcuts, a running copy or a file held open, and the uninstaller with and without the settings.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "base/handles_win.h"
#include "e2e/driver.h"
#include "e2e/tray_stand_in.h"

namespace {

const char* const UNINSTALL_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Farhour";

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

// A file of the build, named by a variable of the test's environment, as a Windows path.
std::string BuildFile(const char* variable) {
  std::string path = std::string("Z:") + std::getenv(variable);
  std::replace(path.begin(), path.end(), '/', '\\');
  return path;
}

std::string Folder(int csidl, const char* name) {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, csidl, nullptr, 0, path);
  return std::string(path) + name;
}
std::string InstallDir() { return Folder(CSIDL_LOCAL_APPDATA, "\\Programs\\Farhour"); }
// Under Wine, Documents and the like are the Linux home; the profile folder is in the prefix.
std::string UserFolder(const char* name) { return Folder(CSIDL_PROFILE, name); }
std::string StartMenuLink() { return Folder(CSIDL_PROGRAMS, "\\Farhour.lnk"); }
std::string SignInLink() { return Folder(CSIDL_STARTUP, "\\Farhour.lnk"); }
// A second place's sign-in shortcut, made as README tells.
std::string PlaceTwoLink() { return Folder(CSIDL_STARTUP, "\\Farhour 2.lnk"); }
// The user's own, which start Notepad and a portable copy of Farhour.
std::string NotesLink() { return Folder(CSIDL_STARTUP, "\\Farhour notes.lnk"); }
std::string PortableLink() { return Folder(CSIDL_STARTUP, "\\Farhour portable.lnk"); }
// A place added from the icon's menu, and a user's shortcut of the same kind of name to Notepad.
std::string AddedPlaceLink() { return Folder(CSIDL_STARTUP, "\\Farhour 1.lnk"); }
std::string OtherThreeLink() { return Folder(CSIDL_STARTUP, "\\Farhour 3.lnk"); }
std::string Notepad() { return Folder(CSIDL_WINDOWS, "\\notepad.exe"); }

std::vector<WIN32_FIND_DATAA> FilesOf(const std::string& dir) {
  std::vector<WIN32_FIND_DATAA> files;
  WIN32_FIND_DATAA found;
  HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
  for (bool more = find != INVALID_HANDLE_VALUE; more; more = FindNextFileA(find, &found)) {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) files.push_back(found);
  }
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  return files;
}

void WriteText(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
std::string ReadText(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// Runs a command line. With wait, waits for it and every process it starts, such as the
// uninstaller's copy of itself in the temporary folder, and returns its own exit code; without, 0
// once it has started.
DWORD RunCommand(std::string commandLine, bool wait = true) {
  HANDLE job = CreateJobObjectA(nullptr, nullptr);
  STARTUPINFOA startup;
  GetStartupInfoA(&startup);
  PROCESS_INFORMATION info = {};
  DWORD code = 0xDEAD;
  if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED, nullptr, nullptr,
                     &startup, &info)) {
    AssignProcessToJobObject(job, info.hProcess);
    ResumeThread(info.hThread);
    code = 0;
    if (wait && WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION counts = {};
    for (int i = 0; wait && i < 1200 && QueryInformationJobObject(job, JobObjectBasicAccountingInformation, &counts,
                                                                  sizeof counts, nullptr) && counts.ActiveProcesses;
         ++i) {
      Sleep(100);
    }
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
  CloseHandle(job);
  return code;
}

// A shortcut's target and arguments as "target|arguments"; "<none>" when there is no shortcut. Given
// a new target, first makes the shortcut start it with the new arguments, as the shell's Properties do.
std::string LinkTarget(const std::string& link, const std::string& newTarget = "", const std::string& newArguments = "") {
  std::string result = "<none>";
  IShellLinkA* shellLink = nullptr;
  IPersistFile* file = nullptr;
  WCHAR widePath[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, widePath, MAX_PATH);
  char target[MAX_PATH] = "", arguments[MAX_PATH] = "";
  if (SUCCEEDED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                 reinterpret_cast<void**>(&shellLink))) &&
      SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))) &&
      (newTarget.empty() || (SUCCEEDED(shellLink->SetPath(newTarget.c_str())) &&
                             SUCCEEDED(shellLink->SetArguments(newArguments.c_str())) && SUCCEEDED(file->Save(widePath, TRUE)))) &&
      SUCCEEDED(file->Load(widePath, STGM_READ)) && SUCCEEDED(shellLink->GetPath(target, MAX_PATH, nullptr, 0)) &&
      SUCCEEDED(shellLink->GetArguments(arguments, MAX_PATH))) {
    result = std::string(target) + "|" + arguments;
  }
  if (file) file->Release();
  if (shellLink) shellLink->Release();
  return result;
}

// A key's values, texts as they are and numbers in decimal; empty without the key.
std::map<std::string, std::string> KeyValues(const char* path) {
  std::map<std::string, std::string> values;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return values;
  char name[256];
  BYTE data[1024] = {};
  DWORD nameLength = sizeof name, size = sizeof data, kind = 0;
  for (DWORD i = 0; RegEnumValueA(key, i, name, &nameLength, nullptr, &kind, data, &size) == ERROR_SUCCESS; ++i) {
    values[name] = kind == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data))
                                     : std::string(reinterpret_cast<char*>(data));
    nameLength = sizeof name;
    size = sizeof data;
  }
  RegCloseKey(key);
  return values;
}

bool KeyExists(const char* path) {
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  RegCloseKey(key);
  return true;
}

// What setup made, for comparing before and after: the program folder's files with their sizes and
// times, the shortcuts, the uninstall entry.
std::string InstalledState() {
  std::string state;
  for (const WIN32_FIND_DATAA& f : FilesOf(InstallDir())) {
    state += std::string(f.cFileName) + " " + std::to_string(f.nFileSizeLow) + " " +
             std::to_string(f.ftLastWriteTime.dwLowDateTime) + "\n";
  }
  state += LinkTarget(StartMenuLink()) + "\n" + LinkTarget(SignInLink()) + "\n";
  for (const auto& value : KeyValues(UNINSTALL_KEY)) state += value.first + "=" + value.second + "\n";
  return state;
}

std::string Places() {
  std::string places;
  for (const char* section : {"Software\\Brindlewood\\Farhour\\Settings", "Software\\Brindlewood\\Farhour\\Settings2"}) {
    for (const auto& value : KeyValues(section)) places += value.first + "=" + value.second + "\n";
  }
  return places;
}

class Setup : public ::testing::Test {
 protected:
  void SetUp() override {
    CoInitialize(nullptr);
    RemoveInstall();
    WriteStoredPlace("Settings", {"Lisbon", "1.000000", 7, 9, 17, 1, "", "", 0});
    WriteStoredPlace("Settings2", {"Tokyo", "9.000000", 12, 8, 18, 0, "", "", 0});
    ASSERT_EQ(RunCommand(Quoted(setup_) + " /S"), 0u);
  }
  void TearDown() override {
    if (running_) CloseFarhour();
    RemoveInstall();
    CoUninitialize();
  }
  static void RemoveInstall() {
    // With all they hold: a faulty setup may have put Farhour into folders of its own inside them.
    for (const std::string& dir : {InstallDir(), UserFolder("\\Chosen")}) RunCommand("cmd /c rd /s /q " + Quoted(dir));
    for (const std::string& link : {StartMenuLink(), SignInLink(), PlaceTwoLink(), NotesLink(), PortableLink(),
                                    AddedPlaceLink(), OtherThreeLink()}) {
      DeleteFileA(link.c_str());
    }
    SHDeleteKeyA(HKEY_CURRENT_USER, UNINSTALL_KEY);
  }
  // Starts what the Start-menu shortcut starts, as the shell does; true once its icon has reached
  // the notification area.
  bool StartFromStartMenu(const TrayStandIn& tray) {
    std::string link = LinkTarget(StartMenuLink());
    running_ = RunCommand(Quoted(link.substr(0, link.find('|'))) + " " + link.substr(link.find('|') + 1), false) == 0;
    if (!running_ || !tray.WaitForCalls(1, 30000)) return false;
    TrayCall add = tray.Calls().front();
    return add.message == NIM_ADD && (add.flags & NIF_ICON) && !add.image.empty();
  }
  // Ends the running copy through its Close command, as a person does.
  DWORD CloseFarhour() {
    running_ = false;
    return RunCommand(Quoted(BuildFile("FARHOUR_CTL")) + " close");
  }
  const std::string setup_ = BuildFile("FARHOUR_SETUP");
  bool running_ = false;
};

std::string NewerSetup() { return Quoted(BuildFile("FARHOUR_NEWER_SETUP")) + " /S"; }

}  // namespace

TEST_F(Setup, ASilentInstallPutsEachPieceInPlaceAndTheProgramShowsItsIcon) {
  std::string dir = InstallDir(), exe = dir + "\\farhour.exe";
  std::vector<std::string> names;
  DWORD bytes = 0;
  for (const WIN32_FIND_DATAA& f : FilesOf(dir)) {
    names.push_back(f.cFileName);
    bytes += f.nFileSizeLow;
  }
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::string>{"LICENSE.txt", "README.txt", "farhour.exe", "uninstall.exe"}));
  EXPECT_EQ(LinkTarget(StartMenuLink()), exe + "|");
  EXPECT_EQ(LinkTarget(SignInLink()), exe + "|");

  std::map<std::string, std::string> entry = KeyValues(UNINSTALL_KEY);
  const std::pair<const char*, std::string> rows[] = {
      {"DisplayName", "Farhour"},
      {"DisplayVersion", std::getenv("FARHOUR_VERSION")},
      {"Publisher", "Brindlewood"},
      {"DisplayIcon", exe + ",0"},
      {"UninstallString", Quoted(dir + "\\uninstall.exe")},
      {"QuietUninstallString", Quoted(dir + "\\uninstall.exe") + " /S"},
  };
  for (const auto& row : rows) EXPECT_EQ(entry[row.first], row.second) << row.first;
  EXPECT_NEAR(std::atoi(entry["EstimatedSize"].c_str()), bytes / 1024.0, 1.0) << "in KiB";

  TrayStandIn tray;
  EXPECT_TRUE(StartFromStartMenu(tray));
  EXPECT_EQ(CloseFarhour(), 0u);
}

struct Upgrade {
  const char* setup;  // variables of the test's environment
  const char* version;
  const char* signIn;  // the arguments the user gave the sign-in shortcut; null: the user removed it
};

class Reinstall : public Setup, public ::testing::WithParamInterface<Upgrade> {};

TEST_P(Reinstall, KeepsThePlacesTheFolderAndTheSignInShortcutAsTheUserLeftThem) {
  std::string exe = InstallDir() + "\\farhour.exe", places = Places(), size = KeyValues(UNINSTALL_KEY)["EstimatedSize"];
  if (GetParam().signIn) {
    ASSERT_NE(LinkTarget(SignInLink(), exe, GetParam().signIn), "<none>");
  } else {
    ASSERT_TRUE(DeleteFileA(SignInLink().c_str()));
  }
  WriteText(InstallDir() + "\\Tokyo.ico", std::string(100000, 'i'));  // no part of the program's size
  ASSERT_EQ(RunCommand(Quoted(BuildFile(GetParam().setup)) + " /S"), 0u);
  EXPECT_EQ(Places(), places);
  std::map<std::string, std::string> entry = KeyValues(UNINSTALL_KEY);
  EXPECT_EQ(entry["DisplayVersion"], std::getenv(GetParam().version));
  EXPECT_EQ(entry["InstallLocation"], InstallDir());
  EXPECT_NEAR(std::atoi(entry["EstimatedSize"].c_str()), std::atoi(size.c_str()), 1.0);
  EXPECT_EQ(LinkTarget(SignInLink()), GetParam().signIn ? exe + "|" + GetParam().signIn : "<none>");
}

INSTANTIATE_TEST_SUITE_P(SameAndNewer, Reinstall,
                         ::testing::Values(Upgrade{"FARHOUR_SETUP", "FARHOUR_VERSION", ""},
                                           Upgrade{"FARHOUR_NEWER_SETUP", "FARHOUR_NEWER_VERSION", ""},
                                           Upgrade{"FARHOUR_NEWER_SETUP", "FARHOUR_NEWER_VERSION", nullptr},
                                           Upgrade{"FARHOUR_NEWER_SETUP", "FARHOUR_NEWER_VERSION", "3"}));

// The chosen folder holds the user's own README.txt and LICENSE.txt: Farhour goes into a folder of its own there.
TEST_F(Setup, MovesIntoAnotherFolderAndLeavesTheUsersFilesAndTheEarlierFoldersUninstallerHarmless) {
  std::string earlier = InstallDir(), chosen = UserFolder("\\Chosen"), exe = chosen + "\\Farhour\\farhour.exe";
  ASSERT_NE(LinkTarget(PlaceTwoLink(), earlier + "\\farhour.exe", "2"), "<none>");
  CreateDirectoryA(chosen.c_str(), nullptr);
  for (const char* name : {"\\README.txt", "\\LICENSE.txt"}) WriteText(chosen + name, "mine");
  // Held open, as a virus scanner may do, the earlier folder's uninstaller stays behind.
  FileHandle held(CreateFileA((earlier + "\\uninstall.exe").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  ASSERT_EQ(RunCommand(Quoted(setup_) + " /S /D=" + chosen), 0u);
  held.Reset();
  EXPECT_EQ(FilesOf(earlier).size(), 1u) << "uninstall.exe alone";
  ASSERT_EQ(RunCommand(Quoted(earlier + "\\uninstall.exe") + " /S"), 0u);
  EXPECT_FALSE(PathFileExistsA(earlier.c_str()));
  ASSERT_EQ(RunCommand(NewerSetup()), 0u);

  EXPECT_EQ(KeyValues(UNINSTALL_KEY)["InstallLocation"] + "\\farhour.exe", exe);
  EXPECT_TRUE(PathFileExistsA(exe.c_str()));
  const std::pair<std::string, std::string> links[] = {
      {StartMenuLink(), exe + "|"}, {SignInLink(), exe + "|"}, {PlaceTwoLink(), exe + "|2"}};
  for (const auto& link : links) EXPECT_EQ(LinkTarget(link.first), link.second) << link.first;
  for (const char* name : {"\\README.txt", "\\LICENSE.txt"}) EXPECT_EQ(ReadText(chosen + name), "mine") << name;
}

TEST_F(Setup, StopsAtAFileItCannotWriteBeforeTheNewVersionIsRecorded) {
  FileHandle held(CreateFileA((InstallDir() + "\\LICENSE.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  EXPECT_NE(RunCommand(NewerSetup()), 0u);
  EXPECT_EQ(KeyValues(UNINSTALL_KEY)["DisplayVersion"], std::getenv("FARHOUR_VERSION"));
}

class WhileFarhourRuns : public Setup, public ::testing::WithParamInterface<std::string (*)()> {};

TEST_P(WhileFarhourRuns, ASilentRunFailsAndChangesNothing) {
  TrayStandIn tray;
  ASSERT_TRUE(StartFromStartMenu(tray));
  std::string before = InstalledState() + Places();
  EXPECT_NE(RunCommand(GetParam()()), 0u);
  EXPECT_EQ(InstalledState() + Places(), before);
  EXPECT_EQ(CloseFarhour(), 0u);
}

// Run in place, so that the exit code is the uninstaller's own.
std::string UninstallAll() { return Quoted(InstallDir() + "\\uninstall.exe") + " /S /REMOVESETTINGS _?=" + InstallDir(); }
INSTANTIATE_TEST_SUITE_P(SetupAndUninstall, WhileFarhourRuns, ::testing::Values(NewerSetup, UninstallAll));

class Uninstall : public Setup, public ::testing::WithParamInterface<std::pair<const char*, bool>> {};

TEST_P(Uninstall, RemovesWhatSetupMadeAndThePlacesOnlyWhenAsked) {
  ASSERT_TRUE(CopyFileA(SignInLink().c_str(), PlaceTwoLink().c_str(), FALSE));
  // The user's own: an icon file beside the program, and shortcuts named Farhour that start other programs.
  WriteText(InstallDir() + "\\Tokyo.ico", "icon");
  const std::pair<std::string, std::string> usersLinks[] = {
      {NotesLink(), Notepad()}, {PortableLink(), BuildFile("FARHOUR_EXE")}, {OtherThreeLink(), Notepad()}};
  for (const auto& link : usersLinks) ASSERT_NE(LinkTarget(link.first, link.second), "<none>");
  // As the program makes it for a place added from its menu: the program with the place's number.
  ASSERT_EQ(LinkTarget(AddedPlaceLink(), InstallDir() + "\\farhour.exe", "1"), InstallDir() + "\\farhour.exe|1");
  std::string places = Places();
  std::string quietly = KeyValues(UNINSTALL_KEY)["QuietUninstallString"];
  ASSERT_EQ(RunCommand(quietly + GetParam().first), 0u);
  EXPECT_EQ(FilesOf(InstallDir()).size(), 1u) << "the user's Tokyo.ico alone";
  for (const std::string& link : {StartMenuLink(), SignInLink(), PlaceTwoLink(), AddedPlaceLink()}) {
    EXPECT_EQ(LinkTarget(link), "<none>") << link;
  }
  for (const auto& link : usersLinks) EXPECT_EQ(LinkTarget(link.first), link.second + "|");
  EXPECT_FALSE(KeyExists(UNINSTALL_KEY));
  bool kept = GetParam().second;
  EXPECT_EQ(KeyExists("Software\\Brindlewood\\Farhour"), kept);
  EXPECT_EQ(Places(), kept ? places : "");
}

INSTANTIATE_TEST_SUITE_P(KeepingAndRemovingSettings, Uninstall,
                         ::testing::Values(std::make_pair("", true), std::make_pair(" /REMOVESETTINGS", false)));
