// The shell's side of the place's icon on Windows: the calls to the shell for one window's icon, the
// program's icon resources it shows, and the icon's menu.
#ifndef FARHOUR_TRAY_TRAY_ICON_WIN_H
#define FARHOUR_TRAY_TRAY_ICON_WIN_H

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "tray/tray_controller.h"

class TrayIcon : public TrayShell {
 public:
  explicit TrayIcon(HINSTANCE instance) : instance_(instance) {}

  // hwnd receives the icon's notifications and its menu's commands.
  void Attach(HWND hwnd);
  // Whether the message is the shell announcing itself ("TaskbarCreated"), after a restart or not.
  bool IsTaskbarCreated(UINT message) const { return message != 0 && message == taskbarCreatedMessage_; }
  // The icon's menu at the cursor, its first line the place's time; a chosen line comes back to the
  // window as WM_COMMAND.
  void ShowTrayMenu(const std::string& now);

  IconRef LoadResourceIcon(unsigned short resourceId) override;
  bool ShellAdd(unsigned id, IconRef icon) override;
  bool ShellModify(unsigned id, IconRef icon, const char* tip) override;
  void ShellDelete(unsigned id) override;

 private:
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  UINT taskbarCreatedMessage_ = 0;
  // Shared handles, each looked up once: a few dozen at most, which a plain search finds fast.
  std::vector<std::pair<unsigned short, HICON>> resourceIcons_;
};

#endif
