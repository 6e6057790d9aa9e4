#include "app/clock_app_win.h"

#include "app/command_line.h"
#include "app/copies_win.h"
#include "app/places_win.h"
#include "clock/place_settings.h"
#include "clock/registry_profile_store_win.h"
#include "res/identity.h"
#include "ui/dialog_window_win.h"
#include "ui/place_dialog_win.h"

namespace {
// How long a second start of a running place waits for that copy to show its window.
constexpr DWORD RUNNING_COPY_WAIT_MS = 8000;
}

ClockApp::ClockApp(HINSTANCE instance, const char* commandLine)
    : instance_(instance), commandLine_(commandLine) {}

int ClockApp::InitInstance() {
  const StartRequest request = ParseCommandLine(commandLine_);
  const std::string section = SettingsSection(request.instanceNumber);
  // A second start of a running place shows that copy's window instead, and touches no settings.
  PlaceLock lock(section);
  if (!lock.Held()) return ShowRunningCopy(section, RUNNING_COPY_WAIT_MS) ? 0 : 1;
  RegistryProfileStore store(COMPANY_NAME, ApplicationTitle(instance_));
  Places places(store);
  PlaceDialog dialog(instance_, store, places, request.instanceNumber, request.showProperties);
  HWND previousForeground = GetForegroundWindow();
  INT_PTR result = dialog.RunHidden(previousForeground);
  return result == 1 ? 0 : 1;
}
