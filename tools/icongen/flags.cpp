// The 25 flags. Each painter has two layouts: one on the 30x18 pixels inside the 32x32 flag's frame
// (France 30x19), used for the flags of 32 pixels and more, and one on the 14x9 pixels inside the
// 16x16 flag's frame (France 14x8), used below 32. Positions and sizes of a layout are stretched to
// the inside of the flag being drawn and rounded to its pixels there, so each size is drawn for its
// own grid rather than scaled from another picture. Where the small flag cannot simply be the large
// one scaled down, the painter says what it does instead.
#include <algorithm>
#include <cmath>
#include <vector>

#include "tools/icongen/pictures.h"

namespace {

bool IsSmall(const Rect& inner) { return inner.w < 26; }

// Pixels of the flag per pixel of its layout, across and down.
double ScaleX(const Rect& inner) { return inner.w / (IsSmall(inner) ? 14.0 : 30.0); }
double ScaleY(const Rect& inner) { return inner.h / (IsSmall(inner) ? 9.0 : 18.0); }
// A length that is neither across nor down: a radius, a band's half width.
double Len(const Rect& inner, double length) { return length * std::sqrt(ScaleX(inner) * ScaleY(inner)); }

// Pixels of the flag itself, relative to the top left corner inside the frame.
Rect Pixels(const Rect& inner, int x, int y, int w, int h) { return {inner.x + x, inner.y + y, w, h}; }

// Positions in the layout, relative to the top left corner inside the frame.
Rect Sub(const Rect& inner, int x, int y, int w, int h) {
  const double sx = ScaleX(inner);
  const double sy = ScaleY(inner);
  const int left = static_cast<int>(std::lround(x * sx));
  const int top = static_cast<int>(std::lround(y * sy));
  const int right = static_cast<int>(std::lround((x + w) * sx));
  const int bottom = static_cast<int>(std::lround((y + h) * sy));
  return {inner.x + left, inner.y + top, right - left, bottom - top};
}
Point At(const Rect& inner, double x, double y) { return {inner.x + x * ScaleX(inner), inner.y + y * ScaleY(inner)}; }

// A picture given pixel by pixel in the layout; each of its pixels covers the flag's pixels that
// the layout pixel covers.
void InnerSprite(Canvas& canvas, const Rect& inner, int x, int y, const std::vector<const char*>& rows,
                 const std::vector<SpriteInk>& legend) {
  for (std::size_t row = 0; row < rows.size(); ++row) {
    for (int col = 0; rows[row][col] != '\0'; ++col) {
      for (const SpriteInk& ink : legend) {
        if (ink.key != rows[row][col]) continue;
        FillRect(canvas, Sub(inner, x + col, y + static_cast<int>(row), 1, 1), ink.colour);
      }
    }
  }
}

// Splits the flag into bands in proportion to weights; boundaries are rounded to whole pixels.
void Stripes(Canvas& canvas, const Rect& inner, bool vertical, const std::vector<std::uint8_t>& colours,
             std::vector<int> weights = {}) {
  if (weights.empty()) weights.assign(colours.size(), 1);
  int total = 0;
  for (int w : weights) total += w;
  const int length = vertical ? inner.w : inner.h;
  int sum = 0;
  for (std::size_t i = 0; i < colours.size(); ++i) {
    const int from = static_cast<int>(std::lround(static_cast<double>(length) * sum / total));
    sum += weights[i];
    const int to = static_cast<int>(std::lround(static_cast<double>(length) * sum / total));
    FillRect(canvas, vertical ? Pixels(inner, from, 0, to - from, inner.h) : Pixels(inner, 0, from, inner.w, to - from),
             colours[i]);
  }
}

// A cross whose bars are `thickness` pixels, the vertical one starting `hoist` pixels from the hoist;
// the horizontal bar is centred.
void OffsetCross(Canvas& canvas, const Rect& inner, int hoist, int thickness, std::uint8_t colour) {
  const Rect upright = Sub(inner, hoist, 0, thickness, 0);
  FillRect(canvas, {upright.x, inner.y, upright.w, inner.h}, colour);
  const int rows = std::max(1, static_cast<int>(std::lround(thickness * ScaleY(inner))));
  FillRect(canvas, {inner.x, inner.y + (inner.h - rows) / 2, inner.w, rows}, colour);
}

// Stars too small for points: the pixels within `radius` steps of the centre pixel.
Shape Diamond(Point centre, double radius) {
  return [=](double x, double y) { return std::fabs(x - centre.x) + std::fabs(y - centre.y) <= radius; };
}

struct UnionSizes {
  int crossWhiteRows;
  int crossRedRows;
  int crossWhiteCols;
  int crossRedCols;
  double saltireWhite;  // half widths of the diagonal bands
  double saltireRed;
};

// r is the flag's part the Union Flag fills; inner, the whole inside, gives the scale.
void UnionFlag(Canvas& canvas, const Rect& inner, const Rect& r, const Ink& ink, const UnionSizes& layout) {
  const auto across = [&](int n) { return std::max(1, static_cast<int>(std::lround(n * ScaleX(inner)))); };
  const auto down = [&](int n) { return std::max(1, static_cast<int>(std::lround(n * ScaleY(inner)))); };
  const UnionSizes s{down(layout.crossWhiteRows), down(layout.crossRedRows), across(layout.crossWhiteCols),
                     across(layout.crossRedCols), Len(inner, layout.saltireWhite), Len(inner, layout.saltireRed)};
  FillRect(canvas, r, ink(BLUE));
  const Point topLeft{double(r.x), double(r.y)};
  const Point bottomRight{double(r.x + r.w), double(r.y + r.h)};
  const Point bottomLeft{double(r.x), double(r.y + r.h)};
  const Point topRight{double(r.x + r.w), double(r.y)};
  Fill(canvas, r, Band(topLeft, bottomRight, s.saltireWhite), ink(WHITE));
  Fill(canvas, r, Band(bottomLeft, topRight, s.saltireWhite), ink(WHITE));
  if (s.saltireRed > 0) {
    Fill(canvas, r, Band(topLeft, bottomRight, s.saltireRed), ink(RED));
    Fill(canvas, r, Band(bottomLeft, topRight, s.saltireRed), ink(RED));
  }
  FillRect(canvas, {r.x, r.y + (r.h - s.crossWhiteRows) / 2, r.w, s.crossWhiteRows}, ink(WHITE));
  FillRect(canvas, {r.x + (r.w - s.crossWhiteCols) / 2, r.y, s.crossWhiteCols, r.h}, ink(WHITE));
  FillRect(canvas, {r.x, r.y + (r.h - s.crossRedRows) / 2, r.w, s.crossRedRows}, ink(RED));
  FillRect(canvas, {r.x + (r.w - s.crossRedCols) / 2, r.y, s.crossRedCols, r.h}, ink(RED));
}

// The Union Flag in the upper hoist quarter, as Australia and New Zealand carry it. At 16x16 the
// quarter is 7x5 pixels, too small for computed bands, so it is drawn pixel by pixel.
void UnionCanton(Canvas& canvas, const Rect& inner, const Ink& ink) {
  if (IsSmall(inner)) {
    InnerSprite(canvas, inner, 0, 0,
           {"wbbrbbw",
            "bwbrbwb",
            "rrrrrrr",
            "bwbrbwb",
            "wbbrbbw"},
           {{'w', ink(WHITE)}, {'b', ink(BLUE)}, {'r', ink(RED)}});
    return;
  }
  UnionFlag(canvas, inner, Sub(inner, 0, 0, 15, 9), ink, {3, 1, 3, 1, 1.2, 0.45});
}

}  // namespace

