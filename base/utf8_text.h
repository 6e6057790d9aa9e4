// Text inside the program is UTF-8. Windows counts text in UTF-16 units (a character beyond the
// first 65,536 takes two) and people count what they see (a letter and its accents are one).
#ifndef FARHOUR_BASE_UTF8_TEXT_H
#define FARHOUR_BASE_UTF8_TEXT_H

#include <cstddef>
#include <string>

// The bytes of the UTF-8 sequence at the start of text, of the available ones (at least one). A
// byte that starts no whole, well-formed sequence is a character of its own, so a whole character
// after it is never taken for part of it.
std::size_t Utf8SequenceLength(const char* text, std::size_t available);

// How many UTF-16 units text takes; a malformed byte takes one, as its replacement does.
std::size_t Utf16Length(const std::string& text);

// How many characters a person counts: a combining mark, a variation selector or what a zero-width
// joiner joins belongs to the character before it.
std::size_t CountCharacters(const std::string& text);

// The longest start of text that takes at most maxUnits UTF-16 units and ends between two
// characters as CountCharacters counts them: no surrogate pair, no sequence of a letter and its
// marks, is split.
std::string CutToUtf16Units(const std::string& text, std::size_t maxUnits);

// The text without the spaces and tabs at its start and end.
std::string TrimmedSpaces(const std::string& text);

#endif
