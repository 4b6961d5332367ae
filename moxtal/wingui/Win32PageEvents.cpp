// The page view's events: what the windows tell, turned into changes of the models.
#include "Win32PageView.h"

#include <commctrl.h>

#include <cwctype>
#include <string_view>

#include "moxtal/api/DesignServices.h"
#include "moxtal/wingui/Win32PageViewParts.h"
#include "platform/Win32Text.h"

namespace mx::wingui {

namespace detail {

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

}  // namespace detail

using namespace detail;
using platform::win32::Narrow;
using platform::win32::Widen;

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

// What a notification from one of a control's windows does to the control's model.
class TWin32PageView::TCommand : public IControlVisitor {
 public:
  TCommand(TWin32PageView& view, const TBinding& binding, HWND from, int code)
      : view_(view), b_(binding), from_(from), code_(code) {}

  void Visit(TPanel&) override {}
  void Visit(TGroupBox&) override {}
  void Visit(TLabel&) override {}
  void Visit(TCheckBox& box) override {
    Clicked(box, [&] { box.Click(); });
  }
  void Visit(TRadioButton& radio) override {
    Clicked(radio, [&] { radio.Click(); });
  }
  void Visit(TButton& button) override {
    Clicked(button, [&] { button.Click(); });
  }
  void Visit(TEdit& edit) override {
    Clicked(edit, [&] {
      if (from_ == b_.Folder) edit.ClickFolderButton();
      if (from_ == b_.Custom) edit.ClickCustomButton();
    });
    if (code_ == EN_CHANGE && from_ == b_.Window) {
      const std::string text = WindowText(from_);
      view_.Guarded([&] { edit.SetText(text); });
    }
  }
  void Visit(TSpinEdit& spin) override {
    if (code_ == EN_CHANGE && from_ == b_.Window) {
      // A number being typed reaches the model once it is one the edit can hold; "1" on the
      // way to "100" in a range from 8 is left alone until it is.
      const std::string text = WindowText(from_);
      char* end = nullptr;
      const long value = std::strtol(text.c_str(), &end, 10);
      const bool limited = spin.MinValue() != 0 || spin.MaxValue() != 0;
      const bool inRange = !limited || (value >= spin.MinValue() && value <= spin.MaxValue());
      if (!text.empty() && end && *end == '\0' && inRange)
        view_.Guarded([&] { spin.SetValue(static_cast<double>(value)); });
    } else if (code_ == EN_KILLFOCUS) {
      // What was left half-typed shows the value the model holds again.
      view_.Sync(spin);
    }
  }
  void Visit(TComboBox& combo) override {
    // A choice is made when the list closes on it, or by the arrow keys on a closed box; moving
    // through an open list chooses nothing yet.
    const bool dropped = ::SendMessageW(from_, CB_GETDROPPEDSTATE, 0, 0) != 0;
    if ((code_ == CBN_SELCHANGE && !dropped) || code_ == CBN_SELENDOK) {
      const int index = static_cast<int>(::SendMessageW(from_, CB_GETCURSEL, 0, 0));
      if (index != combo.ItemIndex()) view_.Guarded([&] { combo.Choose(index); });
      view_.Sync(combo);
    } else if (code_ == CBN_EDITCHANGE) {
      view_.Guarded([&] { combo.Type(WindowText(from_)); });
    }
  }
  void Visit(TStringGrid&) override {}
  void Visit(TImage&) override {}

 private:
  template <class F>
  void Clicked(TControl& control, F&& click) {
    if (code_ != BN_CLICKED) return;
    view_.Guarded(click);
    view_.Sync(control);
  }

  TWin32PageView& view_;
  const TBinding& b_;
  HWND from_;
  int code_;
};

void TWin32PageView::Command(HWND from, int code) {
  const auto it = controls_.find(from);
  if (it == controls_.end() || syncing_) return;
  TControl& control = *it->second;
  TCommand command(*this, bindings_[&control], from, code);
  control.Accept(command);
}

LRESULT TWin32PageView::Notify(NMHDR& header) {
  if (header.code == TTN_GETDISPINFOW) {
    auto& info = reinterpret_cast<NMTTDISPINFOW&>(header);
    const HWND part = reinterpret_cast<HWND>(header.idFrom);
    const auto it = controls_.find(part);
    hintText_.clear();
    if (it != controls_.end()) {
      const TBinding& b = bindings_[it->second];
      TEdit* edit = b.Edit;
      hintText_ = edit && part == b.Folder   ? edit->FolderButton().Hint
                  : edit && part == b.Custom ? edit->CustomButton().Hint
                                             : it->second->Hint();
      if (auto* rewriter = dynamic_cast<IMxPageHint*>(page_))
        Guarded([&] { rewriter->OnShowHint(hintText_); });
    }
    // The tooltip is given its lines, broken at spaces, and room to spare: left to wrap the
    // hint itself, it breaks a word such as "C++Builder" after its "+".
    std::string lines;
    for (const std::string& line :
         engine::WrapAtSpaces(hintText_, Look().Scale(kHintWidth), TLookMetrics(Look())))
      lines += (lines.empty() ? "" : "\r\n") + line;
    hintWide_ = Widen(lines);
    info.lpszText = hintWide_.data();
    return 0;
  }
  const auto it = controls_.find(header.hwndFrom);
  if (it == controls_.end()) return 0;
  TStringGrid* grid = bindings_[it->second].Grid;
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

}  // namespace mx::wingui
