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
#include <ctime>
#include <functional>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "e2e/tray_stand_in.h"
#include "icons/hour_icon_win.h"
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
// Hour changes of a place that shows the hour there: each one draws a new icon and destroys the old.
constexpr int SHORT_HOUR_CHANGES = 500;
constexpr int FULL_HOUR_CHANGES = 10000;

// How much a count may grow over a whole run: caches the platform fills on first use, never one
// object per operation.
struct Tolerance {
  DWORD kernelHandles = 3;
  DWORD gdiObjects = 6;
  // Wine's cache of window device contexts, each with its clipping region, grows while the
  // properties window is shown and hidden; with the system-colour pens and brushes made at their
  // first paint it levels off near 140 objects in all.
  DWORD drawingObjects = 160;
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
  HANDLE file =
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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

bool PostMany(ProcessProbe& probe, HWND window, UINT message, WPARAM wParam, LPARAM lParam, int count) {
  for (int done = 0; done < count;) {
    for (DWORD i = 0; i < POSTED_BATCH && done < count; ++i, ++done) {
      if (!PostMessageA(window, message, wParam, lParam)) return false;
    }
    if (!probe.Sync()) return false;
  }
  return true;
}

bool Repeat(int count, const std::function<bool()>& operation) {
  for (int i = 0; i < count; ++i) {
    if (!operation()) return false;
  }
  return true;
}

// A right click on the icon, then Escape once the menu is up. False when it never came or never went.
bool OpenAndDismissMenu(HWND window, DWORD processId) {
  PostMessageA(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_RBUTTONDOWN);
  HWND menu = OpenMenuWindow(processId, 2500);
  if (!menu) return false;
  PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 1);
  PostMessageA(menu, WM_KEYUP, VK_ESCAPE, 1 | (3u << 30));
  for (int i = 0; i < 500 && OpenMenuWindow(processId, 0); ++i) Sleep(5);
  return !OpenMenuWindow(processId, 0);
}

bool ShowAndApply(HWND window) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDBLCLK, SMTO_NORMAL, 10000,
                           &result) ||
      !IsWindowVisible(window)) {
    return false;
  }
  // A refused OK would wait on its message box: the time-out tells.
  if (!SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED),
                           reinterpret_cast<LPARAM>(GetDlgItem(window, IDC_APPLY)), SMTO_NORMAL, 10000, &result)) {
    return false;
  }
  return !IsWindowVisible(window);
}

void Print(const char* phase, int operations, const ProcessResources& r, DWORD milliseconds) {
  std::printf("[ SOAK     ] %-18s %6d ops %5lu ms: handles %3lu, GDI %3lu + drawing %3lu, USER %3lu, "
              "heap %7lu B, working set %5lu KB, pagefile %5lu KB\n",
              phase, operations, milliseconds, r.kernelHandles, r.gdiObjects, r.drawingObjects, r.userObjects,
              r.heapBytes, r.workingSetBytes / 1024, r.pagefileBytes / 1024);
  std::fflush(stdout);
}

