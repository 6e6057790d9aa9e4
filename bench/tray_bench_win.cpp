// The real farhour.exe against a stand-in notification area, under Wine. Prints figures only:
//  1. shell calls of 10,000 mouse-movement notifications, with the user's time picture without
//     seconds ("HH:mm") and with the locale's own picture, which shows them;
//  2. the time from CreateProcess to the icon's add arriving at the tray, against a minimal program
//     that makes one window and one add (goal: median ratio at most 1.2).
// Usage: tray_bench [calls|startup|all] [starts of each program] [seconds the notifications take].
// FARHOUR_EXE and FARHOUR_MINIMAL_EXE name the two programs by their unix paths.
#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <memory>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/tray_stand_in.h"

namespace {

constexpr int MOUSE_MOVES = 10000;
const char* const SECTION_NUMBER = "61";
const char* const SECTION = "Settings61";
const char* const INTERNATIONAL_KEY = "Control Panel\\International";

std::string WindowsPath(const char* unixPath) {
  std::string path = unixPath ? unixPath : "";
  if (!path.empty() && path[0] == '/') {
    path = "Z:" + path;
    for (char& c : path) if (c == '/') c = '\\';
  }
  return path;
}

double Seconds() {
  static LARGE_INTEGER frequency = [] {
    LARGE_INTEGER f;
    QueryPerformanceFrequency(&f);
    return f;
  }();
  LARGE_INTEGER now;
  QueryPerformanceCounter(&now);
  return static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  if (n == 0) return 0;
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// The user's own time picture, replaced for as long as the object lives and put back as it was
// (including not being there at all) afterwards.
class TimePictureOverride {
 public:
  explicit TimePictureOverride(const char* picture) {
    if (RegCreateKeyExA(HKEY_CURRENT_USER, INTERNATIONAL_KEY, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                        nullptr) != ERROR_SUCCESS) {
      key_ = nullptr;
      return;
    }
    char old[128] = "";
    DWORD size = sizeof old - 1;
    DWORD kind = 0;
    had_ = RegQueryValueExA(key_, "sTimeFormat", nullptr, &kind, reinterpret_cast<BYTE*>(old), &size) ==
           ERROR_SUCCESS;
    if (had_) old_.assign(old, strnlen(old, sizeof old));
    Set(picture);
  }
  ~TimePictureOverride() {
    if (!key_) return;
    if (had_) {
      Set(old_.c_str());
    } else {
      (void)RegDeleteValueA(key_, "sTimeFormat");
    }
    RegCloseKey(key_);
  }
  TimePictureOverride(const TimePictureOverride&) = delete;
  TimePictureOverride& operator=(const TimePictureOverride&) = delete;
  bool Applied() const { return key_ != nullptr; }

 private:
  void Set(const char* picture) {
    (void)RegSetValueExA(key_, "sTimeFormat", 0, REG_SZ, reinterpret_cast<const BYTE*>(picture),
                         static_cast<DWORD>(std::strlen(picture) + 1));
  }

  HKEY key_ = nullptr;
  bool had_ = false;
  std::string old_;
};

// A place inside its active window whatever the time: 12:00am to 11:30pm, every day.
void WritePlace() {
  DeleteSection(SECTION);
  WriteSectionString(SECTION, "Place", "Bench");
  WriteSectionString(SECTION, "Offset", "0.000000");
  WriteSectionDword(SECTION, "From", 0);
  WriteSectionDword(SECTION, "To", 23);
  WriteSectionDword(SECTION, "Weekdays", 0);
  WriteSectionDword(SECTION, "Icon", 12);
  WriteSectionDword(SECTION, "IconFrom", 0);
}

std::vector<TrayCall> CallsOf(const TrayStandIn& tray, DWORD window) {
  std::vector<TrayCall> calls;
  for (const TrayCall& call : tray.Calls()) {
    if (call.window == window) calls.push_back(call);
  }
  return calls;
}

bool WaitForCallsOf(const TrayStandIn& tray, DWORD window, std::size_t count, DWORD milliseconds) {
  const DWORD end = GetTickCount() + milliseconds;
  while (CallsOf(tray, window).size() < count) {
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
    Sleep(10);
  }
  return true;
}

// A thread takes sent messages before posted ones, so a sent message does not wait for the
// notifications posted before it; but it is taken only when the thread asks for its next message.
// Sending after each post therefore keeps at most a couple of notifications waiting, and a few more
// sends at the end let the last of them through.
bool Sync(HWND window) {
  DWORD_PTR result = 0;
  return SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 10000, &result) != 0;
}

struct ShellCallFigures {
  bool ran = false;
  std::string tip;         // the tip of the modify that followed the add
  long posted = 0;
  std::size_t modifies = 0;
  std::size_t others = 0;  // any other call during the run
  std::size_t late = 0;    // calls that came after the run had ended
  double seconds = 0;
  long secondsSpanned = 0;
  long minutesSpanned = 0;
};

// Starts the program, waits for its add and first modify, then posts the notifications the shell
// sends while the mouse moves over the icon, and counts the calls the program makes in reply.
ShellCallFigures CountShellCalls(TrayStandIn& tray, const char* timePicture, double spanSeconds) {
  ShellCallFigures figures;
  WritePlace();
  // Set before the program starts, since it reads the pictures when its window is made.
  std::unique_ptr<TimePictureOverride> picture;
  if (timePicture) picture.reset(new TimePictureOverride(timePicture));

  tray.Clear();
  FarhourProcess farhour(SECTION_NUMBER);
  if (!farhour.Window()) return figures;
  const HWND window = farhour.Window();
  if (!WaitForCallsOf(tray, Handle32(window), 2, 10000)) return figures;
  figures.tip = CallsOf(tray, Handle32(window))[1].tip;

  tray.Clear();
  const std::time_t first = std::time(nullptr);
  const double start = Seconds();
  for (int i = 0; i < MOUSE_MOVES; ++i) {
    // Spread evenly over the span, as a mouse moving over the icon for that long would send them.
    while (Seconds() < start + spanSeconds * i / MOUSE_MOVES) Sleep(1);
    while (!PostMessageA(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE)) Sleep(1);
    ++figures.posted;
    if (!Sync(window)) break;
  }
  for (int i = 0; i < 3; ++i) (void)Sync(window);
  figures.seconds = Seconds() - start;
  const std::time_t last = std::time(nullptr);
  for (const TrayCall& call : CallsOf(tray, Handle32(window))) {
    if (call.message == NIM_MODIFY) {
      ++figures.modifies;
    } else {
      ++figures.others;
    }
  }
  // Nothing may still be waiting: past the next second, a late notification would show as one more
  // modify with the seconds picture.
  const std::size_t counted = CallsOf(tray, Handle32(window)).size();
  Sleep(1300);
  figures.late = CallsOf(tray, Handle32(window)).size() - counted;
  figures.secondsSpanned = static_cast<long>(last - first) + 1;
  figures.minutesSpanned = static_cast<long>(last / 60 - first / 60) + 1;
  figures.ran = true;
  (void)farhour.CloseConfirmed();
  return figures;
}

void BenchShellCalls(TrayStandIn& tray, double spanSeconds) {
  std::printf("Shell calls of %d mouse-movement notifications (0x8064, WM_MOUSEMOVE) to farhour.exe, spread over "
              "%.0f s\n", MOUSE_MOVES, spanSeconds);
  std::printf("goal: modifies <= minutes spanned without seconds (at most one within a minute), <= seconds "
              "spanned with them\n");
  std::printf("(late: calls in the 1.3 s after the run; any would mean notifications still unhandled)\n\n");
  std::printf("%-30s %7s %8s %6s %5s %8s %10s %10s  %s\n", "time picture", "posted", "modifies", "other", "late",
              "seconds", "s spanned", "m spanned", "first tip");
  struct Row {
    const char* label;
    const char* picture;
  };
  const Row rows[] = {{"\"HH:mm\" (no seconds)", "HH:mm"}, {"locale's own (\"h:mm:ss tt\")", nullptr}};
  for (const Row& row : rows) {
    ShellCallFigures f = CountShellCalls(tray, row.picture, spanSeconds);
    if (!f.ran) {
      std::printf("%-30s did not run: farhour.exe gave no window or no icon\n", row.label);
      continue;
    }
    std::printf("%-30s %7ld %8zu %6zu %5zu %8.2f %10ld %10ld  %s\n", row.label, f.posted, f.modifies, f.others,
                f.late, f.seconds, f.secondsSpanned, f.minutesSpanned, f.tip.c_str());
  }
  std::printf("\n");
}

// From CreateProcess to the add arriving at the tray, in seconds; negative when no add came.
double TimeToIcon(TrayStandIn& tray, const std::string& commandLine) {
  tray.Clear();
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  const double start = Seconds();
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return -1;
  }
  double arrived = -1;
  const double giveUp = start + 30;
  while (arrived < 0 && Seconds() < giveUp) {
    for (const TrayCall& call : tray.Calls()) {
      DWORD owner = 0;
      GetWindowThreadProcessId(reinterpret_cast<HWND>(static_cast<UINT_PTR>(call.window)), &owner);
      if (call.message == NIM_ADD && owner == info.dwProcessId) {
        arrived = Seconds();
        break;
      }
    }
    if (arrived < 0) Sleep(1);
  }
  // Let the program finish what follows its add before it is ended, so that the next start does
  // not share the machine with it.
  Sleep(200);
  TerminateProcess(info.hProcess, 0);
  WaitForSingleObject(info.hProcess, 10000);
  CloseHandle(info.hThread);
  CloseHandle(info.hProcess);
  return arrived < 0 ? -1 : arrived - start;
}

