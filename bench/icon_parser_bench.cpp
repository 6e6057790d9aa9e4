// How the icon-file reader compares with plainly reading the same bytes into memory: time per MB as a
// ratio against the plain read, and the most memory it holds at once against the file's size.
// Prints figures only; the goals are a time ratio of at most 1.5 and a memory ratio of at most 1.1.
#include "icons/icon_file.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <vector>

namespace {

// Every allocation of the program is counted, so the peak covers whatever the reader allocates.
std::size_t liveBytes = 0;
std::size_t peakBytes = 0;

constexpr std::size_t TAG = alignof(std::max_align_t);

void* CountedAlloc(std::size_t n) {
  void* p = std::malloc(n + TAG);
  if (!p) throw std::bad_alloc();
  std::memcpy(p, &n, sizeof n);
  liveBytes += n;
  if (liveBytes > peakBytes) peakBytes = liveBytes;
  return static_cast<char*>(p) + TAG;
}

void CountedFree(void* p) {
  if (!p) return;
  char* base = static_cast<char*>(p) - TAG;
  std::size_t n;
  std::memcpy(&n, base, sizeof n);
  liveBytes -= n;
  std::free(base);
}

}  // namespace

void* operator new(std::size_t n) { return CountedAlloc(n); }
void* operator new[](std::size_t n) { return CountedAlloc(n); }
void operator delete(void* p) noexcept { CountedFree(p); }
void operator delete[](void* p) noexcept { CountedFree(p); }
void operator delete(void* p, std::size_t) noexcept { CountedFree(p); }
void operator delete[](void* p, std::size_t) noexcept { CountedFree(p); }

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutWord(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutDword(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// A 32-bit image of side pixels: header, colour rows, mask rows.
Bytes Image(std::uint32_t side) {
  const std::size_t maskRow = ((side + 31) / 32) * 4;
  Bytes b(40 + (std::size_t{side} * 4 + maskRow) * side);
  for (std::size_t i = 40; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(i * 31);
  PutDword(b, 0, 40);
  PutDword(b, 4, side);
  PutDword(b, 8, 2 * side);
  PutWord(b, 12, 1);
  PutWord(b, 14, 32);
  return b;
}

// A valid icon file of about target bytes: the usual small sizes, then one large image taking the rest.
Bytes IconFileOfSize(std::size_t target) {
  std::vector<Bytes> images;
  std::size_t used = 6;
  for (std::uint32_t side : {16u, 32u, 48u}) {
    Bytes img = Image(side);
    if (used + 16 + img.size() > target) break;
    used += 16 + img.size();
    images.push_back(std::move(img));
  }
  auto imageBytes = [](std::size_t side) { return 40 + (side * 4 + ((side + 31) / 32) * 4) * side; };
  std::size_t side = 0;
  while (used + 16 + imageBytes(side + 1) <= target) ++side;
  if (side > 0) images.push_back(Image(static_cast<std::uint32_t>(side)));
  if (images.empty()) images.push_back(Image(1));

  Bytes file(6 + 16 * images.size());
  PutWord(file, 2, 1);
  PutWord(file, 4, static_cast<std::uint16_t>(images.size()));
  for (std::size_t i = 0; i < images.size(); ++i) {
    PutDword(file, 6 + 16 * i + 8, static_cast<std::uint32_t>(images[i].size()));
    PutDword(file, 6 + 16 * i + 12, static_cast<std::uint32_t>(file.size()));
    file.insert(file.end(), images[i].begin(), images[i].end());
  }
  return file;
}

// The largest file the format allows for its size: 65535 entries over empty images, so almost all of
// the reader's memory goes to its per-image records.
Bytes MostEntries() {
  Bytes file(6 + 16 * 65535, 0);
  PutWord(file, 2, 1);
  PutWord(file, 4, 65535);
  for (std::size_t i = 0; i < 65535; ++i) PutDword(file, 6 + 16 * i + 12, static_cast<std::uint32_t>(file.size()));
  return file;
}

using Clock = std::chrono::steady_clock;

// Runs one pass repeatedly for at least a fifth of a second; the best pass, in seconds.
template <typename Pass>
double BestSeconds(Pass pass) {
  double best = 1e9;
  const auto start = Clock::now();
  int runs = 0;
  while (runs < 5 || Clock::now() - start < std::chrono::milliseconds(200)) {
    const auto t0 = Clock::now();
    pass();
    best = std::min(best, std::chrono::duration<double>(Clock::now() - t0).count());
    ++runs;
  }
  return best;
}

struct Figures {
  double plainSecondsPerMb;
  double parseSecondsPerMb;
  std::size_t peak;
  bool read;
};

Figures Measure(const Bytes& file) {
  const double mb = file.size() / (1024.0 * 1024.0);
  volatile std::uint8_t sink = 0;

  // The plain read: the whole file into a buffer allocated for it, as a program reading a file would.
  const double plain = BestSeconds([&] {
    MemoryByteSource source(file.data(), file.size());
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[file.size()]);
    std::uint32_t got = 0;
    (void)source.Read(buffer.get(), static_cast<std::uint32_t>(file.size()), &got);
    sink = sink + buffer[got / 2];
  });

  bool read = false;
  const double parse = BestSeconds([&] {
    MemoryByteSource source(file.data(), file.size());
    std::unique_ptr<IconFileResource> r = ReadIconFile(source, "bench.ico");
    read = r != nullptr;
    if (r && !r->images.empty() && !r->images.back().data.empty()) sink = sink + r->images.back().data[0];
  });

  const std::size_t before = liveBytes;
  peakBytes = liveBytes;
  {
    MemoryByteSource source(file.data(), file.size());
    std::unique_ptr<IconFileResource> r = ReadIconFile(source, "bench.ico");
  }
  return {plain / mb, parse / mb, peakBytes - before, read};
}

}  // namespace

int main() {
  std::printf("%10s %6s %14s %14s %10s %12s %10s\n", "file bytes", "images", "plain ms/MB", "parser ms/MB",
              "time x", "peak bytes", "memory x");
  for (std::size_t target = 1024; target <= 16u << 20; target *= 4) {
    const Bytes file = IconFileOfSize(target);
    const Figures f = Measure(file);
    std::printf("%10zu %6u %14.3f %14.3f %10.2f %12zu %10.3f%s\n", file.size(), file[4] | (file[5] << 8),
                f.plainSecondsPerMb * 1000, f.parseSecondsPerMb * 1000, f.parseSecondsPerMb / f.plainSecondsPerMb,
                f.peak, static_cast<double>(f.peak) / file.size(), f.read ? "" : "  (refused!)");
  }
  const Bytes most = MostEntries();
  const Figures f = Measure(most);
  std::printf("\n65535 empty entries: %zu file bytes, peak %zu bytes (%.2f x), of which per-image records %zu "
              "(%zu bytes each)%s\n",
              most.size(), f.peak, static_cast<double>(f.peak) / most.size(), sizeof(IconFileImage) * 65535,
              sizeof(IconFileImage), f.read ? "" : "  (refused!)");
  return 0;
}
