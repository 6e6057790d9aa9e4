#include "icons/icon_file.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutWord(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutDword(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

struct DibFields {
  std::int32_t width = 32;
  std::int32_t height = 64;  // twice the picture: colour bitmap and mask
  std::uint16_t planes = 1;
  std::uint16_t bitCount = 4;
  std::uint32_t clrUsed = 0;
  std::uint32_t headerSize = 40;
};

// An image that starts with a bitmap header, padded with a pattern to length bytes.
Bytes Dib(const DibFields& f, std::size_t length) {
  Bytes b(std::max<std::size_t>(length, 40));
  for (std::size_t i = 40; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 7);
  PutDword(b, 0, f.headerSize);
  PutDword(b, 4, static_cast<std::uint32_t>(f.width));
  PutDword(b, 8, static_cast<std::uint32_t>(f.height));
  PutWord(b, 12, f.planes);
  PutWord(b, 14, f.bitCount);
  PutDword(b, 32, f.clrUsed);
  return b;
}

// The bytes a sound w x h icon image of the given depth occupies: header, palette, colours, mask.
Bytes Icon(std::int32_t w, std::int32_t h, std::uint16_t bpp) {
  std::size_t palette = bpp <= 8 ? (std::size_t{1} << bpp) * 4 : 0;
  std::size_t xorRow = ((w * bpp + 31) / 32) * 4;
  std::size_t andRow = ((w + 31) / 32) * 4;
  return Dib({w, 2 * h, 1, bpp, 0, 40}, 40 + palette + (xorRow + andRow) * h);
}

Bytes Png() {
  const std::uint8_t png[] = {0x89, 'P',  'N',  'G',  '\r', '\n', 0x1a, '\n', 0,    0,    0,    13,
                              'I',  'H',  'D',  'R',  0,    0,    0,    32,   0,    0,    0,    32,
                              8,    6,    0,    0,    0,    0x73, 0x7a, 0x7a, 0xf4, 0,    0,    0,
                              0,    'I',  'E',  'N',  'D',  0xae, 0x42, 0x60, 0x82};
  return Bytes(std::begin(png), std::end(png));
}

// Lays out an icon file: header, directory, then the images one after another.
struct IconFileBuilder {
  std::uint16_t reserved = 0;
  std::uint16_t type = 1;
  struct Entry {
    Bytes data;
    std::uint8_t width;
    std::uint8_t height;
  };
  std::vector<Entry> entries;

  IconFileBuilder& Type(std::uint16_t t) { type = t; return *this; }
  IconFileBuilder& Add(Bytes data, std::uint8_t entryWidth = 32, std::uint8_t entryHeight = 32) {
    entries.push_back({std::move(data), entryWidth, entryHeight});
    return *this;
  }
  static std::size_t EntryAt(std::size_t i) { return 6 + 16 * i; }

  Bytes Build() const {
    Bytes b(6 + 16 * entries.size());
    PutWord(b, 0, reserved);
    PutWord(b, 2, type);
    PutWord(b, 4, static_cast<std::uint16_t>(entries.size()));
    for (std::size_t i = 0; i < entries.size(); ++i) {
      std::size_t at = EntryAt(i);
      b[at] = entries[i].width;
      b[at + 1] = entries[i].height;
      PutWord(b, at + 4, 1);
      PutWord(b, at + 6, 4);
      PutDword(b, at + 8, static_cast<std::uint32_t>(entries[i].data.size()));
      PutDword(b, at + 12, static_cast<std::uint32_t>(b.size()));
      b.insert(b.end(), entries[i].data.begin(), entries[i].data.end());
    }
    return b;
  }
};

// Counts the bytes the reader asks for. Every buffer the reader allocates is filled by one read of
// its full length, so this is the file data it holds in memory. Reads beyond the file's size are
// refused, so that a reader which lost its bound fails here instead of exhausting the machine.
class CountingSource : public IconByteSource {
 public:
  explicit CountingSource(const Bytes& b) : inner_(b.data(), b.size()) {}
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* got) override {
    requested += count;
    if (requested > inner_.Size()) return false;
    return inner_.Read(buffer, count, got);
  }
  bool Seek(std::uint32_t offset) override { return inner_.Seek(offset); }
  std::uint64_t Size() const override { return inner_.Size(); }
  std::uint64_t requested = 0;

 private:
  MemoryByteSource inner_;
};

