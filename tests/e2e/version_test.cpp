// The file properties Windows shows for farhour.exe.
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
