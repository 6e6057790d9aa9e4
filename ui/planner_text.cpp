#include "ui/planner_text.h"

#include <cmath>
#include <cstring>

#include "clock/remote_clock.h"
#include "clock/zone_clock.h"
#include "ui/offset_text.h"

namespace {

std::string ColumnTime(const PlannerGrid& grid, size_t column, const PlannerTexts& texts) {
  const std::tm* here = std::localtime(&grid.columns[column]);
  return here ? FormatTimeText(*here, texts.timeFormat) : std::string();
}

// The names of the counted places at work in the column, separated by ", ".
std::string NamesAtWork(const PlannerGrid& grid, const std::vector<PlannerPlace>& places, size_t column) {
  std::string names;
  for (size_t row = 0; row < places.size() && row < grid.cells.size(); ++row) {
    if (!places[row].counted || grid.cells[row][column].state != WorkState::AT_WORK) continue;
    if (!names.empty()) names += ", ";
    names += places[row].settings.place;
  }
  return names;
}

}  // namespace

std::string MomentText(const PlaceMoment& moment, const PlannerTexts& texts) {
  if (moment.state == WorkState::UNKNOWN) return std::string();
  const int day = moment.time.tm_wday;
  const std::string dayName = day >= 0 && day <= 6 ? texts.dayNames[day] : std::string();
  return dayName + " " + FormatTimeText(moment.time, texts.timeFormat);
}

std::vector<std::string> ConverterLines(const std::vector<PlannerPlace>& places, std::time_t instant,
                                        const PlannerTexts& texts) {
  std::vector<std::string> lines;
  for (const PlannerPlace& place : places) {
    const PlaceMoment moment = PlaceMomentAt(place, instant);
    const std::string* pattern = &texts.atWorkLine;
    if (moment.state == WorkState::CLOSED) pattern = &texts.closedLine;
    if (moment.state == WorkState::DAY_OFF) pattern = &texts.dayOffLine;
    lines.push_back(FormatPrompt(*pattern, MomentText(moment, texts), place.settings.place));
  }
  return lines;
}

std::string BestHoursText(const PlannerGrid& grid, const std::vector<PlannerPlace>& places, const PlannerTexts& texts) {
  std::string runs;
  size_t column = 0;
  while (column < grid.best.size()) {
    if (!grid.best[column]) {
      ++column;
      continue;
    }
    // A run: consecutive best columns, and where not all are at work, the same people.
    const std::string names = grid.allAtWork ? std::string() : NamesAtWork(grid, places, column);
    size_t last = column;
    while (last + 1 < grid.best.size() && grid.best[last + 1] &&
           (grid.allAtWork || NamesAtWork(grid, places, last + 1) == names)) {
      ++last;
    }
    if (!runs.empty()) runs += ", ";
    runs += last == column ? ColumnTime(grid, column, texts)
                           : FormatPrompt(texts.range, ColumnTime(grid, column, texts), ColumnTime(grid, last, texts));
    if (!grid.allAtWork) runs += " (" + names + ")";
    column = last + 1;
  }
  if (runs.empty()) return texts.noneAtWork;
  return FormatPrompt(grid.allAtWork ? texts.allAtWork : texts.mostAtWork, runs);
}

std::string HourLabel(const std::tm& time, bool twentyFourHours) {
  int hour = time.tm_hour;
  if (!twentyFourHours) hour = hour % 12 == 0 ? 12 : hour % 12;
  std::string label = std::to_string(hour);
  if (time.tm_min != 0) label += (time.tm_min < 10 ? ":0" : ":") + std::to_string(time.tm_min);
  return label;
}

std::string WithoutSeconds(const std::string& timePicture) {
  std::string picture;
  bool quoted = false;
  for (char c : timePicture) {
    if (c == '\'') quoted = !quoted;
    if (quoted || c != 's') {
      picture += c;
      continue;
    }
    // The separator before the seconds goes with them.
    while (!picture.empty() && std::strchr(":.,", picture.back()) != nullptr) picture.pop_back();
  }
  return picture;
}

std::string DifferenceLabel(const std::tm& there, const std::tm& here) {
  const long long minutes = static_cast<long long>(std::llround(EffectiveOffsetHours(there, here) * 60.0));
  if (minutes == 0) return "0";
  const long long size = minutes < 0 ? -minutes : minutes;
  std::string label = (minutes < 0 ? "-" : "+") + std::to_string(size / 60);
  if (size % 60 != 0) label += (size % 60 < 10 ? ":0" : ":") + std::to_string(size % 60);
  return label;
}