Bytes BytesOf(const IconFileImage& image) { return Bytes(image.data, image.data + image.size); }

// The image bytes a resource holds: its shared buffer once, and any image's bytes kept outside it.
std::uint64_t DataBytes(const IconFileResource& r) {
  const auto begin = reinterpret_cast<std::uintptr_t>(r.imageBytes.get());
  const std::uintptr_t end = begin + r.imageByteCount;
  std::uint64_t total = r.imageByteCount;
  for (const IconFileImage& image : r.images) {
    const auto at = reinterpret_cast<std::uintptr_t>(image.data);
    if (image.size > 0 && (at < begin || at + image.size > end)) total += image.size;
  }
  return total;
}

std::uint32_t DwordAt(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

// Each image holds the bytes its directory entry names in the file.
void ExpectEachImageHoldsItsEntryBytes(const Bytes& file, const IconFileResource& r) {
  for (std::size_t i = 0; i < r.images.size(); ++i) {
    const std::uint32_t size = DwordAt(file, 6 + 16 * i + 8);
    const std::uint32_t offset = DwordAt(file, 6 + 16 * i + 12);
    ASSERT_EQ(r.images[i].size, size) << "image " << i;
    if (size == 0) continue;
    ASSERT_LE(std::uint64_t{offset} + size, file.size()) << "image " << i;
    ASSERT_EQ(std::memcmp(r.images[i].data, file.data() + offset, size), 0) << "image " << i;
  }
}

int CountOfSize(const IconFileResource& r, int w, int h) {
  return static_cast<int>(std::count_if(r.images.begin(), r.images.end(),
                                        [&](const IconFileImage& i) { return i.width == w && i.height == h; }));
}

int MatchIndex(const IconFileResource& r, int w, int h) {
  const IconFileImage* found = FindImageOfSize(r, w, h);
  return found ? static_cast<int>(found - r.images.data()) : -1;
}

// ---- header ----

struct HeaderCase {
  const char* name;
  Bytes bytes;
  bool ok;
  std::uint16_t count;
};

class IconFileHeader : public testing::TestWithParam<HeaderCase> {};

TEST_P(IconFileHeader, AcceptsOnlyAnIconHeader) {
  const HeaderCase& c = GetParam();
  MemoryByteSource source(c.bytes.data(), c.bytes.size());
  std::uint16_t count = 0xBEEF;
  EXPECT_EQ(ReadIconFileHeader(source, &count), c.ok);
  if (c.ok) EXPECT_EQ(count, c.count);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IconFileHeader,
    testing::Values(HeaderCase{"icon_three", {0, 0, 1, 0, 3, 0}, true, 3},
                    HeaderCase{"icon_none", {0, 0, 1, 0, 0, 0}, true, 0},
                    HeaderCase{"icon_most", {0, 0, 1, 0, 0xff, 0xff}, true, 65535},
                    HeaderCase{"cursor", {0, 0, 2, 0, 1, 0}, false, 0},
                    HeaderCase{"type_zero", {0, 0, 0, 0, 1, 0}, false, 0},
                    HeaderCase{"type_high_byte", {0, 0, 1, 1, 1, 0}, false, 0},
                    HeaderCase{"reserved_set", {1, 0, 1, 0, 1, 0}, false, 0},
                    HeaderCase{"reserved_high_byte", {0, 1, 1, 0, 1, 0}, false, 0},
                    HeaderCase{"count_cut", {0, 0, 1, 0, 1}, false, 0},
                    HeaderCase{"empty", {}, false, 0}),
    [](const testing::TestParamInfo<HeaderCase>& i) { return std::string(i.param.name); });

// ---- whole files ----

Bytes WithDword(Bytes b, std::size_t at, std::uint32_t v) {
  PutDword(b, at, v);
  return b;
}

Bytes Truncated(Bytes b, std::size_t by) {
  b.resize(b.size() - by);
  return b;
}

Bytes WithEntry(Bytes b, std::size_t entry, std::uint32_t size, std::uint32_t offset) {
  PutDword(b, IconFileBuilder::EntryAt(entry) + 8, size);
  PutDword(b, IconFileBuilder::EntryAt(entry) + 12, offset);
  return b;
}

// Two entries over one image: the second entry's data is the first one's.
Bytes SharedImage() {
  Bytes b = IconFileBuilder().Add(Icon(32, 32, 4)).Add(Bytes{}).Build();
  PutDword(b, IconFileBuilder::EntryAt(1) + 8, static_cast<std::uint32_t>(Icon(32, 32, 4).size()));
  PutDword(b, IconFileBuilder::EntryAt(1) + 12, 38);
  return b;
}

// An image of no bytes first, pointing at offset, then a 32x32 image.
Bytes EmptyEntryAt(std::uint32_t offset) {
  return WithEntry(IconFileBuilder().Add(Bytes{}).Add(Icon(32, 32, 4)).Build(), 0, 0, offset);
}

Bytes ManyEntriesOverOneBlock(std::uint32_t entries, std::uint32_t blockBytes) {
  std::size_t dataAt = 6 + 16 * std::size_t{entries};
  Bytes b(dataAt + blockBytes, 0);
  PutWord(b, 2, 1);
  PutWord(b, 4, static_cast<std::uint16_t>(entries));
  for (std::uint32_t i = 0; i < entries; ++i) {
    PutDword(b, 6 + 16 * i + 8, blockBytes);
    PutDword(b, 6 + 16 * i + 12, static_cast<std::uint32_t>(dataAt));
  }
  Bytes dib = Icon(32, 32, 32);
  std::copy_n(dib.begin(), std::min<std::size_t>(40, blockBytes), b.begin() + dataAt);
  return b;
}

constexpr int NO_FILE = -2;  // expected match index when the reader refuses the file
constexpr int NO_MATCH = -1;

struct FileCase {
  const char* name;
  Bytes file;
  int images;  // expected image count, NO_FILE when refused
  int match;   // index of the 32x32 image, NO_MATCH, or NO_FILE
  int exact;   // how many images are 32x32, NO_FILE when refused
};

class IconFileRead : public testing::TestWithParam<FileCase> {};

TEST_P(IconFileRead, ReadsOrRefusesAndPicksTheFirstExactSize) {
  const FileCase& c = GetParam();
  CountingSource source(c.file);
  std::unique_ptr<IconFileResource> r = ReadIconFile(source, "C:\\icons\\a.ico");
  EXPECT_LE(source.requested, c.file.size());
  if (c.images == NO_FILE) {
    EXPECT_EQ(r, nullptr);
    return;
  }
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->sourceFileName, "C:\\icons\\a.ico");
  EXPECT_EQ(r->secondName, "");
  EXPECT_EQ(r->imageCount, static_cast<std::uint32_t>(c.images));
  ASSERT_EQ(r->images.size(), static_cast<std::size_t>(c.images));
  EXPECT_LE(DataBytes(*r), c.file.size());
  EXPECT_EQ(MatchIndex(*r, 32, 32), c.match);
  EXPECT_EQ(CountOfSize(*r, 32, 32), c.exact);
  ExpectEachImageHoldsItsEntryBytes(c.file, *r);
}

