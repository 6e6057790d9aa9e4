// The properties window as a person uses it: shown from the tray, edited with the keyboard, applied
// with OK or Enter, refused with the program's message boxes, dismissed with Cancel.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "e2e/tray_stand_in.h"

namespace {

constexpr UINT REFRESH_TIMER = 101;
const char* const SECTION = "Settings5";
const char* const INSTANCE = "5";

// The nine stored values, each written, so that a showing loads exactly these.
using Stored = StoredPlace;

// What the section holds, as name=value lines sorted by name, for before-and-after comparisons.
std::string Snapshot() {
  std::vector<RegValue> values = ReadSection(SECTION);
  std::vector<std::string> lines;
  for (const RegValue& v : values) {
    lines.push_back(v.name + "=" + (v.kind == REG_SZ ? "sz:" + v.Text() : "dw:" + std::to_string(v.Int())));
  }
  std::sort(lines.begin(), lines.end());
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The hour offset that puts the place at about noon now, so that 8:00am to 5:00pm is open.
int NoonOffset() {
  std::time_t now = std::time(nullptr);
  return 12 - std::localtime(&now)->tm_hour;
}

// The place's clock as the en_US tip shows its start ("03:07"), for the time now shifted by offset.
std::string ClockAt(double offsetHours) {
  std::time_t shifted = std::time(nullptr) + static_cast<std::time_t>(offsetHours * 3600);
  char text[16] = "";
  std::strftime(text, sizeof text, "%I:%M", std::localtime(&shifted));
  return text;
}

std::vector<TrayCall> ModifiesOf(const TrayStandIn& tray, HWND window) {
  std::vector<TrayCall> calls;
  for (const TrayCall& call : tray.Calls()) {
    if (call.window == Handle32(window) && call.message == NIM_MODIFY) calls.push_back(call);
  }
  return calls;
}

// A refresh of the tray the way the minute timer makes one; returns the tip it handed over, or
// empty when the shell was told nothing new.
std::string RefreshedTip(TrayStandIn& tray, HWND window) {
  tray.Clear();
  Sleep(1100);  // the en_US tip shows seconds, so the next refresh always has news
  SendMessageA(window, WM_TIMER, REFRESH_TIMER, 0);
  tray.WaitForCalls(1, 2000);
  std::vector<TrayCall> calls = ModifiesOf(tray, window);
  return calls.empty() ? std::string() : calls.back().tip;
}

int SelectedIndex(HWND dialog, int id) {
  return static_cast<int>(SendDlgItemMessageA(dialog, id, CB_GETCURSEL, 0, 0));
}

std::string SelectedText(HWND dialog, int id) {
  int index = SelectedIndex(dialog, id);
  return index < 0 ? std::string() : ComboEntryText(GetDlgItem(dialog, id), index);
}

int CheckOf(HWND dialog, int id) { return static_cast<int>(SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0)); }

// Start and end of an edit field's selection.
std::pair<int, int> SelectionOf(HWND dialog, int id) {
  LRESULT both = SendDlgItemMessageA(dialog, id, EM_GETSEL, 0, 0);
  return {LOWORD(both), HIWORD(both)};
}

// Picks a list entry from the keyboard: Home, then Down as often as needed.
void ChooseEntry(HWND dialog, int id, int index) {
  HWND combo = GetDlgItem(dialog, id);
  PressKey(combo, VK_HOME);
  for (int i = 0; i < index; ++i) PressKey(combo, VK_DOWN);
}

// Waits for the program's message box and checks that it is one of the validation messages.
void ExpectMessageBox(ProbedFarhour& session, HWND box, const std::string& text) {
  ASSERT_NE(box, nullptr) << "no message box for \"" << text << "\"";
  EXPECT_EQ(WindowText(box), "Farhour");
  EXPECT_EQ(MessageBoxText(box), text);
  EXPECT_EQ(session.Probe().MessageBoxIcon(), "exclamation");
  EXPECT_NE(GetDlgItem(box, IDOK), nullptr);
  EXPECT_EQ(GetDlgItem(box, IDCANCEL), nullptr) << "a single OK button";
  EXPECT_FALSE(IsWindowEnabled(session.Window())) << "modal over the properties window";
}

BOOL CALLBACK FindFileNameEdit(HWND hwnd, LPARAM lParam) {
  char className[16] = "";
  GetClassNameA(hwnd, className, sizeof className);
  // The common dialog's file-name box, control 0x47C, has the edit field inside it.
  if (lstrcmpiA(className, "Edit") == 0 && GetDlgCtrlID(hwnd) == 0x47C) {
    *reinterpret_cast<HWND*>(lParam) = hwnd;
    return FALSE;
  }
  return TRUE;
}

HWND FileNameField(HWND fileDialog) {
  HWND found = nullptr;
  EnumChildWindows(fileDialog, FindFileNameEdit, reinterpret_cast<LPARAM>(&found));
  return found;
}

const char* const ICON_NAMES[] = {
    "Farhour", "Australia", "Austria",     "Belgium",     "Brazil",       "Canada",   "Denmark",
    "Finland", "France",    "Germany",     "Ireland",     "Italy",        "Japan",    "Mexico",
    "Netherlands", "Norway", "New Zealand", "Portugal",   "South Africa", "Russia",   "Spain",
    "Sweden",  "Switzerland", "Turkey",    "United Kingdom", "USA",       "Face",     "Phone",
};

}  // namespace

