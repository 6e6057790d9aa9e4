// The shell's side of the place's icon on Windows: the calls to the shell for one window's icon, the
// program's icon resources it shows, and the icon's menu.
#ifndef FARHOUR_TRAY_TRAY_ICON_WIN_H
#define FARHOUR_TRAY_TRAY_ICON_WIN_H

#include <windows.h>

#include <string>
#include <utility>
#include <vector>

#include "base/handles_win.h"
#include "icons/hour_icon.h"
#include "tray/tray_controller.h"

class TrayIcon : public TrayShell {
 public:
  explicit TrayIcon(HINSTANCE instance) : instance_(instance) {}

  // hwnd receives the icon's notifications and its menu's commands.
  void Attach(HWND hwnd);
  // Whether the message is the shell announcing itself ("TaskbarCreated"), after a restart or not.
  bool IsTaskbarCreated(UINT message) const { return message != 0 && message == taskbarCreatedMessage_; }
  // The icon's menu, its first line the place's time, at the cursor or, when the keyboard asked for
  // it, at the icon with this id; a chosen line comes back to the window as WM_COMMAND.
  void ShowTrayMenu(const std::string& now, unsigned id, bool atIcon);

  // Measures the notification area's icon size again: the small-icon size at the DPI of the taskbar's
  // monitor. True when it changed; the icons loaded before are then destroyed, and the next loads
  // are at the new size.
  bool MeasureIconSize();
  int IconSize() const { return iconSize_; }
  UINT IconDpi() const { return iconDpi_; }

  // Reads the taskbar's look again; true when it changed. The hour icon is then drawn anew.
  bool ReadTheme();

  // The icon at IconSize(), drawn for that size where the resource has it; held by this object
  // until the size changes.
  IconRef LoadResourceIcon(unsigned short resourceId) override;
  // The hour at IconSize() in the taskbar's look; the one icon held until another is asked for.
  IconRef HourIcon(const HourFace& face) override;
  bool ShellAdd(unsigned id, IconRef icon) override;
  bool ShellModify(unsigned id, IconRef icon, const char* tip) override;
  void ShellDelete(unsigned id) override;

 private:
  HINSTANCE instance_;
  HWND hwnd_ = nullptr;
  UINT taskbarCreatedMessage_ = 0;
  bool menuOpen_ = false;
  int iconSize_ = 0;
  UINT iconDpi_ = 0;
  // Each icon is loaded once per size: a few dozen at most, which a plain search finds fast.
  std::vector<std::pair<unsigned short, OwnedIcon>> resourceIcons_;
  TaskbarTheme theme_ = TaskbarTheme::LIGHT;
  OwnedIcon hourIcon_;
  HourFace hourFace_;
  int hourSize_ = 0;
  TaskbarTheme hourTheme_ = TaskbarTheme::LIGHT;
};

#endif
