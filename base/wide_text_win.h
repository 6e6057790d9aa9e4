// The one crossing of text between the program, which holds UTF-8, and the platform's W calls,
// which take UTF-16. Nothing else converts.
#ifndef FARHOUR_BASE_WIDE_TEXT_WIN_H
#define FARHOUR_BASE_WIDE_TEXT_WIN_H

#include <windows.h>

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// UTF-16 text as the W calls take it, always zero-terminated. A vector rather than std::wstring
// keeps the runtime's wide strings, some 35 KB, out of the program.
class WideText {
 public:
  WideText() : units_(1, L'\0') {}
  explicit WideText(std::vector<wchar_t> units) : units_(std::move(units)) { units_.push_back(L'\0'); }
  const wchar_t* c_str() const { return units_.data(); }
  // For the calls that write into their text.
  wchar_t* data() { return units_.data(); }
  std::size_t size() const { return units_.size() - 1; }

 private:
  std::vector<wchar_t> units_;
};

// UTF-8 text for the W calls; a malformed byte becomes U+FFFD.
WideText Wide(const std::string& utf8);

// UTF-8 of length units of text, or of text up to its zero when length is negative; an unpaired
// surrogate becomes U+FFFD.
std::string Utf8(const wchar_t* text, int length = -1);

#endif
