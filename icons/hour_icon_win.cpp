#include "icons/hour_icon_win.h"

#include <cstdint>
#include <cstring>
#include <vector>

#include "clock/registry_profile_store_win.h"

namespace {

// Icons on Windows go up to 256 pixels.
constexpr int LARGEST_ICON = 256;

const wchar_t* const PERSONALIZE_KEY = L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

}  // namespace

OwnedIcon MakeHourIcon(int size, const HourFace& face, TaskbarTheme theme) {
  if (size <= 0 || size > LARGEST_ICON) return OwnedIcon();
  const std::vector<std::uint32_t> argb = DrawHourIcon(size, face, theme);

  BITMAPINFO info;
  ZeroMemory(&info, sizeof info);
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = size;
  info.bmiHeader.biHeight = -size;  // top row first, as drawn
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  OwnedGdiObject colour(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!colour || !bits) return OwnedIcon();
  // 0xAARRGGBB in memory is the section's blue, green, red, alpha.
  std::memcpy(bits, argb.data(), argb.size() * sizeof argb[0]);

  // Systems that draw icons without their alpha channel go by the mask: set where transparent, in
  // rows of whole 16-bit words.
  const int stride = (size + 15) / 16 * 2;
  std::vector<BYTE> mask(static_cast<std::size_t>(stride) * static_cast<std::size_t>(size), 0);
  for (int y = 0; y < size; ++y) {
    for (int x = 0; x < size; ++x) {
      if ((argb[static_cast<std::size_t>(y * size + x)] >> 24) == 0) {
        mask[static_cast<std::size_t>(y * stride + x / 8)] |= static_cast<BYTE>(0x80 >> (x % 8));
      }
    }
  }
  OwnedGdiObject maskBitmap(CreateBitmap(size, size, 1, 1, mask.data()));
  if (!maskBitmap) return OwnedIcon();

  ICONINFO icon;
  ZeroMemory(&icon, sizeof icon);
  icon.fIcon = TRUE;
  icon.hbmMask = static_cast<HBITMAP>(maskBitmap.Get());
  icon.hbmColor = static_cast<HBITMAP>(colour.Get());
  // The icon holds copies of both bitmaps, which go with their owners here.
  return OwnedIcon(CreateIconIndirect(&icon));
}

TaskbarTheme ReadTaskbarTheme() {
  RegKey key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, PERSONALIZE_KEY, 0, KEY_QUERY_VALUE, key.Receive()) != ERROR_SUCCESS) {
    return TaskbarTheme::LIGHT;
  }
  int light = 1;
  if (!ReadRegistryInt(key.Get(), "SystemUsesLightTheme", &light)) return TaskbarTheme::LIGHT;
  return light == 0 ? TaskbarTheme::DARK : TaskbarTheme::LIGHT;
}
