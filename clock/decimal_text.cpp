#include "clock/decimal_text.h"

#include <cctype>
#include <cstdlib>
#include <string>

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::size_t ScanDecimal(const char* text, double* value) {
  *value = 0.0;
  if (!text) return 0;
  std::size_t i = 0;
  if (text[i] == '+' || text[i] == '-') ++i;
  std::size_t digits = 0;
  while (IsDigit(text[i])) { ++i; ++digits; }
  if (text[i] == '.') {
    ++i;
    while (IsDigit(text[i])) { ++i; ++digits; }
  }
  if (digits == 0) return 0;
  if (text[i] == 'e' || text[i] == 'E') {
    std::size_t j = i + 1;
    if (text[j] == '+' || text[j] == '-') ++j;
    if (IsDigit(text[j])) {
      while (IsDigit(text[j])) ++j;
      i = j;
    }
  }
  // strtod only ever sees the decimal prefix, so its own extensions cannot come into play.
  std::string number(text, i);
  *value = std::strtod(number.c_str(), nullptr);
  return i;
}

double DecimalToDouble(const char* text) {
  if (!text) return 0.0;
  while (*text && std::isspace(static_cast<unsigned char>(*text))) ++text;
  double value = 0.0;
  ScanDecimal(text, &value);
  return value;
}
