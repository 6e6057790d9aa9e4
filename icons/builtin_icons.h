// The names of the built-in icon pairs, as the properties window lists them. Entry i shows icon
// resource ACTIVE_ICON_BASE + i while the place is active and INACTIVE_ICON_BASE + i while it is not.
#ifndef FARHOUR_ICONS_BUILTIN_ICONS_H
#define FARHOUR_ICONS_BUILTIN_ICONS_H

#include "res/resource.h"

// Index order is the stored Icon setting: the list is deliberately not alphabetical.
extern const char* const BUILTIN_ICON_NAMES[BUILTIN_ICON_COUNT];

#endif
