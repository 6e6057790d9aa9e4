// The tray refresh decides image and tip and calls the shell only on change.
#include <gtest/gtest.h>

#include <ctime>
#include <string>
#include <vector>

#include "res/resource.h"
#include "tray/tray_controller.h"

namespace {

// Distinct fake handles: resource n is the address of icons[n].
char resourceIcons[70000];
char customActive, customInactive, programIcon;
// Hour icons: one per hour, clock and state.
char hourIcons[24][2][2];

IconRef Resource(unsigned id) { return &resourceIcons[id]; }

struct ShellCall {
  enum Kind { ADD, MODIFY, DELETE } kind;
  unsigned id;
  IconRef icon;
  std::string tip;
};

const char* const ACTIVE_TIP = "Here! = 10:15. Monday";
const char* const INACTIVE_TIP = "[Here! = 10:15. Monday]";

// The place's zone shows 10:15 on a Monday, or another minute of that hour.
class FixedZoneClock : public ZoneClock {
 public:
  int hour = 10;
  int minute = 15;
  void SetZone(const std::string&) override {}
  bool ZoneTime(std::time_t, std::tm* zoneTime) override {
    *zoneTime = std::tm{};
    zoneTime->tm_year = 126;
    zoneTime->tm_mon = 11;
    zoneTime->tm_mday = 7;
    zoneTime->tm_wday = 1;
    zoneTime->tm_hour = hour;
    zoneTime->tm_min = minute;
    return true;
  }
};

// The window and the shell around the icon, and the place it shows.
class FakeHost : public TrayOwner, public TrayShell {
 public:
  FixedZoneClock zone;
  Place place{zone};
  IconRef active = &customActive;
  IconRef inactive = &customInactive;
  bool timerRunning = true;
  // The shell as Windows has it: it takes calls only while up, refuses a second add of an icon it
  // holds, and can modify only an icon it holds.
  bool shellUp = true;
  bool held = false;
  std::vector<ShellCall> calls;
  std::string letters;  // the calls in short: A add, M modify, D delete; lower case when refused

  FakeHost() {
    PlaceSettings& settings = place.Settings();
    settings.place = "Here!";
    settings.zone = "Fixed";
    settings.workDays = EVERY_DAY;
    place.BuildTipTimeFormat("HH:mm", "dddd");
    SetActive(true);
  }
  // Active all day, or never: ACTIVE_TIP or INACTIVE_TIP.
  void SetActive(bool isActive) {
    place.Settings().from = 0;
    place.Settings().to = isActive ? 23 : -1;
  }

  IconRef CustomActiveIcon() const override { return active; }
  IconRef CustomInactiveIcon() const override { return inactive; }
  IconRef ProgramIcon() const override { return &programIcon; }
  bool RefreshTimerRunning() const override { return timerRunning; }
  std::string NotFoundTip(const std::string& path) const override { return "\"" + path + "\" not found"; }
  std::string NoTimerTip() const override { return "No TIMER!"; }
  IconRef LoadResourceIcon(unsigned short id) override {
    bool exists = id == IDR_MAINFRAME || (id >= 149 && id <= 176) || (id >= 249 && id <= 276);
    return exists ? Resource(id) : nullptr;
  }
  bool drawsHours = true;
  IconRef HourIcon(const HourFace& face) override {
    if (!drawsHours || face.hour < 0 || face.hour > 23) return nullptr;
    return &hourIcons[face.hour][face.twelveHour][face.active];
  }
  bool ShellAdd(unsigned id, IconRef icon) override {
    calls.push_back({ShellCall::ADD, id, icon, ""});
    const bool taken = shellUp && !held;
    held = held || taken;
    letters += taken ? "A" : "a";
    return taken;
  }
  bool ShellModify(unsigned id, IconRef icon, const char* tip) override {
    calls.push_back({ShellCall::MODIFY, id, icon, tip});
    const bool taken = shellUp && held;
    letters += taken ? "M" : "m";
    return taken;
  }
  void ShellDelete(unsigned id) override {
    calls.push_back({ShellCall::DELETE, id, nullptr, ""});
    letters += shellUp && held ? "D" : "d";
    held = false;
  }
};

// The controller of the host's icon.
struct Tray : TrayController {
  explicit Tray(FakeHost& host) : TrayController(host.place, host, host) {}
};

}  // namespace