void PaintAustralia(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(BLUE));
  UnionCanton(canvas, inner, ink);
  if (IsSmall(inner)) {
    // The Commonwealth Star below the Union Flag, and the Southern Cross as single pixels.
    Fill(canvas, inner, Diamond(At(inner, 3.5, 7.5), Len(inner, 1)), ink(WHITE));
    for (Point star : {Point{10.5, 1.5}, Point{8.5, 4.5}, Point{12.5, 3.5}, Point{10.5, 7.5}, Point{11.5, 5.5}})
      Fill(canvas, inner, Diamond(At(inner, star.x, star.y), Len(inner, 0)), ink(WHITE));
    return;
  }
  Fill(canvas, inner, Star(At(inner, 7.5, 13.5), Len(inner, 3.6), Len(inner, 1.6), 7), ink(WHITE));
  for (Point star : {Point{22.5, 3.5}, Point{18.5, 8.5}, Point{26.5, 7.5}, Point{22.5, 14.5}})
    Fill(canvas, inner, Star(At(inner, star.x, star.y), Len(inner, 2.3), Len(inner, 1.0), 7), ink(WHITE));
  Fill(canvas, inner, Diamond(At(inner, 24.5, 10.5), Len(inner, 0)), ink(WHITE));
}

void PaintAustria(Canvas& canvas, const Rect& inner, const Ink& ink) {
  Stripes(canvas, inner, false, {ink(RED), ink(WHITE), ink(RED)});
}

