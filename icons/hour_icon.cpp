#include "icons/hour_icon.h"

#include <cmath>

namespace {

// The digits are drawn from seven bars, as on a clock's display: at tray sizes straight bars of
// whole pixels stay sharp where curves would blur. Each size has its own proportions.
struct SizeMetrics {
  int size;
  int width;   // of a digit other than "1", which is one stem wide
  int height;
  int stem;    // the vertical bars' width
  int bar;     // the horizontal bars' height
  int gap;     // between digits
  int border;  // the inactive tile's outline
  int corner;
  int pWidth;  // the afternoon's "p": its width, height, the height of its bowl and its stroke
  int pHeight;
  int pBowl;
  int pStroke;
};

// At 16 pixels "12p" just fits: two digits are 11 pixels wide, the outline and a pixel beside it
// on each side leave 12. Sizes between these use the proportions of the next smaller one.
const SizeMetrics METRICS[] = {
    {16, 5, 9, 2, 1, 1, 1, 1, 3, 5, 3, 1},
    {20, 6, 12, 2, 2, 1, 1, 1, 4, 6, 4, 1},
    {24, 9, 14, 3, 2, 1, 1, 2, 5, 7, 5, 2},
    {32, 12, 19, 3, 3, 2, 2, 2, 6, 9, 6, 2},
};

const SizeMetrics& MetricsFor(int size) {
  const SizeMetrics* chosen = &METRICS[0];
  for (const SizeMetrics& metrics : METRICS) {
    if (metrics.size <= size) chosen = &metrics;
  }
  return *chosen;
}

// The bars of each digit: a top, b upper right, c lower right, d bottom, e lower left, f upper left,
// g middle.
enum Bar : unsigned { A = 1, B = 2, C = 4, D = 8, E = 16, F = 32, G = 64 };
const unsigned DIGIT_BARS[10] = {
    A | B | C | D | E | F, B | C,         A | B | G | E | D, A | B | G | C | D, F | G | B | C,
    A | F | G | C | D,     A | F | G | E | C | D, A | B | C, A | B | C | D | E | F | G, A | B | C | D | F | G,
};

int DigitWidth(char digit, const SizeMetrics& metrics) {
  return digit == '1' ? metrics.stem : metrics.width;
}

class Pixels {
 public:
  explicit Pixels(int size) : size_(size), argb_(static_cast<std::size_t>(size) * static_cast<std::size_t>(size)) {}
  void Fill(int x, int y, int w, int h, std::uint32_t rgb) {
    for (int row = y; row < y + h; ++row) {
      for (int column = x; column < x + w; ++column) Set(column, row, rgb);
    }
  }
  void Set(int x, int y, std::uint32_t rgb) {
    if (x >= 0 && y >= 0 && x < size_ && y < size_) argb_[Index(x, y)] = 0xFF000000u | (rgb & 0xFFFFFFu);
  }
  void Clear(int x, int y) {
    if (x >= 0 && y >= 0 && x < size_ && y < size_) argb_[Index(x, y)] = 0;
  }
  std::vector<std::uint32_t> Take() { return std::move(argb_); }

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(size_) + static_cast<std::size_t>(x);
  }
  int size_;
  std::vector<std::uint32_t> argb_;
};

void DrawDigit(Pixels& pixels, const PixelBox& box, char digit, const SizeMetrics& metrics, std::uint32_t ink) {
  if (digit < '0' || digit > '9') return;
  const unsigned bars = DIGIT_BARS[digit - '0'];
  const int middle = (box.h - metrics.bar) / 2;
  const int right = box.x + box.w - metrics.stem;
  if (bars & A) pixels.Fill(box.x, box.y, box.w, metrics.bar, ink);
  if (bars & D) pixels.Fill(box.x, box.y + box.h - metrics.bar, box.w, metrics.bar, ink);
  if (bars & G) pixels.Fill(box.x, box.y + middle, box.w, metrics.bar, ink);
  if (bars & F) pixels.Fill(box.x, box.y, metrics.stem, middle + metrics.bar, ink);
  if (bars & B) pixels.Fill(right, box.y, metrics.stem, middle + metrics.bar, ink);
  if (bars & E) pixels.Fill(box.x, box.y + middle, metrics.stem, box.h - middle, ink);
  if (bars & C) pixels.Fill(right, box.y + middle, metrics.stem, box.h - middle, ink);
  // Outer corners where two bars meet are rounded off by a pixel, which makes a 0 read as one
  // rather than as a square.
  const int bottom = box.y + box.h - 1;
  const int last = box.x + box.w - 1;
  if ((bars & (A | F)) == (A | F)) pixels.Clear(box.x, box.y);
  if ((bars & (A | B)) == (A | B)) pixels.Clear(last, box.y);
  if ((bars & (D | E)) == (D | E)) pixels.Clear(box.x, bottom);
  if ((bars & (D | C)) == (D | C)) pixels.Clear(last, bottom);
}

