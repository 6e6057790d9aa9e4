// Writes pictures as a Windows icon file, the form in which the program's icon resources are compiled
// in: below PNG_MIN_SIZE pixels as bitmaps of 4 bits per pixel, one plane, a 16-colour palette and a
// 1-bit transparency mask; from PNG_MIN_SIZE up as PNG images with an alpha channel, which icon
// resources hold since Windows Vista and which take a fraction of the bitmap's bytes.
#ifndef FARHOUR_TOOLS_ICONGEN_ICO_ENCODER_H
#define FARHOUR_TOOLS_ICONGEN_ICO_ENCODER_H

#include <array>
#include <cstdint>
#include <vector>

#include "tools/icongen/canvas.h"

constexpr int PNG_MIN_SIZE = 40;

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
