// The size of farhour.exe and what it is made of: its sections, the DLLs it imports (only the
// system's, since the C++ runtime is linked in statically) and whether anything packed it.
// Prints figures only; the goal is a file of less than 300 KB, statically linked, without a packer.
// Usage: exe_size_bench <path of the exe>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using Bytes = std::vector<std::uint8_t>;

constexpr std::uint32_t GOAL_BYTES = 300 * 1024;

std::uint32_t Get(const Bytes& b, std::size_t at, int width) {
  std::uint32_t v = 0;
  for (int i = 0; i < width && at + i < b.size(); ++i) v |= static_cast<std::uint32_t>(b[at + i]) << (8 * i);
  return v;
}

struct Section {
  std::string name;
  std::uint32_t virtualSize;
  std::uint32_t virtualAddress;
  std::uint32_t rawSize;
  std::uint32_t rawOffset;
};

// The file offset of a relative virtual address, or 0 when no section holds it.
std::uint32_t FileOffset(const std::vector<Section>& sections, std::uint32_t rva) {
  for (const Section& s : sections) {
    if (rva >= s.virtualAddress && rva < s.virtualAddress + std::max(s.virtualSize, s.rawSize)) {
      return rva - s.virtualAddress + s.rawOffset;
    }
  }
  return 0;
}

std::string TextAt(const Bytes& b, std::uint32_t at) {
  std::string text;
  while (at < b.size() && b[at] && text.size() < 256) text += static_cast<char>(b[at++]);
  return text;
}

std::string WindowsPath(const char* unixPath) {
  std::string path = unixPath;
#ifdef _WIN32
  if (!path.empty() && path[0] == '/') {
    path = "Z:" + path;
    for (char& c : path) if (c == '/') c = '\\';
  }
#endif
  return path;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: exe_size_bench <exe>\n");
    return 2;
  }
  const std::string path = WindowsPath(argv[1]);
  std::ifstream file(path, std::ios::binary);
  const Bytes b((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
  if (b.size() < 0x40 || b[0] != 'M' || b[1] != 'Z') {
    std::printf("%s: not an executable\n", path.c_str());
    return 1;
  }
  const std::uint32_t pe = Get(b, 0x3C, 4);
  if (Get(b, pe, 4) != 0x00004550) {
    std::printf("%s: no PE header\n", path.c_str());
    return 1;
  }
  const std::uint32_t sectionCount = Get(b, pe + 6, 2);
  const std::uint32_t symbolCount = Get(b, pe + 16, 4);
  const std::uint32_t optionalSize = Get(b, pe + 20, 2);
  const std::size_t optional = pe + 24;
  const bool pe32 = Get(b, optional, 2) == 0x10B;
  const std::size_t directories = optional + (pe32 ? 96 : 112);
  const std::uint32_t importRva = Get(b, directories + 8, 4);

  std::vector<Section> sections;
  std::size_t at = optional + optionalSize;
  for (std::uint32_t i = 0; i < sectionCount && at + 40 <= b.size(); ++i, at += 40) {
    Section s;
    s.name.assign(reinterpret_cast<const char*>(&b[at]), strnlen(reinterpret_cast<const char*>(&b[at]), 8));
    s.virtualSize = Get(b, at + 8, 4);
    s.virtualAddress = Get(b, at + 12, 4);
    s.rawSize = Get(b, at + 16, 4);
    s.rawOffset = Get(b, at + 20, 4);
    sections.push_back(s);
  }

  std::printf("Size of %s\n", path.c_str());
  std::printf("goal: < %u bytes (300 KB), statically linked, no packer\n\n", GOAL_BYTES);
  std::printf("file: %zu bytes (%.1f KB, %.1f%% of the goal), %s, symbols %s\n\n", b.size(), b.size() / 1024.0,
              100.0 * b.size() / GOAL_BYTES, pe32 ? "PE32" : "PE32+", symbolCount ? "present" : "stripped");
  std::printf("%-10s %12s %12s\n", "section", "in file", "in memory");
  bool packed = false;
  for (const Section& s : sections) {
    std::printf("%-10s %12u %12u\n", s.name.c_str(), s.rawSize, s.virtualSize);
    for (const char* packer : {"UPX", ".aspack", ".MPRESS", ".petite", ".nsp", "PEC2"}) {
      if (s.name.compare(0, std::strlen(packer), packer) == 0) packed = true;
    }
  }

  std::printf("\nimported DLLs:");
  const std::uint32_t imports = FileOffset(sections, importRva);
  bool runtimeDll = false;
  for (std::uint32_t d = imports; imports && d + 20 <= b.size(); d += 20) {
    const std::uint32_t nameRva = Get(b, d + 12, 4);
    if (nameRva == 0) break;
    std::string name = TextAt(b, FileOffset(sections, nameRva));
    std::printf(" %s", name.c_str());
    std::string lower;
    for (char c : name) lower += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    for (const char* runtime : {"libstdc++", "libgcc", "libwinpthread", "msvcp", "vcruntime", "ucrtbase"}) {
      if (lower.find(runtime) != std::string::npos) runtimeDll = true;
    }
  }
  std::printf("\nC++ runtime DLL imported: %s; packer sections: %s\n", runtimeDll ? "yes" : "no",
              packed ? "yes" : "none");
  return 0;
}
