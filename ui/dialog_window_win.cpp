#include "ui/dialog_window_win.h"

#include <new>
#include <vector>

#include "base/dpi_win.h"
#include "base/utf8_text.h"
#include "base/wide_text_win.h"
#include "res/resource.h"
#include "ui/offset_text.h"

std::string WindowText(HWND control) {
  int length = GetWindowTextLengthW(control);
  if (length <= 0) return std::string();
  std::vector<wchar_t> text(static_cast<std::size_t>(length) + 1);
  int got = GetWindowTextW(control, text.data(), length + 1);
  return Utf8(text.data(), got > 0 ? got : 0);
}

void SetText(HWND window, const std::string& text) { (void)SetWindowTextW(window, Wide(text).c_str()); }

std::string LoadResourceString(HINSTANCE instance, UINT id) {
  // With no buffer the call points at the string inside the resource, which is not zero-terminated.
  const wchar_t* text = nullptr;
  int length = LoadStringW(instance, id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 && text ? Utf8(text, length) : std::string();
}

std::string ApplicationTitle(HINSTANCE instance) {
  std::string title = LoadResourceString(instance, IDS_APP_TITLE);
  if (!title.empty()) return title;
  wchar_t path[MAX_PATH] = L"";
  DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
  std::string name = Utf8(path, length < MAX_PATH ? static_cast<int>(length) : 0);
  std::size_t slash = name.find_last_of("\\/:");
  if (slash != std::string::npos) name.erase(0, slash + 1);
  std::size_t dot = name.rfind('.');
  if (dot != std::string::npos) name.erase(dot);
  return name;
}

DialogWindow::DialogWindow(HINSTANCE instance, int templateId)
    : instance_(instance), templateId_(templateId) {}

DialogWindow::~DialogWindow() = default;

INT_PTR CALLBACK DialogWindow::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  DialogWindow* self = nullptr;
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<DialogWindow*>(lParam);
    SetWindowLongPtrW(hwnd, DWLP_USER, reinterpret_cast<LONG_PTR>(self));
    self->hwnd_ = hwnd;
  } else {
    self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(hwnd, DWLP_USER));
  }
  if (!self) return FALSE;

  LRESULT result = 0;
  // No exception may unwind into the system's code that called this procedure; running out of
  // memory in a handler leaves the message to the default handling.
  bool handled = false;
  try {
    handled = self->WindowProc(message, wParam, lParam, &result);
  } catch (...) {
    handled = false;
  }
  // A modeless window destroyed by its own handler.
  if (message == WM_NCDESTROY) self->hwnd_ = nullptr;
  if (!handled) return FALSE;
  switch (message) {
    // These return their result straight from the dialog procedure.
    case WM_INITDIALOG:
    case WM_QUERYDRAGICON:
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
      return static_cast<INT_PTR>(result);
    default:
      SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
      return TRUE;
  }
}

bool DialogWindow::WindowProc(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  return OnMessage(message, wParam, lParam, result);
}

bool DialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
  if (message == WM_INITDIALOG) {
    dpi_ = MonitorDpi(hwnd_);
    *result = OnInitDialog();
    return true;
  }
  if (message == WM_DPICHANGED_MESSAGE) {
    const UINT dpi = LOWORD(wParam);
    const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
    // Per-monitor v2 dialogs are rescaled by the dialog manager's own handling of the message.
    const bool platformScales = PlatformScalesDialogs(hwnd_);
    if (!platformScales && suggested && dpi != 0 && dpi != dpi_) ScaleToDpi(dpi, *suggested);
    dpi_ = dpi != 0 ? dpi : dpi_;
    OnDpiChanged(dpi_);
    return !platformScales;
  }
  return false;
}

namespace {

struct ChildScaling {
  HWND dialog;
  HFONT font;
  UINT from;
  UINT to;
};

BOOL CALLBACK ScaleChild(HWND child, LPARAM lParam) {
  const auto* scaling = reinterpret_cast<const ChildScaling*>(lParam);
  if (GetParent(child) != scaling->dialog) return TRUE;
  RECT r;
  if (!GetWindowRect(child, &r)) return TRUE;
  (void)MapWindowPoints(nullptr, scaling->dialog, reinterpret_cast<POINT*>(&r), 2);
  const auto scale = [scaling](LONG v) {
    return MulDiv(v, static_cast<int>(scaling->to), static_cast<int>(scaling->from));
  };
  (void)SetWindowPos(child, nullptr, scale(r.left), scale(r.top), scale(r.right - r.left), scale(r.bottom - r.top),
                     SWP_NOZORDER | SWP_NOACTIVATE);
  if (scaling->font) (void)SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(scaling->font), FALSE);
  return TRUE;
}

}  // namespace

