#include "app/places_win.h"

#include <atomic>
#include <climits>
#include <string>
#include <utility>

#include "app/command_line.h"
#include "app/copies_win.h"
#include "app/shortcuts_win.h"
#include "base/wide_text_win.h"
#include "clock/place_settings.h"
#include "res/resource.h"

namespace {

// How long the end of the program waits for work still going on: a shortcut takes a second or two.
constexpr DWORD JOBS_END_WAIT_MS = 10000;

// Starts the place's copy, which brings its properties window to the front itself; its process, or
// none when it could not start.
FileHandle StartCopy(int instanceNumber) {
  const std::string program = ThisProgram();
  if (program.empty()) return FileHandle();
  // The call may write into its command line.
  WideText commandLine = Wide("\"" + program + "\" " + ShowPropertiesArguments(instanceNumber));
  STARTUPINFOW startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started;
  ZeroMemory(&started, sizeof started);
  if (!CreateProcessW(Wide(program).c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return FileHandle();
  }
  FileHandle process(started.hProcess);
  FileHandle thread(started.hThread);
  // The user chose Add in this copy's menu, so this copy may hand the foreground to the new one.
  (void)AllowSetForegroundWindow(started.dwProcessId);
  return process;
}

}  // namespace

struct Places::Job {
  std::function<std::vector<PlaceFailure>()> work;
  HWND window = nullptr;
  std::vector<PlaceFailure> failures;
  // Set by the job's thread once failures holds its result; from then on the thread leaves the job
  // alone, and the window's thread may take it before the thread has ended.
  std::atomic<bool> done{false};
  FileHandle thread;
};

Places::Places(HINSTANCE instance, ProfileStore& store)
    : store_(store), planner_(instance, store, PlannerMark()) {}

Places::~Places() {
  for (std::unique_ptr<Job>& job : jobs_) {
    // A job that outlives the wait keeps its record: the process ends around it.
    if (job->thread && WaitForSingleObject(job->thread.Get(), JOBS_END_WAIT_MS) != WAIT_OBJECT_0) {
      (void)job.release();
    }
  }
}

void Places::Announce(HWND window, int instanceNumber) {
  if (window_) UnmarkPlaceWindow(window_, section_);
  window_ = window;
  section_ = SettingsSection(instanceNumber);
  if (window_) MarkPlaceWindow(window_, section_);
}

bool Places::AsksToShow(UINT message) const { return message != 0 && message == ShowPropertiesMessage(); }

int Places::FreeInstanceNumber() {
  // A copy started here that has ended gives its number back: its place was never kept.
  for (auto copy = started_.begin(); copy != started_.end();) {
    copy = WaitForSingleObject(copy->process.Get(), 0) == WAIT_TIMEOUT ? copy + 1 : started_.erase(copy);
  }
  for (int number = 1; number < INT_MAX; ++number) {
    bool starting = false;
    for (const StartedCopy& copy : started_) starting = starting || copy.number == number;
    const std::string section = SettingsSection(number);
    if (!starting && !store_.HasSection(section) && !PlaceRunning(section)) return number;
  }
  return 0;
}

bool Places::AddPlace(int fromInstanceNumber) {
  const int number = FreeInstanceNumber();
  if (number <= 0) return false;
  FileHandle process = StartCopy(number);
  if (!process) return false;
  started_.push_back(StartedCopy{number, std::move(process)});
  // The new place comes back at sign-in when the one it was added from does; a portable copy
  // started by hand makes no shortcuts.
  Begin([fromInstanceNumber, number] {
    std::vector<PlaceFailure> failures;
    if (StartsAtSignIn(fromInstanceNumber) && !MakeStartupShortcut(number)) {
      failures.push_back({IDS_SHORTCUT_NOT_MADE, std::to_string(number)});
    }
    return failures;
  });
  return true;
}

void Places::ForgetShortcuts(int instanceNumber) {
  Begin([instanceNumber] {
    std::vector<PlaceFailure> failures;
    for (const std::string& path : DeletePlaceShortcuts(instanceNumber)) {
      failures.push_back({IDS_SHORTCUT_NOT_DELETED, path});
    }
    return failures;
  });
}

DWORD WINAPI Places::RunJob(void* job) {
  auto* running = static_cast<Job*>(job);
  // No exception may leave the thread; work that ran out of memory tells nothing.
  try {
    running->failures = running->work();
  } catch (...) {
    running->failures.clear();
  }
  const HWND window = running->window;
  running->done.store(true, std::memory_order_release);
  if (window) (void)PostMessageW(window, PLACES_WORK_DONE_MESSAGE, 0, 0);
  return 0;
}

void Places::Begin(std::function<std::vector<PlaceFailure>()> work) {
  auto job = std::make_unique<Job>();
  job->work = std::move(work);
  job->window = window_;
  DWORD threadId = 0;
  job->thread = FileHandle(CreateThread(nullptr, 0, RunJob, job.get(), 0, &threadId));
  if (!job->thread) (void)RunJob(job.get());
  jobs_.push_back(std::move(job));
}

std::vector<PlaceFailure> Places::FinishedWork() {
  std::vector<PlaceFailure> failures;
  for (auto job = jobs_.begin(); job != jobs_.end();) {
    if (!(*job)->done.load(std::memory_order_acquire)) {
      ++job;
      continue;
    }
    failures.insert(failures.end(), (*job)->failures.begin(), (*job)->failures.end());
    job = jobs_.erase(job);
  }
  return failures;
}

void Places::PlanCall() {
  HWND open = FindPlannerWindow();
  if (!open || open == planner_.Hwnd()) {
    (void)planner_.Open();
    return;
  }
  // Another copy's: this copy has the foreground from its menu, and hands it on.
  if (IsIconic(open)) (void)ShowWindowAsync(open, SW_RESTORE);
  (void)SetForegroundWindow(open);
}
