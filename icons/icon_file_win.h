// Icon files on Windows: the file under the reader, and platform icons made from its images.
#ifndef FARHOUR_ICONS_ICON_FILE_WIN_H
#define FARHOUR_ICONS_ICON_FILE_WIN_H

#include <windows.h>

#include <string>

#include "base/dpi_win.h"
#include "base/handles_win.h"
#include "icons/icon_file.h"

// A file opened for reading without sharing: while it is read nobody else can open it, and a file
// someone else holds open cannot be read.
class FileByteSource : public IconByteSource {
 public:
  explicit FileByteSource(const char* path);
  bool IsOpen() const { return file_.Valid(); }
  bool Read(void* buffer, std::uint32_t count, std::uint32_t* got) override;
  bool Seek(std::uint32_t offset) override;
  std::uint64_t Size() const override;

 private:
  FileHandle file_;
};

// The two platform calls that turn one icon image into an icon; the tests put counters here.
struct IconMakers {
  HICON(WINAPI* fromResourceEx)(PBYTE, DWORD, BOOL, DWORD, int, int, UINT);
  HICON(WINAPI* fromResource)(PBYTE, DWORD, BOOL, DWORD);
};
const IconMakers& PlatformIconMakers();

// An icon made from the image's bytes, owned by the caller; null when the platform makes none. It
// has the image's own size, or the given one, to which the platform scales the image.
HICON MakeIconFromImage(const IconFileImage* image);
HICON MakeIconFromImage(const IconFileImage* image, const IconMakers& makers);
HICON MakeIconFromImage(const IconFileImage* image, const IconMakers& makers, int width, int height);

// The first image of the file at exactly the system's standard icon size, as an icon; null when
// the file cannot be read or holds no such image.
OwnedIcon LoadIconFileAtSystemSize(const char* path);

// The notification area's icon size and the DPI it has it for.
struct TrayIconMetrics {
  int size = 16;
  UINT dpi = STANDARD_DPI;
};

// The icon of the file that the notification area shows. At 100 % that is the icon at the system's
// standard size (LoadIconFileAtSystemSize); at other scales it is made at the tray's own size, from
// the image FindTrayImage chooses.
OwnedIcon LoadIconFileForTray(const char* path, const TrayIconMetrics& tray);

// The icons made from the user's two icon files.
struct CustomIcons {
  OwnedIcon active;
  OwnedIcon inactive;
};

// Replaces both icons. The old ones go first, so a file that no longer loads leaves null, not the
// previous icon.
void LoadCustomIcons(CustomIcons& icons, const std::string& activePath, const std::string& inactivePath,
                     const TrayIconMetrics& tray = TrayIconMetrics());
void FreeCustomIcons(CustomIcons& icons);

#endif
