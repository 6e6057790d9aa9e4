// The built-in icon set: the committed icon files are what the generator draws, they have the form the
// program's resources need (read back with the program's own icon-file reader), the pictures keep the
// layout and dimming rules, and the names are listed in the order stored settings rely on.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "icons/icon_file.h"
#include "res/resource.h"
#include "tools/icongen/icon_set.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using RgbPalette = std::array<std::uint32_t, 16>;

const RgbPalette STANDARD_PALETTE = {0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080,
                                     0x008080, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                     0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};
const RgbPalette ENTRY_ZERO_PALETTE = {0x000000, 0xBF0000, 0x00BF00, 0xBFBF00, 0x0000BF, 0xBF00BF,
                                       0x00BFBF, 0xC0C0C0, 0x808080, 0xFF0000, 0x00FF00, 0xFFFF00,
                                       0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

// Palette indices, spelled out here so that the rules below read like the picture descriptions.
namespace vga {
enum : std::uint8_t {
  BLACK = 0, DARK_RED = 1, DARK_GREEN = 2, OLIVE = 3, NAVY = 4, TEAL = 6, LIGHT_GREY = 7,
  DARK_GREY = 8, RED = 9, GREEN = 10, YELLOW = 11, BLUE = 12, CYAN = 14, WHITE = 15,
};
}  // namespace vga

std::string IconDir() {
  const char* source = std::getenv("FARHOUR_SOURCE_DIR");
  return std::string(source ? source : ".") + "/res/icons/";
}

std::string FileNameOf(int id) {
  if (id == IDR_MAINFRAME) return "farhour.ico";
  const bool active = id < INACTIVE_ICON_BASE;
  const int index = id - (active ? ACTIVE_ICON_BASE : INACTIVE_ICON_BASE);
  char name[32];
  std::snprintf(name, sizeof name, "%s_%02d.ico", active ? "active" : "inactive", index);
  return name;
}

Bytes ReadBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Rows of the colour bitmap (4 bits a pixel) and of the mask (1 bit) are padded to 4 bytes.
std::uint32_t ColourRowBytes(int size) { return ((size * 4 + 31) / 32) * 4; }
std::uint32_t MaskRowBytes(int size) { return ((size + 31) / 32) * 4; }

std::uint32_t Le16(const Bytes& b, std::size_t at) { return b[at] | (b[at + 1] << 8); }
std::uint32_t Le32(const Bytes& b, std::size_t at) { return Le16(b, at) | (Le16(b, at + 2) << 16); }
std::uint32_t Be32(const Bytes& b, std::size_t at) {
  return (std::uint32_t{b[at]} << 24) | (b[at + 1] << 16) | (b[at + 2] << 8) | b[at + 3];
}

// One image decoded from the bytes the program's reader delivered.
struct Picture {
  int size = 0;
  std::uint32_t biSize = 0, biPlanes = 0, biBitCount = 0, biCompression = 0, biClrUsed = 0;
  RgbPalette palette{};
  std::vector<std::uint8_t> index;  // top row first
  std::vector<bool> transparent;

  std::uint8_t At(int x, int y) const { return index[y * size + x]; }
  bool Clear(int x, int y) const { return transparent[y * size + x]; }
  bool SamePixels(const Picture& other) const {
    return size == other.size && index == other.index && transparent == other.transparent;
  }
};

Bytes BytesOf(const IconFileImage& image) { return Bytes(image.data, image.data + image.size); }

// Decodes through the reader's own positions; false when they do not fit the data.
bool Decode(const IconFileImage& image, Picture* out) {
  const Bytes d = BytesOf(image);
  if (d.size() < 40 || image.width != image.height || image.width < 16 || image.width >= PNG_MIN_SIZE) return false;
  Picture p;
  p.size = image.width;
  p.biSize = Le32(d, 0);
  p.biPlanes = Le16(d, 12);
  p.biBitCount = Le16(d, 14);
  p.biCompression = Le32(d, 16);
  p.biClrUsed = Le32(d, 32);
  const std::size_t colourRow = ColourRowBytes(p.size);
  const std::size_t maskRow = MaskRowBytes(p.size);
  const std::int64_t colourBytes = static_cast<std::int64_t>(p.size * colourRow);
  if (p.biSize != 40 || image.xorBits != 40 + 64 || image.andBits != image.xorBits + colourBytes ||
      d.size() < static_cast<std::size_t>(image.andBits) + p.size * maskRow)
    return false;
  for (int i = 0; i < 16; ++i) p.palette[i] = (d[40 + 4 * i + 2] << 16) | (d[40 + 4 * i + 1] << 8) | d[40 + 4 * i];
  for (int y = 0; y < p.size; ++y) {
    const std::size_t row = p.size - 1 - y;  // stored bottom-up
    for (int x = 0; x < p.size; ++x) {
      const std::uint8_t byte = d[image.xorBits + row * colourRow + x / 2];
      p.index.push_back(x % 2 == 0 ? byte >> 4 : byte & 0x0F);
      p.transparent.push_back((d[image.andBits + row * maskRow + x / 8] >> (7 - x % 8)) & 1);
    }
  }
  *out = p;
  return true;
}

bool IsPng(const IconFileImage& image) {
  static const std::uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  return image.size >= 8 && std::equal(SIGNATURE, SIGNATURE + 8, image.data);
}

// A PNG image's pixels are taken from the generator's drawing: the first test proves the committed
// bytes are its encoding.
bool PictureFromGenerator(int id, int size, const RgbPalette& palette, Picture* out) {
  static const std::vector<IconResource> resources = BuildIconResources();
  for (const IconResource& resource : resources) {
    if (resource.id != id) continue;
    for (const Canvas& canvas : resource.images) {
      if (canvas.Size() != size) continue;
      Picture p;
      p.size = size;
      p.palette = palette;
      for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
          p.index.push_back(canvas.IsTransparent(x, y) ? vga::BLACK : canvas.At(x, y));
          p.transparent.push_back(canvas.IsTransparent(x, y));
        }
      }
      *out = p;
      return true;
    }
  }
  return false;
}

