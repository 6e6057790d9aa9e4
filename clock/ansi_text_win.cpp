#include "clock/ansi_text_win.h"

#include <windows.h>

namespace {

std::size_t DoubleByteCharacterLength(const char* text, std::size_t) {
  return IsDBCSLeadByte(static_cast<BYTE>(text[0])) ? 2 : 1;
}

}  // namespace

CharacterLength AnsiCharacterLength() {
  const UINT codePage = GetACP();
  if (codePage == CP_UTF8) return Utf8CharacterLength;
  CPINFO info;
  if (GetCPInfo(codePage, &info) && info.MaxCharSize > 1) return DoubleByteCharacterLength;
  return nullptr;
}
