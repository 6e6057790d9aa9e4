// Text in the ANSI code page, which may hold characters of more than one byte.
#ifndef FARHOUR_CLOCK_ANSI_TEXT_H
#define FARHOUR_CLOCK_ANSI_TEXT_H

#include <cstddef>
#include <string>

// How many bytes the character at the start of text takes, of the available ones (at least one):
// 2 for a lead byte of a double-byte code page, 2 to 4 for a UTF-8 sequence, 1 otherwise. Null
// stands for a single-byte page.
using CharacterLength = std::size_t (*)(const char* text, std::size_t available);

// UTF-8's rule, for a code page that is UTF-8. A lead byte without all its continuation bytes is a
// character of its own, so a whole character after it is never taken for part of it.
std::size_t Utf8CharacterLength(const char* text, std::size_t available);

// The bytes of the character at text[i]: 1 where the text ends before the character does.
std::size_t CharacterBytesAt(const std::string& text, std::size_t i, CharacterLength characterLength);

// At most the first maxBytes bytes of text, ending before a character that would not fit whole.
std::string CutText(const std::string& text, std::size_t maxBytes, CharacterLength characterLength);

#endif
