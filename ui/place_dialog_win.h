// The properties window of one place. It is also the program's hidden main window: it holds the
// place, its icon in the notification area and the timers for as long as the program runs.
#ifndef FARHOUR_UI_PLACE_DIALOG_WIN_H
#define FARHOUR_UI_PLACE_DIALOG_WIN_H

#include <windows.h>

#include <string>
#include <vector>

#include "base/handles_win.h"
#include "clock/place.h"
#include "clock/profile_store.h"
#include "clock/system_zone_clock_win.h"
#include "icons/icon_file_win.h"
#include "tray/tray_controller.h"
#include "tray/tray_icon_win.h"
#include "ui/dialog_window_win.h"
#include "ui/offset_text.h"
#include "ui/work_week.h"

// A failure of the work on places, as the window tells it: a string of the string table, whose %1
// the detail fills (a place's number, a shortcut's path).
struct PlaceFailure {
  UINT text;
  std::string detail;
};

// The running copies and the places beyond this one, as the icon's menu reaches them; the program's
// start-up provides it.
class PlaceKeeper {
 public:
  // This copy's window, from its set-up to its tear-down (then null): the place's later starts find
  // it, and work begun here posts PLACES_WORK_DONE_MESSAGE to it when it ends.
  virtual void Announce(HWND window, int instanceNumber) = 0;
  // Whether the message asks this copy to show its properties window in front.
  virtual bool AsksToShow(UINT message) const = 0;
  // Starts a new place, which brings its own properties window to the front, and returns at once.
  // When the place it was added from starts at sign-in, the new one's shortcut is made in the
  // background. False when no place could be started.
  virtual bool AddPlace(int fromInstanceNumber) = 0;
  // Deletes the shortcuts that start the place, in the background.
  virtual void ForgetShortcuts(int instanceNumber) = 0;
  // Brings the call planner, of this copy or another, to the front, or opens it here.
  virtual void PlanCall() = 0;
  // Whether work begun here goes on.
  virtual bool Working() const = 0;
  // The failures of the work that has ended since the last call.
  virtual std::vector<PlaceFailure> FinishedWork() = 0;

 protected:
  ~PlaceKeeper() = default;
};

class PlaceDialog : public DialogWindow, private TrayOwner {
 public:
  // Defaults, country defaults, the stored settings, then the icon files. With showAtStart the
  // properties window comes to the front as soon as the program runs.
  PlaceDialog(HINSTANCE instance, ProfileStore& store, PlaceKeeper& places, int instanceNumber,
              bool showAtStart = false);

 protected:
  BOOL OnInitDialog() override;
  void DoDataExchange(DataExchange& dx) override;
  bool WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;
  void DestroyWindow() override;
  void OnDpiChanged(UINT dpi) override;

 private:
  void OnTrayNotify(LPARAM notification);
  void OnTrayCommand(UINT id);
  void OnRemovePlace();
  // Tells the failures of the work on places that has ended; a removed place ends once its work has.
  void OnPlacesWorkDone();
  // What waits for the program's loop: the showing the start asked for, and the notice of a save
  // that the last sign-out could not make.
  void OnStarted();
  // The place's name as the user knows it: its name cut as the tip cuts it, or the window's title
  // for a place without one.
  std::string PlaceTitle() const;
  // A message box with a string of the string table, its %1 the detail.
  void TellFailure(UINT text, const std::string& detail);
  // Reloads the stored settings and shows the window; the double-click also brings it to the front.
  void ShowProperties(bool toForeground);
  void OnSysCommand(UINT id);
  void OnPaint();
  HICON OnQueryDragIcon() const { return programIcon_; }
  void OnSettingChange(const wchar_t* section);
  void OnTimer(UINT_PTR id);
  // The refresh timer fires just after the next turn of the minute, when the hour there may turn
  // too; false when it could not be set.
  bool ArmRefreshTimer();
  void OnApply();
  void OnDismiss();
  void OnBrowseActive() { OnBrowse(draft_.userActiveIcon); }
  void OnBrowseInactive() { OnBrowse(draft_.userInActiveIcon); }
  void OnBrowse(std::string& path);
  void OnTimeZone();
  void OnEndSession(bool ending);
  // The notification area's icon size may have changed (the display's scale, or a restarted shell):
  // the tray's images and the icons of the user's files are made again at the new size.
  bool MeasureTrayIconSize();
  TrayIconMetrics TrayMetrics() const { return {trayIcon_.IconSize(), trayIcon_.IconDpi()}; }
  // The title bar's and the taskbar button's icons at the window's DPI.
  void SetWindowIcons();
  bool BrowseIconFile(std::string& path);
  void AppendAboutCommand();
  void FillLists();
  // Labels the work-day boxes with the locale's day names, in the order of its week.
  void LabelWorkDays();
  int TickedWorkDays() const;
  void TickWorkDays(int workDays);
  // The line under the boxes shows while no day is ticked.
  void ShowNoWorkDayNote();
  // The zone this showing of the window holds, and the offset it gives now, which the Offset field
  // shows; held until OK takes it.
  void HoldZone(const std::string& zone);
  // The place's record as it runs, with a zone's offset of this moment; nothing once the place is
  // removed. False when it could not be stored.
  bool SavePlace();

  // TrayOwner
  IconRef CustomActiveIcon() const override { return customIcons_.active.Get(); }
  IconRef CustomInactiveIcon() const override { return customIcons_.inactive.Get(); }
  IconRef ProgramIcon() const override { return trayProgramIcon_; }
  bool RefreshTimerRunning() const override { return !refreshTimerFailed_; }
  std::string NotFoundTip(const std::string& path) const override { return FormatPrompt(notFoundTip_, path); }
  std::string NoTimerTip() const override { return noTimerTip_; }

  ProfileStore& store_;
  PlaceKeeper& places_;
  int instanceNumber_;
  bool showAtStart_;
  SystemZoneClock zoneClock_;
  Place place_;
  // What the window edits: the place itself changes only when OK takes it, so Cancel, Close and
  // the end of the session never keep what OK refused or never saw.
  PlaceSettings draft_;
  HICON programIcon_ = nullptr;  // shared resource icon: never destroyed
  std::string notFoundTip_;  // the string table's tips, read once
  std::string noTimerTip_;
  IconRef trayProgramIcon_ = nullptr;  // the program icon at the tray's size, held by trayIcon_
  OwnedIcon bigWindowIcon_;
  OwnedIcon smallWindowIcon_;
  CustomIcons customIcons_;
  TrayIcon trayIcon_;
  TrayController tray_;
  int weekOrder_[DAYS_IN_WEEK] = {1, 2, 3, 4, 5, 6, 0};  // the day of each box
  std::string heldZone_;
  bool heldZoneKnown_ = false;  // whether this computer has heldZone_
  double heldZoneOffset_ = 0.0;
  bool refreshTimerFailed_ = false;
  int addRetriesLeft_ = 0;  // ticks the add-retry timer has left
  unsigned lastTrayNotification_ = 0;
  LoadedLibrary commonDialogs_;  // loaded at the first browse
  bool tornDown_ = false;
  bool removed_ = false;
};

#endif
