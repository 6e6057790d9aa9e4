#include "base/wide_text_win.h"

WideText Wide(const std::string& utf8) {
  if (utf8.empty()) return WideText();
  const int size = static_cast<int>(utf8.size());
  const int length = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, nullptr, 0);
  if (length <= 0) return WideText();
  std::vector<wchar_t> units(static_cast<std::size_t>(length));
  (void)MultiByteToWideChar(CP_UTF8, 0, utf8.data(), size, units.data(), length);
  return WideText(std::move(units));
}

std::string Utf8(const wchar_t* text, int length) {
  if (!text) return std::string();
  if (length < 0) length = lstrlenW(text);
  if (length == 0) return std::string();
  const int bytes = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return std::string();
  std::string utf8(static_cast<std::size_t>(bytes), '\0');
  (void)WideCharToMultiByte(CP_UTF8, 0, text, length, &utf8[0], bytes, nullptr, nullptr);
  return utf8;
}
