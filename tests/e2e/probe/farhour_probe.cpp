// A hook DLL that the end-to-end tests load into farhour's process. Wine keeps menus and icon
// handles process-local, so what a person sees in an open menu, the system menu or a message box's
// icon can only be read from inside the program, and so can what the process holds. The test
// installs ProbeGetMessage as a WH_GETMESSAGE hook on the program's thread and posts it a request;
// the hook answers in a file.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <ctime>
#include <string>

namespace {

const char* const REQUEST_MESSAGE = "FarhourProbeRequest";

// Requests, in the posted message's wParam; lParam is a serial number echoed on the first line.
enum Request : WPARAM {
  REQUEST_SYNC = 0,          // nothing: the answer shows that everything posted before it was handled
  REQUEST_POPUP_MENU = 1,    // the items of the open popup menu of this process
  REQUEST_SYSTEM_MENU = 2,   // the items of the system menu of the window the request was posted to
  REQUEST_MESSAGE_ICON = 3,  // the standard icon shown by the visible message box of this process
  REQUEST_RESOURCES = 4,     // counts of what the process holds, one line of numbers
  REQUEST_PICTURES = 5,      // take the time and long-date pictures from the request file
  REQUEST_CLOCK = 6,         // from now on the C library's time() gives the time in the request file
};

const DWORD KERNEL_HANDLE_SLOTS = 0x8000;  // handles are multiples of 4
const DWORD GDI_HANDLE_SLOTS = 0x10000;    // a handle's low word is its slot
const DWORD USER_HANDLE_SLOTS = 0x7FF0;    // handle = 0x20 + 2 * slot in its low word
const DWORD HEAPS_MAX = 64;

struct Search {
  DWORD processId;
  HWND found;
};

BOOL CALLBACK FindOpenMenu(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char className[16] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (pid == search->processId && IsWindowVisible(hwnd) && lstrcmpA(className, "#32768") == 0) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindMessageBox(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  char className[16] = "";
  GetClassNameA(hwnd, className, sizeof className);
  // A message box's text is the static control 0xFFFF.
  if (pid == search->processId && IsWindowVisible(hwnd) && lstrcmpA(className, "#32770") == 0 &&
      GetDlgItem(hwnd, 0xFFFF)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

// One line per item: id, type and state in hex, text.
std::string DescribeMenu(HMENU menu) {
  std::string out;
  if (!menu) return "no menu\n";
  int count = GetMenuItemCount(menu);
  for (int i = 0; i < count; ++i) {
    char text[256] = "";
    MENUITEMINFOA item;
    ZeroMemory(&item, sizeof item);
    item.cbSize = sizeof item;
    item.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_STRING;
    item.dwTypeData = text;
    item.cch = sizeof text;
    if (!GetMenuItemInfoA(menu, static_cast<UINT>(i), TRUE, &item)) {
      out += "error\n";
      continue;
    }
    char head[64];
    std::snprintf(head, sizeof head, "%u\t%x\t%x\t", item.wID, item.fType, item.fState);
    out += head;
    out += text;
    out += "\n";
  }
  return out;
}

std::string DescribeMessageIcon() {
  Search search{GetCurrentProcessId(), nullptr};
  EnumWindows(FindMessageBox, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return "no message box\n";
  struct Known {
    LPCSTR id;
    const char* name;
  };
  const Known known[] = {{IDI_EXCLAMATION, "exclamation"}, {IDI_HAND, "hand"},
                         {IDI_QUESTION, "question"}, {IDI_ASTERISK, "asterisk"}};
  HICON shown = nullptr;
  for (HWND c = GetWindow(search.found, GW_CHILD); c && !shown; c = GetWindow(c, GW_HWNDNEXT)) {
    if ((GetWindowLongA(c, GWL_STYLE) & SS_TYPEMASK) == SS_ICON && IsWindowVisible(c)) {
      shown = reinterpret_cast<HICON>(SendMessageA(c, STM_GETICON, 0, 0));
    }
  }
  if (!shown) return "none\n";
  // Standard icons are shared: every load in a process gives the same handle.
  for (const Known& k : known) {
    if (LoadIconA(nullptr, k.id) == shown) return std::string(k.name) + "\n";
  }
  return "other\n";
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopWindow(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  EnumChildWindows(hwnd, CountWindow, count);
  return TRUE;
}

// GetGuiResources and GetProcessHandleCount give 0 under Wine, so every possible handle is tried.
// Nothing is allocated until the counting is done.
std::string CountResources() {
  DWORD kernel = 0, gdi = 0, drawing = 0, user = 0, heapBytes = 0;
  for (DWORD h = 4; h < 4 * KERNEL_HANDLE_SLOTS; h += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(h)), &flags)) ++kernel;
  }
  for (DWORD i = 1; i < GDI_HANDLE_SLOTS; ++i) {
    const DWORD type = GetObjectType(reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(i)));
    if (type == OBJ_DC || type == OBJ_MEMDC || type == OBJ_ENHMETADC || type == OBJ_METADC || type == OBJ_REGION ||
        type == OBJ_PEN || type == OBJ_EXTPEN || type == OBJ_BRUSH) {
      ++drawing;
    } else if (type != 0) {
      ++gdi;
    }
  }
  EnumThreadWindows(GetCurrentThreadId(), CountTopWindow, reinterpret_cast<LPARAM>(&user));
  for (DWORD i = 0; i < USER_HANDLE_SLOTS; ++i) {
    HANDLE h = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x20 + 2 * i));
    if (IsMenu(static_cast<HMENU>(h))) {
      ++user;
      continue;
    }
    ICONINFO info;
    if (GetIconInfo(static_cast<HICON>(h), &info)) {
      ++user;
      if (info.hbmColor) DeleteObject(info.hbmColor);
      if (info.hbmMask) DeleteObject(info.hbmMask);
    }
  }
  HANDLE heaps[HEAPS_MAX];
  DWORD heapCount = GetProcessHeaps(HEAPS_MAX, heaps);
  if (heapCount > HEAPS_MAX) heapCount = HEAPS_MAX;
  for (DWORD i = 0; i < heapCount; ++i) {
    if (!HeapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry;
    entry.lpData = nullptr;
    while (HeapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) heapBytes += entry.cbData;
    }
    HeapUnlock(heaps[i]);
  }
  PROCESS_MEMORY_COUNTERS memory;
  ZeroMemory(&memory, sizeof memory);
  memory.cb = sizeof memory;
  GetProcessMemoryInfo(GetCurrentProcess(), &memory, sizeof memory);
  char line[160];
  std::snprintf(line, sizeof line, "%lu %lu %lu %lu %lu %lu %lu\n", kernel, gdi, drawing, user, heapBytes,
                static_cast<unsigned long>(memory.WorkingSetSize), static_cast<unsigned long>(memory.PagefileUsage));
  return line;
}

