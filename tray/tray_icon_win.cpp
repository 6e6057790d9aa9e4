#include "tray/tray_icon_win.h"

#include <shellapi.h>

#include <string>

#include "base/dpi_win.h"
#include "base/handles_win.h"
#include "base/wide_text_win.h"
#include "icons/hour_icon_win.h"
#include "res/resource.h"

namespace {

// The record as Windows 2000 and every later shell know it, the first with a tip of 128 units.
constexpr DWORD TRAY_RECORD_SIZE = NOTIFYICONDATAW_V2_SIZE;
static_assert(sizeof(NOTIFYICONDATAW::szTip) / sizeof(WCHAR) == TRAY_TIP_MAX + 1, "the tip's field");

NOTIFYICONDATAW TrayRecord(HWND hwnd, unsigned id) {
  NOTIFYICONDATAW record;
  ZeroMemory(&record, sizeof record);
  record.cbSize = TRAY_RECORD_SIZE;
  record.hWnd = hwnd;
  record.uID = id;
  return record;
}

HICON ToHandle(IconRef icon) { return static_cast<HICON>(const_cast<void*>(icon)); }

// The icon's place on the screen, which Windows 7 and later tell (shellapi.h of Windows 7; the
// program's headers predate it).
struct NotifyIconIdentifier {
  DWORD cbSize;
  HWND hWnd;
  UINT uID;
  GUID guidItem;
};
using GetIconRectFunction = HRESULT(WINAPI*)(const NotifyIconIdentifier*, RECT*);

// Where a menu the keyboard asked for opens: at the icon, or at the cursor where Windows cannot
// tell where the icon is.
POINT MenuAnchor(HWND hwnd, unsigned id) {
  POINT anchor = {0, 0};
  (void)GetCursorPos(&anchor);
  FARPROC found = GetProcAddress(GetModuleHandleW(L"shell32.dll"), "Shell_NotifyIconGetRect");
  auto getIconRect = reinterpret_cast<GetIconRectFunction>(reinterpret_cast<void*>(found));
  if (!getIconRect) return anchor;
  NotifyIconIdentifier icon;
  ZeroMemory(&icon, sizeof icon);
  icon.cbSize = sizeof icon;
  icon.hWnd = hwnd;
  icon.uID = id;
  RECT place;
  if (FAILED(getIconRect(&icon, &place))) return anchor;
  anchor.x = place.left + (place.right - place.left) / 2;
  anchor.y = place.top + (place.bottom - place.top) / 2;
  return anchor;
}

}  // namespace

void TrayIcon::Attach(HWND hwnd) {
  hwnd_ = hwnd;
  taskbarCreatedMessage_ = RegisterWindowMessageW(L"TaskbarCreated");
}

void TrayIcon::ShowTrayMenu(const std::string& now, unsigned id, bool atIcon) {
  // The shell may report the icon again while its menu is open, from the menu's own loop.
  if (menuOpen_) return;
  OwnedMenu menu(LoadMenuW(instance_, MAKEINTRESOURCEW(IDR_TRAY_MENU)));
  if (!menu) return;
  HMENU popup = GetSubMenu(menu.Get(), 0);
  if (!popup) return;
  (void)ModifyMenuW(popup, ID_TRAY_NOW, MF_BYCOMMAND | MF_STRING, ID_TRAY_NOW, Wide(now).c_str());
  POINT anchor = {0, 0};
  if (atIcon) {
    anchor = MenuAnchor(hwnd_, id);
  } else {
    (void)GetCursorPos(&anchor);
  }
  // The platform's documented rule for a notification icon's menu: it closes on a click elsewhere
  // only if its window is in the foreground, and without a message posted after it the next such
  // menu vanishes as soon as it opens.
  (void)SetForegroundWindow(hwnd_);
  menuOpen_ = true;
  (void)TrackPopupMenu(popup, 0, anchor.x, anchor.y, 0, hwnd_, nullptr);
  menuOpen_ = false;
  (void)PostMessageW(hwnd_, WM_NULL, 0, 0);
}

bool TrayIcon::MeasureIconSize() {
  const UINT dpi = TaskbarDpi();
  const int size = SystemMetricForDpi(SM_CXSMICON, dpi);
  if (size == iconSize_ && dpi == iconDpi_) return false;
  iconSize_ = size;
  iconDpi_ = dpi;
  resourceIcons_.clear();
  return true;
}

IconRef TrayIcon::LoadResourceIcon(unsigned short resourceId) {
  if (iconSize_ == 0) (void)MeasureIconSize();
  for (const auto& known : resourceIcons_) {
    if (known.first == resourceId) return known.second.Get();
  }
  OwnedIcon icon = LoadIconAtSize(instance_, resourceId, iconSize_);
  HICON handle = icon.Get();
  resourceIcons_.emplace_back(resourceId, std::move(icon));
  return handle;
}

bool TrayIcon::ReadTheme() {
  const TaskbarTheme theme = ReadTaskbarTheme();
  if (theme == theme_) return false;
  theme_ = theme;
  return true;
}

IconRef TrayIcon::HourIcon(const HourFace& face) {
  if (iconSize_ == 0) (void)MeasureIconSize();
  if (hourIcon_ && face == hourFace_ && iconSize_ == hourSize_ && theme_ == hourTheme_) return hourIcon_.Get();
  OwnedIcon made = MakeHourIcon(iconSize_, face, theme_);
  if (!made) return nullptr;
  // The new icon is made while the old one still exists, so it never has the handle the shell was
  // last given, and the refresh cannot mistake it for the picture already shown.
  hourIcon_ = std::move(made);
  hourFace_ = face;
  hourSize_ = iconSize_;
  hourTheme_ = theme_;
  return hourIcon_.Get();
}

bool TrayIcon::ShellAdd(unsigned id, IconRef icon) {
  NOTIFYICONDATAW record = TrayRecord(hwnd_, id);
  record.uFlags = NIF_MESSAGE | NIF_ICON;
  record.uCallbackMessage = TRAY_NOTIFY_MESSAGE;
  record.hIcon = ToHandle(icon);
  if (!Shell_NotifyIconW(NIM_ADD, &record)) return false;
  // The third version of the notifications adds the keyboard's (NIN_KEYSELECT, WM_CONTEXTMENU) and
  // keeps the mouse's as they were. The shell forgets it with the icon, so each add asks again; a
  // shell that does not know it sends the mouse's alone.
  NOTIFYICONDATAW version = TrayRecord(hwnd_, id);
  version.uVersion = NOTIFYICON_VERSION;
  (void)Shell_NotifyIconW(NIM_SETVERSION, &version);
  return true;
}

bool TrayIcon::ShellModify(unsigned id, IconRef icon, const char* tip) {
  NOTIFYICONDATAW record = TrayRecord(hwnd_, id);
  record.uFlags = NIF_ICON | NIF_TIP;
  record.hIcon = ToHandle(icon);
  // The controller cut the tip to the field between characters; this only keeps the field's bounds.
  (void)lstrcpynW(record.szTip, Wide(tip).c_str(), static_cast<int>(TRAY_TIP_MAX + 1));
  return Shell_NotifyIconW(NIM_MODIFY, &record) != FALSE;
}

void TrayIcon::ShellDelete(unsigned id) {
  NOTIFYICONDATAW record = TrayRecord(hwnd_, id);
  (void)Shell_NotifyIconW(NIM_DELETE, &record);
}
