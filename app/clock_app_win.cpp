#include "app/clock_app_win.h"

#include "clock/place_settings.h"
#include "clock/registry_profile_store_win.h"
#include "ui/dialog_window_win.h"
#include "ui/place_dialog_win.h"

namespace {
const char* const COMPANY_KEY = "Brindlewood";
}

ClockApp::ClockApp(HINSTANCE instance, const char* commandLine)
    : instance_(instance), commandLine_(commandLine) {}

int ClockApp::InitInstance() {
  RegistryProfileStore store(COMPANY_KEY, ApplicationTitle(instance_));
  int instanceNumber = ParseInstanceNumber(commandLine_);
  PlaceDialog dialog(instance_, store, instanceNumber);
  HWND previousForeground = GetForegroundWindow();
  INT_PTR result = dialog.RunHidden(previousForeground);
  return result == 1 ? 0 : 1;
}
