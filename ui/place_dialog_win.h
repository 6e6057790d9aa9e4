// The properties window of one place. It is also the program's hidden main window: it owns the
// settings, the refresh timer and the tray icon for as long as the program runs.
#ifndef FARHOUR_UI_PLACE_DIALOG_WIN_H
#define FARHOUR_UI_PLACE_DIALOG_WIN_H

#include <windows.h>

#include <string>

#include "base/handles_win.h"
#include "clock/place_settings.h"
#include "clock/profile_store.h"
#include "clock/remote_clock.h"
#include "clock/system_zone_clock_win.h"
#include "icons/icon_file_win.h"
#include "tray/tray_icon_win.h"
#include "ui/dialog_window_win.h"

class PlaceDialog : public DialogWindow, private TrayIconOwner {
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
  void ShowProperties(bool toForeground) override;
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
  void OnTimeZone();
  // The zone's time minus this computer's now, in hours; false with no zone, or one this computer
  // does not have.
  bool ZoneOffset(const std::string& zone, double* hours);
  bool BrowseIconFile(std::string& path);
  void OnEndSession(bool ending);
  void AppendAboutCommand();
  void FillLists();

  // TrayIconOwner
  HICON CustomActiveIcon() const override { return customIcons_.active.Get(); }
  HICON CustomInactiveIcon() const override { return customIcons_.inactive.Get(); }
  HICON ProgramIcon() const override { return programIcon_; }
  unsigned RefreshTimerId() const override;

  ProfileStore& store_;
  int instanceNumber_;
  PlaceSettings settings_;
  std::string tipTimeFormat_;
  HICON programIcon_ = nullptr;  // shared resource icon: never destroyed
  CustomIcons customIcons_;
  TrayIcon trayIcon_;
  CharacterLength characters_ = nullptr;  // of the ANSI code page
  SystemZoneClock zoneClock_;
  // The zone shown in this showing of the window: the record's until the Time Zone window picks
  // another, which OK then takes with the other fields.
  std::string pendingZone_;
  bool timerStarted_ = false;
  UINT_PTR refreshTimerId_ = 0;
  int addRetriesLeft_ = 0;  // ticks the add-retry timer has left
  LoadedLibrary commonDialogs_;  // loaded at the first browse
  bool tornDown_ = false;
};

// The window of the copy of this program that runs the place with this settings section; null when
// there is none.
HWND FindPlaceWindow(const std::string& section);

#endif
