// The file properties Windows shows for farhour.exe, and the manifest Windows reads from it.
#include <gtest/gtest.h>

#include <windows.h>

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

// The manifest as Windows finds it: resource 1 of type RT_MANIFEST.
std::string Manifest() {
  HMODULE module = LoadLibraryExA(FarhourExePath().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  if (!module) return std::string();
  std::string text;
  HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
  HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
  const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
  if (bytes) text.assign(bytes, SizeofResource(module, found));
  FreeLibrary(module);
  return text;
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

TEST(Version, TheManifestAsksForPerMonitorDpiVisualStylesAndKnowsWindows7To11) {
  const std::string manifest = Manifest();
  ASSERT_FALSE(manifest.empty()) << "no RT_MANIFEST resource 1";
  const char* expected[] = {
      // Per-monitor v2, then v1, then the system's DPI on Windows before 10 1607.
      "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>",
      "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>",
      "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\"",
      "publicKeyToken=\"6595b64144ccf1df\"",
      "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",  // 7
      "{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}",  // 8
      "{1f676c76-80e1-4239-95bb-83d0f6d0da78}",  // 8.1
      "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}",  // 10 and 11
      "level=\"asInvoker\"",
  };
  for (const char* text : expected) EXPECT_NE(manifest.find(text), std::string::npos) << text;
  // Still an ANSI program in the system's code page.
  EXPECT_EQ(manifest.find("activeCodePage"), std::string::npos);
}
