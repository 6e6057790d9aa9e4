// The icon's answers to the shell's notifications: the mouse's as they always were, the keyboard's,
// and the WM_CONTEXTMENU that follows a right-click's release, which must not open a second menu.
#include "tray/tray_events.h"

#include <gtest/gtest.h>

namespace {

constexpr unsigned LEFT_DOWN = 0x0201;
constexpr unsigned LEFT_UP = 0x0202;
constexpr unsigned SELECT = 0x0400;  // NIN_SELECT: the shell's name for a left click

struct TrayEventCase {
  const char* label;
  unsigned previous;
  unsigned notification;
  TrayAction action;
};

class TrayEvents : public ::testing::TestWithParam<TrayEventCase> {};

TEST_P(TrayEvents, AnswerAsTheMouseAndTheKeyboardAsk) {
  const TrayEventCase& c = GetParam();
  EXPECT_EQ(TrayActionFor(c.previous, c.notification), c.action) << c.label;
}

const TrayEventCase TRAY_EVENT_CASES[] = {
    {"mouse move", 0, TRAY_MOUSE_MOVE, TrayAction::REFRESH},
    {"right press", TRAY_MOUSE_MOVE, TRAY_RIGHT_DOWN, TrayAction::MENU_AT_CURSOR},
    {"right release", TRAY_RIGHT_DOWN, TRAY_RIGHT_UP, TrayAction::NONE},
    {"context menu after a right-click", TRAY_RIGHT_UP, TRAY_CONTEXT_MENU, TrayAction::NONE},
    {"menu key", TRAY_MOUSE_MOVE, TRAY_CONTEXT_MENU, TrayAction::MENU_AT_ICON},
    {"menu key first of all", 0, TRAY_CONTEXT_MENU, TrayAction::MENU_AT_ICON},
    {"Shift+F10 twice", TRAY_CONTEXT_MENU, TRAY_CONTEXT_MENU, TrayAction::MENU_AT_ICON},
    {"menu key after the right press alone", TRAY_RIGHT_DOWN, TRAY_CONTEXT_MENU, TrayAction::MENU_AT_ICON},
    {"double-click", LEFT_UP, TRAY_LEFT_DOUBLE_CLICK, TrayAction::SHOW_PROPERTIES},
    {"Enter", 0, TRAY_KEY_SELECT, TrayAction::SHOW_PROPERTIES},
    {"Enter after a right-click", TRAY_RIGHT_UP, TRAY_KEY_SELECT, TrayAction::SHOW_PROPERTIES},
    {"left press", 0, LEFT_DOWN, TrayAction::NONE},
    {"left release", LEFT_DOWN, LEFT_UP, TrayAction::NONE},
    {"left click as the shell names it", LEFT_UP, SELECT, TrayAction::NONE},
};
INSTANTIATE_TEST_SUITE_P(Notifications, TrayEvents, ::testing::ValuesIn(TRAY_EVENT_CASES));

}  // namespace
