// The program where the user's regional format is in one language and the system's code page for
// programs that are not Unicode is another's, as on an English Windows with Russian formats. The
// ctest entries e2e_mixed_* start this with Wine's user locale (LC_MESSAGES) apart from its code
// page (LANG), and FARHOUR_MIXED naming the pair.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/probe/probe_client.h"
#include "e2e/tray_stand_in.h"
#include "res/resource.h"

namespace {

constexpr UINT REFRESH_TIMER = 101;
const char* const SECTION = "Settings61";
const char* const INSTANCE = "61";

// Noon UTC on Friday 11 December 2026; the tests run with TZ=UTC and the place at offset 0.
constexpr long long FRIDAY_NOON = 1796990400;

struct MixedRow {
  const char* name;
  UINT codePage;
  LCID format;
  const char* days[7];  // the boxes' labels, in the order of the format's week
  const char* tip;      // at FRIDAY_NOON, for a place named P that is active all day
};

const MixedRow MIXED_ROWS[] = {
    {"ru_on_en", 1252, 0x0419,
     {"\xd0\xbf\xd0\xbd", "\xd0\xb2\xd1\x82", "\xd1\x81\xd1\x80", "\xd1\x87\xd1\x82", "\xd0\xbf\xd1\x82",
      "\xd1\x81\xd0\xb1", "\xd0\xb2\xd1\x81"},
     // The picture has a narrow no-break space (U+202F) before its literal.
     "P = 12:00:00. Friday, 11 December 2026\xe2\x80\xaf'\xd0\xb3'."},
    {"ja_on_en", 1252, 0x0411,
     {"\xe6\x97\xa5", "\xe6\x9c\x88", "\xe7\x81\xab", "\xe6\xb0\xb4", "\xe6\x9c\xa8", "\xe9\x87\x91", "\xe5\x9c\x9f"},
     "P = 12:00:00. 2026\xe5\xb9\xb4" "12\xe6\x9c\x88" "11\xe6\x97\xa5" "Friday"},
    {"el_on_ja", 932, 0x0408,
     {"\xce\x94\xce\xb5\xcf\x85", "\xce\xa4\xcf\x81\xce\xaf", "\xce\xa4\xce\xb5\xcf\x84", "\xce\xa0\xce\xad\xce\xbc",
      "\xce\xa0\xce\xb1\xcf\x81", "\xce\xa3\xce\xac\xce\xb2", "\xce\x9a\xcf\x85\xcf\x81"},
     "P = 12:00:00 PM. Friday 11 December 2026"},
};

const MixedRow* ThisPair() {
  const char* name = std::getenv("FARHOUR_MIXED");
  if (!name) return nullptr;
  for (const MixedRow& row : MIXED_ROWS) {
    if (std::string(row.name) == name) return &row;
  }
  return nullptr;
}

// What the ANSI calls give for the text: how a copy of the program from before Unicode reads it.
std::string InCodePage(const std::string& utf8) {
  wchar_t wide[256] = L"";
  MultiByteToWideChar(CP_UTF8, 0, utf8.c_str(), -1, wide, 256);
  char ansi[512] = "";
  WideCharToMultiByte(CP_ACP, 0, wide, -1, ansi, sizeof ansi, nullptr, nullptr);
  return ansi;
}

std::string TipAt(ProbedFarhour& session, TrayStandIn& tray, long long seconds) {
  EXPECT_TRUE(session.Probe().SetClock(seconds));
  tray.Clear();
  SendMessageA(session.Window(), WM_TIMER, REFRESH_TIMER, 0);
  tray.WaitForCalls(1, 2000);
  const std::vector<TrayCall> calls = tray.Calls();
  return calls.empty() ? std::string("<no tip>") : calls.back().tip;
}

}  // namespace

TEST(MixedLocale, TheTipAndTheWorkDayBoxesShowTheFormatsOwnCharacters) {
  const MixedRow* pair = ThisPair();
  ASSERT_NE(pair, nullptr) << "FARHOUR_MIXED names none of the pairs";
  // The environment really sets the two apart.
  ASSERT_EQ(GetACP(), pair->codePage);
  ASSERT_EQ(GetUserDefaultLCID(), pair->format);
  TrayStandIn tray;
  WriteStoredPlace(SECTION, {"P", "0.000000", 0, 0, 23, 0, "", "", 0});
  ProbedFarhour session(INSTANCE);
  ASSERT_TRUE(session.Ready());
  EXPECT_EQ(TipAt(session, tray, FRIDAY_NOON), pair->tip);
  for (int position = 0; position < 7; ++position) {
    EXPECT_EQ(ControlText(session.Window(), IDC_WORK_DAY_FIRST + position), pair->days[position]) << position;
  }
  ASSERT_TRUE(session.Process().CloseConfirmed());
  DeleteSection(SECTION);
}

