#include "Win32PageDialog.h"

#include <commctrl.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "moxtal/api/DesignServices.h"
#include "moxtal/wingui/Win32PageView.h"
#include "moxtal/wingui/Win32Picture.h"
#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/Win32Text.h"

namespace mx::wingui {

using platform::win32::Widen;

namespace {

HWND Button(HWND parent, const wchar_t* caption, int id, DWORD style) {
  HWND button = ::CreateWindowExW(
      0, WC_BUTTONW, caption, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, 0, 0, 0, 0, parent,
      reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ModuleInstance(), nullptr);
  SetFont(button);
  return button;
}

// Runs what a person started; an error goes to a message box.
void Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
  }
}

// Lets the windows draw what they were told to.
void Pump() {
  MSG message;
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    ::TranslateMessage(&message);
    ::DispatchMessageW(&message);
  }
}

}  // namespace

TWin32PageDialog::TWin32PageDialog(engine::TPageDialog& model, const std::string& title, HICON icon)
    : model_(model) {
  const TLook& look = Look();
  proc_ = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Handle(window, message, wParam, lParam);
  };
  window_ = CreateHandlerWindow(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                                WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN,
                                Widen(title).c_str(), nullptr, &proc_);
  if (icon) {
    ::SendMessageW(window_, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    ::SendMessageW(window_, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  }
  tabs_ = ::CreateWindowExW(0, WC_TABCONTROLW, L"",
                            WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, 0, 0, 0,
                            window_, nullptr, ModuleInstance(), nullptr);
  SetFont(tabs_);
  for (const auto& page : model.Pages()) {
    views_.push_back(std::make_unique<TWin32PageView>(*page.Frame, page.Page.get(), window_));
    // The pages lie over the tab control's body.
    ::SetWindowPos(views_.back()->Window(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  }
  ok_ = Button(window_, L"OK", IDOK, BS_DEFPUSHBUTTON);
  cancel_ = Button(window_, L"Cancel", IDCANCEL, BS_PUSHBUTTON);
  help_ = Button(window_, L"&Help", IDHELP, BS_PUSHBUTTON);
  model.OnPageVisibleChanged = [this](std::size_t) { UpdateTabs(); };
  UpdateTabs();
  Layout();
  (void)look;
}

TWin32PageDialog::~TWin32PageDialog() {
  model_.OnPageVisibleChanged = nullptr;
  views_.clear();
  if (window_) ::DestroyWindow(window_);
}

void TWin32PageDialog::Layout() {
  const TLook& look = Look();
  // Wide enough for every page and for the tabs of every page, shown or not.
  int width = look.Scale(520);
  int tabsWidth = look.Scale(24);
  for (std::size_t i = 0; i < views_.size(); ++i) {
    width = std::max(width, static_cast<int>(views_[i]->PreferredSize(0).cx));
    tabsWidth += look.TextSize(model_.Pages()[i].Page->PageName()).cx + look.Scale(18);
  }
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int screenWidth = work.right - work.left;
  const int screenHeight = work.bottom - work.top;
  width = std::min(std::max(width, tabsWidth), screenWidth - look.Scale(60));
  int height = look.Scale(300);
  for (const auto& view : views_)
    height = std::max(height, static_cast<int>(view->PreferredSize(width).cy));
  // The tab control around a body of that size.
  RECT body{0, 0, width, height};
  TabCtrl_AdjustRect(tabs_, TRUE, &body);
  const int margin = look.Margin;
  const int tabsW = body.right - body.left;
  const int buttonW = look.Scale(80);
  const int clientW = tabsW + 2 * margin;
  // A page taller than the screen is cut at the bottom, never the buttons under it.
  const int caption = ::GetSystemMetrics(SM_CYCAPTION) + 2 * ::GetSystemMetrics(SM_CYFIXEDFRAME);
  const int tabsH = std::min(static_cast<int>(body.bottom - body.top),
                             screenHeight - caption - 3 * margin - look.ButtonHeight);
  const int clientH = tabsH + 3 * margin + look.ButtonHeight;
  ::MoveWindow(tabs_, margin, margin, tabsW, tabsH, FALSE);
  const int buttonsTop = margin + tabsH + margin;
  int x = clientW - margin - buttonW;
  for (HWND button : {help_, cancel_, ok_}) {
    ::MoveWindow(button, x, buttonsTop, buttonW, look.ButtonHeight, FALSE);
    x -= buttonW + look.Gap;
  }
  RECT inside{margin, margin, margin + tabsW, margin + tabsH};
  TabCtrl_AdjustRect(tabs_, FALSE, &inside);
  for (const auto& view : views_)
    view->Place(inside);
  RECT frame{0, 0, clientW, clientH};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(window_, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(window_, GWL_EXSTYLE)));
  const int w = frame.right - frame.left;
  const int h = frame.bottom - frame.top;
  ::SetWindowPos(window_, nullptr, work.left + std::max(0, (screenWidth - w) / 2),
                 work.top + std::max(0, (screenHeight - h) / 2), w, h,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void TWin32PageDialog::UpdateTabs() {
  const int current = activePage_;
  TabCtrl_DeleteAllItems(tabs_);
  tabPages_.clear();
  // The tabs show and hide their own pages; a page outside them stays hidden.
  for (std::size_t i = 0; i < views_.size(); ++i) {
    const auto& page = model_.Pages()[i];
    if (!page.Visible) continue;
    std::wstring caption = Widen(page.Page->PageName());
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    item.pszText = caption.data();
    TabCtrl_InsertItem(tabs_, static_cast<int>(tabPages_.size()), &item);
    tabPages_.push_back(static_cast<int>(i));
  }
  const auto at = std::find(tabPages_.begin(), tabPages_.end(), current);
  const int tab = at != tabPages_.end() ? static_cast<int>(at - tabPages_.begin()) : 0;
  TabCtrl_SetCurSel(tabs_, tab);
  activePage_ = tabPages_.empty() ? -1 : tabPages_[static_cast<std::size_t>(tab)];
  ShowCurrentPage();
}

void TWin32PageDialog::ShowCurrentPage() {
  for (std::size_t i = 0; i < views_.size(); ++i)
    ::ShowWindow(views_[i]->Window(), static_cast<int>(i) == activePage_ ? SW_SHOW : SW_HIDE);
}

void TWin32PageDialog::SelectPage(std::size_t index) {
  const auto at = std::find(tabPages_.begin(), tabPages_.end(), static_cast<int>(index));
  if (at == tabPages_.end()) return;
  const int now = static_cast<int>(index);
  if (now != activePage_) {
    Guarded([&] {
      if (activePage_ >= 0)
        model_.Pages()[static_cast<std::size_t>(activePage_)].Page->OnPageDeActivate();
      model_.Pages()[index].Page->OnPageActivate();
    });
  }
  activePage_ = now;
  TabCtrl_SetCurSel(tabs_, static_cast<int>(at - tabPages_.begin()));
  ShowCurrentPage();
}

LRESULT TWin32PageDialog::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDOK:
          PressOk();
          return 0;
        case IDCANCEL:
          PressCancel();
          return 0;
        case IDHELP:
          ShowHelp();
          return 0;
        default:
          return 0;
      }
    case WM_NOTIFY: {
      const auto& header = *reinterpret_cast<const NMHDR*>(lParam);
      if (header.hwndFrom == tabs_ && header.code == TCN_SELCHANGE) {
        const int tab = TabCtrl_GetCurSel(tabs_);
        if (tab >= 0 && tab < static_cast<int>(tabPages_.size()))
          SelectPage(static_cast<std::size_t>(tabPages_[static_cast<std::size_t>(tab)]));
      }
      return 0;
    }
    case WM_CLOSE:
      PressCancel();
      return 0;
    default:
      return ::DefWindowProcW(window, message, wParam, lParam);
  }
}

void TWin32PageDialog::PressOk() {
  try {
    model_.Accept();
  } catch (const std::exception& e) {
    MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK}, 0);
    return;
  }
  accepted_ = true;
  done_ = true;
}