struct IconFile {
  Bytes bytes;
  std::unique_ptr<IconFileResource> resource;
  std::map<int, Picture> bySize;
};

IconFile LoadIcon(int id) {
  IconFile file;
  const std::string path = IconDir() + FileNameOf(id);
  file.bytes = ReadBytes(path);
  MemoryByteSource source(file.bytes.data(), file.bytes.size());
  file.resource = ReadIconFile(source, path);
  if (file.resource) {
    for (const IconFileImage& image : file.resource->images) {
      Picture picture;
      if (Decode(image, &picture)) file.bySize[picture.size] = picture;
    }
    const RgbPalette& palette = file.bySize.empty() ? STANDARD_PALETTE : file.bySize.begin()->second.palette;
    for (const IconFileImage& image : file.resource->images) {
      Picture picture;
      const int size = image.size >= 24 ? static_cast<int>(Be32(BytesOf(image), 16)) : 0;
      if (IsPng(image) && PictureFromGenerator(id, size, palette, &picture)) file.bySize[size] = picture;
    }
  }
  return file;
}

std::vector<int> AllIconIds() {
  std::vector<int> ids{IDR_MAINFRAME};
  for (int i = 0; i < BUILTIN_ICON_COUNT; ++i) ids.push_back(ACTIVE_ICON_BASE + i);
  for (int i = 0; i < BUILTIN_ICON_COUNT; ++i) ids.push_back(INACTIVE_ICON_BASE + i);
  return ids;
}

// ---- The committed files are the generator's output -------------------------------------------

TEST(BuiltinIconFiles, CommittedFilesAreWhatTheGeneratorDraws) {
  const std::vector<IconResource> resources = BuildIconResources();
  ASSERT_EQ(resources.size(), 1u + 2 * BUILTIN_ICON_COUNT);
  std::set<int> ids;
  for (const IconResource& resource : resources) {
    ids.insert(resource.id);
    EXPECT_EQ(resource.fileName, FileNameOf(resource.id));
    EXPECT_EQ(ReadBytes(IconDir() + resource.fileName), EncodeIconResource(resource))
        << resource.fileName << " differs from the generator's picture; rebuild the 'icons' target";
  }
  const std::vector<int> expected = AllIconIds();
  EXPECT_EQ(ids, std::set<int>(expected.begin(), expected.end()));
}

