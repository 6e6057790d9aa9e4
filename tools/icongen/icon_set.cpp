#include "tools/icongen/icon_set.h"

#include <cstdio>

#include "res/resource.h"
#include "tools/icongen/pictures.h"

namespace {

// How an entry's inactive 32x32 picture differs from its active one.
enum class Dimming {
  GENERAL,     // red, yellow, blue and white to their darker partners
  BLUE_WHITE,  // red stays: the Union Flag's crosses and New Zealand's stars
  WHITE_ONLY,  // the other colours are already dark enough to tell apart
  PHONE,       // every grey one step darker
  ENTRY_ZERO,  // the globe's green, blue and cyan at three-quarter intensity
};

struct Entry {
  FlagPainter flag;  // null for the pictures that are not flags
  void (*picture)(Canvas&, const Ink&);
  Dimming dimming;
  bool tallFlag;  // France's frame is a row taller at 32x32 and a row shorter at 16x16
};

const Entry ENTRIES[BUILTIN_ICON_COUNT] = {
    {nullptr, PaintClockAndGlobe, Dimming::ENTRY_ZERO, false},
    {PaintAustralia, nullptr, Dimming::BLUE_WHITE, false},
    {PaintAustria, nullptr, Dimming::GENERAL, false},
    {PaintBelgium, nullptr, Dimming::GENERAL, false},
    {PaintBrazil, nullptr, Dimming::GENERAL, false},
    {PaintCanada, nullptr, Dimming::GENERAL, false},
    {PaintDenmark, nullptr, Dimming::GENERAL, false},
    {PaintFinland, nullptr, Dimming::GENERAL, false},
    {PaintFrance, nullptr, Dimming::GENERAL, true},
    {PaintGermany, nullptr, Dimming::GENERAL, false},
    {PaintIreland, nullptr, Dimming::WHITE_ONLY, false},
    {PaintItaly, nullptr, Dimming::GENERAL, false},
    {PaintJapan, nullptr, Dimming::GENERAL, false},
    {PaintMexico, nullptr, Dimming::GENERAL, false},
    {PaintNetherlands, nullptr, Dimming::GENERAL, false},
    {PaintNorway, nullptr, Dimming::GENERAL, false},
    {PaintNewZealand, nullptr, Dimming::BLUE_WHITE, false},
    {PaintPortugal, nullptr, Dimming::GENERAL, false},
    {PaintSouthAfrica, nullptr, Dimming::GENERAL, false},
    {PaintRussia, nullptr, Dimming::GENERAL, false},
    {PaintSpain, nullptr, Dimming::GENERAL, false},
    {PaintSweden, nullptr, Dimming::GENERAL, false},
    {PaintSwitzerland, nullptr, Dimming::GENERAL, false},
    {PaintTurkey, nullptr, Dimming::GENERAL, false},
    {PaintUnitedKingdom, nullptr, Dimming::GENERAL, false},
    {PaintUsa, nullptr, Dimming::WHITE_ONLY, false},
    {nullptr, PaintFace, Dimming::GENERAL, false},
    {nullptr, PaintPhone, Dimming::PHONE, false},
};

Ink InkFor(Dimming dimming) {
  switch (dimming) {
    case Dimming::GENERAL:
      return InactiveInk({{RED, DARK_RED}, {YELLOW, OLIVE}, {BLUE, NAVY}, {WHITE, LIGHT_GREY}});
    case Dimming::BLUE_WHITE:
      return InactiveInk({{BLUE, NAVY}, {WHITE, LIGHT_GREY}});
    case Dimming::WHITE_ONLY:
      return InactiveInk({{WHITE, LIGHT_GREY}});
    case Dimming::PHONE:
      return InactiveInk({{WHITE, LIGHT_GREY}, {LIGHT_GREY, DARK_GREY}, {DARK_GREY, BLACK}});
    case Dimming::ENTRY_ZERO:
      // With entry 0's palette the half-intensity entries are the three-quarter ones.
      return InactiveInk({{GREEN, DARK_GREEN}, {BLUE, NAVY}, {CYAN, TEAL}});
  }
  return ActiveInk();
}

// The frame around a flag, transparent rows above and below: about 5 rows of flag for 8 of the
// square, a little lower than the middle where the rows do not split evenly.
Rect FlagArea(int size, bool tall) {
  switch (size) {
    case 16: return {0, 3, 16, tall ? 10 : 11};
    case 20: return {0, 4, 20, 13};
    case 24: return {0, 5, 24, 15};
    case 32: return {0, 6, 32, tall ? 21 : 20};
    case 40: return {0, 8, 40, 25};
    default: break;
  }
  const int height = (size * 5 + 4) / 8;
  return {0, (size - height + 1) / 2, size, height};
}

std::string NumberedName(const char* prefix, int index) {
  char name[32];
  std::snprintf(name, sizeof name, "%s_%02d.ico", prefix, index);
  return name;
}

}  // namespace

Canvas DrawProgramIcon(int size) {
  Canvas canvas(size);
  PaintClockAndGlobe(canvas, ActiveInk());
  return canvas;
}

Canvas DrawBuiltinIcon(int index, IconState state, int size) {
  Canvas canvas(size);
  if (index < 0 || index >= BUILTIN_ICON_COUNT) return canvas;
  const Entry& entry = ENTRIES[index];
  // Every size shows the state: the notification area takes the small-icon size, 16 pixels at 100 %.
  const Ink ink = state == IconState::INACTIVE ? InkFor(entry.dimming) : ActiveInk();
  if (entry.picture) {
    entry.picture(canvas, ink);
    return canvas;
  }
  const Rect area = FlagArea(size, entry.tallFlag);
  entry.flag(canvas, {area.x + 1, area.y + 1, area.w - 2, area.h - 2}, ink);
  FrameRect(canvas, area, BLACK);
  return canvas;
}

std::vector<IconResource> BuildIconResources() {
  std::vector<IconResource> resources;
  IconResource program{IDR_MAINFRAME, "farhour.ico", StandardPalette(), {}};
  for (int size : ICON_SIZES) program.images.push_back(DrawProgramIcon(size));
  resources.push_back(std::move(program));
  for (IconState state : {IconState::ACTIVE, IconState::INACTIVE}) {
    const bool active = state == IconState::ACTIVE;
    for (int index = 0; index < BUILTIN_ICON_COUNT; ++index) {
      IconResource resource;
      resource.id = (active ? ACTIVE_ICON_BASE : INACTIVE_ICON_BASE) + index;
      resource.fileName = NumberedName(active ? "active" : "inactive", index);
      resource.palette = index == 0 ? BrightDarkPalette() : StandardPalette();
      for (int size : ICON_SIZES) resource.images.push_back(DrawBuiltinIcon(index, state, size));
      resources.push_back(std::move(resource));
    }
  }
  return resources;
}

std::vector<std::uint8_t> EncodeIconResource(const IconResource& resource) {
  return EncodeIconFile(resource.images, resource.palette);
}
