// The in-memory profile. Names are compared without regard to case, like the registry's.
#include "clock/memory_profile_store.h"

#include <cstdint>
#include <utility>

namespace {

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = static_cast<unsigned char>(a[i]);
    unsigned char y = static_cast<unsigned char>(b[i]);
    if (x >= 'A' && x <= 'Z') x = static_cast<unsigned char>(x - 'A' + 'a');
    if (y >= 'A' && y <= 'Z') y = static_cast<unsigned char>(y - 'A' + 'a');
    if (x != y) return false;
  }
  return true;
}

}  // namespace

class MemoryProfileStore::MemorySection : public ProfileSection {
 public:
  MemorySection(MemoryProfileStore& store, std::string section)
      : store_(store), section_(std::move(section)) {}
  std::string GetString(const char* name, const std::string& def) override {
    return store_.ReadStoredText(section_, name, def);
  }
  int GetInt(const char* name, int def) override { return store_.ReadStoredInt(section_, name, def); }
  bool WriteString(const char* name, const std::string& value) override {
    // Like a REG_SZ write: the text up to its first zero byte, then one zero byte.
    std::string bytes(value.c_str());
    bytes.push_back('\0');
    return store_.Write(section_, name, {StoredKind::TEXT, bytes});
  }
  bool WriteInt(const char* name, int value) override {
    const uint32_t bits = static_cast<uint32_t>(value);
    std::string bytes(4, '\0');
    for (size_t i = 0; i < 4; ++i) bytes[i] = static_cast<char>((bits >> (8 * i)) & 0xFF);
    return store_.Write(section_, name, {StoredKind::INTEGER, bytes});
  }
  bool HasValue(const char* name) override {
    return !store_.unreachable_ && store_.Find(section_, name) != nullptr;
  }

 private:
  MemoryProfileStore& store_;
  std::string section_;
};

std::unique_ptr<ProfileSection> MemoryProfileStore::OpenSection(const std::string& section) {
  ++sectionOpens_;
  if (!unreachable_) (void)MakeSection(section);
  return std::unique_ptr<ProfileSection>(new MemorySection(*this, section));
}

std::unique_ptr<ProfileSection> MemoryProfileStore::OpenExistingSection(const std::string& section) {
  ++sectionOpens_;
  if (unreachable_ || !FindSection(section)) return nullptr;
  return std::unique_ptr<ProfileSection>(new MemorySection(*this, section));
}

bool MemoryProfileStore::DeleteSection(const std::string& section) {
  if (unreachable_) return false;
  for (auto it = sections_.begin(); it != sections_.end(); ++it) {
    if (SameName(it->name, section)) {
      sections_.erase(it);
      break;
    }
  }
  return true;
}

std::string MemoryProfileStore::ReadStoredText(const std::string& section, const char* name,
                                         const std::string& def) {
  accesses_.push_back({false, section, name});
  if (unreachable_) return def;
  const StoredValue* value = Find(section, name);
  if (!value || value->kind != StoredKind::TEXT) return def;
  // Text ends at its first zero byte, or at the end of the data when it has none.
  return std::string(value->bytes.c_str());
}

int MemoryProfileStore::ReadStoredInt(const std::string& section, const char* name, int def) {
  accesses_.push_back({false, section, name});
  if (unreachable_) return def;
  const StoredValue* value = Find(section, name);
  if (!value || value->kind != StoredKind::INTEGER || value->bytes.size() != 4) return def;
  uint32_t bits = 0;
  for (size_t i = 4; i-- > 0;) bits = (bits << 8) | static_cast<unsigned char>(value->bytes[i]);
  return static_cast<int32_t>(bits);
}

bool MemoryProfileStore::Write(const std::string& section, const char* name, StoredValue value) {
  accesses_.push_back({true, section, name});
  if (unreachable_) return false;
  Store(section, name, std::move(value));
  return true;
}

void MemoryProfileStore::SetRaw(const std::string& section, const std::string& name,
                                StoredKind kind, const std::string& bytes) {
  Store(section, name, {kind, bytes});
}

bool MemoryProfileStore::DeleteValue(const std::string& section, const std::string& name) {
  Section* s = FindSection(section);
  if (!s) return false;
  for (auto it = s->values.begin(); it != s->values.end(); ++it) {
    if (SameName(it->name, name)) {
      s->values.erase(it);
      return true;
    }
  }
  return false;
}

const StoredValue* MemoryProfileStore::GetRaw(const std::string& section,
                                              const std::string& name) const {
  return Find(section, name);
}

std::vector<std::string> MemoryProfileStore::ValueNames(const std::string& section) const {
  std::vector<std::string> names;
  if (const Section* s = FindSection(section)) {
    for (const NamedValue& v : s->values) names.push_back(v.name);
  }
  return names;
}

std::vector<std::string> MemoryProfileStore::SectionNames() const {
  std::vector<std::string> names;
  if (unreachable_) return names;
  for (const Section& s : sections_) names.push_back(s.name);
  return names;
}

bool MemoryProfileStore::HasSection(const std::string& section) const {
  return FindSection(section) != nullptr;
}

MemoryProfileStore::Section* MemoryProfileStore::FindSection(const std::string& section) {
  for (Section& s : sections_) {
    if (SameName(s.name, section)) return &s;
  }
  return nullptr;
}

const MemoryProfileStore::Section* MemoryProfileStore::FindSection(
    const std::string& section) const {
  for (const Section& s : sections_) {
    if (SameName(s.name, section)) return &s;
  }
  return nullptr;
}

MemoryProfileStore::Section* MemoryProfileStore::MakeSection(const std::string& section) {
  if (Section* s = FindSection(section)) return s;
  sections_.push_back({section, {}});
  return &sections_.back();
}

const StoredValue* MemoryProfileStore::Find(const std::string& section,
                                            const std::string& name) const {
  const Section* s = FindSection(section);
  if (!s) return nullptr;
  for (const NamedValue& v : s->values) {
    if (SameName(v.name, name)) return &v.value;
  }
  return nullptr;
}

void MemoryProfileStore::Store(const std::string& section, const std::string& name,
                               StoredValue value) {
  Section* s = MakeSection(section);
  for (NamedValue& v : s->values) {
    if (SameName(v.name, name)) {
      v.value = std::move(value);
      return;
    }
  }
  s->values.push_back({name, std::move(value)});
}
