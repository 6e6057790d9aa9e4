#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"

#include <objbase.h>
#include <shlobj.h>
#include <shlwapi.h>

#include "res/identity.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

namespace {

// What the program shows, as the tests write their expectations: UTF-8.
std::string Utf8Of(const wchar_t* text) {
  char utf8[4096] = "";
  WideCharToMultiByte(CP_UTF8, 0, text, -1, utf8, sizeof utf8, nullptr, nullptr);
  return utf8;
}

const char* const APP_KEY = "Software\\" COMPANY_NAME "\\" APPLICATION_NAME;

struct FindState {
  DWORD processId;
  HWND exclude;
  std::string caption;
  bool wantMessageBox;
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND hwnd, LPARAM lParam) {
  auto* state = reinterpret_cast<FindState*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != state->processId || hwnd == state->exclude) return TRUE;
  char className[64] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (std::string(className) != "#32770") return TRUE;
  if (state->wantMessageBox) {
    if (!IsWindowVisible(hwnd)) return TRUE;
    // A message box has a button for one of its answers.
    if (!GetDlgItem(hwnd, IDOK) && !GetDlgItem(hwnd, IDYES) && !GetDlgItem(hwnd, IDNO)) return TRUE;
  } else if (WindowText(hwnd) != state->caption) {
    return TRUE;
  }
  state->found = hwnd;
  return FALSE;
}

}  // namespace

int TrayIconSize() { return GetSystemMetrics(SM_CXSMICON); }

HICON LoadTrayIcon(HMODULE module, int id) {
  const int size = TrayIconSize();
  return static_cast<HICON>(LoadImageA(module, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, LR_SHARED));
}

std::string FarhourExePath() {
  const char* path = std::getenv("FARHOUR_EXE");
  std::string unixPath = path ? path : "farhour.exe";
  if (!unixPath.empty() && unixPath[0] == '/') {
    std::string windowsPath = "Z:" + unixPath;
    for (char& c : windowsPath) if (c == '/') c = '\\';
    return windowsPath;
  }
  return unixPath;
}


std::string RegValue::Text() const {
  std::string text(data.begin(), data.end());
  std::size_t zero = text.find('\0');
  if (zero != std::string::npos) text.erase(zero);
  return text;
}

int RegValue::Int() const {
  DWORD value = 0;
  if (data.size() == sizeof value) memcpy(&value, data.data(), sizeof value);
  return static_cast<int>(value);
}

std::vector<RegValue> ReadSection(const std::string& section, bool* exists) {
  std::vector<RegValue> values;
  HKEY key = nullptr;
  std::string path = std::string(APP_KEY) + "\\" + section;
  bool opened = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (exists) *exists = opened;
  if (!opened) return values;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameLength = sizeof name;
    DWORD kind = 0;
    DWORD size = 0;
    if (RegEnumValueA(key, i, name, &nameLength, nullptr, &kind, nullptr, &size) != ERROR_SUCCESS) break;
    RegValue value;
    value.name = name;
    value.kind = kind;
    value.data.resize(size);
    DWORD got = size;
    RegQueryValueExA(key, name, nullptr, nullptr, size ? value.data.data() : nullptr, &got);
    value.data.resize(got);
    values.push_back(value);
  }
  RegCloseKey(key);
  return values;
}

const RegValue* FindValue(const std::vector<RegValue>& values, const std::string& name) {
  for (const RegValue& v : values) {
    if (lstrcmpiA(v.name.c_str(), name.c_str()) == 0) return &v;
  }
  return nullptr;
}

void DeleteSection(const std::string& section) {
  std::string path = std::string(APP_KEY) + "\\" + section;
  SHDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}

static HKEY CreateSectionKey(const std::string& section) {
  HKEY key = nullptr;
  std::string path = std::string(APP_KEY) + "\\" + section;
  RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  return key;
}

