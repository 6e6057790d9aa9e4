// The properties window of one place. It is also the program's hidden main window: it owns the
// settings, the refresh timer and the tray icon for as long as the program runs.
#ifndef FARHOUR_UI_PLACE_DIALOG_WIN_H
#define FARHOUR_UI_PLACE_DIALOG_WIN_H

#include <windows.h>

#include <map>
#include <string>

#include "app/handles_win.h"
#include "clock/place_settings.h"
#include "clock/profile_store.h"
#include "clock/remote_clock.h"
#include "icons/icon_file_win.h"
#include "tray/tray_controller.h"
#include "ui/dialog_window_win.h"

class PlaceDialog : public DialogWindow, private TrayHost {
 public:
  // Defaults, country defaults, the stored settings, then the icon files.
  PlaceDialog(HINSTANCE instance, ProfileStore& store, int instanceNumber);
  ~PlaceDialog() override;

  // The place's clock at this moment.
  RemoteReading ReadRemoteClock() override;

  void LoadSettings();
  void SaveSettings();
  void BuildTipTimeFormat();
  void LoadCustomIcons();
  void FreeCustomIcons();
  void CreateTray();
  void UpdateTray();
  void DeleteTray();

  const PlaceSettings& Settings() const override { return settings_; }
  const std::string& TipTimeFormat() const { return tipTimeFormat_; }

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void DestroyWindow() override;

 private:
  void OnSysCommand(UINT id, LPARAM lParam);
  void OnPaint();
  HICON OnQueryDragIcon() const { return programIcon_; }
  void OnSettingChange(UINT flags, const char* section);
  void OnTimer(UINT_PTR id);
  void OnApply();
  void OnDismiss();
  void OnBrowseActive();
  void OnBrowseInactive();
  void OnBrowse(std::string& path);
  bool BrowseIconFile(std::string& path);
  void OnTrayNotify(LPARAM mouseMessage);
  void ShowProperties(bool toForeground);
  void ShowTrayMenu();
  void OnEndSession(bool ending);
  void AppendAboutCommand();
  void FillLists();

  // TrayHost
  IconRef CustomActiveIcon() const override { return customIcons_.active.Get(); }
  IconRef CustomInactiveIcon() const override { return customIcons_.inactive.Get(); }
  IconRef ProgramIcon() const override { return programIcon_; }
  unsigned RefreshTimerId() const override;
  IconRef LoadResourceIcon(unsigned short resourceId) override;
  bool ShellAdd(unsigned id, IconRef icon) override;
  bool ShellModify(unsigned id, IconRef icon, const char* tip) override;
  void ShellDelete(unsigned id) override;
  LeadBytePredicate LeadBytes() const override;

  ProfileStore& store_;
  int instanceNumber_;
  PlaceSettings settings_;
  std::string tipTimeFormat_;
  HICON programIcon_ = nullptr;  // shared resource icon: never destroyed
  CustomIcons customIcons_;
  TrayController tray_;
  bool timerStarted_ = false;
  UINT_PTR refreshTimerId_ = 0;
  UINT taskbarCreatedMessage_ = 0;
  std::map<unsigned short, HICON> resourceIcons_;  // shared handles, looked up once
  LoadedLibrary commonDialogs_;  // loaded at the first browse
  bool tornDown_ = false;
};

#endif
