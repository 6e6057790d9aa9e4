// The program's own picture, the face and the telephone, and the inks shared by all pictures.
#include "tools/icongen/pictures.h"

#include <cmath>

Ink ActiveInk() {
  Ink ink;
  for (int i = 0; i < 16; ++i) ink.map[i] = static_cast<std::uint8_t>(i);
  return ink;
}

Ink InactiveInk(std::initializer_list<std::pair<std::uint8_t, std::uint8_t>> changes) {
  Ink ink = ActiveInk();
  ink.inactive = true;
  for (const auto& change : changes) ink.map[change.first] = change.second;
  return ink;
}

namespace {

Shape Either(Shape a, Shape b) {
  return [=](double x, double y) { return a(x, y) || b(x, y); };
}

Shape Both(Shape a, Shape b) {
  return [=](double x, double y) { return a(x, y) && b(x, y); };
}

Shape Below(double edge) {
  return [=](double, double y) { return y > edge; };
}

// A shape laid out on a grid of another size, stretched by scale to the canvas.
Shape Scaled(Shape shape, double scale) {
  return [=](double x, double y) { return shape(x / scale, y / scale); };
}

// A rectangle of a layout, stretched by scale and rounded to the canvas's pixels.
Rect ScaledRect(const Rect& r, double scale) {
  const auto at = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
  return {at(r.x), at(r.y), at(r.x + r.w) - at(r.x), at(r.y + r.h) - at(r.y)};
}

// Painting a layout of another grid, stretched by scale to the canvas.
struct ScaledPaint {
  double scale;
  void Fill(Canvas& target, const Rect& clip, const Shape& shape, std::uint8_t colour) const {
    ::Fill(target, clip, Scaled(shape, scale), colour);
  }
  void FillRect(Canvas& target, const Rect& rect, std::uint8_t colour) const {
    ::FillRect(target, ScaledRect(rect, scale), colour);
  }
};

}  // namespace

// Two layouts, on the 16- and the 32-pixel grid, each stretched to the sizes it serves.
void PaintClockAndGlobe(Canvas& canvas, const Ink& ink) {
  const bool small = canvas.Size() < 32;
  const double scale = canvas.Size() / (small ? 16.0 : 32.0);
  const Rect all{0, 0, canvas.Size(), canvas.Size()};
  const ScaledPaint paint{scale};

  // The globe at lower right, partly hidden behind the clock.
  const Point globeCentre = small ? Point{10.5, 10.5} : Point{20.5, 20.5};
  const double globeRadius = small ? 5.4 : 11.2;
  const Shape globe = Disc(globeCentre, globeRadius);
  paint.Fill(canvas, all, globe, ink(BLUE));
  if (small) {
    paint.Fill(canvas, all, Both(globe, Polygon({{10, 6}, {14, 7}, {15, 11}, {12.5, 12}, {13, 15}, {10.5, 13.5},
                                           {9.5, 10}})),
         ink(GREEN));
    paint.Fill(canvas, all, Both(globe, Ellipse({7, 13.5}, 1.8, 1.2)), ink(GREEN));
    paint.Fill(canvas, all, Both(globe, Ring(globeCentre, 4.4, 5.4)), ink(BLUE));
    paint.Fill(canvas, all, Both(Ring(globeCentre, 4.4, 5.4), [](double x, double y) { return x > 12 && y < 10; }),
         ink(CYAN));
  } else {
    paint.Fill(canvas, all, Both(globe, Polygon({{21, 11}, {26, 11.5}, {29, 15}, {27, 19}, {25, 20}, {26.5, 24},
                                           {24, 29}, {21.5, 28}, {21, 23}, {18.5, 19.5}, {19.5, 14.5}})),
         ink(GREEN));
    paint.Fill(canvas, all, Both(globe, Ellipse({13.5, 26}, 3.5, 2.2)), ink(GREEN));
    paint.Fill(canvas, all, Both(globe, Ellipse({30, 22}, 1.6, 3)), ink(GREEN));
    // Light falls on the globe from the upper right.
    paint.Fill(canvas, all, Both(Ring(globeCentre, 9.6, 11.2), [](double x, double y) { return x > 22 && y < 20; }),
         ink(CYAN));
    paint.Fill(canvas, all, Both(Ellipse({27.5, 13.5}, 1.0, 1.0), globe), ink(CYAN));
  }

  // The clock at upper left: black rim, white face, the hands at 12 and at 3.
  const Point clockCentre = small ? Point{5.5, 5.5} : Point{11.0, 11.0};
  const double rim = small ? 5.5 : 10.6;
  const double face = small ? 4.4 : 8.9;
  paint.Fill(canvas, all, Disc(clockCentre, rim), ink(BLACK));
  paint.Fill(canvas, all, Disc(clockCentre, face), ink(WHITE));
  const double hand = small ? 0.5 : 1.0;
  paint.Fill(canvas, all, Band(clockCentre, {clockCentre.x, clockCentre.y - (small ? 3.6 : 7.2)}, hand), ink(BLACK));
  paint.Fill(canvas, all, Band(clockCentre, {clockCentre.x + (small ? 2.6 : 5.5), clockCentre.y}, hand), ink(BLACK));
  if (!small) {
    // Marks at 6 and 9; those at 12 and 3 lie under the hands' tips.
    paint.Fill(canvas, all, Band({11, 18}, {11, 19.5}, 1.0), ink(BLACK));
    paint.Fill(canvas, all, Band({2.5, 11}, {4, 11}, 1.0), ink(BLACK));
  }
}

