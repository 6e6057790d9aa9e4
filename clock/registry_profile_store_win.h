// The per-user profile in the registry: HKEY_CURRENT_USER\software\<company>\<application>\<section>,
// and the program's one reader of each kind of registry value.
#ifndef FARHOUR_CLOCK_REGISTRY_PROFILE_STORE_WIN_H
#define FARHOUR_CLOCK_REGISTRY_PROFILE_STORE_WIN_H

#include <memory>
#include <string>
#include <vector>

#include "base/handles_win.h"
#include "clock/profile_store.h"

// REG_SZ, REG_EXPAND_SZ (not expanded) and REG_MULTI_SZ in UTF-8, up to their first zero, at any
// length; false for other kinds, a missing value or one too large to hold. Names are UTF-8 too.
bool ReadRegistryText(HKEY key, const char* name, std::string* text);
// Only a REG_DWORD of exactly 4 bytes; false for anything else.
bool ReadRegistryInt(HKEY key, const char* name, int* value);

class RegistryProfileStore : public ProfileStore {
 public:
  RegistryProfileStore(std::string companyKey, std::string applicationName);

  // Opens the key chain once for the section's life. Texts are written as REG_SZ in UTF-16, up to
  // their first zero and with it, integers as REG_DWORD of 4 bytes; HasValue counts a value of any kind.
  std::unique_ptr<ProfileSection> OpenSection(const std::string& section) override;
  std::unique_ptr<ProfileSection> OpenExistingSection(const std::string& section) override;
  bool HasSection(const std::string& section) const override;
  bool DeleteSection(const std::string& section) override;
  std::vector<std::string> SectionNames() const override;

  // The section's key, opened anew through the whole chain and created when missing; empty when
  // "software" cannot be opened or a key cannot be created.
  RegKey OpenSectionKey(const std::string& section) const;

 private:
  // The application's key, created when missing only if create says so.
  RegKey OpenApplicationKey(bool create) const;

  std::string companyKey_;
  std::string applicationName_;
};

#endif
