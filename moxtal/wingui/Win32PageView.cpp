#include "Win32PageView.h"

#include <commctrl.h>
#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>

#include "moxtal/api/DesignServices.h"
#include "moxtal/wingui/Win32PageViewParts.h"
#include "moxtal/wingui/Win32Picture.h"
#include "platform/Win32Text.h"

namespace mx::wingui {

namespace detail {

bool IsContainer(const TControl& control) {
  return dynamic_cast<const TContainer*>(&control) != nullptr;
}

bool EffectivelyVisible(const TControl& control) {
  for (const TControl* c = &control; c; c = c->Parent()) {
    if (!c->Visible()) return false;
  }
  return true;
}

void SetWindowTextIfChanged(HWND window, const std::string& text) {
  if (WindowText(window) != text) ::SetWindowTextW(window, Widen(text).c_str());
}

}  // namespace detail

using namespace detail;
using platform::win32::Narrow;
using platform::win32::Widen;

namespace {

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
  TMaker(HWND parent, TBinding& binding, bool afterRadio)
      : parent_(parent), b_(binding), afterRadio_(afterRadio) {}

  void Visit(TPanel& panel) override {
    // A plain panel is only a layout; a sunken one is a picture well with a border.
    // It lies under what it surrounds and must not paint over it.
    if (panel.Sunken() && panel.Parent())
      b_.Frame = Child(WS_EX_CLIENTEDGE, WC_STATICW, WS_CLIPSIBLINGS);
  }
  void Visit(TGroupBox&) override {
    b_.Window = Child(0, WC_BUTTONW, BS_GROUPBOX);
    b_.Behind = true;
  }
  void Visit(TLabel& label) override {
    b_.Window = Child(0, WC_STATICW, label.WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP);
  }
  void Visit(TCheckBox&) override { b_.Window = Child(0, WC_BUTTONW, BS_CHECKBOX | WS_TABSTOP); }
  void Visit(TRadioButton&) override {
    // The arrow keys move between the radio buttons that follow each other, which form one
    // group.
    b_.Window = Child(0, WC_BUTTONW, BS_RADIOBUTTON | WS_TABSTOP | (afterRadio_ ? 0 : WS_GROUP));
    b_.Radio = true;
  }
  void Visit(TEdit& edit) override {
    b_.Edit = &edit;
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
    b_.Grid = &grid;
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
  bool afterRadio_;
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
  // Hints come broken into lines of kHintWidth; the tooltip's own font may be a little wider.
  ::SendMessageW(tooltip_, TTM_SETMAXTIPWIDTH, 0, Look().Scale(kHintWidth * 3 / 2));
  syncing_ = true;
  Build(frame);
  syncing_ = false;
  // Frames go under every control, those they surround included; the tab order stays the
  // page's.
  for (const auto& [control, binding] : bindings_) {
    for (HWND back : {binding.Behind ? binding.Window : nullptr, binding.Frame}) {
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
  // The control that comes before this one in its container, which was made first.
  const TControl* previous = nullptr;
  if (const TContainer* parent = control.Parent()) {
    for (const auto& sibling : parent->Controls()) {
      if (sibling.get() == &control) break;
      previous = sibling.get();
    }
  }
  const bool afterRadio = previous && bindings_[previous].Radio;
  TBinding& binding = bindings_[&control];
  if (&control != &frame_) {
    TMaker maker(window_, binding, afterRadio);
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
  if (b.Grid) PaintGrid(b.Window, *b.Grid);
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
  bool moved = SyncState(control);
  TSetter setter(it->second);
  control.Accept(setter);
  syncing_ = wasSyncing;
  // A control that appears, disappears or changes its caption moves its neighbours.
  moved = moved || control.Caption() != it->second.Caption;
  it->second.Caption = control.Caption();
  if (moved && bounds_.right > bounds_.left) Relayout();
}

}  // namespace mx::wingui
