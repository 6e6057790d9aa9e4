#include "app/clock_app_win.h"

#include "app/command_line.h"
#include "app/copies_win.h"
#include "app/places_win.h"
#include "base/wide_text_win.h"
#include "clock/place_settings.h"
#include "clock/registry_profile_store_win.h"
#include "res/identity.h"
#include "ui/dialog_window_win.h"
#include "ui/place_dialog_win.h"

namespace {
// How long a second start of a running place waits for that copy to show its window.
constexpr DWORD RUNNING_COPY_WAIT_MS = 8000;

// The command line after the program's name, which may be quoted and hold spaces.
std::string Arguments() {
  const std::string line = Utf8(GetCommandLineW());
  std::size_t i = 0;
  if (!line.empty() && line[0] == '"') {
    const std::size_t close = line.find('"', 1);
    i = close == std::string::npos ? line.size() : close + 1;
  } else {
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
  }
  while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
  return line.substr(i);
}

}  // namespace

ClockApp::ClockApp(HINSTANCE instance) : instance_(instance) {}

int ClockApp::InitInstance() {
  const StartRequest request = ParseCommandLine(Arguments().c_str());
  const std::string section = SettingsSection(request.instanceNumber);
  // A second start of a running place shows that copy's window instead, and touches no settings.
  PlaceLock lock(section);
  if (!lock.Held()) return ShowRunningCopy(section, RUNNING_COPY_WAIT_MS) ? 0 : 1;
  RegistryProfileStore store(COMPANY_NAME, ApplicationTitle(instance_));
  Places places(instance_, store);
  PlaceDialog dialog(instance_, store, places, request.instanceNumber, request.showProperties);
  HWND previousForeground = GetForegroundWindow();
  INT_PTR result = dialog.RunHidden(previousForeground);
  return result == 1 ? 0 : 1;
}
