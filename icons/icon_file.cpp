#include "icons/icon_file.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace {

constexpr std::uint32_t HEADER_BYTES = 6;
constexpr std::uint32_t ENTRY_BYTES = 16;
constexpr std::uint32_t BITMAP_HEADER_BYTES = 40;  // BITMAPINFOHEADER

// Little-endian fields, taken with memcpy so that no unaligned or out-of-range read is possible.
std::uint16_t Word(const std::uint8_t* p) {
  return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t Dword(const std::uint8_t* p) {
  std::uint8_t b[4];
  std::memcpy(b, p, 4);
  return static_cast<std::uint32_t>(b[0]) | (static_cast<std::uint32_t>(b[1]) << 8) |
         (static_cast<std::uint32_t>(b[2]) << 16) | (static_cast<std::uint32_t>(b[3]) << 24);
}

std::int32_t SignedDword(const std::uint8_t* p) {
  return static_cast<std::int32_t>(Dword(p));
}

bool ReadWord(IconByteSource& source, std::uint16_t* value) {
  std::uint8_t b[2];
  std::uint32_t got = 0;
  if (!source.Read(b, 2, &got) || got != 2) return false;
  *value = Word(b);
  return true;
}

bool ReadExactly(IconByteSource& source, void* buffer, std::uint32_t count) {
  std::uint32_t got = 0;
  return source.Read(buffer, count, &got) && got == count;
}

}  // namespace

MemoryByteSource::MemoryByteSource(const void* data, std::size_t size)
    : data_(static_cast<const std::uint8_t*>(data)), size_(size) {}

bool MemoryByteSource::Read(void* buffer, std::uint32_t count, std::uint32_t* got) {
  // Like a file: reading at or past the end succeeds and delivers fewer bytes.
  std::size_t available = pos_ < size_ ? size_ - pos_ : 0;
  std::size_t n = std::min<std::size_t>(count, available);
  if (n > 0) std::memcpy(buffer, data_ + pos_, n);
  pos_ += n;
  *got = static_cast<std::uint32_t>(n);
  return true;
}

bool MemoryByteSource::Seek(std::uint32_t offset) {
  if (offset >= FIRST_UNSEEKABLE_OFFSET) return false;
  pos_ = offset;
  return true;
}

std::uint64_t MemoryByteSource::Size() const { return size_; }

bool ReadIconFileHeader(IconByteSource& source, std::uint16_t* count) {
  std::uint16_t reserved = 0;
  std::uint16_t type = 0;
  if (!ReadWord(source, &reserved) || reserved != 0) return false;
  if (!ReadWord(source, &type) || type != 1) return false;
  return ReadWord(source, count);
}

namespace {

std::unique_ptr<IconFileResource> ReadWholeFile(IconByteSource& source, const std::string& path) {
  std::uint16_t count = 0;
  if (!ReadIconFileHeader(source, &count)) return nullptr;

  // A small file may declare many images or huge ones; nothing is allocated for more than the file
  // holds. A sound file stores header, directory and images side by side, so together they fit in it.
  const std::uint64_t fileSize = source.Size();
  const std::uint64_t directoryBytes = std::uint64_t{count} * ENTRY_BYTES;
  if (HEADER_BYTES + directoryBytes > fileSize) return nullptr;

  std::vector<std::uint8_t> directory(static_cast<std::size_t>(directoryBytes));
  if (!ReadExactly(source, directory.data(), static_cast<std::uint32_t>(directoryBytes))) return nullptr;

  // The images are read as one span, from the lowest offset to the highest end: entries that share
  // or overlap their bytes count them once, and 65,535 entries over one image hold that image once.
  std::uint64_t spanStart = fileSize;
  std::uint64_t spanEnd = 0;
  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = directory.data() + std::size_t{i} * ENTRY_BYTES;
    const std::uint64_t size = Dword(entry + 8);
    const std::uint64_t offset = Dword(entry + 12);
    // Windows takes such an offset as negative and cannot seek there, even for an image of no bytes.
    if (offset >= FIRST_UNSEEKABLE_OFFSET) return nullptr;
    // An image of no bytes reads nothing wherever it points; it is an image that is never chosen.
    if (size == 0) continue;
    if (offset + size > fileSize) return nullptr;
    spanStart = std::min(spanStart, offset);
    spanEnd = std::max(spanEnd, offset + size);
  }
  const std::uint64_t spanBytes = spanEnd > spanStart ? spanEnd - spanStart : 0;
  // The directory and the span are all the reader holds; in a sound file they lie side by side after
  // the header, so the three fit in it. One read takes at most a 32-bit count.
  if (HEADER_BYTES + directoryBytes + spanBytes > fileSize || spanBytes > UINT32_MAX) return nullptr;

