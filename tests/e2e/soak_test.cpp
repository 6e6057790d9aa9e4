// Long use of the real program: many mouse movements over the icon, timer ticks, OK presses with
// icon files chosen and tray menus opened. What the process holds is counted from inside it
// before and after (Wine's GetGuiResources and GetProcessHandleCount only return 0), and must stay
// flat: a leak check, not a timing. FARHOUR_SOAK=full runs the long counts; the default is short
// enough for every test run.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/tray_stand_in.h"
#include "res/resource.h"

namespace {

constexpr DWORD POSTED_BATCH = 1000;  // posted messages wait in a queue of limited length

struct Counts {
  int mouseMoves;
  int timerTicks;
  int okPresses;
  int menus;
};

const Counts SHORT_RUN = {20000, 2000, 200, 30};
const Counts FULL_RUN = {100000, 10000, 1000, 200};

// How much a count may grow over a whole run: caches the platform fills on first use, never one
// object per operation.
struct Tolerance {
  DWORD kernelHandles = 3;
  DWORD gdiObjects = 6;
  // Wine keeps a cache of window device contexts, each with its clipping region, which grows while
  // the properties window is shown and hidden and levels off at a few dozen.
  DWORD deviceContexts = 64;
  DWORD userObjects = 3;
  DWORD heapBytes = 32 * 1024;
};

bool FullRun() {
  const char* soak = std::getenv("FARHOUR_SOAK");
  return soak && std::string(soak) == "full";
}

// A 32x32 icon of one colour, 32 bits per pixel, as an icon file holds it.
std::string IconFile(DWORD bgra) {
  auto put16 = [](std::string& s, unsigned v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
  };
  auto put32 = [&](std::string& s, DWORD v) {
    put16(s, v & 0xFFFF);
    put16(s, v >> 16);
  };
  const DWORD pixels = 32 * 32 * 4;
  const DWORD mask = 32 * 4;
  std::string file;
  put16(file, 0);
  put16(file, 1);
  put16(file, 1);
  file += std::string{32, 32, 0, 0};
  put16(file, 1);
  put16(file, 32);
  put32(file, 40 + pixels + mask);
  put32(file, 22);
  put32(file, 40);
  put32(file, 32);
  put32(file, 64);
  put16(file, 1);
  put16(file, 32);
  put32(file, 0);
  put32(file, pixels + mask);
  for (int i = 0; i < 4; ++i) put32(file, 0);
  for (DWORD i = 0; i < 32 * 32; ++i) put32(file, bgra);
  file += std::string(mask, '\0');
  return file;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
  HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  BOOL ok = ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
  CloseHandle(file);
  return ok && written == bytes.size();
}

// Two icon files in a folder of the test's own, removed afterwards.
class IconFolder {
 public:
  IconFolder() {
    char temp[MAX_PATH] = "";
    GetTempPathA(sizeof temp, temp);
    folder_ = std::string(temp) + "farhour_soak_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    active_ = folder_ + "\\day.ico";
    inactive_ = folder_ + "\\night.ico";
    written_ = WriteFile(active_, IconFile(0xFF20C040)) && WriteFile(inactive_, IconFile(0xFF402010));
  }
  ~IconFolder() {
    DeleteFileA(active_.c_str());
    DeleteFileA(inactive_.c_str());
    RemoveDirectoryA(folder_.c_str());
  }
  bool Written() const { return written_; }
  const std::string& Active() const { return active_; }
  const std::string& Inactive() const { return inactive_; }

 private:
  std::string folder_;
  std::string active_;
  std::string inactive_;
  bool written_ = false;
};

// Without a window manager, Wine waits a second for one at every hiding of a managed window; the
// properties window is hidden once per OK. Unmanaged windows skip that wait. The setting is read
// when a process starts, and put back as it was afterwards.
class UnmanagedWindows {
 public:
  UnmanagedWindows() {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, KEY, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_, nullptr) !=
        ERROR_SUCCESS) {
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
  ~UnmanagedWindows() {
    if (!key_) return;
    if (had_) {
      RegSetValueExA(key_, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.data()),
                     static_cast<DWORD>(previous_.size()));
    } else {
      RegDeleteValueA(key_, "Managed");
    }
    RegCloseKey(key_);
  }
  UnmanagedWindows(const UnmanagedWindows&) = delete;
  UnmanagedWindows& operator=(const UnmanagedWindows&) = delete;

 private:
  static constexpr const char* KEY = "Software\\Wine\\X11 Driver";
  HKEY key_ = nullptr;
  bool had_ = false;
  std::string previous_;
};

void Sync(HWND window) {
  DWORD_PTR result = 0;
  // A sent message is handled after everything posted before it.
  (void)SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 60000, &result);
}

void PostMany(HWND window, UINT message, WPARAM wParam, LPARAM lParam, int count) {
  for (int done = 0; done < count;) {
    for (DWORD i = 0; i < POSTED_BATCH && done < count; ++i, ++done) PostMessageA(window, message, wParam, lParam);
    Sync(window);
  }
}

