#include "e2e/driver.h"

#include <psapi.h>
#include <shlwapi.h>

#include <cstdlib>
#include <thread>

namespace {

const char* const APP_KEY = "Software\\Brindlewood\\Farhour";

struct FindState {
  DWORD processId;
  HWND exclude;
  std::string caption;
  bool wantMessageBox;
  HWND found;
};

BOOL CALLBACK FindWindowOfProcess(HWND hwnd, LPARAM lParam) {
  auto* state = reinterpret_cast<FindState*>(lParam);
  DWORD pid = 0;
  GetWindowThreadProcessId(hwnd, &pid);
  if (pid != state->processId || hwnd == state->exclude) return TRUE;
  char className[64] = "";
  GetClassNameA(hwnd, className, sizeof className);
  if (std::string(className) != "#32770") return TRUE;
  if (state->wantMessageBox) {
    if (!IsWindowVisible(hwnd)) return TRUE;
    // A message box has a button for one of its answers.
    if (!GetDlgItem(hwnd, IDOK) && !GetDlgItem(hwnd, IDYES) && !GetDlgItem(hwnd, IDNO)) return TRUE;
  } else if (WindowText(hwnd) != state->caption) {
    return TRUE;
  }
  state->found = hwnd;
  return FALSE;
}

}  // namespace

std::string FarhourExePath() {
  const char* path = std::getenv("FARHOUR_EXE");
  std::string unixPath = path ? path : "farhour.exe";
  if (!unixPath.empty() && unixPath[0] == '/') {
    std::string windowsPath = "Z:" + unixPath;
    for (char& c : windowsPath) if (c == '/') c = '\\';
    return windowsPath;
  }
  return unixPath;
}


std::string RegValue::Text() const {
  std::string text(data.begin(), data.end());
  std::size_t zero = text.find('\0');
  if (zero != std::string::npos) text.erase(zero);
  return text;
}

int RegValue::Int() const {
  DWORD value = 0;
  if (data.size() == sizeof value) memcpy(&value, data.data(), sizeof value);
  return static_cast<int>(value);
}

std::vector<RegValue> ReadSection(const std::string& section, bool* exists) {
  std::vector<RegValue> values;
  HKEY key = nullptr;
  std::string path = std::string(APP_KEY) + "\\" + section;
  bool opened = RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
  if (exists) *exists = opened;
  if (!opened) return values;
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameLength = sizeof name;
    DWORD kind = 0;
    DWORD size = 0;
    if (RegEnumValueA(key, i, name, &nameLength, nullptr, &kind, nullptr, &size) != ERROR_SUCCESS) break;
    RegValue value;
    value.name = name;
    value.kind = kind;
    value.data.resize(size);
    DWORD got = size;
    RegQueryValueExA(key, name, nullptr, nullptr, size ? value.data.data() : nullptr, &got);
    value.data.resize(got);
    values.push_back(value);
  }
  RegCloseKey(key);
  return values;
}

const RegValue* FindValue(const std::vector<RegValue>& values, const std::string& name) {
  for (const RegValue& v : values) {
    if (lstrcmpiA(v.name.c_str(), name.c_str()) == 0) return &v;
  }
  return nullptr;
}

void DeleteSection(const std::string& section) {
  std::string path = std::string(APP_KEY) + "\\" + section;
  SHDeleteKeyA(HKEY_CURRENT_USER, path.c_str());
}

static HKEY CreateSectionKey(const std::string& section) {
  HKEY key = nullptr;
  std::string path = std::string(APP_KEY) + "\\" + section;
  RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr);
  return key;
}

void WriteSectionString(const std::string& section, const char* name, const std::string& text) {
  HKEY key = CreateSectionKey(section);
  RegSetValueExA(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                 static_cast<DWORD>(text.size() + 1));
  RegCloseKey(key);
}

void WriteSectionDword(const std::string& section, const char* name, DWORD value) {
  HKEY key = CreateSectionKey(section);
  RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
  RegCloseKey(key);
}