TEST(TrayController, AddsWithEntryZeroThenShowsTheRealImageAndTip) {
  FakeHost host;
  host.place.Settings().icon = 16;
  Tray tray(host);
  tray.CreateTray();
  ASSERT_EQ(host.calls.size(), 2u);
  EXPECT_EQ(host.calls[0].kind, ShellCall::ADD);
  EXPECT_EQ(host.calls[0].id, 999u);
  EXPECT_EQ(host.calls[0].icon, Resource(149));
  EXPECT_EQ(host.calls[1].kind, ShellCall::MODIFY);
  EXPECT_EQ(host.calls[1].icon, Resource(149 + 16));
  EXPECT_EQ(host.calls[1].tip, ACTIVE_TIP);
}

TEST(TrayController, CallsTheShellOnlyWhenTipOrImageChange) {
  FakeHost host;
  Tray tray(host);
  tray.CreateTray();
  host.calls.clear();
  for (int i = 0; i < 1000; ++i) tray.UpdateTray();
  EXPECT_TRUE(host.calls.empty());

  host.zone.minute = 16;
  tray.UpdateTray();
  tray.UpdateTray();
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].tip, "Here! = 10:16. Monday");

  // The window opens: image and brackets change in one modify.
  host.calls.clear();
  host.SetActive(false);
  tray.UpdateTray();
  ASSERT_EQ(host.calls.size(), 1u);
  EXPECT_EQ(host.calls[0].icon, Resource(249));
  EXPECT_EQ(host.calls[0].tip, "[Here! = 10:16. Monday]");
}

TEST(TrayController, ChoosesTheImageAndTip) {
  struct Row {
    const char* name;
    int icon;
    int iconFrom;
    bool active;
    bool haveActive, haveInactive;
    bool timerRunning;
    IconRef image;
    std::string tip;
  };
  const Row rows[] = {
      {"built-in active", 3, 0, true, true, true, true, Resource(152), ACTIVE_TIP},
      {"built-in inactive", 3, 0, false, true, true, true, Resource(252), INACTIVE_TIP},
      {"last entry", 27, 0, true, true, true, true, Resource(176), ACTIVE_TIP},
      {"last entry inactive", 27, 0, false, true, true, true, Resource(276), INACTIVE_TIP},
      {"one past the set", 28, 0, true, true, true, true, nullptr, ACTIVE_TIP},
      {"one past the set inactive", 28, 0, false, true, true, true, nullptr, INACTIVE_TIP},
      {"index 100 lands on the inactive range", 100, 0, true, true, true, true, Resource(249), ACTIVE_TIP},
      {"index -1 while active is resource 148, which does not exist", -1, 0, true, true, true, true, nullptr, ACTIVE_TIP},
      {"16-bit wrap", 65536 + 2, 0, true, true, true, true, Resource(151), ACTIVE_TIP},
      {"files, both present", 5, 1, true, true, true, true, &customActive, ACTIVE_TIP},
      {"files, inactive", 5, 1, false, true, true, true, &customInactive, INACTIVE_TIP},
      {"any non-zero IconFrom", 5, -1, true, true, true, true, &customActive, ACTIVE_TIP},
      {"active file missing", 5, 1, true, false, true, true, &programIcon, "\"C:\\a.ico\" not found"},
      {"inactive file missing", 5, 1, false, true, false, true, &programIcon, "\"\" not found"},
      {"no timer", 5, 0, true, true, true, false, Resource(154), "No TIMER!"},
      {"no timer and a missing file", 5, 1, true, false, true, false, &programIcon, "No TIMER!"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeHost host;
    host.place.Settings().icon = row.icon;
    host.place.Settings().iconFrom = row.iconFrom;
    host.place.Settings().userActiveIcon = "C:\\a.ico";
    host.SetActive(row.active);
    host.active = row.haveActive ? &customActive : nullptr;
    host.inactive = row.haveInactive ? &customInactive : nullptr;
    host.timerRunning = row.timerRunning;
    Tray tray(host);
    tray.CreateTray();
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[1].icon, row.image);
    EXPECT_EQ(host.calls[1].tip, row.tip);
  }
}

