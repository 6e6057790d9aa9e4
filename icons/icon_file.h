// The icon-file format, parsed from bytes. Knows nothing of the platform's files or icon handles.
#ifndef FARHOUR_ICONS_ICON_FILE_H
#define FARHOUR_ICONS_ICON_FILE_H

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Offsets are signed 32-bit values to the platform's seek; this one and above cannot be reached.
constexpr std::uint32_t FIRST_UNSEEKABLE_OFFSET = 0x80000000u;

// Where the reader gets its bytes: a file on Windows, memory in tests and the fuzzer.
class IconByteSource {
 public:
  virtual ~IconByteSource() = default;
  // Reads up to count bytes at the current position; false when the read itself failed.
  virtual bool Read(void* buffer, std::uint32_t count, std::uint32_t* got) = 0;
  // Moves to offset from the start; FIRST_UNSEEKABLE_OFFSET and above fail.
  virtual bool Seek(std::uint32_t offset) = 0;
  // Total size in bytes, to keep allocations bounded by what the source can deliver.
  virtual std::uint64_t Size() const = 0;
};

class MemoryByteSource : public IconByteSource {
 public:
  MemoryByteSource(const void* data, std::size_t size);
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* got) override;
  bool Seek(std::uint32_t offset) override;
  std::uint64_t Size() const override;

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

struct IconFileImage {
  std::int32_t width = 0;
  std::int32_t height = 0;     // biHeight / 2, rounded toward zero
  std::uint32_t colours = 0;   // biPlanes * biBitCount
  // The image's bytes, held by the resource it belongs to; null when the entry names no bytes.
  const std::uint8_t* data = nullptr;
  std::uint32_t size = 0;
  // Positions within data; informational, nothing reads through them.
  std::int64_t header = 0;
  std::int64_t xorBits = 0;
  std::int64_t andBits = 0;
};

struct IconFileResource {
  IconFileResource() = default;
  // The images point into imageBytes: a copy's images would point into the original.
  IconFileResource(const IconFileResource&) = delete;
  IconFileResource& operator=(const IconFileResource&) = delete;

  std::string sourceFileName;
  std::string secondName;
  std::uint32_t imageCount = 0;
  std::vector<IconFileImage> images;
  // The file's bytes from the lowest image offset to the highest image end, read once. Entries may
  // share or overlap their bytes; each byte is held once however many entries name it.
  std::unique_ptr<std::uint8_t[]> imageBytes;
  std::uint32_t imageByteCount = 0;
};

// Reads the 6-byte header at the start; false for a short read, reserved not 0 or type not 1.
bool ReadIconFileHeader(IconByteSource& source, std::uint16_t* count);
// The whole file, or null on any failure.
std::unique_ptr<IconFileResource> ReadIconFile(IconByteSource& source, const std::string& path);
void LocateImageParts(IconFileImage& image);
// First image, in directory order, whose width and height equal the given ones exactly.
const IconFileImage* FindImageOfSize(const IconFileResource& resource, int width, int height);

// The standard icon size at 100 %, the size of the image a user's file shows there.
constexpr int STANDARD_ICON_SIZE = 32;

// The image of a user's icon file that the notification area shows when its icons are traySize
// pixels at a scale other than 100 %: the first image of that size, or else the image that 100 %
// shows (STANDARD_ICON_SIZE), for the platform to scale, so that a file that works at 100 % keeps
// working at every scale. Null when the file has neither.
const IconFileImage* FindTrayImage(const IconFileResource& resource, int traySize);

#endif
