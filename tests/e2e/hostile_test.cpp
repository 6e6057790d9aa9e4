// The real program against hostile input: registry values of the wrong kind, size or range, and
// locale pictures a user can set. It must keep running, show a sane tip of at most 127 units, and
// write its record back in the proper kinds.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <regex>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/tray_stand_in.h"
#include "res/resource.h"

namespace {

// The tip's field: 127 UTF-16 units and a zero. The tips here that reach it are ASCII, a unit a byte.
constexpr std::size_t TIP_MAX = 127;

std::string Text(const std::string& text) { return text + std::string(1, '\0'); }

std::string IntBytes(unsigned bits) {
  std::string bytes(4, '\0');
  for (std::size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
  return bytes;
}

std::string Megabyte(char first) {
  std::string text(1 << 20, 'x');
  for (std::size_t i = 0; i < text.size(); i += 61) text[i] = static_cast<char>(first + i % 26);
  return text;
}

std::vector<TrayCall> CallsOf(const TrayStandIn& tray, HWND window) {
  std::vector<TrayCall> calls;
  for (const TrayCall& call : tray.Calls()) {
    if (call.window == Handle32(window)) calls.push_back(call);
  }
  return calls;
}

// The tip the shell last received for the window, waiting a little for the first one.
std::string LastTip(const TrayStandIn& tray, HWND window, std::string* image = nullptr) {
  for (int i = 0; i < 100; ++i) {
    std::vector<TrayCall> calls = CallsOf(tray, window);
    for (auto it = calls.rbegin(); it != calls.rend(); ++it) {
      if (it->message != NIM_MODIFY) continue;
      if (image) *image = it->image;
      return it->tip;
    }
    Sleep(50);
  }
  return "<no tip>";
}

// The place record while nothing is stored: it follows the user's country, as the program's does.
struct Defaults {
  std::string place = "Here!";
  std::string offset = "0.000000";
  int icon = 0;
};

Defaults CountryDefaults() {
  Defaults d;
  char country[16] = "";
  if (GetLocaleInfoA(GetUserDefaultLCID(), LOCALE_ICOUNTRY, country, sizeof country) == 0) return d;
  int code = std::atoi(country);
  if (code == 1) d = {"NZ", "19.000000", 16};
  if (code == 64) d = {"CA", "-19.000000", 25};
  return d;
}

// The program's own icon, as the shell receives it.
std::string ProgramIconImage(TrayStandIn& tray) {
  HMODULE module = LoadLibraryExA(FarhourExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::string();
  std::string image = tray.ImageOf(LoadTrayIcon(module, IDR_MAINFRAME));
  FreeLibrary(module);
  return image;
}

// ---------------------------------------------------------------------------------------------
// Stored values of every wrong kind, size and range. The rows of one instance are loaded by one
// start of the program; all instances start at once.

enum class Saved { DEFAULT, TEXT, NUMBER };

struct StoredRow {
  int instance;
  const char* name;
  DWORD kind;
  std::string bytes;
  Saved saved;          // what the close writes back: the value in force while nothing is stored,
  std::string text;     // this text (REG_SZ),
  int number;           // or this number (REG_DWORD)
};

const std::string BIG_PLACE = Megabyte('A');
const std::string BIG_PATH = "C:\\" + Megabyte('a');

const StoredRow STORED_ROWS[] = {
    // Every name in a kind it does not have: each reads as missing.
    {31, "Place", REG_BINARY, Text("Bin"), Saved::DEFAULT, "", 0},
    {31, "Offset", REG_DWORD, IntBytes(3), Saved::DEFAULT, "", 0},
    {31, "Icon", REG_SZ, Text("12"), Saved::DEFAULT, "", 0},
    {31, "From", REG_QWORD, IntBytes(5) + IntBytes(0), Saved::NUMBER, "", 17},
    {31, "To", REG_BINARY, IntBytes(3), Saved::NUMBER, "", 10},
    {31, "Weekdays", REG_DWORD, std::string(2, '\0'), Saved::NUMBER, "", 1},
    {31, "UserActiveIcon", REG_DWORD, IntBytes(1), Saved::TEXT, "", 0},
    {31, "UserInActiveIcon", REG_BINARY, Text("x.ico"), Saved::TEXT, "", 0},
    {31, "IconFrom", REG_SZ, Text("1"), Saved::NUMBER, "", 0},
    {31, "WorkDays", REG_BINARY, IntBytes(0x1F), Saved::NUMBER, "", 0x3E},
    // Numbers far outside their ranges are kept; an empty place and "nan" are not numbers.
    {32, "Place", REG_SZ, "", Saved::TEXT, "", 0},
    {32, "Offset", REG_SZ, Text("nan"), Saved::TEXT, "0.000000", 0},
    {32, "Icon", REG_DWORD, IntBytes(100000), Saved::NUMBER, "", 100000},
    {32, "From", REG_DWORD, IntBytes(999), Saved::NUMBER, "", 999},
    {32, "To", REG_DWORD, IntBytes(static_cast<unsigned>(-7)), Saved::NUMBER, "", -7},
    {32, "Weekdays", REG_DWORD, IntBytes(7), Saved::NUMBER, "", 1},  // any non-zero: Monday to Friday
    {32, "UserActiveIcon", REG_SZ, Text("C:\\no\\such.ico"), Saved::TEXT, "C:\\no\\such.ico", 0},
    {32, "UserInActiveIcon", REG_EXPAND_SZ, Text("%TEMP%\\b.ico"), Saved::TEXT, "%TEMP%\\b.ico", 0},
    {32, "IconFrom", REG_DWORD, IntBytes(0), Saved::NUMBER, "", 0},
    // A place of a megabyte is kept whole; the tip shows its start.
    {33, "Place", REG_SZ, Text(BIG_PLACE), Saved::TEXT, BIG_PLACE, 0},
    {33, "Offset", REG_SZ, Text("inf"), Saved::TEXT, "0.000000", 0},
    {33, "Icon", REG_DWORD, IntBytes(static_cast<unsigned>(-5)), Saved::NUMBER, "", -5},
    {33, "From", REG_DWORD, IntBytes(0xFFFFFFFF), Saved::NUMBER, "", -1},
    {33, "To", REG_DWORD, IntBytes(0x7FFFFFFF), Saved::NUMBER, "", 0x7FFFFFFF},
    {33, "Weekdays", REG_DWORD, IntBytes(0xFFFFFFFF), Saved::NUMBER, "", 1},
    {33, "IconFrom", REG_QWORD, IntBytes(1) + IntBytes(1), Saved::NUMBER, "", 0},
    // Icon files chosen, one path a megabyte long: the program icon and a cut not-found tip.
    {34, "Place", REG_SZ, Text("Files"), Saved::TEXT, "Files", 0},
    {34, "Offset", REG_SZ, Text("1e999"), Saved::TEXT, "0.000000", 0},
    {34, "Icon", REG_DWORD, IntBytes(27), Saved::NUMBER, "", 27},
    {34, "From", REG_DWORD, IntBytes(0), Saved::NUMBER, "", 0},
    {34, "To", REG_DWORD, IntBytes(static_cast<unsigned>(-7)), Saved::NUMBER, "", -7},
    {34, "Weekdays", REG_DWORD, IntBytes(0), Saved::NUMBER, "", 0},
    {34, "UserActiveIcon", REG_SZ, Text("C:\\a.ico"), Saved::TEXT, "C:\\a.ico", 0},
    {34, "UserInActiveIcon", REG_SZ, Text(BIG_PATH), Saved::TEXT, BIG_PATH, 0},
    {34, "IconFrom", REG_DWORD, IntBytes(5), Saved::NUMBER, "", 5},
    {34, "WorkDays", REG_DWORD, IntBytes(0xFFFFFF9F), Saved::NUMBER, "", 0x1F},  // its seven low bits
    // Texts that look like a printf format, texts of other text kinds, and more odd offsets.
    {35, "Place", REG_MULTI_SZ, std::string("Multi\0Two\0\0", 11), Saved::TEXT, "Multi", 0},
    {35, "Offset", REG_SZ, Text("0x10"), Saved::TEXT, "0.000000", 0},
    {35, "Icon", REG_QWORD, IntBytes(3) + IntBytes(0), Saved::DEFAULT, "", 0},
    {35, "From", REG_DWORD, "", Saved::NUMBER, "", 17},
    {35, "To", REG_DWORD, IntBytes(3) + IntBytes(0), Saved::NUMBER, "", 10},
    {35, "Weekdays", REG_DWORD, IntBytes(2), Saved::NUMBER, "", 1},
    {35, "UserActiveIcon", REG_SZ, Text("%s%n%s%n"), Saved::TEXT, "%s%n%s%n", 0},
    {35, "UserInActiveIcon", REG_SZ, Text("%s%n%s%n"), Saved::TEXT, "%s%n%s%n", 0},
    {35, "IconFrom", REG_DWORD, IntBytes(1), Saved::NUMBER, "", 1},
    {36, "Place", REG_SZ, Text("%s%n%d%%"), Saved::TEXT, "%s%n%d%%", 0},
    {36, "Offset", REG_SZ, Text("5,5"), Saved::TEXT, "5.000000", 0},
    {36, "Icon", REG_DWORD, IntBytes(0x80000000u), Saved::NUMBER, "", static_cast<int>(0x80000000u)},
    {36, "To", REG_DWORD, IntBytes(static_cast<unsigned>(-7)), Saved::NUMBER, "", -7},
    {36, "UserActiveIcon", REG_SZ, "NoTerminator", Saved::TEXT, "NoTerminator", 0},
    {37, "Place", REG_SZ, std::string("Two\0Parts\0", 10), Saved::TEXT, "Two", 0},
    {37, "Offset", REG_SZ, "", Saved::TEXT, "0.000000", 0},
    {37, "To", REG_DWORD, IntBytes(static_cast<unsigned>(-7)), Saved::NUMBER, "", -7},
    {38, "Place", REG_NONE, Text("None"), Saved::DEFAULT, "", 0},
    {38, "Offset", REG_SZ, Text(std::string(1 << 20, '1')), Saved::TEXT, "0.000000", 0},
    {38, "To", REG_DWORD, IntBytes(static_cast<unsigned>(-7)), Saved::NUMBER, "", -7},
};

// The tip each instance shows: its start, exactly (cut to 127 units), and whether the clock's time
// follows it. "[" comes first while the place is inactive, which some rows leave to the time of day.
struct TipRow {
  int instance;
  std::string start;
  bool timeFollows;
  bool programIcon;  // the image is the program's own icon
};

std::vector<TipRow> TipRows(const Defaults& d) {
  return {
      {31, d.place + " = ", true, false},
      {32, "[ = ", true, false},
      {33, BIG_PLACE, false, false},
      {34, "\"" + BIG_PATH, false, true},
      {35, "\"%s%n%s%n\" not found", false, true},
      {36, "[%s%n%d%% = ", true, false},
      {37, "[Two = ", true, false},
      {38, "[" + d.place + " = ", true, false},
  };
}

void ExpectSaneTip(const std::string& tip, const TipRow& row) {
  SCOPED_TRACE("instance " + std::to_string(row.instance) + ", tip \"" + tip + "\"");
  EXPECT_LE(tip.size(), TIP_MAX);
  std::string start = row.start;
  // Places whose activity depends on the time of day may show either form.
  if (!tip.empty() && tip[0] == '[' && start[0] != '[' && start[0] != '"') start = "[" + start;
  if (start.size() >= TIP_MAX) {
    EXPECT_EQ(tip, start.substr(0, TIP_MAX));
    return;
  }
  ASSERT_EQ(tip.substr(0, start.size()), start);
  std::string rest = tip.substr(start.size());
  if (!row.timeFollows) {
    EXPECT_EQ(rest, "");
    return;
  }
  if (start[0] == '[') {
    ASSERT_FALSE(rest.empty());
    EXPECT_EQ(rest.back(), ']');
    rest.pop_back();
  }
  // A time of the user's own pictures: some digits, and no "%" left unconverted.
  EXPECT_TRUE(std::regex_search(rest, std::regex(R"(\d\d)"))) << rest;
  EXPECT_EQ(rest.find('%'), std::string::npos) << rest;
}

void ExpectSaved(const std::vector<RegValue>& values, const StoredRow& row, const Defaults& d) {
  SCOPED_TRACE(std::string("instance ") + std::to_string(row.instance) + ", " + row.name);
  const RegValue* v = FindValue(values, row.name);
  ASSERT_NE(v, nullptr);
  const std::string name = row.name;
  const bool text = name == "Place" || name == "Offset" || name == "UserActiveIcon" ||
                    name == "UserInActiveIcon";
  if (text) {
    ASSERT_EQ(v->kind, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(v->data.size(), v->Text().size() + 1) << "REG_SZ holds the text and one zero";
  } else {
    ASSERT_EQ(v->kind, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(v->data.size(), 4u);
  }
  if (row.saved == Saved::DEFAULT) {
    if (name == "Place") {
      EXPECT_EQ(v->Text(), d.place);
    } else if (name == "Offset") {
      EXPECT_EQ(v->Text(), d.offset);
    } else {
      EXPECT_EQ(v->Int(), d.icon);
    }
  } else if (row.saved == Saved::TEXT) {
    EXPECT_TRUE(v->Text() == row.text) << "saved " << v->Text().size() << " bytes: "
                                        << v->Text().substr(0, 80);
  } else {
    EXPECT_EQ(v->Int(), row.number);
  }
}

}  // namespace

TEST(Hostile, StoredValuesOfEveryWrongKindSizeAndRangeAreSurvivedAndRewritten) {
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  const Defaults d = CountryDefaults();
  const std::vector<TipRow> tips = TipRows(d);
  std::vector<std::string> arguments;
  for (const TipRow& tip : tips) {
    const std::string section = "Settings" + std::to_string(tip.instance);
    DeleteSection(section);
    for (const StoredRow& row : STORED_ROWS) {
      if (row.instance == tip.instance) WriteSectionValue(section, row.name, row.kind, row.bytes);
    }
    arguments.push_back(std::to_string(tip.instance));
  }

  const std::string programIcon = ProgramIconImage(tray);
  ASSERT_FALSE(programIcon.empty());
  std::vector<std::unique_ptr<FarhourProcess>> farhours = StartFarhours(arguments);
  for (std::size_t i = 0; i < tips.size(); ++i) {
    SCOPED_TRACE("instance " + std::to_string(tips[i].instance));
    FarhourProcess& farhour = *farhours[i];
    ASSERT_NE(farhour.Window(), nullptr);
    // A refresh after start-up, through the mouse, as well as the first one.
    SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE);
    std::string image;
    ExpectSaneTip(LastTip(tray, farhour.Window(), &image), tips[i]);
    EXPECT_EQ(image == programIcon, tips[i].programIcon);
    EXPECT_TRUE(farhour.Running());
  }
  for (std::size_t i = 0; i < tips.size(); ++i) {
    ASSERT_TRUE(farhours[i]->CloseConfirmed()) << "instance " << tips[i].instance;
  }

  for (const TipRow& tip : tips) {
    const std::string section = "Settings" + std::to_string(tip.instance);
    std::vector<RegValue> values = ReadSection(section);
    EXPECT_EQ(values.size(), 10u) << section;
    for (const StoredRow& row : STORED_ROWS) {
      if (row.instance == tip.instance) ExpectSaved(values, row, d);
    }
    DeleteSection(section);
  }
}

TEST(Hostile, AStoredNegativeZeroOffsetIsAcceptedByOk) {
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  DeleteSection("Settings39");
  WriteSectionString("Settings39", "Place", "Zero");
  WriteSectionString("Settings39", "Offset", "-0.000000");
  FarhourProcess farhour("39");
  ASSERT_NE(farhour.Window(), nullptr);
  SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDBLCLK);
  ASSERT_TRUE(IsWindowVisible(farhour.Window()));
  char shown[64] = "";
  GetDlgItemTextA(farhour.Window(), IDC_OFFSET, shown, sizeof shown);
  EXPECT_STREQ(shown, "0");
  PressButton(farhour.Window(), IDC_APPLY);
  // OK either hides the window or refuses with a message box.
  HWND box = nullptr;
  for (int i = 0; i < 100 && !box && IsWindowVisible(farhour.Window()); ++i) box = farhour.WaitForMessageBox(0);
  EXPECT_EQ(box, nullptr) << "OK refused the offset it shows: " << (box ? MessageBoxText(box) : "");
  if (box) PressButton(box, IDOK);
  EXPECT_FALSE(IsWindowVisible(farhour.Window()));
  ASSERT_TRUE(farhour.CloseConfirmed());
  const std::vector<RegValue> values = ReadSection("Settings39");
  const RegValue* offset = FindValue(values, "Offset");
  ASSERT_NE(offset, nullptr);
  EXPECT_EQ(std::atof(offset->Text().c_str()), 0.0);
  DeleteSection("Settings39");
}


// ---------------------------------------------------------------------------------------------
// Locale pictures a user can set. Wine reads the International overrides once per process and
// keeps them, so a running program never sees a change made in the registry; and it holds at most
// 79 characters. The probe therefore answers the program's own lookups of the two pictures from
// inside it, with the platform's contract (a picture that does not fit the 128-character buffer
// fails), and the test sends the settings-change notification and a mouse movement as the system
// and the shell do.

namespace {

struct PictureRow {
  const wchar_t* timePicture;  // what the lookups give from this row on; null: the lookup fails
  const wchar_t* longDatePicture;
  const char* section;         // the notification's section; null for none
  bool broadcast;              // sent to every top-level window, as the control panel does
  const char* tip;             // the whole tip that follows, as a pattern
};

const std::wstring LONG_TIME = L"HH" + std::wstring(125, L'.');  // 127 characters: fits
const std::wstring TOO_LONG = std::wstring(200, L'H');           // does not fit: the lookup fails
std::wstring Repeated(const wchar_t* text, int times) {
  std::wstring out;
  for (int i = 0; i < times; ++i) out += text;
  return out;
}
const std::wstring MANY_NAMES = Repeated(L"%A", 63) + L"%";     // 127 characters, each %A a day name

const PictureRow PICTURE_ROWS[] = {
    {L"HH:mm:ss", L"yyyy", "intl", false, R"(\[P = \d\d:\d\d:\d\d\. \d{4}\])"},
    // A "%" alone, and at the start, end and middle of a picture.
    {L"%", L"yyyy", "intl", false, R"(\[P = %\. \d{4}\])"},
    {L"%HH", L"d", "intl", false, R"(\[P = \d\dH\. \d\d\])"},
    {L"HH%", L"MMMM%", "intl", false, R"(\[P = \d\d%\. [A-Z][a-z]+%\])"},
    {L"H%m", L"yyyy", "intl", false, R"(\[P = \d{4}\. \d{4}\])"},
    {L"%%", L"%%", "intl", false, R"(\[P = %\. %\])"},
    {L"%q", L"%Ez %", "intl", false, R"(\[P = %q\. %Ez %\])"},
    {L"", L"", "intl", false, R"(\[P = \. \])"},
    {L"hh 'o''clock' tt", L"dddd", "intl", true, R"(\[P = \d\d 'o''clock' (AM|PM)\. [A-Z][a-z]+day\])"},
    // The longest pictures that fit, cut to the tip's 127 units.
    {LONG_TIME.c_str(), L"", "intl", false, R"(\[P = \d\d\.{120})"},
    {MANY_NAMES.c_str(), L"yyyy", "intl", false, R"(\[P = [A-Z][a-z]{4,}[A-Za-z]{50,})"},
    // A picture the lookup cannot return, or a failing lookup: the last format stays.
    {TOO_LONG.c_str(), L"d", "intl", false, R"(\[P = [A-Z][a-z]{4,}[A-Za-z]{50,})"},
    {L"mm", nullptr, "intl", false, R"(\[P = [A-Z][a-z]{4,}[A-Za-z]{50,})"},
    // Other sections, or none, rebuild nothing.
    {L"mm", L"", "Intl", false, R"(\[P = [A-Z][a-z]{4,}[A-Za-z]{50,})"},
    {L"mm", L"", "intl ", false, R"(\[P = [A-Z][a-z]{4,}[A-Za-z]{50,})"},
    {L"mm", L"", "", false, R"(\[P = [A-Z][a-z]{4,}[A-Za-z]{50,})"},
    {L"mm", L"", nullptr, false, R"(\[P = [A-Z][a-z]{4,}[A-Za-z]{50,})"},
    {L"mm", L"", "intl", false, R"(\[P = \d\d\. \])"},
    {L"mm", L"", "intl", false, R"(\[P = \d\d\. \])"},
};

void NotifySettingChange(HWND window, const char* section, bool broadcast) {
  DWORD_PTR result = 0;
  // Wine carries the section text across processes, as Windows does.
  (void)SendMessageTimeoutA(broadcast ? HWND_BROADCAST : window, WM_SETTINGCHANGE, 0,
                            reinterpret_cast<LPARAM>(section), SMTO_ABORTIFHUNG, 5000, &result);
}

// A place that is never active, named P.
void WriteInactivePlace(const std::string& section, const std::string& place) {
  DeleteSection(section);
  WriteSectionString(section, "Place", place);
  WriteSectionDword(section, "To", static_cast<DWORD>(-7));
}

}  // namespace

TEST(HostileLocale, PicturesWithPercentSignsQuotesAndAnyLengthGiveASaneTip) {
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  WriteInactivePlace("Settings41", "P");
  FarhourProcess farhour("41");
  ASSERT_NE(farhour.Window(), nullptr);
  ProcessProbe probe(farhour.Window());
  ASSERT_TRUE(probe.Installed());
  for (const PictureRow& row : PICTURE_ROWS) {
    SCOPED_TRACE(std::string("section ") + (row.section ? "\"" + std::string(row.section) + "\"" : "none") +
                 ", tip " + row.tip);
    ASSERT_TRUE(probe.SetLocalePictures(row.timePicture, row.longDatePicture));
    NotifySettingChange(farhour.Window(), row.section, row.broadcast);
    SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE);
    const std::string tip = LastTip(tray, farhour.Window());
    EXPECT_LE(tip.size(), TIP_MAX);
    EXPECT_TRUE(std::regex_match(tip, std::regex(row.tip))) << tip;
    ASSERT_TRUE(farhour.Running());
  }
  ASSERT_TRUE(farhour.CloseConfirmed());
  DeleteSection("Settings41");
}

// The program's own text as UTF-8, the way the tests' expectations are written.
std::string Utf8Text(const std::wstring& text) {
  char bytes[2048] = "";
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
  return bytes;
}

// Needs the Japanese ANSI code page (932) in this process and the program: run with LANG=ja_JP.
TEST(DoubleByteLocale, PicturesAndCutTipsKeepTheirCharactersWhole) {
  if (GetACP() != 932) GTEST_SKIP() << "ANSI code page " << GetACP() << ", not 932: run with LANG=ja_JP.UTF-8";
  // Text as an older copy of the program stores it, in the ANSI code page.
  auto ansi = [](const std::wstring& text) {
    char bytes[2048] = "";
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, bytes, sizeof bytes, nullptr, nullptr);
    return std::string(bytes);
  };
  // Digits stand for whatever the clock shows.
  auto shape = [](std::string tip) {
    for (char& c : tip) if (c >= '0' && c <= '9') c = '9';
    return tip;
  };
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  // One letter and 130 characters of two bytes in the code page and one unit each: the tip's field
  // holds "[", the letter and 125 of them.
  WriteInactivePlace("Settings42", ansi(L"a" + Repeated(L"\u30c9", 130)));
  FarhourProcess farhour("42");
  ASSERT_NE(farhour.Window(), nullptr);
  ProcessProbe probe(farhour.Window());
  ASSERT_TRUE(probe.Installed());
  EXPECT_EQ(LastTip(tray, farhour.Window()), Utf8Text(L"[a" + Repeated(L"\u30c9", 125)));