void PaintFace(Canvas& canvas, const Ink& ink) {
  if (canvas.Size() < 20) {
    // Too small for computed shapes: drawn pixel by pixel.
    Sprite(canvas, 0, 0,
           {".....######.....",
            "...##yyyyyy##...",
            "..#yyyyyyyyyy#..",
            ".#yyyyyyyyyyyy#.",
            ".#yyyy#yy#yyyy#.",
            "#yyyyy#yy#yyyyy#",
            "#yyyyy#yy#yyyyy#",
            "#yyyyyyyyyyyyyy#",
            "#yyyyyyyyyyyyyy#",
            "#yyy#yyyyyy#yyy#",
            "#yyyy#yyyy#yyyy#",
            ".#yyyy####yyyy#.",
            ".#yyyyyyyyyyyy#.",
            "..#yyyyyyyyyy#..",
            "...##yyyyyy##...",
            ".....######....."},
           {{'#', ink(BLACK)}, {'y', ink(YELLOW)}});
    return;
  }
  // Laid out on 32 pixels and stretched to the canvas.
  const double scale = canvas.Size() / 32.0;
  const Rect all{0, 0, canvas.Size(), canvas.Size()};
  const ScaledPaint paint{scale};
  paint.Fill(canvas, all, Disc({16, 16}, 16.0), ink(BLACK));
  paint.Fill(canvas, all, Disc({16, 16}, 14.4), ink(YELLOW));
  if (!ink.inactive) {
    paint.Fill(canvas, all, Ellipse({11, 12.5}, 1.45, 3.2), ink(BLACK));
    paint.Fill(canvas, all, Ellipse({21, 12.5}, 1.45, 3.2), ink(BLACK));
    paint.Fill(canvas, all, Both(Ring({16, 14}, 8.3, 10.0), Below(18.5)), ink(BLACK));
    return;
  }
  // Outside its hours the face has lost its smile and lies on its side: the eyes are two bars one
  // above the other on the left, the mouth a straight line on the right.
  paint.FillRect(canvas, {7, 11, 6, 2}, ink(BLACK));
  paint.FillRect(canvas, {7, 19, 6, 2}, ink(BLACK));
  paint.FillRect(canvas, {21, 8, 2, 16}, ink(BLACK));
}

void PaintPhone(Canvas& canvas, const Ink& ink) {
  if (canvas.Size() < 20) {
    Sprite(canvas, 0, 0,
           {"................",
            ".##############.",
            "#wwwwwwwwwwwwww#",
            "#wwww######wwww#",
            "#www#......#www#",
            ".###.######.###.",
            "....#wwwwww#....",
            "...#wwwwwwww#...",
            "..#wkkwkkwkkw#..",
            "..#wwwwwwwwww#..",
            "..#wkkwkkwkkw#..",
            "..#wwwwwwwwww#..",
            "..#wkkwkkwkkw#..",
            ".##############.",
            ".gggggggggggggg.",
            "................"},
           {{'#', ink(BLACK)}, {'w', ink(WHITE)}, {'k', ink(DARK_GREY)}, {'g', ink(DARK_GREY)}});
    return;
  }
  // Laid out on 32 pixels and stretched to the canvas.
  const double scale = canvas.Size() / 32.0;
  const Rect all{0, 0, canvas.Size(), canvas.Size()};
  const ScaledPaint paint{scale};
  // The handset across the top: a grip with the ear and mouth pieces hanging from its ends.
  auto handset = [](double grow) {
    return Either(Band({8, 5.5}, {24, 5.5}, 2.2 + grow),
                  Either(Ellipse({6.5, 8.5}, 3.3 + grow, 2.6 + grow), Ellipse({25.5, 8.5}, 3.3 + grow, 2.6 + grow)));
  };
  paint.Fill(canvas, all, handset(1.0), ink(BLACK));
  paint.Fill(canvas, all, handset(0.0), ink(WHITE));
  // The body widens toward the desk.
  paint.Fill(canvas, all, Polygon({{9, 11}, {23, 11}, {28, 29}, {4, 29}}), ink(BLACK));
  paint.Fill(canvas, all, Polygon({{10, 12}, {22, 12}, {26.7, 28}, {5.3, 28}}), ink(WHITE));
  for (int row = 0; row < 4; ++row) {
    for (int col = 0; col < 3; ++col) {
      const Rect key{9 + 5 * col, 13 + 4 * row, 4, 3};
      paint.FillRect(canvas, key, ink(LIGHT_GREY));
      ::FrameRect(canvas, ScaledRect(key, scale), ink(DARK_GREY));
    }
  }
  paint.FillRect(canvas, {2, 29, 28, 2}, ink(DARK_GREY));
}
