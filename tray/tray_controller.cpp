#include "tray/tray_controller.h"

#include <cstdio>

#include "base/utf8_text.h"
#include "res/resource.h"

std::string CutTip(const std::string& tip) {
  return CutToUtf16Units(tip, TRAY_TIP_MAX);
}

void TrayController::CreateTray() {
  IconRef active = shell_.LoadResourceIcon(ACTIVE_ICON_BASE);
  IconRef inactive = shell_.LoadResourceIcon(INACTIVE_ICON_BASE);
  if (!active || !inactive) {
    trayIconId_ = 0;
    addPending_ = false;
    return;
  }
  trayIconId_ = TRAY_ICON_ID;
  addedImage_ = active;
  AddTray();
}

void TrayController::ReAddTray() {
  if (trayIconId_ == 0) return;
  addedImage_ = shell_.LoadResourceIcon(ACTIVE_ICON_BASE);
  AddTray();
}

void TrayController::ImagesChanged() {
  if (trayIconId_ == 0) return;
  addedImage_ = shell_.LoadResourceIcon(ACTIVE_ICON_BASE);
  // A new image may have the handle of one destroyed with the old size.
  lastIcon_ = nullptr;
  lastTip_.clear();
  UpdateTray();
}

void TrayController::AddTray() {
  // Whatever the shell showed before, the refresh hands it the whole picture again.
  lastTip_.clear();
  lastIcon_ = nullptr;
  addPending_ = true;
  UpdateTray();
}

void TrayController::UpdateTray() {
  if (trayIconId_ == 0) return;
  if (addPending_) {
    // A refused add of an icon the shell still holds is no failure: the modify below reaches it.
    if (!shell_.ShellAdd(trayIconId_, addedImage_) && !shown_) return;
    addPending_ = false;
    shown_ = true;
  }

  RemoteReading reading = place_.ReadRemoteClock();
  std::string tip = std::move(reading.tip);
  const PlaceSettings& settings = place_.Settings();
  IconRef image = nullptr;
  if (settings.iconStyle == ICON_STYLE_HOUR && reading.hour >= 0) {
    image = shell_.HourIcon({reading.hour, place_.TwelveHourClock(), reading.active});
    if (!image) image = owner_.ProgramIcon();
  } else if (settings.iconFrom == 0) {
    // Used as a 16-bit resource number without a range test: an index outside the set picks
    // whatever icon has that number, or none.
    auto base = static_cast<unsigned>(reading.active ? ACTIVE_ICON_BASE : INACTIVE_ICON_BASE);
    auto id = static_cast<unsigned short>(base + static_cast<unsigned>(settings.icon));
    image = shell_.LoadResourceIcon(id);
  } else {
    image = reading.active ? owner_.CustomActiveIcon() : owner_.CustomInactiveIcon();
    if (!image) {
      image = owner_.ProgramIcon();
      tip = owner_.NotFoundTip(reading.active ? settings.userActiveIcon : settings.userInActiveIcon);
    }
  }
  if (!owner_.RefreshTimerRunning()) tip = owner_.NoTimerTip();

  if (image == lastIcon_ && tip == lastTip_) return;
  std::string shown = CutTip(tip);
  if (!shell_.ShellModify(trayIconId_, image, shown.c_str())) {
    // The next refresh tries again with the whole picture, and adds the icon first in case the
    // shell lost it without announcing itself.
    lastTip_.clear();
    lastIcon_ = nullptr;
    addPending_ = true;
    return;
  }
  lastIcon_ = image;
  lastTip_ = std::move(tip);
}

void TrayController::DeleteTray() {
  if (trayIconId_ != 0 && shown_) shell_.ShellDelete(trayIconId_);
  trayIconId_ = 0;
  addPending_ = false;
  shown_ = false;
}
