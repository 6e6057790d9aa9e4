// Shortcuts through the shell's own link object (IShellLinkW and IPersistFile).
#include "app/shortcuts_win.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <vector>

#include "base/handles_win.h"
#include "base/wide_text_win.h"
#include "clock/place_settings.h"
#include "res/identity.h"

namespace {

// A shortcut's arguments are short; a longer text is cut and still read from its start.
constexpr int ARGUMENTS_MAX = 1024;
// "Farhour 3.lnk" is taken by something else: "Farhour 3 (2).lnk" and so on, this far.
constexpr int NAME_TRIES = 9;

// COM for the calls of one operation; the thread may have it already.
class ComSession {
 public:
  ComSession() : started_(SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) {}
  ~ComSession() {
    if (started_) CoUninitialize();
  }
  ComSession(const ComSession&) = delete;
  ComSession& operator=(const ComSession&) = delete;

 private:
  bool started_;
};

// The same file whatever the case or the short form of its names.
std::string NormalPath(const std::string& path) {
  wchar_t longPath[MAX_PATH] = L"";
  const DWORD got = GetLongPathNameW(Wide(path).c_str(), longPath, MAX_PATH);
  const std::string known = got > 0 && got < MAX_PATH ? Utf8(longPath) : path;
  wchar_t full[MAX_PATH] = L"";
  const DWORD length = GetFullPathNameW(Wide(known).c_str(), MAX_PATH, full, nullptr);
  return length > 0 && length < MAX_PATH ? Utf8(full) : known;
}

bool SamePath(const std::string& a, const std::string& b) {
  return !a.empty() && lstrcmpiW(Wide(NormalPath(a)).c_str(), Wide(NormalPath(b)).c_str()) == 0;
}

std::string KnownFolder(int csidl) {
  wchar_t path[MAX_PATH] = L"";
  if (FAILED(SHGetFolderPathW(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::string();
  return Utf8(path);
}

struct ShellLink {
  ComRef<IShellLinkW> link;
  ComRef<IPersistFile> file;
};

bool MakeShellLink(ShellLink* shellLink) {
  void* link = nullptr;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, &link))) {
    return false;
  }
  shellLink->link = ComRef<IShellLinkW>(static_cast<IShellLinkW*>(link));
  void* file = nullptr;
  if (FAILED(shellLink->link.Get()->QueryInterface(IID_IPersistFile, &file))) return false;
  shellLink->file = ComRef<IPersistFile>(static_cast<IPersistFile*>(file));
  return true;
}

// Whether the shortcut file starts this program for the place.
bool StartsPlace(const std::string& shortcut, const std::string& program, int instanceNumber) {
  ShellLink shellLink;
  if (!MakeShellLink(&shellLink)) return false;
  if (FAILED(shellLink.file.Get()->Load(Wide(shortcut).c_str(), STGM_READ))) return false;
  wchar_t target[MAX_PATH] = L"";
  if (shellLink.link.Get()->GetPath(target, MAX_PATH, nullptr, SLGP_RAWPATH) != S_OK) return false;
  if (!SamePath(Utf8(target), program)) return false;
  wchar_t arguments[ARGUMENTS_MAX] = L"";
  if (FAILED(shellLink.link.Get()->GetArguments(arguments, ARGUMENTS_MAX))) return false;
  arguments[ARGUMENTS_MAX - 1] = L'\0';
  // The program reads its number as these arguments give it: "", "0" and "-3" all start place 0.
  return SettingsSection(ParseInstanceNumber(Utf8(arguments).c_str())) == SettingsSection(instanceNumber);
}

// The shortcuts of the folder that start the place.
std::vector<std::string> PlaceShortcuts(const std::string& folder, int instanceNumber) {
  std::vector<std::string> found;
  const std::string program = ThisProgram();
  if (folder.empty() || program.empty()) return found;
  WIN32_FIND_DATAW entry;
  const FileSearch search(FindFirstFileW(Wide(folder + "\\*.lnk").c_str(), &entry));
  if (!search) return found;
  do {
    if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    const std::string path = folder + "\\" + Utf8(entry.cFileName);
    if (StartsPlace(path, program, instanceNumber)) found.push_back(path);
  } while (FindNextFileW(search.Get(), &entry));
  return found;
}

bool SaveShortcut(const std::string& path, const std::string& program, int instanceNumber) {
  ShellLink shellLink;
  if (!MakeShellLink(&shellLink)) return false;
  IShellLinkW* link = shellLink.link.Get();
  const std::string folder = program.substr(0, program.find_last_of('\\'));
  if (FAILED(link->SetPath(Wide(program).c_str())) ||
      FAILED(link->SetArguments(Wide(std::to_string(instanceNumber)).c_str())) ||
      FAILED(link->SetWorkingDirectory(Wide(folder).c_str()))) {
    return false;
  }
  return SUCCEEDED(shellLink.file.Get()->Save(Wide(path).c_str(), TRUE));
}

}  // namespace

std::string ThisProgram() {
  wchar_t path[MAX_PATH] = L"";
  const DWORD length = GetModuleFileNameW(nullptr, path, MAX_PATH);
  return length > 0 && length < MAX_PATH ? Utf8(path, static_cast<int>(length)) : std::string();
}

bool StartsAtSignIn(int instanceNumber) {
  ComSession com;
  return !PlaceShortcuts(KnownFolder(CSIDL_STARTUP), instanceNumber).empty();
}

bool MakeStartupShortcut(int instanceNumber) {
  ComSession com;
  const std::string folder = KnownFolder(CSIDL_STARTUP);
  const std::string program = ThisProgram();
  if (folder.empty() || program.empty()) return false;
  if (!PlaceShortcuts(folder, instanceNumber).empty()) return true;
  const std::string name = folder + "\\" APPLICATION_NAME " " + std::to_string(instanceNumber);
  for (int attempt = 1; attempt <= NAME_TRIES; ++attempt) {
    const std::string path = name + (attempt > 1 ? " (" + std::to_string(attempt) + ")" : "") + ".lnk";
    // Never over a file of the user's.
    if (GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES) continue;
    return SaveShortcut(path, program, instanceNumber);
  }
  return false;
}

std::vector<std::string> DeletePlaceShortcuts(int instanceNumber) {
  ComSession com;
  std::vector<std::string> doomed = PlaceShortcuts(KnownFolder(CSIDL_STARTUP), instanceNumber);
  if (SettingsSection(instanceNumber) != SettingsSection(0)) {
    for (const std::string& path : PlaceShortcuts(KnownFolder(CSIDL_PROGRAMS), instanceNumber)) {
      doomed.push_back(path);
    }
  }
  std::vector<std::string> kept;
  for (const std::string& path : doomed) {
    if (!DeleteFileW(Wide(path).c_str())) kept.push_back(path);
  }
  return kept;
}
