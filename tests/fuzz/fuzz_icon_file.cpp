// Feeds arbitrary bytes to the icon-file reader as a whole file. Besides the sanitizers' checks it
// stops on any resource that holds more image bytes than the input, on an image whose bytes are not
// the ones its directory entry names, or on a reader that asks for more bytes than the input has
// (every buffer it allocates is filled by one read of that buffer's length; the three header words
// are read into fixed storage and may be asked for from a shorter input).
#include "icons/icon_file.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

constexpr std::uint64_t HEADER_BYTES = 6;

class BoundedSource : public IconByteSource {
 public:
  BoundedSource(const std::uint8_t* data, std::size_t size) : inner_(data, size) {}
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* got) override {
    requested_ += count;
    if (requested_ > inner_.Size() + HEADER_BYTES) std::abort();
    return inner_.Read(buffer, count, got);
  }
  bool Seek(std::uint32_t offset) override { return inner_.Seek(offset); }
  std::uint64_t Size() const override { return inner_.Size(); }

 private:
  MemoryByteSource inner_;
  std::uint64_t requested_ = 0;
};

std::uint32_t Dword(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BoundedSource source(data, size);
  std::unique_ptr<IconFileResource> resource = ReadIconFile(source, "fuzz.ico");
  if (!resource) return 0;

  if (resource->images.size() != resource->imageCount) std::abort();
  if (HEADER_BYTES + 16 * std::uint64_t{resource->imageCount} > size) std::abort();
  if (resource->imageByteCount > size) std::abort();
  const std::uint8_t* held = resource->imageBytes.get();
  for (std::size_t i = 0; i < resource->images.size(); ++i) {
    const IconFileImage& image = resource->images[i];
    const std::uint8_t* entry = data + HEADER_BYTES + 16 * i;
    const std::uint32_t entrySize = Dword(entry + 8);
    const std::uint32_t entryOffset = Dword(entry + 12);
    if (image.size != entrySize) std::abort();
    if (image.size == 0) {
      if (image.width != 0 || image.height != 0) std::abort();
      continue;
    }
    if (std::uint64_t{entryOffset} + image.size > size) std::abort();
    if (image.data < held || image.data + image.size > held + resource->imageByteCount) std::abort();
    if (std::memcmp(image.data, data + entryOffset, image.size) != 0) std::abort();
    IconFileImage again;
    again.data = image.data;
    again.size = image.size;
    LocateImageParts(again);
    if (again.width != image.width || again.height != image.height || again.andBits != image.andBits) std::abort();
  }

  const IconFileImage* found = FindImageOfSize(*resource, 32, 32);
  if (found && (found->width != 32 || found->height != 32)) std::abort();
  return 0;
}