TEST(Properties, ShowingFillsTheWindowWithTheStoredSettings) {
  struct Row {
    Stored stored;
    const char* place;
    const char* offset;
    const char* from;  // empty: no entry selected
    const char* to;
    int workDays;
    int builtin;
    int iconFiles;
    const char* iconName;
  };
  const Row rows[] = {
      {{"Wellington", "5.500000", 15, 17, 10, 1, "C:\\flags\\on.ico", "C:\\flags\\off.ico", 1},
       "Wellington", "5.5", "8:30am", "5:00pm", 0x3E, BST_UNCHECKED, BST_CHECKED, "Norway"},
      {{"", "-19.000000", 16, 0, 23, 0, "", "", 0},
       "", "-19", "12:00am", "11:30pm", 0x7F, BST_CHECKED, BST_UNCHECKED, "New Zealand"},
      {{"Oslo", "0.000000", 27, 30, -1, 7, "", "", 5},
       "Oslo", "0", "", "", 0x3E, BST_UNCHECKED, BST_UNCHECKED, "Phone"},
      {{"Lima", "0.25", 0, 23, 0, 2, "", "", 1},
       "Lima", "0.25", "11:30am", "12:00pm", 0x3E, BST_UNCHECKED, BST_CHECKED, "Farhour"},
  };
  WriteStoredPlace(SECTION, rows[0].stored);
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.place);
    WriteStoredPlace(SECTION, row.stored);
    session.Show();
    ASSERT_TRUE(IsWindowVisible(w));
    EXPECT_EQ(GetForegroundWindow(), w);
    EXPECT_EQ(ControlText(w, IDC_PLACE), row.place);
    EXPECT_EQ(ControlText(w, IDC_OFFSET), row.offset);
    EXPECT_EQ(SelectedText(w, IDC_FROM), row.from);
    EXPECT_EQ(SelectedText(w, IDC_TO), row.to);
    EXPECT_EQ(TickedWorkDays(w), row.workDays);
    EXPECT_EQ(CheckOf(w, IDC_BUILTIN), row.builtin);
    EXPECT_EQ(CheckOf(w, IDC_ICON_FILES), row.iconFiles);
    EXPECT_EQ(SelectedText(w, IDC_ICON_NAME), row.iconName);
    EXPECT_EQ(ControlText(w, IDC_ACTIVE_FILE), row.stored.userActiveIcon);
    EXPECT_EQ(ControlText(w, IDC_INACTIVE_FILE), row.stored.userInActiveIcon);
  }

  // The last showing's odd values come back from OK in their own forms.
  session.Press(IDC_APPLY);
  EXPECT_FALSE(IsWindowVisible(w));
  std::vector<RegValue> values = ReadSection(SECTION);
  EXPECT_EQ(FindValue(values, "From")->Int(), 23);
  EXPECT_EQ(FindValue(values, "To")->Int(), 0);
  EXPECT_EQ(FindValue(values, "Weekdays")->Int(), 1) << "a stored 2 is Monday to Friday";
  EXPECT_EQ(FindValue(values, "WorkDays")->Int(), 0x3E);
  WriteStoredPlace(SECTION, rows[2].stored);
  session.Show();
  session.Press(IDC_APPLY);
  values = ReadSection(SECTION);
  EXPECT_EQ(FindValue(values, "From")->Int(), -1) << "no entry selected";
  EXPECT_EQ(FindValue(values, "To")->Int(), -1);
  EXPECT_EQ(FindValue(values, "Weekdays")->Int(), 1) << "a stored 7 is Monday to Friday";
  EXPECT_EQ(FindValue(values, "IconFrom")->Int(), -1) << "no radio button ticked";
  EXPECT_EQ(FindValue(values, "Icon")->Int(), 27);
  EXPECT_EQ(FindValue(values, "Offset")->Text(), "0.000000");
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(Properties, TheListsAndLabelsReadAsDesigned) {
  WriteStoredPlace(SECTION, {"Here", "0", 0, 17, 10, 1, "", "", 0});
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  session.Show();

  struct ListRow {
    int id;
    int index;
    const char* text;
  };
  const ListRow lists[] = {
      {IDC_FROM, 0, "12:00am"},  {IDC_FROM, 1, "12:30am"},  {IDC_FROM, 2, "1:00am"},
      {IDC_FROM, 19, "9:30am"},  {IDC_FROM, 23, "11:30am"}, {IDC_TO, 0, "12:00pm"},
      {IDC_TO, 3, "1:30pm"},     {IDC_TO, 21, "10:30pm"},   {IDC_TO, 23, "11:30pm"},
  };
  for (const ListRow& row : lists) {
    EXPECT_EQ(ComboEntryText(GetDlgItem(w, row.id), row.index), row.text) << row.id << " " << row.index;
  }
  EXPECT_EQ(SendDlgItemMessageA(w, IDC_FROM, CB_GETCOUNT, 0, 0), 24);
  EXPECT_EQ(SendDlgItemMessageA(w, IDC_TO, CB_GETCOUNT, 0, 0), 24);

  HWND names = GetDlgItem(w, IDC_ICON_NAME);
  ASSERT_EQ(SendMessageA(names, CB_GETCOUNT, 0, 0), 28);
  for (int i = 0; i < 28; ++i) EXPECT_EQ(ComboEntryText(names, i), ICON_NAMES[i]) << i;

  // The window's labels in template order, with the plus-minus sign whatever the code page.
  const char* const labels[] = {
      "OK", "Cancel", "&Place Name:", "&Offset (\xC2\xB1hours):", "Show As \"Active\"", "&From:", "&To:",
      "&Work days:", "Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat", "&Built-in", "I&con Files", "The &hour there", "Icon", "&Name:", "&Active:", "...", "&Inactive:", "...",
      "Time &Zone...",
  };
  std::vector<std::string> shown;
  for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char className[32] = "";
    GetClassNameA(c, className, sizeof className);
    if (lstrcmpiA(className, "Button") != 0 && lstrcmpiA(className, "Static") != 0) continue;
    if (!IsWindowVisible(c)) continue;
    shown.push_back(WindowText(c));
  }
  ASSERT_EQ(shown.size(), sizeof labels / sizeof labels[0]);
  for (std::size_t i = 0; i < shown.size(); ++i) EXPECT_EQ(shown[i], labels[i]) << i;
  EXPECT_EQ(WindowText(w), "Farhour (5)");
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(Properties, EditsAppliedWithOkAreStoredAndShownInTheTrayAtOnce) {
  const char* source = std::getenv("FARHOUR_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  std::string icons = std::string("Z:") + source + "\\res\\icons\\";
  for (char& c : icons) if (c == '/') c = '\\';
  const std::string canadaActive = icons + "active_05.ico";
  const std::string canadaInactive = icons + "inactive_05.ico";
  struct Row {
    const char* place;
    int fromIndex;
    int toIndex;
    char iconKey;          // a letter typed into the icon-name list
    int iconIndex;         // where that letter lands
    bool iconFiles;        // tick "Icon Files" with Alt+C, else "Built-in" with Alt+B
    bool canadaFiles;      // type the files of the built-in Canada pair, else empty the fields
    const char* tipStart;  // null: the place and its time
    int image;             // the icon resource whose picture the shell gets
  };
  const Row rows[] = {
      {"Auckland", 16, 10, 'J', 12, false, false, nullptr, 149 + 12},
      {"Kyoto", 14, 16, 'S', 18, true, true, nullptr, 149 + 5},
      // Icon Files without files: the program icon and the not-found tip naming the empty path.
      {"Apia", 0, 23, 'F', 26, true, false, "\"\" not found", 128},
  };
  TrayStandIn tray;
  WriteStoredPlace(SECTION, {"Start", "0.000000", 3, 17, 10, 1, "", "", 0});
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  HMODULE module = LoadLibraryExA(FarhourExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  for (const Row& row : rows) {
    SCOPED_TRACE(row.place);
    session.Show();
    // Work days would make the image depend on the day of the run: every day is ticked.
    int offset = NoonOffset();
    session.Type(IDC_PLACE, row.place);
    session.Type(IDC_OFFSET, std::to_string(offset));
    ChooseEntry(w, IDC_FROM, row.fromIndex);
    ChooseEntry(w, IDC_TO, row.toIndex);
    PostMessageA(session.Item(IDC_ICON_NAME), WM_CHAR, static_cast<WPARAM>(row.iconKey), 1);
    for (int position = 0; position < 7; ++position) {
      const int box = IDC_WORK_DAY_FIRST + position;
      if (CheckOf(w, box) != BST_CHECKED) session.Key(box, VK_SPACE);
    }
    session.Key(IDC_PLACE, row.iconFiles ? 'C' : 'B', true);
    session.Type(IDC_ACTIVE_FILE, row.canadaFiles ? canadaActive : "");
    session.Type(IDC_INACTIVE_FILE, row.canadaFiles ? canadaInactive : "");
    EXPECT_EQ(SelectedIndex(w, IDC_FROM), row.fromIndex);
    EXPECT_EQ(SelectedIndex(w, IDC_TO), row.toIndex);
    EXPECT_EQ(SelectedIndex(w, IDC_ICON_NAME), row.iconIndex);
    EXPECT_EQ(TickedWorkDays(w), 0x7F);
    tray.Clear();
    session.Key(IDC_PLACE, VK_RETURN);
    EXPECT_FALSE(IsWindowVisible(w));

    std::vector<RegValue> values = ReadSection(SECTION);
    EXPECT_EQ(values.size(), 10u);
    struct Expected {
      const char* name;
      DWORD kind;
      std::string text;
      int number;
    };
    const Expected expected[] = {
        {"Place", REG_SZ, row.place, 0},
        {"Offset", REG_SZ, std::to_string(offset) + ".000000", 0},
        {"Icon", REG_DWORD, "", row.iconIndex},
        {"From", REG_DWORD, "", row.fromIndex},
        {"To", REG_DWORD, "", row.toIndex},
        {"Weekdays", REG_DWORD, "", 0},
        {"UserActiveIcon", REG_SZ, row.canadaFiles ? canadaActive : "", 0},
        {"UserInActiveIcon", REG_SZ, row.canadaFiles ? canadaInactive : "", 0},
        {"IconFrom", REG_DWORD, "", row.iconFiles ? 1 : 0},
        {"WorkDays", REG_DWORD, "", 0x7F},
    };
    for (const Expected& e : expected) {
      const RegValue* v = FindValue(values, e.name);
      ASSERT_NE(v, nullptr) << e.name;
      EXPECT_EQ(v->kind, e.kind) << e.name;
      if (e.kind == REG_SZ) {
        EXPECT_EQ(v->Text(), e.text) << e.name;
      } else {
        EXPECT_EQ(v->data.size(), 4u) << e.name;
        EXPECT_EQ(v->Int(), e.number) << e.name;
      }
    }

    // The tray has the new settings at once; the place is at about noon, inside its window.
    std::vector<TrayCall> calls = ModifiesOf(tray, w);
    ASSERT_FALSE(calls.empty()) << "OK refreshes the tray";
    std::string tipStart = row.tipStart ? row.tipStart : std::string(row.place) + " = ";
    EXPECT_EQ(calls.back().tip.substr(0, tipStart.size()), tipStart) << calls.back().tip;
    // Icon files keep their rule at 100 %: the image of the standard icon size, 32 pixels.
    const int fileSize = TrayIconSize() == 16 ? GetSystemMetrics(SM_CXICON) : TrayIconSize();
    HICON fromFile = static_cast<HICON>(
        LoadImageA(module, MAKEINTRESOURCEA(row.image), IMAGE_ICON, fileSize, fileSize, 0));
    EXPECT_TRUE(calls.back().image == tray.ImageOf(row.canadaFiles ? fromFile : LoadTrayIcon(module, row.image)))
        << "the picture of icon " << row.image;
    if (fromFile) DestroyIcon(fromFile);
    if (row.image != 128) {
      EXPECT_FALSE(calls.back().image == tray.ImageOf(LoadTrayIcon(module, 128)));
    }
  }
  FreeLibrary(module);
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(Properties, OffsetsAreCheckedWhenOkIsPressed) {
  struct Row {
    const char* typed;
    const char* message;  // null: accepted
    const char* stored;   // the stored text when accepted
    const char* shown;    // how the next showing prints it
  };
  const Row rows[] = {
      {"abc", "Please enter a number.", nullptr, nullptr},
      {"", "Please enter a number.", nullptr, nullptr},
      {"-0", "Please enter a number.", nullptr, nullptr},
      {"+0", "Please enter a number.", nullptr, nullptr},
      {".0", "Please enter a number.", nullptr, nullptr},
      {"7h", "Please enter a number.", nullptr, nullptr},
      {"24.5", "Please enter a number between -24 and 24.", nullptr, nullptr},
      {"-25", "Please enter a number between -24 and 24.", nullptr, nullptr},
      {"1e999", "Please enter a number between -24 and 24.", nullptr, nullptr},
      {"5.5", nullptr, "5.500000", "5.5"},
      {"0", nullptr, "0.000000", "0"},
      {"1e1", nullptr, "10.000000", "10"},
      {"-24", nullptr, "-24.000000", "-24"},
      {"24", nullptr, "24.000000", "24"},
      {" 7 ", nullptr, "7.000000", "7"},
      {".5", nullptr, "0.500000", "0.5"},
  };
  WriteStoredPlace(SECTION, {"Quito", "3.000000", 2, 17, 10, 0, "", "", 0});
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  session.Show();
  for (const Row& row : rows) {
    SCOPED_TRACE(std::string("\"") + row.typed + "\"");
    std::string before = Snapshot();
    session.Type(IDC_OFFSET, row.typed);
    ASSERT_EQ(ControlText(w, IDC_OFFSET), row.typed);
    session.Key(IDC_OFFSET, VK_RETURN);
    if (row.message) {
      HWND box = session.Process().WaitForMessageBox(5000);
      ExpectMessageBox(session, box, row.message);
      if (!box) continue;
      PressButton(box, IDOK);
      session.Sync();
      EXPECT_FALSE(IsWindow(box));
      EXPECT_TRUE(IsWindowVisible(w));
      EXPECT_TRUE(IsWindowEnabled(w));
      EXPECT_EQ(FocusedControl(w), session.Item(IDC_OFFSET));
      int length = static_cast<int>(std::string(row.typed).size());
      EXPECT_EQ(SelectionOf(w, IDC_OFFSET), std::make_pair(0, length)) << "the whole text selected";
      EXPECT_EQ(Snapshot(), before) << "nothing saved";
    } else {
      EXPECT_EQ(session.Process().WaitForMessageBox(300), nullptr);
      EXPECT_FALSE(IsWindowVisible(w));
      EXPECT_EQ(FindValue(ReadSection(SECTION), "Offset")->Text(), row.stored);
      session.Show();
      EXPECT_EQ(ControlText(w, IDC_OFFSET), row.shown);
    }
  }
  EXPECT_TRUE(session.Process().Running());
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(Properties, APlaceLongerThanTenCharactersIsRefused) {
  TrayStandIn tray;
  WriteStoredPlace(SECTION, {"Christchurch", "3.000000", 2, 17, 10, 0, "", "", 0});
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  session.Show();
  EXPECT_EQ(ControlText(w, IDC_PLACE), "Christchurch") << "a longer stored place is shown whole";
  std::string before = Snapshot();
  session.Press(IDC_APPLY);
  HWND box = session.Process().WaitForMessageBox(5000);
  ExpectMessageBox(session, box, "Please enter no more than 10 characters.");
  ASSERT_NE(box, nullptr);
  PressButton(box, IDOK);
  session.Sync();
  EXPECT_TRUE(IsWindowVisible(w));
  EXPECT_EQ(FocusedControl(w), session.Item(IDC_PLACE));
  EXPECT_EQ(SelectionOf(w, IDC_PLACE), std::make_pair(0, 12));
  EXPECT_EQ(Snapshot(), before);

  // A refused OK takes nothing: after Cancel the tray's next refresh shows the place as it was,
  // and the settings section keeps it.
  session.Type(IDC_PLACE, "Perth");
  session.Type(IDC_OFFSET, "abc");
  session.Press(IDC_APPLY);
  box = session.Process().WaitForMessageBox(5000);
  ExpectMessageBox(session, box, "Please enter a number.");
  ASSERT_NE(box, nullptr);
  PressButton(box, IDOK);
  session.Press(IDC_DISMISS);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(Snapshot(), before);
  std::string tip = RefreshedTip(tray, w);
  // Brackets mark a place outside its window, which depends on the hour of the run.
  if (!tip.empty() && tip[0] == '[') tip.erase(0, 1);
  EXPECT_EQ(tip.substr(0, 15), "Christchurch = ") << tip;

  // Typing takes ten characters in any script, two UTF-16 units each beyond U+FFFF; OK is the rule.
  auto globes = [](int count) {
    std::string text;
    for (int i = 0; i < count; ++i) text += "\xF0\x9F\x8C\x8F";  // U+1F30F
    return text;
  };
  struct Row {
    std::string typed;
    std::string kept;
    bool refused;
  };
  const Row rows[] = {
      {"Wellingtonian", "Wellingtonian", true},
      {globes(21), globes(20), true},  // typing stops at 40 units
      {globes(11), globes(11), true},
      {globes(10), globes(10), false},
  };
  session.Show();
  for (const Row& row : rows) {
    SCOPED_TRACE(row.typed);
    session.Type(IDC_PLACE, row.typed);
    EXPECT_EQ(ControlText(w, IDC_PLACE), row.kept);
    session.Press(IDC_APPLY);
    box = session.Process().WaitForMessageBox(row.refused ? 5000 : 300);
    if (!row.refused) {
      EXPECT_EQ(box, nullptr);
      std::string stored;
      EXPECT_TRUE(ReadSectionText(SECTION, "Place", &stored));
      EXPECT_EQ(stored, row.kept);
      continue;
    }
    ExpectMessageBox(session, box, "Please enter no more than 10 characters.");
    if (!box) continue;
    PressButton(box, IDOK);
    session.Sync();
  }
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(Properties, CancelAfterABrowseLeavesThePlaceAsItWas) {
  TrayStandIn tray;
  int noon = NoonOffset();
  std::string stored = std::to_string(noon) + ".000000";
  WriteStoredPlace(SECTION, {"Lagos", stored.c_str(), 9, 16, 10, 0, "", "", 0});
  WriteSectionDword(SECTION, "WorkDays", 0x7F);  // as this copy saves every day
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  session.Show();
  std::string before = Snapshot();

  // The new offset, typed with a trailing zero that the window drops when it reprints it.
  double moved = noon > 0 ? noon - 5.5 : noon + 5.5;
  char typed[32];
  std::snprintf(typed, sizeof typed, "%.2f", moved);
  char reprinted[32];
  std::snprintf(reprinted, sizeof reprinted, "%.15g", moved);
  session.Type(IDC_OFFSET, typed);
  session.Press(IDC_BROWSE_ACTIVE);
  HWND open = session.Process().WaitForWindow("Open", 5000);
  ASSERT_NE(open, nullptr) << "no file dialog";
  EXPECT_FALSE(IsWindowEnabled(w)) << "the file dialog is modal over the window";
  HWND filter = GetDlgItem(open, 0x470);  // the file-type list of the common dialog
  ASSERT_NE(filter, nullptr);
  EXPECT_EQ(SendMessageA(filter, CB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(ComboEntryText(filter, 0), "Icon files (.ico)");

  const char* source = std::getenv("FARHOUR_SOURCE_DIR");
  ASSERT_NE(source, nullptr);
  std::string chosen = std::string("Z:") + source + "/res/icons/active_07.ico";
  for (char& c : chosen) if (c == '/') c = '\\';
  HWND name = FileNameField(open);
  ASSERT_NE(name, nullptr);
  TypeText(name, chosen);
  session.Sync();
  PressButton(open, IDOK);
  session.Sync();
  for (int i = 0; i < 50 && IsWindow(open); ++i) Sleep(50);
  session.Sync();
  EXPECT_FALSE(IsWindow(open));
  EXPECT_EQ(ControlText(w, IDC_ACTIVE_FILE), chosen);
  EXPECT_EQ(ControlText(w, IDC_OFFSET), reprinted);
  EXPECT_EQ(Snapshot(), before) << "a browse saves nothing";

  session.Press(IDC_DISMISS);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(Snapshot(), before) << "Cancel saves nothing";
  std::string earlier = "Lagos = " + ClockAt(noon);
  std::string tip = RefreshedTip(tray, w);
  std::string later = "Lagos = " + ClockAt(noon);
  if (!tip.empty() && tip[0] == '[') tip.erase(0, 1);
  EXPECT_TRUE(tip.rfind(earlier, 0) == 0 || tip.rfind(later, 0) == 0) << tip << " wanted " << later;
  // Through a sign-out too: what is saved is the place as it was.
  DWORD_PTR ended = 0;
  ASSERT_TRUE(SendMessageTimeoutA(w, WM_ENDSESSION, TRUE, 0, SMTO_NORMAL, 10000, &ended));
  EXPECT_EQ(Snapshot(), before) << "the sign-out saved the cancelled browse";

  session.Show();
  EXPECT_EQ(ControlText(w, IDC_OFFSET), std::to_string(noon));
  EXPECT_EQ(ControlText(w, IDC_ACTIVE_FILE), "");

  // A browse with an offset that is not a number stops at the message: no file dialog.
  session.Type(IDC_OFFSET, "abc");
  session.Press(IDC_BROWSE_INACTIVE);
  HWND box = session.Process().WaitForMessageBox(5000);
  ExpectMessageBox(session, box, "Please enter a number.");
  ASSERT_NE(box, nullptr);
  PressButton(box, IDOK);
  session.Sync();
  EXPECT_EQ(session.Process().WaitForWindow("Open", 1000), nullptr);
  EXPECT_EQ(FocusedControl(w), session.Item(IDC_OFFSET));
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(Properties, EnterAppliesEscapeDoesNothingAndAltLettersMoveTheFocus) {
  WriteStoredPlace(SECTION, {"Cairo", "2.000000", 4, 17, 10, 1, "", "", 0});
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  session.Show();

  struct FocusRow {
    char letter;
    int focused;
  };
  const FocusRow focusRows[] = {
      {'O', IDC_OFFSET}, {'P', IDC_PLACE},       {'F', IDC_FROM},          {'T', IDC_TO},
      {'N', IDC_ICON_NAME}, {'A', IDC_ACTIVE_FILE}, {'I', IDC_INACTIVE_FILE}, {'W', IDC_WORK_DAY_FIRST},
  };
  for (const FocusRow& row : focusRows) {
    session.Key(IDC_PLACE, static_cast<UINT>(row.letter), true);
    EXPECT_EQ(FocusedControl(w), session.Item(row.focused)) << "Alt+" << row.letter;
  }
  struct ButtonRow {
    char letter;
    int builtin;
    int iconFiles;
  };
  const ButtonRow buttonRows[] = {
      {'C', BST_UNCHECKED, BST_CHECKED},
      {'B', BST_CHECKED, BST_UNCHECKED},
  };
  for (const ButtonRow& row : buttonRows) {
    session.Key(IDC_PLACE, static_cast<UINT>(row.letter), true);
    EXPECT_EQ(CheckOf(w, IDC_BUILTIN), row.builtin) << "Alt+" << row.letter;
    EXPECT_EQ(CheckOf(w, IDC_ICON_FILES), row.iconFiles) << "Alt+" << row.letter;
  }
  // With no day ticked the window says that the place is never active, and with one it stops.
  for (int position = 0; position < 7; ++position) {
    const int box = IDC_WORK_DAY_FIRST + position;
    if (CheckOf(w, box) == BST_CHECKED) session.Key(box, VK_SPACE);
  }
  EXPECT_EQ(TickedWorkDays(w), 0);
  EXPECT_TRUE(IsWindowVisible(session.Item(IDC_NO_WORK_DAY)));
  session.Key(IDC_WORK_DAY_FIRST + 3, VK_SPACE);
  EXPECT_FALSE(IsWindowVisible(session.Item(IDC_NO_WORK_DAY)));

  // Escape, wherever the focus is, leaves the window as it is.
  std::string before = Snapshot();
  session.Type(IDC_PLACE, "Giza");
  const int escapeFrom[] = {IDC_PLACE, IDC_OFFSET, IDC_FROM, IDC_APPLY};
  for (int id : escapeFrom) {
    session.Key(id, VK_ESCAPE);
    EXPECT_TRUE(IsWindowVisible(w)) << id;
    EXPECT_EQ(ControlText(w, IDC_PLACE), "Giza") << id;
  }
  EXPECT_EQ(Snapshot(), before);
  EXPECT_TRUE(session.Process().Running());

  // Enter in the place field runs OK.
  session.Key(IDC_PLACE, 'P', true);
  session.Key(IDC_PLACE, VK_RETURN);
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(FindValue(ReadSection(SECTION), "Place")->Text(), "Giza");
  EXPECT_TRUE(session.Process().Running());

  // A double-click on an open window drops the edits that were not applied.
  session.Show();
  session.Type(IDC_PLACE, "Luxor");
  session.Show();
  EXPECT_EQ(ControlText(w, IDC_PLACE), "Giza");
  EXPECT_EQ(GetForegroundWindow(), w);
  ASSERT_TRUE(session.Process().CloseConfirmed());
}
