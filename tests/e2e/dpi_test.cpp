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
#include <iterator>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "e2e/tray_stand_in.h"
#include "icons/hour_icon_win.h"

namespace {

UINT TestDpi() {
  const char* dpi = std::getenv("FARHOUR_DPI");
  return dpi && *dpi ? static_cast<UINT>(std::atoi(dpi)) : 96;
}

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

// A file of the 1990s from the corpus of real icon files: a 32-pixel and a 16-pixel image only.
struct OldIconFile {
  std::string path;
  std::string bytes;

  OldIconFile() {
    const char* corpus = std::getenv("FARHOUR_CORPUS_DIR");
    path = "Z:" + std::string(corpus ? corpus : "") + "/ico/image-rs/images_ico_images_smile.ico";
    for (char& c : path) c = c == '/' ? '\\' : c;
    std::ifstream in(path, std::ios::binary);
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }

  // The pixels of the file's image of that width, made at size, as the shell receives them.
  std::string Shown(TrayStandIn& tray, int width, int size) {
    const auto dword = [this](std::size_t at) {
      std::uint32_t v = 0;
      if (at + 4 <= bytes.size()) std::memcpy(&v, bytes.data() + at, 4);
      return v;
    };
    for (std::size_t entry = 6; entry + 16 <= bytes.size(); entry += 16) {
      if (static_cast<unsigned char>(bytes[entry]) != width) continue;
      const std::uint32_t length = dword(entry + 8);
      const std::uint32_t offset = dword(entry + 12);
      if (std::uint64_t{offset} + length > bytes.size()) return std::string();
      auto* image = reinterpret_cast<PBYTE>(&bytes[offset]);
      HICON icon = CreateIconFromResourceEx(image, length, TRUE, 0x30000, size, size, 0);
      std::string shown = tray.ImageOf(icon);
      if (icon) DestroyIcon(icon);
      return shown;
    }
    return std::string();
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
  ASSERT_FALSE(file.bytes.empty()) << file.path;
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
  EXPECT_TRUE(image == file.Shown(tray, 32, made)) << "the 32-pixel image";
  EXPECT_FALSE(image == file.Shown(tray, 16, made)) << "not the 16-pixel one";
  ASSERT_TRUE(farhour.CloseConfirmed());
}

// The hour there is drawn by the program at the tray's size: 20 pixels at 125 %, 24 at 150 %.
TEST_F(Scale, TheHourThereIsDrawnAtTheTraySize) {
  const int size = MulDiv(16, static_cast<int>(TestDpi()), 96);
  TrayStandIn tray;
  OwnedIcon nine = MakeHourIcon(size, {9, true, true}, TaskbarTheme::LIGHT);
  const std::string drawn = tray.ImageOf(nine.Get());
  ASSERT_EQ(ImageWidth(drawn), size);
  WriteStoredPlace("Settings7", {"Scale", "0.000000", 0, 0, 23, 0, "", "", 0});
  WriteSectionDword("Settings7", "IconStyle", 1);
  ProbedFarhour session("7");
  ASSERT_TRUE(session.Ready());
  // 09:59:59 UTC, the place's time with no offset under TZ=UTC.
  ASSERT_TRUE(session.Probe().SetClock(1796983199));
  tray.Clear();
  SendMessageA(session.Window(), WM_TIMER, 101, 0);
  ASSERT_TRUE(tray.WaitForCalls(1, 5000));
  std::string tip;
  const std::string image = LastImage(tray, session.Window(), &tip);
  EXPECT_EQ(ImageWidth(image), size);
  EXPECT_TRUE(image == drawn) << "the hour drawn for " << size << " pixels";
  ASSERT_TRUE(session.Process().CloseConfirmed());
  DeleteSection("Settings7");
}

TEST_F(Scale, ThePropertiesWindowGrowsWithTheScale) {
  TrayStandIn tray;
  WritePlace("Settings7", true, 12, 0, "");
  FarhourProcess farhour("7");
  HWND window = farhour.Window();
  ASSERT_NE(window, nullptr);
  SendMessageA(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDBLCLK);
  for (int i = 0; i < 100 && !IsWindowVisible(window); ++i) Sleep(50);
  ASSERT_TRUE(IsWindowVisible(window));

  // The template's 194 x 260 dialog units in MS Sans Serif 8: 340 x 423 pixels at 96 DPI under Wine, and in
  // proportion to the DPI (to the font's whole pixels) above it.
  RECT client;
  ASSERT_TRUE(GetClientRect(window, &client));
  const int dpi = static_cast<int>(TestDpi());
  EXPECT_NEAR(client.right, MulDiv(340, dpi, 96), MulDiv(340, dpi, 96) / 10) << "width at " << dpi;
  EXPECT_NEAR(client.bottom, MulDiv(423, dpi, 96), MulDiv(423, dpi, 96) / 10) << "height at " << dpi;
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
