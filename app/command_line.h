// What a start of the program asks for, read from its command line: the place's number, and whether
// the place's properties window comes to the front at once, as for a place just added from another
// place's menu.
#ifndef FARHOUR_APP_COMMAND_LINE_H
#define FARHOUR_APP_COMMAND_LINE_H

#include <string>

struct StartRequest {
  int instanceNumber = 0;
  bool showProperties = false;
};

// The number as atoi reads it from the start of the text; the switch "/properties" (in any case) as
// one of the words after it. Nothing else is read.
StartRequest ParseCommandLine(const char* commandLine);

// The arguments that start the place with its properties window in front.
std::string ShowPropertiesArguments(int instanceNumber);

#endif
