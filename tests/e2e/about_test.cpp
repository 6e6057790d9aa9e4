// The properties window's system menu: its About command and box, and the Close question.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "e2e/tray_stand_in.h"
#include "res/resource.h"

namespace {

const char* const SECTION = "Settings6";
const char* const INSTANCE = "6";
const char* const CLOSE_QUESTION = "Are you sure you want to remove Farhour \nfrom the taskbar's status area?";

void WriteStored(const char* place) {
  DeleteSection(SECTION);
  WriteSectionString(SECTION, "Place", place);
  WriteSectionString(SECTION, "Offset", "1.000000");
  WriteSectionDword(SECTION, "Icon", 7);
  WriteSectionDword(SECTION, "From", 16);
  WriteSectionDword(SECTION, "To", 10);
  WriteSectionDword(SECTION, "Weekdays", 0);
  WriteSectionString(SECTION, "UserActiveIcon", "");
  WriteSectionString(SECTION, "UserInActiveIcon", "");
  WriteSectionDword(SECTION, "IconFrom", 0);
}

std::string Snapshot() {
  std::vector<std::string> lines;
  for (const RegValue& v : ReadSection(SECTION)) {
    lines.push_back(v.name + "=" + (v.kind == REG_SZ ? "sz:" + v.Text() : "dw:" + std::to_string(v.Int())));
  }
  std::sort(lines.begin(), lines.end());
  std::string text;
  for (const std::string& line : lines) text += line + "\n";
  return text;
}

// The texts of a window's visible static controls, and whether one of them shows an icon.
std::vector<std::string> StaticTexts(HWND window, bool* hasIcon) {
  std::vector<std::string> texts;
  *hasIcon = false;
  for (HWND c = GetWindow(window, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    char className[32] = "";
    GetClassNameA(c, className, sizeof className);
    if (lstrcmpiA(className, "Static") != 0 || !IsWindowVisible(c)) continue;
    if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
      *hasIcon = true;
      continue;
    }
    texts.push_back(WindowText(c));
  }
  return texts;
}

POINT CentreOf(const RECT& r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

// The rectangles of a dialog template's controls, in dialog units, as compiled into the program.
std::vector<RECT> TemplateControlRects(int templateId) {
  std::vector<RECT> rects;
  HMODULE exe = LoadLibraryExA(FarhourExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  HRSRC found = exe ? FindResourceA(exe, MAKEINTRESOURCEA(templateId), MAKEINTRESOURCEA(5)) : nullptr;
  const BYTE* p = found ? static_cast<const BYTE*>(LockResource(LoadResource(exe, found))) : nullptr;
  if (p) {
    const auto* header = reinterpret_cast<const DLGTEMPLATE*>(p);
    const WORD* w = reinterpret_cast<const WORD*>(header + 1);
    // Menu, class and title: an ordinal (0xFFFF and a number) or a zero-ended wide text each.
    auto skip = [](const WORD* at) { return *at == 0xFFFF ? at + 2 : at + lstrlenW(reinterpret_cast<LPCWSTR>(at)) + 1; };
    w = skip(skip(skip(w)));
    if (header->style & DS_SETFONT) w = skip(w + 1);
    for (int i = 0; i < header->cdit; ++i) {
      auto at = (reinterpret_cast<UINT_PTR>(w) + 3) & ~static_cast<UINT_PTR>(3);
      const auto* item = reinterpret_cast<const DLGITEMTEMPLATE*>(at);
      rects.push_back({item->x, item->y, item->x + item->cx, item->y + item->cy});
      w = skip(skip(reinterpret_cast<const WORD*>(item + 1)));  // class, then text
      w += *w ? *w / sizeof(WORD) : 1;                          // creation data, its size first
    }
  }
  if (exe) FreeLibrary(exe);
  return rects;
}

}  // namespace

TEST(About, TheCompiledBoxHoldsTheIconAtTwentyByTwentyUnits) {
  std::vector<RECT> rects = TemplateControlRects(100);
  ASSERT_EQ(rects.size(), 4u);
  EXPECT_EQ(rects[0].left, 11);
  EXPECT_EQ(rects[0].top, 17);
  EXPECT_EQ(rects[0].right - rects[0].left, 20);
  EXPECT_EQ(rects[0].bottom - rects[0].top, 20);
  EXPECT_EQ(rects[3].right - rects[3].left, 32) << "the OK button, read past the icon's entry";
}

TEST(About, TheSystemMenuEndsWithTheAboutCommandOnce) {
  WriteStored("Accra");
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  std::vector<ProbeMenuItem> items;
  ASSERT_TRUE(session.Probe().SystemMenu(&items));
  ASSERT_GE(items.size(), 3u);
  const ProbeMenuItem& separator = items[items.size() - 2];
  const ProbeMenuItem& about = items.back();
  EXPECT_TRUE(separator.Separator());
  EXPECT_EQ(about.id, 16u);
  EXPECT_EQ(about.text, "&About Farhour...");
  EXPECT_FALSE(about.Separator());
  EXPECT_EQ(about.state & (MFS_GRAYED | MFS_DISABLED), 0u);
  EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const ProbeMenuItem& i) { return i.id == 16; }), 1);
  EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const ProbeMenuItem& i) { return i.id == SC_CLOSE; }), 1);

  // Showing and hiding the window many times does not add the command again.
  for (int i = 0; i < 3; ++i) {
    session.Show();
    PressButton(session.Window(), IDC_DISMISS);
  }
  ASSERT_TRUE(session.Probe().SystemMenu(&items));
  EXPECT_EQ(std::count_if(items.begin(), items.end(), [](const ProbeMenuItem& i) { return i.id == 16; }), 1);
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(About, TheAboutCommandOpensACentredBoxThatBlocksTheWindow) {
  enum Ending { OK_BUTTON, ENTER, ESCAPE, CLOSE_BUTTON };
  struct Row {
    WPARAM command;
    bool windowShown;
    Ending ending;
  };
  const Row rows[] = {
      {16, true, OK_BUTTON}, {31, true, ESCAPE}, {0x1A, false, ENTER}, {16, true, CLOSE_BUTTON},
  };
  WriteStored("Dakar");
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  RECT workArea;
  SystemParametersInfoA(SPI_GETWORKAREA, 0, &workArea, 0);
  for (const Row& row : rows) {
    SCOPED_TRACE(testing::Message() << "command " << row.command << " ending " << row.ending);
    if (row.windowShown) {
      session.Show();
    } else {
      PressButton(w, IDC_DISMISS);
      session.Sync();
    }
    ASSERT_EQ(IsWindowVisible(w) != FALSE, row.windowShown);
    PostMessageA(w, WM_SYSCOMMAND, row.command, 0);
    HWND about = session.Process().WaitForWindow("About Farhour", 5000);
    ASSERT_NE(about, nullptr);
    // The box is found as soon as it exists; its modal loop shows it once its controls are made.
    for (int i = 0; i < 100 && !IsWindowVisible(about); ++i) Sleep(50);
    session.Sync();
    EXPECT_TRUE(IsWindowVisible(about));
    EXPECT_FALSE(IsWindowEnabled(w)) << "the window takes no input while the box is open";
    bool hasIcon = false;
    std::vector<std::string> texts = StaticTexts(about, &hasIcon);
    EXPECT_TRUE(hasIcon) << "the program icon";
    ASSERT_FALSE(texts.empty());
    EXPECT_EQ(texts[0], "Farhour Version 2.0");
    EXPECT_EQ(ControlText(about, IDOK), "OK");

    RECT box;
    GetWindowRect(about, &box);
    RECT over = workArea;
    if (row.windowShown) GetWindowRect(w, &over);
    POINT boxCentre = CentreOf(box);
    POINT overCentre = CentreOf(over);
    EXPECT_LE(std::abs(boxCentre.x - overCentre.x), 1) << box.left << "," << box.top << "," << box.right << "," << box.bottom << " over " << over.left << "," << over.top << "," << over.right << "," << over.bottom;
    EXPECT_LE(std::abs(boxCentre.y - overCentre.y), 1);

    switch (row.ending) {
      case OK_BUTTON: PressButton(about, IDOK); break;
      case ENTER: PressKey(GetDlgItem(about, IDOK), VK_RETURN); break;
      case ESCAPE: PressKey(GetDlgItem(about, IDOK), VK_ESCAPE); break;
      case CLOSE_BUTTON: PostMessageA(about, WM_SYSCOMMAND, SC_CLOSE, 0); break;
    }
    session.Sync();
    for (int i = 0; i < 40 && IsWindow(about); ++i) Sleep(50);
    EXPECT_FALSE(IsWindow(about));
    EXPECT_TRUE(IsWindowEnabled(w));
    EXPECT_EQ(IsWindowVisible(w) != FALSE, row.windowShown);
    EXPECT_TRUE(session.Process().Running());
  }
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(About, TheCloseQuestionAnsweredNoChangesNothing) {
  struct Row {
    const char* how;
    bool windowShown;
  };
  // The low four bits of the command are ignored; Alt+F4 on the shown window asks the same.
  const Row rows[] = {{"SC_CLOSE", false}, {"0xF06F", true}, {"Alt+F4", true}};
  TrayStandIn tray;
  WriteStored("Nairobi");
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  for (const Row& row : rows) {
    SCOPED_TRACE(row.how);
    if (row.windowShown) session.Show();
    std::string before = Snapshot();
    tray.Clear();
    std::string how = row.how;
    if (how == "Alt+F4") {
      PressKey(GetDlgItem(w, IDC_PLACE), VK_F4, true);
    } else {
      PostMessageA(w, WM_SYSCOMMAND, how == "SC_CLOSE" ? SC_CLOSE : 0xF06F, 0);
    }
    HWND box = session.Process().WaitForMessageBox(5000);
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(WindowText(box), "Farhour");
    EXPECT_EQ(MessageBoxText(box), CLOSE_QUESTION);
    EXPECT_EQ(session.Probe().MessageBoxIcon(), "exclamation");
    EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
    EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
    PressButton(box, IDNO);
    session.Sync();
    EXPECT_FALSE(IsWindow(box));
    EXPECT_TRUE(session.Process().Running());
    EXPECT_EQ(IsWindowVisible(w) != FALSE, row.windowShown);
    EXPECT_EQ(Snapshot(), before);
    for (const TrayCall& call : tray.Calls()) {
      EXPECT_NE(call.message, static_cast<DWORD>(NIM_DELETE)) << "the tray icon stays";
    }
  }
  ASSERT_TRUE(session.Process().CloseConfirmed());
}

TEST(About, YesSavesThePlaceAsItRunsNotTheRefusedEditsAndEnds) {
  TrayStandIn tray;
  WriteStored("Harare");
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  HWND w = session.Window();
  ASSERT_TRUE(tray.WaitForCalls(2, 5000));
  // A refused OK takes nothing into the running place.
  session.Show();
  TypeText(GetDlgItem(w, IDC_PLACE), "Bamako");
  TypeText(GetDlgItem(w, IDC_OFFSET), "99");
  PressButton(w, IDC_APPLY);
  HWND box = session.Process().WaitForMessageBox(5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Please enter a number between -24 and 24.");
  PressButton(box, IDOK);
  session.Sync();
  EXPECT_EQ(FindValue(ReadSection(SECTION), "Place")->Text(), "Harare");

  PostMessageA(w, WM_SYSCOMMAND, 0xF06F, 0);
  box = session.Process().WaitForMessageBox(5000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), CLOSE_QUESTION);
  PressButton(box, IDYES);
  DWORD exitCode = 1;
  ASSERT_TRUE(session.Process().WaitForExit(20000, &exitCode));
  EXPECT_EQ(exitCode, 0u);
  std::vector<RegValue> values = ReadSection(SECTION);
  EXPECT_EQ(values.size(), 10u);
  EXPECT_EQ(FindValue(values, "Place")->Text(), "Harare");
  EXPECT_EQ(FindValue(values, "Offset")->Text(), "1.000000") << "the refused offset is not stored";
  std::vector<TrayCall> calls = tray.Calls();
  ASSERT_FALSE(calls.empty());
  EXPECT_EQ(calls.back().message, static_cast<DWORD>(NIM_DELETE));
  EXPECT_EQ(calls.back().window, Handle32(w));
}
