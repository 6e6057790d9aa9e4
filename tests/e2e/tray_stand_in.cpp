#include "e2e/tray_stand_in.h"

#include <shellapi.h>

namespace {

// The record the shell's tray window receives in WM_COPYDATA under Wine: window, id, flags,
// callback message and a 128-character wide tip, then fields this program never sets, then the
// icon's size and pixels from IMAGE_OFFSET on.
constexpr DWORD TIP_OFFSET = 16;
constexpr DWORD TIP_CHARS = 128;
constexpr DWORD IMAGE_OFFSET = 944;
// Where the record carries the version of NIM_SETVERSION.
constexpr DWORD VERSION_OFFSET = 792;

TrayStandIn* g_standIn = nullptr;

}  // namespace

TrayStandIn::TrayStandIn() {
  g_standIn = this;
  ready_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread([this] { Run(); });
  WaitForSingleObject(ready_, 10000);
}

TrayStandIn::~TrayStandIn() {
  if (threadId_) PostThreadMessageA(threadId_, WM_QUIT, 0, 0);
  if (thread_.joinable()) thread_.join();
  CloseHandle(ready_);
  g_standIn = nullptr;
}

void TrayStandIn::Run() {
  threadId_ = GetCurrentThreadId();
  WNDCLASSA wc = {};
  wc.lpfnWndProc = WindowProc;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = "Shell_TrayWnd";
  RegisterClassA(&wc);
  hwnd_ = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, "", WS_POPUP, 0, 0, 1, 1,
                          nullptr, nullptr, wc.hInstance, nullptr);
  SetWindowPos(hwnd_, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  MSG msg;
  PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE);
  SetEvent(ready_);
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
  DestroyWindow(hwnd_);
  UnregisterClassA(wc.lpszClassName, wc.hInstance);
}

LRESULT CALLBACK TrayStandIn::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message != WM_COPYDATA || !g_standIn) return DefWindowProcA(hwnd, message, wParam, lParam);
  const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
  if (!data || data->cbData < IMAGE_OFFSET) return FALSE;
  const auto* bytes = static_cast<const unsigned char*>(data->lpData);
  TrayCall call;
  call.message = static_cast<DWORD>(data->dwData);
  memcpy(&call.window, bytes, 4);
  memcpy(&call.id, bytes + 4, 4);
  memcpy(&call.flags, bytes + 8, 4);
  memcpy(&call.callbackMessage, bytes + 12, 4);
  WCHAR tip[TIP_CHARS + 1] = {};
  memcpy(tip, bytes + TIP_OFFSET, TIP_CHARS * sizeof(WCHAR));
  char utf8[TIP_CHARS * 4 + 1] = "";
  WideCharToMultiByte(CP_UTF8, 0, tip, -1, utf8, sizeof utf8, nullptr, nullptr);
  call.tip = utf8;
  if (data->cbData > IMAGE_OFFSET + 16) {
    call.image.assign(reinterpret_cast<const char*>(bytes + IMAGE_OFFSET), data->cbData - IMAGE_OFFSET);
  }
  std::lock_guard<std::mutex> lock(g_standIn->mutex_);
  const std::pair<DWORD, UINT> icon(call.window, call.id);
  // As the shell does: a version for an icon it holds, kept until the icon goes.
  if (call.message == NIM_SETVERSION) {
    if (!g_standIn->held_.count(icon)) return FALSE;
    memcpy(&g_standIn->versions_[call.window], bytes + VERSION_OFFSET, 4);
    return TRUE;
  }
  g_standIn->calls_.push_back(call);
  if (g_standIn->fail_) return FALSE;
  if (call.message == NIM_ADD && g_standIn->refusedAdds_ > 0) {
    --g_standIn->refusedAdds_;
    return FALSE;
  }
  if (call.message == NIM_ADD) return g_standIn->held_.insert(icon).second ? TRUE : FALSE;
  if (call.message == NIM_DELETE) {
    g_standIn->held_.erase(icon);
    g_standIn->versions_.erase(call.window);
  }
  return TRUE;
}

void TrayStandIn::RefuseAdds(int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  refusedAdds_ = count;
}

void TrayStandIn::ForgetIcons() {
  std::lock_guard<std::mutex> lock(mutex_);
  held_.clear();
  versions_.clear();
}

UINT TrayStandIn::VersionOf(HWND window) const {
  std::lock_guard<std::mutex> lock(mutex_);
  const auto found = versions_.find(Handle32(window));
  return found == versions_.end() ? 0 : found->second;
}

std::vector<TrayCall> TrayStandIn::Calls() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return calls_;
}

void TrayStandIn::Clear() {
  std::lock_guard<std::mutex> lock(mutex_);
  calls_.clear();
}

bool TrayStandIn::WaitForCalls(std::size_t count, DWORD milliseconds) const {
  DWORD end = GetTickCount() + milliseconds;
  for (;;) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      if (calls_.size() >= count) return true;
    }
    if (static_cast<LONG>(end - GetTickCount()) <= 0) return false;
    Sleep(20);
  }
}

std::string TrayStandIn::ImageOf(HICON icon) {
  std::size_t before = Calls().size();
  NOTIFYICONDATAA record;
  ZeroMemory(&record, sizeof record);
  record.cbSize = 88;
  record.hWnd = hwnd_;
  record.uID = 4242;
  record.uFlags = NIF_ICON;
  record.hIcon = icon;
  Shell_NotifyIconA(NIM_MODIFY, &record);
  std::lock_guard<std::mutex> lock(mutex_);
  if (calls_.size() <= before) return std::string();
  std::string image = calls_.back().image;
  calls_.pop_back();
  return image;
}
