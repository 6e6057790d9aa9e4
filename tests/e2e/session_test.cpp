// The end of the user's session, and a second start of a place that runs: what each leaves in the
// registry.
#include <gtest/gtest.h>

#include <windows.h>
#include <shellapi.h>

#include <memory>
#include <string>
#include <vector>

#include "e2e/driver.h"
#include "e2e/tray_stand_in.h"
#include "res/resource.h"

namespace {

using Record = StoredPlace;

// The section holds exactly this record, each value in its proper kind and size.
void ExpectRecord(const std::string& section, const Record& r) {
  const std::vector<RegValue> values = ReadSection(section);
  EXPECT_EQ(values.size(), 10u) << section;
  const struct {
    const char* name;
    const char* text;
    int number;
  } expected[] = {
      {"Place", r.place, 0},       {"Offset", r.offset, 0},    {"Icon", nullptr, r.icon},
      {"From", nullptr, r.from},   {"To", nullptr, r.to},      {"Weekdays", nullptr, r.weekdays},
      {"UserActiveIcon", r.userActiveIcon, 0}, {"UserInActiveIcon", r.userInActiveIcon, 0},
      {"IconFrom", nullptr, r.iconFrom},
  };
  for (const auto& e : expected) {
    SCOPED_TRACE(section + "\\" + e.name);
    const RegValue* v = FindValue(values, e.name);
    ASSERT_NE(v, nullptr);
    if (e.text) {
      EXPECT_EQ(v->kind, static_cast<DWORD>(REG_SZ));
      EXPECT_EQ(v->Text(), e.text);
      EXPECT_EQ(v->data.size(), v->Text().size() + 1);
    } else {
      EXPECT_EQ(v->kind, static_cast<DWORD>(REG_DWORD));
      EXPECT_EQ(v->data.size(), 4u);
      EXPECT_EQ(v->Int(), e.number);
    }
  }
}

bool SendWithin(HWND window, UINT message, WPARAM wParam, LPARAM lParam, DWORD_PTR* result) {
  return SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, result) != 0;
}

// Shows the properties window, types a place and an offset out of range, and presses OK: the
// refusal leaves the message box open.
HWND RefusedOk(FarhourProcess& farhour, const char* place, const char* offset) {
  HWND window = farhour.Window();
  DWORD_PTR result = 0;
  if (!SendWithin(window, TRAY_NOTIFY_MESSAGE, TRAY_ICON_ID, WM_LBUTTONDBLCLK, &result)) return nullptr;
  SetDlgItemTextA(window, IDC_PLACE, place);
  SetDlgItemTextA(window, IDC_OFFSET, offset);
  PressButton(window, IDC_APPLY);
  return farhour.WaitForMessageBox(5000);
}

}  // namespace

// What the program holds when the user's edits were refused and cancelled: the stored values below as
// it loaded them, "5,5" read as 5, Weekdays 7 read as Monday to Friday, and the From nothing stored
// While the object lives, the section's key may be read and not written, as a key whose permissions
// were changed; the test may still change them back and delete the key.
class UnwritableSection {
 public:
  explicit UnwritableSection(const std::string& section) {
    const std::string path = "Software\\Brindlewood\\Farhour\\" + section;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, READ_CONTROL | WRITE_DAC, &key_) != ERROR_SUCCESS) return;
    SID_IDENTIFIER_AUTHORITY world = SECURITY_WORLD_SID_AUTHORITY;
    PSID everyone = nullptr;
    AllocateAndInitializeSid(&world, 1, SECURITY_WORLD_RID, 0, 0, 0, 0, 0, 0, 0, &everyone);
    std::vector<BYTE> acl(sizeof(ACL) + sizeof(ACCESS_ALLOWED_ACE) + GetLengthSid(everyone));
    InitializeAcl(reinterpret_cast<ACL*>(acl.data()), static_cast<DWORD>(acl.size()), ACL_REVISION);
    AddAccessAllowedAce(reinterpret_cast<ACL*>(acl.data()), ACL_REVISION, KEY_READ | WRITE_DAC | DELETE, everyone);
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, reinterpret_cast<ACL*>(acl.data()), FALSE);
    applied_ = RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    FreeSid(everyone);
  }
  ~UnwritableSection() { Restore(); }
  UnwritableSection(const UnwritableSection&) = delete;
  UnwritableSection& operator=(const UnwritableSection&) = delete;
  bool Applied() const { return applied_; }
  // Anyone may write the key again.
  void Restore() {
    if (!key_) return;
    SECURITY_DESCRIPTOR descriptor;
    InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
    SetSecurityDescriptorDacl(&descriptor, TRUE, nullptr, FALSE);
    RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &descriptor);
    RegCloseKey(key_);
    key_ = nullptr;
  }

 private:
  HKEY key_ = nullptr;
  bool applied_ = false;
};

