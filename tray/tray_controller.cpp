#include "tray/tray_controller.h"

#include <cstdio>

#include "res/resource.h"

namespace {

std::string NotFoundTip(const std::string& path) {
  return "\"" + path + "\" not found";
}

}  // namespace

std::string CutTip(const std::string& tip, CharacterLength characterLength) {
  return CutText(tip, TRAY_TIP_MAX, characterLength);
}

void TrayController::CreateTray(TrayHost& host) { AddTray(host, false); }

void TrayController::ReAddTray(TrayHost& host) { AddTray(host, trayIconId_ != 0); }

void TrayController::AddTray(TrayHost& host, bool mayStillBeShown) {
  // Whatever the shell showed before, the refresh below hands it the whole picture again.
  lastTip_.clear();
  lastIcon_ = nullptr;
  IconRef active = host.LoadResourceIcon(ACTIVE_ICON_BASE);
  IconRef inactive = host.LoadResourceIcon(INACTIVE_ICON_BASE);
  if (!active || !inactive) {
    trayIconId_ = 0;
    return;
  }
  trayIconId_ = TRAY_ICON_ID;
  // A refused add of an icon the shell still holds is no failure: the modify of the refresh reaches
  // that icon, and only a refused modify means there is none.
  if (!host.ShellAdd(trayIconId_, active) && !mayStillBeShown) trayIconId_ = 0;
  UpdateTray(host);
}

void TrayController::UpdateTray(TrayHost& host) {
  if (trayIconId_ == 0) return;

  RemoteReading reading = host.ReadRemoteClock();
  std::string tip = std::move(reading.tip);
  const PlaceSettings& settings = host.Settings();
  IconRef image = nullptr;
  if (settings.iconFrom == 0) {
    // Used as a 16-bit resource number without a range test: an index outside the set picks
    // whatever icon has that number, or none.
    auto base = static_cast<unsigned>(reading.active ? ACTIVE_ICON_BASE : INACTIVE_ICON_BASE);
    auto id = static_cast<unsigned short>(base + static_cast<unsigned>(settings.icon));
    image = host.LoadResourceIcon(id);
  } else {
    image = reading.active ? host.CustomActiveIcon() : host.CustomInactiveIcon();
    if (!image) {
      image = host.ProgramIcon();
      tip = NotFoundTip(reading.active ? settings.userActiveIcon : settings.userInActiveIcon);
    }
  }
  if (host.RefreshTimerId() == 0) tip = "No TIMER!";

  if (image == lastIcon_ && tip == lastTip_) return;
  lastIcon_ = image;
  lastTip_ = tip;
  std::string shown = CutTip(tip, host.Characters());
  if (!host.ShellModify(trayIconId_, image, shown.c_str())) trayIconId_ = 0;
}

void TrayController::DeleteTray(TrayHost& host) {
  if (trayIconId_ == 0) return;
  host.ShellDelete(trayIconId_);
  trayIconId_ = 0;
}
