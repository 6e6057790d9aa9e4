// A profile kept in memory, with the registry's rules: values have kinds, reads never fail but fall
// back to their default, and writes create what is missing. The tests' stand-in for the registry.
#ifndef FARHOUR_CLOCK_MEMORY_PROFILE_STORE_H
#define FARHOUR_CLOCK_MEMORY_PROFILE_STORE_H

#include <memory>
#include <string>
#include <vector>

#include "clock/profile_store.h"

// The kinds of stored data, as the registry distinguishes them.
enum class StoredKind {
  TEXT,     // text followed by a zero byte (REG_SZ)
  INTEGER,  // a 32-bit integer, 4 bytes little-endian (REG_DWORD)
  BYTES,    // anything else (REG_BINARY, REG_QWORD, ...)
};

struct StoredValue {
  StoredKind kind = StoredKind::BYTES;
  std::string bytes;
};

// One read or write, as the store saw it.
struct ProfileAccess {
  bool write = false;
  std::string section;
  std::string name;
};

class MemoryProfileStore : public ProfileStore {
 public:
  // Text values read up to their first zero byte; any other kind gives def. Only an integer of
  // exactly 4 bytes is read as one. A section's HasValue counts among no accesses.
  std::unique_ptr<ProfileSection> OpenSection(const std::string& section) override;
  std::unique_ptr<ProfileSection> OpenExistingSection(const std::string& section) override;
  // True once a section was opened or written (opening makes it, as the registry's reads do).
  bool HasSection(const std::string& section) const override;
  bool DeleteSection(const std::string& section) override;
  std::vector<std::string> SectionNames() const override;

  // Stores data of any kind, as a hand edit of the registry could.
  void SetRaw(const std::string& section, const std::string& name, StoredKind kind,
              const std::string& bytes);
  // False when there was no such value.
  bool DeleteValue(const std::string& section, const std::string& name);
  // The stored kind and bytes; null when missing. Valid until the store next changes.
  const StoredValue* GetRaw(const std::string& section, const std::string& name) const;
  // The value names of a section, in the order they were first stored.
  std::vector<std::string> ValueNames(const std::string& section) const;
  // An unreachable store: every read gives its default, every write fails, nothing is created.
  void SetUnreachable(bool unreachable) { unreachable_ = unreachable; }
  // Every read and write in order, including those of an unreachable store.
  const std::vector<ProfileAccess>& Accesses() const { return accesses_; }
  // How often a section was opened, the unreachable store's tries included.
  int SectionOpens() const { return sectionOpens_; }

 private:
  class MemorySection;
  struct NamedValue {
    std::string name;
    StoredValue value;
  };
  struct Section {
    std::string name;
    std::vector<NamedValue> values;
  };

  std::string ReadStoredText(const std::string& section, const char* name, const std::string& def);
  int ReadStoredInt(const std::string& section, const char* name, int def);
  bool Write(const std::string& section, const char* name, StoredValue value);
  Section* FindSection(const std::string& section);
  const Section* FindSection(const std::string& section) const;
  Section* MakeSection(const std::string& section);
  const StoredValue* Find(const std::string& section, const std::string& name) const;
  void Store(const std::string& section, const std::string& name, StoredValue value);

  std::vector<Section> sections_;
  std::vector<ProfileAccess> accesses_;
  int sectionOpens_ = 0;
  bool unreachable_ = false;
};

#endif
