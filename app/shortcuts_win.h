// The shortcuts that start this program for one place, in the user's Startup folder (the place
// starts at sign-in) and Start menu. A shortcut belongs to a place by what it starts, this program
// with the place's number, never by its name: the user names shortcuts as they like.
#ifndef FARHOUR_APP_SHORTCUTS_WIN_H
#define FARHOUR_APP_SHORTCUTS_WIN_H

#include <string>
#include <vector>

// The path of this program's file; empty when it is too long for the ANSI calls.
std::string ThisProgram();
// The Startup folder holds a shortcut that starts the place.
bool StartsAtSignIn(int instanceNumber);
// Makes the place start at sign-in, with a shortcut "Farhour <number>.lnk" in the Startup folder,
// unless one starts it already. A file of that name that starts something else stays: the new one
// gets a name of its own. False when no shortcut could be made.
bool MakeStartupShortcut(int instanceNumber);
// Deletes the shortcuts that start the place from the Startup folder, and for a numbered place from
// the Start menu too: the Start menu's unnumbered shortcut starts the program itself, and stays.
// Returns the paths of those that could not be deleted.
std::vector<std::string> DeletePlaceShortcuts(int instanceNumber);

#endif