// gave. The refused place and offset typed went with the window's draft.
const Record HELD = {"Before", "5.000000", 4, 17, 20, 1, "", "C:\\night.ico", 0};

TEST(Session, EndingTheSessionSavesThePlaceAsItRunsAndCancellingItSavesNothing) {
  struct Step {
    BOOL ending;
    LPARAM reason;
    bool saved;
  };
  // The session ends only at the last step; until then nothing may be written.
  const Step steps[] = {
      {FALSE, 0, false},
      {FALSE, static_cast<LPARAM>(ENDSESSION_LOGOFF), false},
      {TRUE, static_cast<LPARAM>(ENDSESSION_LOGOFF), true},
  };
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  DeleteSection("Settings44");
  WriteSectionString("Settings44", "Place", "Before");
  WriteSectionString("Settings44", "Offset", "5,5");
  WriteSectionDword("Settings44", "Icon", 4);
  WriteSectionDword("Settings44", "To", 20);
  WriteSectionDword("Settings44", "Weekdays", 7);
  WriteSectionString("Settings44", "UserActiveIcon", "");
  WriteSectionString("Settings44", "UserInActiveIcon", "C:\\night.ico");
  WriteSectionDword("Settings44", "IconFrom", 0);
  const std::vector<RegValue> before = ReadSection("Settings44");

  FarhourProcess farhour("44");
  ASSERT_NE(farhour.Window(), nullptr);
  HWND box = RefusedOk(farhour, "Session", "30");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), "Please enter a number between -24 and 24.");
  PressButton(box, IDOK);
  for (int i = 0; i < 100 && IsWindow(box); ++i) Sleep(20);
  DWORD_PTR result = 0;
  ASSERT_TRUE(SendWithin(farhour.Window(), WM_COMMAND, MAKEWPARAM(IDC_DISMISS, BN_CLICKED), 0, &result));
  ASSERT_FALSE(IsWindowVisible(farhour.Window()));

  ASSERT_TRUE(SendWithin(farhour.Window(), WM_QUERYENDSESSION, 0, 0, &result));
  EXPECT_EQ(result, static_cast<DWORD_PTR>(TRUE)) << "the program must let the session end";
  for (const Step& step : steps) {
    SCOPED_TRACE("WM_ENDSESSION " + std::to_string(step.ending) + ", " + std::to_string(step.reason));
    ASSERT_TRUE(
        SendWithin(farhour.Window(), WM_ENDSESSION, static_cast<WPARAM>(step.ending), step.reason, &result));
    ASSERT_TRUE(farhour.Running());
    if (!step.saved) {
      const std::vector<RegValue> now = ReadSection("Settings44");
      ASSERT_EQ(now.size(), before.size());
      for (const RegValue& v : before) {
        const RegValue* same = FindValue(now, v.name);
        ASSERT_NE(same, nullptr) << v.name;
        EXPECT_EQ(same->data, v.data) << v.name;
      }
    }
  }
  // Windows ends the process after the message, without the program's own tear-down.
  farhour.Kill();
  ExpectRecord("Settings44", HELD);
  DeleteSection("Settings44");
}

TEST(Session, EndingTheSessionUnderAnOpenMessageBoxSavesThePlaceNotTheRefusedEdits) {
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  WriteStoredPlace("Settings44", {"Before", "1.000000", 2, 3, 4, 1, "", "", 0});
  FarhourProcess farhour("44");
  ASSERT_NE(farhour.Window(), nullptr);
  HWND box = RefusedOk(farhour, "Boxed", "-99");
  ASSERT_NE(box, nullptr);
  DWORD_PTR result = 0;
  ASSERT_TRUE(SendWithin(farhour.Window(), WM_QUERYENDSESSION, 0, 0, &result));
  EXPECT_EQ(result, static_cast<DWORD_PTR>(TRUE));
  ASSERT_TRUE(SendWithin(farhour.Window(), WM_ENDSESSION, TRUE, 0, &result));
  farhour.Kill();
  ExpectRecord("Settings44", {"Before", "1.000000", 2, 3, 4, 1, "", "", 0});
  DeleteSection("Settings44");
}

