// Decimal numbers in text, read the same way whatever the C runtime: a sign, digits, a point,
// digits and an optional exponent. No hexadecimal, no "inf" or "nan", and always a point.
#ifndef FARHOUR_CLOCK_DECIMAL_TEXT_H
#define FARHOUR_CLOCK_DECIMAL_TEXT_H

#include <cstddef>

// Reads the longest decimal number at the start of text (no blanks skipped) into *value.
// Returns the number of characters it took; 0, with *value 0.0, when there is none.
std::size_t ScanDecimal(const char* text, double* value);

// atof restricted to decimal numbers: leading white space skipped, 0.0 when there is no number.
double DecimalToDouble(const char* text);

#endif