  auto resource = std::make_unique<IconFileResource>();
  resource->sourceFileName = path;
  resource->secondName.clear();
  resource->imageCount = count;
  resource->images.resize(count);
  if (spanBytes > 0) {
    // Not zero-filled: the read fills every byte, or the file is refused.
    resource->imageBytes.reset(new std::uint8_t[static_cast<std::size_t>(spanBytes)]);
    resource->imageByteCount = static_cast<std::uint32_t>(spanBytes);
    if (!source.Seek(static_cast<std::uint32_t>(spanStart))) return nullptr;
    if (!ReadExactly(source, resource->imageBytes.get(), resource->imageByteCount)) return nullptr;
  }

  for (std::uint32_t i = 0; i < count; ++i) {
    const std::uint8_t* entry = directory.data() + std::size_t{i} * ENTRY_BYTES;
    IconFileImage& image = resource->images[i];
    image.size = Dword(entry + 8);
    image.data = image.size ? resource->imageBytes.get() + (Dword(entry + 12) - spanStart) : nullptr;
    LocateImageParts(image);
  }
  return resource;
}

}  // namespace

std::unique_ptr<IconFileResource> ReadIconFile(IconByteSource& source, const std::string& path) {
  // Running out of memory is one more reason for no icon; nothing may escape into a window procedure.
  try {
    return ReadWholeFile(source, path);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

void LocateImageParts(IconFileImage& image) {
  image.header = 0;
  if (!image.data || image.size < BITMAP_HEADER_BYTES) {
    // Too short to hold a bitmap header: a size no screen has, so the image is never chosen.
    image.width = 0;
    image.height = 0;
    image.colours = 0;
    image.xorBits = 0;
    image.andBits = 0;
    return;
  }
  const std::uint8_t* h = image.data;
  const std::uint32_t biSize = Dword(h);
  const std::int32_t biWidth = SignedDword(h + 4);
  const std::int32_t biHeight = SignedDword(h + 8);
  const std::uint32_t biPlanes = Word(h + 12);
  const std::uint32_t biBitCount = Word(h + 14);
  const std::uint32_t biClrUsed = Dword(h + 32);

  image.width = biWidth;
  image.height = biHeight / 2;
  image.colours = biPlanes * biBitCount;

  std::uint32_t colourCount = biClrUsed;
  if (colourCount == 0) {
    switch (biBitCount) {
      case 1: colourCount = 2; break;
      case 4: colourCount = 16; break;
      case 8: colourCount = 256; break;
      default: colourCount = 0; break;
    }
  }
  const std::uint16_t paletteBytes = static_cast<std::uint16_t>(colourCount * 4u);
  image.xorBits = image.header + biSize + paletteBytes;

  // The row length is a 32-bit quantity, wrapping as such; computed unsigned so the wrap is defined.
  const std::uint32_t rowBits = static_cast<std::uint32_t>(biWidth) * biPlanes * biBitCount + 31u;
  const std::int32_t rowLength = (static_cast<std::int32_t>(rowBits) >> 3) & ~3;
  image.andBits = image.xorBits + std::int64_t{image.height} * rowLength;
}

const IconFileImage* FindImageOfSize(const IconFileResource& resource, int width, int height) {
  for (const IconFileImage& image : resource.images) {
    if (image.width == width && image.height == height) return &image;
  }
  return nullptr;
}

const IconFileImage* FindTrayImage(const IconFileResource& resource, int traySize) {
  const IconFileImage* own = FindImageOfSize(resource, traySize, traySize);
  return own ? own : FindImageOfSize(resource, STANDARD_ICON_SIZE, STANDARD_ICON_SIZE);
}
