#include "tools/icongen/ico_encoder.h"

#include "tools/icongen/png_encoder.h"

namespace {

constexpr std::uint32_t HEADER_SIZE = 6;
constexpr std::uint32_t ENTRY_SIZE = 16;
constexpr std::uint32_t INFO_HEADER_SIZE = 40;
constexpr std::uint32_t PALETTE_BYTES = 16 * 4;

void Put16(std::vector<std::uint8_t>& out, std::uint32_t value) {
  out.push_back(static_cast<std::uint8_t>(value));
  out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void Put32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  Put16(out, value & 0xFFFF);
  Put16(out, value >> 16);
}

// Rows of both bitmaps are padded to whole 32-bit words.
std::uint32_t ColourRowBytes(int size) { return ((static_cast<std::uint32_t>(size) * 4 + 31) / 32) * 4; }
std::uint32_t MaskRowBytes(int size) { return ((static_cast<std::uint32_t>(size) + 31) / 32) * 4; }

std::uint32_t ImageBytes(int size) {
  return INFO_HEADER_SIZE + PALETTE_BYTES + (ColourRowBytes(size) + MaskRowBytes(size)) * size;
}

// The image as an icon resource holds it: a PNG with alpha from PNG_MIN_SIZE up, a bitmap below.
std::vector<std::uint8_t> PngImage(const Canvas& image, const Palette& palette) {
  const int size = image.Size();
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(size) * size);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      pixels[static_cast<std::size_t>(y) * size + x] =
          image.IsTransparent(x, y) ? 0 : (0xFF000000u | palette[image.At(x, y) & 0x0F]);
    }
  }
  return EncodePngWithAlpha(pixels, size, size);
}

Palette WithDarkLevel(std::uint32_t level) {
  const std::uint32_t r = level << 16;
  const std::uint32_t g = level << 8;
  const std::uint32_t b = level;
  return {0x000000, r,        g,        r | g,    b,        r | b,    g | b,    0xC0C0C0,
          0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
}

void PutImage(std::vector<std::uint8_t>& out, const Canvas& image, const Palette& palette) {
  const int size = image.Size();
  const std::uint32_t colourRow = ColourRowBytes(size);
  const std::uint32_t maskRow = MaskRowBytes(size);

  // BITMAPINFOHEADER; the height covers the colour bitmap and the mask together.
  Put32(out, INFO_HEADER_SIZE);
  Put32(out, static_cast<std::uint32_t>(size));
  Put32(out, static_cast<std::uint32_t>(size) * 2);
  Put16(out, 1);  // planes
  Put16(out, 4);  // bits per pixel
  Put32(out, 0);  // no compression
  Put32(out, (colourRow + maskRow) * size);
  Put32(out, 0);
  Put32(out, 0);
  Put32(out, 0);  // colours used: 0 means all 16 of a 4-bit palette
  Put32(out, 0);

  for (std::uint32_t rgb : palette) {
    out.push_back(static_cast<std::uint8_t>(rgb));        // blue
    out.push_back(static_cast<std::uint8_t>(rgb >> 8));   // green
    out.push_back(static_cast<std::uint8_t>(rgb >> 16));  // red
    out.push_back(0);
  }

  // Both bitmaps are stored bottom row first.
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(colourRow, 0);
    for (int x = 0; x < size; ++x) {
      const std::uint8_t index = image.At(x, y) & 0x0F;
      row[x / 2] |= (x % 2 == 0) ? static_cast<std::uint8_t>(index << 4) : index;
    }
    out.insert(out.end(), row.begin(), row.end());
  }
  for (int y = size - 1; y >= 0; --y) {
    std::vector<std::uint8_t> row(maskRow, 0);
    for (int x = 0; x < size; ++x) {
      if (image.IsTransparent(x, y)) row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
    }
    out.insert(out.end(), row.begin(), row.end());
  }
}

}  // namespace

Palette StandardPalette() { return WithDarkLevel(0x80); }

Palette BrightDarkPalette() { return WithDarkLevel(0xBF); }

std::vector<std::uint8_t> EncodeIconFile(const std::vector<Canvas>& images, const Palette& palette) {
  std::vector<std::uint8_t> out;
  Put16(out, 0);  // reserved
  Put16(out, 1);  // icon, not cursor
  Put16(out, static_cast<std::uint32_t>(images.size()));

  std::vector<std::vector<std::uint8_t>> pngs;
  for (const Canvas& image : images) pngs.push_back(image.Size() >= PNG_MIN_SIZE ? PngImage(image, palette)
                                                                                 : std::vector<std::uint8_t>());
  std::uint32_t offset = HEADER_SIZE + ENTRY_SIZE * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    const int size = images[i].Size();
    const bool png = !pngs[i].empty();
    const std::uint32_t bytes = png ? static_cast<std::uint32_t>(pngs[i].size()) : ImageBytes(size);
    out.push_back(static_cast<std::uint8_t>(size));  // width; 256 would be written as 0
    out.push_back(static_cast<std::uint8_t>(size));  // height
    out.push_back(png ? 0 : 16);                      // colour count; 0 for more than 256
    out.push_back(0);                                 // reserved
    Put16(out, 1);                                    // planes
    Put16(out, png ? 32 : 4);                         // bits per pixel
    Put32(out, bytes);
    Put32(out, offset);
    offset += bytes;
  }
  for (std::size_t i = 0; i < images.size(); ++i) {
    if (pngs[i].empty())
      PutImage(out, images[i], palette);
    else
      out.insert(out.end(), pngs[i].begin(), pngs[i].end());
  }
  return out;
}
