#include "Win32PageView.h"

#include <commctrl.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <cwctype>
#include <iterator>
#include <string_view>

#include "moxtal/api/DesignServices.h"
#include "moxtal/wingui/Win32Picture.h"
#include "platform/Win32Text.h"

namespace mx::wingui {

using platform::win32::Narrow;
using platform::win32::Widen;

namespace {

bool IsContainer(const TControl& control) {
  return control.Kind() == TControlKind::ckPanel || control.Kind() == TControlKind::ckGroupBox;
}

// Shown: the control and every container around it.
bool EffectivelyVisible(const TControl& control) {
  for (const TControl* c = &control; c; c = c->Parent()) {
    if (!c->Visible()) return false;
  }
  return true;
}

void SetWindowTextIfChanged(HWND window, const std::string& text) {
  if (WindowText(window) != text) ::SetWindowTextW(window, Widen(text).c_str());
}

// The margins between a container's edge and its children: left, top, right, bottom.
RECT Insets(const TContainer& container) {
  const TLook& look = Look();
  if (container.Kind() == TControlKind::ckGroupBox)
    return {look.Scale(8), look.LineHeight + look.Scale(6), look.Scale(8), look.Scale(8)};
  if (!container.Parent()) return {look.Margin, look.Margin, look.Margin, look.Margin};
  const auto& panel = static_cast<const TPanel&>(container);
  const int frame = panel.Sunken() ? look.Scale(3) : 0;
  return {frame, frame, frame, frame};
}

// A masked edit of a hexadecimal number takes hexadecimal digits only (and editing keys), the
// letters in upper case as the page writes them.
LRESULT CALLBACK HexadecimalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR) {
  if (message == WM_PASTE) {
    // Pasted text keeps only what could be typed.
    std::wstring kept;
    if (::OpenClipboard(window)) {
      if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto* text = static_cast<const wchar_t*>(::GlobalLock(data))) {
          for (const wchar_t* c = text; *c; ++c) {
            if (std::iswxdigit(static_cast<wint_t>(*c)) || *c == L'x')
              kept += static_cast<wchar_t>(std::towupper(static_cast<wint_t>(*c)));
          }
          ::GlobalUnlock(data);
        }
      }
      ::CloseClipboard();
    }
    for (wchar_t& c : kept) {
      if (c == L'X') c = L'x';
    }
    ::SendMessageW(window, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(kept.c_str()));
    return 0;
  }
  if (message == WM_CHAR && wParam >= L' ') {
    if (wParam >= L'a' && wParam <= L'f') wParam -= L'a' - L'A';
    if (!std::iswxdigit(static_cast<wint_t>(wParam)) && wParam != L'x') {
      ::MessageBeep(MB_OK);
      return 0;
    }
  }
  return ::DefSubclassProc(window, message, wParam, lParam);
}

// The grid's in-place editor: Enter keeps the text, Escape drops it, leaving it keeps it.
LRESULT CALLBACK CellEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR data) {
  auto* end = reinterpret_cast<std::function<void(bool)>*>(data);
  if (message == WM_GETDLGCODE) return DLGC_WANTALLKEYS;
  // Ending the edit runs the page's code; nothing it throws may unwind into the system.
  const auto finish = [&](bool keep) {
    try {
      (*end)(keep);
    } catch (const std::exception& e) {
      ReportFailure(window, e.what());
    }
    return 0;
  };
  if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_ESCAPE))
    return finish(wParam == VK_RETURN);
  if (message == WM_KILLFOCUS) return finish(true);
  return ::DefSubclassProc(window, message, wParam, lParam);
}

// Draws the picture of an edit's button: a folder, three dots, a reload arrow or a cross.
// The colours of a grid's list view: the face of a button while its model asks for it or it is
// disabled, grey text while disabled.
void PaintGrid(HWND list, const TStringGrid& grid) {
  const bool enabled = grid.EffectivelyEnabled();
  const COLORREF face =
      ::GetSysColor(grid.Color() == TColor::clBtnFace || !enabled ? COLOR_BTNFACE : COLOR_WINDOW);
  ListView_SetBkColor(list, face);
  ListView_SetTextBkColor(list, face);
  ListView_SetTextColor(list, ::GetSysColor(enabled ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
  ::InvalidateRect(list, nullptr, TRUE);
}

void DrawGlyph(HDC dc, RECT box, TEditGlyph glyph, bool enabled) {
  const TLook& look = Look();
  const COLORREF ink = ::GetSysColor(enabled ? COLOR_BTNTEXT : COLOR_GRAYTEXT);
  HPEN pen = ::CreatePen(PS_SOLID, std::max(1, look.Scale(1)), ink);
  HGDIOBJ oldPen = ::SelectObject(dc, pen);
  const int cx = (box.left + box.right) / 2;
  const int cy = (box.top + box.bottom) / 2;
  const int u = std::max(1, look.Scale(1));
  switch (glyph) {
    case TEditGlyph::egEllipsis: {
      HBRUSH dots = ::CreateSolidBrush(ink);
      for (int i = -1; i <= 1; ++i) {
        RECT dot{cx + i * 4 * u - u, cy + 2 * u, cx + i * 4 * u + u, cy + 4 * u};
        ::FillRect(dc, &dot, dots);
      }
      ::DeleteObject(dots);
      break;
    }
    case TEditGlyph::egFolder: {
      HBRUSH face = ::CreateSolidBrush(enabled ? RGB(240, 200, 90) : ::GetSysColor(COLOR_BTNFACE));
      HGDIOBJ oldBrush = ::SelectObject(dc, face);
      const POINT outline[] = {{cx - 7 * u, cy - 5 * u}, {cx - 2 * u, cy - 5 * u},
                               {cx, cy - 3 * u},         {cx + 7 * u, cy - 3 * u},
                               {cx + 7 * u, cy + 5 * u}, {cx - 7 * u, cy + 5 * u}};
      ::Polygon(dc, outline, 6);
      ::SelectObject(dc, oldBrush);
      ::DeleteObject(face);
      break;
    }
    case TEditGlyph::egReload: {
      const int r = 5 * u;
      ::Arc(dc, cx - r, cy - r, cx + r + 1, cy + r + 1, cx + r, cy - r, cx + r, cy);
      const POINT head[] = {{cx + r - 3 * u, cy - r - 2 * u},
                            {cx + r + u, cy - r + u},
                            {cx + r - 4 * u, cy - r + 2 * u}};
      ::Polyline(dc, head, 3);
      break;
    }
    case TEditGlyph::egClear: {
      const int r = 4 * u;
      ::MoveToEx(dc, cx - r, cy - r, nullptr);
      ::LineTo(dc, cx + r + 1, cy + r + 1);
      ::MoveToEx(dc, cx + r, cy - r, nullptr);
      ::LineTo(dc, cx - r - 1, cy + r + 1);
      break;
    }
  }
  ::SelectObject(dc, oldPen);
  ::DeleteObject(pen);
}

// Widens the columns that hold no labels to share `room` alike, as far as each one's content
// allows: a column whose content is wider than an even share keeps its width, the others share
// the rest.
void ShareColumns(std::vector<int>& widths, const std::vector<char>& labels, int room) {
  const std::size_t columns = widths.size();
  std::vector<char> fixed(labels);
  int share = 0;
  for (bool changed = true; changed;) {
    changed = false;
    int rest = room;
    int open = 0;
    for (std::size_t c = 0; c < columns; ++c) {
      if (!fixed[c]) {
        ++open;
      } else if (!labels[c]) {
        rest -= widths[c];
      }
    }
    share = open > 0 ? rest / open : 0;
    for (std::size_t c = 0; c < columns; ++c) {
      if (!fixed[c] && widths[c] > share) {
        fixed[c] = 1;
        changed = true;
      }
    }
  }
  for (std::size_t c = 0; c < columns; ++c) {
    if (!fixed[c]) widths[c] = std::max(widths[c], share);
  }
}

HWND MakeChild(HWND parent, DWORD exStyle, const wchar_t* type, DWORD style) {
  static int nextId = 1000;
  HWND window = ::CreateWindowExW(exStyle, type, L"", WS_CHILD | style, 0, 0, 0, 0, parent,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(nextId++)),
                                  ModuleInstance(), nullptr);
  SetFont(window);
  return window;
}

}  // namespace

