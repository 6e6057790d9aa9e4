// The user's time and long-date pictures turned into a strftime format, token by token.
#include "clock/tip_time_format.h"

#include <cstring>

namespace {

struct PictureRow {
  const char* picture;
  const char* directive;
};

// Longer tokens of a letter come first, so a token is converted whole before its single letters
// are looked for. Each row converts at most one token.
const PictureRow CONVERSIONS[] = {
    {"dddd", "%A"}, {"ddd", "%a"}, {"dd", "%d"},   {"d", "%d"},  {"MMMM", "%B"}, {"MMM", "%b"},
    {"MM", "%m"},   {"M", "%m"},   {"yyyy", "%Y"}, {"yy", "%y"}, {"y", "%y"},    {"hh", "%I"},
    {"h", "%I"},    {"HH", "%H"},  {"H", "%H"},    {"mm", "%M"}, {"m", "%M"},    {"ss", "%S"},
    {"s", "%S"},    {"tt", "%p"},  {"t", "%p"},
};

// Conversions that every C runtime's strftime knows, the C89 set the pictures can produce and a few
// more. Anything else after a "%" may end the process in Microsoft's runtimes.
bool IsSharedConversion(char c) {
  return c != '\0' && std::strchr("aAbBcdHIjmMpSUwWxXyY%", c) != nullptr;
}

}  // namespace

// The first occurrence of picture is replaced by directive, unless the character just before it is
// a "%": then the occurrence is the letter of a directive an earlier row made, and nothing changes
// (later occurrences are not looked at). The text is UTF-8, whose characters of several bytes hold
// no ASCII byte, so a match never starts inside one.
void ReplaceFirstPicture(std::string& format, const char* picture, const char* directive) {
  // An empty picture would match everywhere; there is nothing to convert.
  if (!picture || !*picture || !directive) return;
  const size_t pictureLength = std::strlen(picture);
  bool afterPercent = false;
  size_t i = 0;
  while (i < format.size()) {
    if (format.compare(i, pictureLength, picture) == 0) {
      if (afterPercent) return;
      format.replace(i, pictureLength, directive);
      return;
    }
    afterPercent = format[i] == '%';
    ++i;
  }
}

// strftime reads its format byte by byte in the default locale, so every "%" byte it will meet
// must begin a shared conversion or be part of "%%". A "%" that begins anything else and a lone
// trailing "%" are doubled: strftime then writes exactly that byte. Every other byte, those of
// UTF-8's characters of several bytes included, it copies as it is.
std::string MakeStrftimeSafe(const std::string& format) {
  std::string safe;
  safe.reserve(format.size() + 8);
  size_t i = 0;
  while (i < format.size()) {
    if (format[i] == '%') {
      if (i + 1 < format.size() && IsSharedConversion(format[i + 1])) {
        safe += format[i];
        safe += format[i + 1];
        i += 2;
      } else {
        safe += "%%";
        i += 1;
      }
    } else {
      safe += format[i];
      i += 1;
    }
  }
  return safe;
}

bool IsStrftimeSafe(const std::string& format) {
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (i + 1 >= format.size() || !IsSharedConversion(format[i + 1])) return false;
    ++i;
  }
  return true;
}

std::string ConvertPictures(const std::string& timePicture, const std::string& longDatePicture) {
  return ConvertPicture(timePicture + ". " + longDatePicture);
}

std::string ConvertPicture(const std::string& picture) {
  std::string format = picture;
  for (const PictureRow& row : CONVERSIONS) {
    ReplaceFirstPicture(format, row.picture, row.directive);
  }
  return MakeStrftimeSafe(format);
}

bool UsesTwelveHourClock(const std::string& format) {
  for (size_t i = 0; i + 1 < format.size(); ++i) {
    if (format[i] != '%') continue;
    if (format[i + 1] == 'I') return true;
    if (format[i + 1] == 'H') return false;
    ++i;  // the conversion's letter, or the second "%" of "%%"
  }
  return false;
}
