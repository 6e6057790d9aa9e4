// How the icon-file reader compares with plainly reading the same bytes into memory: time per MB as a
// ratio against the plain read, and the most memory it holds at once against the file's size.
// Prints figures only; the goals are a time ratio of at most 1.5 and a memory ratio of at most 1.1
// plus a small constant. The same bytes read into a zero-filled buffer, and the allocations of one
// parse, show where the reader's time goes.
// Usage: icon_parser_bench [rounds] [milliseconds per timed block]
#include "icons/icon_file.h"

#include <algorithm>
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
std::size_t allocationCount = 0;

constexpr std::size_t TAG = alignof(std::max_align_t);

void* CountedAlloc(std::size_t n) {
  void* p = std::malloc(n + TAG);
  if (!p) throw std::bad_alloc();
  std::memcpy(p, &n, sizeof n);
  liveBytes += n;
  ++allocationCount;
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

// The most entries the format allows, each over the same image of imageBytes (none: empty images, so
// almost all of the reader's memory goes to its per-image records).
Bytes MostEntries(std::uint32_t imageBytes) {
  const std::uint32_t imageAt = 6 + 16 * 65535;
  Bytes file(imageAt, 0);
  PutWord(file, 2, 1);
  PutWord(file, 4, 65535);
  for (std::size_t i = 0; i < 65535; ++i) {
    PutDword(file, 6 + 16 * i + 8, imageBytes);
    PutDword(file, 6 + 16 * i + 12, imageAt);
  }
  if (imageBytes > 0) {
    const Bytes image = Image(32);
    file.resize(imageAt + imageBytes);
    std::copy(image.begin(), image.begin() + std::min<std::size_t>(image.size(), imageBytes), file.begin() + imageAt);
  }
  return file;
}

using Clock = std::chrono::steady_clock;

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  const std::size_t n = values.size();
  return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

template <typename Pass>
double SecondsFor(long passes, Pass pass) {
  const auto t0 = Clock::now();
  for (long i = 0; i < passes; ++i) pass();
  return std::chrono::duration<double>(Clock::now() - t0).count();
}

// Enough passes of one kind for a timed block of about blockSeconds.
template <typename Pass>
long PassesFor(double blockSeconds, Pass pass) {
  long n = 1;
  for (;;) {
    const double t = SecondsFor(n, pass);
    if (t >= blockSeconds / 4 || n >= (1L << 24)) return std::max(1L, static_cast<long>(n * blockSeconds / t));
    n *= 2;
  }
}

struct Figures {
  double plainMsPerMb;    // the floor: the bytes read into a buffer allocated for them
  double zeroedMsPerMb;   // the same into a zero-filled buffer, as std::vector's resize gives
  double parseMsPerMb;
  double ratio;           // median over the rounds of parse / plain
  double zeroedRatio;     // the same for the zero-filled read
  std::size_t allocations;  // made by one parse
  std::size_t peak;
  bool read;
};

volatile std::uint8_t g_sink = 0;

// Rounds of three timed blocks each (plain read, zero-filled read, parse) in an order that rotates
// from round to round; the figures are the medians over the rounds.
Figures Measure(const Bytes& file, int rounds, double blockSeconds) {
  const double mb = file.size() / (1024.0 * 1024.0);

  auto plain = [&] {
    MemoryByteSource source(file.data(), file.size());
    std::unique_ptr<std::uint8_t[]> buffer(new std::uint8_t[file.size()]);
    std::uint32_t got = 0;
    (void)source.Read(buffer.get(), static_cast<std::uint32_t>(file.size()), &got);
    g_sink = g_sink + buffer[got / 2];
  };
  auto zeroed = [&] {
    MemoryByteSource source(file.data(), file.size());
    std::vector<std::uint8_t> buffer(file.size());
    std::uint32_t got = 0;
    (void)source.Read(buffer.data(), static_cast<std::uint32_t>(file.size()), &got);
    g_sink = g_sink + buffer[got / 2];
  };
  bool read = false;
  auto parse = [&] {
    MemoryByteSource source(file.data(), file.size());
    std::unique_ptr<IconFileResource> r = ReadIconFile(source, "bench.ico");
    read = r != nullptr;
    if (r && !r->images.empty() && r->images.back().size > 0) g_sink = g_sink + r->images.back().data[0];
  };

  const long passes = PassesFor(blockSeconds, plain);
  const long parsePasses = PassesFor(blockSeconds, parse);
  std::vector<double> plainMs, zeroedMs, parseMs, ratios, zeroedRatios;
  for (int r = 0; r < rounds; ++r) {
    double p = 0, z = 0, q = 0;
    auto timePlain = [&] { p = SecondsFor(passes, plain) / passes; };
    auto timeZeroed = [&] { z = SecondsFor(passes, zeroed) / passes; };
    auto timeParse = [&] { q = SecondsFor(parsePasses, parse) / parsePasses; };
    switch (r % 3) {
      case 0: timePlain(); timeZeroed(); timeParse(); break;
      case 1: timeZeroed(); timeParse(); timePlain(); break;
      default: timeParse(); timePlain(); timeZeroed(); break;
    }
    plainMs.push_back(p * 1000 / mb);
    zeroedMs.push_back(z * 1000 / mb);
    parseMs.push_back(q * 1000 / mb);
    ratios.push_back(q / p);
    zeroedRatios.push_back(z / p);
  }

  const std::size_t before = liveBytes;
  const std::size_t allocationsBefore = allocationCount;
  peakBytes = liveBytes;
  parse();
  // Taken before anything else allocates.
  const std::size_t allocations = allocationCount - allocationsBefore;
  const std::size_t peak = peakBytes - before;
  return {Median(plainMs), Median(zeroedMs), Median(parseMs), Median(ratios), Median(zeroedRatios),
          allocations, peak, read};
}

}  // namespace

