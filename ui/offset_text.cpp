#include "ui/offset_text.h"

#include <cstdio>

#include "clock/decimal_text.h"

std::string FormatOffsetText(double offset) {
  // A negative zero ("-0.000000" stored, or a tiny negative offset saved in six decimals) is shown
  // as 0: the field refuses "-0", and must accept whatever it shows.
  if (offset == 0.0) offset = 0.0;
  char text[64];
  std::snprintf(text, sizeof text, "%.*g", 15, offset);
  return text;
}

bool ParseOffsetText(const std::string& text, double* offset) {
  std::string head = text.substr(0, OFFSET_TEXT_MAX);
  std::size_t start = head.find_first_not_of(" \t");
  if (start == std::string::npos) return false;
  const char* number = head.c_str() + start;
  double value = 0.0;
  std::size_t used = ScanDecimal(number, &value);
  // A zero is only taken as such when it is written with a leading 0: "-0" and ".0" are refused.
  if (value == 0.0 && number[0] != '0') return false;
  for (const char* rest = number + used; *rest; ++rest) {
    if (*rest != ' ' && *rest != '\t') return false;
  }
  *offset = value;
  return true;
}

bool OffsetInRange(double offset) {
  return offset >= OFFSET_MIN && offset <= OFFSET_MAX;
}

std::string FormatPrompt(const std::string& prompt, const std::string& arg1,
                         const std::string& arg2, const std::string& arg3) {
  const std::string* args[] = {&arg1, &arg2, &arg3};
  std::string out;
  for (std::size_t i = 0; i < prompt.size(); ++i) {
    if (prompt[i] == '%' && i + 1 < prompt.size() && prompt[i + 1] >= '1' && prompt[i + 1] <= '3') {
      out += *args[prompt[i + 1] - '1'];
      ++i;
    } else {
      out += prompt[i];
    }
  }
  return out;
}
