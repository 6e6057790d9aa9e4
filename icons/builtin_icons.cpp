#include "icons/builtin_icons.h"

// Stored settings hold the position in this list, so entries are never reordered or removed.
const char* const BUILTIN_ICON_NAMES[BUILTIN_ICON_COUNT] = {
    "Farhour",     "Australia",   "Austria",      "Belgium",  "Brazil",  "Canada",         "Denmark",
    "Finland",     "France",      "Germany",      "Ireland",  "Italy",   "Japan",          "Mexico",
    "Netherlands", "Norway",      "New Zealand",  "Portugal", "South Africa", "Russia",    "Spain",
    "Sweden",      "Switzerland", "Turkey",       "United Kingdom", "USA", "Face",         "Phone",
};