// A small "p": a stem from the bowl's top down past the digits' foot, and a closed bowl.
void DrawPmMark(Pixels& pixels, const PixelBox& box, const SizeMetrics& metrics, std::uint32_t ink) {
  const int stroke = metrics.pStroke;
  pixels.Fill(box.x, box.y, stroke, box.h, ink);
  pixels.Fill(box.x, box.y, box.w, stroke, ink);
  pixels.Fill(box.x, box.y + metrics.pBowl - stroke, box.w, stroke, ink);
  pixels.Fill(box.x + box.w - stroke, box.y, stroke, metrics.pBowl, ink);
}

double Linear(std::uint32_t channel) {
  const double c = static_cast<double>(channel & 0xFFu) / 255.0;
  return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double RelativeLuminance(std::uint32_t rgb) {
  return 0.2126 * Linear(rgb >> 16) + 0.7152 * Linear(rgb >> 8) + 0.0722 * Linear(rgb);
}

}  // namespace

HourText WriteHour(int hour, bool twelveHour) {
  hour = ((hour % 24) + 24) % 24;
  HourText text;
  if (twelveHour) {
    text.pm = hour >= 12;
    hour = hour % 12 == 0 ? 12 : hour % 12;
  }
  text.digits = std::to_string(hour);
  return text;
}

HourLayout LayOutHour(int size, const HourText& text) {
  const SizeMetrics& metrics = MetricsFor(size);
  HourLayout layout;
  layout.border = metrics.border;
  layout.corner = metrics.corner;
  const int inset = metrics.border + 1;
  layout.content = {inset, inset, size - 2 * inset, size - 2 * inset};

  int width = 0;
  for (char digit : text.digits) width += DigitWidth(digit, metrics) + metrics.gap;
  if (!text.digits.empty()) width -= metrics.gap;
  const int top = (size - metrics.height) / 2;
  const int pmTop = top + metrics.height - metrics.pBowl;
  const int withPm = width + 1 + metrics.pWidth;
  const bool pmFits = withPm <= layout.content.w && pmTop + metrics.pHeight <= layout.content.y + layout.content.h;
  const bool pm = text.pm && pmFits;

  int x = (size - (pm ? withPm : width)) / 2;
  for (char digit : text.digits) {
    const int w = DigitWidth(digit, metrics);
    layout.digits.push_back({x, top, w, metrics.height});
    x += w + metrics.gap;
  }
  if (pm) layout.pmMark = {x - metrics.gap + 1, pmTop, metrics.pWidth, metrics.pHeight};
  return layout;
}

HourColours HourIconColours(TaskbarTheme theme, bool active) {
  // A deep blue tile with white digits on a light taskbar, a pale blue one with black digits on a
  // dark taskbar; off work, a grey outline and digits of the taskbar's own text colour.
  if (theme == TaskbarTheme::DARK) return active ? HourColours{0x8CC8FF, 0x000000} : HourColours{0xA0A0A0, 0xF2F2F2};
  return active ? HourColours{0x1F4E8C, 0xFFFFFF} : HourColours{0x505050, 0x1A1A1A};
}

std::vector<std::uint32_t> DrawHourIcon(int size, const HourFace& face, TaskbarTheme theme) {
  if (size <= 0) return {};
  const HourText text = WriteHour(face.hour, face.twelveHour);
  const HourLayout layout = LayOutHour(size, text);
  const HourColours colours = HourIconColours(theme, face.active);
  Pixels pixels(size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      // Distances from the nearest side and from the nearest top or bottom.
      const int dx = x < size - 1 - x ? x : size - 1 - x;
      const int dy = y < size - 1 - y ? y : size - 1 - y;
      if (dx + dy < layout.corner) continue;
      const bool edge = dx < layout.border || dy < layout.border || dx + dy < layout.corner + layout.border;
      if (face.active || edge) pixels.Set(x, y, colours.tile);
    }
  }
  const SizeMetrics& metrics = MetricsFor(size);
  for (std::size_t i = 0; i < layout.digits.size() && i < text.digits.size(); ++i) {
    DrawDigit(pixels, layout.digits[i], text.digits[i], metrics, colours.ink);
  }
  if (layout.pmMark.w > 0) DrawPmMark(pixels, layout.pmMark, metrics, colours.ink);
  return pixels.Take();
}

double ContrastRatio(std::uint32_t first, std::uint32_t second) {
  const double a = RelativeLuminance(first);
  const double b = RelativeLuminance(second);
  return a > b ? (a + 0.05) / (b + 0.05) : (b + 0.05) / (a + 0.05);
}