void WriteSectionValue(const std::string& section, const char* name, DWORD kind, const std::string& bytes) {
  HKEY key = CreateSectionKey(section);
  RegSetValueExA(key, name, 0, kind, reinterpret_cast<const BYTE*>(bytes.data()), static_cast<DWORD>(bytes.size()));
  RegCloseKey(key);
}

std::vector<std::unique_ptr<FarhourProcess>> StartFarhours(const std::vector<std::string>& arguments) {
  std::vector<std::unique_ptr<FarhourProcess>> processes(arguments.size());
  std::vector<std::thread> starters;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    starters.emplace_back([&processes, &arguments, i] { processes[i].reset(new FarhourProcess(arguments[i])); });
  }
  for (std::thread& starter : starters) starter.join();
  return processes;
}

// The probe's procedure runs in farhour's copy of this image, which Wine maps at another address
// without applying its relocations or resolving its imports. The procedure relocates the copy
// itself before it touches any data, then calls the platform only through the table below; the
// compiler must not turn its loops into calls of the C library's memcpy, memset or strlen.
extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace probe {

const UINT COUNT_MESSAGE = WM_APP + 0x2340;
const UINT PICTURES_MESSAGE = WM_APP + 0x2341;
const UINT SYNC_MESSAGE = WM_APP + 0x2342;
const UINT ANSWER_MESSAGE = WM_APP + 0x2350;  // wParam: which, lParam: value
const UINT DONE_MESSAGE = WM_APP + 0x2351;    // lParam: non-zero on success
const char* const REPLY_CLASS = "FarhourProbeReply";
const DWORD KERNEL_HANDLE_SLOTS = 0x8000;  // handles are multiples of 4
const DWORD GDI_HANDLE_SLOTS = 0x10000;    // a handle's low word is its slot
const DWORD USER_HANDLE_SLOTS = 0x7FF0;    // handle = 0x20 + 2 * slot in its low word
const DWORD HEAPS_MAX = 64;
const int PICTURE_MAX = 1024;

using GetLocaleInfoAFn = int(WINAPI*)(LCID, LCTYPE, LPSTR, int);

struct Api {
  FARPROC(WINAPI* getProcAddress)(HMODULE, LPCSTR);
  HMODULE(WINAPI* loadLibraryA)(LPCSTR);
  HMODULE(WINAPI* getModuleHandleA)(LPCSTR);
  BOOL(WINAPI* getHandleInformation)(HANDLE, LPDWORD);
  DWORD(WINAPI* getProcessHeaps)(DWORD, PHANDLE);
  BOOL(WINAPI* heapLock)(HANDLE);
  BOOL(WINAPI* heapUnlock)(HANDLE);
  BOOL(WINAPI* heapWalk)(HANDLE, LPPROCESS_HEAP_ENTRY);
  BOOL(WINAPI* getProcessMemoryInfo)(HANDLE, PROCESS_MEMORY_COUNTERS*, DWORD);
  HANDLE(WINAPI* getCurrentProcess)();
  DWORD(WINAPI* getCurrentThreadId)();
  void(WINAPI* setLastError)(DWORD);
  BOOL(WINAPI* virtualProtect)(LPVOID, SIZE_T, DWORD, PDWORD);
  GetLocaleInfoAFn getLocaleInfoA;
  DWORD(WINAPI* getObjectType)(HGDIOBJ);
  BOOL(WINAPI* deleteObject)(HGDIOBJ);
  BOOL(WINAPI* isMenu)(HMENU);
  BOOL(WINAPI* getIconInfo)(HICON, PICONINFO);
  BOOL(WINAPI* enumThreadWindows)(DWORD, WNDENUMPROC, LPARAM);
  BOOL(WINAPI* enumChildWindows)(HWND, WNDENUMPROC, LPARAM);
  HWND(WINAPI* findWindowA)(LPCSTR, LPCSTR);
  int(WINAPI* getWindowTextA)(HWND, LPSTR, int);
  BOOL(WINAPI* postMessageA)(HWND, UINT, WPARAM, LPARAM);
};

Api g_api;
bool g_ready;
// The pictures the patched lookup gives: [0] time, [1] long date; a failing lookup when set.
char g_pictures[2][PICTURE_MAX];
bool g_fails[2];
char g_title[2 * PICTURE_MAX + 8];
bool g_patched;
GetLocaleInfoAFn g_platformGetLocaleInfoA;

// How far this copy runs from where it was linked to run: 0 once its relocations are applied,
// since the address of the label is itself relocated.
__attribute__((noinline)) DWORD_PTR LoadDelta() {
  DWORD_PTR delta;
  asm volatile("call 1f\n1:\tpopl %0\n\tsubl $1b, %0" : "=r"(delta));
  return delta;
}

// Applies this image's base relocations to the copy it runs in. Every address the code holds is
// wrong until then, so it reaches its one name through the distance.
__attribute__((optimize("no-tree-loop-distribute-patterns"))) bool Relocate(WPARAM getProcAddress,
                                                                              LPARAM kernel32) {
  const DWORD_PTR delta = LoadDelta();
  if (delta == 0) return true;
  auto find = reinterpret_cast<FARPROC(WINAPI*)(HMODULE, LPCSTR)>(getProcAddress);
  const char* name = reinterpret_cast<const char*>(reinterpret_cast<DWORD_PTR>("VirtualProtect") + delta);
  auto protect = reinterpret_cast<BOOL(WINAPI*)(LPVOID, SIZE_T, DWORD, PDWORD)>(
      reinterpret_cast<void*>(find(reinterpret_cast<HMODULE>(kernel32), name)));
  if (!protect) return false;
  BYTE* base = reinterpret_cast<BYTE*>(reinterpret_cast<DWORD_PTR>(&__ImageBase) + delta);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + reinterpret_cast<IMAGE_DOS_HEADER*>(base)->e_lfanew);
  const DWORD imageSize = nt->OptionalHeader.SizeOfImage;
  const DWORD relocations = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].VirtualAddress;
  const DWORD relocationBytes = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_BASERELOC].Size;
  DWORD protection = 0;
  if (!relocations || !protect(base, imageSize, PAGE_EXECUTE_READWRITE, &protection)) return false;
  const BYTE* block = base + relocations;
  const BYTE* end = block + relocationBytes;
  while (block + sizeof(IMAGE_BASE_RELOCATION) <= end) {
    const auto* header = reinterpret_cast<const IMAGE_BASE_RELOCATION*>(block);
    if (header->SizeOfBlock < sizeof(IMAGE_BASE_RELOCATION)) break;
    const DWORD page = header->VirtualAddress;
    const DWORD count = (header->SizeOfBlock - sizeof(IMAGE_BASE_RELOCATION)) / sizeof(WORD);
    const WORD* entries = reinterpret_cast<const WORD*>(block + sizeof(IMAGE_BASE_RELOCATION));
    for (DWORD i = 0; i < count; ++i) {
      if ((entries[i] >> 12) != IMAGE_REL_BASED_HIGHLOW) continue;
      *reinterpret_cast<volatile DWORD*>(base + page + (entries[i] & 0xFFF)) += static_cast<DWORD>(delta);
    }
    block += header->SizeOfBlock;
  }
  return true;
}