const Bytes SMALL_AND_LARGE = IconFileBuilder().Add(Icon(16, 16, 4), 16, 16).Add(Icon(48, 48, 8), 48, 48).Build();
const Bytes TWO_OF_SIZE = IconFileBuilder().Add(Icon(32, 32, 4)).Add(Icon(32, 32, 8)).Build();

INSTANTIATE_TEST_SUITE_P(
    Rows, IconFileRead,
    testing::Values(
        FileCase{"cursor_file", IconFileBuilder().Type(2).Add(Icon(32, 32, 4)).Build(), NO_FILE, NO_FILE, NO_FILE},
        FileCase{"no_images", IconFileBuilder().Build(), 0, NO_MATCH, 0},
        FileCase{"only_16_and_48", SMALL_AND_LARGE, 2, NO_MATCH, 0},
        FileCase{"first_of_two_wins", TWO_OF_SIZE, 2, 0, 2},
        FileCase{"later_one_found", IconFileBuilder().Add(Icon(16, 16, 4), 16, 16).Add(Icon(32, 32, 4)).Build(), 2, 1, 1},
        FileCase{"entry_says_32_image_16", IconFileBuilder().Add(Icon(16, 16, 4), 32, 32).Build(), 1, NO_MATCH, 0},
        FileCase{"entry_says_16_image_32", IconFileBuilder().Add(Icon(32, 32, 4), 16, 16).Build(), 1, 0, 1},
        FileCase{"odd_height_rounds_down", IconFileBuilder().Add(Dib({32, 65, 1, 4, 0, 40}, 744)).Build(), 1, 0, 1},
        FileCase{"height_only_one_row_short", IconFileBuilder().Add(Dib({32, 62, 1, 4, 0, 40}, 744)).Build(), 1, NO_MATCH, 0},
        FileCase{"png_never_chosen", IconFileBuilder().Add(Png()).Build(), 1, NO_MATCH, 0},
        FileCase{"shorter_than_header", IconFileBuilder().Add(Bytes(39, 0x20)).Build(), 1, NO_MATCH, 0},
        FileCase{"empty_image", IconFileBuilder().Add(Bytes{}).Add(Icon(32, 32, 4)).Build(), 2, 1, 1},
        FileCase{"directory_cut", Truncated(IconFileBuilder().Add(Bytes{}).Add(Bytes{}).Build(), 12), NO_FILE, NO_FILE, NO_FILE},
        FileCase{"image_cut", Truncated(TWO_OF_SIZE, 1), NO_FILE, NO_FILE, NO_FILE},
        FileCase{"size_past_end", WithDword(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 6 + 8, 745), NO_FILE, NO_FILE, NO_FILE},
        FileCase{"offset_past_end", WithDword(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 6 + 12, 23), NO_FILE, NO_FILE, NO_FILE},
        FileCase{"offset_2_pow_31", WithDword(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 6 + 12, 0x80000000u), NO_FILE, NO_FILE, NO_FILE},
        FileCase{"offset_all_ones", WithDword(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 6 + 12, 0xFFFFFFFFu), NO_FILE, NO_FILE, NO_FILE},
        FileCase{"image_over_header_within_size", WithDword(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 6 + 12, 0), 1, NO_MATCH, 0},
        FileCase{"trailing_bytes_allowed", [] { Bytes b = TWO_OF_SIZE; b.resize(b.size() + 100); return b; }(), 2, 0, 2},
        // Entries that share bytes, or name none.
        FileCase{"two_entries_one_image", SharedImage(), 2, 0, 2},
        FileCase{"entries_2_over_1MB", ManyEntriesOverOneBlock(2, 1 << 20), 2, 0, 2},
        FileCase{"entries_65535_over_4KB", ManyEntriesOverOneBlock(65535, 4096), 65535, 0, 65535},
        FileCase{"ranges_overlap", WithEntry(IconFileBuilder().Add(Icon(32, 32, 4)).Add(Bytes(40, 7)).Build(), 1, 80, 742), 2, 0, 1},
        FileCase{"range_inside_another", WithEntry(SharedImage(), 1, 100, 138), 2, 0, 1},
        FileCase{"empty_entry_past_end", EmptyEntryAt(100000), 2, 1, 1},
        FileCase{"empty_entry_at_last_seekable_offset", EmptyEntryAt(0x7FFFFFFFu), 2, 1, 1},
        FileCase{"empty_entry_offset_2_pow_31", EmptyEntryAt(0x80000000u), NO_FILE, NO_FILE, NO_FILE},
        FileCase{"empty_entry_offset_all_ones", EmptyEntryAt(0xFFFFFFFFu), NO_FILE, NO_FILE, NO_FILE}),
    [](const testing::TestParamInfo<FileCase>& i) { return std::string(i.param.name); });

