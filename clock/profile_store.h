// The per-user profile: named values in named sections, read with a default and written whole.
#ifndef FARHOUR_CLOCK_PROFILE_STORE_H
#define FARHOUR_CLOCK_PROFILE_STORE_H

#include <memory>
#include <string>
#include <vector>

// One section, open for as long as the object lives: a whole load or save goes through one.
class ProfileSection {
 public:
  virtual ~ProfileSection() = default;
  // The stored text, or def when the value is missing or cannot be read as text.
  virtual std::string GetString(const char* name, const std::string& def) = 0;
  // The stored 32-bit integer, or def when the value is missing or is not a 4-byte integer.
  virtual int GetInt(const char* name, int def) = 0;
  // False when the value could not be stored.
  virtual bool WriteString(const char* name, const std::string& value) = 0;
  virtual bool WriteInt(const char* name, int value) = 0;
  // Whether the section holds the value, of any kind. False when the store cannot be reached.
  virtual bool HasValue(const char* name) = 0;
};

class ProfileStore {
 public:
  virtual ~ProfileStore() = default;
  // The section, created when missing, as the profile's reads have always made it. Never null: a
  // store that cannot be reached gives a section whose reads give their defaults and whose writes
  // fail.
  virtual std::unique_ptr<ProfileSection> OpenSection(const std::string& section) = 0;
  // The section when it is there, without making it; null when it is not, or the store cannot be
  // reached. Reading a place that may be removed meanwhile never brings it back.
  virtual std::unique_ptr<ProfileSection> OpenExistingSection(const std::string& section) = 0;
  // Whether the section is there, without making it.
  virtual bool HasSection(const std::string& section) const = 0;
  // The names of the sections there, in no particular order; empty when the store cannot be reached.
  virtual std::vector<std::string> SectionNames() const = 0;
  // Removes the section and its values. True when it is gone, also when it was never there.
  virtual bool DeleteSection(const std::string& section) = 0;

  // One value, with the section opened for it alone. (Not named after the profile calls of old:
  // windows.h makes those names macros.)
  std::string ReadText(const std::string& section, const char* name, const std::string& def) {
    return OpenSection(section)->GetString(name, def);
  }
  int ReadInt(const std::string& section, const char* name, int def) {
    return OpenSection(section)->GetInt(name, def);
  }
  bool WriteText(const std::string& section, const char* name, const std::string& value) {
    return OpenSection(section)->WriteString(name, value);
  }
  bool WriteInt(const std::string& section, const char* name, int value) {
    return OpenSection(section)->WriteInt(name, value);
  }
  // Makes no section.
  bool HasValue(const std::string& section, const char* name) {
    return HasSection(section) && OpenSection(section)->HasValue(name);
  }
};

#endif