template <typename F>
bool Resolve(HMODULE module, const char* name, F* function) {
  *function = reinterpret_cast<F>(reinterpret_cast<void*>(g_api.getProcAddress(module, name)));
  return *function != nullptr;
}

bool Bootstrap(WPARAM getProcAddress, LPARAM kernel32) {
  if (g_ready) return true;
  g_api.getProcAddress = reinterpret_cast<FARPROC(WINAPI*)(HMODULE, LPCSTR)>(getProcAddress);
  HMODULE kernel = reinterpret_cast<HMODULE>(kernel32);
  if (!g_api.getProcAddress || !kernel || !Resolve(kernel, "LoadLibraryA", &g_api.loadLibraryA)) return false;
  HMODULE user = g_api.loadLibraryA("user32.dll");
  HMODULE gdi = g_api.loadLibraryA("gdi32.dll");
  if (!user || !gdi) return false;
  g_ready = Resolve(kernel, "GetModuleHandleA", &g_api.getModuleHandleA) &&
            Resolve(kernel, "GetHandleInformation", &g_api.getHandleInformation) &&
            Resolve(kernel, "GetProcessHeaps", &g_api.getProcessHeaps) &&
            Resolve(kernel, "HeapLock", &g_api.heapLock) && Resolve(kernel, "HeapUnlock", &g_api.heapUnlock) &&
            Resolve(kernel, "HeapWalk", &g_api.heapWalk) &&
            Resolve(kernel, "K32GetProcessMemoryInfo", &g_api.getProcessMemoryInfo) &&
            Resolve(kernel, "GetCurrentProcess", &g_api.getCurrentProcess) &&
            Resolve(kernel, "GetCurrentThreadId", &g_api.getCurrentThreadId) &&
            Resolve(kernel, "SetLastError", &g_api.setLastError) &&
            Resolve(kernel, "VirtualProtect", &g_api.virtualProtect) &&
            Resolve(kernel, "GetLocaleInfoA", &g_api.getLocaleInfoA) &&
            Resolve(gdi, "GetObjectType", &g_api.getObjectType) && Resolve(gdi, "DeleteObject", &g_api.deleteObject) &&
            Resolve(user, "IsMenu", &g_api.isMenu) && Resolve(user, "GetIconInfo", &g_api.getIconInfo) &&
            Resolve(user, "EnumThreadWindows", &g_api.enumThreadWindows) &&
            Resolve(user, "EnumChildWindows", &g_api.enumChildWindows) &&
            Resolve(user, "FindWindowA", &g_api.findWindowA) &&
            Resolve(user, "GetWindowTextA", &g_api.getWindowTextA) &&
            Resolve(user, "PostMessageA", &g_api.postMessageA);
  return g_ready;
}