TEST(IconFileReadData, KeepsEachImageByteForByte) {
  const Bytes first = Icon(16, 16, 4);
  const Bytes second = Png();
  const Bytes file = IconFileBuilder().Add(first).Add(second).Build();
  MemoryByteSource source(file.data(), file.size());
  std::unique_ptr<IconFileResource> r = ReadIconFile(source, "x.ico");
  ASSERT_NE(r, nullptr);
  ASSERT_EQ(r->images.size(), 2u);
  EXPECT_EQ(BytesOf(r->images[0]), first);
  EXPECT_EQ(r->images[0].size, first.size());
  EXPECT_EQ(BytesOf(r->images[1]), second);
  EXPECT_EQ(r->images[1].size, second.size());
  EXPECT_EQ(r->images[1].width, 169478669);
}

// A source that promises more than it delivers, as a file cut short while it is read would.
class ShortSource : public IconByteSource {
 public:
  ShortSource(const Bytes& b, std::uint64_t claimed) : inner_(b.data(), b.size()), claimed_(claimed) {}
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* got) override { return inner_.Read(buffer, count, got); }
  bool Seek(std::uint32_t offset) override { return inner_.Seek(offset); }
  std::uint64_t Size() const override { return claimed_; }

 private:
  MemoryByteSource inner_;
  std::uint64_t claimed_;
};