// ---- Form of every file --------------------------------------------------------------------------

struct FormRow {
  int id;
  std::vector<int> sizes;  // in directory order
  const RgbPalette* palette;
};

// Every resource holds the small-icon sizes of 100 % to 200 % and the standard sizes of 100 % to 150 %.
const std::vector<int> ALL_SIZES = {48, 40, 32, 24, 20, 16};

std::vector<FormRow> FormRows() {
  std::vector<FormRow> rows{{IDR_MAINFRAME, ALL_SIZES, &STANDARD_PALETTE},
                            {ACTIVE_ICON_BASE, ALL_SIZES, &ENTRY_ZERO_PALETTE},
                            {INACTIVE_ICON_BASE, ALL_SIZES, &ENTRY_ZERO_PALETTE}};
  for (int i = 1; i < BUILTIN_ICON_COUNT; ++i) {
    rows.push_back({ACTIVE_ICON_BASE + i, ALL_SIZES, &STANDARD_PALETTE});
    rows.push_back({INACTIVE_ICON_BASE + i, ALL_SIZES, &STANDARD_PALETTE});
  }
  return rows;
}

class IconFileForm : public ::testing::TestWithParam<FormRow> {};

TEST_P(IconFileForm, HasTheSizesDepthAndPaletteOfItsResource) {
  const FormRow& row = GetParam();
  const IconFile file = LoadIcon(row.id);
  ASSERT_TRUE(file.resource) << FileNameOf(row.id) << " is not read as an icon file";
  ASSERT_EQ(file.resource->imageCount, row.sizes.size());
  ASSERT_EQ(file.resource->images.size(), row.sizes.size());
  ASSERT_GE(file.bytes.size(), 6 + 16 * row.sizes.size());

  std::uint32_t expectedOffset = 6 + 16 * static_cast<std::uint32_t>(row.sizes.size());
  for (std::size_t i = 0; i < row.sizes.size(); ++i) {
    const int size = row.sizes[i];
    const IconFileImage& image = file.resource->images[i];
    SCOPED_TRACE(FileNameOf(row.id) + " image " + std::to_string(i));
    const std::size_t entry = 6 + 16 * i;
    if (size >= PNG_MIN_SIZE) {
      // Large images are PNG with alpha: 8 bits a channel, RGBA, at the entry's size.
      ASSERT_TRUE(IsPng(image));
      const Bytes png = BytesOf(image);
      ASSERT_GE(png.size(), 33u);
      EXPECT_EQ(std::string(png.begin() + 12, png.begin() + 16), "IHDR");
      EXPECT_EQ(Be32(png, 16), static_cast<std::uint32_t>(size));
      EXPECT_EQ(Be32(png, 20), static_cast<std::uint32_t>(size));
      EXPECT_EQ(png[24], 8);
      EXPECT_EQ(png[25], 6);
      EXPECT_EQ(file.bytes[entry], size);
      EXPECT_EQ(file.bytes[entry + 1], size);
      EXPECT_EQ(file.bytes[entry + 2], 0);
      EXPECT_EQ(Le16(file.bytes, entry + 6), 32u);
      EXPECT_EQ(Le32(file.bytes, entry + 8), image.size);
      EXPECT_EQ(Le32(file.bytes, entry + 12), expectedOffset);
      expectedOffset += image.size;
      continue;
    }
    EXPECT_EQ(image.width, size);
    EXPECT_EQ(image.height, size);
    EXPECT_EQ(image.colours, 4u);  // planes x bits per pixel

    // Directory entry: width, height, colour count, reserved, planes, bit count, bytes, offset.
    EXPECT_EQ(file.bytes[entry], size);
    EXPECT_EQ(file.bytes[entry + 1], size);
    EXPECT_EQ(file.bytes[entry + 2], 16);
    EXPECT_EQ(file.bytes[entry + 3], 0);
    EXPECT_EQ(Le16(file.bytes, entry + 4), 1u);
    EXPECT_EQ(Le16(file.bytes, entry + 6), 4u);
    const std::uint32_t bytes = 40 + 64 + size * (ColourRowBytes(size) + MaskRowBytes(size));
    EXPECT_EQ(Le32(file.bytes, entry + 8), bytes);
    EXPECT_EQ(Le32(file.bytes, entry + 12), expectedOffset);
    EXPECT_EQ(image.size, bytes);
    expectedOffset += bytes;

    ASSERT_EQ(file.bySize.count(size), 1u);
    const Picture& picture = file.bySize.at(size);
    EXPECT_EQ(picture.biSize, 40u);
    EXPECT_EQ(Le32(BytesOf(image), 8), static_cast<std::uint32_t>(2 * size));  // colour bitmap and mask
    EXPECT_EQ(picture.biPlanes, 1u);
    EXPECT_EQ(picture.biBitCount, 4u);
    EXPECT_EQ(picture.biCompression, 0u);
    EXPECT_EQ(picture.biClrUsed, 0u);
    EXPECT_EQ(picture.palette, *row.palette);
    // The mask alone makes a pixel transparent: the colour beneath it is black.
    for (int y = 0; y < size; ++y)
      for (int x = 0; x < size; ++x)
        if (picture.Clear(x, y)) EXPECT_EQ(picture.At(x, y), vga::BLACK) << x << "," << y;
  }
  EXPECT_EQ(file.bytes.size(), expectedOffset);
}

