// The test's side of the probe DLL (farhour_probe.cpp): installs its hook on the thread of farhour's
// window and asks it what the program shows or holds, or simply for a sign that all posted input
// is handled.
#ifndef FARHOUR_TESTS_E2E_PROBE_PROBE_CLIENT_H
#define FARHOUR_TESTS_E2E_PROBE_PROBE_CLIENT_H

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "e2e/driver.h"

// One item of a menu as the program holds it.
struct ProbeMenuItem {
  UINT id = 0;
  UINT type = 0;   // MFT_* flags
  UINT state = 0;  // MFS_* flags
  std::string text;
  bool Separator() const { return (type & MFT_SEPARATOR) != 0; }
};

class ProbeHook {
 public:
  explicit ProbeHook(HWND window) : window_(window) {
    DWORD processId = 0;
    DWORD threadId = GetWindowThreadProcessId(window, &processId);
    char exe[MAX_PATH] = "";
    GetModuleFileNameA(nullptr, exe, sizeof exe);
    std::string dll(exe);
    dll.erase(dll.find_last_of("\\/") + 1);
    dll += "farhour_probe.dll";
    module_ = LoadLibraryA(dll.c_str());
    FARPROC proc = nullptr;
    if (module_) {
      proc = GetProcAddress(module_, "ProbeGetMessage@12");
      if (!proc) proc = GetProcAddress(module_, "ProbeGetMessage");
    }
    if (proc && threadId) {
      hook_ = SetWindowsHookExA(WH_GETMESSAGE, reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(proc)), module_, threadId);
    }
    char dir[MAX_PATH] = "";
    GetTempPathA(sizeof dir, dir);
    char path[MAX_PATH + 64];
    std::snprintf(path, sizeof path, "%sfarhour_probe_%lu", dir, processId);
    answerPath_ = std::string(path) + ".txt";
    requestPath_ = std::string(path) + ".in";
    request_ = RegisterWindowMessageA("FarhourProbeRequest");
  }
  ~ProbeHook() {
    if (hook_) UnhookWindowsHookEx(hook_);
    if (module_) FreeLibrary(module_);
    DeleteFileA(answerPath_.c_str());
    DeleteFileA(requestPath_.c_str());
  }
  ProbeHook(const ProbeHook&) = delete;
  ProbeHook& operator=(const ProbeHook&) = delete;

  bool Installed() const { return hook_ != nullptr; }

  // Posts a request behind whatever the test has posted so far and returns the answer's lines,
  // or false when none came within the wait.
  bool Ask(WPARAM request, std::vector<std::string>* lines, DWORD milliseconds = 5000) {
    DeleteFileA(answerPath_.c_str());
    long serial = ++serial_;
    if (!PostMessageA(window_, request_, request, serial)) return false;
    DWORD end = GetTickCount() + milliseconds;
    for (;;) {
      FILE* file = std::fopen(answerPath_.c_str(), "rb");
      if (file) {
        std::string text;
        char buffer[1024];
        std::size_t got;
        while ((got = std::fread(buffer, 1, sizeof buffer, file)) > 0) text.append(buffer, got);
        std::fclose(file);
        std::istringstream in(text);
        std::string line;
        std::getline(in, line);
        if (std::atol(line.c_str()) == serial) {
          lines->clear();
          while (std::getline(in, line)) lines->push_back(line);
          return true;
        }
      }
      if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
      Sleep(10);
    }
  }

  // Returns once the program has taken every message posted to it before, and the messages
  // that those produced in turn (such as the characters of key presses).
  bool Sync() {
    std::vector<std::string> lines;
    return Ask(0, &lines) && Ask(0, &lines);
  }

  bool OpenMenu(std::vector<ProbeMenuItem>* items) { return Menu(1, items); }
  bool SystemMenu(std::vector<ProbeMenuItem>* items) { return Menu(2, items); }

  // The standard icon of the visible message box: "exclamation", "hand", "question", "asterisk",
  // "none" or "other".
  std::string MessageBoxIcon() {
    std::vector<std::string> lines;
    if (!Ask(3, &lines) || lines.empty()) return "no answer";
    return lines[0];
  }

  bool CountResources(ProcessResources* counts) {
    std::vector<std::string> lines;
    unsigned long n[7];
    if (!Ask(4, &lines) || lines.empty() ||
        std::sscanf(lines[0].c_str(), "%lu %lu %lu %lu %lu %lu %lu", &n[0], &n[1], &n[2], &n[3], &n[4], &n[5],
                    &n[6]) != 7) {
      return false;
    }
    counts->kernelHandles = n[0];
    counts->gdiObjects = n[1];
    counts->drawingObjects = n[2];
    counts->userObjects = n[3];
    counts->heapBytes = n[4];
    counts->workingSetBytes = n[5];
    counts->pagefileBytes = n[6];
    return true;
  }

  // The program converts the pictures to its own code page; each goes as '+' and its text, or
  // '-' for a failing lookup, on a line of its own.
  bool SetLocalePictures(const wchar_t* timePicture, const wchar_t* longDatePicture) {
    std::wstring text;
    for (const wchar_t* picture : {timePicture, longDatePicture}) {
      text += picture ? L"+" + std::wstring(picture) : L"-";
      text += L'\n';
    }
    FILE* file = std::fopen(requestPath_.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fwrite(text.data(), sizeof(wchar_t), text.size(), file) == text.size();
    if (std::fclose(file) != 0 || !written) return false;
    std::vector<std::string> lines;
    return Ask(5, &lines, 10000) && !lines.empty() && lines[0] == "ok";
  }

  // From now on the program's clock reads this time, in seconds since 1970, UTC.
  bool SetClock(long long seconds) {
    FILE* file = std::fopen(requestPath_.c_str(), "wb");
    if (!file) return false;
    const bool written = std::fprintf(file, "%lld\n", seconds) > 0;
    if (std::fclose(file) != 0 || !written) return false;
    std::vector<std::string> lines;
    return Ask(6, &lines, 10000) && !lines.empty() && lines[0] == "ok";
  }

 private:
  bool Menu(WPARAM request, std::vector<ProbeMenuItem>* items) {
    std::vector<std::string> lines;
    if (!Ask(request, &lines)) return false;
    items->clear();
    for (const std::string& line : lines) {
      ProbeMenuItem item;
      char text[256] = "";
      if (std::sscanf(line.c_str(), "%u\t%x\t%x\t%255[^\n]", &item.id, &item.type, &item.state, text) < 3) {
        return false;
      }
      item.text = text;
      items->push_back(item);
    }
    return true;
  }

  HWND window_;
  HMODULE module_ = nullptr;
  HHOOK hook_ = nullptr;
  UINT request_ = 0;
  long serial_ = 0;
  std::string answerPath_;
  std::string requestPath_;
};

