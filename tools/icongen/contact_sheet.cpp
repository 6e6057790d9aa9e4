#include "tools/icongen/contact_sheet.h"

#include <cstdio>
#include <string>

#include "icons/hour_icon.h"
#include "res/resource.h"
#include "tools/icongen/png_encoder.h"

namespace {

constexpr int ZOOM = 2;
constexpr int TEXT_ZOOM = 2;
constexpr int GLYPH_ADVANCE = 6 * TEXT_ZOOM;
constexpr int GAP = 6;
constexpr int CAPTION_HEIGHT = 9 * TEXT_ZOOM + 6;
constexpr int LARGEST = ICON_SIZES[0] * ZOOM;
constexpr int SizesWidth() {
  int width = 0;
  for (int size : ICON_SIZES) width += size * ZOOM + GAP;
  return width;
}
constexpr int CELL_WIDTH = SizesWidth() + 24;
constexpr int CELL_HEIGHT = CAPTION_HEIGHT + 2 * LARGEST + GAP + 24;
constexpr int COLUMNS = 4;
constexpr int MARGIN = 16;

constexpr std::uint32_t BACKGROUND = 0xF8F8F8;
constexpr std::uint32_t INK = 0x000000;
constexpr std::uint32_t SLOT_EDGE = 0x909090;
// Transparent pixels show as a pale checkerboard that no palette colour matches.
constexpr std::uint32_t CHECK_LIGHT = 0xF4DCEC;
constexpr std::uint32_t CHECK_DARK = 0xE0C4D8;

// 5x7 glyphs, one byte per row from the top, bit 4 the leftmost pixel; letters with a descender are
// drawn `drop` rows lower.
struct Glyph {
  char c;
  std::uint8_t rows[7];
  int drop = 0;
};

const Glyph FONT[] = {
    {' ', {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0x00}}, {'.', {0x00, 0x00, 0x00, 0x00, 0x00, 0x0C, 0x0C}},
    {',', {0x00, 0x00, 0x00, 0x00, 0x0C, 0x04, 0x08}}, {':', {0x00, 0x0C, 0x0C, 0x00, 0x0C, 0x0C, 0x00}},
    {'-', {0x00, 0x00, 0x00, 0x1F, 0x00, 0x00, 0x00}}, {'/', {0x00, 0x01, 0x02, 0x04, 0x08, 0x10, 0x00}},
    {'(', {0x02, 0x04, 0x08, 0x08, 0x08, 0x04, 0x02}}, {')', {0x08, 0x04, 0x02, 0x02, 0x02, 0x04, 0x08}},
    {'=', {0x00, 0x00, 0x1F, 0x00, 0x1F, 0x00, 0x00}},
    {'0', {0x0E, 0x11, 0x13, 0x15, 0x19, 0x11, 0x0E}}, {'1', {0x04, 0x0C, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'2', {0x0E, 0x11, 0x01, 0x02, 0x04, 0x08, 0x1F}}, {'3', {0x1F, 0x02, 0x04, 0x02, 0x01, 0x11, 0x0E}},
    {'4', {0x02, 0x06, 0x0A, 0x12, 0x1F, 0x02, 0x02}}, {'5', {0x1F, 0x10, 0x1E, 0x01, 0x01, 0x11, 0x0E}},
    {'6', {0x06, 0x08, 0x10, 0x1E, 0x11, 0x11, 0x0E}}, {'7', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x08, 0x08}},
    {'8', {0x0E, 0x11, 0x11, 0x0E, 0x11, 0x11, 0x0E}}, {'9', {0x0E, 0x11, 0x11, 0x0F, 0x01, 0x02, 0x0C}},
    {'A', {0x0E, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}}, {'B', {0x1E, 0x11, 0x11, 0x1E, 0x11, 0x11, 0x1E}},
    {'C', {0x0E, 0x11, 0x10, 0x10, 0x10, 0x11, 0x0E}}, {'D', {0x1E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x1E}},
    {'E', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x1F}}, {'F', {0x1F, 0x10, 0x10, 0x1E, 0x10, 0x10, 0x10}},
    {'G', {0x0E, 0x11, 0x10, 0x17, 0x11, 0x11, 0x0F}}, {'H', {0x11, 0x11, 0x11, 0x1F, 0x11, 0x11, 0x11}},
    {'I', {0x0E, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}}, {'J', {0x07, 0x02, 0x02, 0x02, 0x02, 0x12, 0x0C}},
    {'K', {0x11, 0x12, 0x14, 0x18, 0x14, 0x12, 0x11}}, {'L', {0x10, 0x10, 0x10, 0x10, 0x10, 0x10, 0x1F}},
    {'M', {0x11, 0x1B, 0x15, 0x15, 0x11, 0x11, 0x11}}, {'N', {0x11, 0x11, 0x19, 0x15, 0x13, 0x11, 0x11}},
    {'O', {0x0E, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'P', {0x1E, 0x11, 0x11, 0x1E, 0x10, 0x10, 0x10}},
    {'Q', {0x0E, 0x11, 0x11, 0x11, 0x15, 0x12, 0x0D}}, {'R', {0x1E, 0x11, 0x11, 0x1E, 0x14, 0x12, 0x11}},
    {'S', {0x0F, 0x10, 0x10, 0x0E, 0x01, 0x01, 0x1E}}, {'T', {0x1F, 0x04, 0x04, 0x04, 0x04, 0x04, 0x04}},
    {'U', {0x11, 0x11, 0x11, 0x11, 0x11, 0x11, 0x0E}}, {'V', {0x11, 0x11, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'W', {0x11, 0x11, 0x11, 0x15, 0x15, 0x15, 0x0A}}, {'X', {0x11, 0x11, 0x0A, 0x04, 0x0A, 0x11, 0x11}},
    {'Y', {0x11, 0x11, 0x11, 0x0A, 0x04, 0x04, 0x04}}, {'Z', {0x1F, 0x01, 0x02, 0x04, 0x08, 0x10, 0x1F}},
    {'a', {0x00, 0x00, 0x0E, 0x01, 0x0F, 0x11, 0x0F}}, {'b', {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x1E}},
    {'c', {0x00, 0x00, 0x0E, 0x10, 0x10, 0x11, 0x0E}}, {'d', {0x01, 0x01, 0x0D, 0x13, 0x11, 0x11, 0x0F}},
    {'e', {0x00, 0x00, 0x0E, 0x11, 0x1F, 0x10, 0x0E}}, {'f', {0x06, 0x09, 0x08, 0x1C, 0x08, 0x08, 0x08}},
    {'g', {0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E}, 2}, {'h', {0x10, 0x10, 0x16, 0x19, 0x11, 0x11, 0x11}},
    {'i', {0x04, 0x00, 0x0C, 0x04, 0x04, 0x04, 0x0E}}, {'j', {0x02, 0x00, 0x06, 0x02, 0x02, 0x12, 0x0C}},
    {'k', {0x10, 0x10, 0x12, 0x14, 0x18, 0x14, 0x12}}, {'l', {0x0C, 0x04, 0x04, 0x04, 0x04, 0x04, 0x0E}},
    {'m', {0x00, 0x00, 0x1A, 0x15, 0x15, 0x11, 0x11}}, {'n', {0x00, 0x00, 0x16, 0x19, 0x11, 0x11, 0x11}},
    {'o', {0x00, 0x00, 0x0E, 0x11, 0x11, 0x11, 0x0E}}, {'p', {0x1E, 0x11, 0x11, 0x11, 0x1E, 0x10, 0x10}, 2},
    {'q', {0x0F, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x01}, 2}, {'r', {0x00, 0x00, 0x16, 0x19, 0x10, 0x10, 0x10}},
    {'s', {0x00, 0x00, 0x0E, 0x10, 0x0E, 0x01, 0x1E}}, {'t', {0x08, 0x08, 0x1C, 0x08, 0x08, 0x09, 0x06}},
    {'u', {0x00, 0x00, 0x11, 0x11, 0x11, 0x13, 0x0D}}, {'v', {0x00, 0x00, 0x11, 0x11, 0x11, 0x0A, 0x04}},
    {'w', {0x00, 0x00, 0x11, 0x11, 0x15, 0x15, 0x0A}}, {'x', {0x00, 0x00, 0x11, 0x0A, 0x04, 0x0A, 0x11}},
    {'y', {0x11, 0x11, 0x11, 0x11, 0x0F, 0x01, 0x0E}, 2}, {'z', {0x00, 0x00, 0x1F, 0x02, 0x04, 0x08, 0x1F}},
};

// A character the font lacks shows as a filled box, so that a missing glyph is noticed.
const Glyph MISSING = {'?', {0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F, 0x1F}};

const Glyph& GlyphFor(char c) {
  for (const Glyph& glyph : FONT) {
    if (glyph.c == c) return glyph;
  }
  return MISSING;
}

class Sheet {
 public:
  Sheet(int width, int height)
      : width_(width), height_(height), pixels_(static_cast<std::size_t>(width) * height, BACKGROUND) {}

  void Set(int x, int y, std::uint32_t rgb) {
    if (x >= 0 && y >= 0 && x < width_ && y < height_) pixels_[static_cast<std::size_t>(y) * width_ + x] = rgb;
  }

  void Text(int x, int y, const std::string& text) {
    for (char c : text) {
      const Glyph& glyph = GlyphFor(c);
      for (int row = 0; row < 7; ++row) {
        for (int col = 0; col < 5; ++col) {
          if (glyph.rows[row] & (0x10 >> col))
            Block(x + col * TEXT_ZOOM, y + (row + glyph.drop) * TEXT_ZOOM, TEXT_ZOOM, INK);
        }
      }
      x += GLYPH_ADVANCE;
    }
  }

  void Picture(int x, int y, const Canvas& image, const Palette& palette) {
    const int size = image.Size();
    for (int i = -1; i <= size * ZOOM; ++i) {
      Set(x + i, y - 1, SLOT_EDGE);
      Set(x + i, y + size * ZOOM, SLOT_EDGE);
      Set(x - 1, y + i, SLOT_EDGE);
      Set(x + size * ZOOM, y + i, SLOT_EDGE);
    }
    for (int py = 0; py < size; ++py) {
      for (int px = 0; px < size; ++px) {
        const std::uint32_t rgb = image.IsTransparent(px, py) ? ((px + py) % 2 == 0 ? CHECK_LIGHT : CHECK_DARK)
                                                              : palette[image.At(px, py)];
        Block(x + px * ZOOM, y + py * ZOOM, ZOOM, rgb);
      }
    }
  }

  // Pixels of 0xAARRGGBB, each zoom times enlarged, over a backdrop colour.
  void Composite(int x, int y, const std::vector<std::uint32_t>& argb, int size, int zoom, std::uint32_t backdrop) {
    for (int py = 0; py < size; ++py) {
      for (int px = 0; px < size; ++px) {
        const std::uint32_t pixel = argb[static_cast<std::size_t>(py * size + px)];
        Block(x + px * zoom, y + py * zoom, zoom, (pixel >> 24) ? (pixel & 0xFFFFFFu) : backdrop);
      }
    }
  }

  void Fill(int x, int y, int w, int h, std::uint32_t rgb) {
    for (int dy = 0; dy < h; ++dy)
      for (int dx = 0; dx < w; ++dx) Set(x + dx, y + dy, rgb);
  }

  std::vector<std::uint8_t> Png() const { return EncodePng(pixels_, width_, height_); }

 private:
  void Block(int x, int y, int size, std::uint32_t rgb) { Fill(x, y, size, size, rgb); }

  int width_;
  int height_;
  std::vector<std::uint32_t> pixels_;
};

const IconResource* FindResource(const std::vector<IconResource>& resources, int id) {
  for (const IconResource& resource : resources) {
    if (resource.id == id) return &resource;
  }
  return nullptr;
}

const Canvas* ImageOfSize(const IconResource* resource, int size) {
  if (!resource) return nullptr;
  for (const Canvas& image : resource->images) {
    if (image.Size() == size) return &image;
  }
  return nullptr;
}

// One cell: a caption, then the first resource's pictures from the largest to the smallest, and the
// second's below them.
void Cell(Sheet& sheet, int cell, const std::string& caption, const IconResource* first,
          const IconResource* second) {
  const int x = MARGIN + (cell % COLUMNS) * CELL_WIDTH;
  const int y = MARGIN + (cell / COLUMNS) * CELL_HEIGHT;
  sheet.Text(x, y, caption);
  const IconResource* owners[2] = {first, second};
  for (int row = 0; row < 2; ++row) {
    int left = x;
    const int bottom = y + CAPTION_HEIGHT + (row + 1) * LARGEST + row * GAP;
    for (int size : ICON_SIZES) {
      const Canvas* image = ImageOfSize(owners[row], size);
      if (image) sheet.Picture(left, bottom - size * ZOOM, *image, owners[row]->palette);
      left += size * ZOOM + GAP;
    }
  }
}

}  // namespace

std::vector<std::uint8_t> RenderContactSheet(const std::vector<IconResource>& resources) {
  const int cells = 1 + BUILTIN_ICON_COUNT;
  const int rows = (cells + COLUMNS - 1) / COLUMNS;
  Sheet sheet(2 * MARGIN + COLUMNS * CELL_WIDTH, 2 * MARGIN + rows * CELL_HEIGHT);

  // The program icon's sizes sit where an entry shows its active pictures.
  Cell(sheet, 0, "128 program icon", FindResource(resources, IDR_MAINFRAME), nullptr);
  for (int index = 0; index < BUILTIN_ICON_COUNT; ++index) {
    // The entries' names live in the program's string table; the sheet gives the index the
    // properties window lists them by, and the resources.
    char caption[64];
    std::snprintf(caption, sizeof caption, "%d  %d/%d", index, ACTIVE_ICON_BASE + index, INACTIVE_ICON_BASE + index);
    Cell(sheet, 1 + index, caption, FindResource(resources, ACTIVE_ICON_BASE + index),
         FindResource(resources, INACTIVE_ICON_BASE + index));
  }
  return sheet.Png();
}

namespace {

// The hours the sheet shows: on a 24-hour clock, then the same moments on a 12-hour one.
const int SHEET_HOURS[] = {0, 9, 10, 12, 21, 23};
constexpr int HOUR_ZOOM = 3;
const int HOUR_SIZES[] = {16, 20, 24, 32};

struct SheetTaskbar {
  const char* caption;
  TaskbarTheme theme;
  std::uint32_t colour;
};
const SheetTaskbar SHEET_TASKBARS[] = {
    {"Light taskbar (Windows 11, F3F3F3)", TaskbarTheme::LIGHT, 0xF3F3F3},
    {"Dark taskbar (Windows 11, 202020)", TaskbarTheme::DARK, 0x202020},
};

constexpr int HOUR_CELL = 32 * HOUR_ZOOM + GAP;
constexpr int LABEL_WIDTH = 6 * GLYPH_ADVANCE;

int HourRowHeight(int size) { return 2 * size * HOUR_ZOOM + 3 * GAP + CAPTION_HEIGHT; }

}  // namespace

std::vector<std::uint8_t> RenderHourSheet() {
  const int faces = 2 * static_cast<int>(sizeof SHEET_HOURS / sizeof SHEET_HOURS[0]);
  const int stripWidth = faces * HOUR_CELL + GAP + 2 * (32 + GAP);
  int height = MARGIN;
  for (int t = 0; t < 2; ++t) {
    height += CAPTION_HEIGHT;
    for (int size : HOUR_SIZES) height += HourRowHeight(size) + GAP;
  }
  Sheet sheet(2 * MARGIN + LABEL_WIDTH + stripWidth, height + MARGIN);
  int y = MARGIN;
  for (const SheetTaskbar& taskbar : SHEET_TASKBARS) {
    sheet.Text(MARGIN, y, std::string(taskbar.caption) + ": 24-hour clock, then 12-hour, active above, inactive below");
    y += CAPTION_HEIGHT;
    for (int size : HOUR_SIZES) {
      sheet.Text(MARGIN, y + CAPTION_HEIGHT, std::to_string(size) + " px");
      const int left = MARGIN + LABEL_WIDTH;
      sheet.Fill(left, y, stripWidth, HourRowHeight(size), taskbar.colour);
      int x = left + GAP;
      for (int twelve = 0; twelve < 2; ++twelve) {
        for (int hour : SHEET_HOURS) {
          for (int row = 0; row < 2; ++row) {
            const HourFace face{hour, twelve != 0, row == 0};
            const int top = y + CAPTION_HEIGHT + GAP + row * (size * HOUR_ZOOM + GAP);
            sheet.Composite(x, top, DrawHourIcon(size, face, taskbar.theme), size, HOUR_ZOOM, taskbar.colour);
            // The icon at its own size, as the taskbar shows it, at the end of the strip.
            if (hour == SHEET_HOURS[1] && twelve) {
              sheet.Composite(left + stripWidth - 2 * (32 + GAP), top, DrawHourIcon(size, face, taskbar.theme), size,
                              1, taskbar.colour);
            }
            if (hour == SHEET_HOURS[4] && twelve) {
              sheet.Composite(left + stripWidth - (32 + GAP), top, DrawHourIcon(size, face, taskbar.theme), size, 1,
                              taskbar.colour);
            }
          }
          x += HOUR_CELL;
        }
      }
      y += HourRowHeight(size) + GAP;
    }
  }
  return sheet.Png();
}