void ExpectFlat(const char* phase, const ProcessResources& before, const ProcessResources& after) {
  const Tolerance t;
  SCOPED_TRACE(phase);
  EXPECT_LE(after.kernelHandles, before.kernelHandles + t.kernelHandles);
  EXPECT_LE(after.gdiObjects, before.gdiObjects + t.gdiObjects);
  EXPECT_LE(after.drawingObjects, before.drawingObjects + t.drawingObjects);
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
  // A place at about noon with a window of the whole day: always active.
  const std::time_t now = std::time(nullptr);
  WriteSectionString(section, "Offset", std::to_string(12 - std::localtime(&now)->tm_hour) + ".000000");
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
  ASSERT_TRUE(PostMany(probe, window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE, 10));
  ASSERT_TRUE(PostMany(probe, window, WM_TIMER, REFRESH_TIMER_ID, 0, 10));
  ProcessResources base;
  ASSERT_TRUE(probe.CountResources(&base));
  Print("start", 0, base, 0);

  // Each phase repeats one operation; the mouse and the timer arrive in posted batches, as the
  // shell and the system deliver them.
  struct Phase {
    const char* name;
    int operations;
    std::function<bool(int)> run;  // does that many, false when one failed
  };
  const Phase phases[] = {
      {"mouse movements", counts.mouseMoves,
       [&](int n) { return PostMany(probe, window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE, n); }},
      {"timer ticks", counts.timerTicks,
       [&](int n) { return PostMany(probe, window, WM_TIMER, REFRESH_TIMER_ID, 0, n); }},
      {"OK with icon files", counts.okPresses, [&](int n) { return Repeat(n, [&] { return ShowAndApply(window); }); }},
      {"tray menus", counts.menus,
       [&](int n) { return Repeat(n, [&] { return OpenAndDismissMenu(window, farhour.Id()); }); }},
  };
  for (const Phase& phase : phases) {
    const DWORD start = GetTickCount();
    ASSERT_TRUE(phase.run(phase.operations)) << phase.name;
    const DWORD elapsed = GetTickCount() - start;
    ASSERT_TRUE(farhour.Running());
    ProcessResources after;
    ASSERT_TRUE(probe.CountResources(&after));
    Print(phase.name, phase.operations, after, elapsed);
    ExpectFlat(phase.name, base, after);
  }

  // After all that the icon still shows the clock and an icon made from one of the files.
  std::vector<TrayCall> calls = tray.Calls();
  ASSERT_FALSE(calls.empty());
  const TrayCall& last = calls.back();
  EXPECT_EQ(last.tip.rfind("Soak = ", 0), 0u) << last.tip;
  auto load = [](const std::string& path) {
    return static_cast<HICON>(LoadImageA(nullptr, path.c_str(), IMAGE_ICON, 32, 32, LR_LOADFROMFILE));
  };
  HICON day = load(icons.Active());
  HICON night = load(icons.Inactive());
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

// A place showing the hour there, its clock moved on an hour at each refresh: the icon is drawn anew
// every time, and the one before is destroyed.
TEST(Soak, HourChangesLeaveObjectsAndMemoryFlat) {
  const int changes = FullRun() ? FULL_HOUR_CHANGES : SHORT_HOUR_CHANGES;
  const std::string section = "Settings43";
  DeleteSection(section);
  WriteStoredPlace(section, {"Soak", "0.000000", 0, 0, 23, 0, "", "", 0});
  WriteSectionDword(section, "IconStyle", 1);
  TrayStandIn tray;
  ProbedFarhour session("43");
  ASSERT_TRUE(session.Ready());
  HWND window = session.Window();
  // Friday 11 December 2026, 00:00:30 UTC, and on by an hour each time.
  const long long start = 1796947230;
  for (int i = 0; i < 30; ++i) {
    ASSERT_TRUE(session.Probe().SetClock(start + 3600LL * i));
    PostMessageA(window, WM_TIMER, REFRESH_TIMER_ID, 0);
  }
  ASSERT_TRUE(session.Sync());
  ProcessResources base;
  ASSERT_TRUE(session.Probe().CountResources(&base));
  Print("start", 0, base, 0);
  const DWORD began = GetTickCount();
  int done = 0;
  for (int checkpoint : {changes / 10, changes}) {
    for (; done < checkpoint; ++done) {
      ASSERT_TRUE(session.Probe().SetClock(start + 3600LL * (30 + done)));
      PostMessageA(window, WM_TIMER, REFRESH_TIMER_ID, 0);
    }
    ASSERT_TRUE(session.Sync());
    ProcessResources after;
    ASSERT_TRUE(session.Probe().CountResources(&after));
    Print("hour changes", done, after, GetTickCount() - began);
    ExpectFlat("hour changes", base, after);
  }
  // One shell call per change, and the last shows the hour the clock reached, active all day.
  std::size_t modifies = 0;
  std::string lastImage;
  for (const TrayCall& call : tray.Calls()) {
    if (call.window != Handle32(window) || call.message != NIM_MODIFY) continue;
    ++modifies;
    lastImage = call.image;
  }
  EXPECT_GE(modifies, static_cast<std::size_t>(changes));
  ASSERT_TRUE(session.Process().CloseConfirmed());
  OwnedIcon last = MakeHourIcon(TrayIconSize(), {(29 + changes) % 24, true, true}, TaskbarTheme::LIGHT);
  EXPECT_TRUE(lastImage == tray.ImageOf(last.Get()));
  DeleteSection(section);
}
