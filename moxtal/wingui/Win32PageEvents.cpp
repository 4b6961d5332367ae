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

}  // namespace mx::wingui
