// The notification-area icon: what it shows, and when the shell has to be told.
#ifndef FARHOUR_TRAY_TRAY_CONTROLLER_H
#define FARHOUR_TRAY_TRAY_CONTROLLER_H

#include <cstddef>
#include <string>

#include "clock/place_settings.h"
#include "clock/remote_clock.h"
#include "clock/tip_time_format.h"

// An icon handle as the portable code sees it: compared, handed on, never dereferenced.
using IconRef = const void*;

// The tip field of the shell's record holds 63 characters and a terminating zero.
constexpr std::size_t TRAY_TIP_MAX = 63;

// What the controller needs from the window that owns the icon. The Windows side implements it
// over the dialog and Shell_NotifyIconA; tests implement it with a recording fake.
class TrayHost {
 public:
  virtual ~TrayHost() = default;
  virtual RemoteReading ReadRemoteClock() = 0;
  virtual const PlaceSettings& Settings() const = 0;
  virtual IconRef CustomActiveIcon() const = 0;
  virtual IconRef CustomInactiveIcon() const = 0;
  virtual IconRef ProgramIcon() const = 0;
  virtual unsigned RefreshTimerId() const = 0;
  // A shared icon of the program's resources, or null when there is none with that number.
  virtual IconRef LoadResourceIcon(unsigned short resourceId) = 0;
  // NIM_ADD with NIF_MESSAGE | NIF_ICON and no tip; NIM_MODIFY with NIF_ICON | NIF_TIP; NIM_DELETE.
  virtual bool ShellAdd(unsigned id, IconRef icon) = 0;
  virtual bool ShellModify(unsigned id, IconRef icon, const char* tip) = 0;
  virtual void ShellDelete(unsigned id) = 0;
  // Whether a byte starts a two-byte character, so that a cut tip never ends in half a character.
  virtual LeadBytePredicate LeadBytes() const { return nullptr; }
};

class TrayController {
 public:
  // Adds the icon with the active image of entry 0, then gives it its real image and tip.
  void CreateTray(TrayHost& host);
  // Recomputes tip and image; calls the shell only when either changed since the last call.
  void UpdateTray(TrayHost& host);
  void DeleteTray(TrayHost& host);

  unsigned TrayIconId() const { return trayIconId_; }
  const std::string& LastTip() const { return lastTip_; }
  IconRef LastIcon() const { return lastIcon_; }

 private:
  unsigned trayIconId_ = 0;
  std::string lastTip_;
  IconRef lastIcon_ = nullptr;
};

// The first TRAY_TIP_MAX bytes of tip, shortened by one more byte where that would split a
// two-byte character.
std::string CutTip(const std::string& tip, LeadBytePredicate isLeadByte);

#endif