// The hour there: its picture follows the place's hour, the user's clock and whether it is active,
// whatever IconFrom holds for older copies.
TEST(TrayController, ShowsTheHourThereWhenThatIsTheStyle) {
  struct Row {
    const char* name;
    int iconStyle;
    int iconFrom;
    const char* timePicture;
    int hour;
    bool active;
    bool drawn;  // whether the hour's icon could be made
    IconRef image;
  };
  const Row rows[] = {
      {"24-hour clock", ICON_STYLE_HOUR, 0, "HH:mm", 21, true, true, &hourIcons[21][0][1]},
      {"12-hour clock", ICON_STYLE_HOUR, 0, "h:mm tt", 21, true, true, &hourIcons[21][1][1]},
      {"inactive", ICON_STYLE_HOUR, 0, "h:mm tt", 9, false, true, &hourIcons[9][1][0]},
      {"over icon files", ICON_STYLE_HOUR, 1, "HH:mm", 0, true, true, &hourIcons[0][0][1]},
      {"not made: the program icon", ICON_STYLE_HOUR, 0, "HH:mm", 9, true, false, &programIcon},
      {"pictures", ICON_STYLE_PICTURES, 0, "HH:mm", 9, true, true, Resource(149 + 4)},
      {"a style this copy does not know", 7, 1, "HH:mm", 9, true, true, &customActive},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeHost host;
    host.place.Settings().icon = 4;
    host.place.Settings().iconStyle = row.iconStyle;
    host.place.Settings().iconFrom = row.iconFrom;
    host.place.BuildTipTimeFormat(row.timePicture, "dddd");
    host.zone.hour = row.hour;
    host.SetActive(row.active);
    host.drawsHours = row.drawn;
    Tray tray(host);
    tray.CreateTray();
    ASSERT_EQ(host.calls.size(), 2u);
    EXPECT_EQ(host.calls[1].icon, row.image);
  }
}

// With a tip that shows only the hour, the shell hears of the place once an hour: the picture is
// asked for at every refresh but changes only with the hour.
TEST(TrayController, TellsTheShellOfTheHourOnlyWhenItChanges) {
  FakeHost host;
  host.place.Settings().iconStyle = ICON_STYLE_HOUR;
  host.place.BuildTipTimeFormat("HH", "dddd");
  Tray tray(host);
  tray.CreateTray();
  host.calls.clear();
  for (int minute = 0; minute < 24 * 60; ++minute) {
    host.zone.hour = minute / 60;
    host.zone.minute = minute % 60;
    tray.UpdateTray();
    tray.UpdateTray();
  }
  // The window closes at 23:30: that is one change more, to the inactive picture.
  ASSERT_EQ(host.calls.size(), 25u);
  for (int hour = 0; hour < 24; ++hour) EXPECT_EQ(host.calls[hour].icon, &hourIcons[hour][0][1]) << hour;
  EXPECT_EQ(host.calls[24].icon, &hourIcons[23][0][0]);
}

// The display's scale changed: the old images were destroyed, and new ones may have their handles.
TEST(TrayController, NewImagesReachTheShellEvenUnderTheOldHandles) {
  FakeHost host;
  Tray tray(host);
  tray.CreateTray();
  host.calls.clear();
  tray.ImagesChanged();
  ASSERT_EQ(host.letters, "AMM");
  EXPECT_EQ(host.calls.back().kind, ShellCall::MODIFY);
  EXPECT_EQ(host.calls.back().icon, Resource(149));
  EXPECT_EQ(host.calls.back().tip, ACTIVE_TIP);
  // A shell that restarts after the change gets the new image of entry 0 in its add.
  struct Rescaled : FakeHost {
    bool rescaled = false;
    IconRef LoadResourceIcon(unsigned short id) override {
      return rescaled && id == 149 ? &programIcon : FakeHost::LoadResourceIcon(id);
    }
  } restarted;
  Tray second(restarted);
  second.CreateTray();
  restarted.rescaled = true;
  restarted.held = false;
  second.ReAddTray();
  ASSERT_GE(restarted.calls.size(), 3u);
  EXPECT_EQ(restarted.calls[2].kind, ShellCall::ADD);
  EXPECT_EQ(restarted.calls[2].icon, &programIcon);
}

TEST(TrayController, NoIconWhenEntryZeroIsMissing) {
  struct NoEntryZero : FakeHost {
    IconRef LoadResourceIcon(unsigned short id) override {
      return id == 249 ? nullptr : FakeHost::LoadResourceIcon(id);
    }
  } host;
  Tray tray(host);
  tray.CreateTray();
  tray.UpdateTray();
  tray.ReAddTray();
  tray.ImagesChanged();
  tray.DeleteTray();
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(tray.TrayIconId(), 0u);
}