  // A short place from here on: showing the properties loads the settings, and OK takes them.
  WriteSectionString("Settings42", "Place", "P");
  SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDBLCLK);
  PressButton(farhour.Window(), IDC_APPLY);
  // In code page 932 the second bytes of these characters are the letters h, m and d of the
  // pictures' tokens.
  struct Row {
    const wchar_t* timePicture;
    const wchar_t* longDatePicture;
    const wchar_t* shape;
  };
  const Row rows[] = {
      {L"\u30c9HH:mm:ss\u30ce", L"\u30c5yyyy\u5e74M\u6708d\u65e5",
       L"[P = \u30c999:99:99\u30ce. \u30c59999\u5e7499\u670899\u65e5]"},
      {L"H\u6642mm\u5206", L"\u4ed5d", L"[P = 99\u664299\u5206. \u4ed599]"},
  };
  for (const Row& row : rows) {
    ASSERT_TRUE(probe.SetLocalePictures(row.timePicture, row.longDatePicture));
    NotifySettingChange(farhour.Window(), "intl", false);
    SendMessageA(farhour.Window(), TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_MOUSEMOVE);
    EXPECT_EQ(shape(LastTip(tray, farhour.Window())), Utf8Text(row.shape));
  }
  ASSERT_TRUE(farhour.CloseConfirmed());
  DeleteSection("Settings42");
}

