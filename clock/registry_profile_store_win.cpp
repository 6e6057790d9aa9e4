// A load or a save opens the key chain once and closes it when done, so several processes never
// hold a section open for long, and a key deleted while the program runs is made again.
#include "clock/registry_profile_store_win.h"

#include <new>
#include <utility>
#include <vector>

#include "base/wide_text_win.h"

namespace {

const REGSAM ACCESS = KEY_READ | KEY_WRITE;

// A value that keeps growing between the size query and the read is given up after a few tries.
const int TEXT_READ_ATTEMPTS = 4;

RegKey CreateSubKey(HKEY parent, const std::string& name) {
  RegKey key;
  DWORD disposition = 0;
  if (RegCreateKeyExW(parent, Wide(name).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, ACCESS, nullptr,
                      key.Receive(), &disposition) != ERROR_SUCCESS) {
    key.Reset();
  }
  return key;
}

RegKey OpenSubKey(HKEY parent, const std::string& name, REGSAM access) {
  RegKey key;
  if (RegOpenKeyExW(parent, Wide(name).c_str(), 0, access, key.Receive()) != ERROR_SUCCESS) key.Reset();
  return key;
}

bool IsTextKind(DWORD kind) {
  return kind == REG_SZ || kind == REG_EXPAND_SZ || kind == REG_MULTI_SZ;
}

class RegistrySection : public ProfileSection {
 public:
  explicit RegistrySection(RegKey key) : key_(std::move(key)) {}

  std::string GetString(const char* name, const std::string& def) override {
    std::string text;
    return key_ && ReadRegistryText(key_.Get(), name, &text) ? text : def;
  }
  int GetInt(const char* name, int def) override {
    int value = 0;
    return key_ && ReadRegistryInt(key_.Get(), name, &value) ? value : def;
  }
  bool WriteString(const char* name, const std::string& value) override {
    if (!key_) return false;
    // The text up to its first zero, and that zero: what a read gives back.
    const WideText text = Wide(value.c_str());
    const DWORD size = static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key_.Get(), Wide(name).c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                          size) == ERROR_SUCCESS;
  }
  bool WriteInt(const char* name, int value) override {
    if (!key_) return false;
    const DWORD data = static_cast<DWORD>(value);
    return RegSetValueExW(key_.Get(), Wide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
  }
  bool HasValue(const char* name) override {
    return key_ &&
           RegQueryValueExW(key_.Get(), Wide(name).c_str(), nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
  }

 private:
  RegKey key_;
};

}  // namespace

bool ReadRegistryText(HKEY key, const char* name, std::string* text) {
  const WideText wideName = Wide(name);
  DWORD kind = 0;
  DWORD size = 0;
  if (RegQueryValueExW(key, wideName.c_str(), nullptr, &kind, nullptr, &size) != ERROR_SUCCESS ||
      !IsTextKind(kind)) {
    return false;
  }
  try {
    for (int attempt = 0; attempt < TEXT_READ_ATTEMPTS; ++attempt) {
      // The data's bytes, an odd last one included, and one spare zero past them, so text stored
      // without its terminator still ends inside the buffer.
      const size_t units = size / sizeof(wchar_t) + 2;
      std::vector<wchar_t> buffer(units, L'\0');
      DWORD got = size;
      LONG status =
          RegQueryValueExW(key, wideName.c_str(), nullptr, &kind, reinterpret_cast<BYTE*>(buffer.data()), &got);
      if (status == ERROR_MORE_DATA) {
        // The value grew since its size was asked; got now holds the new size.
        size = got;
        continue;
      }
      if (status != ERROR_SUCCESS || !IsTextKind(kind)) return false;
      if (got > size) got = size;
      // An odd byte at the end is half a unit: it reads as nothing.
      const size_t gotUnits = got / sizeof(wchar_t);
      size_t length = 0;
      while (length < gotUnits && buffer[length] != L'\0') ++length;
      *text = Utf8(buffer.data(), static_cast<int>(length));
      return true;
    }
  } catch (const std::bad_alloc&) {
    // A value too large to hold reads as missing, like any other unreadable one.
  }
  return false;
}

bool ReadRegistryInt(HKEY key, const char* name, int* value) {
  DWORD kind = 0;
  DWORD data = 0;
  DWORD size = sizeof data;
  // Longer data fails with ERROR_MORE_DATA, shorter data and other kinds are not an integer.
  if (RegQueryValueExW(key, Wide(name).c_str(), nullptr, &kind, reinterpret_cast<BYTE*>(&data), &size) !=
          ERROR_SUCCESS ||
      kind != REG_DWORD || size != sizeof data) {
    return false;
  }
  *value = static_cast<int>(data);
  return true;
}

RegistryProfileStore::RegistryProfileStore(std::string companyKey, std::string applicationName)
    : companyKey_(std::move(companyKey)), applicationName_(std::move(applicationName)) {}

RegKey RegistryProfileStore::OpenApplicationKey(bool create) const {
  // The Software key is only opened: a profile without one is not ours to make.
  RegKey software = OpenSubKey(HKEY_CURRENT_USER, "software", ACCESS);
  if (!software) return RegKey();
  RegKey company = create ? CreateSubKey(software.Get(), companyKey_)
                          : OpenSubKey(software.Get(), companyKey_, ACCESS);
  software.Reset();
  if (!company) return RegKey();
  return create ? CreateSubKey(company.Get(), applicationName_)
                : OpenSubKey(company.Get(), applicationName_, ACCESS);
}

RegKey RegistryProfileStore::OpenSectionKey(const std::string& section) const {
  RegKey application = OpenApplicationKey(true);
  if (!application) return RegKey();
  return CreateSubKey(application.Get(), section);
}

std::unique_ptr<ProfileSection> RegistryProfileStore::OpenSection(const std::string& section) {
  return std::unique_ptr<ProfileSection>(new RegistrySection(OpenSectionKey(section)));
}

std::unique_ptr<ProfileSection> RegistryProfileStore::OpenExistingSection(const std::string& section) {
  RegKey application = OpenApplicationKey(false);
  if (!application) return nullptr;
  RegKey key = OpenSubKey(application.Get(), section, ACCESS);
  if (!key) return nullptr;
  return std::unique_ptr<ProfileSection>(new RegistrySection(std::move(key)));
}

bool RegistryProfileStore::HasSection(const std::string& section) const {
  RegKey application = OpenApplicationKey(false);
  return application && OpenSubKey(application.Get(), section, KEY_READ);
}

std::vector<std::string> RegistryProfileStore::SectionNames() const {
  std::vector<std::string> names;
  RegKey application = OpenApplicationKey(false);
  if (!application) return names;
  // A registry key's name has at most 255 characters.
  wchar_t name[256];
  for (DWORD index = 0;; ++index) {
    DWORD length = sizeof name / sizeof name[0];
    const LONG status =
        RegEnumKeyExW(application.Get(), index, name, &length, nullptr, nullptr, nullptr, nullptr);
    if (status == ERROR_MORE_DATA) continue;
    if (status != ERROR_SUCCESS) break;
    names.push_back(Utf8(name, static_cast<int>(length)));
  }
  return names;
}

bool RegistryProfileStore::DeleteSection(const std::string& section) {
  RegKey application = OpenApplicationKey(false);
  if (!application) return !HasSection(section);
  // A section holds values only; RegDeleteKey removes it with them.
  const LONG status = RegDeleteKeyW(application.Get(), Wide(section).c_str());
  return status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND;
}