// A place runs once: a second start of a running place brings that copy's properties window to the
// front and ends at once, without touching the settings; another place still starts beside it.
TEST(SecondStart, ShowsTheRunningCopyOfThePlaceInstead) {
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  WriteStoredPlace("Settings45", {"Once", "1.500000", 3, 4, 5, 0, "", "", 0});
  FarhourProcess one("45");
  ASSERT_NE(one.Window(), nullptr);
  ASSERT_FALSE(IsWindowVisible(one.Window()));
  DeleteSection("Settings45");

  FarhourProcess again("45");
  DWORD code = 99;
  ASSERT_TRUE(again.WaitForExit(20000, &code));
  EXPECT_EQ(code, 0u);
  EXPECT_EQ(again.Window(), nullptr);
  EXPECT_TRUE(IsWindowVisible(one.Window()));
  EXPECT_EQ(GetForegroundWindow(), one.Window());
  EXPECT_TRUE(ReadSection("Settings45").empty()) << "the second start wrote settings";

  FarhourProcess other("46");
  ASSERT_NE(other.Window(), nullptr);
  ASSERT_TRUE(tray.WaitForCalls(4, 5000));
  int adds = 0;
  for (const TrayCall& call : tray.Calls()) adds += call.message == NIM_ADD;
  EXPECT_EQ(adds, 2) << "one icon for each place";
  EXPECT_TRUE(one.Running());
  ASSERT_TRUE(other.CloseConfirmed());
  ASSERT_TRUE(one.CloseConfirmed());
  DeleteSection("Settings45");
  DeleteSection("Settings46");
}

// Two starts of one place at the same instant end with one copy.
TEST(SecondStart, TwoStartsAtOnceLeaveOneCopy) {
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  DeleteSection("Settings47");
  std::vector<std::unique_ptr<FarhourProcess>> farhours = StartFarhours({"47", "47"});
  int copies = 0;
  for (const auto& farhour : farhours) {
    if (farhour->Window()) {
      ++copies;
    } else {
      EXPECT_TRUE(farhour->WaitForExit(20000)) << "the start that lost ends";
    }
  }
  EXPECT_EQ(copies, 1);
  for (const auto& farhour : farhours) {
    if (farhour->Running()) {
      EXPECT_TRUE(farhour->CloseConfirmed());
    }
  }
  DeleteSection("Settings47");
}

// A save that fails is told: at Close in a message box naming the place, before the program ends; at
// sign-out, where no one can read one, it is tried once more and told at the place's next start, once.
TEST(Session, ASaveThatFailsIsTold) {
  struct Row {
    const char* how;
    bool signOut;
  };
  const Row rows[] = {{"Close", false}, {"sign-out", true}};
  TrayStandIn tray;
  UnmanagedWindows unmanaged;
  for (const Row& row : rows) {
    SCOPED_TRACE(row.how);
    DeleteSection("Settings49");
    DeleteSection("NotSaved");
    WriteStoredPlace("Settings49", {"Lagos", "1.000000", 2, 3, 4, 1, "", "", 0});
    {
      FarhourProcess farhour("49");
      ASSERT_NE(farhour.Window(), nullptr);
      UnwritableSection unwritable("Settings49");
      ASSERT_TRUE(unwritable.Applied());
      if (row.signOut) {
        DWORD_PTR result = 0;
        ASSERT_TRUE(SendWithin(farhour.Window(), WM_QUERYENDSESSION, 0, 0, &result));
        ASSERT_TRUE(SendWithin(farhour.Window(), WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, &result));
        EXPECT_EQ(farhour.WaitForMessageBox(500), nullptr) << "no one to read it";
        farhour.Kill();
      } else {
        PostMessageA(farhour.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
        HWND question = farhour.WaitForMessageBox(10000);
        ASSERT_NE(question, nullptr);
        PressButton(question, IDYES);
        ASSERT_TRUE(WaitForClose(question, 10000));
        HWND told = farhour.WaitForMessageBox(10000);
        ASSERT_NE(told, nullptr);
        EXPECT_EQ(MessageBoxText(told), "Farhour could not save the settings of Lagos.");
        PressButton(told, IDOK);
        EXPECT_TRUE(farhour.WaitForExit(10000));
      }
    }
    // The next two starts: the first tells what the sign-out could not save, the second nothing.
    for (bool told : {row.signOut, false}) {
      FarhourProcess farhour("49");
      ASSERT_NE(farhour.Window(), nullptr);
      HWND box = farhour.WaitForMessageBox(told ? 10000 : 1000);
      EXPECT_EQ(box != nullptr, told);
      if (box) {
        EXPECT_EQ(MessageBoxText(box), "Farhour could not save the settings of Lagos when you last signed out.");
        PressButton(box, IDOK);
        ASSERT_TRUE(WaitForClose(box, 10000));
      }
      ASSERT_TRUE(farhour.CloseConfirmed());
      EXPECT_TRUE(farhour.WaitForExit(10000));
    }
  }
  DeleteSection("Settings49");
  DeleteSection("NotSaved");
}
