// Turns the user's time and long-date pictures into a strftime format for the tip.
#ifndef FARHOUR_CLOCK_TIP_TIME_FORMAT_H
#define FARHOUR_CLOCK_TIP_TIME_FORMAT_H

#include <string>

// Replaces at most the first occurrence of picture in the UTF-8 format by directive (see the .cpp
// for the rule).
void ReplaceFirstPicture(std::string& format, const char* picture, const char* directive);

// Escapes every "%" that does not begin a conversion all C runtimes share, so that strftime can
// neither fail nor end the process on it. Formats made only of converted pictures pass unchanged.
std::string MakeStrftimeSafe(const std::string& format);

// Whether MakeStrftimeSafe, reading byte by byte, would leave format as it is; copies nothing.
bool IsStrftimeSafe(const std::string& format);

// time picture + ". " + long-date picture, converted row by row, then made safe.
std::string ConvertPictures(const std::string& timePicture, const std::string& longDatePicture);

// One picture, converted row by row, then made safe.
std::string ConvertPicture(const std::string& picture);

// Whether a tip format (as ConvertPictures makes it) writes the hour on a 12-hour clock: its first
// hour conversion is "%I" rather than "%H". False for a format without an hour.
bool UsesTwelveHourClock(const std::string& format);

#endif