void WriteSectionString(const std::string& section, const char* name, const std::string& text) {
  HKEY key = CreateSectionKey(section);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

void WriteSectionText(const std::string& section, const char* name, const std::string& utf8) {
  std::vector<wchar_t> wide(utf8.size() + 1, L'\0');
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(),
                                         static_cast<int>(wide.size()));
  std::vector<wchar_t> wideName(name, name + strlen(name) + 1);
  HKEY key = CreateSectionKey(section);
  RegSetValueExW(key, wideName.data(), 0, REG_SZ, reinterpret_cast<const BYTE*>(wide.data()),
                 static_cast<DWORD>((length + 1) * sizeof(wchar_t)));
  RegCloseKey(key);
}

bool ReadSectionText(const std::string& section, const char* name, std::string* utf8) {
  std::vector<wchar_t> wideName(name, name + strlen(name) + 1);
  const std::string path = std::string(APP_KEY) + "\\" + section;
  HKEY key = nullptr;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
  wchar_t text[1024] = L"";
  DWORD size = sizeof text - sizeof(wchar_t);
  DWORD kind = 0;
  const bool read = RegQueryValueExW(key, wideName.data(), nullptr, &kind, reinterpret_cast<BYTE*>(text), &size) ==
                        ERROR_SUCCESS &&
                    kind == REG_SZ;
  RegCloseKey(key);
  if (read) *utf8 = Utf8Of(text);
  return read;
}

void WriteSectionDword(const std::string& section, const char* name, DWORD value) {
  HKEY key = CreateSectionKey(section);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void WriteSectionValue(const std::string& section, const char* name, DWORD kind, const std::string& bytes) {
  HKEY key = CreateSectionKey(section);
  RegSetValueExA(key, name, 0, kind, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

std::vector<std::unique_ptr<FarhourProcess>> StartFarhours(const std::vector<std::string>& arguments) {
  std::vector<std::unique_ptr<FarhourProcess>> processes(arguments.size());
  std::vector<std::thread> starters;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    starters.emplace_back([&processes, &arguments, i] { processes[i].reset(new FarhourProcess(arguments[i])); });
  }
  for (std::thread& starter : starters) starter.join();
  return processes;
}

ProcessProbe::ProcessProbe(HWND farhourWindow) : hook_(farhourWindow ? new ProbeHook(farhourWindow) : nullptr) {}

ProcessProbe::~ProcessProbe() = default;

bool ProcessProbe::Installed() const { return hook_ && hook_->Installed(); }

bool ProcessProbe::CountResources(ProcessResources* counts) { return Installed() && hook_->CountResources(counts); }

bool ProcessProbe::Sync() {
  std::vector<std::string> lines;
  return Installed() && hook_->Ask(0, &lines, 60000);
}

bool ProcessProbe::SetLocalePictures(const wchar_t* timePicture, const wchar_t* longDatePicture) {
  return Installed() && hook_->SetLocalePictures(timePicture, longDatePicture);
}

namespace {
// Wine's settings for farhour.exe alone.
const char* const WINE_X11_KEY = "Software\\Wine\\AppDefaults\\farhour.exe\\X11 Driver";
}

UnmanagedWindows::UnmanagedWindows() {
  if (RegCreateKeyExA(HKEY_CURRENT_USER, WINE_X11_KEY, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                      nullptr) != ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  char value[16] = "";
  DWORD size = sizeof value;
  DWORD kind = 0;
  had_ = RegQueryValueExA(key_, "Managed", nullptr, &kind, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS;
  if (had_) previous_.assign(value, size);
  RegSetValueExA(key_, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
}

UnmanagedWindows::~UnmanagedWindows() {
  if (!key_) return;
  if (had_) {
    RegSetValueExA(key_, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.data()),
                   static_cast<DWORD>(previous_.size()));
  } else {
    RegDeleteValueA(key_, "Managed");
  }
  RegCloseKey(key_);
}

std::string WindowText(HWND hwnd) {
  wchar_t text[1024] = L"";
  GetWindowTextW(hwnd, text, 1024);
  return Utf8Of(text);
}

std::string MessageBoxText(HWND box) {
  // The message is the box's static text; its id is 0xFFFF.
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : std::string();
}

void PressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Settle(DWORD milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(20);
  }
}

FarhourProcess::FarhourProcess(const std::string& arguments) {
  std::string commandLine = "\"" + FarhourExePath() + "\" " + arguments;
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  WaitForInputIdle(process_, 20000);
  // Set-up ends with the title; wait until the window carries it.
  int number = std::atoi(arguments.c_str());
  std::string caption = number > 0 ? "Farhour (" + std::to_string(number) + ")" : "Farhour";
  for (int i = 0; i < 200 && !window_ && Running(); ++i) {
    FindState state{processId_, nullptr, caption, false, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&state));
    window_ = state.found;
    if (!window_) Sleep(50);
  }
}

FarhourProcess::FarhourProcess(HWND window) : window_(window) {
  if (!window) return;
  GetWindowThreadProcessId(window, &processId_);
  process_ = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_INFORMATION, FALSE, processId_);
}

FarhourProcess::~FarhourProcess() {
  if (process_) {
    if (Running()) Kill();
    CloseHandle(process_);
  }
}

bool FarhourProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool FarhourProcess::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
  if (!process_ || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_, exitCode);
  return true;
}