// One running farhour.exe with the probe in it, driven the way a person drives it. Its windows
// are framed by Wine for as long as it runs (see UnmanagedWindows).
class ProbedFarhour {
 public:
  static constexpr UINT TRAY_NOTIFY = 0x8064;
  static constexpr UINT TRAY_ID = 999;

  explicit ProbedFarhour(const std::string& arguments) : farhour_(arguments) {
    if (farhour_.Window()) probe_.reset(new ProbeHook(farhour_.Window()));
  }
  bool Ready() const { return farhour_.Window() && probe_ && probe_->Installed(); }
  HWND Window() const { return farhour_.Window(); }
  HWND Item(int id) const { return GetDlgItem(farhour_.Window(), id); }
  FarhourProcess& Process() { return farhour_; }
  ProbeHook& Probe() { return *probe_; }
  bool Sync() { return probe_ && probe_->Sync(); }

  // A mouse event on the tray icon, as the shell reports it.
  void Notify(UINT mouseMessage) {
    PostMessageA(Window(), TRAY_NOTIFY, TRAY_ID, mouseMessage);
    Sync();
  }
  // A double-click on the tray icon: the shell reports the first click's press and release first.
  void Show() {
    PostMessageA(Window(), TRAY_NOTIFY, TRAY_ID, WM_LBUTTONDOWN);
    PostMessageA(Window(), TRAY_NOTIFY, TRAY_ID, WM_LBUTTONUP);
    Notify(WM_LBUTTONDBLCLK);
  }
  void Type(int id, const std::string& text) {
    TypeText(Item(id), text);
    Sync();
  }
  void Key(int id, UINT key, bool alt = false) {
    PressKey(Item(id), key, alt);
    Sync();
  }
  void Press(int id) {
    PressButton(Window(), id);
    Sync();
  }

 private:
  UnmanagedWindows framed_;
  FarhourProcess farhour_;
  std::unique_ptr<ProbeHook> probe_;
};

#endif