void PaintBelgium(Canvas& canvas, const Rect& inner, const Ink& ink) {
  Stripes(canvas, inner, true, {ink(BLACK), ink(YELLOW), ink(RED)});
}

void PaintBrazil(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(DARK_GREEN));
  // In the layout's pixels.
  const double w = IsSmall(inner) ? 14 : 30;
  const double h = IsSmall(inner) ? 9 : 18;
  const double cx = w / 2.0;
  const double cy = h / 2.0;
  const double inset = IsSmall(inner) ? 0.5 : 1.5;
  Fill(canvas, inner,
       Polygon({At(inner, inset, cy), At(inner, cx, inset), At(inner, w - inset, cy), At(inner, cx, h - inset)}),
       ink(YELLOW));
  if (IsSmall(inner)) {
    Fill(canvas, inner, Disc(At(inner, cx, cy), Len(inner, 2.3)), ink(BLUE));
    Fill(canvas, inner, Diamond(At(inner, cx + 0.5, cy + 0.5), Len(inner, 0)), ink(WHITE));
    return;
  }
  Fill(canvas, inner, Disc(At(inner, cx, cy), Len(inner, 4.7)), ink(BLUE));
  for (Point dot : {Point{13.5, 10.5}, Point{16.5, 11.5}, Point{15.5, 9.5}, Point{17.5, 8.5}, Point{12.5, 8.5}})
    Fill(canvas, inner, Diamond(At(inner, dot.x, dot.y), Len(inner, 0)), ink(WHITE));
}

void PaintCanada(Canvas& canvas, const Rect& inner, const Ink& ink) {
  const std::vector<SpriteInk> leafInk{{'x', ink(RED)}};
  if (IsSmall(inner)) {
    Stripes(canvas, inner, true, {ink(RED), ink(WHITE), ink(RED)}, {3, 8, 3});
    InnerSprite(canvas, inner, 4, 1,
           {"..xx..",
            "x.xx.x",
            "xxxxxx",
            ".xxxx.",
            "xxxxxx",
            "..xx..",
            "..xx.."},
           leafInk);
    return;
  }
  Stripes(canvas, inner, true, {ink(RED), ink(WHITE), ink(RED)}, {1, 2, 1});
  InnerSprite(canvas, inner, 9, 2,
         {".....xx.....",
          "....xxxx....",
          ".x..xxxx..x.",
          ".xx.xxxx.xx.",
          "..xxxxxxxx..",
          "x..xxxxxx..x",
          "xxxxxxxxxxxx",
          ".xxxxxxxxxx.",
          "..xxxxxxxx..",
          ".xxxxxxxxxx.",
          ".....xx.....",
          ".....xx.....",
          ".....xx....."},
         leafInk);
}

