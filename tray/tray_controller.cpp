#include "tray/tray_controller.h"

#include <cstdio>

#include "res/resource.h"

namespace {

std::string NotFoundTip(const std::string& path) {
  return "\"" + path + "\" not found";
}

}  // namespace

std::string CutTip(const std::string& tip, LeadBytePredicate isLeadByte) {
  if (tip.size() <= TRAY_TIP_MAX) return tip;
  std::size_t end = 0;
  if (!isLeadByte) {
    end = TRAY_TIP_MAX;
  } else {
    for (std::size_t i = 0; i < TRAY_TIP_MAX;) {
      std::size_t step = (isLeadByte(static_cast<unsigned char>(tip[i])) && i + 1 < tip.size()) ? 2 : 1;
      if (i + step > TRAY_TIP_MAX) break;
      i += step;
      end = i;
    }
  }
  return tip.substr(0, end);
}

void TrayController::CreateTray(TrayHost& host) {
  // Also the answer to a restarted shell, which has forgotten the icon: start from nothing.
  lastTip_.clear();
  lastIcon_ = nullptr;
  IconRef active = host.LoadResourceIcon(ACTIVE_ICON_BASE);
  IconRef inactive = host.LoadResourceIcon(INACTIVE_ICON_BASE);
  if (!active || !inactive) {
    trayIconId_ = 0;
    return;
  }
  trayIconId_ = TRAY_ICON_ID;
  if (!host.ShellAdd(trayIconId_, active)) trayIconId_ = 0;
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
  std::string shown = CutTip(tip, host.LeadBytes());
  if (!host.ShellModify(trayIconId_, image, shown.c_str())) trayIconId_ = 0;
}

void TrayController::DeleteTray(TrayHost& host) {
  if (trayIconId_ == 0) return;
  host.ShellDelete(trayIconId_);
  trayIconId_ = 0;
}
