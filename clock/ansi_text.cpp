#include "clock/ansi_text.h"

std::size_t Utf8CharacterLength(unsigned char firstByte) {
  if (firstByte >= 0xF0 && firstByte <= 0xF7) return 4;
  if (firstByte >= 0xE0) return firstByte <= 0xEF ? 3 : 1;
  if (firstByte >= 0xC0) return 2;
  return 1;
}

std::size_t CharacterBytesAt(const std::string& text, std::size_t i, CharacterLength characterLength) {
  if (!characterLength || i >= text.size()) return 1;
  const std::size_t bytes = characterLength(static_cast<unsigned char>(text[i]));
  return bytes >= 1 && i + bytes <= text.size() ? bytes : 1;
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