void DialogWindow::ScaleToDpi(UINT dpi, const RECT& suggested) {
  LOGFONTW font;
  HFONT current = reinterpret_cast<HFONT>(SendMessageW(hwnd_, WM_GETFONT, 0, 0));
  // A second change of DPI scales the font of the first.
  if (scaledFont_) current = static_cast<HFONT>(scaledFont_.Get());
  OwnedGdiObject scaled;
  if (current && GetObjectW(current, sizeof font, &font) == sizeof font) {
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(dpi_));
    scaled = OwnedGdiObject(CreateFontIndirectW(&font));
  }
  ChildScaling scaling{hwnd_, static_cast<HFONT>(scaled.Get()), dpi_, dpi};
  (void)EnumChildWindows(hwnd_, ScaleChild, reinterpret_cast<LPARAM>(&scaling));
  // The controls now use the new font; the old one, if this object made it, can go. The dialog
  // keeps its own, which the dialog manager made and destroys.
  if (scaled) scaledFont_ = std::move(scaled);
  (void)SetWindowPos(hwnd_, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                     suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
  (void)InvalidateRect(hwnd_, nullptr, TRUE);
}

INT_PTR DialogWindow::RunHidden(HWND previousForeground) {
  modeless_ = true;
  ended_ = false;
  result_ = 0;
  HWND hwnd = CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId_), nullptr, DialogProc,
                                 reinterpret_cast<LPARAM>(this));
  if (!hwnd) return -1;
  // A copy asked to show its window while it was being made keeps it in front.
  if (previousForeground && !IsWindowVisible(hwnd)) (void)SetForegroundWindow(previousForeground);

  MSG msg;
  while (!ended_) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      // Someone asked the whole process to quit: pass it on and end the run as a failed one.
      PostQuitMessage(static_cast<int>(msg.wParam));
      result_ = -1;
      break;
    }
    if (got == -1) {
      result_ = -1;
      break;
    }
    // Tab, the arrows, Enter and Escape for whichever of this program's windows has the message.
    HWND dialog = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (!dialog || reinterpret_cast<DLGPROC>(GetWindowLongPtrW(dialog, DWLP_DLGPROC)) != DialogProc) dialog = hwnd_;
    if (!IsDialogMessageW(dialog, &msg)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
  }
  (void)SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0,
                     SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
  DestroyWindow();
  return result_;
}

INT_PTR DialogWindow::RunModal(HWND owner) {
  modeless_ = false;
  return DialogBoxParamW(instance_, MAKEINTRESOURCEW(templateId_), owner, DialogProc,
                         reinterpret_cast<LPARAM>(this));
}

bool DialogWindow::CreateModeless() {
  modeless_ = true;
  return CreateDialogParamW(instance_, MAKEINTRESOURCEW(templateId_), nullptr, DialogProc,
                            reinterpret_cast<LPARAM>(this)) != nullptr;
}

void DialogWindow::EndDialog(INT_PTR result) {
  result_ = result;
  ended_ = true;
  if (!modeless_ && hwnd_) (void)::EndDialog(hwnd_, result);
  // Wake the loop of the hidden run, which may be waiting for a message.
  if (modeless_ && hwnd_) (void)PostMessageW(hwnd_, WM_NULL, 0, 0);
}

void DialogWindow::DestroyWindow() {
  if (hwnd_ && modeless_) (void)::DestroyWindow(hwnd_);
  hwnd_ = nullptr;
}

