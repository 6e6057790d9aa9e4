#include "tray/tray_events.h"

TrayAction TrayActionFor(unsigned previous, unsigned notification) {
  switch (notification) {
    case TRAY_MOUSE_MOVE: return TrayAction::REFRESH;
    case TRAY_RIGHT_DOWN: return TrayAction::MENU_AT_CURSOR;
    case TRAY_CONTEXT_MENU: return previous == TRAY_RIGHT_UP ? TrayAction::NONE : TrayAction::MENU_AT_ICON;
    case TRAY_LEFT_DOUBLE_CLICK:
    case TRAY_KEY_SELECT: return TrayAction::SHOW_PROPERTIES;
    default: return TrayAction::NONE;
  }
}