// Makes the windows of each kind of control.
class TWin32PageView::TMaker : public IControlVisitor {
 public:
  TMaker(HWND parent, TBinding& binding) : parent_(parent), b_(binding) {}

  void Visit(TPanel& panel) override {
    // A plain panel is only a layout; a sunken one is a picture well with a border.
    if (panel.Sunken() && panel.Parent()) b_.Frame = Child(WS_EX_CLIENTEDGE, WC_STATICW, 0);
  }
  void Visit(TGroupBox&) override { b_.Window = Child(0, WC_BUTTONW, BS_GROUPBOX); }
  void Visit(TLabel& label) override {
    b_.Window = Child(0, WC_STATICW, label.WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP);
  }
  void Visit(TCheckBox&) override { b_.Window = Child(0, WC_BUTTONW, BS_CHECKBOX | WS_TABSTOP); }
  void Visit(TRadioButton& radio) override {
    // The arrow keys move between the radio buttons of one parent, which form one group.
    const auto& siblings = radio.Parent()->Controls();
    const auto self = std::find_if(siblings.begin(), siblings.end(),
                                   [&](const auto& c) { return c.get() == &radio; });
    const bool first =
        self == siblings.begin() || (*std::prev(self))->Kind() != TControlKind::ckRadioButton;
    b_.Window = Child(0, WC_BUTTONW, BS_RADIOBUTTON | WS_TABSTOP | (first ? WS_GROUP : 0));
  }
  void Visit(TEdit& edit) override {
    const auto* masked = dynamic_cast<const TMaskEdit*>(&edit);
    const bool hex = masked && masked->Hexadecimal();
    b_.Window = Child(WS_EX_CLIENTEDGE, WC_EDITW, ES_AUTOHSCROLL | WS_TABSTOP);
    if (masked) {
      const std::string& mask = masked->EditMask();
      ::SendMessageW(b_.Window, EM_LIMITTEXT, mask.substr(0, mask.find(';')).size(), 0);
    }
    if (hex) ::SetWindowSubclass(b_.Window, HexadecimalProc, 1, 0);
    if (edit.FolderButton().Visible) b_.Folder = Child(0, WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP);
    if (edit.CustomButton().Visible) b_.Custom = Child(0, WC_BUTTONW, BS_OWNERDRAW | WS_TABSTOP);
  }
  void Visit(TSpinEdit& spin) override {
    const bool negative = spin.MinValue() < 0 || (spin.MinValue() == 0 && spin.MaxValue() == 0);
    b_.Window = Child(WS_EX_CLIENTEDGE, WC_EDITW,
                      ES_AUTOHSCROLL | WS_TABSTOP | WS_CLIPSIBLINGS | (negative ? 0 : ES_NUMBER));
    b_.UpDown = Child(0, UPDOWN_CLASSW, UDS_ARROWKEYS | UDS_SETBUDDYINT | UDS_NOTHOUSANDS);
    ::SendMessageW(b_.UpDown, UDM_SETBUDDY, reinterpret_cast<WPARAM>(b_.Window), 0);
    // Drawn over the edit, whose border it sits in.
    ::SetWindowPos(b_.UpDown, b_.Window, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    ::SetWindowPos(b_.Window, b_.UpDown, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    const bool limited = spin.MinValue() != 0 || spin.MaxValue() != 0;
    ::SendMessageW(b_.UpDown, UDM_SETRANGE32, limited ? WPARAM(int(spin.MinValue())) : INT_MIN,
                   limited ? LPARAM(int(spin.MaxValue())) : INT_MAX);
    UDACCEL step{0, static_cast<UINT>(std::max(1.0, spin.Increment()))};
    ::SendMessageW(b_.UpDown, UDM_SETACCEL, 1, reinterpret_cast<LPARAM>(&step));
  }
  void Visit(TComboBox& combo) override {
    const DWORD style = combo.Style() == TComboBoxStyle::csDropDown ? CBS_DROPDOWN | CBS_AUTOHSCROLL
                                                                    : CBS_DROPDOWNLIST;
    b_.Window = Child(0, WC_COMBOBOXW, style | WS_VSCROLL | WS_TABSTOP);
  }
  void Visit(TStringGrid& grid) override {
    // The list asks for the texts it shows (LVN_GETDISPINFO): however many rows the model has,
    // filling it costs one message, not one for every cell.
    b_.Window = Child(WS_EX_CLIENTEDGE, WC_LISTVIEWW,
                      LVS_REPORT | LVS_OWNERDATA | LVS_SINGLESEL | LVS_SHOWSELALWAYS | WS_TABSTOP |
                          (grid.FixedRows() > 0 ? 0 : LVS_NOCOLUMNHEADER));
    ListView_SetExtendedListViewStyle(b_.Window, LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES);
    for (int col = 0; col < grid.ColCount(); ++col) {
      LVCOLUMNW column{};
      column.mask = LVCF_WIDTH;
      column.cx = Look().Scale(150);
      ListView_InsertColumn(b_.Window, col, &column);
    }
  }
  void Visit(TImage&) override { b_.Window = Child(0, WC_STATICW, SS_OWNERDRAW); }
  void Visit(TButton&) override { b_.Window = Child(0, WC_BUTTONW, BS_PUSHBUTTON | WS_TABSTOP); }

 private:
  // Every other control that takes the keyboard is a group of its own.
  HWND Child(DWORD exStyle, const wchar_t* type, DWORD style) {
    if ((style & WS_TABSTOP) && std::wstring_view(type) != WC_BUTTONW) style |= WS_GROUP;
    if ((style & WS_TABSTOP) && std::wstring_view(type) == WC_BUTTONW &&
        (style & 0xF) != BS_RADIOBUTTON)
      style |= WS_GROUP;
    return MakeChild(parent_, exStyle, type, style);
  }
  HWND parent_;
  TBinding& b_;
};

TWin32PageView::TWin32PageView(TFrame& frame, IMxPropertyPage* page, HWND parent)
    : frame_(frame), page_(page) {
  proc_ = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    return Handle(window, message, wParam, lParam);
  };
  // The page paints the background of its group boxes, which paint only their frames: it
  // does not clip its children.
  window_ = CreateHandlerWindow(WS_EX_CONTROLPARENT, WS_CHILD, L"", parent, &proc_);
  tooltip_ = ::CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, 0, 0, 0, 0, window_,
                               nullptr, ModuleInstance(), nullptr);
  ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Look().Scale(420));
  syncing_ = true;
  Build(frame);
  syncing_ = false;
  // Frames go under every control, those they surround included; the tab order stays the
  // page's.
  for (const auto& [control, binding] : bindings_) {
    for (HWND back :
         {control->Kind() == TControlKind::ckGroupBox ? binding.Window : nullptr, binding.Frame}) {
      if (back) ::SetWindowPos(back, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    }
  }
  frame.SetObserver([this](TControl& control) { Sync(control); });
  frame.SetFocusObserver([this](TControl& control) {
    if (const auto it = bindings_.find(&control); it != bindings_.end() && it->second.Window)
      ::SetFocus(it->second.Window);
  });
}

