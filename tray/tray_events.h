// What the icon does for each notification the shell sends about it: the mouse's, as the icon has
// always answered them, and the keyboard's, which the shell sends once asked for its third version
// of notifications.
#ifndef FARHOUR_TRAY_TRAY_EVENTS_H
#define FARHOUR_TRAY_TRAY_EVENTS_H

// The notifications, as the shell numbers them.
constexpr unsigned TRAY_MOUSE_MOVE = 0x0200;        // WM_MOUSEMOVE
constexpr unsigned TRAY_LEFT_DOUBLE_CLICK = 0x0203;  // WM_LBUTTONDBLCLK
constexpr unsigned TRAY_RIGHT_DOWN = 0x0204;        // WM_RBUTTONDOWN
constexpr unsigned TRAY_RIGHT_UP = 0x0205;          // WM_RBUTTONUP
constexpr unsigned TRAY_CONTEXT_MENU = 0x007B;      // WM_CONTEXTMENU: the menu key, Shift+F10, a right-click
constexpr unsigned TRAY_KEY_SELECT = 0x0401;        // NIN_KEYSELECT: Enter or Space on the icon

enum class TrayAction {
  NONE,
  REFRESH,          // the tip is made current before the shell shows it
  MENU_AT_CURSOR,   // the press of the right button
  MENU_AT_ICON,     // the keyboard asked for the menu
  SHOW_PROPERTIES,  // brought to the front
};

// The answer to one notification, given the one before it (0 for none). The shell follows the
// release of a right-click with WM_CONTEXTMENU too; the menu opened at the press, so that one
// opens nothing.
TrayAction TrayActionFor(unsigned previous, unsigned notification);

#endif
