// The hour at the place as the tray icon: its digits on a tile, drawn pixel by pixel for the size the
// notification area shows, in colours that stand out on a light or a dark taskbar.
#ifndef FARHOUR_ICONS_HOUR_ICON_H
#define FARHOUR_ICONS_HOUR_ICON_H

#include <cstdint>
#include <string>
#include <vector>

// The taskbar's look. Systems that keep no such setting have the classic light taskbar.
enum class TaskbarTheme { LIGHT, DARK };

// What the icon shows.
struct HourFace {
  int hour = 0;  // at the place, 0 to 23
  bool twelveHour = false;
  bool active = false;

  bool operator==(const HourFace& other) const {
    return hour == other.hour && twelveHour == other.twelveHour && active == other.active;
  }
  bool operator!=(const HourFace& other) const { return !(*this == other); }
};

// The hour as the user's clock writes it, without a leading zero: "0" to "23", or "12", "1" to "11"
// with pm from noon on. An hour outside 0 to 23 is taken within the day.
struct HourText {
  std::string digits;
  bool pm = false;
};
HourText WriteHour(int hour, bool twelveHour);

// Pixels x..x+w-1, y..y+h-1 of the icon.
struct PixelBox {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;
};

// Where the parts of the hour go on an icon of size pixels. The small "p" of the afternoon is left
// out where it does not fit beside the digits (pmMark.w is then 0).
struct HourLayout {
  int border = 0;          // the inactive tile's outline, in pixels
  int corner = 0;          // pixels cut from each corner of the tile
  PixelBox content;        // what the digits may cover: inside the outline, with a pixel to spare
  std::vector<PixelBox> digits;
  PixelBox pmMark;
};
HourLayout LayOutHour(int size, const HourText& text);

// Colours as 0xRRGGBB.
struct HourColours {
  std::uint32_t tile;  // the active tile's fill, or the inactive tile's outline
  std::uint32_t ink;   // the digits
};
HourColours HourIconColours(TaskbarTheme theme, bool active);

// The icon's pixels, size * size values 0xAARRGGBB from the top row, each fully opaque or fully
// transparent. Active: digits on a filled tile; inactive: digits inside an outline, on the taskbar
// itself, so that the two differ in shape and not only in colour.
std::vector<std::uint32_t> DrawHourIcon(int size, const HourFace& face, TaskbarTheme theme);

// The contrast ratio of two colours (0xRRGGBB) by the Web Content Accessibility Guidelines: 1 to 21.
double ContrastRatio(std::uint32_t first, std::uint32_t second);

#endif
