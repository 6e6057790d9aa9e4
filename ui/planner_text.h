// What the call planner writes: a place's time in the user's formats, the converter's lines and the
// line that names the best hours. The patterns come from the string table.
#ifndef FARHOUR_UI_PLANNER_TEXT_H
#define FARHOUR_UI_PLANNER_TEXT_H

#include <ctime>
#include <string>
#include <vector>

#include "clock/call_planner.h"

struct PlannerTexts {
  std::string dayNames[7];  // abbreviated as the user's locale writes them, Sunday first
  std::string timeFormat;   // strftime format of the user's short time
  // %1 the day and time, %2 the place's name.
  std::string atWorkLine;  // "%1 %2"
  std::string closedLine;  // "%1 %2 (closed)"
  std::string dayOffLine;  // "%1 %2 (weekend)"
  std::string range;       // "%1-%2": the first and the last hour of a run
  // %1 the hours, the runs separated by ", ".
  std::string allAtWork;   // "Everyone is at work: %1"
  // %1 the hours, each run followed by the names of those at work then.
  std::string mostAtWork;  // "No hour holds all of them. Most are at work: %1"
  std::string noneAtWork;  // "No one is at work on this day."
};

// "Wed 3:00 PM": the day of the place and its time.
std::string MomentText(const PlaceMoment& moment, const PlannerTexts& texts);

// One line per place, in the rows' order, at the instant.
std::vector<std::string> ConverterLines(const std::vector<PlannerPlace>& places, std::time_t instant,
                                        const PlannerTexts& texts);

// The grid's best hours as a sentence: those when every counted place is at work, else those when
// the most are, with their names.
std::string BestHoursText(const PlannerGrid& grid, const std::vector<PlannerPlace>& places, const PlannerTexts& texts);

// A cell's hour: "15" (or "3" on a 12-hour clock), with its minutes where the place's clock is not on
// the hour ("5:30").
std::string HourLabel(const std::tm& time, bool twentyFourHours);

// The locale's time picture without its seconds ("h:mm:ss tt" is "h:mm tt"), for the short times of
// systems that have no picture of their own for them. Quoted text stays.
std::string WithoutSeconds(const std::string& timePicture);

// How far the place's clock is from the clock here at the same instant, as its row shows it: "+13",
// "-3:30", "+5:45", "0".
std::string DifferenceLabel(const std::tm& there, const std::tm& here);

#endif