struct ShortCase {
  const char* name;
  Bytes delivered;
};

class IconFileShortRead : public testing::TestWithParam<ShortCase> {};

TEST_P(IconFileShortRead, GivesNothing) {
  const ShortCase& c = GetParam();
  ShortSource source(c.delivered, 1u << 20);
  EXPECT_EQ(ReadIconFile(source, "short.ico"), nullptr);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IconFileShortRead,
    testing::Values(ShortCase{"header", Bytes{0, 0, 1, 0, 1}},
                    ShortCase{"directory", Truncated(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 744 + 1)},
                    ShortCase{"first_image", Truncated(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 1)},
                    ShortCase{"second_image", Truncated(TWO_OF_SIZE, 1)},
                    ShortCase{"shared_image", Truncated(SharedImage(), 1)},
                    ShortCase{"image_missing", Truncated(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 744)}),
    [](const testing::TestParamInfo<ShortCase>& i) { return std::string(i.param.name); });

// ---- bounded memory for hostile files ----

struct BombCase {
  const char* name;
  Bytes file;
};

class IconFileBomb : public testing::TestWithParam<BombCase> {};

TEST_P(IconFileBomb, IsRefusedWithoutHoldingMoreThanTheFile) {
  const BombCase& c = GetParam();
  CountingSource source(c.file);
  EXPECT_EQ(ReadIconFile(source, "bomb.ico"), nullptr);
  EXPECT_LE(source.requested, c.file.size());
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IconFileBomb,
    testing::Values(
        BombCase{"entries_65535_over_1MB_last_one_past_end",
                 WithEntry(ManyEntriesOverOneBlock(65535, 1 << 20), 65534, (1 << 20) + 1, 6 + 16 * 65535)},
        BombCase{"size_4GB", WithDword(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 6 + 8, 0xFFFFFFFFu)},
        BombCase{"size_2GB", WithDword(IconFileBuilder().Add(Icon(32, 32, 4)).Build(), 6 + 8, 0x7FFFFFFFu)},
        BombCase{"count_65535_no_directory", Bytes{0, 0, 1, 0, 0xff, 0xff}},
        BombCase{"directory_short_by_one", Truncated(ManyEntriesOverOneBlock(100, 0), 1)}),
    [](const testing::TestParamInfo<BombCase>& i) { return std::string(i.param.name); });

// ---- where the parts of an image lie ----

struct PartsCase {
  const char* name;
  DibFields fields;
  std::size_t length;
  std::int32_t width, height;
  std::uint32_t colours;
  std::int64_t xorAt, andAt;
};

