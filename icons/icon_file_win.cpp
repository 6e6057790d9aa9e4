#include "icons/icon_file_win.h"

#include <cstring>

#include "base/wide_text_win.h"

namespace {

constexpr DWORD ICON_FORMAT_VERSION = 0x30000;
constexpr std::size_t BITMAP_HEADER_BYTES = 40;

template <typename T>
T HeaderField(const IconFileImage& image, std::size_t at) {
  T value;
  std::memcpy(&value, image.data + at, sizeof value);
  return value;
}

// A path as the file calls take it; empty where it is as long as MAX_PATH or longer, which the
// ANSI calls refused and some wide ones would not.
WideText FilePath(const char* path) {
  WideText wide = path ? Wide(path) : WideText();
  return wide.size() < MAX_PATH ? wide : WideText();
}

}  // namespace

FileByteSource::FileByteSource(const char* path)
    : file_(CreateFileW(FilePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL,
                        nullptr)) {
  // A stored path may name a pipe or a device, whose reads can wait for ever on the interface thread;
  // an icon file is a file on a disk.
  if (file_.Valid() && GetFileType(file_.Get()) != FILE_TYPE_DISK) file_.Reset();
}

bool FileByteSource::Read(void* buffer, std::uint32_t count, std::uint32_t* got) {
  // A read of nothing (an empty directory or image) still goes to the file, with somewhere to point at.
  BYTE nothing = 0;
  DWORD delivered = 0;
  BOOL ok = ReadFile(file_.Get(), count ? buffer : &nothing, count, &delivered, nullptr);
  *got = delivered;
  return ok != FALSE;
}

bool FileByteSource::Seek(std::uint32_t offset) {
  // With no high part the platform takes the offset as signed: these would be negative positions.
  if (offset >= FIRST_UNSEEKABLE_OFFSET) return false;
  return SetFilePointer(file_.Get(), static_cast<LONG>(offset), nullptr, FILE_BEGIN) != INVALID_SET_FILE_POINTER;
}

std::uint64_t FileByteSource::Size() const {
  DWORD high = 0;
  DWORD low = GetFileSize(file_.Get(), &high);
  if (low == INVALID_FILE_SIZE && GetLastError() != NO_ERROR) return 0;
  return (std::uint64_t{high} << 32) | low;
}

const IconMakers& PlatformIconMakers() {
  static const IconMakers makers{&CreateIconFromResourceEx, &CreateIconFromResource};
  return makers;
}

HICON MakeIconFromImage(const IconFileImage* image) { return MakeIconFromImage(image, PlatformIconMakers()); }

HICON MakeIconFromImage(const IconFileImage* image, const IconMakers& makers) {
  // The desired size and the retry rule come from the bitmap header, so an image too short to hold
  // one is no icon.
  if (!image || !image->data || image->size < BITMAP_HEADER_BYTES) return nullptr;
  const std::int32_t biWidth = HeaderField<std::int32_t>(*image, 4);
  const std::int32_t biHeight = HeaderField<std::int32_t>(*image, 8);
  return MakeIconFromImage(image, makers, biWidth, biHeight / 2);
}

HICON MakeIconFromImage(const IconFileImage* image, const IconMakers& makers, int width, int height) {
  if (!image || !image->data || image->size < BITMAP_HEADER_BYTES) return nullptr;
  const std::uint16_t biBitCount = HeaderField<std::uint16_t>(*image, 14);
  // The platform only reads the bytes; its declaration just lacks the const.
  PBYTE bits = const_cast<PBYTE>(image->data);
  const DWORD size = image->size;

  HICON icon = makers.fromResourceEx(bits, size, TRUE, ICON_FORMAT_VERSION, width, height, 0);
  // A 16-bit image the platform refused is not offered again: the older call would decode it no better.
  if (!icon && biBitCount != 16) icon = makers.fromResource(bits, size, TRUE, ICON_FORMAT_VERSION);
  return icon;
}

namespace {

std::unique_ptr<IconFileResource> ReadIconFileAt(const char* path) {
  // The ANSI file calls take at most MAX_PATH - 1 characters; refusing longer paths here keeps that
  // rule the same on systems that would accept them.
  if (!path || !*path || std::strlen(path) >= MAX_PATH) return nullptr;
  FileByteSource file(path);
  if (!file.IsOpen()) return nullptr;
  return ReadIconFile(file, path);
}

}  // namespace

OwnedIcon LoadIconFileAtSystemSize(const char* path) {
  const int width = GetSystemMetrics(SM_CXICON);
  const int height = GetSystemMetrics(SM_CYICON);
  std::unique_ptr<IconFileResource> resource = ReadIconFileAt(path);
  if (!resource || resource->images.empty()) return OwnedIcon();
  const IconFileImage* image = FindImageOfSize(*resource, width, height);
  if (!image) return OwnedIcon();
  return OwnedIcon(MakeIconFromImage(image));
}

OwnedIcon LoadIconFileForTray(const char* path, const TrayIconMetrics& tray) {
  if (tray.dpi == STANDARD_DPI) return LoadIconFileAtSystemSize(path);
  std::unique_ptr<IconFileResource> resource = ReadIconFileAt(path);
  if (!resource) return OwnedIcon();
  const IconFileImage* image = FindTrayImage(*resource, tray.size);
  if (!image) return OwnedIcon();
  return OwnedIcon(MakeIconFromImage(image, PlatformIconMakers(), tray.size, tray.size));
}

void LoadCustomIcons(CustomIcons& icons, const std::string& activePath, const std::string& inactivePath,
                     const TrayIconMetrics& tray) {
  FreeCustomIcons(icons);
  icons.active = LoadIconFileForTray(activePath.c_str(), tray);
  icons.inactive = LoadIconFileForTray(inactivePath.c_str(), tray);
}

void FreeCustomIcons(CustomIcons& icons) {
  icons.active.Reset();
  icons.inactive.Reset();
}
