// The place's icon in the notification area on Windows: the calls to the shell, the icon's mouse
// notifications and its menu. The window that receives the notifications owns it and answers for
// the place through TrayIconOwner.
#ifndef FARHOUR_TRAY_TRAY_ICON_WIN_H
#define FARHOUR_TRAY_TRAY_ICON_WIN_H

#include <windows.h>

#include <map>

#include "tray/tray_controller.h"

class TrayIconOwner {
 public:
  virtual RemoteReading ReadRemoteClock() = 0;
  virtual const PlaceSettings& Settings() const = 0;
  virtual HICON CustomActiveIcon() const = 0;
  virtual HICON CustomInactiveIcon() const = 0;
  virtual HICON ProgramIcon() const = 0;
  // The refresh timer's identifier; 0 when it could not be started.
  virtual unsigned RefreshTimerId() const = 0;
  // Reloads the stored settings and shows the properties window; the double-click also brings it
  // to the front.
  virtual void ShowProperties(bool toForeground) = 0;

 protected:
  ~TrayIconOwner() = default;
};

class TrayIcon : private TrayHost {
 public:
  TrayIcon(HINSTANCE instance, TrayIconOwner& owner) : instance_(instance), owner_(owner) {}

  // hwnd receives the icon's notifications and its menu's commands.
  void CreateTray(HWND hwnd);
  void UpdateTray();
  void DeleteTray();
  // Whether the shell has yet to take the icon; each UpdateTray asks it again.
  bool AddPending() const { return tray_.AddPending(); }
  // The icon's mouse notifications, its menu's commands and the shell's "TaskbarCreated"; the
  // window passes every message here first.
  void OnMessage(UINT message, WPARAM wParam, LPARAM lParam);

 private:
  void OnTrayNotify(LPARAM mouseMessage);
  void ShowTrayMenu();

  // TrayHost
  RemoteReading ReadRemoteClock() override { return owner_.ReadRemoteClock(); }
  const PlaceSettings& Settings() const override { return owner_.Settings(); }
  IconRef CustomActiveIcon() const override { return owner_.CustomActiveIcon(); }
  IconRef CustomInactiveIcon() const override { return owner_.CustomInactiveIcon(); }
  IconRef ProgramIcon() const override { return owner_.ProgramIcon(); }
  unsigned RefreshTimerId() const override { return owner_.RefreshTimerId(); }
  IconRef LoadResourceIcon(unsigned short resourceId) override;
  bool ShellAdd(unsigned id, IconRef icon) override;
  bool ShellModify(unsigned id, IconRef icon, const char* tip) override;
  void ShellDelete(unsigned id) override;
  CharacterLength Characters() const override { return characters_; }

  HINSTANCE instance_;
  TrayIconOwner& owner_;
  HWND hwnd_ = nullptr;
  TrayController tray_;
  UINT taskbarCreatedMessage_ = 0;
  CharacterLength characters_ = nullptr;
  std::map<unsigned short, HICON> resourceIcons_;  // shared handles, looked up once
};

#endif
