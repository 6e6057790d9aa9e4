// How long the copy in whose menu Add a place was chosen keeps its window's thread busy while the new
// place starts, under Wine with the tests' stand-in tray and Startup folder. Prints figures only.
// Each round chooses Add in a running place that starts at sign-in (so that its Startup shortcut is
// looked for and the new place's is made), then sends that copy one message after another until the
// new place's window is shown and its shortcut made. A sent message waits for whatever the thread is
// doing, so its round trip is the longest stretch the thread is busy. The same pings without Add give
// the floor.
// Usage: add_place_bench [rounds]. FARHOUR_EXE names farhour.exe by its unix path.
#include <windows.h>
#include <objbase.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/tray_stand_in.h"

namespace {

const char* const FROM_NUMBER = "62";
constexpr DWORD PING_GAP_MS = 2;
constexpr DWORD IDLE_PINGS = 500;

double Milliseconds() {
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart) / static_cast<double>(frequency.QuadPart);
}

// The round trip of one sent message, in milliseconds; negative when it was not answered in 20 s.
double Ping(HWND window) {
  DWORD_PTR result = 0;
  const double sent = Milliseconds();
  if (!SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_NORMAL, 20000, &result)) return -1.0;
  return Milliseconds() - sent;
}

struct Figures {
  std::size_t pings = 0;
  double median = 0;
  double longest = 0;
  double newWindowMs = 0;  // from the choice to the new place's window shown
  bool answered = true;
};

Figures Summarise(std::vector<double> trips) {
  Figures figures;
  figures.pings = trips.size();
  if (trips.empty()) return figures;
  std::sort(trips.begin(), trips.end());
  figures.median = trips[trips.size() / 2];
  figures.longest = trips.back();
  return figures;
}

// The place shortcut the added place gets in the Startup folder, if it is there.
bool HasShortcut(int number) {
  const std::string path = StartupFolder() + "\\Farhour " + std::to_string(number) + ".lnk";
  return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// The lowest number above 0 without a section, which Add takes.
int NextNumber() {
  for (int number = 1;; ++number) {
    bool exists = false;
    (void)ReadSection("Settings" + std::to_string(number), &exists);
    if (!exists) return number;
  }
}

Figures AddRound(HWND from) {
  const int number = NextNumber();
  const std::string caption = "Farhour (" + std::to_string(number) + ")";
  std::vector<double> trips;
  Figures figures;
  const double chosen = Milliseconds();
  PostMessageA(from, WM_COMMAND, ID_TRAY_ADD_PLACE, 0);
  HWND added = nullptr;
  for (const double end = chosen + 60000; Milliseconds() < end; Sleep(PING_GAP_MS)) {
    const double trip = Ping(from);
    if (trip < 0) {
      figures.answered = false;
      break;
    }
    trips.push_back(trip);
    if (!added) {
      HWND found = FindWindowA("#32770", caption.c_str());
      if (found && IsWindowVisible(found)) {
        added = found;
        figures.newWindowMs = Milliseconds() - chosen;
      }
    }
    if (added && HasShortcut(number)) break;
  }
  const bool answered = figures.answered;
  const double newWindowMs = figures.newWindowMs;
  figures = Summarise(trips);
  figures.answered = answered;
  figures.newWindowMs = newWindowMs;
  if (added) {
    FarhourProcess copy(added);
    copy.Kill();
  }
  DeleteSection("Settings" + std::to_string(number));
  DeleteFileA((StartupFolder() + "\\Farhour " + std::to_string(number) + ".lnk").c_str());
  return figures;
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 5;
  StandInShellFolders folders;
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  (void)CoInitialize(nullptr);
  Shortcut made;
  const std::string signIn = StartupFolder() + "\\Farhour " + FROM_NUMBER + " here.lnk";
  if (!folders.Ready() || !LinkOf(signIn, &made, FarhourExePath().c_str(), FROM_NUMBER)) {
    std::printf("could not make the stand-in Startup folder\n");
    return 1;
  }
  FarhourProcess from(FROM_NUMBER);
  if (!from.Window()) {
    std::printf("farhour.exe did not start\n");
    return 1;
  }
  std::vector<double> idle;
  for (DWORD i = 0; i < IDLE_PINGS; ++i, Sleep(PING_GAP_MS)) idle.push_back(Ping(from.Window()));
  const Figures floor = Summarise(idle);
  std::printf("The asking copy's window thread during Add a place (round trip of a sent message, ms)\n");
  std::printf("| round | pings | median | longest | new window shown after |\n|---|---|---|---|---|\n");
  std::printf("| no Add | %zu | %.2f | %.2f | |\n", floor.pings, floor.median, floor.longest);
  double longest = 0;
  for (int round = 1; round <= rounds; ++round) {
    const Figures figures = AddRound(from.Window());
    if (!figures.answered) std::printf("round %d: the copy did not answer within 20 s\n", round);
    std::printf("| %d | %zu | %.2f | %.2f | %.0f ms |\n", round, figures.pings, figures.median, figures.longest,
                figures.newWindowMs);
    longest = std::max(longest, figures.longest);
  }
  std::printf("Longest busy stretch over %d Adds: %.2f ms (goal: at most 100 ms)\n", rounds, longest);
  (void)from.CloseConfirmed();
  DeleteSection(std::string("Settings") + FROM_NUMBER);
  DeleteFileA(signIn.c_str());
  CoUninitialize();
  return 0;
}
