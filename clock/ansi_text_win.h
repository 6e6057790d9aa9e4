// The ANSI code page of this process, as the portable text code sees it.
#ifndef FARHOUR_CLOCK_ANSI_TEXT_WIN_H
#define FARHOUR_CLOCK_ANSI_TEXT_WIN_H

#include "clock/ansi_text.h"

// The character rule of the ANSI code page: null for a single-byte page, the lead-byte rule for a
// double-byte page, UTF-8's where the ANSI code page is UTF-8.
CharacterLength AnsiCharacterLength();

#endif