void PaintDenmark(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(RED));
  if (IsSmall(inner))
    OffsetCross(canvas, inner, 4, 1, ink(WHITE));
  else
    OffsetCross(canvas, inner, 9, 4, ink(WHITE));
}

void PaintFinland(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(WHITE));
  if (IsSmall(inner))
    OffsetCross(canvas, inner, 3, 3, ink(BLUE));
  else
    OffsetCross(canvas, inner, 8, 6, ink(BLUE));
}

void PaintFrance(Canvas& canvas, const Rect& inner, const Ink& ink) {
  Stripes(canvas, inner, true, {ink(BLUE), ink(WHITE), ink(RED)});
}

void PaintGermany(Canvas& canvas, const Rect& inner, const Ink& ink) {
  Stripes(canvas, inner, false, {ink(BLACK), ink(RED), ink(YELLOW)});
}

void PaintIreland(Canvas& canvas, const Rect& inner, const Ink& ink) {
  // Green and orange are mixed from pixels of two palette colours.
  Stripes(canvas, inner, true, {ink(GREEN), ink(WHITE), ink(RED)});
  const int third = static_cast<int>(std::lround(inner.w / 3.0));
  FillChecker(canvas, Pixels(inner, 0, 0, third, inner.h), ink(GREEN), ink(DARK_GREEN));
  FillChecker(canvas, Pixels(inner, inner.w - third, 0, third, inner.h), ink(RED), ink(YELLOW));
}

void PaintItaly(Canvas& canvas, const Rect& inner, const Ink& ink) {
  Stripes(canvas, inner, true, {ink(DARK_GREEN), ink(WHITE), ink(RED)});
}

void PaintJapan(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(WHITE));
  const Point centre{inner.x + inner.w / 2.0, inner.y + inner.h / 2.0};
  Fill(canvas, inner, Disc(centre, Len(inner, IsSmall(inner) ? 2.6 : 5.4)), ink(RED));
}

void PaintMexico(Canvas& canvas, const Rect& inner, const Ink& ink) {
  Stripes(canvas, inner, true, {ink(DARK_GREEN), ink(WHITE), ink(RED)});
  // The eagle on its cactus, brown over a green wreath.
  const std::vector<SpriteInk> emblemInk{{'o', ink(OLIVE)}, {'g', ink(DARK_GREEN)}};
  if (IsSmall(inner)) {
    InnerSprite(canvas, inner, 6, 3, {"oo", "oo", "gg"}, emblemInk);
    return;
  }
  InnerSprite(canvas, inner, 12, 6,
         {"..oo..",
          ".oooo.",
          "oooooo",
          ".oooo.",
          "g.oo.g",
          ".gggg."},
         emblemInk);
}

void PaintNetherlands(Canvas& canvas, const Rect& inner, const Ink& ink) {
  Stripes(canvas, inner, false, {ink(RED), ink(WHITE), ink(BLUE)});
}

void PaintNorway(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(RED));
  if (IsSmall(inner)) {
    OffsetCross(canvas, inner, 3, 3, ink(WHITE));
    OffsetCross(canvas, inner, 4, 1, ink(BLUE));
    return;
  }
  OffsetCross(canvas, inner, 8, 4, ink(WHITE));
  OffsetCross(canvas, inner, 9, 2, ink(BLUE));
}

void PaintNewZealand(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(BLUE));
  UnionCanton(canvas, inner, ink);
  // Four red stars of the Southern Cross, edged in white.
  const double edge = IsSmall(inner) ? 1 : 2;
  const double core = IsSmall(inner) ? 0 : 1;
  const std::vector<Point> stars = IsSmall(inner)
      ? std::vector<Point>{{10.5, 1.5}, {8.5, 4.5}, {12.5, 3.5}, {10.5, 7.5}}
      : std::vector<Point>{{22.5, 3.5}, {18.5, 8.5}, {26.5, 7.5}, {22.5, 14.5}};
  for (Point star : stars) {
    Fill(canvas, inner, Diamond(At(inner, star.x, star.y), Len(inner, edge)), ink(WHITE));
    Fill(canvas, inner, Diamond(At(inner, star.x, star.y), Len(inner, core)), ink(RED));
  }
}

