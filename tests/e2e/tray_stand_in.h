// A stand-in for the shell's notification area: a window of the shell's tray class, placed above the
// real one so that Shell_NotifyIcon calls of every process reach it, which records what it receives.
// It runs its own thread, so that a program calling the shell never waits on the test.
#ifndef FARHOUR_TESTS_E2E_TRAY_STAND_IN_H
#define FARHOUR_TESTS_E2E_TRAY_STAND_IN_H

#include <windows.h>

#include <map>
#include <mutex>
#include <set>
#include <string>
#include <utility>
#include <thread>
#include <vector>

struct TrayCall {
  DWORD message = 0;   // NIM_ADD, NIM_MODIFY or NIM_DELETE
  DWORD window = 0;    // the icon's owner window
  UINT id = 0;
  UINT flags = 0;
  UINT callbackMessage = 0;
  std::string tip;     // in UTF-8
  std::string image;   // the image's pixels as the shell received them; empty for none
};

// A window handle as the shell's icon data carries it, 32 bits wide in either build.
inline DWORD Handle32(HWND hwnd) { return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hwnd)); }

class TrayStandIn {
 public:
  TrayStandIn();
  ~TrayStandIn();
  TrayStandIn(const TrayStandIn&) = delete;
  TrayStandIn& operator=(const TrayStandIn&) = delete;

  std::vector<TrayCall> Calls() const;
  void Clear();
  // Waits until at least count calls have arrived; false on time-out.
  bool WaitForCalls(std::size_t count, DWORD milliseconds) const;
  // Makes the next calls fail, as a shell that has gone away does.
  void FailCalls(bool fail) { fail_ = fail; }
  // Refuses the next adds, as a shell still busy at sign-in does.
  void RefuseAdds(int count);
  // Forgets the icons it holds, as a shell that restarted has. Until then it refuses a second add of
  // an icon it holds, as the real shell does.
  void ForgetIcons();
  // The version of the notifications the window asked for its icon (NIM_SETVERSION), as the shell
  // keeps it with the icon; 0 when it asked for none. Not among the calls above.
  UINT VersionOf(HWND window) const;
  // The pixels an icon of this process gives when handed to the shell, for comparison.
  std::string ImageOf(HICON icon);

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  void Run();

  mutable std::mutex mutex_;
  std::vector<TrayCall> calls_;
  std::set<std::pair<DWORD, UINT>> held_;  // window and id of each icon added and not removed
  std::map<DWORD, UINT> versions_;  // by window, forgotten with the icon
  std::thread thread_;
  HANDLE ready_ = nullptr;
  HWND hwnd_ = nullptr;
  DWORD threadId_ = 0;
  volatile bool fail_ = false;
  int refusedAdds_ = 0;  // guarded by mutex_
};

#endif