void BenchStartUp(TrayStandIn& tray, int count) {
  const std::string farhour = "\"" + FarhourExePath() + "\" " + SECTION_NUMBER;
  const std::string minimal = "\"" + WindowsPath(std::getenv("FARHOUR_MINIMAL_EXE")) + "\"";
  WritePlace();
  std::printf("Start-up: CreateProcess to the icon's add at the tray, %d starts of each, alternating\n", count);
  std::printf("goal: farhour.exe / minimal program <= 1.2 (medians)\n\n");

  // One start of each first, untimed, so that neither pays for a cold file cache alone.
  (void)TimeToIcon(tray, minimal);
  (void)TimeToIcon(tray, farhour);
  std::vector<double> farhourTimes;
  std::vector<double> minimalTimes;
  std::vector<double> ratios;
  int failures = 0;
  for (int i = 0; i < count; ++i) {
    double m = 0;
    double f = 0;
    if (i % 2 == 0) {
      m = TimeToIcon(tray, minimal);
      f = TimeToIcon(tray, farhour);
    } else {
      f = TimeToIcon(tray, farhour);
      m = TimeToIcon(tray, minimal);
    }
    if (m < 0 || f < 0) {
      ++failures;
      continue;
    }
    minimalTimes.push_back(m);
    farhourTimes.push_back(f);
    ratios.push_back(f / m);
  }
  if (farhourTimes.empty()) {
    std::printf("no start gave an icon\n\n");
    return;
  }
  auto row = [](const char* label, const std::vector<double>& v) {
    std::printf("%-16s %10.1f %10.1f %10.1f\n", label, *std::min_element(v.begin(), v.end()) * 1000,
                Median(v) * 1000, *std::max_element(v.begin(), v.end()) * 1000);
  };
  std::printf("%-16s %10s %10s %10s\n", "program", "min ms", "median ms", "max ms");
  row("minimal_tray.exe", minimalTimes);
  row("farhour.exe", farhourTimes);
  std::printf("\nratio of medians %.3f; median of pairwise ratios %.3f (min %.3f, max %.3f); failed pairs %d\n\n",
              Median(farhourTimes) / Median(minimalTimes), Median(ratios),
              *std::min_element(ratios.begin(), ratios.end()), *std::max_element(ratios.begin(), ratios.end()),
              failures);
}

}  // namespace

int main(int argc, char** argv) {
  const std::string part = argc > 1 ? argv[1] : "all";
  const int starts = argc > 2 ? std::max(1, std::atoi(argv[2])) : 21;
  const double spanSeconds = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  TrayStandIn tray;
  if (part == "all" || part == "calls") BenchShellCalls(tray, spanSeconds);
  if (part == "all" || part == "startup") BenchStartUp(tray, starts);
  DeleteSection(SECTION);
  return 0;
}
