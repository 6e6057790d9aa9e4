// Acts on a running farhour.exe from the command line, as the run script needs:
//   farhour_ctl close N    answers the Close question of instance N with Yes and waits for its end.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

struct Search {
  std::string caption;
  HWND found;
};

BOOL CALLBACK FindDialog(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  char className[32] = "";
  char text[256] = "";
  GetClassNameA(hwnd, className, sizeof className);
  GetWindowTextA(hwnd, text, sizeof text);
  if (std::string(className) == "#32770" && search->caption == text && GetDlgItem(hwnd, 1006)) {
    search->found = hwnd;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK FindQuestion(HWND hwnd, LPARAM lParam) {
  auto* search = reinterpret_cast<Search*>(lParam);
  if (IsWindowVisible(hwnd) && GetDlgItem(hwnd, IDYES) && GetDlgItem(hwnd, IDNO)) {
    DWORD pid = 0;
    GetWindowThreadProcessId(hwnd, &pid);
    DWORD wanted = 0;
    GetWindowThreadProcessId(search->found, &wanted);
    if (pid == wanted) {
      search->found = hwnd;
      return FALSE;
    }
  }
  return TRUE;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 2 || std::string(argv[1]) != "close") {
    std::fprintf(stderr, "usage: farhour_ctl close [instance number]\n");
    return 2;
  }
  int number = argc > 2 ? std::atoi(argv[2]) : 0;
  Search search{number > 0 ? "Farhour (" + std::to_string(number) + ")" : "Farhour", nullptr};
  for (int i = 0; i < 100 && !search.found; ++i, Sleep(100)) EnumWindows(FindDialog, reinterpret_cast<LPARAM>(&search));
  if (!search.found) {
    std::fprintf(stderr, "farhour_ctl: no running instance %d\n", number);
    return 1;
  }
  HWND dialog = search.found;
  DWORD pid = 0;
  GetWindowThreadProcessId(dialog, &pid);
  HANDLE process = OpenProcess(SYNCHRONIZE, FALSE, pid);
  PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
  Search question{"", dialog};
  for (int i = 0; i < 100 && question.found == dialog; ++i, Sleep(100)) {
    EnumWindows(FindQuestion, reinterpret_cast<LPARAM>(&question));
  }
  if (question.found == dialog) {
    std::fprintf(stderr, "farhour_ctl: the Close question did not appear\n");
    return 1;
  }
  PostMessageA(question.found, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), 0);
  DWORD waited = process ? WaitForSingleObject(process, 20000) : WAIT_FAILED;
  if (process) CloseHandle(process);
  return waited == WAIT_OBJECT_0 ? 0 : 1;
}
