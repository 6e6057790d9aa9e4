// Resource and message identifiers. The numbers are part of the program's contract: stored settings,
// other copies of the program and the tests rely on them.
#ifndef FARHOUR_RES_RESOURCE_H
#define FARHOUR_RES_RESOURCE_H

// Dialogs
#define IDD_ABOUTBOX                100
#define IDD_PLACE                   102
#define IDD_TIME_ZONE               103
#define IDD_PLANNER                 104

// Controls of the properties window
#define IDC_PLACE                   1000
#define IDC_OFFSET                  1001
#define IDC_FROM                    1003
#define IDC_TO                      1004
#define IDC_APPLY                   1006
#define IDC_ICON_NAME               1007
#define IDC_DISMISS                 1008
#define IDC_BUILTIN                 1009
#define IDC_ICON_FILES              1010
#define IDC_ACTIVE_FILE             1011
#define IDC_INACTIVE_FILE           1012
#define IDC_BROWSE_ACTIVE           1013
#define IDC_BROWSE_INACTIVE         1014
#define IDC_TIME_ZONE               1015

// Controls of the Time Zone window
#define IDC_ZONE_SEARCH             1016
#define IDC_ZONE_LIST               1017
#define IDC_ZONE_NOW                1018

// The properties window's work days: seven check boxes, in the order of the user's week, then the
// line that says when none is ticked.
#define IDC_WORK_DAY_FIRST          1020
#define IDC_NO_WORK_DAY             1027
// The third choice of icon, after Built-in and Icon Files: the hour at the place.
#define IDC_HOUR_ICON               1028

// Controls of the call planner; the user's work-day boxes are seven ids from IDC_PLANNER_DAY_FIRST,
// in the order of the user's week.
#define IDC_PLANNER_PREVIOUS        1030
#define IDC_PLANNER_DATE            1031
#define IDC_PLANNER_NEXT            1032
#define IDC_PLANNER_GRID            1033
#define IDC_PLANNER_BEST            1034
#define IDC_PLANNER_TIME            1035
#define IDC_PLANNER_LINES           1036
#define IDC_PLANNER_COPY            1037
#define IDC_PLANNER_FROM            1038
#define IDC_PLANNER_TO              1039
#define IDC_PLANNER_DAY_FIRST       1040

// Strings
#define IDS_ABOUTBOX                101
#define IDS_APP_TITLE               57344
#define IDS_INTERNAL_ERROR          61704
#define IDS_ENTER_NUMBER            61713
#define IDS_ENTER_NUMBER_RANGE      61715
#define IDS_TOO_MANY_CHARS          61716
// The program's own texts; %1 and %2 stand for what each fills in.
#define IDS_CLOSE_QUESTION          200
#define IDS_REMOVE_QUESTION         201
#define IDS_ICON_FILES_FILTER       202
#define IDS_AM                      203
#define IDS_PM                      204
#define IDS_NOT_FOUND_TIP           205
#define IDS_NO_TIMER_TIP            206
#define IDS_NO_ZONE                 207
#define IDS_ZONE_NOT_HERE           208
#define IDS_NO_ZONE_NOW             209
#define IDS_ZONE_UNAVAILABLE_NOW    210
#define IDS_ZONE_NOW                211
#define IDS_DAYLIGHT_TIME           212
#define IDS_STANDARD_TIME           213
#define IDS_WORK_DAY                214
#define IDS_WEEKEND                 215
#define IDS_ZONE_MATCH              216
// The days' names where the locale has none, Sunday first: seven strings from here.
#define IDS_DAY_FIRST               220
// What could not be done for a place; %1 names the place, its number or the shortcut.
#define IDS_PLACE_NOT_STARTED       230
#define IDS_SHORTCUT_NOT_MADE       231
#define IDS_SETTINGS_NOT_DELETED    232
#define IDS_SHORTCUT_NOT_DELETED    233
#define IDS_NOT_SAVED               234
#define IDS_NOT_SAVED_AT_SIGN_OUT   235
// The call planner's texts.
#define IDS_PLANNER_HERE            240
#define IDS_PLANNER_AT_WORK_LINE    241
#define IDS_PLANNER_CLOSED_LINE     242
#define IDS_PLANNER_DAY_OFF_LINE    243
#define IDS_PLANNER_RANGE           244
#define IDS_PLANNER_ALL_AT_WORK     245
#define IDS_PLANNER_MOST_AT_WORK    246
#define IDS_PLANNER_NONE_AT_WORK    247
#define IDS_PLANNER_NOT_A_TIME      248
#define IDS_PLANNER_NO_SUCH_PLACE   249
#define IDS_PLANNER_AT_WORK_ROW     250

// The built-in icons' names, BUILTIN_ICON_COUNT strings from here; entry i names the pair
// ACTIVE_ICON_BASE + i and INACTIVE_ICON_BASE + i, and its index is the stored Icon setting.
#define IDS_ICON_NAME_FIRST         300

// Menus and commands. The icon's menu has a range of ids of its own, above every control's, so that
// a command is told from a control's notification by its id.
#define IDR_TRAY_MENU               132
#define ID_TRAY_FIRST               32772
#define ID_TRAY_PROPERTIES          32772
#define ID_TRAY_NOW                 32774
#define ID_TRAY_ADD_PLACE           32775
#define ID_TRAY_REMOVE_PLACE        32776
#define ID_TRAY_EXIT                32777
#define ID_TRAY_PLAN_CALL           32778
#define ID_TRAY_LAST                32778
#define IDM_ABOUTBOX                0x0010
#define ID_HELP                     57670

// Icons
#define IDR_MAINFRAME               128
#define ACTIVE_ICON_BASE            149
#define INACTIVE_ICON_BASE          249
#define BUILTIN_ICON_COUNT          28

// Tray and timer
#define TRAY_ICON_ID                999
// The refresh timer fires just after each turn of the minute (MillisecondsToNextMinute).
#define REFRESH_TIMER_ID            101
// While the shell refuses the icon in the first minute, it is asked again this often.
#define ADD_RETRY_TIMER_ID          102
#define ADD_RETRY_PERIOD_MS         3000
#define ADD_RETRY_COUNT             20
// The call planner looks for places added, removed or changed this often.
#define PLANNER_TIMER_ID            103
#define PLANNER_PERIOD_MS           1000
#define TRAY_NOTIFY_MESSAGE         0x8064
// Posted to the window by work on places that ended in the background.
#define PLACES_WORK_DONE_MESSAGE    0x8065
// Posted by the window to itself at set-up, for what waits for the program's loop.
#define AFTER_START_MESSAGE         0x8066

#endif