// Names in other scripts go through OK, a restart and a sign-out unchanged; an older copy, reading
// through the ANSI calls, gets what its code page can hold of them.
TEST(MixedLocale, NamesInAnyScriptSurviveSaveRestartAndSignOut) {
  const MixedRow* pair = ThisPair();
  ASSERT_NE(pair, nullptr);
  const char* const names[] = {
      "\xc5\x81\xc3\xb3\x64\xc5\xba",                                                    // Łódź
      "\xe6\x9d\xb1\xe4\xba\xac",                                                        // 東京
      "\xce\x97\xcf\x81\xce\xac\xce\xba\xce\xbb\xce\xb5\xce\xb9\xce\xbf",                // Ηράκλειο, 16 bytes
  };
  TrayStandIn tray;
  for (const char* name : names) {
    SCOPED_TRACE(name);
    DeleteSection(SECTION);
    WriteSectionText(SECTION, "Place", name);
    {
      ProbedFarhour session(INSTANCE);
      ASSERT_TRUE(session.Ready());
      EXPECT_EQ(TipAt(session, tray, FRIDAY_NOON).rfind(std::string(name) + " = ", 0), 0u);
      session.Show();
      EXPECT_EQ(ControlText(session.Window(), IDC_PLACE), name);
      // OK takes the name: eight letters of two bytes each are eight characters.
      session.Press(IDC_APPLY);
      EXPECT_EQ(session.Process().WaitForMessageBox(300), nullptr) << "OK refused the name";
      EXPECT_FALSE(IsWindowVisible(session.Window()));
      ASSERT_TRUE(session.Process().CloseConfirmed());
    }
    std::string stored;
    ASSERT_TRUE(ReadSectionText(SECTION, "Place", &stored));
    EXPECT_EQ(stored, name) << "after OK and Close";
    {
      ProbedFarhour session(INSTANCE);
      ASSERT_TRUE(session.Ready());
      DWORD_PTR result = 0;
      ASSERT_TRUE(SendMessageTimeoutA(session.Window(), WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                                      &result));
      ASSERT_TRUE(SendMessageTimeoutA(session.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL, 5000,
                                      &result));
      ASSERT_TRUE(ReadSectionText(SECTION, "Place", &stored));
      EXPECT_EQ(stored, name) << "after signing out";
      ASSERT_TRUE(session.Process().CloseConfirmed());
    }
    const std::vector<RegValue> values = ReadSection(SECTION);
    const RegValue* ansi = FindValue(values, "Place");
    ASSERT_NE(ansi, nullptr);
    EXPECT_EQ(ansi->Text(), InCodePage(name));
  }
  // Where the code page lacks the characters, the older copy sees question marks and what the
  // platform's best fit makes of the rest, not the name.
  const std::vector<RegValue> values = ReadSection(SECTION);
  const RegValue* last = FindValue(values, "Place");
  ASSERT_NE(last, nullptr);
  if (pair->codePage == 1252) {
    EXPECT_EQ(last->Text(), "?????e??");
  }
  DeleteSection(SECTION);
}

// A name an older copy stored in its code page reads back identical, and is written back so.
TEST(MixedLocale, ATextAnOlderCopyStoredReadsBackIdentical) {
  const MixedRow* pair = ThisPair();
  ASSERT_NE(pair, nullptr);
  const std::string name = pair->codePage == 932 ? "\xe6\x9d\xb1\xe4\xba\xac" : "Z\xc3\xbcrich";
  const std::string ansi = InCodePage(name);
  ASSERT_EQ(ansi.find('?'), std::string::npos) << "the code page holds the name";
  TrayStandIn tray;
  DeleteSection(SECTION);
  WriteSectionString(SECTION, "Place", ansi);
  {
    ProbedFarhour session(INSTANCE);
    ASSERT_TRUE(session.Ready());
    EXPECT_EQ(TipAt(session, tray, FRIDAY_NOON).rfind(name + " = ", 0), 0u);
    session.Show();
    session.Press(IDC_APPLY);
    ASSERT_TRUE(session.Process().CloseConfirmed());
  }
  std::string stored;
  ASSERT_TRUE(ReadSectionText(SECTION, "Place", &stored));
  EXPECT_EQ(stored, name);
  const std::vector<RegValue> values = ReadSection(SECTION);
  ASSERT_NE(FindValue(values, "Place"), nullptr);
  EXPECT_EQ(FindValue(values, "Place")->Text(), ansi);
  DeleteSection(SECTION);
}
