#include "ui/work_week.h"

int WeekdayAtPosition(int firstDay, int position) {
  if (firstDay < 0 || firstDay >= DAYS_IN_WEEK) firstDay = 0;
  // Windows counts from Monday, the C library from Sunday.
  return (firstDay + 1 + position) % DAYS_IN_WEEK;
}

std::string LiteralLabel(const std::string& text) {
  std::string label;
  label.reserve(text.size());
  for (char c : text) {
    if (c == '&') label += '&';
    label += c;
  }
  return label;
}