BOOL CALLBACK CountWindow(HWND, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  return TRUE;
}

BOOL CALLBACK CountTopWindow(HWND hwnd, LPARAM count) {
  ++*reinterpret_cast<DWORD*>(count);
  (void)g_api.enumChildWindows(hwnd, CountWindow, count);
  return TRUE;
}

__attribute__((optimize("no-tree-loop-distribute-patterns"))) void CountResources(DWORD* answers) {
  for (DWORD h = 4; h < 4 * KERNEL_HANDLE_SLOTS; h += 4) {
    DWORD flags = 0;
    if (g_api.getHandleInformation(reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(h)), &flags)) ++answers[0];
  }
  for (DWORD i = 1; i < GDI_HANDLE_SLOTS; ++i) {
    const DWORD type = g_api.getObjectType(reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(i)));
    if (type == OBJ_DC || type == OBJ_MEMDC || type == OBJ_ENHMETADC || type == OBJ_METADC || type == OBJ_REGION ||
        type == OBJ_PEN || type == OBJ_EXTPEN || type == OBJ_BRUSH) {
      ++answers[6];
    } else if (type != 0) {
      ++answers[1];
    }
  }
  (void)g_api.enumThreadWindows(g_api.getCurrentThreadId(), CountTopWindow, reinterpret_cast<LPARAM>(&answers[2]));
  for (DWORD i = 0; i < USER_HANDLE_SLOTS; ++i) {
    HANDLE h = reinterpret_cast<HANDLE>(static_cast<ULONG_PTR>(0x20 + 2 * i));
    if (g_api.isMenu(static_cast<HMENU>(h))) {
      ++answers[2];
      continue;
    }
    ICONINFO info;
    if (g_api.getIconInfo(static_cast<HICON>(h), &info)) {
      ++answers[2];
      if (info.hbmColor) (void)g_api.deleteObject(info.hbmColor);
      if (info.hbmMask) (void)g_api.deleteObject(info.hbmMask);
    }
  }
  HANDLE heaps[HEAPS_MAX];
  DWORD heapCount = g_api.getProcessHeaps(HEAPS_MAX, heaps);
  if (heapCount > HEAPS_MAX) heapCount = HEAPS_MAX;
  for (DWORD i = 0; i < heapCount; ++i) {
    if (!g_api.heapLock(heaps[i])) continue;
    PROCESS_HEAP_ENTRY entry;
    entry.lpData = nullptr;
    while (g_api.heapWalk(heaps[i], &entry)) {
      if (entry.wFlags & PROCESS_HEAP_ENTRY_BUSY) answers[3] += entry.cbData;
    }
    (void)g_api.heapUnlock(heaps[i]);
  }
  PROCESS_MEMORY_COUNTERS memory;
  memory.cb = sizeof memory;
  if (g_api.getProcessMemoryInfo(g_api.getCurrentProcess(), &memory, sizeof memory)) {
    answers[4] = static_cast<DWORD>(memory.WorkingSetSize);
    answers[5] = static_cast<DWORD>(memory.PagefileUsage);
  }
}

