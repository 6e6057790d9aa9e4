// The offset field: how it is shown, and which texts it accepts.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "clock/decimal_text.h"
#include "ui/offset_text.h"

TEST(OffsetText, ShowsFifteenSignificantDigits) {
  struct Row {
    double offset;
    const char* text;
  };
  const Row rows[] = {
      {0.0, "0"}, {5.5, "5.5"}, {-19.0, "-19"}, {0.5, "0.5"}, {1.0 / 3.0, "0.333333333333333"},
      {24.0, "24"}, {-24.0, "-24"}, {5.75, "5.75"}, {30.0, "30"},
  };
  for (const Row& row : rows) EXPECT_EQ(FormatOffsetText(row.offset), row.text) << row.offset;
}

TEST(OffsetText, ReadsDecimalNumbersOnly) {
  struct Row {
    std::string text;
    bool accepted;
    double value;
  };
  const Row rows[] = {
      {"5.5", true, 5.5},
      {"0", true, 0.0},
      {"1e1", true, 10.0},
      {"-24", true, -24.0},
      {"24", true, 24.0},
      {"  7  ", true, 7.0},
      {"\t7\t", true, 7.0},
      {".5", true, 0.5},
      {"+3", true, 3.0},
      {"0.0", true, 0.0},
      {"00", true, 0.0},
      {"24.5", true, 24.5},   // accepted as a number; the range check refuses it
      {"1e999", true, HUGE_VAL},
      {"abc", false, 0},
      {"", false, 0},
      {"   ", false, 0},
      {"-0", false, 0},
      {"+0", false, 0},
      {".0", false, 0},
      {"7h", false, 0},
      {"5,5", false, 0},
      {"1e-999", false, 0},   // underflows to zero without a leading 0
      {"0x10", false, 0},
      {"inf", false, 0},
      {"nan", false, 0},
      {"1 2", false, 0},
      // Only the first 31 characters count: the x past them is never seen.
      {std::string(30, ' ') + "7" + "x", true, 7.0},
      {std::string(31, ' ') + "7", false, 0},
  };
  for (const Row& row : rows) {
    double value = -123.0;
    EXPECT_EQ(ParseOffsetText(row.text, &value), row.accepted) << '"' << row.text << '"';
    if (row.accepted) EXPECT_EQ(value, row.value) << '"' << row.text << '"';
    else EXPECT_EQ(value, -123.0) << "a refused text leaves the offset alone";
  }
}

TEST(OffsetText, RangeIsInclusiveAndRefusesNotANumber) {
  EXPECT_TRUE(OffsetInRange(-24.0));
  EXPECT_TRUE(OffsetInRange(24.0));
  EXPECT_FALSE(OffsetInRange(24.5));
  EXPECT_FALSE(OffsetInRange(-25.0));
  EXPECT_FALSE(OffsetInRange(HUGE_VAL));
  EXPECT_FALSE(OffsetInRange(std::nan("")));
}

TEST(OffsetText, FillsPromptPlaceholders) {
  EXPECT_EQ(FormatPrompt("Please enter a number between %1 and %2.", "-24", "24"),
            "Please enter a number between -24 and 24.");
  EXPECT_EQ(FormatPrompt("Please enter no more than %1 characters.", "10"),
            "Please enter no more than 10 characters.");
  EXPECT_EQ(FormatPrompt("100%", "x"), "100%");
}

TEST(DecimalText, ReadsTheLongestDecimalPrefix) {
  struct Row {
    const char* text;
    double value;
  };
  const Row rows[] = {
      {"24", 24.0}, {"  7.25xyz", 7.25}, {"5,5", 5.0}, {"abc", 0.0}, {"", 0.0}, {"1e2", 100.0},
      {"0x10", 0.0}, {"inf", 0.0}, {"nan", 0.0}, {"-3.5", -3.5}, {"1e", 1.0}, {"1e+", 1.0},
      {"-.5e1", -5.0}, {"\n\t 3", 3.0},
  };
  for (const Row& row : rows) EXPECT_EQ(DecimalToDouble(row.text), row.value) << row.text;
  EXPECT_EQ(DecimalToDouble(nullptr), 0.0);
}