INSTANTIATE_TEST_SUITE_P(AllIcons, IconFileForm, ::testing::ValuesIn(FormRows()),
                         [](const auto& info) { return "Icon" + std::to_string(info.param.id); });

// ---- Flag layout ---------------------------------------------------------------------------------

// The rows a flag fills at each size; France (entry 8) is a row taller at 32 and a row shorter at 16.
struct FlagRow {
  int size;
  int firstRow, lastRow;
  int franceFirstRow, franceLastRow;
};

const FlagRow FLAG_ROWS[] = {
    {16, 3, 13, 3, 12}, {20, 4, 16, 4, 16}, {24, 5, 19, 5, 19},
    {32, 6, 25, 6, 26}, {40, 8, 32, 8, 32}, {48, 9, 38, 9, 38},
};

class FlagLayout : public ::testing::TestWithParam<FlagRow> {};

void ExpectFlagLayout(const Picture& p, int first, int last) {
  for (int y = 0; y < p.size; ++y) {
    for (int x = 0; x < p.size; ++x) {
      const bool inside = y >= first && y <= last;
      EXPECT_EQ(p.Clear(x, y), !inside) << "pixel " << x << "," << y;
      const bool frame = inside && (y == first || y == last || x == 0 || x == p.size - 1);
      if (frame) EXPECT_EQ(p.At(x, y), vga::BLACK) << "frame pixel " << x << "," << y;
    }
  }
}