int Which(LCTYPE type) {
  type &= ~static_cast<LCTYPE>(LOCALE_NOUSEROVERRIDE | LOCALE_USE_CP_ACP);
  if (type == LOCALE_STIMEFORMAT) return 0;
  if (type == LOCALE_SLONGDATE) return 1;
  return -1;
}

// The platform's contract: the length with its zero, 0 with ERROR_INSUFFICIENT_BUFFER when the
// text does not fit, the length needed when asked with no buffer.
__attribute__((optimize("no-tree-loop-distribute-patterns"))) int WINAPI
PatchedGetLocaleInfoA(LCID locale, LCTYPE type, LPSTR data, int size) {
  const int which = Which(type);
  if (which < 0) return g_platformGetLocaleInfoA(locale, type, data, size);
  if (g_fails[which]) {
    g_api.setLastError(ERROR_INVALID_PARAMETER);
    return 0;
  }
  const volatile char* picture = g_pictures[which];
  int length = 0;
  while (picture[length]) ++length;
  if (size == 0) return length + 1;
  if (!data || length + 1 > size) {
    g_api.setLastError(ERROR_INSUFFICIENT_BUFFER);
    return 0;
  }
  volatile char* out = data;
  for (int i = 0; i <= length; ++i) out[i] = picture[i];
  return length + 1;
}

// Points farhour.exe's import of GetLocaleInfoA at the patched lookup.
bool PatchLocaleLookup() {
  if (g_patched) return true;
  g_platformGetLocaleInfoA = g_api.getLocaleInfoA;
  BYTE* base = reinterpret_cast<BYTE*>(g_api.getModuleHandleA(nullptr));
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& imports = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
  if (!imports.VirtualAddress) return false;
  const auto* descriptor = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress);
  for (; descriptor->Name; ++descriptor) {
    auto* thunk = reinterpret_cast<IMAGE_THUNK_DATA*>(base + descriptor->FirstThunk);
    for (; thunk->u1.Function; ++thunk) {
      if (thunk->u1.Function != reinterpret_cast<ULONG_PTR>(g_platformGetLocaleInfoA)) continue;
      DWORD protection = 0;
      if (!g_api.virtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, PAGE_READWRITE, &protection)) {
        return false;
      }
      thunk->u1.Function = reinterpret_cast<ULONG_PTR>(&PatchedGetLocaleInfoA);
      (void)g_api.virtualProtect(&thunk->u1.Function, sizeof thunk->u1.Function, protection, &protection);
      g_patched = true;
    }
  }
  return g_patched;
}