// Where the ANSI code page is UTF-8 (Windows' option for it, Wine's locales that have no ANSI code
// page of their own), a cut tip keeps its characters whole.
TEST(Utf8Locale, CutTipsKeepTheirCharactersWhole) {
  if (GetACP() != CP_UTF8) GTEST_SKIP() << "ANSI code page " << GetACP() << ", not UTF-8: run with LANG=dz_BT.UTF-8";
  auto letters = [](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "\xe0\xbd\x80";  // a Tibetan letter: three bytes, one unit
    return text;
  };
  const std::string sign = "\xe0\xbd\xb2";  // a vowel sign, which belongs to the letter before it
  struct Row {
    std::string place;
    std::string tip;
  };
  const Row rows[] = {
      // "[", the letter a and 125 letters fill the field's 127 units.
      {"a" + letters(130), "[a" + letters(125)},
      // With room for one more letter but not its sign, neither shows.
      {"a" + letters(125) + sign, "[a" + letters(124)},
  };
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  for (const Row& row : rows) {
    WriteInactivePlace("Settings43", row.place);
    FarhourProcess farhour("43");
    ASSERT_NE(farhour.Window(), nullptr);
    EXPECT_EQ(LastTip(tray, farhour.Window()), row.tip);
    ASSERT_TRUE(farhour.CloseConfirmed());
  }
  DeleteSection("Settings43");
}