// The stand-in for the locale's time [0] and long-date [1] pictures.
std::wstring g_pictures[2];
bool g_fails[2];
using GetLocaleInfoWFn = int(WINAPI*)(LCID, LCTYPE, LPWSTR, int);
GetLocaleInfoWFn g_platformGetLocaleInfoW;

// The platform's contract: the length with its zero, 0 with ERROR_INSUFFICIENT_BUFFER when the
// text does not fit, the length needed when asked with no buffer.
int WINAPI PatchedGetLocaleInfoW(LCID locale, LCTYPE type, LPWSTR data, int size) {
  type &= ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP);
  const int which = type == LOCALE_STIMEFORMAT ? 0 : type == LOCALE_SLONGDATE ? 1 : -1;
  if (which < 0) return g_platformGetLocaleInfoW(locale, type, data, size);
  if (g_fails[which]) {
    SetLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const int length = static_cast<int>(g_pictures[which].size());
  if (size == 0) return length + 1;
  if (!data || length + 1 > size) {
    SetLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  CopyMemory(data, g_pictures[which].c_str(), (length + 1) * sizeof(wchar_t));
  return length + 1;
}

// Points farhour.exe's imports of the platform's function at the stand-in, and keeps this DLL
// loaded for good, since the program keeps calling it after the hook is gone.
bool PatchImport(FARPROC platform, FARPROC standIn) {
  HMODULE self = nullptr;
  if (!platform || !GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_PIN,
                                       reinterpret_cast<LPCSTR>(standIn), &self)) {
    return false;
  }
  BYTE* base = reinterpret_cast<BYTE*>(GetModuleHandleA(nullptr));
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return false;
  bool patched = false;
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
    for (auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + d->FirstThunk); thunk->u1.Function; ++thunk) {
      if (thunk->u1.Function != reinterpret_cast<ULONG_PTR>(platform)) continue;
      DWORD protection = 0;
      if (!VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, PAGE_READWRITE, &protection)) return false;
      thunk->u1.Function = reinterpret_cast<ULONG_PTR>(standIn);
      VirtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, protection, &protection);
      patched = true;
    }
  }
  return patched;
}

