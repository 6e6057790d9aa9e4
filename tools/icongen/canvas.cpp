#include "tools/icongen/canvas.h"

#include <cmath>
#include <cstring>
#include <utility>

Canvas::Canvas(int size)
    : size_(size),
      colour_(static_cast<std::size_t>(size) * size, BLACK),
      transparent_(static_cast<std::size_t>(size) * size, 1) {}

void Canvas::Set(int x, int y, std::uint8_t colour) {
  if (x < 0 || y < 0 || x >= size_ || y >= size_) return;
  colour_[Index(x, y)] = colour & 0x0F;
  transparent_[Index(x, y)] = 0;
}

void Canvas::Clear(int x, int y) {
  if (x < 0 || y < 0 || x >= size_ || y >= size_) return;
  // Transparent pixels are black so that the screen shows through unchanged.
  colour_[Index(x, y)] = BLACK;
  transparent_[Index(x, y)] = 1;
}

bool Canvas::operator==(const Canvas& other) const {
  return size_ == other.size_ && colour_ == other.colour_ && transparent_ == other.transparent_;
}

void Fill(Canvas& canvas, const Rect& clip, const Shape& shape, std::uint8_t colour) {
  for (int y = clip.y; y < clip.y + clip.h; ++y) {
    for (int x = clip.x; x < clip.x + clip.w; ++x) {
      if (shape(x + 0.5, y + 0.5)) canvas.Set(x, y, colour);
    }
  }
}

void FillRect(Canvas& canvas, const Rect& rect, std::uint8_t colour) {
  Fill(canvas, rect, [](double, double) { return true; }, colour);
}

void FillChecker(Canvas& canvas, const Rect& rect, std::uint8_t even, std::uint8_t odd) {
  for (int y = rect.y; y < rect.y + rect.h; ++y) {
    for (int x = rect.x; x < rect.x + rect.w; ++x) canvas.Set(x, y, (x + y) % 2 == 0 ? even : odd);
  }
}

void FrameRect(Canvas& canvas, const Rect& rect, std::uint8_t colour) {
  for (int x = rect.x; x < rect.x + rect.w; ++x) {
    canvas.Set(x, rect.y, colour);
    canvas.Set(x, rect.y + rect.h - 1, colour);
  }
  for (int y = rect.y; y < rect.y + rect.h; ++y) {
    canvas.Set(rect.x, y, colour);
    canvas.Set(rect.x + rect.w - 1, y, colour);
  }
}

Shape Disc(Point centre, double radius) {
  return Ellipse(centre, radius, radius);
}

Shape Ellipse(Point centre, double rx, double ry) {
  return [=](double x, double y) {
    const double dx = (x - centre.x) / rx;
    const double dy = (y - centre.y) / ry;
    return dx * dx + dy * dy <= 1.0;
  };
}

Shape Ring(Point centre, double inner, double outer) {
  return Without(Disc(centre, outer), Disc(centre, inner));
}

Shape Polygon(std::vector<Point> corners) {
  return [corners = std::move(corners)](double x, double y) {
    // Even-odd rule.
    bool inside = false;
    const std::size_t n = corners.size();
    for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
      const Point& a = corners[i];
      const Point& b = corners[j];
      if ((a.y > y) != (b.y > y) && x < (b.x - a.x) * (y - a.y) / (b.y - a.y) + a.x) inside = !inside;
    }
    return inside;
  };
}

Shape Band(Point a, Point b, double halfWidth) {
  return [=](double x, double y) {
    const double dx = b.x - a.x;
    const double dy = b.y - a.y;
    const double length2 = dx * dx + dy * dy;
    double t = length2 > 0 ? ((x - a.x) * dx + (y - a.y) * dy) / length2 : 0;
    t = t < 0 ? 0 : (t > 1 ? 1 : t);
    const double ex = x - (a.x + t * dx);
    const double ey = y - (a.y + t * dy);
    return ex * ex + ey * ey <= halfWidth * halfWidth;
  };
}

Shape Star(Point centre, double outer, double inner, int points, double angle) {
  const double pi = std::acos(-1.0);
  std::vector<Point> corners;
  for (int i = 0; i < 2 * points; ++i) {
    const double radius = i % 2 == 0 ? outer : inner;
    const double a = (angle + 180.0 * i / points) * pi / 180.0;
    corners.push_back({centre.x + radius * std::sin(a), centre.y - radius * std::cos(a)});
  }
  return Polygon(std::move(corners));
}

Shape Without(Shape shape, Shape hole) {
  return [=](double x, double y) { return shape(x, y) && !hole(x, y); };
}

void Sprite(Canvas& canvas, int x, int y, const std::vector<const char*>& rows,
            const std::vector<SpriteInk>& legend) {
  for (std::size_t row = 0; row < rows.size(); ++row) {
    const std::size_t length = std::strlen(rows[row]);
    for (std::size_t col = 0; col < length; ++col) {
      for (const SpriteInk& ink : legend) {
        if (ink.key == rows[row][col]) {
          canvas.Set(x + static_cast<int>(col), y + static_cast<int>(row), ink.colour);
          break;
        }
      }
    }
  }
}