// The pictures come as the reply window's title: time, 0x01, long date; a lone 0x02 for a failing
// lookup. GetWindowTextA gives them in farhour's code page.
__attribute__((optimize("no-tree-loop-distribute-patterns"))) bool TakePictures(HWND reply) {
  volatile char* title = g_title;
  title[0] = '\0';
  if (g_api.getWindowTextA(reply, g_title, sizeof g_title) <= 0 && title[0] == '\0') return false;
  int i = 0;
  for (int which = 0; which < 2; ++which) {
    volatile char* picture = g_pictures[which];
    int n = 0;
    while (title[i] && title[i] != '\x01' && n < PICTURE_MAX - 1) picture[n++] = title[i++];
    picture[n] = '\0';
    g_fails[which] = n == 1 && picture[0] == '\x02';
    if (title[i] == '\x01') ++i;
  }
  return PatchLocaleLookup();
}

LRESULT CALLBACK Hook(int code, WPARAM removed, LPARAM lParam) {
  if (code != HC_ACTION || removed != PM_REMOVE) return 0;
  const MSG* msg = reinterpret_cast<const MSG*>(lParam);
  if (msg->message != COUNT_MESSAGE && msg->message != PICTURES_MESSAGE && msg->message != SYNC_MESSAGE) return 0;
  if (!Relocate(msg->wParam, msg->lParam) || !Bootstrap(msg->wParam, msg->lParam)) return 0;
  HWND reply = g_api.findWindowA(REPLY_CLASS, nullptr);
  if (!reply) return 0;
  // Posted messages are retrieved in order: everything posted before this one has been handled.
  bool done = msg->message == SYNC_MESSAGE;
  if (msg->message == COUNT_MESSAGE) {
    DWORD answers[7] = {0, 0, 0, 0, 0, 0, 0};
    CountResources(answers);
    for (int i = 0; i < 7; ++i) (void)g_api.postMessageA(reply, ANSWER_MESSAGE, i, static_cast<LPARAM>(answers[i]));
    done = true;
  } else if (msg->message == PICTURES_MESSAGE) {
    done = TakePictures(reply);
  }
  (void)g_api.postMessageA(reply, DONE_MESSAGE, 0, done ? 1 : 0);
  return 0;
}

}  // namespace probe

ProcessProbe::ProcessProbe(HWND farhourWindow) : target_(farhourWindow) {
  WNDCLASSA wc;
  ZeroMemory(&wc, sizeof wc);
  wc.lpfnWndProc = DefWindowProcA;
  wc.hInstance = GetModuleHandleA(nullptr);
  wc.lpszClassName = probe::REPLY_CLASS;
  (void)RegisterClassA(&wc);  // fails harmlessly once registered
  reply_ = CreateWindowExA(0, probe::REPLY_CLASS, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, wc.hInstance, nullptr);
  DWORD thread = farhourWindow ? GetWindowThreadProcessId(farhourWindow, nullptr) : 0;
  if (reply_ && thread) hook_ = SetWindowsHookExA(WH_GETMESSAGE, probe::Hook, GetModuleHandleA(nullptr), thread);
}

ProcessProbe::~ProcessProbe() {
  if (hook_) UnhookWindowsHookEx(hook_);
  if (reply_) DestroyWindow(reply_);
}

bool ProcessProbe::Request(UINT message, DWORD timeoutMs) {
  if (!hook_) return false;
  MSG msg;
  while (PeekMessageA(&msg, reply_, probe::ANSWER_MESSAGE, probe::DONE_MESSAGE, PM_REMOVE)) {
  }
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  FARPROC getProcAddress = GetProcAddress(kernel, "GetProcAddress");
  if (!PostMessageA(target_, message, reinterpret_cast<WPARAM>(getProcAddress), reinterpret_cast<LPARAM>(kernel))) {
    return false;
  }
  DWORD end = GetTickCount() + timeoutMs;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    if (!PeekMessageA(&msg, reply_, probe::ANSWER_MESSAGE, probe::DONE_MESSAGE, PM_REMOVE)) {
      Sleep(5);
      continue;
    }
    if (msg.message == probe::DONE_MESSAGE) return msg.lParam != 0;
    if (msg.wParam < sizeof answers_ / sizeof answers_[0]) answers_[msg.wParam] = static_cast<DWORD>(msg.lParam);
  }
  return false;
}