class IconFileParts : public testing::TestWithParam<PartsCase> {};

TEST_P(IconFileParts, FollowTheBitmapHeader) {
  const PartsCase& c = GetParam();
  Bytes bytes = Dib(c.fields, c.length);
  bytes.resize(c.length);
  IconFileImage image;
  image.data = bytes.data();
  image.size = static_cast<std::uint32_t>(c.length);
  LocateImageParts(image);
  EXPECT_EQ(image.width, c.width);
  EXPECT_EQ(image.height, c.height);
  EXPECT_EQ(image.colours, c.colours);
  EXPECT_EQ(image.header, 0);
  EXPECT_EQ(image.xorBits, c.xorAt);
  EXPECT_EQ(image.andBits, c.andAt);
}

// Rows: palette 4 bytes per colour; a colour row is width*bits rounded up to whole 32-bit words.
INSTANTIATE_TEST_SUITE_P(
    Rows, IconFileParts,
    testing::Values(
        PartsCase{"bpp1", {32, 64, 1, 1, 0, 40}, 304, 32, 32, 1, 40 + 8, 48 + 32 * 4},
        PartsCase{"bpp4", {32, 64, 1, 4, 0, 40}, 744, 32, 32, 4, 40 + 64, 104 + 32 * 16},
        PartsCase{"bpp8", {32, 64, 1, 8, 0, 40}, 2216, 32, 32, 8, 40 + 1024, 1064 + 32 * 32},
        PartsCase{"bpp24", {32, 64, 1, 24, 0, 40}, 3240, 32, 32, 24, 40, 40 + 32 * 96},
        PartsCase{"bpp32", {32, 64, 1, 32, 0, 40}, 4264, 32, 32, 32, 40, 40 + 32 * 128},
        PartsCase{"bpp24_row_padded", {3, 6, 1, 24, 0, 40}, 100, 3, 3, 24, 40, 40 + 3 * 12},
        PartsCase{"bpp1_row_padded", {33, 66, 1, 1, 0, 40}, 100, 33, 33, 1, 48, 48 + 33 * 8},
        PartsCase{"bpp16_no_palette", {32, 64, 1, 16, 0, 40}, 100, 32, 32, 16, 40, 40 + 32 * 64},
        PartsCase{"clr_used_wins", {32, 64, 1, 8, 16, 40}, 100, 32, 32, 8, 40 + 64, 104 + 32 * 32},
        PartsCase{"clr_used_on_bpp32", {32, 64, 1, 32, 3, 40}, 100, 32, 32, 32, 52, 52 + 32 * 128},
        PartsCase{"palette_wraps_to_zero", {32, 64, 1, 8, 16384, 40}, 100, 32, 32, 8, 40, 40 + 32 * 32},
        PartsCase{"palette_wraps_past_zero", {32, 64, 1, 8, 16385, 40}, 100, 32, 32, 8, 44, 44 + 32 * 32},
        PartsCase{"two_planes", {32, 64, 2, 4, 0, 40}, 100, 32, 32, 8, 104, 104 + 32 * 32},
        PartsCase{"v5_header", {32, 64, 1, 4, 0, 124}, 200, 32, 32, 4, 124 + 64, 188 + 32 * 16},
        PartsCase{"odd_height", {32, 65, 1, 32, 0, 40}, 100, 32, 32, 32, 40, 40 + 32 * 128},
        PartsCase{"negative_odd_height", {32, -65, 1, 32, 0, 40}, 100, 32, -32, 32, 40, 40 - 32 * 128},
        PartsCase{"negative_width", {-32, 64, 1, 32, 0, 40}, 100, -32, 32, 32, 40, 40 - 32 * 128},
        PartsCase{"row_wraps_32_bits", {0x7FFFFFFF, 0x7FFFFFFE, 1, 32, 0, 40}, 100, 0x7FFFFFFF, 0x3FFFFFFF, 32, 40,
                  40 - 4 * std::int64_t{0x3FFFFFFF}},
        PartsCase{"colours_do_not_overflow", {1, 2, 0xFFFF, 0xFFFF, 1, 40}, 100, 1, 1, 0xFFFE0001u, 44,
                  44 + ((static_cast<std::int32_t>(0xFFFE0001u + 31u) >> 3) & ~3)},
        PartsCase{"header_size_all_ones", {32, 64, 1, 32, 0, 0xFFFFFFFFu}, 100, 32, 32, 32, 0xFFFFFFFFll,
                  0xFFFFFFFFll + 32 * 128},
        PartsCase{"exactly_a_header", {32, 64, 1, 4, 0, 40}, 40, 32, 32, 4, 104, 104 + 32 * 16},
        PartsCase{"one_byte_short", {32, 64, 1, 4, 0, 40}, 39, 0, 0, 0, 0, 0},
        PartsCase{"no_bytes", {32, 64, 1, 4, 0, 40}, 0, 0, 0, 0, 0, 0}),
    [](const testing::TestParamInfo<PartsCase>& i) { return std::string(i.param.name); });

