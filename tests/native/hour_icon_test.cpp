// The hour icon: the hour as the user's clock writes it, where its digits go at each size, that they
// read as those digits, that active and inactive differ in shape, and that the colours drawn stand
// out on the taskbars of both looks.
#include "icons/hour_icon.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <ostream>
#include <set>
#include <string>
#include <vector>

namespace {

// The notification area's sizes at 100 % to 200 %, and sizes of other scales in between and beyond.
const int TRAY_SIZES[] = {16, 20, 24, 32};
const int OTHER_SIZES[] = {18, 22, 28, 40, 48};

std::vector<int> AllSizes() {
  std::vector<int> sizes(std::begin(TRAY_SIZES), std::end(TRAY_SIZES));
  sizes.insert(sizes.end(), std::begin(OTHER_SIZES), std::end(OTHER_SIZES));
  return sizes;
}

bool Opaque(std::uint32_t argb) { return (argb >> 24) != 0; }
std::uint32_t Rgb(std::uint32_t argb) { return argb & 0xFFFFFFu; }

// The hour as each clock writes it.
struct HourTextCase {
  int hour;
  bool twelveHour;
  const char* digits;
  bool pm;
};

class HourTexts : public ::testing::TestWithParam<HourTextCase> {};

TEST_P(HourTexts, FollowTheUsersClockWithoutALeadingZero) {
  const HourTextCase& c = GetParam();
  const HourText text = WriteHour(c.hour, c.twelveHour);
  EXPECT_EQ(c.digits, text.digits);
  EXPECT_EQ(c.pm, text.pm);
}

void PrintTo(const HourTextCase& c, std::ostream* os) { *os << c.hour << (c.twelveHour ? " on 12" : " on 24"); }

const HourTextCase HOUR_TEXT_CASES[] = {
    {0, false, "0", false},   {9, false, "9", false},  {10, false, "10", false}, {21, false, "21", false},
    {23, false, "23", false}, {0, true, "12", false},  {9, true, "9", false},    {11, true, "11", false},
    {12, true, "12", true},   {13, true, "1", true},   {21, true, "9", true},    {23, true, "11", true},
    {24, false, "0", false},  {-1, false, "23", false}, {-1, true, "11", true},
};
INSTANTIATE_TEST_SUITE_P(Clocks, HourTexts, ::testing::ValuesIn(HOUR_TEXT_CASES));

bool Inside(const PixelBox& inner, const PixelBox& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.x + inner.w <= outer.x + outer.w &&
         inner.y + inner.h <= outer.y + outer.h;
}

// Every hour of both clocks at each size: the digits and the afternoon's mark lie inside the tile's
// outline with a pixel to spare, left to right with space between, and centred; at the tray's sizes
// the mark always fits.
class Layouts : public ::testing::TestWithParam<int> {};

TEST_P(Layouts, KeepEveryHourInsideTheTileCentredAndApart) {
  const int size = GetParam();
  bool trayScale = false;
  for (int traySize : TRAY_SIZES) trayScale = trayScale || traySize == size;
  for (int twelve = 0; twelve < 2; ++twelve) {
    for (int hour = 0; hour < 24; ++hour) {
      SCOPED_TRACE(std::to_string(hour) + (twelve ? " on 12" : " on 24"));
      const HourText text = WriteHour(hour, twelve != 0);
      const HourLayout layout = LayOutHour(size, text);
      ASSERT_EQ(text.digits.size(), layout.digits.size());
      EXPECT_GE(layout.content.x, layout.border + 1);
      std::vector<PixelBox> parts = layout.digits;
      if (layout.pmMark.w > 0) parts.push_back(layout.pmMark);
      for (std::size_t i = 0; i < parts.size(); ++i) {
        EXPECT_TRUE(Inside(parts[i], layout.content)) << "part " << i;
        EXPECT_GT(parts[i].w, 0);
        if (i > 0) EXPECT_GE(parts[i].x - (parts[i - 1].x + parts[i - 1].w), 1) << "part " << i << " apart";
      }
      const int left = parts.front().x;
      const int right = size - (parts.back().x + parts.back().w);
      EXPECT_LE(std::abs(left - right), 1) << "centred";
      if (trayScale || size > 32) EXPECT_EQ(text.pm, layout.pmMark.w > 0) << "the afternoon's mark";
      if (layout.pmMark.w > 0) {
        EXPECT_GT(layout.pmMark.y + layout.pmMark.h, layout.digits[0].y + layout.digits[0].h) << "p descends";
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, Layouts, ::testing::ValuesIn(AllSizes()));

// The enclosed holes of one part's ink, counted as a reader sees them: regions of background that
// cannot reach the part's edge.
int Holes(const std::vector<std::uint32_t>& pixels, int size, const PixelBox& box, std::uint32_t ink) {
  const int w = box.w + 2;
  const int h = box.h + 2;
  std::vector<int> seen(static_cast<std::size_t>(w * h), 0);
  auto isInk = [&](int x, int y) {
    if (x < 1 || y < 1 || x > box.w || y > box.h) return false;
    const std::uint32_t p = pixels[static_cast<std::size_t>((box.y + y - 1) * size + box.x + x - 1)];
    return Opaque(p) && Rgb(p) == ink;
  };
  int regions = 0;
  for (int start = 0; start < w * h; ++start) {
    if (seen[start] || isInk(start % w, start / w)) continue;
    ++regions;
    std::vector<int> stack = {start};
    seen[start] = 1;
    while (!stack.empty()) {
      const int at = stack.back();
      stack.pop_back();
      const int x = at % w, y = at / w;
      const int next[4][2] = {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
      for (const auto& n : next) {
        if (n[0] < 0 || n[1] < 0 || n[0] >= w || n[1] >= h) continue;
        const int i = n[1] * w + n[0];
        if (seen[i] || isInk(n[0], n[1])) continue;
        seen[i] = 1;
        stack.push_back(i);
      }
    }
  }
  return regions - 1;  // the one region around the part is not a hole
}

// Each digit drawn at each size, on both tiles and both taskbars, has the holes of its shape: 0, 6
// and 9 one, 8 two, the rest none; the ten digits all differ; and active differs from inactive in
// which pixels are covered, not only in their colours.
class DigitShapes : public ::testing::TestWithParam<int> {};

TEST_P(DigitShapes, HaveTheHolesOfTheirDigitAndDifferFromEachOther) {
  const int size = GetParam();
  const int HOLES[10] = {1, 0, 0, 0, 0, 0, 1, 0, 2, 1};
  for (TaskbarTheme theme : {TaskbarTheme::LIGHT, TaskbarTheme::DARK}) {
    for (bool active : {true, false}) {
      std::set<std::vector<std::uint32_t>> pictures;
      for (int digit = 0; digit < 10; ++digit) {
        const std::vector<std::uint32_t> pixels = DrawHourIcon(size, {digit, false, active}, theme);
        ASSERT_EQ(static_cast<std::size_t>(size * size), pixels.size());
        const HourLayout layout = LayOutHour(size, WriteHour(digit, false));
        ASSERT_EQ(1u, layout.digits.size());
        EXPECT_EQ(HOLES[digit], Holes(pixels, size, layout.digits[0], HourIconColours(theme, active).ink))
            << "digit " << digit << (active ? " active" : " inactive");
        pictures.insert(pixels);
        const std::vector<std::uint32_t> other = DrawHourIcon(size, {digit, false, !active}, theme);
        int coverageDiffers = 0;
        for (std::size_t i = 0; i < pixels.size(); ++i) coverageDiffers += Opaque(pixels[i]) != Opaque(other[i]);
        EXPECT_GT(coverageDiffers, size * 2) << "digit " << digit << ": filled tile against outline";
      }
      EXPECT_EQ(10u, pictures.size()) << "ten different digits";
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, DigitShapes, ::testing::ValuesIn(AllSizes()));

// The contrast formula against the guidelines' own examples.
struct ContrastCase {
  std::uint32_t first;
  std::uint32_t second;
  double ratio;
};

class Contrasts : public ::testing::TestWithParam<ContrastCase> {};

TEST_P(Contrasts, FollowTheGuidelinesFormula) {
  const ContrastCase& c = GetParam();
  EXPECT_NEAR(c.ratio, ContrastRatio(c.first, c.second), 0.01);
  EXPECT_NEAR(c.ratio, ContrastRatio(c.second, c.first), 0.01);
}

const ContrastCase CONTRAST_CASES[] = {
    {0x000000, 0xFFFFFF, 21.0}, {0x777777, 0x777777, 1.0}, {0x767676, 0xFFFFFF, 4.54},
    {0x777777, 0xFFFFFF, 4.48}, {0xFF0000, 0xFFFFFF, 4.0}, {0x0000FF, 0x000000, 2.44},
};
INSTANTIATE_TEST_SUITE_P(Examples, Contrasts, ::testing::ValuesIn(CONTRAST_CASES));

// The taskbars each look has had: Windows 11's and 10's light and dark ones, and the classic grey
// of systems without the setting; an icon must stand out on every one of its look.
struct TaskbarCase {
  const char* label;
  TaskbarTheme theme;
  std::uint32_t taskbar;
};

class Taskbars : public ::testing::TestWithParam<TaskbarCase> {};

// The colours are taken from the drawing itself: the tile (or outline) at the top edge's middle,
// the digits' ink from the middle bar of an 8, and for the inactive tile the taskbar showing
// through between them.
TEST_P(Taskbars, DigitsStandOutOnTheTileAndTheTileOnTheTaskbar) {
  const TaskbarCase& c = GetParam();
  for (int size : AllSizes()) {
    for (bool active : {true, false}) {
      SCOPED_TRACE(std::to_string(size) + (active ? " active" : " inactive"));
      const std::vector<std::uint32_t> pixels = DrawHourIcon(size, {8, false, active}, c.theme);
      const PixelBox digit = LayOutHour(size, WriteHour(8, false)).digits[0];
      const std::uint32_t edge = pixels[static_cast<std::size_t>(size / 2)];
      const int middleRow = (digit.y + digit.h / 2) * size;
      const std::uint32_t ink = pixels[static_cast<std::size_t>(middleRow + digit.x + digit.w / 2)];
      const std::uint32_t beside = pixels[static_cast<std::size_t>(middleRow + digit.x - 1)];
      ASSERT_TRUE(Opaque(edge));
      ASSERT_TRUE(Opaque(ink));
      ASSERT_NE(Rgb(ink), Rgb(edge));
      EXPECT_EQ(active, Opaque(beside)) << "filled tile, or the taskbar through the outline";
      const std::uint32_t behindInk = active ? Rgb(beside) : c.taskbar;
      EXPECT_GE(ContrastRatio(Rgb(ink), behindInk), 4.5) << "digits";
      EXPECT_GE(ContrastRatio(Rgb(edge), c.taskbar), 3.0) << "tile";
    }
  }
}

void PrintTo(const TaskbarCase& c, std::ostream* os) { *os << c.label; }

const TaskbarCase TASKBAR_CASES[] = {
    {"Windows 11 light", TaskbarTheme::LIGHT, 0xF3F3F3}, {"Windows 10 light", TaskbarTheme::LIGHT, 0xEEEEEE},
    {"classic 3D face", TaskbarTheme::LIGHT, 0xD4D0C8},  {"classic grey", TaskbarTheme::LIGHT, 0xC0C0C0},
    {"white", TaskbarTheme::LIGHT, 0xFFFFFF},            {"Windows 11 dark", TaskbarTheme::DARK, 0x202020},
    {"Windows 10 dark", TaskbarTheme::DARK, 0x101010},   {"dark acrylic", TaskbarTheme::DARK, 0x2C2C2C},
    {"black", TaskbarTheme::DARK, 0x000000},
};
INSTANTIATE_TEST_SUITE_P(Looks, Taskbars, ::testing::ValuesIn(TASKBAR_CASES));

// Sizes no display gives still make a picture of that size, and nothing outside it is touched.
class OddSizes : public ::testing::TestWithParam<int> {};

TEST_P(OddSizes, GiveAPictureOfThatSize) {
  const int size = GetParam();
  const std::vector<std::uint32_t> pixels = DrawHourIcon(size, {23, true, true}, TaskbarTheme::DARK);
  EXPECT_EQ(static_cast<std::size_t>(size > 0 ? size * size : 0), pixels.size());
}

INSTANTIATE_TEST_SUITE_P(Sizes, OddSizes, ::testing::Values(-4, 0, 1, 7, 15, 64, 256));

}  // namespace
