// The offset field of the properties window, as text.
#ifndef FARHOUR_UI_OFFSET_TEXT_H
#define FARHOUR_UI_OFFSET_TEXT_H

#include <string>

#include "clock/place_settings.h"

// Only this many characters of the field are read.
constexpr std::size_t OFFSET_TEXT_MAX = 31;

// Offset as the field shows it: 15 significant digits, no trailing zeros (5.5, -19, 0).
std::string FormatOffsetText(double offset);

// Reads the field's text; false when it is not a number (the "-0", ".0", "7h" and empty cases
// among them). Leading spaces and tabs are skipped, trailing ones allowed.
bool ParseOffsetText(const std::string& text, double* offset);

// Whether an accepted offset lies within OFFSET_MIN to OFFSET_MAX (not a number never does).
bool OffsetInRange(double offset);

// Replaces %1, %2 ... in a prompt with the given texts.
std::string FormatPrompt(const std::string& prompt, const std::string& arg1,
                         const std::string& arg2 = std::string(), const std::string& arg3 = std::string());

#endif