// ---- real files from other projects, damaged ones among them ----

Bytes ReadFileBytes(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

TEST(IconFileCorpus, EveryFileGivesAResourceWithinItsSizeOrNothing) {
  const char* dir = std::getenv("FARHOUR_CORPUS_DIR");
  ASSERT_NE(dir, nullptr) << "FARHOUR_CORPUS_DIR is not set; the test command points it at tests/data";
  const std::filesystem::path folder = std::filesystem::path(dir) / "ico";
  ASSERT_TRUE(std::filesystem::is_directory(folder)) << folder;
  int files = 0;
  int read = 0;
  for (const auto& e : std::filesystem::recursive_directory_iterator(folder)) {
    std::string ext = e.path().extension().string();
    if (!e.is_regular_file() || (ext != ".ico" && ext != ".cur")) continue;
    SCOPED_TRACE(e.path().string());
    ++files;
    Bytes file = ReadFileBytes(e.path());
    CountingSource source(file);
    std::unique_ptr<IconFileResource> r = ReadIconFile(source, e.path().string());
    EXPECT_LE(source.requested, file.size());
    if (!r) continue;
    ++read;
    EXPECT_LE(DataBytes(*r), file.size());
    EXPECT_EQ(r->images.size(), r->imageCount);
    (void)FindImageOfSize(*r, 32, 32);
  }
  EXPECT_GT(files, 0) << "no icon files under " << dir << "/ico";
  EXPECT_GT(read, 0);
}

struct KnownFileCase {
  const char* name;
  int images;  // NO_FILE when refused
  int match;   // the 32x32 image, NO_MATCH or NO_FILE
};

class IconFileKnownCorpus : public testing::TestWithParam<KnownFileCase> {};

// What the format says of a few of those files, read off their bytes.
TEST_P(IconFileKnownCorpus, GivesTheImageTheFileHolds) {
  const char* dir = std::getenv("FARHOUR_CORPUS_DIR");
  ASSERT_NE(dir, nullptr) << "FARHOUR_CORPUS_DIR is not set; the test command points it at tests/data";
  const KnownFileCase& c = GetParam();
  std::filesystem::path p = std::filesystem::path(dir) / "ico" / c.name;
  ASSERT_TRUE(std::filesystem::exists(p)) << p;
  Bytes file = ReadFileBytes(p);
  MemoryByteSource source(file.data(), file.size());
  std::unique_ptr<IconFileResource> r = ReadIconFile(source, p.string());
  if (c.images == NO_FILE) {
    EXPECT_EQ(r, nullptr);
    return;
  }
  ASSERT_NE(r, nullptr);
  EXPECT_EQ(r->images.size(), static_cast<std::size_t>(c.images));
  EXPECT_EQ(MatchIndex(*r, 32, 32), c.match);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IconFileKnownCorpus,
    testing::Values(KnownFileCase{"pillow/deerstalker.cur", NO_FILE, NO_FILE},
                    KnownFileCase{"pillow/no_cursors.cur", NO_FILE, NO_FILE},
                    KnownFileCase{"pillow/python.ico", 3, 1},
                    KnownFileCase{"pillow/pillow.ico", 5, 2},
                    KnownFileCase{"pillow/hopper_unexpected.ico", 1, NO_MATCH},
                    KnownFileCase{"pillow/decompression_bomb.ico", 1, NO_MATCH},
                    KnownFileCase{"image-rs/images_ico_images_smile.ico", 2, 0},
                    KnownFileCase{"image-rs/images_ico_images_png-32bpp-alpha.ico", 1, NO_MATCH},
                    KnownFileCase{"image-rs/images_ico_images_multiple_entries_with_different_bit_depth.ico", 9, 0},
                    KnownFileCase{"image-rs/regression_ico_crash-981fee302fe0fc543ee48292cc3d6ace7e97e633.ico", NO_FILE,
                                  NO_FILE},
                    KnownFileCase{"image-rs/regression_ico_oom-ff076e7064c13ec1f8e2c5bbbfb7a77a08db2361.ico", NO_FILE,
                                  NO_FILE},
                    KnownFileCase{"rust-ico/images_wiki.ico", 3, 1}),
    [](const testing::TestParamInfo<KnownFileCase>& i) {
      std::string n = std::to_string(i.index) + "_" + std::filesystem::path(i.param.name).stem().string();
      for (char& ch : n) if (!std::isalnum(static_cast<unsigned char>(ch))) ch = '_';
      return n.substr(0, 48);
    });

}  // namespace

