// The file properties Windows shows for farhour.exe, and the manifest Windows reads from it.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "e2e/driver.h"

namespace {

std::string VersionString(const std::vector<char>& info, const char* name) {
  std::string path = std::string("\\StringFileInfo\\040904B0\\") + name;
  char* value = nullptr;
  UINT length = 0;
  if (!VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) || !value) {
    return "<missing>";
  }
  return std::string(value);
}

// The activation context Windows makes from the program's manifest (resource 1), as it does when the
// program starts; null when the manifest is missing or Windows cannot read it.
class ManifestContext {
 public:
  ManifestContext() {
    const std::string exe = FarhourExePath();
    ACTCTXA request;
    ZeroMemory(&request, sizeof request);
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = exe.c_str();
    request.lpResourceName = MAKEINTRESOURCEA(1);
    context_ = CreateActCtxA(&request);
  }
  ~ManifestContext() {
    if (context_ != INVALID_HANDLE_VALUE) ReleaseActCtx(context_);
  }
  bool Valid() const { return context_ != INVALID_HANDLE_VALUE; }
  HANDLE Get() const { return context_; }
  // A setting of the manifest's windowsSettings of that namespace, as Windows reads it; empty when it
  // has none.
  std::wstring Setting(const wchar_t* space, const wchar_t* name) const {
    // Windows 7's, which the headers of this build predate.
    using QuerySettings = BOOL(WINAPI*)(DWORD, HANDLE, const wchar_t*, const wchar_t*, wchar_t*, SIZE_T, SIZE_T*);
    const auto query = reinterpret_cast<QuerySettings>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("kernel32.dll"), "QueryActCtxSettingsW")));
    wchar_t value[256] = L"";
    SIZE_T written = 0;
    if (!query || !query(0, context_, space, name, value, 255, &written)) return std::wstring();
    return value;
  }
  // The bytes of one kind of the context's information.
  std::vector<BYTE> Information(ULONG kind) const {
    SIZE_T needed = 0;
    QueryActCtxW(0, context_, nullptr, kind, nullptr, 0, &needed);
    std::vector<BYTE> bytes(needed);
    if (needed == 0 || !QueryActCtxW(0, context_, nullptr, kind, bytes.data(), needed, &needed)) bytes.clear();
    return bytes;
  }

 private:
  HANDLE context_ = INVALID_HANDLE_VALUE;
};

bool Holds(const std::vector<BYTE>& bytes, const GUID& id) {
  const BYTE* first = reinterpret_cast<const BYTE*>(&id);
  return std::search(bytes.begin(), bytes.end(), first, first + sizeof id) != bytes.end();
}

}  // namespace

TEST(Version, TheFilePropertiesNameTheProgramAndItsVersion) {
  std::string exe = FarhourExePath();
  DWORD handle = 0;
  DWORD size = GetFileVersionInfoSizeA(exe.c_str(), &handle);
  ASSERT_GT(size, 0u);
  std::vector<char> info(size);
  ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, size, info.data()));

  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, 0x00020000u);
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, 0x00020000u);

  struct Row {
    const char* name;
    const char* value;
  };
  const Row rows[] = {
      {"CompanyName", "Brindlewood"},
      {"FileDescription", "Farhour MFC Application"},
      {"FileVersion", "2, 0, 0, 0"},
      {"InternalName", "Farhour"},
      {"ProductName", "Farhour Application"},
      {"ProductVersion", "2.0"},
      {"LegalTrademarks", ""},
      {"PrivateBuild", ""},
      {"SpecialBuild", ""},
  };
  for (const Row& row : rows) EXPECT_EQ(VersionString(info, row.name), row.value) << row.name;

  DWORD* translation = nullptr;
  ASSERT_TRUE(VerQueryValueA(info.data(), "\\VarFileInfo\\Translation", reinterpret_cast<void**>(&translation), &length));
  ASSERT_GE(length, 4u);
  EXPECT_EQ(LOWORD(*translation), 0x0409);
  EXPECT_EQ(HIWORD(*translation), 0x04B0);
}

// What Windows reads from the manifest: per-monitor DPI awareness (version 2, then 1, then the system's
// DPI on Windows before 10 1607), the common controls of version 6, Windows 7 to 11 as the systems the
// program knows, and no elevation.
TEST(Version, WindowsReadsPerMonitorDpiVisualStylesAndWindows7To11FromTheManifest) {
  ManifestContext manifest;
  ASSERT_TRUE(manifest.Valid()) << "no RT_MANIFEST resource 1 that Windows can read: " << GetLastError();
  const wchar_t* const settings2005 = L"http://schemas.microsoft.com/SMI/2005/WindowsSettings";
  const wchar_t* const settings2016 = L"http://schemas.microsoft.com/SMI/2016/WindowsSettings";
  const wchar_t* const settings2019 = L"http://schemas.microsoft.com/SMI/2019/WindowsSettings";
  EXPECT_EQ(manifest.Setting(settings2016, L"dpiAwareness"), L"PerMonitorV2, PerMonitor");
  EXPECT_EQ(manifest.Setting(settings2005, L"dpiAware"), L"true/pm");
  // Still an ANSI program in the system's code page.
  EXPECT_EQ(manifest.Setting(settings2019, L"activeCodePage"), L"");

  ACTIVATION_CONTEXT_RUN_LEVEL_INFORMATION level;
  ZeroMemory(&level, sizeof level);
  SIZE_T size = 0;
  ASSERT_TRUE(QueryActCtxW(0, manifest.Get(), nullptr, RunlevelInformationInActivationContext, &level, sizeof level,
                           &size));
  EXPECT_EQ(level.RunLevel, ACTCTX_RUN_LEVEL_AS_INVOKER);

  const std::vector<BYTE> systems = manifest.Information(CompatibilityInformationInActivationContext);
  ASSERT_GE(systems.size(), sizeof(DWORD));
  DWORD count = 0;
  memcpy(&count, systems.data(), sizeof count);
  EXPECT_EQ(count, 4u);
  const struct {
    const char* name;
    GUID id;
  } known[] = {
      {"7", {0x35138b9a, 0x5d96, 0x4fbd, {0x8e, 0x2d, 0xa2, 0x44, 0x02, 0x25, 0xf9, 0x3a}}},
      {"8", {0x4a2f28e3, 0x53b9, 0x4441, {0xba, 0x9c, 0xd6, 0x9d, 0x4a, 0x4a, 0x6e, 0x38}}},
      {"8.1", {0x1f676c76, 0x80e1, 0x4239, {0x95, 0xbb, 0x83, 0xd0, 0xf6, 0xd0, 0xda, 0x78}}},
      {"10 and 11", {0x8e0f7a12, 0xbfb3, 0x4fe8, {0xb9, 0xa5, 0x48, 0xfd, 0x50, 0xa1, 0x5a, 0x9a}}},
  };
  for (const auto& system : known) EXPECT_TRUE(Holds(systems, system.id)) << "Windows " << system.name;

  // The common controls the window's controls come from: version 6, redirected by the context.
  ULONG_PTR cookie = 0;
  ASSERT_TRUE(ActivateActCtx(manifest.Get(), &cookie));
  ACTCTX_SECTION_KEYED_DATA found;
  ZeroMemory(&found, sizeof found);
  found.cbSize = sizeof found;
  const bool redirected = FindActCtxSectionStringW(0, nullptr, ACTIVATION_CONTEXT_SECTION_DLL_REDIRECTION,
                                                   L"comctl32.dll", &found) != FALSE;
  DeactivateActCtx(0, cookie);
  EXPECT_TRUE(redirected) << "the common controls of version 6";
}
