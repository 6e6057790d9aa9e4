// Owners of platform handles, one type per kind. Each is move-only, so nothing is closed twice.
// Every Win32 file of the program may use them; they use nothing of the program.
#ifndef FARHOUR_BASE_HANDLES_WIN_H
#define FARHOUR_BASE_HANDLES_WIN_H

#include <windows.h>

#include <utility>

// A kernel object closed with CloseHandle: a file opened with CreateFileA, a mutex. Both
// INVALID_HANDLE_VALUE and null mean none, as the calls that make them fail with one or the other.
class FileHandle {
 public:
  FileHandle() = default;
  explicit FileHandle(HANDLE h) : h_(h) {}
  ~FileHandle() { Reset(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;
  FileHandle(FileHandle&& o) noexcept : h_(std::exchange(o.h_, INVALID_HANDLE_VALUE)) {}
  FileHandle& operator=(FileHandle&& o) noexcept {
    if (this != &o) { Reset(); h_ = std::exchange(o.h_, INVALID_HANDLE_VALUE); }
    return *this;
  }
  HANDLE Get() const { return h_; }
  bool Valid() const { return h_ != INVALID_HANDLE_VALUE && h_ != nullptr; }
  void Reset() {
    if (Valid()) (void)CloseHandle(h_);
    h_ = INVALID_HANDLE_VALUE;
  }

 private:
  HANDLE h_ = INVALID_HANDLE_VALUE;
};

// An open registry key.
class RegKey {
 public:
  RegKey() = default;
  explicit RegKey(HKEY h) : h_(h) {}
  ~RegKey() { Reset(); }
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  RegKey(RegKey&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  RegKey& operator=(RegKey&& o) noexcept {
    if (this != &o) { Reset(); h_ = std::exchange(o.h_, nullptr); }
    return *this;
  }
  HKEY Get() const { return h_; }
  HKEY* Receive() { Reset(); return &h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset() {
    if (h_) (void)RegCloseKey(h_);
    h_ = nullptr;
  }

 private:
  HKEY h_ = nullptr;
};

// An icon the program made itself (from a file) and must destroy. Icons loaded from the program's
// resources are shared and are held as plain HICON, never in this type.
class OwnedIcon {
 public:
  OwnedIcon() = default;
  explicit OwnedIcon(HICON h) : h_(h) {}
  ~OwnedIcon() { Reset(); }
  OwnedIcon(const OwnedIcon&) = delete;
  OwnedIcon& operator=(const OwnedIcon&) = delete;
  OwnedIcon(OwnedIcon&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  OwnedIcon& operator=(OwnedIcon&& o) noexcept {
    if (this != &o) { Reset(); h_ = std::exchange(o.h_, nullptr); }
    return *this;
  }
  HICON Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset() {
    if (h_) (void)DestroyIcon(h_);
    h_ = nullptr;
  }

 private:
  HICON h_ = nullptr;
};

// A menu loaded or created by the program; destroying it destroys its pop-ups too.
class OwnedMenu {
 public:
  OwnedMenu() = default;
  explicit OwnedMenu(HMENU h) : h_(h) {}
  ~OwnedMenu() { Reset(); }
  OwnedMenu(const OwnedMenu&) = delete;
  OwnedMenu& operator=(const OwnedMenu&) = delete;
  OwnedMenu(OwnedMenu&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  OwnedMenu& operator=(OwnedMenu&& o) noexcept {
    if (this != &o) { Reset(); h_ = std::exchange(o.h_, nullptr); }
    return *this;
  }
  HMENU Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset() {
    if (h_) (void)DestroyMenu(h_);
    h_ = nullptr;
  }

 private:
  HMENU h_ = nullptr;
};

// A GDI object (bitmap, brush, font) the program created.
template <typename T>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(T h) : h_(h) {}
  ~GdiObject() { Reset(); }
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) { Reset(); h_ = std::exchange(o.h_, nullptr); }
    return *this;
  }
  T Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset() {
    if (h_) (void)DeleteObject(h_);
    h_ = nullptr;
  }

 private:
  T h_ = nullptr;
};

// A library loaded at run time.
class LoadedLibrary {
 public:
  LoadedLibrary() = default;
  explicit LoadedLibrary(HMODULE h) : h_(h) {}
  ~LoadedLibrary() { Reset(); }
  LoadedLibrary(const LoadedLibrary&) = delete;
  LoadedLibrary& operator=(const LoadedLibrary&) = delete;
  LoadedLibrary(LoadedLibrary&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  LoadedLibrary& operator=(LoadedLibrary&& o) noexcept {
    if (this != &o) { Reset(); h_ = std::exchange(o.h_, nullptr); }
    return *this;
  }
  HMODULE Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset() {
    if (h_) (void)FreeLibrary(h_);
    h_ = nullptr;
  }

 private:
  HMODULE h_ = nullptr;
};

// BeginPaint/EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : hwnd_(hwnd) { dc_ = BeginPaint(hwnd_, &ps_); }
  ~PaintDc() { (void)EndPaint(hwnd_, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Get() const { return dc_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT ps_{};
  HDC dc_ = nullptr;
};

#endif