struct MenuSearch {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindOpenMenu(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<MenuSearch*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char className[16] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (pid != search->processId || !IsWindowVisible(hwnd) || lstrcmpA(className, "#32768") != 0) return TRUE;
  search->found = hwnd;
  return FALSE;
}

HWND OpenMenu(DWORD processId) {
  MenuSearch search{processId, nullptr};
  EnumWindows(FindOpenMenu, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// A right click on the icon, then Escape once the menu is up. False when it never came or never went.
bool OpenAndDismissMenu(HWND window, DWORD processId) {
  PostMessageA(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_RBUTTONDOWN);
  HWND menu = nullptr;
  for (int i = 0; i < 500 && !menu; ++i) {
    menu = OpenMenu(processId);
    if (!menu) Sleep(5);
  }
  if (!menu) return false;
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 1 | (3u << 30));
  for (int i = 0; i < 500 && OpenMenu(processId); ++i) Sleep(5);
  Sync(window);
  return !OpenMenu(processId);
}

bool ShowAndApply(HWND window) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDBLCLK, SMTO_NORMAL, 10000, &result)) return false;
  if (!IsWindowVisible(window)) return false;
  // A refused OK would wait on its message box: the time-out tells.
  if (!SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_APPLY)), SMTO_NORMAL, 10000, &result)) {
    return false;
  }
  return !IsWindowVisible(window);
}

void Print(const char* phase, int operations, const ProcessResources& r, DWORD milliseconds) {
  std::printf("[ SOAK     ] %-18s %6d ops %5lu ms: handles %3lu, GDI %3lu + DC/region %3lu, USER %3lu, "
              "heap %7lu B, working set %5lu KB, pagefile %5lu KB\n",
              phase, operations, milliseconds, r.kernelHandles, r.gdiObjects, r.deviceContexts, r.userObjects,
              r.heapBytes, r.workingSetBytes / 1024, r.pagefileBytes / 1024);
  std::fflush(stdout);
}

void ExpectFlat(const char* phase, const ProcessResources& before, const ProcessResources& after) {
  const Tolerance t;
  SCOPED_TRACE(phase);
  EXPECT_LE(after.kernelHandles, before.kernelHandles + t.kernelHandles);
  EXPECT_LE(after.gdiObjects, before.gdiObjects + t.gdiObjects);
  EXPECT_LE(after.deviceContexts, before.deviceContexts + t.deviceContexts);
  EXPECT_LE(after.userObjects, before.userObjects + t.userObjects);
  EXPECT_LE(after.heapBytes, before.heapBytes + t.heapBytes);
}

}  // namespace

TEST(Soak, LongUseLeavesHandlesObjectsAndMemoryFlat) {
  const Counts counts = FullRun() ? FULL_RUN : SHORT_RUN;
  IconFolder icons;
  ASSERT_TRUE(icons.Written());
  const std::string section = "Settings43";
  DeleteSection(section);
  WriteSectionString(section, "Place", "Soak");
  WriteSectionString(section, "Offset", "0.000000");
  WriteSectionDword(section, "From", 0);
  WriteSectionDword(section, "To", 23);
  WriteSectionDword(section, "Weekdays", 0);
  WriteSectionDword(section, "IconFrom", 1);
  WriteSectionString(section, "UserActiveIcon", icons.Active());
  WriteSectionString(section, "UserInActiveIcon", icons.Inactive());

  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  FarhourProcess farhour("43");
  ASSERT_NE(farhour.Window(), nullptr);
  HWND window = farhour.Window();
  ProcessProbe probe(window);
  ASSERT_TRUE(probe.Installed());

  // One of everything first, so that what the platform makes on first use is in the baseline.
  ASSERT_TRUE(ShowAndApply(window));
  ASSERT_TRUE(OpenAndDismissMenu(window, farhour.Id()));
  PostMany(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE, 10);
  PostMany(window, WM_TIMER, REFRESH_TIMER_ID, 0, 10);
  ProcessResources base;
  ASSERT_TRUE(probe.CountResources(&base));
  Print("start", 0, base, 0);

  struct Phase {
    const char* name;
    int operations;
  };
  const Phase phases[] = {
      {"mouse movements", counts.mouseMoves},
      {"timer ticks", counts.timerTicks},
      {"OK with icon files", counts.okPresses},
      {"tray menus", counts.menus},
  };
  for (int p = 0; p < 4; ++p) {
    const DWORD start = GetTickCount();
    if (p == 0) PostMany(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE, phases[p].operations);
    if (p == 1) PostMany(window, WM_TIMER, REFRESH_TIMER_ID, 0, phases[p].operations);
    for (int i = 0; p == 2 && i < phases[p].operations; ++i) ASSERT_TRUE(ShowAndApply(window)) << "OK press " << i;
    for (int i = 0; p == 3 && i < phases[p].operations; ++i) {
      ASSERT_TRUE(OpenAndDismissMenu(window, farhour.Id())) << "menu " << i;
    }
    const DWORD elapsed = GetTickCount() - start;
    ASSERT_TRUE(farhour.Running());
    ProcessResources after;
    ASSERT_TRUE(probe.CountResources(&after));
    Print(phases[p].name, phases[p].operations, after, elapsed);
    ExpectFlat(phases[p].name, base, after);
  }

  // After all that the icon still shows the clock and an icon made from one of the files.
  std::vector<TrayCall> calls = tray.Calls();
  ASSERT_FALSE(calls.empty());
  const TrayCall& last = calls.back();
  EXPECT_EQ(last.tip.rfind("Soak = ", 0), 0u) << last.tip;
  HICON day = static_cast<HICON>(LoadImageA(nullptr, icons.Active().c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
  HICON night = static_cast<HICON>(LoadImageA(nullptr, icons.Inactive().c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
  ASSERT_NE(day, nullptr);
  ASSERT_NE(night, nullptr);
  const std::string dayImage = tray.ImageOf(day);
  const std::string nightImage = tray.ImageOf(night);
  EXPECT_FALSE(dayImage.empty());
  EXPECT_TRUE(last.image == dayImage || last.image == nightImage) << "the image of an icon file";
  DestroyIcon(day);
  DestroyIcon(night);

  ASSERT_TRUE(farhour.CloseConfirmed());
  DeleteSection(section);
}