bool DialogWindow::UpdateData(bool save) {
  DataExchange dx(*this, save);
  try {
    DoDataExchange(dx);
  } catch (const std::bad_alloc&) {
    // A failure with no message of its own, reported like a refused value.
    ShowMessage(LoadResourceString(instance_, IDS_INTERNAL_ERROR), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  return !dx.Failed();
}

int DialogWindow::ShowMessage(const std::string& text, UINT type) {
  return MessageBoxW(hwnd_, Wide(text).c_str(), Wide(ApplicationTitle(instance_)).c_str(), type);
}

namespace {

bool IsRadioButton(HWND control) {
  wchar_t className[16] = L"";
  (void)GetClassNameW(control, className, 16);
  if (lstrcmpiW(className, L"Button") != 0) return false;
  LONG type = GetWindowLongW(control, GWL_STYLE) & BS_TYPEMASK;
  return type == BS_RADIOBUTTON || type == BS_AUTORADIOBUTTON;
}

}  // namespace

void DataExchange::Fail(int id, const std::string& message) {
  failed_ = true;
  dialog_.ShowMessage(message, MB_OK | MB_ICONEXCLAMATION);
  HWND control = GetDlgItem(dialog_.Hwnd(), id);
  if (control) {
    (void)SetFocus(control);
    (void)SendMessageW(control, EM_SETSEL, 0, -1);
  }
}

void DataExchange::Text(int id, std::string& field) {
  if (failed_) return;
  HWND control = GetDlgItem(dialog_.Hwnd(), id);
  if (save_) {
    field = WindowText(control);
  } else {
    SetText(control, field);
  }
}

void DataExchange::MaxChars(int id, const std::string& field, int maxChars) {
  if (failed_) return;
  if (save_ && CountCharacters(field) > static_cast<std::size_t>(maxChars)) {
    std::string prompt = LoadResourceString(dialog_.Instance(), IDS_TOO_MANY_CHARS);
    Fail(id, FormatPrompt(prompt, std::to_string(maxChars)));
    return;
  }
  constexpr int UNITS_PER_CHAR = 4;
  (void)SendDlgItemMessageW(dialog_.Hwnd(), id, EM_LIMITTEXT, static_cast<WPARAM>(UNITS_PER_CHAR * maxChars), 0);
}

void DataExchange::ListIndex(int id, int& field) {
  if (failed_) return;
  if (save_) {
    field = static_cast<int>(SendDlgItemMessageW(dialog_.Hwnd(), id, CB_GETCURSEL, 0, 0));
  } else {
    // An index outside the list must clear the selection; some list implementations (Wine's among
    // them) refuse such an index and keep the old selection instead.
    LRESULT count = SendDlgItemMessageW(dialog_.Hwnd(), id, CB_GETCOUNT, 0, 0);
    int index = field >= 0 && field < count ? field : -1;
    (void)SendDlgItemMessageW(dialog_.Hwnd(), id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
  }
}

void DataExchange::Offset(int id, double& field) {
  if (failed_) return;
  HWND control = GetDlgItem(dialog_.Hwnd(), id);
  if (!save_) {
    SetText(control, FormatOffsetText(field));
    return;
  }
  double value = 0.0;
  if (!ParseOffsetText(WindowText(control), &value)) {
    Fail(id, LoadResourceString(dialog_.Instance(), IDS_ENTER_NUMBER));
    return;
  }
  field = value;
}

void DataExchange::OffsetRange(int id, double field) {
  if (failed_ || !save_) return;
  if (!OffsetInRange(field)) {
    std::string prompt = LoadResourceString(dialog_.Instance(), IDS_ENTER_NUMBER_RANGE);
    Fail(id, FormatPrompt(prompt, FormatOffsetText(OFFSET_MIN), FormatOffsetText(OFFSET_MAX)));
  }
}

void DataExchange::Radio(int firstId, int& field) {
  if (failed_) return;
  HWND control = GetDlgItem(dialog_.Hwnd(), firstId);
  if (save_) field = -1;
  // The group runs from the first button up to the next control that starts a group.
  int position = 0;
  for (HWND c = control; c; c = GetWindow(c, GW_HWNDNEXT)) {
    if (c != control && (GetWindowLongW(c, GWL_STYLE) & WS_GROUP)) break;
    if (!IsRadioButton(c)) continue;
    if (save_) {
      if (SendMessageW(c, BM_GETCHECK, 0, 0) == BST_CHECKED) field = position;
    } else {
      (void)SendMessageW(c, BM_SETCHECK, position == field ? BST_CHECKED : BST_UNCHECKED, 0);
    }
    ++position;
  }
}
