// A square picture of palette indices with a transparency mask, and the few drawing primitives the
// built-in pictures are made of. Shapes are tested at pixel centres, so a shape's edge falls where a
// reader of the drawing code expects it.
#ifndef FARHOUR_TOOLS_ICONGEN_CANVAS_H
#define FARHOUR_TOOLS_ICONGEN_CANVAS_H

#include <cstdint>
#include <functional>
#include <vector>

#include "icons/hour_icon.h"

// Indices into the standard 16-colour palette, in its usual order.
enum Colour : std::uint8_t {
  BLACK = 0,
  DARK_RED = 1,
  DARK_GREEN = 2,
  OLIVE = 3,
  NAVY = 4,
  PURPLE = 5,
  TEAL = 6,
  LIGHT_GREY = 7,
  DARK_GREY = 8,
  RED = 9,
  GREEN = 10,
  YELLOW = 11,
  BLUE = 12,
  MAGENTA = 13,
  CYAN = 14,
  WHITE = 15,
};

// Pixels x..x+w-1, y..y+h-1: the product's own box, in which the hour icon lays out its digits.
using Rect = PixelBox;

struct Point {
  double x = 0;
  double y = 0;
};

class Canvas {
 public:
  explicit Canvas(int size);

  int Size() const { return size_; }
  std::uint8_t At(int x, int y) const { return colour_[Index(x, y)]; }
  bool IsTransparent(int x, int y) const { return transparent_[Index(x, y)] != 0; }
  // Painting a pixel makes it opaque; pixels outside the canvas are ignored.
  void Set(int x, int y, std::uint8_t colour);
  void Clear(int x, int y);

  bool operator==(const Canvas& other) const;
  bool operator!=(const Canvas& other) const { return !(*this == other); }

 private:
  int Index(int x, int y) const { return y * size_ + x; }

  int size_;
  std::vector<std::uint8_t> colour_;
  std::vector<std::uint8_t> transparent_;  // 1 where the picture shows what lies beneath
};

// A shape answers whether a point (in pixel units, pixel (x, y) covering x..x+1, y..y+1) lies inside.
using Shape = std::function<bool(double x, double y)>;

// Paints every pixel of clip whose centre lies inside shape.
void Fill(Canvas& canvas, const Rect& clip, const Shape& shape, std::uint8_t colour);
void FillRect(Canvas& canvas, const Rect& rect, std::uint8_t colour);
// Alternates two colours pixel by pixel, the first one where x + y is even.
void FillChecker(Canvas& canvas, const Rect& rect, std::uint8_t even, std::uint8_t odd);
// One pixel wide outline along the inside of rect.
void FrameRect(Canvas& canvas, const Rect& rect, std::uint8_t colour);

Shape Disc(Point centre, double radius);
Shape Ellipse(Point centre, double rx, double ry);
Shape Ring(Point centre, double inner, double outer);
Shape Polygon(std::vector<Point> corners);
// Points within halfWidth of the segment from a to b.
Shape Band(Point a, Point b, double halfWidth);
// A star of the given number of points, the first pointing in direction angle (degrees, 0 = up, clockwise).
Shape Star(Point centre, double outer, double inner, int points, double angle = 0);
Shape Without(Shape shape, Shape hole);

// Paints a small picture given as rows of characters; legend maps a character to a colour, and
// characters missing from the legend leave the canvas as it is.
struct SpriteInk {
  char key;
  std::uint8_t colour;
};
void Sprite(Canvas& canvas, int x, int y, const std::vector<const char*>& rows,
            const std::vector<SpriteInk>& legend);

#endif
