// icongen: draws the program's icons.
//   icongen icons DIR     writes farhour.ico, active_NN.ico and inactive_NN.ico into DIR
//   icongen sheet FILE    writes a PNG contact sheet of all of them
//   icongen hours FILE    writes a PNG contact sheet of the hour icons on light and dark taskbars
//   icongen show ID       prints the pictures of icon resource ID as palette indices ('.' transparent)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "tools/icongen/contact_sheet.h"
#include "tools/icongen/icon_set.h"

namespace {

bool WriteFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "icongen: cannot write %s\n", path.c_str());
    return false;
  }
  return true;
}

int Show(const std::vector<IconResource>& resources, int id) {
  for (const IconResource& resource : resources) {
    if (resource.id != id) continue;
    for (const Canvas& image : resource.images) {
      std::printf("%s %dx%d\n", resource.fileName.c_str(), image.Size(), image.Size());
      for (int y = 0; y < image.Size(); ++y) {
        for (int x = 0; x < image.Size(); ++x)
          std::putchar(image.IsTransparent(x, y) ? '.' : "0123456789ABCDEF"[image.At(x, y)]);
        std::putchar('\n');
      }
    }
    return 0;
  }
  std::fprintf(stderr, "icongen: no icon %d\n", id);
  return 1;
}

int Usage() {
  std::fprintf(stderr, "usage: icongen icons DIR | icongen sheet FILE.png | icongen hours FILE.png | icongen show ID\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) return Usage();
  const std::vector<IconResource> resources = BuildIconResources();
  if (std::strcmp(argv[1], "icons") == 0) {
    for (const IconResource& resource : resources) {
      if (!WriteFile(std::string(argv[2]) + "/" + resource.fileName, EncodeIconResource(resource))) return 1;
    }
    return 0;
  }
  if (std::strcmp(argv[1], "show") == 0) return Show(resources, std::atoi(argv[2]));
  if (std::strcmp(argv[1], "sheet") == 0) return WriteFile(argv[2], RenderContactSheet(resources)) ? 0 : 1;
  if (std::strcmp(argv[1], "hours") == 0) return WriteFile(argv[2], RenderHourSheet()) ? 0 : 1;
  return Usage();
}