bool ProcessProbe::CountResources(ProcessResources* counts) {
  for (DWORD& a : answers_) a = 0;
  if (!Request(probe::COUNT_MESSAGE, 5000)) return false;
  counts->kernelHandles = answers_[0];
  counts->gdiObjects = answers_[1];
  counts->userObjects = answers_[2];
  counts->heapBytes = answers_[3];
  counts->workingSetBytes = answers_[4];
  counts->pagefileBytes = answers_[5];
  counts->drawingObjects = answers_[6];
  return true;
}

bool ProcessProbe::Sync() { return Request(probe::SYNC_MESSAGE, 60000); }

bool ProcessProbe::SetLocalePictures(const wchar_t* timePicture, const wchar_t* longDatePicture) {
  std::wstring title = timePicture ? timePicture : L"\x02";
  title += L'\x01';
  title += longDatePicture ? longDatePicture : L"\x02";
  if (!SetWindowTextW(reply_, title.c_str())) return false;
  return Request(probe::PICTURES_MESSAGE, 10000);
}

namespace {
// Wine's settings for farhour.exe alone.
const char* const WINE_X11_KEY = "Software\\Wine\\AppDefaults\\farhour.exe\\X11 Driver";
}

UnmanagedWindows::UnmanagedWindows() {
  if (RegCreateKeyExA(HKEY_CURRENT_USER, WINE_X11_KEY, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &key_,
                      nullptr) != ERROR_SUCCESS) {
    key_ = nullptr;
    return;
  }
  char value[16] = "";
  DWORD size = sizeof value;
  DWORD kind = 0;
  had_ = RegQueryValueExA(key_, "Managed", nullptr, &kind, reinterpret_cast<BYTE*>(value), &size) == ERROR_SUCCESS;
  if (had_) previous_.assign(value, size);
  RegSetValueExA(key_, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>("N"), 2);
}

UnmanagedWindows::~UnmanagedWindows() {
  if (!key_) return;
  if (had_) {
    RegSetValueExA(key_, "Managed", 0, REG_SZ, reinterpret_cast<const BYTE*>(previous_.data()),
                   static_cast<DWORD>(previous_.size()));
  } else {
    RegDeleteValueA(key_, "Managed");
  }
  RegCloseKey(key_);
}

std::string WindowText(HWND hwnd) {
  char text[1024] = "";
  GetWindowTextA(hwnd, text, sizeof text);
  return text;
}

std::string MessageBoxText(HWND box) {
  // The message is the box's static text; its id is 0xFFFF.
  HWND text = GetDlgItem(box, 0xFFFF);
  return text ? WindowText(text) : std::string();
}

void PressButton(HWND dialog, int id) {
  HWND button = GetDlgItem(dialog, id);
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

void Settle(DWORD milliseconds) {
  DWORD end = GetTickCount() + milliseconds;
  while (static_cast<LONG>(end - GetTickCount()) > 0) {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageA(&msg);
    }
    Sleep(20);
  }
}

FarhourProcess::FarhourProcess(const std::string& arguments) {
  std::string commandLine = "\"" + FarhourExePath() + "\" " + arguments;
  STARTUPINFOA startup;
  ZeroMemory(&startup, sizeof startup);
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info;
  ZeroMemory(&info, sizeof info);
  std::vector<char> line(commandLine.begin(), commandLine.end());
  line.push_back('\0');
  if (!CreateProcessA(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info)) {
    return;
  }
  CloseHandle(info.hThread);
  process_ = info.hProcess;
  processId_ = info.dwProcessId;
  WaitForInputIdle(process_, 20000);
  // Set-up ends with the title; wait until the window carries it.
  int number = std::atoi(arguments.c_str());
  std::string caption = number > 0 ? "Farhour (" + std::to_string(number) + ")" : "Farhour";
  for (int i = 0; i < 200 && !window_; ++i) {
    FindState state{processId_, nullptr, caption, false, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&state));
    window_ = state.found;
    if (!window_) Sleep(50);
  }
}