HWND FarhourProcess::WaitForMessageBox(DWORD milliseconds) const {
  DWORD end = GetTickCount() + milliseconds;
  do {
    FindState state{processId_, window_, "", true, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&state));
    if (state.found) return state.found;
    Sleep(50);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
  return nullptr;
}

HWND FarhourProcess::WaitForWindow(const std::string& caption, DWORD milliseconds) const {
  DWORD end = GetTickCount() + milliseconds;
  do {
    FindState state{processId_, window_, caption, false, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&state));
    if (state.found) return state.found;
    Sleep(50);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
  return nullptr;
}

bool FarhourProcess::CloseConfirmed() {
  if (!window_) return false;
  PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  HWND box = WaitForMessageBox(10000);
  if (!box) return false;
  PressButton(box, IDYES);
  return WaitForExit(20000);
}

bool WaitForClose(HWND window, DWORD milliseconds) {
  for (DWORD end = GetTickCount() + milliseconds; IsWindow(window); Sleep(20)) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
  }
  return true;
}

void FarhourProcess::Kill() {
  if (process_) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
}

std::string ControlText(HWND dialog, int id) {
  wchar_t text[1024] = L"";
  SendDlgItemMessageW(dialog, id, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text));
  return Utf8Of(text);
}

std::string ComboEntryText(HWND combo, int index) {
  // Asked for in Unicode: Wine 8 hands the ANSI form of this message across processes as wide text.
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length < 0) return std::string();
  std::vector<WCHAR> wide(static_cast<std::size_t>(length) + 1);
  if (SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data())) ==
      CB_ERR) {
    return std::string();
  }
  return Utf8Of(wide.data());
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info;
  ZeroMemory(&info, sizeof info);
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

int TickedWorkDays(HWND dialog) {
  const char* const names[] = {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"};
  int days = 0;
  for (int position = 0; position < 7; ++position) {
    const int id = IDC_WORK_DAY_FIRST + position;
    const std::string label = ControlText(dialog, id);
    const auto day = std::find(std::begin(names), std::end(names), label) - std::begin(names);
    if (day == 7) return -1;
    if (SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED) days |= 1 << day;
  }
  return days;
}

void TypeText(HWND control, const std::string& text) {
  PostMessageA(control, EM_SETSEL, 0, -1);
  if (text.empty()) PostMessageA(control, WM_CHAR, VK_BACK, 1);
  // The text is UTF-8; each UTF-16 unit is a character typed, as a keyboard in any script gives it.
  std::vector<wchar_t> units(text.size() + 1);
  const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), units.data(),
                                         static_cast<int>(units.size()));
  for (int i = 0; i < length; ++i) PostMessageW(control, WM_CHAR, units[i], 1);
}

