// The program at the display scale Wine is given (FARHOUR_DPI, set as LogPixels in the test's own
// prefix): the icon the shell gets is the picture drawn for the notification area's size, a user's
// icon file that works at 100 % keeps working, and the properties window grows with the scale.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/tray_stand_in.h"

namespace {

constexpr UINT TRAY_NOTIFY = 0x8064;
constexpr UINT TRAY_ID = 999;

UINT TestDpi() {
  const char* dpi = std::getenv("FARHOUR_DPI");
  return dpi && *dpi ? static_cast<UINT>(std::atoi(dpi)) : 96;
}

DWORD Handle32(HWND hwnd) { return static_cast<DWORD>(reinterpret_cast<UINT_PTR>(hwnd)); }

// The width and height at the start of an image as the shell's tray window receives it.
int ImageWidth(const std::string& image) {
  std::uint32_t width = 0;
  if (image.size() >= 4) std::memcpy(&width, image.data(), 4);
  return static_cast<int>(width);
}

// The last image the program handed to the shell with a tip, and that tip.
std::string LastImage(const TrayStandIn& tray, HWND window, std::string* tip) {
  for (const TrayCall& call : tray.Calls()) {
    if (call.window != Handle32(window) || call.message != NIM_MODIFY) continue;
    *tip = call.tip;
    if (!call.image.empty()) return call.image;
  }
  return std::string();
}

// A place at about noon; active inside a window of the whole day, inactive with none.
void WritePlace(const std::string& section, bool active, int icon, int iconFrom, const std::string& file) {
  std::time_t now = std::time(nullptr);
  std::tm local = *std::localtime(&now);
  WriteStoredPlace(section, {"Scale", (std::to_string(12 - local.tm_hour) + ".000000").c_str(), icon, 0,
                             active ? 23 : -1, 0, file.c_str(), file.c_str(), iconFrom});
}

// One 32-bit image of a single colour, opaque, as an icon file holds it.
std::vector<std::uint8_t> SolidImage(int size, std::uint32_t bgra) {
  std::vector<std::uint8_t> out(40, 0);
  const auto put32 = [&out](std::size_t at, std::uint32_t v) { std::memcpy(out.data() + at, &v, 4); };
  put32(0, 40);
  put32(4, static_cast<std::uint32_t>(size));
  put32(8, static_cast<std::uint32_t>(size * 2));
  out[12] = 1;   // planes
  out[14] = 32;  // bits per pixel
  for (int i = 0; i < size * size; ++i) {
    for (int b = 0; b < 4; ++b) out.push_back(static_cast<std::uint8_t>(bgra >> (8 * b)));
  }
  const int maskRow = ((size + 31) / 32) * 4;
  out.insert(out.end(), static_cast<std::size_t>(maskRow * size), 0);
  return out;
}

// A file with a red 16-pixel image and a blue 32-pixel one, as many icon files of the 1990s are.
struct OldIconFile {
  std::vector<std::uint8_t> small = SolidImage(16, 0xFFFF0000);
  std::vector<std::uint8_t> large = SolidImage(32, 0xFF0000FF);
  std::string path;

  OldIconFile() {
    char dir[MAX_PATH] = "";
    GetTempPathA(MAX_PATH, dir);
    path = std::string(dir) + "farhour-dpi-" + std::to_string(TestDpi()) + ".ico";
    std::vector<std::uint8_t> file = {0, 0, 1, 0, 2, 0};
    std::uint32_t offset = 6 + 2 * 16;
    for (const auto* image : {&small, &large}) {
      const std::uint8_t side = image == &small ? 16 : 32;
      const std::uint8_t entry[8] = {side, side, 0, 0, 1, 0, 32, 0};
      file.insert(file.end(), entry, entry + 8);
      const auto bytes = static_cast<std::uint32_t>(image->size());
      for (std::uint32_t v : {bytes, offset})
        for (int b = 0; b < 4; ++b) file.push_back(static_cast<std::uint8_t>(v >> (8 * b)));
      offset += bytes;
    }
    file.insert(file.end(), small.begin(), small.end());
    file.insert(file.end(), large.begin(), large.end());
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()),
                                                 static_cast<std::streamsize>(file.size()));
  }
  ~OldIconFile() { DeleteFileA(path.c_str()); }

  // The pixels of an image of the file made at this size, as the shell receives them.
  std::string Shown(TrayStandIn& tray, std::vector<std::uint8_t>& image, int size) {
    HICON icon = CreateIconFromResourceEx(image.data(), static_cast<DWORD>(image.size()), TRUE, 0x30000, size,
                                          size, 0);
    std::string shown = tray.ImageOf(icon);
    if (icon) DestroyIcon(icon);
    return shown;
  }
};