int main(int argc, char** argv) {
  const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const double blockSeconds = (argc > 2 ? std::max(1, std::atoi(argv[2])) : 20) / 1000.0;

  std::printf("Icon-file reader against a plain read of the same bytes (median of %d rounds)\n", rounds);
  std::printf("goals: parse / plain <= 1.5; peak <= 1.1 x file + a small constant\n\n");
  std::printf("%10s %6s %9s %9s %9s %7s %7s %9s %6s %10s %8s %9s\n", "file bytes", "images", "plain", "zeroed",
              "parser", "time x", "zero x", "extra", "allocs", "peak bytes", "memory x", "peak-file");
  std::printf("%10s %6s %9s %9s %9s %7s %7s %9s\n", "", "", "ms/MB", "ms/MB", "ms/MB", "", "", "ns/file");
  for (std::size_t target = 1024; target <= 16u << 20; target *= 4) {
    const Bytes file = IconFileOfSize(target);
    const Figures f = Measure(file, rounds, blockSeconds);
    const double extraNs = (f.parseMsPerMb - f.plainMsPerMb) * 1e6 * file.size() / (1024.0 * 1024.0);
    std::printf("%10zu %6u %9.4f %9.4f %9.4f %7.2f %7.2f %9.0f %6zu %10zu %8.3f %9lld%s\n", file.size(),
                file[4] | (file[5] << 8), f.plainMsPerMb, f.zeroedMsPerMb, f.parseMsPerMb, f.ratio, f.zeroedRatio,
                extraNs, f.allocations, f.peak, static_cast<double>(f.peak) / file.size(),
                static_cast<long long>(f.peak) - static_cast<long long>(file.size()), f.read ? "" : "  (refused!)");
  }
  std::printf("(zeroed: the plain read into a zero-filled buffer; zero x: its time against the plain read;\n"
              " extra: the parser's time per file above the plain read)\n");

  std::printf("\n");
  for (std::uint32_t imageBytes : {0u, 1u << 20}) {
    const Bytes most = MostEntries(imageBytes);
    const Figures f = Measure(most, 3, blockSeconds);
    std::printf("65535 entries over %s: %zu file bytes, peak %zu bytes (%.2f x), of which per-image records %zu "
                "(%zu bytes each); parse / plain %.1f x, %zu allocations%s\n",
                imageBytes ? "one 1 MB image" : "empty images", most.size(), f.peak,
                static_cast<double>(f.peak) / most.size(), sizeof(IconFileImage) * 65535, sizeof(IconFileImage),
                f.ratio, f.allocations, f.read ? "" : "  (refused!)");
  }
  return 0;
}
