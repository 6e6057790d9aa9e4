// A PNG showing every icon of the program enlarged, active beside inactive, with the entry names, so
// that a person can judge the pictures without building the program.
#ifndef FARHOUR_TOOLS_ICONGEN_CONTACT_SHEET_H
#define FARHOUR_TOOLS_ICONGEN_CONTACT_SHEET_H

#include <cstdint>
#include <vector>

#include "tools/icongen/icon_set.h"

// resources as made by BuildIconResources.
std::vector<std::uint8_t> RenderContactSheet(const std::vector<IconResource>& resources);

// The hour icons at each tray size on a light and a dark taskbar, enlarged, with a few at their own
// size, so that a person can judge the digits at 16 pixels and the contrast.
std::vector<std::uint8_t> RenderHourSheet();

#endif
