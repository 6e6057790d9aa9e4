// The properties window's side of the notification-area icon: the calls to the shell, the icon's
// mouse notifications and its menu, and showing the window from there.
#include "ui/place_dialog_win.h"

#include <shellapi.h>

#include "app/handles_win.h"
#include "res/resource.h"

namespace {

// The shell's first, 88-byte form of the record: what every version of the shell understands.
constexpr DWORD TRAY_RECORD_SIZE = 88;

NOTIFYICONDATAA TrayRecord(HWND hwnd, unsigned id) {
  NOTIFYICONDATAA record;
  ZeroMemory(&record, sizeof record);
  record.cbSize = TRAY_RECORD_SIZE;
  record.hWnd = hwnd;
  record.uID = id;
  return record;
}

}  // namespace

void PlaceDialog::OnTrayNotify(LPARAM mouseMessage) {
  switch (mouseMessage) {
    case WM_RBUTTONDOWN: ShowTrayMenu(); break;
    case WM_LBUTTONDBLCLK: ShowProperties(true); break;
    case WM_MOUSEMOVE: UpdateTray(); break;
    default: break;
  }
}

void PlaceDialog::ShowProperties(bool toForeground) {
  LoadSettings();
  (void)UpdateData(false);
  (void)ShowWindow(Hwnd(), SW_SHOW);
  if (toForeground) (void)SetForegroundWindow(Hwnd());
}

void PlaceDialog::ShowTrayMenu() {
  OwnedMenu menu(LoadMenuA(Instance(), MAKEINTRESOURCEA(IDR_TRAY_MENU)));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu.Get(), 0);
  if (!popup) return;
  std::string now = ReadRemoteClock().tip;
  (void)ModifyMenuA(popup, ID_TRAY_NOW, MF_BYCOMMAND | MF_STRING, ID_TRAY_NOW, now.c_str());
  POINT cursor = {0, 0};
  (void)GetCursorPos(&cursor);
  (void)SetForegroundWindow(Hwnd());
  (void)TrackPopupMenu(popup, 0, cursor.x, cursor.y, 0, Hwnd(), nullptr);
  (void)PostMessageA(Hwnd(), WM_NULL, 0, 0);
}

void PlaceDialog::CreateTray() { tray_.CreateTray(*this); }

void PlaceDialog::UpdateTray() { tray_.UpdateTray(*this); }

void PlaceDialog::DeleteTray() { tray_.DeleteTray(*this); }

unsigned PlaceDialog::RefreshTimerId() const {
  // The first refresh runs before the timer is started; it shows the clock, not a warning.
  if (!timerStarted_) return REFRESH_TIMER_ID;
  return static_cast<unsigned>(refreshTimerId_);
}

IconRef PlaceDialog::LoadResourceIcon(unsigned short resourceId) {
  auto found = resourceIcons_.find(resourceId);
  if (found != resourceIcons_.end()) return found->second;
  HICON icon = LoadIconA(Instance(), MAKEINTRESOURCEA(resourceId));
  resourceIcons_.emplace(resourceId, icon);
  return icon;
}

bool PlaceDialog::ShellAdd(unsigned id, IconRef icon) {
  NOTIFYICONDATAA record = TrayRecord(Hwnd(), id);
  record.uFlags = NIF_MESSAGE | NIF_ICON;
  record.uCallbackMessage = TRAY_NOTIFY_MESSAGE;
  record.hIcon = static_cast<HICON>(const_cast<void*>(icon));
  return Shell_NotifyIconA(NIM_ADD, &record) != FALSE;
}

bool PlaceDialog::ShellModify(unsigned id, IconRef icon, const char* tip) {
  NOTIFYICONDATAA record = TrayRecord(Hwnd(), id);
  record.uFlags = NIF_ICON | NIF_TIP;
  record.hIcon = static_cast<HICON>(const_cast<void*>(icon));
  lstrcpynA(record.szTip, tip, static_cast<int>(TRAY_TIP_MAX + 1));
  return Shell_NotifyIconA(NIM_MODIFY, &record) != FALSE;
}

void PlaceDialog::ShellDelete(unsigned id) {
  NOTIFYICONDATAA record = TrayRecord(Hwnd(), id);
  (void)Shell_NotifyIconA(NIM_DELETE, &record);
}
