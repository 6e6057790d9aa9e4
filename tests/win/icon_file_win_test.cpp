#include "icons/icon_file_win.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "base/wide_text_win.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void PutWord(Bytes& b, std::size_t at, std::uint16_t v) {
  b[at] = static_cast<std::uint8_t>(v);
  b[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

void PutDword(Bytes& b, std::size_t at, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = static_cast<std::uint8_t>(v >> (8 * i));
}

// One bitmap icon image of w x h pixels: header, palette, colour rows, then an all-opaque mask.
Bytes IconImage(int w, int h, std::uint16_t bpp) {
  const std::size_t palette = bpp <= 8 ? (std::size_t{1} << bpp) * 4 : 0;
  const std::size_t xorRow = ((w * bpp + 31) / 32) * 4;
  const std::size_t andRow = ((w + 31) / 32) * 4;
  Bytes b(40 + palette + (xorRow + andRow) * h, 0);
  PutDword(b, 0, 40);
  PutDword(b, 4, static_cast<std::uint32_t>(w));
  PutDword(b, 8, static_cast<std::uint32_t>(2 * h));
  PutWord(b, 12, 1);
  PutWord(b, 14, bpp);
  for (std::size_t i = 0; i < palette; ++i) b[40 + i] = static_cast<std::uint8_t>(i * 37);
  for (std::size_t i = 0; i < xorRow * h; ++i) b[40 + palette + i] = static_cast<std::uint8_t>(i * 13 + 1);
  return b;
}

Bytes IconFile(const std::vector<Bytes>& images, std::uint16_t type = 1) {
  Bytes b(6 + 16 * images.size(), 0);
  PutWord(b, 2, type);
  PutWord(b, 4, static_cast<std::uint16_t>(images.size()));
  for (std::size_t i = 0; i < images.size(); ++i) {
    const std::size_t at = 6 + 16 * i;
    PutDword(b, at + 8, static_cast<std::uint32_t>(images[i].size()));
    PutDword(b, at + 12, static_cast<std::uint32_t>(b.size()));
    b.insert(b.end(), images[i].begin(), images[i].end());
  }
  return b;
}

int SystemIconWidth() { return GetSystemMetrics(SM_CXICON); }
int SystemIconHeight() { return GetSystemMetrics(SM_CYICON); }

Bytes GoodFile() { return IconFile({IconImage(SystemIconWidth(), SystemIconHeight(), 4)}); }
std::uint32_t GoodImageBytes() { return static_cast<std::uint32_t>(GoodFile().size() - 6 - 16); }

// An image of no bytes, then a good one; the first entry is then pointed at size bytes at offset.
Bytes EmptyEntryThenGood(std::uint32_t size, std::uint32_t offset) {
  Bytes b = IconFile({Bytes{}, IconImage(SystemIconWidth(), SystemIconHeight(), 4)});
  PutDword(b, 6 + 8, size);
  PutDword(b, 6 + 12, offset);
  return b;
}

bool WriteBytes(const std::string& path, const Bytes& bytes) {
  FileHandle f(CreateFileW(Wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  DWORD written = 0;
  return f.Valid() && WriteFile(f.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

// A private folder under the user's temporary folder, emptied when the test ends.
class TempDir {
 public:
  TempDir() {
    char base[MAX_PATH] = {};
    (void)GetTempPathA(MAX_PATH, base);
    char name[64];
    std::snprintf(name, sizeof name, "farhour-icons-%lu", GetCurrentProcessId());
    path_ = std::string(base) + name;
    (void)CreateDirectoryA(path_.c_str(), nullptr);
  }
  ~TempDir() {
    for (const std::string& f : files_) (void)DeleteFileW(Wide(f).c_str());
    for (auto d = dirs_.rbegin(); d != dirs_.rend(); ++d) (void)RemoveDirectoryW(Wide(*d).c_str());
    (void)RemoveDirectoryA(path_.c_str());
  }
  std::string Write(const std::string& name, const Bytes& bytes) {
    std::string p = path_ + "\\" + name;
    EXPECT_TRUE(WriteBytes(p, bytes)) << p;
    files_.push_back(p);
    return p;
  }
  std::string MakeDir(const std::string& name) {
    std::string p = path_ + "\\" + name;
    (void)CreateDirectoryW(Wide(p).c_str(), nullptr);
    dirs_.push_back(p);
    return p;
  }
  void Track(const std::string& file) { files_.push_back(file); }
  const std::string& Path() const { return path_; }

 private:
  std::string path_;
  std::vector<std::string> files_;
  std::vector<std::string> dirs_;
};

struct IconFacts {
  bool ok = false;
  LONG width = 0;
  LONG height = 0;
};

using Bitmap = UniqueHandle<ClosedBy<HBITMAP, &DeleteObject>>;

// What the platform says of an icon; the bitmaps it hands out are ours to delete.
IconFacts InspectIcon(HICON icon) {
  IconFacts facts;
  ICONINFO info{};
  if (!icon || !GetIconInfo(icon, &info)) return facts;
  Bitmap colour(info.hbmColor);
  Bitmap mask(info.hbmMask);
  BITMAP bm{};
  if (colour && GetObjectA(colour.Get(), sizeof bm, &bm) == sizeof bm) {
    facts.width = bm.bmWidth;
    facts.height = bm.bmHeight;
  }
  facts.ok = info.fIcon != FALSE;
  return facts;
}

std::string WindowsPath(const std::string& unixPath) {
  std::string p = "Z:" + unixPath;
  for (char& c : p) if (c == '/') c = '\\';
  return p;
}

void CollectIconFiles(const std::string& dir, std::vector<std::string>& out) {
  WIN32_FIND_DATAA found{};
  HANDLE h = FindFirstFileA((dir + "\\*").c_str(), &found);
  if (h == INVALID_HANDLE_VALUE) return;
  do {
    std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    std::string full = dir + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      CollectIconFiles(full, out);
    } else if (name.size() > 4) {
      std::string ext = name.substr(name.size() - 4);
      for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
      if (ext == ".ico" || ext == ".cur") out.push_back(full);
    }
  } while (FindNextFileA(h, &found));
  (void)FindClose(h);
}

// ---- files on disk ----

struct LoadCase {
  const char* name;
  Bytes (*file)();  // null: the path names no file
  bool icon;
};

class IconFileLoad : public testing::TestWithParam<LoadCase> {};

TEST_P(IconFileLoad, GivesAnIconOfTheSystemSizeOrNothing) {
  const LoadCase& c = GetParam();
  TempDir dir;
  std::string path = c.file ? dir.Write("icon.ico", c.file()) : dir.Path() + "\\missing.ico";
  OwnedIcon icon = LoadIconFileAtSystemSize(path.c_str());
  EXPECT_EQ(static_cast<bool>(icon), c.icon);
  if (c.icon) {
    IconFacts facts = InspectIcon(icon.Get());
    EXPECT_TRUE(facts.ok);
    EXPECT_EQ(facts.width, SystemIconWidth());
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IconFileLoad,
    testing::Values(
        LoadCase{"good_4bpp", &GoodFile, true},
        LoadCase{"good_8bpp_after_16px", [] { return IconFile({IconImage(16, 16, 4), IconImage(SystemIconWidth(), SystemIconHeight(), 8)}); }, true},
        LoadCase{"good_32bpp", [] { return IconFile({IconImage(SystemIconWidth(), SystemIconHeight(), 32)}); }, true},
        LoadCase{"cursor_file", [] { return IconFile({IconImage(SystemIconWidth(), SystemIconHeight(), 4)}, 2); }, false},
        LoadCase{"no_images", [] { return IconFile({}); }, false},
        LoadCase{"only_other_sizes", [] { return IconFile({IconImage(16, 16, 4), IconImage(48, 48, 4)}); }, false},
        LoadCase{"cut_short", [] { Bytes b = GoodFile(); b.resize(b.size() - 1); return b; }, false},
        LoadCase{"two_entries_one_image", [] { return EmptyEntryThenGood(GoodImageBytes(), 6 + 2 * 16); }, true},
        LoadCase{"empty_entry_past_end", [] { return EmptyEntryThenGood(0, 100000); }, true},
        LoadCase{"empty_entry_offset_2_pow_31", [] { return EmptyEntryThenGood(0, 0x80000000u); }, false},
        LoadCase{"empty_file", [] { return Bytes{}; }, false},
        LoadCase{"missing", nullptr, false}),
    [](const testing::TestParamInfo<LoadCase>& i) { return std::string(i.param.name); });

TEST(IconFileLoadPath, EmptyOrNullPathGivesNothing) {
  EXPECT_FALSE(LoadIconFileAtSystemSize(""));
  EXPECT_FALSE(LoadIconFileAtSystemSize(nullptr));
}

// MAX_PATH counts the terminator: 259 characters still name a file, 260 do not. Each file is also
// reached through a spelling two characters longer (".\\" in the middle).
TEST(IconFileLoadPath, PathOf260CharactersGivesNothing) {
  TempDir dir;
  const std::string folder = dir.MakeDir(std::string(150, 'd'));
  auto fileOfLength = [&](std::size_t length) {
    std::string p = folder + "\\" + std::string(length - folder.size() - 1 - 4, 'f') + ".ico";
    EXPECT_TRUE(WriteBytes(p, GoodFile())) << "cannot write " << p;
    dir.Track(p);
    return p;
  };
  auto longer = [&](const std::string& p) { return dir.Path() + "\\.\\" + p.substr(dir.Path().size() + 1); };

  const std::string short257 = fileOfLength(257);
  const std::string short258 = fileOfLength(258);
  ASSERT_EQ(longer(short257).size(), 259u);
  ASSERT_EQ(longer(short258).size(), 260u);
  EXPECT_TRUE(LoadIconFileAtSystemSize(short257.c_str()));
  EXPECT_TRUE(LoadIconFileAtSystemSize(longer(short257).c_str()));
  EXPECT_TRUE(LoadIconFileAtSystemSize(short258.c_str()));
  EXPECT_FALSE(LoadIconFileAtSystemSize(longer(short258).c_str()));
  EXPECT_FALSE(LoadIconFileAtSystemSize((std::string(300, 'x') + ".ico").c_str()));
}

// Folders and files named in any script: the path reaches the file as the user's names spell it.
TEST(IconFileLoadPath, NamesInAnyScriptLoad) {
  TempDir dir;
  const std::string user = dir.MakeDir("Zo\xc3\xab");
  const std::string icons = dir.MakeDir("Zo\xc3\xab\\Ikonen");
  const char* const names[] = {
      "\xce\x95\xce\xbb\xce\xbb\xce\xac\xce\xb4\xce\xb1.ico",  // Ελλάδα
      "\xe6\x9d\xb1\xe4\xba\xac.ico",                              // 東京
      "\xc5\x81\xc3\xb3\x64\xc5\xba.ico",                           // Łódź
      "\xf0\x9d\x92\x9c.ico",                                        // a character beyond 65,536
  };
  for (const char* name : names) {
    const std::string path = dir.Write(std::string("Zo\xc3\xab\\Ikonen\\") + name, GoodFile());
    EXPECT_TRUE(LoadIconFileAtSystemSize(path.c_str())) << name;
  }
  EXPECT_FALSE(LoadIconFileAtSystemSize((icons + "\\Ellada.ico").c_str()));
  (void)user;
}

TEST(IconFileLoadPath, FileHeldOpenWithoutSharingGivesNothing) {
  TempDir dir;
  std::string path = dir.Write("held.ico", GoodFile());
  {
    FileHandle holder(CreateFileA(path.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(holder.Valid());
    EXPECT_FALSE(LoadIconFileAtSystemSize(path.c_str()));
  }
  EXPECT_TRUE(LoadIconFileAtSystemSize(path.c_str())) << "the file is readable once let go";
}

struct BackgroundLoad {
  std::string path;
  bool icon = true;
};

DWORD WINAPI LoadInBackground(LPVOID p) {
  BackgroundLoad* load = static_cast<BackgroundLoad*>(p);
  load->icon = static_cast<bool>(LoadIconFileAtSystemSize(load->path.c_str()));
  return 0;
}

// A pipe whose other end never writes: reading it would wait for ever. The load runs on a thread so
// that a reader which does wait fails the test instead of hanging it.
TEST(IconFileLoadPath, PipeGivesNothingAtOnce) {
  char name[64];
  std::snprintf(name, sizeof name, "\\\\.\\pipe\\farhour-icon-%lu", GetCurrentProcessId());
  FileHandle server(CreateNamedPipeA(name, PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE, 1, 4096, 4096, 0, nullptr));
  ASSERT_TRUE(server.Valid());
  BackgroundLoad load{name};
  HANDLE worker = CreateThread(nullptr, 0, &LoadInBackground, &load, 0, nullptr);
  ASSERT_NE(worker, nullptr);
  const DWORD waited = WaitForSingleObject(worker, 5000);
  server.Reset();  // lets a waiting read end
  (void)WaitForSingleObject(worker, INFINITE);
  (void)CloseHandle(worker);
  EXPECT_EQ(waited, WAIT_OBJECT_0) << "the load waited on the pipe";
  EXPECT_FALSE(load.icon);
}

TEST(IconFileLoadPath, ReaderLeavesTheFileClosed) {
  TempDir dir;
  std::string path = dir.Write("closed.ico", GoodFile());
  ASSERT_TRUE(LoadIconFileAtSystemSize(path.c_str()));
  FileHandle after(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(after.Valid());
  std::string cursor = dir.Write("cursor.cur", IconFile({IconImage(32, 32, 4)}, 2));
  EXPECT_FALSE(LoadIconFileAtSystemSize(cursor.c_str()));
  FileHandle afterFailure(CreateFileA(cursor.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_TRUE(afterFailure.Valid());
}

TEST(IconFileCorpusWin, EveryFileGivesAUsableIconOrNothing) {
  const char* dir = std::getenv("FARHOUR_CORPUS_DIR");
  ASSERT_NE(dir, nullptr) << "FARHOUR_CORPUS_DIR is not set; the test command points it at tests/data";
  std::vector<std::string> files;
  CollectIconFiles(WindowsPath(dir) + "\\ico", files);
  ASSERT_FALSE(files.empty());
  int icons = 0;
  for (const std::string& f : files) {
    SCOPED_TRACE(f);
    OwnedIcon icon = LoadIconFileAtSystemSize(f.c_str());
    if (!icon) continue;
    ++icons;
    IconFacts facts = InspectIcon(icon.Get());
    EXPECT_TRUE(facts.ok);
    EXPECT_EQ(facts.width, SystemIconWidth());
  }
  std::printf("corpus: %d files, %d gave an icon\n", static_cast<int>(files.size()), icons);
  EXPECT_GT(icons, 0);
}

// ---- the custom pair ----

DWORD GuiObjects(DWORD kind) { return GetGuiResources(GetCurrentProcess(), kind); }

// Open kernel handles of this process, counted by asking after every handle value in turn: Wine
// keeps no count for GetProcessHandleCount or GetGuiResources (both report 0), but answers this.
int OpenHandles() {
  int open = 0;
  for (std::uintptr_t v = 4; v < 0x10000; v += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(v), &flags)) ++open;
  }
  return open;
}

TEST(CustomIconPair, ReloadReplacesBothAndAFailureLeavesNull) {
  TempDir dir;
  std::string good = dir.Write("good.ico", GoodFile());
  std::string other = dir.Write("other.ico", IconFile({IconImage(SystemIconWidth(), SystemIconHeight(), 8)}));
  CustomIcons icons;
  LoadCustomIcons(icons, good, other);
  ASSERT_TRUE(icons.active);
  ASSERT_TRUE(icons.inactive);
  HICON oldActive = icons.active.Get();
  HICON oldInactive = icons.inactive.Get();

  DeleteFileA(good.c_str());
  LoadCustomIcons(icons, good, other);
  EXPECT_FALSE(icons.active) << "a file that no longer loads leaves no icon, not the old one";
  ASSERT_TRUE(icons.inactive);
  // Handle values carry a use count, so a destroyed icon's value does not come back at once.
  EXPECT_FALSE(InspectIcon(oldActive).ok) << "the old active icon was destroyed";
  EXPECT_NE(icons.inactive.Get(), oldInactive);
  EXPECT_FALSE(InspectIcon(oldInactive).ok) << "the old inactive icon was destroyed";

  HICON kept = icons.inactive.Get();
  FreeCustomIcons(icons);
  EXPECT_FALSE(icons.active);
  EXPECT_FALSE(icons.inactive);
  EXPECT_FALSE(InspectIcon(kept).ok);
  FreeCustomIcons(icons);  // twice is harmless
  LoadCustomIcons(icons, "", "");
  EXPECT_FALSE(icons.active);
  EXPECT_FALSE(icons.inactive);
}

TEST(CustomIconPair, ThousandReloadsLeakNothing) {
  TempDir dir;
  std::string good = dir.Write("good.ico", GoodFile());
  CustomIcons icons;
  LoadCustomIcons(icons, good, good);  // the first load may set up the platform's own caches
  ASSERT_TRUE(icons.active);
  const DWORD gdiBefore = GuiObjects(GR_GDIOBJECTS);
  const DWORD userBefore = GuiObjects(GR_USEROBJECTS);
  const int handlesBefore = OpenHandles();

  std::vector<HICON> replaced;
  for (int i = 0; i < 1000; ++i) {
    replaced.push_back(icons.active.Get());
    replaced.push_back(icons.inactive.Get());
    LoadCustomIcons(icons, good, good);
    ASSERT_TRUE(icons.active);
    ASSERT_TRUE(icons.inactive);
  }

  const DWORD gdiAfter = GuiObjects(GR_GDIOBJECTS);
  const DWORD userAfter = GuiObjects(GR_USEROBJECTS);
  const int handlesAfter = OpenHandles();
  int alive = 0;
  for (HICON old : replaced) {
    if (old != icons.active.Get() && old != icons.inactive.Get() && InspectIcon(old).ok) ++alive;
  }
  std::printf("1000 reloads: GDI objects %lu -> %lu, USER objects %lu -> %lu, open handles %d -> %d, "
              "replaced icons still alive %d of %d\n",
              gdiBefore, gdiAfter, userBefore, userAfter, handlesBefore, handlesAfter, alive,
              static_cast<int>(replaced.size()));
  // Each reload makes two icons and opens two files; a leak would show as hundreds or thousands.
  EXPECT_EQ(alive, 0);
  EXPECT_LE(gdiAfter, gdiBefore + 8);
  EXPECT_LE(userAfter, userBefore + 8);
  EXPECT_LE(handlesAfter, handlesBefore + 8);
  FreeCustomIcons(icons);
}

// ---- making the icon: the platform's two calls replaced by counters ----

struct MakerCalls {
  int ex = 0;
  int plain = 0;
  int width = -1;
  int height = -1;
  HICON exResult = nullptr;
  HICON plainResult = nullptr;
};
MakerCalls calls;

HICON WINAPI FakeFromResourceEx(PBYTE, DWORD, BOOL icon, DWORD version, int w, int h, UINT flags) {
  ++calls.ex;
  calls.width = w;
  calls.height = h;
  EXPECT_TRUE(icon);
  EXPECT_EQ(version, 0x30000u);
  EXPECT_EQ(flags, 0u);
  return calls.exResult;
}

HICON WINAPI FakeFromResource(PBYTE, DWORD, BOOL icon, DWORD version) {
  ++calls.plain;
  EXPECT_TRUE(icon);
  EXPECT_EQ(version, 0x30000u);
  return calls.plainResult;
}

HICON Marker(int n) { return reinterpret_cast<HICON>(static_cast<INT_PTR>(0x1000 + n)); }

struct MakeCase {
  const char* name;
  std::uint16_t bpp;
  int dataBytes;   // 0: the whole image
  int biHeight;
  bool exMakesOne;
  int plainCalls;
  HICON result;    // Marker(1) from the first call, Marker(2) from the second
};

class IconFileMake : public testing::TestWithParam<MakeCase> {};

TEST_P(IconFileMake, TriesTheOlderCallOnlyWhenItCanHelp) {
  const MakeCase& c = GetParam();
  Bytes bytes = IconImage(32, 32, c.bpp);
  PutDword(bytes, 8, static_cast<std::uint32_t>(c.biHeight));
  if (c.dataBytes) bytes.resize(c.dataBytes);
  IconFileImage image;
  image.data = bytes.data();
  image.size = static_cast<std::uint32_t>(bytes.size());
  calls = MakerCalls{};
  calls.exResult = c.exMakesOne ? Marker(1) : nullptr;
  calls.plainResult = Marker(2);
  const IconMakers fakes{&FakeFromResourceEx, &FakeFromResource};

  EXPECT_EQ(MakeIconFromImage(&image, fakes), c.result);
  const int exCalls = image.size < 40 ? 0 : 1;
  EXPECT_EQ(calls.ex, exCalls);
  EXPECT_EQ(calls.plain, c.plainCalls);
  if (exCalls) {
    EXPECT_EQ(calls.width, 32);
    EXPECT_EQ(calls.height, c.biHeight / 2);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rows, IconFileMake,
    testing::Values(MakeCase{"bpp16_refused_no_retry", 16, 0, 64, false, 0, nullptr},
                    MakeCase{"bpp4_refused_retried", 4, 0, 64, false, 1, Marker(2)},
                    MakeCase{"bpp8_refused_retried", 8, 0, 64, false, 1, Marker(2)},
                    MakeCase{"bpp24_refused_retried", 24, 0, 64, false, 1, Marker(2)},
                    MakeCase{"bpp32_refused_retried", 32, 0, 64, false, 1, Marker(2)},
                    MakeCase{"bpp16_made", 16, 0, 64, true, 0, Marker(1)},
                    MakeCase{"bpp4_made_first_time", 4, 0, 64, true, 0, Marker(1)},
                    MakeCase{"odd_height_asks_half", 4, 0, 65, true, 0, Marker(1)},
                    MakeCase{"shorter_than_header", 4, 39, 64, false, 0, nullptr}),
    [](const testing::TestParamInfo<MakeCase>& i) { return std::string(i.param.name); });

TEST(IconFileMakeNothing, NoImageGivesNull) {
  calls = MakerCalls{};
  const IconMakers fakes{&FakeFromResourceEx, &FakeFromResource};
  EXPECT_EQ(MakeIconFromImage(nullptr, fakes), nullptr);
  IconFileImage empty;
  EXPECT_EQ(MakeIconFromImage(&empty, fakes), nullptr);
  EXPECT_EQ(calls.ex + calls.plain, 0);
}

// What this platform makes of a 16-bit image, for the record; either way the result is usable or null.
TEST(IconFileMakeNothing, RealSixteenBitImageIsUsableOrNull) {
  const Bytes bytes = IconImage(32, 32, 16);
  IconFileImage image;
  image.data = bytes.data();
  image.size = static_cast<std::uint32_t>(bytes.size());
  LocateImageParts(image);
  OwnedIcon icon(MakeIconFromImage(&image));
  std::printf("16-bit image: %s\n", icon ? "made into an icon" : "refused");
  if (icon) {
    EXPECT_TRUE(InspectIcon(icon.Get()).ok);
  }
}

}  // namespace