void PaintPortugal(Canvas& canvas, const Rect& inner, const Ink& ink) {
  Stripes(canvas, inner, true, {ink(DARK_GREEN), ink(RED)}, {2, 3});
  const bool small = IsSmall(inner);
  const Point centre{inner.x + std::round(inner.w * 2 / 5.0), inner.y + inner.h / 2.0};
  // The armillary sphere follows the field into the inactive picture; the shield on it keeps its
  // colours, so the emblem is only partly darkened.
  if (small) {
    Fill(canvas, inner, Disc(centre, Len(inner, 2.7)), ink(YELLOW));
    InnerSprite(canvas, inner, 5, 3, {"rr", "ww", "rr"}, {{'r', RED}, {'w', WHITE}});
    return;
  }
  Fill(canvas, inner, Ring(centre, Len(inner, 3.9), Len(inner, 5.6)), ink(YELLOW));
  Fill(canvas, inner, Band({centre.x - Len(inner, 5), centre.y}, {centre.x + Len(inner, 5), centre.y}, Len(inner, 0.6)),
       ink(YELLOW));
  InnerSprite(canvas, inner, 10, 6,
         {"rrrr",
          "rwwr",
          "rbbr",
          "rwwr",
          "rbbr",
          ".rr."},
         {{'r', RED}, {'w', WHITE}, {'b', BLUE}});
}

void PaintSouthAfrica(Canvas& canvas, const Rect& inner, const Ink& ink) {
  const bool small = IsSmall(inner);
  const double w = inner.w;
  const double h = inner.h;
  const double mid = h / 2;
  const double forkX = (small ? 5.0 : 11.0) * ScaleX(inner);  // where the arms of the Y meet
  const double green = Len(inner, small ? 0.9 : 2.0);           // half width of the green Y
  const double white = Len(inner, small ? 1.6 : 3.3);           // the same with its white edges
  const double yellow = Len(inner, small ? 0.8 : 1.3);          // width of the triangle's yellow edge
  auto distance = [](Point a, Point b, double x, double y) {
    const double dx = b.x - a.x, dy = b.y - a.y;
    double t = ((x - a.x) * dx + (y - a.y) * dy) / (dx * dx + dy * dy);
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    return std::hypot(x - a.x - t * dx, y - a.y - t * dy);
  };
  for (int py = 0; py < inner.h; ++py) {
    for (int px = 0; px < inner.w; ++px) {
      const double x = px + 0.5;
      const double y = py + 0.5;
      const double d = std::min({distance({0, 0}, {forkX, mid}, x, y), distance({0, h}, {forkX, mid}, x, y),
                                 distance({forkX, mid}, {w, mid}, x, y)});
      const bool inWedge = x < forkX && std::fabs(y - mid) < mid * (1 - x / forkX);
      std::uint8_t colour;
      if (d <= green)
        colour = ink(DARK_GREEN);
      else if (inWedge)
        colour = d <= green + yellow ? ink(YELLOW) : ink(BLACK);
      else if (d <= white)
        colour = ink(WHITE);
      else
        colour = y < mid ? ink(RED) : ink(BLUE);
      canvas.Set(inner.x + px, inner.y + py, colour);
    }
  }
}

void PaintRussia(Canvas& canvas, const Rect& inner, const Ink& ink) {
  Stripes(canvas, inner, false, {ink(WHITE), ink(BLUE), ink(RED)});
}

