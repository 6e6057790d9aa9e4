// Owners of platform handles: one owner template, and a small traits type per kind of handle.
// Every Win32 file of the program may use them; they use nothing of the program.
#ifndef FARHOUR_BASE_HANDLES_WIN_H
#define FARHOUR_BASE_HANDLES_WIN_H

#include <windows.h>

#include <utility>

// The owner of one platform handle, of the kind Traits describes: Traits::Handle is its type,
// Traits::None() the value that means none (null is none too), Traits::Close releases it. Move-only,
// so nothing is closed twice.
template <typename Traits>
class UniqueHandle {
 public:
  using Handle = typename Traits::Handle;

  UniqueHandle() = default;
  explicit UniqueHandle(Handle h) : h_(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  UniqueHandle(UniqueHandle&& o) noexcept : h_(std::exchange(o.h_, Traits::None())) {}
  UniqueHandle& operator=(UniqueHandle&& o) noexcept {
    if (this != &o) {
      Reset();
      h_ = std::exchange(o.h_, Traits::None());
    }
    return *this;
  }

  Handle Get() const { return h_; }
  bool Valid() const { return h_ != Traits::None() && h_ != Handle(); }
  explicit operator bool() const { return Valid(); }
  // Where a call that makes the handle stores it; the one held before is released.
  Handle* Receive() {
    Reset();
    return &h_;
  }
  void Reset() {
    if (Valid()) Traits::Close(h_);
    h_ = Traits::None();
  }

 private:
  Handle h_ = Traits::None();
};

// The traits of a handle that null marks as none and CloseFunction releases.
template <typename H, auto CloseFunction>
struct ClosedBy {
  using Handle = H;
  static H None() { return nullptr; }
  static void Close(H h) { (void)CloseFunction(h); }
};

// A kernel object: a file opened with CreateFileW, a mutex. The calls that make them fail with
// INVALID_HANDLE_VALUE or with null.
struct KernelObjectTraits : ClosedBy<HANDLE, &CloseHandle> {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
};
using FileHandle = UniqueHandle<KernelObjectTraits>;
// A search of a folder's files, begun with FindFirstFileW, which fails with INVALID_HANDLE_VALUE.
struct FileSearchTraits : ClosedBy<HANDLE, &FindClose> {
  static HANDLE None() { return INVALID_HANDLE_VALUE; }
};
using FileSearch = UniqueHandle<FileSearchTraits>;

using RegKey = UniqueHandle<ClosedBy<HKEY, &RegCloseKey>>;
// An icon the program made itself (from a file) and must destroy. Icons loaded from the program's
// resources are shared and are held as plain HICON, never in this type.
using OwnedIcon = UniqueHandle<ClosedBy<HICON, &DestroyIcon>>;
// A menu loaded or created by the program; destroying it destroys its pop-ups too.
using OwnedMenu = UniqueHandle<ClosedBy<HMENU, &DestroyMenu>>;
// A font, pen, brush or bitmap the program created.
using OwnedGdiObject = UniqueHandle<ClosedBy<HGDIOBJ, &DeleteObject>>;
// A library loaded at run time.
using LoadedLibrary = UniqueHandle<ClosedBy<HMODULE, &FreeLibrary>>;
// One reference to a COM object, released when the owner goes.
template <typename Interface>
struct ComTraits {
  using Handle = Interface*;
  static Interface* None() { return nullptr; }
  static void Close(Interface* object) { (void)object->Release(); }
};
template <typename Interface>
using ComRef = UniqueHandle<ComTraits<Interface>>;

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
