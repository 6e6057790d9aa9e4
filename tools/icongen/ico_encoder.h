// Writes pictures as a Windows icon file: 4 bits per pixel, one plane, a 16-colour palette and a
// 1-bit transparency mask, the form in which the program's icon resources are compiled in.
#ifndef FARHOUR_TOOLS_ICONGEN_ICO_ENCODER_H
#define FARHOUR_TOOLS_ICONGEN_ICO_ENCODER_H

#include <array>
#include <cstdint>
#include <vector>

#include "tools/icongen/canvas.h"

// 0xRRGGBB per palette index.
using Palette = std::array<std::uint32_t, 16>;

// Black, the six half-intensity colours, light grey, dark grey, the six full-intensity colours, white.
Palette StandardPalette();
// The same with the six half-intensity colours at three-quarter intensity (0xBF), used by the small
// pictures of entry 0.
Palette BrightDarkPalette();

// One icon file holding the pictures in the given order, all with the same palette.
std::vector<std::uint8_t> EncodeIconFile(const std::vector<Canvas>& images, const Palette& palette);

#endif
