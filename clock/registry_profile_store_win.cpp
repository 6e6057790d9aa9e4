// Every operation opens the key chain anew and closes it after its one value, so several processes
// sharing a section never hold it open, and a key deleted while the program runs is made again.
#include "clock/registry_profile_store_win.h"

#include <cstring>
#include <new>
#include <utility>
#include <vector>

namespace {

const REGSAM ACCESS = KEY_READ | KEY_WRITE;

// A value that keeps growing between the size query and the read is given up after a few tries.
const int TEXT_READ_ATTEMPTS = 4;

RegKey CreateSubKey(HKEY parent, const char* name) {
  RegKey key;
  DWORD disposition = 0;
  if (RegCreateKeyExA(parent, name, 0, nullptr, REG_OPTION_NON_VOLATILE, ACCESS, nullptr,
                      key.Receive(), &disposition) != ERROR_SUCCESS) {
    key.Reset();
  }
  return key;
}

bool IsTextKind(DWORD kind) {
  return kind == REG_SZ || kind == REG_EXPAND_SZ || kind == REG_MULTI_SZ;
}

}  // namespace

RegistryProfileStore::RegistryProfileStore(std::string companyKey, std::string applicationName)
    : companyKey_(std::move(companyKey)), applicationName_(std::move(applicationName)) {}

RegKey RegistryProfileStore::OpenSection(const std::string& section) const {
  // The Software key is only opened: a profile without one is not ours to make.
  RegKey software;
  if (RegOpenKeyExA(HKEY_CURRENT_USER, "software", 0, ACCESS, software.Receive()) !=
      ERROR_SUCCESS) {
    return RegKey();
  }
  RegKey company = CreateSubKey(software.Get(), companyKey_.c_str());
  software.Reset();
  if (!company) return RegKey();
  RegKey application = CreateSubKey(company.Get(), applicationName_.c_str());
  company.Reset();
  if (!application) return RegKey();
  return CreateSubKey(application.Get(), section.c_str());
}

std::string RegistryProfileStore::GetProfileString(const std::string& section, const char* name,
                                                   const std::string& def) {
  RegKey key = OpenSection(section);
  if (!key) return def;
  DWORD kind = 0;
  DWORD size = 0;
  if (RegQueryValueExA(key.Get(), name, nullptr, &kind, nullptr, &size) != ERROR_SUCCESS ||
      !IsTextKind(kind)) {
    return def;
  }
  try {
    for (int attempt = 0; attempt < TEXT_READ_ATTEMPTS; ++attempt) {
      if (size == MAXDWORD) return def;  // no room for the spare byte below
      // One spare zero byte past the data, so text stored without its terminator still ends
      // inside the buffer.
      std::vector<char> buffer(static_cast<size_t>(size) + 1, '\0');
      DWORD got = size;
      LONG status = RegQueryValueExA(key.Get(), name, nullptr, &kind,
                                     reinterpret_cast<BYTE*>(buffer.data()), &got);
      if (status == ERROR_MORE_DATA) {
        // The value grew since its size was asked; got now holds the new size.
        size = got;
        continue;
      }
      if (status != ERROR_SUCCESS || !IsTextKind(kind)) return def;
      if (got > size) got = size;
      const char* end = static_cast<const char*>(std::memchr(buffer.data(), '\0', got));
      return std::string(buffer.data(), end ? static_cast<size_t>(end - buffer.data()) : got);
    }
  } catch (const std::bad_alloc&) {
    // A value too large to hold reads as missing, like any other unreadable one.
  }
  return def;
}

int RegistryProfileStore::GetProfileInt(const std::string& section, const char* name, int def) {
  RegKey key = OpenSection(section);
  if (!key) return def;
  DWORD kind = 0;
  DWORD data = 0;
  DWORD size = sizeof data;
  // Longer data fails with ERROR_MORE_DATA, shorter data and other kinds are not an integer.
  if (RegQueryValueExA(key.Get(), name, nullptr, &kind, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      kind != REG_DWORD || size != sizeof data) {
    return def;
  }
  return static_cast<int>(data);
}

bool RegistryProfileStore::WriteProfileString(const std::string& section, const char* name,
                                              const std::string& value) {
  RegKey key = OpenSection(section);
  if (!key) return false;
  // The text up to its first zero byte, and that byte: what a read gives back.
  const DWORD size = static_cast<DWORD>(std::strlen(value.c_str()) + 1);
  return RegSetValueExA(key.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                        size) == ERROR_SUCCESS;
}

bool RegistryProfileStore::WriteProfileInt(const std::string& section, const char* name,
                                           int value) {
  RegKey key = OpenSection(section);
  if (!key) return false;
  const DWORD data = static_cast<DWORD>(value);
  return RegSetValueExA(key.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                        sizeof data) == ERROR_SUCCESS;
}

bool RegistryProfileStore::HasValue(const std::string& section, const char* name) {
  RegKey key = OpenSection(section);
  if (!key) return false;
  return RegQueryValueExA(key.Get(), name, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
