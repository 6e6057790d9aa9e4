// The painters of the built-in pictures. Each paints with an Ink, which turns the colours of the
// active picture into those of the picture being made, so that one drawing serves both states.
#ifndef FARHOUR_TOOLS_ICONGEN_PICTURES_H
#define FARHOUR_TOOLS_ICONGEN_PICTURES_H

#include <array>
#include <cstdint>
#include <initializer_list>
#include <utility>

#include "tools/icongen/canvas.h"

struct Ink {
  std::array<std::uint8_t, 16> map{};
  bool inactive = false;
  std::uint8_t operator()(std::uint8_t colour) const { return map[colour & 0x0F]; }
};

Ink ActiveInk();
// Starts from the active ink and replaces the listed colours.
Ink InactiveInk(std::initializer_list<std::pair<std::uint8_t, std::uint8_t>> changes);

// Flags paint only inside their black frame; inner is the area within it.
using FlagPainter = void (*)(Canvas& canvas, const Rect& inner, const Ink& ink);

void PaintAustralia(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintAustria(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintBelgium(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintBrazil(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintCanada(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintDenmark(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintFinland(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintFrance(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintGermany(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintIreland(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintItaly(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintJapan(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintMexico(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintNetherlands(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintNorway(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintNewZealand(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintPortugal(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintSouthAfrica(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintRussia(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintSpain(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintSweden(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintSwitzerland(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintTurkey(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintUnitedKingdom(Canvas& canvas, const Rect& inner, const Ink& ink);
void PaintUsa(Canvas& canvas, const Rect& inner, const Ink& ink);

// Pictures that fill the whole square and are transparent around their outline.
void PaintClockAndGlobe(Canvas& canvas, const Ink& ink);
void PaintFace(Canvas& canvas, const Ink& ink);
void PaintPhone(Canvas& canvas, const Ink& ink);

#endif