// ---------------------------------------------------------------------------------------------
// Command lines and icon files nobody would choose on purpose.

TEST(HostileCommandLines, ChooseTheSectionAndTitleAsTheNumberReads) {
  struct Row {
    std::string arguments;
    const char* section;
    const char* title;
  };
  const Row rows[] = {
      {"2147483647", "Settings2147483647", "Farhour (2147483647)"},  // the largest int
      {"47 " + std::string(30000, 'x'), "Settings47", "Farhour (47)"},
      {"\t48\t%s%n", "Settings48", "Farhour (48)"},
  };
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  std::vector<std::string> arguments;
  for (const Row& row : rows) {
    DeleteSection(row.section);
    arguments.push_back(row.arguments);
  }
  std::vector<std::unique_ptr<FarhourProcess>> farhours = StartFarhours(arguments);
  for (std::size_t i = 0; i < farhours.size(); ++i) {
    SCOPED_TRACE(rows[i].title);
    ASSERT_NE(farhours[i]->Window(), nullptr);
    EXPECT_EQ(WindowText(farhours[i]->Window()), rows[i].title);
    ASSERT_TRUE(farhours[i]->CloseConfirmed());
    EXPECT_EQ(ReadSection(rows[i].section).size(), 10u);
    DeleteSection(rows[i].section);
  }
}

