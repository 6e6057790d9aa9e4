// The per-user profile in the registry: HKEY_CURRENT_USER\software\<company>\<application>\<section>.
#ifndef FARHOUR_CLOCK_REGISTRY_PROFILE_STORE_WIN_H
#define FARHOUR_CLOCK_REGISTRY_PROFILE_STORE_WIN_H

#include <string>

#include "base/handles_win.h"
#include "clock/profile_store.h"

class RegistryProfileStore : public ProfileStore {
 public:
  RegistryProfileStore(std::string companyKey, std::string applicationName);

  // REG_SZ, REG_EXPAND_SZ (not expanded) and REG_MULTI_SZ read up to their first zero byte, at any
  // length; other kinds, and a missing value, give def.
  std::string GetProfileString(const std::string& section, const char* name,
                               const std::string& def) override;
  // Only a REG_DWORD of exactly 4 bytes is read; anything else gives def.
  int GetProfileInt(const std::string& section, const char* name, int def) override;
  // REG_SZ of the text's length plus one bytes.
  bool WriteProfileString(const std::string& section, const char* name,
                          const std::string& value) override;
  // REG_DWORD of 4 bytes.
  bool WriteProfileInt(const std::string& section, const char* name, int value) override;
  // A value of any kind and size counts.
  bool HasValue(const std::string& section, const char* name) override;

  // The section's key, opened anew through the whole chain and created when missing; empty when
  // "software" cannot be opened or a key cannot be created.
  RegKey OpenSection(const std::string& section) const;

 private:
  std::string companyKey_;
  std::string applicationName_;
};

#endif