void PaintSpain(Canvas& canvas, const Rect& inner, const Ink& ink) {
  const std::vector<SpriteInk> armsInk{
      {'o', ink(OLIVE)}, {'r', ink(RED)}, {'w', ink(WHITE)}, {'g', ink(LIGHT_GREY)}};
  if (IsSmall(inner)) {
    Stripes(canvas, inner, false, {ink(RED), ink(YELLOW), ink(RED)}, {2, 5, 2});
    InnerSprite(canvas, inner, 3, 3, {"rw", "wr", "rr"}, armsInk);
    return;
  }
  Stripes(canvas, inner, false, {ink(RED), ink(YELLOW), ink(RED)}, {4, 10, 4});
  // Crown over a quartered shield between the two pillars.
  InnerSprite(canvas, inner, 5, 5,
         {"..oo..",
          ".oooo.",
          "grrwwg",
          "grrwwg",
          "gwwrrg",
          "gwwrrg",
          "..rr.."},
         armsInk);
}

void PaintSweden(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(BLUE));
  if (IsSmall(inner))
    OffsetCross(canvas, inner, 4, 1, ink(YELLOW));
  else
    OffsetCross(canvas, inner, 9, 4, ink(YELLOW));
}

void PaintSwitzerland(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(RED));
  if (IsSmall(inner)) {
    FillRect(canvas, Sub(inner, 6, 1, 2, 7), ink(WHITE));
    FillRect(canvas, Sub(inner, 4, 3, 6, 3), ink(WHITE));
    return;
  }
  FillRect(canvas, Sub(inner, 13, 3, 4, 12), ink(WHITE));
  FillRect(canvas, Sub(inner, 9, 7, 12, 4), ink(WHITE));
}

void PaintTurkey(Canvas& canvas, const Rect& inner, const Ink& ink) {
  FillRect(canvas, inner, ink(RED));
  const double mid = (IsSmall(inner) ? 9 : 18) / 2.0;
  if (IsSmall(inner)) {
    Fill(canvas, inner, Without(Disc(At(inner, 5, mid), Len(inner, 3.2)), Disc(At(inner, 6.0, mid), Len(inner, 2.5))),
         ink(WHITE));
    Fill(canvas, inner, Diamond(At(inner, 8.5, mid), Len(inner, 1)), ink(WHITE));
    return;
  }
  Fill(canvas, inner, Without(Disc(At(inner, 10.5, mid), Len(inner, 5.6)), Disc(At(inner, 12.0, mid), Len(inner, 4.5))),
       ink(WHITE));
  Fill(canvas, inner, Star(At(inner, 17.5, mid + 0.5), Len(inner, 3.6), Len(inner, 1.5), 5, -90), ink(WHITE));
}

void PaintUnitedKingdom(Canvas& canvas, const Rect& inner, const Ink& ink) {
  if (IsSmall(inner))
    UnionFlag(canvas, inner, inner, ink, {3, 1, 4, 2, 0.9, 0});
  else
    UnionFlag(canvas, inner, inner, ink, {6, 4, 6, 4, 1.9, 0.7});
}

void PaintUsa(Canvas& canvas, const Rect& inner, const Ink& ink) {
  // Thirteen stripes do not fit: nine, red at top and bottom.
  Stripes(canvas, inner, false,
          {ink(RED), ink(WHITE), ink(RED), ink(WHITE), ink(RED), ink(WHITE), ink(RED), ink(WHITE), ink(RED)});
  if (IsSmall(inner)) {
    FillRect(canvas, Sub(inner, 0, 0, 6, 5), ink(BLUE));
    for (Point star : {Point{1, 1}, Point{3, 1}, Point{2, 3}, Point{4, 3}})
      FillRect(canvas, Sub(inner, static_cast<int>(star.x), static_cast<int>(star.y), 1, 1), ink(WHITE));
    return;
  }
  FillRect(canvas, Sub(inner, 0, 0, 12, 10), ink(BLUE));
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 5; ++col)
      FillRect(canvas, Sub(inner, 1 + 2 * col + row % 2, 1 + 2 * row, 1, 1), ink(WHITE));
  }
}