void PressKey(HWND control, UINT virtualKey, bool alt) {
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, 0)) << 16;
  // Bit 29 is the Alt key's context bit; bits 30 and 31 mark a release.
  LPARAM context = alt ? (1 << 29) : 0;
  PostMessageA(control, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, 1 | scan | context);
  PostMessageA(control, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, 1 | scan | context | (3u << 30));
}

void WriteStoredPlace(const std::string& section, const StoredPlace& stored) {
  DeleteSection(section);
  WriteSectionString(section, "Place", stored.place);
  WriteSectionString(section, "Offset", stored.offset);
  WriteSectionDword(section, "Icon", static_cast<DWORD>(stored.icon));
  WriteSectionDword(section, "From", static_cast<DWORD>(stored.from));
  WriteSectionDword(section, "To", static_cast<DWORD>(stored.to));
  WriteSectionDword(section, "Weekdays", static_cast<DWORD>(stored.weekdays));
  WriteSectionString(section, "UserActiveIcon", stored.userActiveIcon);
  WriteSectionString(section, "UserInActiveIcon", stored.userInActiveIcon);
  WriteSectionDword(section, "IconFrom", static_cast<DWORD>(stored.iconFrom));
}

namespace {

struct MenuSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindMenuWindow(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<MenuSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char className[16] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (pid != search->processId || !IsWindowVisible(hwnd) || lstrcmpA(className, "#32768") != 0) return TRUE;
  search->found = hwnd;
  return FALSE;
}

}  // namespace

HWND OpenMenuWindow(DWORD processId, DWORD milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  for (;;) {
    MenuSearch search{processId, nullptr};
    EnumWindows(FindMenuWindow, reinterpret_cast<LPARAM>(&search));
    if (search.found || static_cast<LONG>(end - GetTickCount()) <= 0) return search.found;
    Sleep(5);
  }
}

namespace {

const char* const SHELL_FOLDERS_KEY = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\User Shell Folders";

std::string TemporaryFolder(const char* name) {
  char temp[MAX_PATH] = "";
  GetTempPathA(MAX_PATH, temp);
  const std::string folder = std::string(temp) + name;
  CreateDirectoryA(folder.c_str(), nullptr);
  return folder;
}

}  // namespace

StandInShellFolders::StandInShellFolders() {
  if (RegCreateKeyExA(HKEY_CURRENT_USER, SHELL_FOLDERS_KEY, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                      nullptr) != ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  Replace("Startup", TemporaryFolder("farhour-test-startup"));
  Replace("Programs", TemporaryFolder("farhour-test-programs"));
}

StandInShellFolders::~StandInShellFolders() {
  if (!key_) return;
  for (const Kept& kept : kept_) {
    if (kept.had) {
      RegSetValueExA(key_, kept.name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(kept.value.c_str()),
                     static_cast<DWORD>(kept.value.size() + 1));
    } else {
      RegDeleteValueA(key_, kept.name);
    }
  }
  RegCloseKey(key_);
}

void StandInShellFolders::Replace(const char* name, const std::string& folder) {
  char value[MAX_PATH] = "";
  DWORD size = sizeof value - 1;
  const bool had = RegQueryValueExA(key_, name, nullptr, nullptr, reinterpret_cast<BYTE*>(value), &size) ==
                   ERROR_SUCCESS;
  kept_.push_back({name, had, value});
  RegSetValueExA(key_, name, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                 static_cast<DWORD>(folder.size() + 1));
}

std::string StartupFolder() {
  char path[MAX_PATH] = "";
  SHGetFolderPathA(nullptr, CSIDL_STARTUP, nullptr, SHGFP_TYPE_CURRENT, path);
  return path;
}

bool LinkOf(const std::string& path, Shortcut* shortcut, const char* newTarget, const char* newArguments) {
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