FarhourProcess::~FarhourProcess() {
  if (process_) {
    if (Running()) Kill();
    CloseHandle(process_);
  }
}

bool FarhourProcess::Running() const {
  return process_ && WaitForSingleObject(process_, 0) == WAIT_TIMEOUT;
}

bool FarhourProcess::WaitForExit(DWORD milliseconds, DWORD* exitCode) {
  if (!process_ || WaitForSingleObject(process_, milliseconds) != WAIT_OBJECT_0) return false;
  if (exitCode) GetExitCodeProcess(process_, exitCode);
  return true;
}

HWND FarhourProcess::WaitForMessageBox(DWORD milliseconds) const {
  DWORD end = GetTickCount() + milliseconds;
  do {
    FindState state{processId_, window_, "", true, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&state));
    if (state.found) return state.found;
    Sleep(50);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
  return nullptr;
}

HWND FarhourProcess::WaitForWindow(const std::string& caption, DWORD milliseconds) const {
  DWORD end = GetTickCount() + milliseconds;
  do {
    FindState state{processId_, window_, caption, false, nullptr};
    EnumWindows(FindWindowOfProcess, reinterpret_cast<LPARAM>(&state));
    if (state.found) return state.found;
    Sleep(50);
  } while (static_cast<LONG>(end - GetTickCount()) > 0);
  return nullptr;
}

bool FarhourProcess::CloseConfirmed() {
  if (!window_) return false;
  PostMessageA(window_, WM_SYSCOMMAND, SC_CLOSE, 0);
  HWND box = WaitForMessageBox(10000);
  if (!box) return false;
  PressButton(box, IDYES);
  return WaitForExit(20000);
}

void FarhourProcess::Kill() {
  if (process_) {
    TerminateProcess(process_, 99);
    WaitForSingleObject(process_, 5000);
  }
}

std::string ControlText(HWND dialog, int id) {
  char text[1024] = "";
  SendDlgItemMessageA(dialog, id, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string ComboEntryText(HWND combo, int index) {
  // Asked for in Unicode: Wine 8 hands the ANSI form of this message across processes as wide text.
  LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, static_cast<WPARAM>(index), 0);
  if (length == CB_ERR || length < 0) return std::string();
  std::vector<WCHAR> wide(static_cast<std::size_t>(length) + 1);
  if (SendMessageW(combo, CB_GETLBTEXT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(wide.data())) ==
      CB_ERR) {
    return std::string();
  }
  char text[1024] = "";
  WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, text, sizeof text, nullptr, nullptr);
  return text;
}

HWND FocusedControl(HWND window) {
  GUITHREADINFO info;
  ZeroMemory(&info, sizeof info);
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info)) return nullptr;
  return info.hwndFocus;
}

void TypeText(HWND control, const std::string& text) {
  PostMessageA(control, EM_SETSEL, 0, -1);
  if (text.empty()) PostMessageA(control, WM_CHAR, VK_BACK, 1);
  for (char c : text) PostMessageA(control, WM_CHAR, static_cast<unsigned char>(c), 1);
}

void PressKey(HWND control, UINT virtualKey, bool alt) {
  LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, 0)) << 16;
  // Bit 29 is the Alt key's context bit; bits 30 and 31 mark a release.
  LPARAM context = alt ? (1 << 29) : 0;
  PostMessageA(control, alt ? WM_SYSKEYDOWN : WM_KEYDOWN, virtualKey, 1 | scan | context);
  PostMessageA(control, alt ? WM_SYSKEYUP : WM_KEYUP, virtualKey, 1 | scan | context | (3u << 30));
}
