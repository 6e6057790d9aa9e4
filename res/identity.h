// Who the program is: its maker, its name and the name under which each place keeps its settings.
// The settings' key, the running copies' locks and windows, the shortcuts and the resources' texts
// all go by these; the setup program's script spells the same names.
#ifndef FARHOUR_RES_IDENTITY_H
#define FARHOUR_RES_IDENTITY_H

#define COMPANY_NAME                "Brindlewood"
#define APPLICATION_NAME            "Farhour"
// The unnumbered place's section; place N's is this name followed by N.
#define SETTINGS_SECTION            "Settings"
// The call planner's own settings: the user's working hours and days.
#define PLANNER_SECTION             "Planner"
// The places whose settings the last sign-out could not save, by their sections' names.
#define NOT_SAVED_SECTION           "NotSaved"

#endif
