// The notification-area icon: what it shows, and when the shell has to be told.
#ifndef FARHOUR_TRAY_TRAY_CONTROLLER_H
#define FARHOUR_TRAY_TRAY_CONTROLLER_H

#include <cstddef>
#include <string>

#include "clock/place.h"
#include "icons/hour_icon.h"

// An icon handle as the portable code sees it: compared, handed on, never dereferenced.
using IconRef = const void*;

// The tip field of the shell's record holds 127 UTF-16 units and a terminating zero.
constexpr std::size_t TRAY_TIP_MAX = 127;

// What the icon needs of the window that owns it.
class TrayOwner {
 public:
  // The icons made from the user's icon files; null where a file gave none.
  virtual IconRef CustomActiveIcon() const = 0;
  virtual IconRef CustomInactiveIcon() const = 0;
  // Shown in place of a missing file icon.
  virtual IconRef ProgramIcon() const = 0;
  // False when the refresh timer could not be started; the tip then says so.
  virtual bool RefreshTimerRunning() const = 0;
  // The tips that tell of a missing icon file (by its path) and of a missing timer, in the user's
  // language.
  virtual std::string NotFoundTip(const std::string& path) const = 0;
  virtual std::string NoTimerTip() const = 0;

 protected:
  ~TrayOwner() = default;
};

// What the icon needs of the shell. Windows' side calls Shell_NotifyIconW; tests record the calls.
class TrayShell {
 public:
  // A shared icon of the program's resources, or null when there is none with that number.
  virtual IconRef LoadResourceIcon(unsigned short resourceId) = 0;
  // The hour drawn for the notification area's size and the taskbar's look; null when it could not
  // be made. Held until a different hour is asked for.
  virtual IconRef HourIcon(const HourFace& face) = 0;
  // NIM_ADD with NIF_MESSAGE | NIF_ICON and no tip; NIM_MODIFY with NIF_ICON | NIF_TIP; NIM_DELETE.
  virtual bool ShellAdd(unsigned id, IconRef icon) = 0;
  virtual bool ShellModify(unsigned id, IconRef icon, const char* tip) = 0;
  virtual void ShellDelete(unsigned id) = 0;

 protected:
  ~TrayShell() = default;
};

// The place's icon: its tip is the place's clock, its image the place's active or inactive one, or
// the hour there.
class TrayController {
 public:
  TrayController(const Place& place, const TrayOwner& owner, TrayShell& shell)
      : place_(place), owner_(owner), shell_(shell) {}

  // Adds the icon with the active image of entry 0, then gives it its real image and tip. Without
  // the images of entry 0 there is no icon for the whole run. An add the shell refuses (it often
  // does while Windows starts the programs of a sign-in) is tried again at every refresh until the
  // shell takes it.
  void CreateTray();
  // The answer to the shell announcing itself ("TaskbarCreated"). A restarted shell has forgotten
  // the icon and takes it back; one that still holds it refuses the add, and the icon it holds goes
  // on being refreshed and is removed at the end.
  void ReAddTray();
  // The answer to a new icon size (the display's scale changed): the images loaded before are gone,
  // and the icon gets the new ones at once.
  void ImagesChanged();
  // Recomputes tip and image; calls the shell only when either changed since the last call. While
  // the icon is not yet in the notification area, it first asks the shell to add it.
  void UpdateTray();
  // Removes the icon if the shell may still show it.
  void DeleteTray();

  // Whether the shell has yet to take the icon.
  bool AddPending() const { return addPending_; }
  unsigned TrayIconId() const { return trayIconId_; }
  const std::string& LastTip() const { return lastTip_; }
  IconRef LastIcon() const { return lastIcon_; }

 private:
  void AddTray();

  const Place& place_;
  const TrayOwner& owner_;
  TrayShell& shell_;
  unsigned trayIconId_ = 0;       // TRAY_ICON_ID while there is an icon to show; 0 for none
  IconRef addedImage_ = nullptr;  // what an add shows: the active image of entry 0
  bool addPending_ = false;
  // The shell may show the icon: it took an add, or refused one because it already held the icon.
  bool shown_ = false;
  std::string lastTip_;
  IconRef lastIcon_ = nullptr;
};

// As much of the UTF-8 tip as the shell's field holds, ending between two characters.
std::string CutTip(const std::string& tip);

#endif
