#include "app/command_line.h"

#include <cctype>

#include "clock/place_settings.h"

namespace {

const char SHOW_PROPERTIES_SWITCH[] = "/properties";

bool SameWord(const char* word, std::size_t length, const char* expected) {
  std::size_t i = 0;
  for (; i < length && expected[i]; ++i) {
    if (std::tolower(static_cast<unsigned char>(word[i])) != expected[i]) return false;
  }
  return i == length && !expected[i];
}

bool IsSpace(char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; }

}  // namespace

StartRequest ParseCommandLine(const char* commandLine) {
  StartRequest request;
  request.instanceNumber = ParseInstanceNumber(commandLine);
  if (!commandLine) return request;
  for (const char* at = commandLine; *at;) {
    while (IsSpace(*at)) ++at;
    const char* end = at;
    while (*end && !IsSpace(*end)) ++end;
    const std::size_t length = static_cast<std::size_t>(end - at);
    // With the switch alone, atoi reads no number: the unnumbered place.
    if (length > 0 && SameWord(at, length, SHOW_PROPERTIES_SWITCH)) request.showProperties = true;
    at = end;
  }
  return request;
}

std::string ShowPropertiesArguments(int instanceNumber) {
  return std::to_string(instanceNumber) + " " + SHOW_PROPERTIES_SWITCH;
}
