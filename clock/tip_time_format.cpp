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

bool StartsTwoByteCharacter(LeadBytePredicate isLeadByte, const std::string& text, size_t i) {
  return isLeadByte && i + 1 < text.size() && text[i] != '%' &&
         isLeadByte(static_cast<unsigned char>(text[i]));
}

}  // namespace

// The first occurrence of picture, searching by characters (a match never starts on the second
// byte of a two-byte character), is replaced by directive, unless the character just before it is
// a "%": then the occurrence is the letter of a directive an earlier row made, and nothing changes
// (later occurrences are not looked at). A second byte that happens to be "%" is not a "%".
void ReplaceFirstPicture(std::string& format, const char* picture, const char* directive,
                         LeadBytePredicate isLeadByte) {
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
    if (StartsTwoByteCharacter(isLeadByte, format, i)) {
      afterPercent = false;
      i += 2;
    } else {
      afterPercent = format[i] == '%';
      i += 1;
    }
  }
}

// strftime reads its format byte by byte in the default locale, so every "%" byte it will meet
// must begin a shared conversion or be part of "%%". A "%" that begins anything else, a lone
// trailing "%", and a "%" that is the second byte of a two-byte character are doubled: strftime
// then writes exactly that byte, and the character survives whole.
std::string MakeStrftimeSafe(const std::string& format, LeadBytePredicate isLeadByte) {
  std::string safe;
  safe.reserve(format.size() + 8);
  size_t i = 0;
  while (i < format.size()) {
    if (StartsTwoByteCharacter(isLeadByte, format, i)) {
      safe += format[i];
      safe += format[i + 1];
      if (format[i + 1] == '%') safe += '%';
      i += 2;
    } else if (format[i] == '%') {
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

std::string ConvertPictures(const std::string& timePicture, const std::string& longDatePicture,
                            LeadBytePredicate isLeadByte) {
  std::string format = timePicture + ". " + longDatePicture;
  for (const PictureRow& row : CONVERSIONS) {
    ReplaceFirstPicture(format, row.picture, row.directive, isLeadByte);
  }
  return MakeStrftimeSafe(format, isLeadByte);
}