void TWin32PageDialog::PressCancel() {
  accepted_ = false;
  done_ = true;
}

bool TWin32PageDialog::Run() {
  done_ = false;
  accepted_ = false;
  // Ctrl+Tab and Ctrl+Shift+Tab move between the pages, as in every tabbed dialog.
  RunModal(window_, done_, [this](const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB ||
        ::GetKeyState(VK_CONTROL) >= 0 || tabPages_.empty())
      return false;
    const int count = static_cast<int>(tabPages_.size());
    const int step = ::GetKeyState(VK_SHIFT) < 0 ? count - 1 : 1;
    const int tab = (TabCtrl_GetCurSel(tabs_) + step) % count;
    SelectPage(static_cast<std::size_t>(tabPages_[static_cast<std::size_t>(tab)]));
    return true;
  });
  return accepted_;
}

void TWin32PageDialog::ShowHelp() {
  // The help the action gives for its properties, each under its property's caption.
  platform::TStringList help;
  model_.Action().GetPropertyHelp(help);
  std::string text;
  for (int i = 0; i < help.Count(); ++i) {
    if (help.ValueFromIndex(i).empty()) continue;
    text += help.Names(i) + "\r\n    " + help.ValueFromIndex(i) + "\r\n\r\n";
  }
  if (text.empty()) text = "This action has no help for its properties.";
  const TLook& look = Look();
  bool closed = false;
  HWND view = nullptr;
  HWND close = nullptr;
  TWindowProc proc = [&](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
    if (message == WM_CLOSE ||
        (message == WM_COMMAND && (LOWORD(wParam) == IDCANCEL || LOWORD(wParam) == IDOK))) {
      closed = true;
      return 0;
    }
    return ::DefWindowProcW(window, message, wParam, lParam);
  };
  HWND box = CreateHandlerWindow(
      WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT, WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME,
      Widen(model_.Action().GetActionName() + " - Help").c_str(), window_, &proc);
  view = ::CreateWindowExW(
      WS_EX_CLIENTEDGE, WC_EDITW, Widen(text).c_str(),
      WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | WS_TABSTOP, 0, 0, 0, 0, box,
      nullptr, ModuleInstance(), nullptr);
  SetFont(view);
  close = Button(box, L"Close", IDCANCEL, BS_DEFPUSHBUTTON);
  // The help is long: a scrolling text at most two thirds of the screen high.
  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  const int w = std::min(look.Scale(560), static_cast<int>(work.right - work.left) * 9 / 10);
  const int h = std::min(look.Scale(640), static_cast<int>(work.bottom - work.top) * 2 / 3);
  const int m = look.Margin;
  ::MoveWindow(view, m, m, w - 2 * m, h - 3 * m - look.ButtonHeight, FALSE);
  ::MoveWindow(close, w - m - look.Scale(80), h - m - look.ButtonHeight, look.Scale(80),
               look.ButtonHeight, FALSE);
  RECT frame{0, 0, w, h};
  ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(box, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(::GetWindowLongW(box, GWL_EXSTYLE)));
  ::SetWindowPos(box, nullptr,
                 work.left + (work.right - work.left - (frame.right - frame.left)) / 2,
                 work.top + (work.bottom - work.top - (frame.bottom - frame.top)) / 2,
                 frame.right - frame.left, frame.bottom - frame.top, SWP_NOZORDER);
  RunModal(box, closed);
  ::DestroyWindow(box);
}

void TWin32PageDialog::SaveScreenshots(const std::string& folder) {
  std::error_code error;
  std::filesystem::create_directories(std::filesystem::path(Widen(folder)), error);
  if (error) throw Exception("Cannot create the folder " + folder + ": " + error.message());
  ::ShowWindow(window_, SW_SHOWNOACTIVATE);
  UpdateTabs();
  for (std::size_t i = 0; i < views_.size(); ++i) {
    const auto& page = model_.Pages()[i];
    // Only what the dialog shows for this action: the TLIB page belongs to libraries alone. A
    // page keeps its number whichever pages are shown.
    if (!page.Visible) continue;
    SelectPage(i);
    ::RedrawWindow(window_, nullptr, nullptr,
                   RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump();
    std::string name;
    for (const char c : page.Page->PageName()) {
      if (std::isalnum(static_cast<unsigned char>(c)) || c == '+') name += c;
    }
    char number[8];
    std::snprintf(number, sizeof number, "%02u", static_cast<unsigned>(i + 1));
    SaveWindowPicture(window_, platform::machinepath::Join(folder, number + ("-" + name) + ".png"));
  }
  ::ShowWindow(window_, SW_HIDE);
}

}  // namespace mx::wingui