bool PatchLocaleLookup() {
  if (g_platformGetLocaleInfoW) return true;
  FARPROC platform = GetProcAddress(GetModuleHandleA("kernel32.dll"), "GetLocaleInfoW");
  if (!PatchImport(platform, reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&PatchedGetLocaleInfoW)))) return false;
  g_platformGetLocaleInfoW = reinterpret_cast<GetLocaleInfoWFn>(reinterpret_cast<void*>(platform));
  return true;
}

// The time the program's clock reads, once a test has set it.
volatile time_t g_clockTime;
bool g_clockPatched;

time_t __cdecl PatchedTime(time_t* out) {
  if (out) *out = g_clockTime;
  return g_clockTime;
}

std::string ProbePath(const char* suffix) {
  char dir[MAX_PATH] = "";
  GetTempPathA(sizeof dir, dir);
  char path[MAX_PATH + 64];
  std::snprintf(path, sizeof path, "%sfarhour_probe_%lu%s", dir, GetCurrentProcessId(), suffix);
  return path;
}

// The request file holds the two pictures in UTF-16, each on its own line after '+', or a lone '-'
// for a failing lookup.
std::string TakePictures() {
  FILE* file = std::fopen(ProbePath(".in").c_str(), "rb");
  if (!file) return "no request\n";
  std::wstring text;
  wchar_t c;
  while (std::fread(&c, sizeof c, 1, file) == 1) text += c;
  std::fclose(file);
  std::size_t start = 0;
  for (int which = 0; which < 2; ++which) {
    std::size_t end = text.find(L'\n', start);
    if (end == std::wstring::npos || end == start) return "bad request\n";
    const std::wstring picture = text.substr(start + 1, end - start - 1);
    g_fails[which] = text[start] == L'-';
    g_pictures[which] = picture;
    start = end + 1;
  }
  return PatchLocaleLookup() ? "ok\n" : "not patched\n";
}

// The request file holds the time in seconds since 1970, UTC, as decimal text.
std::string TakeClock() {
  FILE* file = std::fopen(ProbePath(".in").c_str(), "rb");
  if (!file) return "no request\n";
  long long seconds = 0;
  const bool read = std::fscanf(file, "%lld", &seconds) == 1;
  std::fclose(file);
  if (!read) return "bad request\n";
  g_clockTime = static_cast<time_t>(seconds);
  if (!g_clockPatched) {
    g_clockPatched = PatchImport(GetProcAddress(GetModuleHandleA("msvcrt.dll"), "time"),
                                 reinterpret_cast<FARPROC>(reinterpret_cast<void*>(&PatchedTime)));
  }
  return g_clockPatched ? "ok\n" : "not patched\n";
}

void Answer(LPARAM serial, const std::string& body) {
  const std::string path = ProbePath(".txt");
  const std::string temp = path + ".part";
  FILE* file = std::fopen(temp.c_str(), "wb");
  if (!file) return;
  std::fprintf(file, "%ld\n%s", static_cast<long>(serial), body.c_str());
  std::fclose(file);
  // The test waits for the file: it must appear whole.
  MoveFileExA(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING);
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK ProbeGetMessage(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT request = RegisterWindowMessageA(REQUEST_MESSAGE);
  auto* msg = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && msg && request && msg->message == request) {
    std::string body;
    switch (msg->wParam) {
      case REQUEST_POPUP_MENU: {
        Search search{GetCurrentProcessId(), nullptr};
        EnumWindows(FindOpenMenu, reinterpret_cast<LPARAM>(&search));
        body = search.found
                   ? DescribeMenu(reinterpret_cast<HMENU>(SendMessageA(search.found, MN_GETHMENU, 0, 0)))
                   : "no open menu\n";
        break;
      }
      case REQUEST_SYSTEM_MENU:
        body = DescribeMenu(GetSystemMenu(msg->hwnd, FALSE));
        break;
      case REQUEST_MESSAGE_ICON:
        body = DescribeMessageIcon();
        break;
      case REQUEST_RESOURCES:
        body = CountResources();
        break;
      case REQUEST_PICTURES:
        body = TakePictures();
        break;
      case REQUEST_CLOCK:
        body = TakeClock();
        break;
      default:
        break;
    }
    Answer(msg->lParam, body);
    // The program itself never sees the request.
    msg->message = WM_NULL;
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
