// The program's icon resources as pictures: the program icon (128) and the 28 built-in entries, each
// with an active (149 + index) and an inactive (249 + index) icon.
#ifndef FARHOUR_TOOLS_ICONGEN_ICON_SET_H
#define FARHOUR_TOOLS_ICONGEN_ICON_SET_H

#include <cstdint>
#include <string>
#include <vector>

#include "tools/icongen/canvas.h"
#include "tools/icongen/ico_encoder.h"

enum class IconState { ACTIVE, INACTIVE };

// The sizes every icon resource holds, largest first: the small-icon sizes of 100 % to 200 % (16, 20,
// 24, 32) and the standard icon sizes of 100 % to 150 % (32, 40, 48), each drawn for its own grid.
constexpr int ICON_SIZES[] = {48, 40, 32, 24, 20, 16};

Canvas DrawProgramIcon(int size);
Canvas DrawBuiltinIcon(int index, IconState state, int size);

struct IconResource {
  int id = 0;
  std::string fileName;  // under res/icons
  Palette palette{};
  std::vector<Canvas> images;  // largest first
};

// 128, then the active icons 149..176, then the inactive icons 249..276.
std::vector<IconResource> BuildIconResources();
std::vector<std::uint8_t> EncodeIconResource(const IconResource& resource);

#endif
