#include "Win32Look.h"

#include <commctrl.h>

#include <algorithm>

#include "platform/Win32Text.h"

namespace mx::wingui {

using platform::win32::Widen;

namespace {

// The resource number of a module's own manifest (a program's is 1).
constexpr ULONG_PTR kModuleManifest = 2;

// Where a single-line edit of the editor's kind, in the look's font and height, starts its text
// below its top: its border and the top of its formatting rectangle, as the edit reports them.
// The system's edits put their text near the top rather than in the middle.
int MeasureEditTextTop(const TLook& look) {
  const int centred = (look.EditHeight - look.LineHeight) / 2;
  HWND edit =
      ::CreateWindowExW(WS_EX_CLIENTEDGE, WC_EDITW, L"", WS_POPUP | ES_AUTOHSCROLL, 0, 0,
                        look.Scale(100), look.EditHeight, nullptr, nullptr, nullptr, nullptr);
  if (!edit) return centred;
  ::SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(look.Font), FALSE);
  RECT format{};
  ::SendMessageW(edit, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
  RECT window{};
  ::GetWindowRect(edit, &window);
  POINT client{0, 0};
  ::ClientToScreen(edit, &client);
  ::DestroyWindow(edit);
  return std::clamp(static_cast<int>(client.y - window.top + format.top), 0,
                    look.EditHeight - look.LineHeight);
}

TLook MakeLook() {
  // The editor draws at the screen's real DPI itself, rather than being drawn small and
  // stretched by the system.
  ::SetProcessDPIAware();
  INITCOMMONCONTROLSEX controls{sizeof controls, ICC_STANDARD_CLASSES | ICC_TAB_CLASSES |
                                                     ICC_LISTVIEW_CLASSES | ICC_UPDOWN_CLASS |
                                                     ICC_BAR_CLASSES | ICC_WIN95_CLASSES};
  ::InitCommonControlsEx(&controls);
  TLook look;
  HDC screen = ::GetDC(nullptr);
  look.Dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof metrics;
  ::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
  look.Font = ::CreateFontIndirectW(&metrics.lfMessageFont);
  HGDIOBJ old = ::SelectObject(screen, look.Font);
  TEXTMETRICW text{};
  ::GetTextMetricsW(screen, &text);
  ::SelectObject(screen, old);
  ::ReleaseDC(nullptr, screen);
  look.LineHeight = static_cast<int>(text.tmHeight);
  look.EditHeight = look.LineHeight + look.Scale(10);
  look.EditTextTop = MeasureEditTextTop(look);
  look.ButtonHeight = std::max(static_cast<int>(text.tmHeight) + look.Scale(12), look.Scale(25));
  look.Gap = look.Scale(6);
  look.Margin = look.Scale(9);
  return look;
}

}  // namespace

SIZE TLook::TextSize(std::string_view text, bool prefix) const {
  const std::wstring wide = Widen(text);
  HDC screen = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(screen, Font);
  RECT box{0, 0, 0, 0};
  ::DrawTextW(screen, wide.empty() ? L" " : wide.c_str(), -1, &box,
              DT_CALCRECT | DT_SINGLELINE | (prefix ? 0 : DT_NOPREFIX));
  ::SelectObject(screen, old);
  ::ReleaseDC(nullptr, screen);
  return {wide.empty() ? 0 : box.right, box.bottom};
}

int TLook::WrappedHeight(std::string_view text, int width) const {
  const std::wstring wide = Widen(text);
  HDC screen = ::GetDC(nullptr);
  HGDIOBJ old = ::SelectObject(screen, Font);
  RECT box{0, 0, width, 0};
  ::DrawTextW(screen, wide.c_str(), -1, &box, DT_CALCRECT | DT_WORDBREAK);
  ::SelectObject(screen, old);
  ::ReleaseDC(nullptr, screen);
  return box.bottom;
}

void ReportFailure(HWND window, const char* text) {
  ::MessageBoxW(window, platform::win32::Widen(text).c_str(), L"Error", MB_OK | MB_ICONERROR);
}

const TLook& Look() {
  static const TLook look = MakeLook();
  return look;
}

HINSTANCE ModuleInstance() {
  HMODULE module = nullptr;
  ::GetModuleHandleExW(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      reinterpret_cast<LPCWSTR>(&ModuleInstance), &module);
  return module;
}

TVisualStyles::TVisualStyles() {
  static HANDLE context = [] {
    ACTCTXW actctx{};
    actctx.cbSize = sizeof actctx;
    actctx.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    actctx.hModule = ModuleInstance();
    actctx.lpResourceName = MAKEINTRESOURCEW(kModuleManifest);
    return ::CreateActCtxW(&actctx);
  }();
  // Without the manifest the controls keep the classic look; everything else works alike.
  if (context != INVALID_HANDLE_VALUE) ::ActivateActCtx(context, &cookie_);
}

TVisualStyles::~TVisualStyles() {
  if (cookie_) ::DeactivateActCtx(0, cookie_);
}

namespace {

LRESULT CALLBACK HandlerProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* proc = reinterpret_cast<TWindowProc*>(::GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) ::SetWindowLongPtrW(window, GWLP_USERDATA, 0);
  // No exception may unwind through the system's code that called this procedure: what the
  // pages failed at is shown, and the message is then handled as if nobody had asked.
  try {
    if (proc && *proc) return (*proc)(window, message, wParam, lParam);
  } catch (const std::exception& e) {
    ReportFailure(window, e.what());
  } catch (...) {
    // Anything else thrown has no text; the person still learns that something failed.
    ReportFailure(window, "An unexpected error occurred.");
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

const wchar_t* HandlerClass() {
  static const wchar_t* name = [] {
    WNDCLASSEXW type{};
    type.cbSize = sizeof type;
    type.lpfnWndProc = HandlerProc;
    type.hInstance = ModuleInstance();
    type.hCursor = ::LoadCursorW(nullptr, MAKEINTRESOURCEW(32512));  // the arrow
    type.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    type.lpszClassName = L"Mx50EditorWindow";
    ::RegisterClassExW(&type);
    return type.lpszClassName;
  }();
  return name;
}

HWND CreateHandlerWindow(DWORD exStyle, DWORD style, const wchar_t* title, HWND parent,
                         TWindowProc* proc) {
  return ::CreateWindowExW(exStyle, HandlerClass(), title, style, CW_USEDEFAULT, CW_USEDEFAULT,
                           CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr, ModuleInstance(), proc);
}

void RunModal(HWND window, const bool& done, const std::function<bool(const MSG&)>& filter) {
  HWND owner = ::GetWindow(window, GW_OWNER);
  const bool ownerEnabled = owner && ::IsWindowEnabled(owner);
  if (ownerEnabled) ::EnableWindow(owner, FALSE);
  ::ShowWindow(window, SW_SHOW);
  MSG message;
  int got = 0;
  while (!done && (got = ::GetMessageW(&message, nullptr, 0, 0)) > 0) {
    if (filter && filter(message)) continue;
    if (::IsDialogMessageW(window, &message)) continue;
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
  // A request to quit is the program's, not this window's: it is passed on.
  if (got == 0) ::PostQuitMessage(static_cast<int>(message.wParam));
  if (ownerEnabled) ::EnableWindow(owner, TRUE);
  ::ShowWindow(window, SW_HIDE);
  if (owner) ::SetActiveWindow(owner);
}

void SetFont(HWND window) {
  ::SendMessageW(window, WM_SETFONT, reinterpret_cast<WPARAM>(Look().Font), TRUE);
}

std::string WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(::GetWindowTextW(window, text.data(), int(text.size()))));
  return platform::win32::Narrow(text);
}

}  // namespace mx::wingui
