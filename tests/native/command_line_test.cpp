// What a start asks for: the place's number as it always was, and the switch with which a place
// added from another's menu brings its properties window to the front.
#include "app/command_line.h"

#include <gtest/gtest.h>

namespace {

struct CommandLineCase {
  const char* commandLine;
  int instanceNumber;
  bool showProperties;
};

class CommandLines : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLines, GiveTheNumberAndTheSwitch) {
  const CommandLineCase& c = GetParam();
  const StartRequest request = ParseCommandLine(c.commandLine);
  EXPECT_EQ(request.instanceNumber, c.instanceNumber);
  EXPECT_EQ(request.showProperties, c.showProperties);
}

const CommandLineCase COMMAND_LINE_CASES[] = {
    {nullptr, 0, false},
    {"", 0, false},
    {"3", 3, false},
    {"3 /properties", 3, true},
    {"  12\t/PROPERTIES  ", 12, true},
    {"/properties", 0, true},
    {"3 extra /Properties", 3, true},
    // Not the switch: a longer word, a word that only ends with it, or the number run into it.
    {"3 /propertiesx", 3, false},
    {"3 x/properties", 3, false},
    {"3/properties", 3, false},
    {"3 /propertie", 3, false},
    {"-2 /properties", -2, true},
};
INSTANTIATE_TEST_SUITE_P(Starts, CommandLines, ::testing::ValuesIn(COMMAND_LINE_CASES));

// The arguments a place is started with from another's menu read back as that place, shown.
TEST(CommandLines, ShowPropertiesArgumentsReadBackAsThePlaceShown) {
  for (int number : {1, 7, 2147483647}) {
    const StartRequest request = ParseCommandLine(ShowPropertiesArguments(number).c_str());
    EXPECT_EQ(request.instanceNumber, number);
    EXPECT_TRUE(request.showProperties) << number;
  }
}

}  // namespace