// ---- the image the notification area shows at a scale other than 100 % ----

struct TrayImageCase {
  const char* name;
  Bytes file;
  int traySize;
  int match;  // index of the image shown, NO_MATCH for none
};

class IconFileTrayImage : public testing::TestWithParam<TrayImageCase> {};

TEST_P(IconFileTrayImage, TakesTheTraySizeElseTheImageOf100Percent) {
  const TrayImageCase& c = GetParam();
  MemoryByteSource source(c.file.data(), c.file.size());
  std::unique_ptr<IconFileResource> r = ReadIconFile(source, "a.ico");
  ASSERT_NE(r, nullptr);
  const IconFileImage* found = FindTrayImage(*r, c.traySize);
  EXPECT_EQ(found ? static_cast<int>(found - r->images.data()) : NO_MATCH, c.match);
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IconFileTrayImage,
    testing::Values(
        // A file of the 1990s: 16 and 32 pixels; at 125 % and 150 % its 32-pixel image, scaled.
        TrayImageCase{"old_file_at_125", IconFileBuilder().Add(Icon(16, 16, 4), 16, 16).Add(Icon(32, 32, 4)).Build(),
                      20, 1},
        TrayImageCase{"old_file_at_150", IconFileBuilder().Add(Icon(16, 16, 4), 16, 16).Add(Icon(32, 32, 4)).Build(),
                      24, 1},
        // The tray's own size wins over the 32-pixel image, wherever it stands in the directory.
        TrayImageCase{"own_size_after", IconFileBuilder().Add(Icon(32, 32, 4)).Add(Icon(24, 24, 8), 24, 24).Build(),
                      24, 1},
        TrayImageCase{"first_of_two_own", IconFileBuilder().Add(Icon(24, 24, 4), 24, 24).Add(Icon(24, 24, 8), 24, 24)
                      .Build(), 24, 0},
        // Neither the tray's size nor 32 pixels: nothing, as at 100 %.
        TrayImageCase{"only_16_and_48", SMALL_AND_LARGE, 24, NO_MATCH},
        // The directory's sizes play no part: a 24-pixel image listed as 32 is still 24.
        TrayImageCase{"entry_says_32", IconFileBuilder().Add(Icon(24, 24, 4), 32, 32).Build(), 24, 0},
        TrayImageCase{"png_never_matches", IconFileBuilder().Add(Png(), 24, 24).Build(), 24, NO_MATCH}),
    [](const testing::TestParamInfo<TrayImageCase>& info) { return std::string(info.param.name); });
