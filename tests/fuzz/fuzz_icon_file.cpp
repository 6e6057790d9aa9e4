// Feeds arbitrary bytes to the icon-file reader as a whole file. Besides the sanitizers' checks it
// stops on any resource that holds more than the input, or on a reader that asks for more bytes
// than the input has (every buffer it allocates is filled by one read of that buffer's length; the
// three header words are read into fixed storage and may be asked for from a shorter input).
#include "icons/icon_file.h"

#include <cstdint>
#include <cstdlib>

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

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  BoundedSource source(data, size);
  std::unique_ptr<IconFileResource> resource = ReadIconFile(source, "fuzz.ico");
  if (!resource) return 0;

  if (resource->images.size() != resource->imageCount) std::abort();
  std::uint64_t total = 0;
  for (IconFileImage& image : resource->images) {
    if (image.data.size() != image.size) std::abort();
    total += image.data.size();
    IconFileImage again;
    again.data = image.data;
    again.size = image.size;
    LocateImageParts(again);
    if (again.width != image.width || again.height != image.height || again.andBits != image.andBits) std::abort();
  }
  if (total > size) std::abort();

  const IconFileImage* found = FindImageOfSize(*resource, 32, 32);
  if (found && (found->width != 32 || found->height != 32)) std::abort();
  return 0;
}
