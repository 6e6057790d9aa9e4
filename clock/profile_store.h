// The per-user profile: named values in named sections, read with a default and written whole.
#ifndef FARHOUR_CLOCK_PROFILE_STORE_H
#define FARHOUR_CLOCK_PROFILE_STORE_H

#include <string>

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The stored text, or def when the value is missing or cannot be read as text.
  virtual std::string GetProfileString(const std::string& section, const char* name,
                                       const std::string& def) = 0;
  // The stored 32-bit integer, or def when the value is missing or is not a 4-byte integer.
  virtual int GetProfileInt(const std::string& section, const char* name, int def) = 0;
  // Store one value, creating the section when missing. False when it could not be stored.
  virtual bool WriteProfileString(const std::string& section, const char* name,
                                  const std::string& value) = 0;
  virtual bool WriteProfileInt(const std::string& section, const char* name, int value) = 0;
  // Whether the section holds the value, of any kind. False when the store cannot be reached.
  virtual bool HasValue(const std::string& section, const char* name) = 0;
};

#endif