TWin32PageView::~TWin32PageView() {
  frame_.SetObserver(nullptr);
  frame_.SetFocusObserver(nullptr);
  for (auto& [control, binding] : bindings_) {
    if (binding.Picture) ::DeleteObject(binding.Picture);
  }
  if (tooltip_) ::DestroyWindow(tooltip_);
  if (window_) ::DestroyWindow(window_);
}

void TWin32PageView::Build(TControl& control) {
  TBinding& binding = bindings_[&control];
  if (&control != &frame_) {
    TMaker maker(window_, binding);
    control.Accept(maker);
  }
  for (HWND part :
       {binding.Window, binding.Folder, binding.Custom, binding.UpDown, binding.Frame}) {
    if (!part) continue;
    controls_[part] = &control;
    TOOLINFOW tool{};
    tool.cbSize = sizeof tool;
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window_;
    tool.uId = reinterpret_cast<UINT_PTR>(part);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    ::SendMessageW(tooltip_, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  }
  if (auto* container = dynamic_cast<TContainer*>(&control)) {
    for (const auto& child : container->Controls())
      Build(*child);
  }
  Sync(control);
}

HWND TWin32PageView::Find(std::string_view name) const {
  const auto suffix = [&](std::string_view end) {
    return name.size() > end.size() && name.substr(name.size() - end.size()) == end;
  };
  for (const auto& [control, binding] : bindings_) {
    if (control->Name() == name) return binding.Window ? binding.Window : binding.Frame;
    const std::string& own = control->Name();
    if (suffix("_folder") && name == own + "_folder") return binding.Folder;
    if (suffix("_custom") && name == own + "_custom") return binding.Custom;
    if (suffix("_updown") && name == own + "_updown") return binding.UpDown;
  }
  return nullptr;
}

void TWin32PageView::Guarded(const std::function<void()>& action) {
  try {
    action();
  } catch (const std::exception& e) {
    MxDesignServices().MessageDlg(e.what(), TMsgDlgType::mtError, {TMsgDlgBtn::mbOK},
                                  frame_.HelpContext());
  }
}

// ---- From the models to the windows

// Sets the windows of each kind of control from its model.
class TWin32PageView::TSetter : public IControlVisitor {
 public:
  explicit TSetter(TBinding& binding) : b_(binding) {}

  void Visit(TPanel&) override {}
  void Visit(TGroupBox& group) override { SetWindowTextIfChanged(b_.Window, group.Caption()); }
  void Visit(TLabel& label) override { SetWindowTextIfChanged(b_.Window, label.Caption()); }
  void Visit(TCheckBox& box) override {
    SetWindowTextIfChanged(b_.Window, box.Caption());
    ::SendMessageW(b_.Window, BM_SETCHECK, box.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void Visit(TRadioButton& radio) override {
    SetWindowTextIfChanged(b_.Window, radio.Caption());
    ::SendMessageW(b_.Window, BM_SETCHECK, radio.Checked() ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  void Visit(TEdit& edit) override {
    SetWindowTextIfChanged(b_.Window, edit.Text());
    ::SendMessageW(b_.Window, EM_SETREADONLY, edit.ReadOnly(), 0);
  }
  void Visit(TSpinEdit& spin) override {
    const std::string text = std::to_string(std::lround(spin.Value()));
    // A person's half-typed number stays until it is a different value.
    if (WindowText(b_.Window) != text) ::SetWindowTextW(b_.Window, Widen(text).c_str());
  }
  void Visit(TComboBox& combo) override {
    const int count = static_cast<int>(::SendMessageW(b_.Window, CB_GETCOUNT, 0, 0));
    bool same = count == combo.Items().Count();
    for (int i = 0; same && i < count; ++i) {
      std::wstring item(
          static_cast<std::size_t>(::SendMessageW(b_.Window, CB_GETLBTEXTLEN, WPARAM(i), 0)) + 1,
          L'\0');
      ::SendMessageW(b_.Window, CB_GETLBTEXT, WPARAM(i), reinterpret_cast<LPARAM>(item.data()));
      same = Narrow(item.c_str()) == combo.Items()[i];
    }
    if (!same) {
      ::SendMessageW(b_.Window, CB_RESETCONTENT, 0, 0);
      for (const auto& item : combo.Items()) {
        ::SendMessageW(b_.Window, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(item).c_str()));
      }
    }
    ::SendMessageW(b_.Window, CB_SETCURSEL, WPARAM(combo.ItemIndex()), 0);
    if (combo.Style() == TComboBoxStyle::csDropDown)
      SetWindowTextIfChanged(b_.Window, combo.Text());
  }
  void Visit(TStringGrid& grid) override {
    const int fixed = grid.FixedRows();
    for (int col = 0; col < grid.ColCount(); ++col) {
      std::wstring heading = fixed > 0 ? Widen(grid.Cell(col, 0)) : std::wstring();
      LVCOLUMNW column{};
      column.mask = LVCF_TEXT;
      column.pszText = heading.data();
      ListView_SetColumn(b_.Window, col, &column);
    }
    PaintGrid(b_.Window, grid);
    ListView_SetItemCountEx(b_.Window, std::max(grid.RowCount() - fixed, 0), LVSICF_NOSCROLL);
    ::InvalidateRect(b_.Window, nullptr, FALSE);
  }
  void Visit(TImage& image) override {
    if (b_.Picture) ::DeleteObject(b_.Picture);
    b_.Picture = DecodePicture(image.Picture(), b_.PictureSize);
    ::InvalidateRect(b_.Window, nullptr, TRUE);
  }
  void Visit(TButton& button) override { SetWindowTextIfChanged(b_.Window, button.Caption()); }

 private:
  TBinding& b_;
};

bool TWin32PageView::SyncState(TControl& control) {
  TBinding& b = bindings_[&control];
  const bool enabled = control.EffectivelyEnabled();
  const bool visible = EffectivelyVisible(control);
  bool moved = visible != b.Shown;
  b.Shown = visible;
  for (HWND part : {b.Window, b.Folder, b.Custom, b.UpDown, b.Frame}) {
    if (!part) continue;
    ::EnableWindow(part, enabled);
    ::ShowWindow(part, visible ? SW_SHOWNA : SW_HIDE);
  }
  // A list view keeps the colours it was given whether enabled or not: a disabled grid is
  // painted grey here, as the rest of a disabled page is.
  if (const auto* grid = dynamic_cast<const TStringGrid*>(&control)) PaintGrid(b.Window, *grid);
  if (const auto* container = dynamic_cast<const TContainer*>(&control)) {
    for (const auto& child : container->Controls())
      moved = SyncState(*child) || moved;
  }
  return moved;
}

void TWin32PageView::Sync(TControl& control) {
  const auto it = bindings_.find(&control);
  if (it == bindings_.end()) return;
  const bool wasSyncing = syncing_;
  syncing_ = true;
  const HWND window = it->second.Window;
  const std::string caption = window ? WindowText(window) : std::string();
  bool moved = SyncState(control);
  TSetter setter(it->second);
  control.Accept(setter);
  syncing_ = wasSyncing;
  // A control that appears, disappears or changes its caption moves its neighbours.
  const bool captioned =
      control.Kind() == TControlKind::ckLabel || control.Kind() == TControlKind::ckCheckBox ||
      control.Kind() == TControlKind::ckRadioButton || control.Kind() == TControlKind::ckButton;
  moved = moved || (captioned && caption != WindowText(window));
  if (moved && bounds_.right > bounds_.left) Relayout();
}

// ---- From the windows to the models

LRESULT TWin32PageView::Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_COMMAND:
      if (lParam) Command(reinterpret_cast<HWND>(lParam), HIWORD(wParam));
      return 0;
    case WM_NOTIFY:
      return Notify(*reinterpret_cast<NMHDR*>(lParam));
    case WM_DRAWITEM:
      Draw(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
      return TRUE;
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC: {
      // An area whose values are someone else's has the colour of a button.
      const auto it = controls_.find(reinterpret_cast<HWND>(lParam));
      if (it != controls_.end() && it->second->Color() == TColor::clBtnFace) {
        ::SetBkColor(reinterpret_cast<HDC>(wParam), ::GetSysColor(COLOR_BTNFACE));
        return reinterpret_cast<LRESULT>(::GetSysColorBrush(COLOR_BTNFACE));
      }
      break;
    }
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

void TWin32PageView::Command(HWND from, int code) {
  const auto it = controls_.find(from);
  if (it == controls_.end() || syncing_) return;
  TControl& control = *it->second;
  const TBinding& b = bindings_[&control];
  if (code == BN_CLICKED) {
    if (auto* edit = dynamic_cast<TEdit*>(&control)) {
      Guarded([&] {
        if (from == b.Folder) edit->ClickFolderButton();
        if (from == b.Custom) edit->ClickCustomButton();
      });
    } else if (auto* box = dynamic_cast<TCheckBox*>(&control)) {
      Guarded([&] { box->Click(); });
    } else if (auto* radio = dynamic_cast<TRadioButton*>(&control)) {
      Guarded([&] { radio->Click(); });
    } else if (auto* button = dynamic_cast<TButton*>(&control)) {
      Guarded([&] { button->Click(); });
    }
    Sync(control);
  } else if (code == EN_CHANGE && from == b.Window) {
    const std::string text = WindowText(from);
    if (auto* edit = dynamic_cast<TEdit*>(&control)) {
      Guarded([&] { edit->SetText(text); });
    } else if (auto* spin = dynamic_cast<TSpinEdit*>(&control)) {
      // A number being typed reaches the model once it is one the edit can hold; "1" on the
      // way to "100" in a range from 8 is left alone until it is.
      char* end = nullptr;
      const long value = std::strtol(text.c_str(), &end, 10);
      const bool limited = spin->MinValue() != 0 || spin->MaxValue() != 0;
      const bool inRange = !limited || (value >= spin->MinValue() && value <= spin->MaxValue());
      if (!text.empty() && end && *end == '\0' && inRange)
        Guarded([&] { spin->SetValue(static_cast<double>(value)); });
    }
  } else if (code == EN_KILLFOCUS && dynamic_cast<TSpinEdit*>(&control)) {
    // What was left half-typed shows the value the model holds again.
    Sync(control);
  } else if (auto* combo = dynamic_cast<TComboBox*>(&control)) {
    // A choice is made when the list closes on it, or by the arrow keys on a closed box; moving
    // through an open list chooses nothing yet.
    const bool dropped = ::SendMessageW(from, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if ((code == CBN_SELCHANGE && !dropped) || code == CBN_SELENDOK) {
      const int index = static_cast<int>(::SendMessageW(from, CB_GETCURSEL, 0, 0));
      if (index != combo->ItemIndex()) Guarded([&] { combo->Choose(index); });
      Sync(control);
    } else if (code == CBN_EDITCHANGE) {
      Guarded([&] { combo->Type(WindowText(from)); });
    }
  }
}

LRESULT TWin32PageView::Notify(NMHDR& header) {
  if (header.code == TTN_GETDISPINFOW) {
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    const HWND part = reinterpret_cast<HWND>(header.idFrom);
    const auto it = controls_.find(part);
    hintText_.clear();
    if (it != controls_.end()) {
      const TBinding& b = bindings_[it->second];
      auto* edit = dynamic_cast<TEdit*>(it->second);
      hintText_ = edit && part == b.Folder   ? edit->FolderButton().Hint
                  : edit && part == b.Custom ? edit->CustomButton().Hint
                                             : it->second->Hint();
      if (auto* rewriter = dynamic_cast<IMxPageHint*>(page_))
        Guarded([&] { rewriter->OnShowHint(hintText_); });
    }
    hintWide_ = Widen(hintText_);
    info.lpszText = hintWide_.data();
    return 0;
  }
  const auto it = controls_.find(header.hwndFrom);
  if (it == controls_.end()) return 0;
  auto* grid = dynamic_cast<TStringGrid*>(it->second);
  if (grid && header.code == LVN_GETDISPINFOW) {
    auto& shown = reinterpret_cast<NMLVDISPINFOW&>(header).item;
    const int row = shown.iItem + grid->FixedRows();
    if ((shown.mask & LVIF_TEXT) && shown.pszText && shown.cchTextMax > 0 && shown.iItem >= 0 &&
        row < grid->RowCount() && shown.iSubItem >= 0 && shown.iSubItem < grid->ColCount()) {
      cellText_ = Widen(grid->Cell(shown.iSubItem, row));
      ::lstrcpynW(shown.pszText, cellText_.c_str(), shown.cchTextMax);
    }
    return 0;
  }
  if (grid && grid->Editable() && header.code == NM_DBLCLK) {
    const auto& activate = reinterpret_cast<const NMITEMACTIVATE&>(header);
    LVHITTESTINFO hit{};
    hit.pt = activate.ptAction;
    if (ListView_SubItemHitTest(header.hwndFrom, &hit) >= 0 && hit.iItem >= 0)
      EditCell(header.hwndFrom, hit.iItem, hit.iSubItem);
  }
  if (grid && grid->Editable() && header.code == LVN_KEYDOWN &&
      reinterpret_cast<const NMLVKEYDOWN&>(header).wVKey == VK_F2) {
    const int item = ListView_GetNextItem(header.hwndFrom, -1, LVNI_SELECTED);
    if (item >= 0) EditCell(header.hwndFrom, item, grid->ColCount() - 1);
  }
  return 0;
}

void TWin32PageView::EditCell(HWND grid, int item, int column) {
  EndCellEdit(true);
  RECT cell{};
  ListView_GetSubItemRect(grid, item, column, LVIR_LABEL, &cell);
  if (column == 0) {
    RECT next{};
    if (ListView_GetSubItemRect(grid, item, 1, LVIR_LABEL, &next)) cell.right = next.left;
  }
  cellGrid_ = grid;
  cellItem_ = item;
  cellColumn_ = column;
  cellEdit_ = ::CreateWindowExW(0, WC_EDITW, L"", WS_CHILD | WS_BORDER | ES_AUTOHSCROLL, cell.left,
                                cell.top, cell.right - cell.left, cell.bottom - cell.top, grid,
                                nullptr, ModuleInstance(), nullptr);
  SetFont(cellEdit_);
  // The model's text, whole: the list's copy of a long value may be cut.
  if (const auto it = controls_.find(grid); it != controls_.end()) {
    const auto& model = static_cast<const TStringGrid&>(*it->second);
    ::SetWindowTextW(cellEdit_, Widen(model.Cell(column, item + model.FixedRows())).c_str());
  }
  cellEnd_ = [this](bool keep) { EndCellEdit(keep); };
  ::SetWindowSubclass(cellEdit_, CellEditProc, 1, reinterpret_cast<DWORD_PTR>(&cellEnd_));
  ::ShowWindow(cellEdit_, SW_SHOW);
  ::SetFocus(cellEdit_);
  ::SendMessageW(cellEdit_, EM_SETSEL, 0, -1);
}

void TWin32PageView::EndCellEdit(bool keep) {
  if (!cellEdit_) return;
  HWND edit = cellEdit_;
  cellEdit_ = nullptr;
  const std::string text = WindowText(edit);
  ::RemoveWindowSubclass(edit, CellEditProc, 1);
  // The keyboard goes back to the grid before the editor that has it goes.
  if (::GetFocus() == edit) ::SetFocus(cellGrid_);
  ::DestroyWindow(edit);
  const auto it = controls_.find(cellGrid_);
  if (!keep || it == controls_.end()) return;
  auto& grid = static_cast<TStringGrid&>(*it->second);
  Guarded([&] { grid.Edit(cellColumn_, cellItem_ + grid.FixedRows(), text); });
  Sync(grid);
}

void TWin32PageView::Draw(const DRAWITEMSTRUCT& item) {
  const auto it = controls_.find(item.hwndItem);
  if (it == controls_.end()) return;
  const TBinding& b = bindings_[it->second];
  RECT box = item.rcItem;
  if (auto* edit = dynamic_cast<TEdit*>(it->second)) {
    const bool pushed = item.itemState & ODS_SELECTED;
    const bool enabled = !(item.itemState & ODS_DISABLED);
    ::DrawFrameControl(
        item.hDC, &box, DFC_BUTTON,
        DFCS_BUTTONPUSH | (pushed ? DFCS_PUSHED : 0) | (enabled ? 0 : DFCS_INACTIVE));
    const TEditButton& button =
        item.hwndItem == b.Folder ? edit->FolderButton() : edit->CustomButton();
    DrawGlyph(item.hDC, box, button.Glyph, enabled);
    if (item.itemState & ODS_FOCUS) {
      ::InflateRect(&box, -Look().Scale(3), -Look().Scale(3));
      ::DrawFocusRect(item.hDC, &box);
    }
    return;
  }
  // An image: the picture scaled into the control, its proportions kept, centred.
  ::FillRect(item.hDC, &box, ::GetSysColorBrush(COLOR_BTNFACE));
  if (!b.Picture || b.PictureSize.cx <= 0 || b.PictureSize.cy <= 0) return;
  const int width = box.right - box.left;
  const int height = box.bottom - box.top;
  const double scale = std::min(1.0 * width / b.PictureSize.cx, 1.0 * height / b.PictureSize.cy);
  const int w = static_cast<int>(b.PictureSize.cx * scale);
  const int h = static_cast<int>(b.PictureSize.cy * scale);
  HDC source = ::CreateCompatibleDC(item.hDC);
  HGDIOBJ old = ::SelectObject(source, b.Picture);
  ::SetStretchBltMode(item.hDC, HALFTONE);
  BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
  ::AlphaBlend(item.hDC, box.left + (width - w) / 2, box.top + (height - h) / 2, w, h, source, 0, 0,
               b.PictureSize.cx, b.PictureSize.cy, blend);
  ::SelectObject(source, old);
  ::DeleteDC(source);
}

// ---- Layout

int TWin32PageView::PreferredWidth(const TControl& control) const {
  const TLook& look = Look();
  const int square = look.EditHeight;
  switch (control.Kind()) {
    case TControlKind::ckLabel: {
      const auto& label = static_cast<const TLabel&>(control);
      const int text = look.TextSize(label.Caption()).cx;
      return label.WordWrap() ? std::min(text, look.Scale(440)) : text;
    }
    case TControlKind::ckCheckBox:
    case TControlKind::ckRadioButton:
      return look.TextSize(control.Caption()).cx + look.Scale(24);
    case TControlKind::ckEdit:
    case TControlKind::ckMaskEdit: {
      const auto& edit = static_cast<const TEdit&>(control);
      int width = look.Scale(160);
      if (const auto* masked = dynamic_cast<const TMaskEdit*>(&edit)) {
        const std::string& mask = masked->EditMask();
        width = look.TextSize(std::string(mask.substr(0, mask.find(';')).size() + 1, 'W')).cx;
      }
      const int buttons =
          (edit.FolderButton().Visible ? 1 : 0) + (edit.CustomButton().Visible ? 1 : 0);
      return width + buttons * (square + look.Scale(2));
    }
    case TControlKind::ckSpinEdit:
      return look.TextSize("0000000").cx + look.Scale(14) + look.Scale(16);
    case TControlKind::ckComboBox: {
      const auto& combo = static_cast<const TComboBox&>(control);
      int widest = look.Scale(48);
      for (const auto& item : combo.Items())
        widest = std::max(widest, static_cast<int>(look.TextSize(item, false).cx));
      return widest + look.Scale(34);
    }
    case TControlKind::ckStringGrid:
      return look.Scale(320);
    case TControlKind::ckImage:
      return look.Scale(static_cast<const TImage&>(control).Width());
    case TControlKind::ckButton:
      return std::max(static_cast<int>(look.TextSize(control.Caption()).cx) + look.Scale(24),
                      look.Scale(75));
    case TControlKind::ckPanel:
    case TControlKind::ckGroupBox: {
      const auto& container = static_cast<const TContainer&>(control);
      const RECT in = Insets(container);
      // The widest arrangement: every child at the width it asks for.
      std::vector<TPlacement> placed;
      int width = 0;
      Arrange(container, 0, &placed);
      for (const auto& p : placed)
        width = std::max(width, static_cast<int>(p.Bounds.right));
      if (control.Kind() == TControlKind::ckGroupBox)
        width =
            std::max(width, static_cast<int>(look.TextSize(control.Caption()).cx) + look.Scale(16));
      return width + in.left + in.right;
    }
  }
  return 0;
}

int TWin32PageView::HeightAt(const TControl& control, int width) const {
  const TLook& look = Look();
  switch (control.Kind()) {
    case TControlKind::ckLabel: {
      const auto& label = static_cast<const TLabel&>(control);
      return label.WordWrap() ? look.WrappedHeight(label.Caption(), width) : look.LineHeight;
    }
    case TControlKind::ckCheckBox:
    case TControlKind::ckRadioButton:
      return std::max(look.LineHeight + look.Scale(4), look.Scale(17));
    case TControlKind::ckEdit:
    case TControlKind::ckMaskEdit:
    case TControlKind::ckSpinEdit:
    case TControlKind::ckComboBox:
      return look.EditHeight;
    case TControlKind::ckStringGrid:
      return look.Scale(220);
    case TControlKind::ckImage:
      return look.Scale(static_cast<const TImage&>(control).Height());
    case TControlKind::ckButton:
      return look.ButtonHeight;
    case TControlKind::ckPanel:
    case TControlKind::ckGroupBox: {
      const auto& container = static_cast<const TContainer&>(control);
      const RECT in = Insets(container);
      return Arrange(container, width - in.left - in.right, nullptr) + in.top + in.bottom;
    }
  }
  return 0;
}

// The width a child takes of `room` (0: the width it asks for): containers, growing controls
// and wrapping texts take it all, the rest what they ask for at most.
int TWin32PageView::Fit(const TControl& child, int room) const {
  const int wanted = PreferredWidth(child);
  if (room <= 0) return wanted;
  const auto* label = dynamic_cast<const TLabel*>(&child);
  return IsContainer(child) || Grows(child) || (label && label->WordWrap())
             ? room
             : std::min(wanted, room);
}

// Places the shown children of `container` in a content area `width` wide (0: each child at the
// width it asks for), as the container's layout says, and gives the height they take. A hidden
// child of a form or a grid keeps its place, as it does in the Qt editor.
int TWin32PageView::Arrange(const TContainer& container, int width,
                            std::vector<TPlacement>* placed) const {
  std::vector<TControl*> children;
  for (const auto& child : container.Controls())
    children.push_back(child.get());
  switch (container.Layout()) {
    case TLayout::loColumn:
      return ArrangeLine(children, width, false, placed);
    case TLayout::loRow:
      return ArrangeLine(children, width, true, placed);
    case TLayout::loForm:
      return ArrangeForm(children, width, placed);
    case TLayout::loGrid:
      return ArrangeGrid(children, std::max(1, container.Columns()), width, placed);
  }
  return 0;
}

int TWin32PageView::ArrangeLine(const std::vector<TControl*>& all, int width, bool row,
                                std::vector<TPlacement>* placed) const {
  const int gap = Look().Gap;
  std::vector<TControl*> children;
  for (TControl* child : all) {
    if (child->Visible()) children.push_back(child);
  }
  const auto put = [&](TControl* child, int x, int y, int w, int h) {
    if (placed) placed->push_back({child, {x, y, x + w, y + h}});
  };
  int height = 0;
  if (!row) {
    for (TControl* child : children) {
      const int w = Fit(*child, width);
      const int h = HeightAt(*child, w);
      if (height > 0) height += gap;
      put(child, 0, height, w, h);
      height += h;
    }
    return height;
  }
  // Side by side: what is left over goes to the controls that grow.
  int wanted = gap * std::max(0, static_cast<int>(children.size()) - 1);
  int growers = 0;
  for (TControl* child : children) {
    wanted += PreferredWidth(*child);
    growers += Grows(*child) ? 1 : 0;
  }
  const int extra = width > wanted && growers > 0 ? (width - wanted) / growers : 0;
  std::vector<int> widths;
  for (TControl* child : children) {
    widths.push_back(PreferredWidth(*child) + (Grows(*child) ? extra : 0));
    height = std::max(height, HeightAt(*child, widths.back()));
  }
  int x = 0;
  for (std::size_t i = 0; i < children.size(); ++i) {
    const int h = HeightAt(*children[i], widths[i]);
    put(children[i], x, (height - h) / 2, widths[i], h);
    x += widths[i] + gap;
  }
  return height;
}

int TWin32PageView::ArrangeForm(const std::vector<TControl*>& children, int width,
                                std::vector<TPlacement>* placed) const {
  const int gap = Look().Gap;
  const auto shown = [](const TControl* c) { return c && c->Visible(); };
  int labels = 0;
  int fields = 0;
  for (std::size_t i = 0; i + 1 < children.size(); i += 2) {
    if (shown(children[i])) labels = std::max(labels, PreferredWidth(*children[i]));
    if (shown(children[i + 1])) fields = std::max(fields, PreferredWidth(*children[i + 1]));
  }
  const int room = width > 0 ? std::max(1, width - labels - gap) : fields;
  int height = 0;
  for (std::size_t i = 0; i < children.size(); i += 2) {
    TControl* left = children[i];
    TControl* right = i + 1 < children.size() ? children[i + 1] : nullptr;
    if (!shown(left) && !shown(right)) continue;
    if (height > 0) height += gap;
    if (!right) {
      // A last control without a partner takes the whole row.
      const int w = Fit(*left, width);
      const int h = HeightAt(*left, w);
      if (placed) placed->push_back({left, {0, height, w, height + h}});
      height += h;
      break;
    }
    const int w = width > 0 ? Fit(*right, room) : PreferredWidth(*right);
    const int hl = shown(left) ? HeightAt(*left, labels) : 0;
    const int hf = shown(right) ? HeightAt(*right, w) : 0;
    const int row = std::max(hl, hf);
    if (placed && shown(left))
      placed->push_back({left, {0, height + (row - hl) / 2, labels, height + (row - hl) / 2 + hl}});
    if (placed && shown(right)) {
      const int top = height + (row - hf) / 2;
      placed->push_back({right, {labels + gap, top, labels + gap + w, top + hf}});
    }
    height += row;
  }
  return height;
}

int TWin32PageView::ArrangeGrid(const std::vector<TControl*>& children, int columns, int width,
                                std::vector<TPlacement>* placed) const {
  const int gap = Look().Gap;
  struct TCell {
    TControl* Control;
    int Row, Col, Span;
  };
  std::vector<TCell> cells;
  int rows = 0;
  int col = 0;
  for (TControl* child : children) {
    const int span = std::clamp(child->ColumnSpan(), 1, columns);
    if (col + span > columns) {
      ++rows;
      col = 0;
    }
    cells.push_back({child, rows, col, span});
    col += span;
  }
  // Columns as wide as their widest single cell; the spare room goes to the columns that do not
  // hold labels, alike, each at least as wide as its content; what that overruns comes off the
  // widest.
  const auto at = [](auto& v, int i) -> auto& {
    return v[static_cast<std::size_t>(i)];
  };
  std::vector<int> widths(static_cast<std::size_t>(columns), 0);
  std::vector<char> labels(static_cast<std::size_t>(columns), 0);
  for (const TCell& cell : cells) {
    if (cell.Span != 1 || !cell.Control->Visible()) continue;
    at(widths, cell.Col) = std::max(at(widths, cell.Col), PreferredWidth(*cell.Control));
    if (cell.Control->Kind() == TControlKind::ckLabel) at(labels, cell.Col) = 1;
  }
  const int stretching = static_cast<int>(std::count(labels.begin(), labels.end(), 0));
  if (width > 0 && stretching > 0) {
    int room = width - gap * (columns - 1);
    for (int c = 0; c < columns; ++c)
      room -= at(labels, c) ? at(widths, c) : 0;
    ShareColumns(widths, labels, room);
    int used = 0;
    for (int c = 0; c < columns; ++c)
      used += at(labels, c) ? 0 : at(widths, c);
    // Content wider than the room: the widest column gives way.
    int& widest = *std::max_element(widths.begin(), widths.end());
    if (used > room) widest = std::max(0, widest - (used - room));
  }
  const auto left = [&](int c) {
    int x = 0;
    for (int i = 0; i < c; ++i)
      x += at(widths, i) + gap;
    return x;
  };
  const auto cellWidth = [&](const TCell& cell) {
    return left(cell.Col + cell.Span) - left(cell.Col) - gap;
  };
  int height = 0;
  for (int r = 0; r <= rows && !cells.empty(); ++r) {
    int tallest = -1;
    for (const TCell& cell : cells) {
      if (cell.Row == r && cell.Control->Visible())
        tallest = std::max(tallest, HeightAt(*cell.Control, Fit(*cell.Control, cellWidth(cell))));
    }
    if (tallest < 0) continue;  // nothing of this row is shown
    if (height > 0) height += gap;
    for (const TCell& cell : cells) {
      if (cell.Row != r || !cell.Control->Visible() || !placed) continue;
      const int w = Fit(*cell.Control, cellWidth(cell));
      // Containers of a row are as tall as the row, so neighbouring groups line up; a label
      // stands level with the control beside it.
      const int h = IsContainer(*cell.Control) ? tallest : HeightAt(*cell.Control, w);
      const int top = height + (tallest - h) / 2;
      placed->push_back({cell.Control, {left(cell.Col), top, left(cell.Col) + w, top + h}});
    }
    height += tallest;
  }
  return height;
}

SIZE TWin32PageView::PreferredSize(int width) const {
  const int w = std::max(width, PreferredWidth(frame_));
  return {w, HeightAt(frame_, w)};
}

void TWin32PageView::Move(TControl& control, const RECT& bounds) {
  const TLook& look = Look();
  TBinding& b = bindings_[&control];
  const int width = bounds.right - bounds.left;
  const int height = bounds.bottom - bounds.top;
  if (b.Frame) ::MoveWindow(b.Frame, bounds.left, bounds.top, width, height, TRUE);
  if (auto* container = dynamic_cast<TContainer*>(&control)) {
    if (b.Window) ::MoveWindow(b.Window, bounds.left, bounds.top, width, height, TRUE);
    const RECT in = Insets(*container);
    std::vector<TPlacement> placed;
    Arrange(*container, std::max(1, width - static_cast<int>(in.left + in.right)), &placed);
    for (const auto& p : placed) {
      RECT at = p.Bounds;
      ::OffsetRect(&at, bounds.left + in.left, bounds.top + in.top);
      Move(*p.Control, at);
    }
    return;
  }
  int inputWidth = width;
  const int square = look.EditHeight;
  for (HWND button : {b.Custom, b.Folder}) {
    if (!button) continue;
    ::MoveWindow(button, bounds.left + inputWidth - square, bounds.top, square, square, TRUE);
    inputWidth -= square + look.Scale(2);
  }
  if (b.UpDown) {
    // The arrows sit inside the edit's border, at its right, and the text keeps clear of them.
    const int arrows = look.Scale(16);
    const int border = ::GetSystemMetrics(SM_CXEDGE);
    ::MoveWindow(b.UpDown, bounds.left + inputWidth - arrows - border, bounds.top + border, arrows,
                 height - 2 * border, TRUE);
    ::SendMessageW(b.Window, EM_SETMARGINS, EC_RIGHTMARGIN, MAKELPARAM(0, arrows));
  }
  // A combo box's window includes its drop-down list.
  const int windowHeight =
      control.Kind() == TControlKind::ckComboBox ? height + look.Scale(240) : height;
  if (b.Window)
    ::MoveWindow(b.Window, bounds.left, bounds.top, std::max(0, inputWidth), windowHeight, TRUE);
  if (control.Kind() == TControlKind::ckStringGrid) {
    // The last column takes what the others leave.
    const int columns = static_cast<const TStringGrid&>(control).ColCount();
    const int first = look.Scale(150);
    for (int c = 0; c + 1 < columns; ++c)
      ListView_SetColumnWidth(b.Window, c, first);
    ListView_SetColumnWidth(
        b.Window, columns - 1,
        std::max(look.Scale(60), inputWidth - first * (columns - 1) -
                                     ::GetSystemMetrics(SM_CXVSCROLL) - look.Scale(4)));
  }
}

void TWin32PageView::Place(const RECT& bounds) {
  bounds_ = bounds;
  ::MoveWindow(window_, bounds.left, bounds.top, bounds.right - bounds.left,
               bounds.bottom - bounds.top, TRUE);
  Relayout();
}

void TWin32PageView::Relayout() {
  RECT inner{0, 0, bounds_.right - bounds_.left, bounds_.bottom - bounds_.top};
  Move(frame_, inner);
  ::InvalidateRect(window_, nullptr, TRUE);
}

}  // namespace mx::wingui