// How the icon lives through a shell that refuses calls, forgets the icon or announces itself again.
TEST(TrayController, FollowsTheShellThroughRefusalsAndRestarts) {
  struct Step {
    char op;       // c CreateTray, r ReAddTray ("TaskbarCreated"), u UpdateTray with a new tip,
                   // s UpdateTray with the same tip, f the shell restarts and forgets its icons, d DeleteTray
    bool shellUp;  // whether the shell takes calls during the step
    const char* calls;
  };
  struct Row {
    const char* name;
    std::vector<Step> steps;
  };
  const Row rows[] = {
      {"a busy shell at sign-in takes the icon late",
       {{'c', false, "a"}, {'u', false, "a"}, {'s', true, "AM"}, {'u', true, "M"}, {'d', true, "D"}}},
      {"an icon the shell never took is not removed", {{'c', false, "a"}, {'u', false, "a"}, {'d', true, ""}}},
      {"a refused modify is sent again whole", {{'c', true, "AM"}, {'u', false, "m"}, {'s', true, "aM"}, {'s', true, ""}, {'d', true, "D"}}},
      {"a re-add refused, then the modify refused",
       {{'c', true, "AM"}, {'r', false, "am"}, {'s', true, "aM"}, {'u', true, "M"}, {'d', true, "D"}}},
      {"a re-announced shell that holds the icon", {{'c', true, "AM"}, {'r', true, "aM"}, {'u', true, "M"}, {'d', true, "D"}}},
      {"a restarted shell gets the icon back", {{'c', true, "AM"}, {'f', true, ""}, {'r', true, "AM"}, {'d', true, "D"}}},
      {"a shell that lost the icon unannounced", {{'c', true, "AM"}, {'f', true, ""}, {'u', true, "m"}, {'s', true, "AM"}, {'d', true, "D"}}},
      {"a re-announced busy shell before the first add", {{'c', false, "a"}, {'r', false, "a"}, {'u', true, "AM"}, {'d', true, "D"}}},
      {"the icon is removed once", {{'c', true, "AM"}, {'d', true, "D"}, {'d', true, ""}, {'u', true, ""}}},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.name);
    FakeHost host;
    Tray tray(host);
    int minute = 0;
    for (const Step& step : row.steps) {
      SCOPED_TRACE(std::string(1, step.op));
      host.shellUp = step.shellUp;
      host.letters.clear();
      switch (step.op) {
        case 'c': tray.CreateTray(); break;
        case 'r': tray.ReAddTray(); break;
        case 'u':
          host.zone.minute = ++minute;
          tray.UpdateTray();
          break;
        case 's': tray.UpdateTray(); break;
        case 'f': host.held = false; break;
        case 'd': tray.DeleteTray(); break;
      }
      EXPECT_EQ(host.letters, step.calls);
    }
    EXPECT_FALSE(host.held) << "nothing is left in the notification area";
  }
}

TEST(CutTip, KeepsAtMost127UnitsAndWholeCharacters) {
  auto repeat = [](const std::string& text, int times) {
    std::string all;
    for (int i = 0; i < times; ++i) all += text;
    return all;
  };
  struct Row {
    std::string tip;
    std::size_t expectedBytes;
  };
  const Row rows[] = {
      {std::string(127, 'a'), 127},
      {std::string(128, 'a'), 127},
      {std::string(5000, 'a'), 127},
      {"", 0},
      // Characters of several bytes take one unit each: 127 of them fit.
      {repeat("\xe6\x9d\xb1", 130), 127 * 3},
      {repeat("\xc3\xa9", 100), 200},
      // A surrogate pair straddling the end goes whole; one ending there stays.
      {std::string(126, 'a') + "\xf0\x9f\x95\x90", 126},
      {std::string(125, 'a') + "\xf0\x9f\x95\x90" + "z", 129},
      // So does a letter with its combining accent.
      {std::string(126, 'a') + "e\xcc\x81", 126},
      {std::string(125, 'a') + "e\xcc\x81" + "z", 128},
      // A stray lead byte is a character of its own: the whole character after it is cut before.
      {std::string(126, 'a') + "\xc3" + "\xe3\x81\x82", 127},
  };
  for (const Row& row : rows) {
    std::string cut = CutTip(row.tip);
    EXPECT_EQ(cut.size(), row.expectedBytes) << row.tip.size();
    EXPECT_EQ(row.tip.compare(0, cut.size(), cut), 0);
  }
}