class Scale : public ::testing::Test {
 protected:
  void SetUp() override {
    // Wine gives every process the metrics of LogPixels: this one too.
    ASSERT_EQ(GetSystemMetrics(SM_CXSMICON), MulDiv(16, static_cast<int>(TestDpi()), 96))
        << "Wine did not take LogPixels " << TestDpi();
    module_ = LoadLibraryExA(FarhourExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(module_, nullptr);
  }
  void TearDown() override {
    if (module_) FreeLibrary(module_);
  }

  // The pixels of icon resource id at size, picked by size from the resource's images.
  std::string Frame(TrayStandIn& tray, int id, int size) {
    HICON icon = static_cast<HICON>(LoadImageA(module_, MAKEINTRESOURCEA(id), IMAGE_ICON, size, size, 0));
    std::string shown = tray.ImageOf(icon);
    if (icon) DestroyIcon(icon);
    return shown;
  }

  HMODULE module_ = nullptr;
};

}  // namespace

TEST_F(Scale, TheShellGetsThePictureDrawnForTheTraySize) {
  const int size = MulDiv(16, static_cast<int>(TestDpi()), 96);
  struct Row {
    int icon;
    bool active;
    int resource;
  };
  const Row rows[] = {{12, true, 161}, {26, false, 275}, {0, true, 149}};
  TrayStandIn tray;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.resource);
    WritePlace("Settings7", row.active, row.icon, 0, "");
    FarhourProcess farhour("7");
    ASSERT_NE(farhour.Window(), nullptr);
    ASSERT_TRUE(tray.WaitForCalls(2, 5000));
    std::string tip;
    const std::string image = LastImage(tray, farhour.Window(), &tip);
    EXPECT_EQ(ImageWidth(image), size);
    const std::string drawn = Frame(tray, row.resource, size);
    EXPECT_TRUE(image == drawn) << "the image drawn for " << size << " pixels";
    // The frame drawn for the size is not the standard-size one scaled: the check can fail.
    HICON standard = LoadIconA(module_, MAKEINTRESOURCEA(row.resource));
    HICON scaled = static_cast<HICON>(CopyImage(standard, IMAGE_ICON, size, size, 0));
    if (GetSystemMetrics(SM_CXICON) != size) {
      EXPECT_FALSE(tray.ImageOf(scaled) == drawn);
    }
    if (scaled) DestroyIcon(scaled);
    ASSERT_TRUE(farhour.CloseConfirmed());
    tray.Clear();
  }
}

TEST_F(Scale, AnIconFileThatWorksAt100PercentKeepsWorking) {
  const int size = MulDiv(16, static_cast<int>(TestDpi()), 96);
  OldIconFile file;
  TrayStandIn tray;
  WritePlace("Settings7", true, 0, 1, file.path);
  FarhourProcess farhour("7");
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  std::string tip;
  const std::string image = LastImage(tray, farhour.Window(), &tip);
  EXPECT_EQ(tip.find("not found"), std::string::npos) << tip;
  // At 100 % the rule of the standard icon size stays: the 32-pixel image, which the shell scales.
  // Elsewhere the icon has the tray's size, made from the 32-pixel image where the file has none of
  // that size (at 200 % it has).
  const int made = TestDpi() == 96 ? 32 : size;
  EXPECT_EQ(ImageWidth(image), made);
  EXPECT_TRUE(image == file.Shown(tray, file.large, made)) << "the 32-pixel image";
  EXPECT_FALSE(image == file.Shown(tray, file.small, made)) << "not the 16-pixel one";
  ASSERT_TRUE(farhour.CloseConfirmed());
}

TEST_F(Scale, ThePropertiesWindowGrowsWithTheScale) {
  TrayStandIn tray;
  WritePlace("Settings7", true, 12, 0, "");
  FarhourProcess farhour("7");
  HWND window = farhour.Window();
  ASSERT_NE(window, nullptr);
  SendMessageA(window, TRAY_NOTIFY, TRAY_ID, WM_LBUTTONDBLCLK);
  for (int i = 0; i < 100 && !IsWindowVisible(window); ++i) Sleep(50);
  ASSERT_TRUE(IsWindowVisible(window));

  // The template's 194 x 210 dialog units in MS Sans Serif 8: 340 x 341 pixels at 96 DPI under Wine, and in
  // proportion to the DPI (to the font's whole pixels) above it.
  RECT client;
  ASSERT_TRUE(GetClientRect(window, &client));
  const int dpi = static_cast<int>(TestDpi());
  EXPECT_NEAR(client.right, MulDiv(340, dpi, 96), MulDiv(340, dpi, 96) / 10) << "width at " << dpi;
  EXPECT_NEAR(client.bottom, MulDiv(341, dpi, 96), MulDiv(341, dpi, 96) / 10) << "height at " << dpi;
  // The controls' text grows with them: the Place field is as tall as a line of the font, 14 units.
  RECT field;
  ASSERT_TRUE(GetWindowRect(GetDlgItem(window, 1000), &field));
  EXPECT_NEAR(field.bottom - field.top, MulDiv(23, dpi, 96), MulDiv(23, dpi, 96) / 10 + 1);
  // Nothing is cut off: every visible control lies inside the client area.
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (!IsWindowVisible(c)) continue;
    RECT r;
    GetWindowRect(c, &r);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
    EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
        << "control " << GetDlgCtrlID(c);
  }
  ASSERT_TRUE(farhour.CloseConfirmed());
}
