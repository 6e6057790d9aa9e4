#include "clock/ansi_text.h"

std::size_t Utf8CharacterLength(const char* text, std::size_t available) {
  const auto first = static_cast<unsigned char>(text[0]);
  std::size_t length = 1;
  if (first >= 0xC0 && first <= 0xDF) length = 2;
  if (first >= 0xE0 && first <= 0xEF) length = 3;
  if (first >= 0xF0 && first <= 0xF7) length = 4;
  if (length > available) return 1;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[k]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

std::size_t CharacterBytesAt(const std::string& text, std::size_t i, CharacterLength characterLength) {
  if (!characterLength || i >= text.size()) return 1;
  const std::size_t available = text.size() - i;
  const std::size_t bytes = characterLength(text.data() + i, available);
  return bytes >= 1 && bytes <= available ? bytes : 1;
}

std::string CutText(const std::string& text, std::size_t maxBytes, CharacterLength characterLength) {
  if (text.size() <= maxBytes) return text;
  std::size_t end = 0;
  while (end < maxBytes) {
    const std::size_t next = end + CharacterBytesAt(text, end, characterLength);
    if (next > maxBytes) break;
    end = next;
  }
  return text.substr(0, end);
}