namespace {

std::string WindowsPath(const std::string& unixPath) {
  std::string path = "Z:" + unixPath;
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

void FindIconFiles(const std::string& folder, std::vector<std::string>* files) {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((folder + "\\*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    const std::string path = folder + "\\" + name;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      FindIconFiles(path, files);
    } else if (name.size() > 4 && lstrcmpiA(name.c_str() + name.size() - 4, ".ico") == 0) {
      files->push_back(path);
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace

// Every file of the corpus of real icon files (tests/data/ico), damaged ones among them, chosen as both icons
// and applied with OK: the program keeps running, the shell gets the file's icon with the clock, or
// the program icon with the not-found tip, and nothing is left behind by the files it refused.
TEST(HostileIconFiles, EveryCorpusFileGivesItsIconOrTheProgramIconAndLeavesNothingBehind) {
  const char* corpus = std::getenv("FARHOUR_CORPUS_DIR");
  ASSERT_NE(corpus, nullptr) << "FARHOUR_CORPUS_DIR is not set; the test command points it at tests/data";
  std::vector<std::string> files;
  FindIconFiles(WindowsPath(std::string(corpus) + "/ico"), &files);
  ASSERT_GE(files.size(), 10u);

  TrayStandIn tray;
  const std::string programIcon = ProgramIconImage(tray);
  UnmanagedWindows unmanaged;
  const std::string section = "Settings46";
  DeleteSection(section);
  // A place at about noon with a window of the whole day: always active.
  std::time_t now = std::time(nullptr);
  WriteSectionString(section, "Place", "Ico");
  WriteSectionString(section, "Offset", std::to_string(12 - std::localtime(&now)->tm_hour) + ".000000");
  WriteSectionDword(section, "From", 0);
  WriteSectionDword(section, "To", 23);
  WriteSectionDword(section, "Weekdays", 0);
  WriteSectionDword(section, "IconFrom", 1);
  FarhourProcess farhour("46");
  ASSERT_NE(farhour.Window(), nullptr);
  HWND window = farhour.Window();
  ProcessProbe probe(window);
  ASSERT_TRUE(probe.Installed());

  auto apply = [&](const std::string& path) {
    WriteSectionString(section, "UserActiveIcon", path);
    WriteSectionString(section, "UserInActiveIcon", path);
    DWORD_PTR result = 0;
    // Showing the properties reloads the settings; OK makes the icons from the files.
    return SendMessageTimeoutA(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDBLCLK, SMTO_NORMAL, 10000,
                               &result) &&
           SendMessageTimeoutA(window, WM_COMMAND, MAKEWPARAM(IDC_APPLY, BN_CLICKED), 0, SMTO_NORMAL, 10000,
                               &result) &&
           !IsWindowVisible(window);
  };
  // A first round over all files lets the platform load what it keeps once loaded (the decoder of
  // PNG images among them); the second round must then leave the counts where they were.
  for (const std::string& path : files) ASSERT_TRUE(apply(path)) << path;
  ProcessResources before;
  ASSERT_TRUE(probe.CountResources(&before));

  int made = 0;
  for (const std::string& path : files) {
    SCOPED_TRACE(path);
    ASSERT_TRUE(apply(path));
    ASSERT_TRUE(farhour.Running());
    std::string image;
    const std::string tip = LastTip(tray, window, &image);
    EXPECT_LE(tip.size(), TIP_MAX);
    const std::string notFound = ("\"" + path + "\" not found").substr(0, TIP_MAX);
    if (tip == notFound) {
      EXPECT_TRUE(image == programIcon);
    } else {
      ++made;
      EXPECT_EQ(tip.rfind("Ico = ", 0), 0u) << tip;
      EXPECT_FALSE(image.empty());
      EXPECT_FALSE(image == programIcon);
    }
  }
  std::printf("[ ICONS    ] %d of %d corpus files gave an icon\n", made, static_cast<int>(files.size()));
  EXPECT_GT(made, 0);
  EXPECT_LT(made, static_cast<int>(files.size())) << "the corpus holds files no reader can use";

  ProcessResources after;
  ASSERT_TRUE(probe.CountResources(&after));
  EXPECT_LE(after.kernelHandles, before.kernelHandles + 3);
  EXPECT_LE(after.gdiObjects, before.gdiObjects + 6);
  EXPECT_LE(after.drawingObjects, before.drawingObjects + 160);  // the platform's caches, see soak_test.cpp
  EXPECT_LE(after.userObjects, before.userObjects + 3);
  // Wine's own caches (fonts, device contexts) sometimes grow once while the window is painted during
  // the round; a leak grows in every round. A third round tells the two apart.
  if (after.heapBytes > before.heapBytes + 32 * 1024) {
    for (const std::string& path : files) ASSERT_TRUE(apply(path)) << path;
    ProcessResources third;
    ASSERT_TRUE(probe.CountResources(&third));
    std::printf("[ ICONS    ] third round: heap %lu -> %lu B\n", after.heapBytes, third.heapBytes);
    EXPECT_LE(third.heapBytes, after.heapBytes + 32 * 1024) << "the heap grows in every round";
  }
  std::printf("[ ICONS    ] second round: handles %lu -> %lu, GDI %lu -> %lu, drawing %lu -> %lu, "
              "USER %lu -> %lu, heap %lu -> %lu B\n",
              before.kernelHandles, after.kernelHandles, before.gdiObjects, after.gdiObjects,
              before.drawingObjects, after.drawingObjects, before.userObjects, after.userObjects,
              before.heapBytes, after.heapBytes);
  ASSERT_TRUE(farhour.CloseConfirmed());
  DeleteSection(section);
}
