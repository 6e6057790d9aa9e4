// Starting, running hidden and closing the real program, and what it leaves in the registry.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "e2e/driver.h"

namespace {

// A window of the test's own that stands for the user's current work.
class UserWindow {
 public:
  UserWindow() {
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "FarhourTestUserWindow";
    RegisterClassA(&wc);
    hwnd_ = CreateWindowExA(0, wc.lpszClassName, "The user's work", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                            100, 100, 300, 200, nullptr, nullptr, wc.hInstance, nullptr);
    SetForegroundWindow(hwnd_);
    Settle(300);
  }
  ~UserWindow() { DestroyWindow(hwnd_); }
  HWND Get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

struct StoredValue {
  const char* name;
  DWORD kind;
  const char* text;  // for REG_SZ
  int number;        // for REG_DWORD
};

}  // namespace

TEST(Spine, StartsHiddenAndLeavesTheForegroundWindowInFront) {
  DeleteSection("Settings2");
  UserWindow user;
  ASSERT_EQ(GetForegroundWindow(), user.Get());
  FarhourProcess farhour("2");
  ASSERT_TRUE(farhour.Started());
  ASSERT_NE(farhour.Window(), nullptr) << "no window titled \"Farhour (2)\"";
  Settle(500);
  EXPECT_FALSE(IsWindowVisible(farhour.Window()));
  EXPECT_EQ(GetForegroundWindow(), user.Get());
  EXPECT_TRUE(farhour.CloseConfirmed());
}

TEST(Spine, ReadingCreatesTheSectionButStoresNothingUntilTheEnd) {
  DeleteSection("Settings3");
  FarhourProcess farhour("3");
  ASSERT_NE(farhour.Window(), nullptr);
  bool exists = false;
  std::vector<RegValue> values = ReadSection("Settings3", &exists);
  EXPECT_TRUE(exists);
  EXPECT_TRUE(values.empty());
  EXPECT_TRUE(farhour.CloseConfirmed());
}

TEST(Spine, AnsweringNoKeepsItRunningAndYesSavesTheNineValues) {
  DeleteSection("Settings2");
  WriteSectionString("Settings2", "Place", "Lisbon");
  WriteSectionString("Settings2", "Offset", "5.75");
  WriteSectionDword("Settings2", "From", 0xFFFFFFFF);
  FarhourProcess farhour("2");
  ASSERT_NE(farhour.Window(), nullptr);

  PostMessageA(farhour.Window(), WM_SYSCOMMAND, SC_CLOSE, 0);
  HWND box = farhour.WaitForMessageBox(10000);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), "Farhour");
  EXPECT_EQ(MessageBoxText(box), "Are you sure you want to remove Farhour \nfrom the taskbar's status area?");
  EXPECT_NE(GetDlgItem(box, IDYES), nullptr);
  EXPECT_NE(GetDlgItem(box, IDNO), nullptr);
  PressButton(box, IDNO);
  EXPECT_FALSE(farhour.WaitForExit(1500));
  EXPECT_TRUE(farhour.Running());
  EXPECT_EQ(ReadSection("Settings2").size(), 3u) << "No must not save";

  ASSERT_TRUE(farhour.CloseConfirmed());
  std::vector<RegValue> values = ReadSection("Settings2");
  const char* locale = std::getenv("LANG");
  bool us = locale && std::string(locale).rfind("en_US", 0) == 0;
  const StoredValue expected[] = {
      {"Place", REG_SZ, "Lisbon", 0},
      {"Offset", REG_SZ, "5.750000", 0},
      {"Icon", REG_DWORD, nullptr, us ? 16 : 0},
      {"From", REG_DWORD, nullptr, -1},
      {"To", REG_DWORD, nullptr, 10},
      {"Weekdays", REG_DWORD, nullptr, 1},
      {"UserActiveIcon", REG_SZ, "", 0},
      {"UserInActiveIcon", REG_SZ, "", 0},
      {"IconFrom", REG_DWORD, nullptr, 0},
      {"WorkDays", REG_DWORD, nullptr, 0x3E},
  };
  EXPECT_EQ(values.size(), 10u);
  for (const StoredValue& e : expected) {
    const RegValue* v = FindValue(values, e.name);
    ASSERT_NE(v, nullptr) << e.name;
    EXPECT_EQ(v->kind, e.kind) << e.name;
    if (e.kind == REG_SZ) {
      EXPECT_EQ(v->Text(), e.text) << e.name;
      EXPECT_EQ(v->data.size(), std::string(e.text).size() + 1) << e.name;
    } else {
      EXPECT_EQ(v->data.size(), 4u) << e.name;
      EXPECT_EQ(v->Int(), e.number) << e.name;
    }
  }
}

TEST(Spine, InstanceNumbersChooseTheSectionAndTheTitle) {
  struct Row {
    const char* arguments;
    const char* section;
    const char* title;
  };
  const Row rows[] = {
      {"", "Settings", "Farhour"},
      {"-3", "Settings", "Farhour"},
      {"  12 extra", "Settings12", "Farhour (12)"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.arguments);
    DeleteSection(row.section);
    FarhourProcess farhour(row.arguments);
    ASSERT_NE(farhour.Window(), nullptr);
    EXPECT_EQ(WindowText(farhour.Window()), row.title);
    ASSERT_TRUE(farhour.CloseConfirmed());
    EXPECT_EQ(ReadSection(row.section).size(), 10u);
  }
}

// Run once per locale (see the test list): the first start's values follow the user's country.
TEST(Locale, FirstStartTakesTheCountryDefaults) {
  const char* locale = std::getenv("FARHOUR_LOCALE");
  ASSERT_NE(locale, nullptr);
  struct Row {
    const char* locale;
    const char* place;
    const char* offset;
    int icon;
  };
  const Row rows[] = {
      {"en_US", "NZ", "19.000000", 16},
      {"en_NZ", "CA", "-19.000000", 25},
      {"de_DE", "Here!", "0.000000", 0},
  };
  const Row* row = nullptr;
  for (const Row& r : rows) if (std::string(r.locale) == locale) row = &r;
  ASSERT_NE(row, nullptr) << locale;

  DeleteSection("Settings9");
  FarhourProcess farhour("9");
  ASSERT_NE(farhour.Window(), nullptr);
  ASSERT_TRUE(farhour.CloseConfirmed());
  std::vector<RegValue> values = ReadSection("Settings9");
  ASSERT_EQ(values.size(), 10u);
  EXPECT_EQ(FindValue(values, "Place")->Text(), row->place);
  EXPECT_EQ(FindValue(values, "Offset")->Text(), row->offset);
  EXPECT_EQ(FindValue(values, "Icon")->Int(), row->icon);
  EXPECT_EQ(FindValue(values, "From")->Int(), 17);
  EXPECT_EQ(FindValue(values, "To")->Int(), 10);
  EXPECT_EQ(FindValue(values, "Weekdays")->Int(), 1);
  EXPECT_EQ(FindValue(values, "IconFrom")->Int(), 0);
  EXPECT_EQ(FindValue(values, "WorkDays")->Int(), 0x3E);
}
