// The order of the work-day boxes and their labels.
#include "ui/work_week.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct WeekCase {
  int firstDay;       // as the locale gives it: 0 Monday to 6 Sunday
  const char* order;  // the boxes' days, by the C library's numbers
};

class WeekOrders : public ::testing::TestWithParam<WeekCase> {};

TEST_P(WeekOrders, StartOnTheLocalesFirstDayAndHoldEveryDayOnce) {
  std::string order;
  for (int position = 0; position < DAYS_IN_WEEK; ++position) {
    order += static_cast<char>('0' + WeekdayAtPosition(GetParam().firstDay, position));
  }
  EXPECT_EQ(GetParam().order, order);
}

const WeekCase WEEK_CASES[] = {
    {0, "1234560"},  // Monday: Germany, most of Europe
    {6, "0123456"},  // Sunday: the United States, Japan
    {5, "6012345"},  // Saturday: Egypt, Iran
    {-1, "1234560"}, {7, "1234560"}, {48, "1234560"},  // unreadable: Monday
};
INSTANTIATE_TEST_SUITE_P(Locales, WeekOrders, ::testing::ValuesIn(WEEK_CASES));

TEST(LiteralLabel, DoublesEveryAmpersandAndKeepsTheRest) {
  EXPECT_EQ("&&&&x&&", LiteralLabel("&&x&"));
  EXPECT_EQ("\x8c\x8e", LiteralLabel("\x8c\x8e"));  // a double-byte name
}

}  // namespace