TEST_P(FlagLayout, EveryFlagFillsItsRowsInsideABlackFrameInBothStates) {
  const FlagRow& row = GetParam();
  for (int index = 1; index <= 25; ++index) {
    for (int base : {ACTIVE_ICON_BASE, INACTIVE_ICON_BASE}) {
      const IconFile file = LoadIcon(base + index);
      SCOPED_TRACE(FileNameOf(base + index));
      ASSERT_EQ(file.bySize.count(row.size), 1u);
      if (index == 8)
        ExpectFlagLayout(file.bySize.at(row.size), row.franceFirstRow, row.franceLastRow);
      else
        ExpectFlagLayout(file.bySize.at(row.size), row.firstRow, row.lastRow);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sizes, FlagLayout, ::testing::ValuesIn(FLAG_ROWS),
                         [](const auto& info) { return "Size" + std::to_string(info.param.size); });

// ---- Active and inactive pictures ----------------------------------------------------------------

enum class Dimming { GENERAL, BLUE_WHITE, WHITE_ONLY, PORTUGAL, FACE, PHONE };

struct DimmingRow {
  int index;
  Dimming dimming;
};

const DimmingRow DIMMING_ROWS[] = {
    {1, Dimming::BLUE_WHITE},  {2, Dimming::GENERAL},  {3, Dimming::GENERAL},     {4, Dimming::GENERAL},
    {5, Dimming::GENERAL},     {6, Dimming::GENERAL},  {7, Dimming::GENERAL},     {8, Dimming::GENERAL},
    {9, Dimming::GENERAL},     {10, Dimming::WHITE_ONLY}, {11, Dimming::GENERAL}, {12, Dimming::GENERAL},
    {13, Dimming::GENERAL},    {14, Dimming::GENERAL}, {15, Dimming::GENERAL},    {16, Dimming::BLUE_WHITE},
    {17, Dimming::PORTUGAL},   {18, Dimming::GENERAL}, {19, Dimming::GENERAL},    {20, Dimming::GENERAL},
    {21, Dimming::GENERAL},    {22, Dimming::GENERAL}, {23, Dimming::GENERAL},    {24, Dimming::GENERAL},
    {25, Dimming::WHITE_ONLY}, {26, Dimming::FACE},    {27, Dimming::PHONE},
};

std::map<std::uint8_t, std::uint8_t> DarkerPartners(Dimming dimming) {
  switch (dimming) {
    case Dimming::GENERAL:
    case Dimming::PORTUGAL:
    case Dimming::FACE:
      return {{vga::RED, vga::DARK_RED}, {vga::YELLOW, vga::OLIVE}, {vga::BLUE, vga::NAVY}, {vga::WHITE, vga::LIGHT_GREY}};
    case Dimming::BLUE_WHITE:
      return {{vga::BLUE, vga::NAVY}, {vga::WHITE, vga::LIGHT_GREY}};
    case Dimming::WHITE_ONLY:
      return {{vga::WHITE, vga::LIGHT_GREY}};
    case Dimming::PHONE:
      return {{vga::WHITE, vga::LIGHT_GREY}, {vga::LIGHT_GREY, vga::DARK_GREY}, {vga::DARK_GREY, vga::BLACK}};
  }
  return {};
}

std::uint8_t Partner(const std::map<std::uint8_t, std::uint8_t>& partners, std::uint8_t colour) {
  const auto found = partners.find(colour);
  return found == partners.end() ? colour : found->second;
}

class ActiveAndInactive : public ::testing::TestWithParam<DimmingRow> {};

// The tray shows the small-icon size, 16 pixels at 100 %: the state must show at every size.
TEST_P(ActiveAndInactive, InactivePictureDarkensTheActiveOneAtEverySize) {
  const DimmingRow& row = GetParam();
  const IconFile activeFile = LoadIcon(ACTIVE_ICON_BASE + row.index);
  const IconFile inactiveFile = LoadIcon(INACTIVE_ICON_BASE + row.index);
  for (int size : ALL_SIZES) {
    SCOPED_TRACE("size " + std::to_string(size));
    ASSERT_EQ(activeFile.bySize.count(size), 1u);
    ASSERT_EQ(inactiveFile.bySize.count(size), 1u);
    const Picture& active = activeFile.bySize.at(size);
    const Picture& inactive = inactiveFile.bySize.at(size);
    EXPECT_FALSE(active.SamePixels(inactive));
    const auto partners = DarkerPartners(row.dimming);
    // The face at 16 pixels is drawn pixel by pixel and keeps its smile: only its colour changes.
    const bool faceChangesShape = row.dimming == Dimming::FACE && size > 16;
    if (!faceChangesShape) EXPECT_EQ(active.transparent, inactive.transparent) << "the outline of the picture stays";

    int darkened = 0, kept = 0, changedShape = 0;
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        const std::uint8_t was = active.At(x, y);
        const std::uint8_t now = inactive.At(x, y);
        const bool hasPartner = partners.count(was) != 0;
        if (now == Partner(partners, was)) {
          if (hasPartner) ++darkened;
        } else if (now == was && hasPartner) {
          ++kept;
        } else {
          ++changedShape;
        }
      }
    }
    EXPECT_GT(darkened, 0);
    switch (row.dimming) {
      case Dimming::PORTUGAL:
        // The emblem is only partly darkened: some bright pixels keep their colour, nothing else changes.
        EXPECT_GT(kept, 0);
        EXPECT_EQ(changedShape, 0);
        break;
      case Dimming::FACE:
        // The expression changes; the face itself is recoloured by the rule.
        if (faceChangesShape) EXPECT_GT(changedShape, 0);
        break;
      default:
        EXPECT_EQ(kept, 0);
        EXPECT_EQ(changedShape, 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Entries, ActiveAndInactive, ::testing::ValuesIn(DIMMING_ROWS),
                         [](const auto& info) { return std::string("Entry") + std::to_string(info.param.index); });

// The face outside its hours: olive, the eyes two bars one above the other on the left, the mouth a
// straight vertical line on the right, and no smile.
TEST(FacePictures, InactiveFaceIsNeutralAndOnItsSide) {
  const IconFile activeFile = LoadIcon(ACTIVE_ICON_BASE + 26);
  const IconFile inactiveFile = LoadIcon(INACTIVE_ICON_BASE + 26);
  ASSERT_EQ(activeFile.bySize.count(32), 1u);
  ASSERT_EQ(inactiveFile.bySize.count(32), 1u);
  const Picture& active = activeFile.bySize.at(32);
  const Picture& inactive = inactiveFile.bySize.at(32);

  // Features are the black pixels well inside the outline.
  auto features = [](const Picture& p, int x0, int x1, int y0, int y1) {
    std::vector<std::pair<int, int>> found;
    for (int y = y0; y <= y1; ++y)
      for (int x = x0; x <= x1; ++x) {
        const int dx = 2 * x + 1 - 32, dy = 2 * y + 1 - 32;
        if (dx * dx + dy * dy < 24 * 24 && !p.Clear(x, y) && p.At(x, y) == vga::BLACK) found.emplace_back(x, y);
      }
    return found;
  };
  auto rowsOf = [](const std::vector<std::pair<int, int>>& pixels) {
    std::set<int> rows;
    for (const auto& pixel : pixels) rows.insert(pixel.second);
    return rows;
  };
  auto colsOf = [](const std::vector<std::pair<int, int>>& pixels) {
    std::set<int> cols;
    for (const auto& pixel : pixels) cols.insert(pixel.first);
    return cols;
  };

  // Active: a smile low in the middle; inactive: nothing there.
  EXPECT_FALSE(features(active, 13, 18, 20, 27).empty());
  EXPECT_TRUE(features(inactive, 13, 18, 18, 27).empty());
  // Left half: two bars one above the other, each wider than tall, with a gap between them.
  const auto left = features(inactive, 0, 15, 0, 31);
  const std::set<int> leftRows = rowsOf(left);
  ASSERT_FALSE(leftRows.empty());
  EXPECT_LT(static_cast<int>(leftRows.size()), *leftRows.rbegin() - *leftRows.begin() + 1) << "no gap";
  EXPECT_GT(colsOf(left).size(), 2u);
  // Right half: one straight vertical line, much taller than wide.
  const auto right = features(inactive, 16, 31, 0, 31);
  ASSERT_FALSE(right.empty());
  EXPECT_GE(rowsOf(right).size(), 3 * colsOf(right).size());
  EXPECT_EQ(static_cast<int>(rowsOf(right).size()), *rowsOf(right).rbegin() - *rowsOf(right).begin() + 1);

  int yellow = 0, olive = 0;
  for (std::uint8_t c : inactive.index) {
    yellow += c == vga::YELLOW;
    olive += c == vga::OLIVE;
  }
  EXPECT_EQ(yellow, 0);
  EXPECT_GT(olive, 200);
}

// ---- Entry 0 and the program icon ----------------------------------------------------------------

std::set<std::uint8_t> OpaqueColours(const Picture& p) {
  std::set<std::uint8_t> colours;
  for (int y = 0; y < p.size; ++y)
    for (int x = 0; x < p.size; ++x)
      if (!p.Clear(x, y)) colours.insert(p.At(x, y));
  return colours;
}

struct ProgramPictureRow {
  int id;
  int size;
  std::set<std::uint8_t> colours;
};

const ProgramPictureRow PROGRAM_PICTURE_ROWS[] = {
    {IDR_MAINFRAME, 48, {vga::BLACK, vga::WHITE, vga::GREEN, vga::BLUE, vga::CYAN}},
    {IDR_MAINFRAME, 40, {vga::BLACK, vga::WHITE, vga::GREEN, vga::BLUE, vga::CYAN}},
    {IDR_MAINFRAME, 32, {vga::BLACK, vga::WHITE, vga::GREEN, vga::BLUE, vga::CYAN}},
    {IDR_MAINFRAME, 24, {vga::BLACK, vga::WHITE, vga::GREEN, vga::BLUE, vga::CYAN}},
    {IDR_MAINFRAME, 20, {vga::BLACK, vga::WHITE, vga::GREEN, vga::BLUE, vga::CYAN}},
    {IDR_MAINFRAME, 16, {vga::BLACK, vga::WHITE, vga::GREEN, vga::BLUE, vga::CYAN}},
    {ACTIVE_ICON_BASE, 16, {vga::BLACK, vga::WHITE, vga::GREEN, vga::BLUE, vga::CYAN}},
    {INACTIVE_ICON_BASE, 16, {vga::BLACK, vga::WHITE, vga::DARK_GREEN, vga::NAVY, vga::TEAL}},
};

class ProgramPicture : public ::testing::TestWithParam<ProgramPictureRow> {};

TEST_P(ProgramPicture, ClockOverGlobeTransparentAround) {
  const ProgramPictureRow& row = GetParam();
  const IconFile file = LoadIcon(row.id);
  ASSERT_EQ(file.bySize.count(row.size), 1u);
  const Picture& p = file.bySize.at(row.size);
  EXPECT_EQ(OpaqueColours(p), row.colours);
  const int last = row.size - 1;
  EXPECT_TRUE(p.Clear(0, last) && p.Clear(last, 0) && p.Clear(0, 0) && p.Clear(last, last));
  // White clock face at upper left, globe colours at lower right.
  EXPECT_EQ(p.At(row.size / 4 - 1, row.size / 4 + 1), vga::WHITE);
  const std::uint8_t lowerRight = p.At(row.size * 3 / 4, row.size * 3 / 4);
  EXPECT_TRUE(row.colours.count(lowerRight) && lowerRight != vga::WHITE && lowerRight != vga::BLACK);
}

INSTANTIATE_TEST_SUITE_P(ClockAndGlobe, ProgramPicture, ::testing::ValuesIn(PROGRAM_PICTURE_ROWS));

TEST(ProgramPictures, EntryZeroIsTheSmallProgramIconAndItsDimmedTwin) {
  const IconFile program = LoadIcon(IDR_MAINFRAME);
  const IconFile active = LoadIcon(ACTIVE_ICON_BASE);
  const IconFile inactive = LoadIcon(INACTIVE_ICON_BASE);
  ASSERT_EQ(program.bySize.count(16), 1u);
  ASSERT_EQ(active.bySize.count(16), 1u);
  ASSERT_EQ(inactive.bySize.count(16), 1u);
  EXPECT_TRUE(active.bySize.at(16).SamePixels(program.bySize.at(16)));
  const std::map<std::uint8_t, std::uint8_t> threeQuarter{{vga::GREEN, vga::DARK_GREEN}, {vga::BLUE, vga::NAVY}, {vga::CYAN, vga::TEAL}};
  const Picture& a = active.bySize.at(16);
  const Picture& i = inactive.bySize.at(16);
  EXPECT_EQ(a.transparent, i.transparent);
  for (std::size_t n = 0; n < a.index.size(); ++n)
    EXPECT_EQ(i.index[n], Partner(threeQuarter, a.index[n])) << "pixel " << n;
}

}  // namespace
