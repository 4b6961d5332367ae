#include "Win32DesignServices.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "moxtal/engine/DesignServices.h"
#include "moxtal/wingui/Win32Look.h"
#include "platform/Win32Text.h"

namespace mx::wingui {

using platform::win32::Narrow;
using platform::win32::Widen;

namespace {

HWND Child(HWND parent, const wchar_t* type, const wchar_t* text, DWORD style, int id = 0,
           DWORD exStyle = 0) {
  HWND window = ::CreateWindowExW(exStyle, type, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0,
                                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                  ModuleInstance(), nullptr);
  SetFont(window);
  return window;
}

// A modal window of this module of `width` by `height` client pixels, centred over `owner`,
// that ends with OK (true) or Cancel; `layout` places the controls, `command` hears them.
class TModalWindow {
 public:
  TModalWindow(HWND owner, std::string_view caption, int width, int height) {
    proc_ = [this](HWND window, UINT message, WPARAM wParam, LPARAM lParam) -> LRESULT {
      if (message == WM_CLOSE) {
        Close(false);
        return 0;
      }
      if (message == WM_COMMAND) {
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
          Close(LOWORD(wParam) == IDOK);
          return 0;
        }
        if (OnCommand) OnCommand(LOWORD(wParam), HIWORD(wParam));
        return 0;
      }
      if (message == WM_NOTIFY && OnNotify) return OnNotify(*reinterpret_cast<NMHDR*>(lParam));
      return ::DefWindowProcW(window, message, wParam, lParam);
    };
    window_ = CreateHandlerWindow(WS_EX_DLGMODALFRAME | WS_EX_CONTROLPARENT,
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU, Widen(caption).c_str(), owner,
                                  &proc_);
    RECT frame{0, 0, width, height};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongW(window_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongW(window_, GWL_EXSTYLE)));
    RECT over{};
    if (!owner || !::GetWindowRect(owner, &over))
      ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &over, 0);
    const int w = frame.right - frame.left;
    const int h = frame.bottom - frame.top;
    ::SetWindowPos(window_, nullptr, std::max(0L, (over.left + over.right - w) / 2),
                   std::max(0L, (over.top + over.bottom - h) / 2), w, h, SWP_NOZORDER);
    const TLook& look = Look();
    const int buttonW = look.Scale(80);
    HWND ok = Child(window_, WC_BUTTONW, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP, IDOK);
    HWND cancel = Child(window_, WC_BUTTONW, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, IDCANCEL);
    const int top = height - look.Margin - look.ButtonHeight;
    ::MoveWindow(cancel, width - look.Margin - buttonW, top, buttonW, look.ButtonHeight, FALSE);
    ::MoveWindow(ok, width - look.Margin - 2 * buttonW - look.Gap, top, buttonW, look.ButtonHeight,
                 FALSE);
  }
  ~TModalWindow() { ::DestroyWindow(window_); }

  HWND Window() const { return window_; }
  bool Run() {
    // The buttons come last in the tab order.
    for (int id : {IDOK, IDCANCEL})
      ::SetWindowPos(::GetDlgItem(window_, id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    RunModal(window_, done_);
    return accepted_;
  }
  void Close(bool accepted) {
    accepted_ = accepted;
    done_ = true;
  }
  std::function<void(int id, int code)> OnCommand;
  std::function<LRESULT(NMHDR&)> OnNotify;

 private:
  TWindowProc proc_;
  HWND window_ = nullptr;
  bool done_ = false;
  bool accepted_ = false;
};

// Message texts break their lines with CR LF already; a lone LF is made one.
std::wstring MessageText(std::string_view text) {
  std::string out;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) out += '\r';
    out += text[i];
  }
  return Widen(out);
}

UINT_PTR CALLBACK OpenHook(HWND window, UINT message, WPARAM, LPARAM lParam) {
  if (message != WM_NOTIFY) return 0;
  const auto& notify = *reinterpret_cast<const OFNOTIFYW*>(lParam);
  if (notify.hdr.code != CDN_TYPECHANGE) return 0;
  auto& dialog = *reinterpret_cast<TOpenDialog*>(notify.lpOFN->lCustData);
  dialog.FilterIndex = static_cast<int>(notify.lpOFN->nFilterIndex);
  if (!dialog.OnTypeChange) return 0;
  // No exception may unwind through the system's dialog: a page's failure is shown instead.
  try {
    dialog.OnTypeChange();
  } catch (const std::exception& e) {
    ::MessageBoxW(::GetParent(window), Widen(e.what()).c_str(), L"Error", MB_OK | MB_ICONERROR);
  }
  return 0;
}

int CALLBACK FolderCallback(HWND window, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data) ::SendMessageW(window, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

bool ChooseFolder(HWND owner, std::string_view caption, std::string& folder) {
  const std::wstring title = Widen(caption);
  const std::wstring start = Widen(folder);
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = title.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  browse.lpfn = FolderCallback;
  browse.lParam = start.empty() ? 0 : reinterpret_cast<LPARAM>(start.c_str());
  PIDLIST_ABSOLUTE chosen = ::SHBrowseForFolderW(&browse);
  if (!chosen) return false;
  wchar_t path[MAX_PATH * 4] = {};
  const bool ok = ::SHGetPathFromIDListW(chosen, path);
  ::CoTaskMemFree(chosen);
  if (ok) folder = Narrow(path);
  return ok;
}

}  // namespace

TModalResult TWin32DesignServices::MessageDlg(std::string_view text, TMsgDlgType type,
                                              TMsgDlgButtons buttons, int) {
  UINT style = 0;
  switch (type) {
    case TMsgDlgType::mtWarning:
      style = MB_ICONWARNING;
      break;
    case TMsgDlgType::mtError:
      style = MB_ICONERROR;
      break;
    case TMsgDlgType::mtInformation:
      style = MB_ICONINFORMATION;
      break;
    case TMsgDlgType::mtConfirmation:
      style = MB_ICONQUESTION;
      break;
    case TMsgDlgType::mtCustom:
      break;
  }
  const std::wstring title = Widen(engine::MessageDlgTitle(type));
  const bool yes = buttons.Contains(TMsgDlgBtn::mbYes) || buttons.Contains(TMsgDlgBtn::mbNo);
  const bool cancel = buttons.Contains(TMsgDlgBtn::mbCancel);
  style |= yes ? (cancel ? MB_YESNOCANCEL : MB_YESNO) : (cancel ? MB_OKCANCEL : MB_OK);
  switch (::MessageBoxW(owner_, MessageText(text).c_str(), title.c_str(), style)) {
    case IDYES:
      return TModalResult::mrYes;
    case IDNO:
      return TModalResult::mrNo;
    case IDOK:
      return TModalResult::mrOk;
    default:
      return TModalResult::mrCancel;
  }
}

void TWin32DesignServices::ShowMessage(std::string_view text) {
  ::MessageBoxW(owner_, MessageText(text).c_str(), L"moxtal", MB_OK);
}

bool TWin32DesignServices::Execute(TOpenDialog& dialog) {
  // "Text|pattern|Text|pattern" as the dialog's pairs of NUL-ended strings.
  std::wstring filter = Widen(dialog.Filter);
  std::replace(filter.begin(), filter.end(), L'|', L'\0');
  filter.append(2, L'\0');
  std::wstring file = Widen(dialog.FileName);
  file.resize(std::max<std::size_t>(file.size() + 1, 32768), L'\0');
  const std::wstring title = Widen(dialog.Title);
  std::wstring extension = Widen(dialog.DefaultExt);
  if (!extension.empty() && extension.front() == L'.') extension.erase(0, 1);
  const std::wstring folder = Widen(dialog.InitialDir);
  OPENFILENAMEW open{};
  open.lStructSize = sizeof open;
  open.hwndOwner = owner_;
  open.lpstrFilter = filter.c_str();
  open.nFilterIndex = static_cast<DWORD>(std::max(dialog.FilterIndex, 1));
  open.lpstrFile = file.data();
  open.nMaxFile = static_cast<DWORD>(file.size());
  open.lpstrTitle = title.empty() ? nullptr : title.c_str();
  open.lpstrDefExt = extension.empty() ? nullptr : extension.c_str();
  open.lpstrInitialDir = folder.empty() ? nullptr : folder.c_str();
  open.Flags = OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY |
               OFN_ENABLEHOOK | OFN_ENABLESIZING;
  open.lpfnHook = OpenHook;
  open.lCustData = reinterpret_cast<LPARAM>(&dialog);
  if (!::GetOpenFileNameW(&open)) return false;
  dialog.FilterIndex = static_cast<int>(open.nFilterIndex);
  dialog.FileName = Narrow(file.c_str());
  return true;
}

bool TWin32DesignServices::BrowseForFolder(std::string_view caption, std::string& folder) {
  return ChooseFolder(owner_, caption, folder);
}

bool TWin32DesignServices::DisplayCheckListForm(IMxComponent*, std::string_view caption, int,
                                                const platform::TStringList& all,
                                                platform::TStringList& selection) {
  const TLook& look = Look();
  const int width = look.Scale(520);
  const int height = look.Scale(420);
  TModalWindow form(owner_, caption, width, height);
  HWND list =
      Child(form.Window(), WC_LISTVIEWW, L"",
            LVS_REPORT | LVS_SINGLESEL | LVS_NOSORTHEADER | WS_TABSTOP, 0, WS_EX_CLIENTEDGE);
  ListView_SetExtendedListViewStyle(list, LVS_EX_CHECKBOXES | LVS_EX_FULLROWSELECT);
  const int listW = width - 2 * look.Margin;
  ::MoveWindow(list, look.Margin, look.Margin, listW, height - 3 * look.Margin - look.ButtonHeight,
               FALSE);
  const wchar_t* headings[] = {L"Switch", L"Meaning"};
  for (int col = 0; col < 2; ++col) {
    LVCOLUMNW column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH;
    column.pszText = const_cast<wchar_t*>(headings[col]);
    column.cx = col == 0 ? look.Scale(110) : listW - look.Scale(110) - look.Scale(24);
    ListView_InsertColumn(list, col, &column);
  }
  std::vector<std::string> names;
  for (int i = 0; i < all.Count(); ++i) {
    if (all[i].empty()) continue;
    const std::string name = all.Names(i);
    std::wstring first = Widen(name);
    std::wstring second = Widen(all.ValueFromIndex(i));
    LVITEMW item{};
    item.mask = LVIF_TEXT;
    item.iItem = static_cast<int>(names.size());
    item.pszText = first.data();
    ListView_InsertItem(list, &item);
    ListView_SetItemText(list, item.iItem, 1, second.data());
    const int at = selection.IndexOfName(name);
    ListView_SetCheckState(list, item.iItem, at >= 0 && selection.ValueFromIndex(at) != "0");
    names.push_back(name);
  }
  if (!form.Run()) return false;
  std::vector<std::pair<std::string, bool>> items;
  for (std::size_t i = 0; i < names.size(); ++i)
    items.emplace_back(names[i], ListView_GetCheckState(list, static_cast<int>(i)) != 0);
  selection.Assign(engine::CheckListResult(selection, items));
  return true;
}

namespace {

// The path dialog's list of folders, one to a line, and the box below it in which the chosen
// line is edited; Add starts a new line, Browse picks a folder for the chosen line (or a new one).
class TPathList {
 public:
  enum { kList = 100, kLine, kAdd, kBrowse, kRemove, kUp, kDown };

  TPathList(HWND window, HWND list, HWND line) : window_(window), list_(list), line_(line) {}

  std::wstring Text(int index) const {
    std::wstring entry(
        static_cast<std::size_t>(::SendMessageW(list_, LB_GETTEXTLEN, WPARAM(index), 0)) + 1,
        L'\0');
    ::SendMessageW(list_, LB_GETTEXT, WPARAM(index), reinterpret_cast<LPARAM>(entry.data()));
    return std::wstring(entry.c_str());
  }
  int Count() const { return static_cast<int>(::SendMessageW(list_, LB_GETCOUNT, 0, 0)); }
  void Insert(int index, const std::wstring& entry) const {
    ::SendMessageW(list_, LB_INSERTSTRING, WPARAM(index), reinterpret_cast<LPARAM>(entry.c_str()));
    ::SendMessageW(list_, LB_SETCURSEL, WPARAM(index), 0);
  }
  void Put(int index, const std::wstring& entry) const {
    ::SendMessageW(list_, LB_DELETESTRING, WPARAM(index), 0);
    Insert(index, entry);
  }

  void Command(int id, int code) {
    const int at = static_cast<int>(::SendMessageW(list_, LB_GETCURSEL, 0, 0));
    if (id == kList && code == LBN_SELCHANGE && at >= 0) {
      ShowLine(Text(at));
    } else if (id == kLine && code == EN_CHANGE && !editing_ && at >= 0) {
      Put(at, Widen(WindowText(line_)));
    } else if (id == kAdd) {
      Insert(Count(), L"");
      ShowLine(L"");
      ::SetFocus(line_);
    } else if (id == kBrowse) {
      std::string folder = at >= 0 ? Narrow(Text(at)) : std::string();
      if (!ChooseFolder(window_, "Select a folder", folder)) return;
      if (at >= 0) {
        Put(at, Widen(folder));
      } else {
        Insert(Count(), Widen(folder));
      }
      ShowLine(Widen(folder));
    } else if (id == kRemove && at >= 0) {
      ::SendMessageW(list_, LB_DELETESTRING, WPARAM(at), 0);
      ::SendMessageW(list_, LB_SETCURSEL, WPARAM(std::min(at, Count() - 1)), 0);
    } else if ((id == kUp && at > 0) || (id == kDown && at >= 0 && at + 1 < Count())) {
      const std::wstring moved = Text(at);
      ::SendMessageW(list_, LB_DELETESTRING, WPARAM(at), 0);
      Insert(id == kUp ? at - 1 : at + 1, moved);
    }
  }

  /// The folders joined with `separator`, blanks around each and empty lines left out.
  std::string Joined(char separator) const {
    std::string joined;
    for (int i = 0; i < Count(); ++i) {
      std::string entry = Narrow(Text(i));
      entry.erase(0, entry.find_first_not_of(" \t"));
      entry.erase(entry.find_last_not_of(" \t") + 1);
      if (entry.empty()) continue;
      if (!joined.empty()) joined += separator;
      joined += entry;
    }
    return joined;
  }

 private:
  // Shows a line in the box without writing it back into the list.
  void ShowLine(const std::wstring& text) {
    editing_ = true;
    ::SetWindowTextW(line_, text.c_str());
    editing_ = false;
  }

  HWND window_;
  HWND list_;
  HWND line_;
  bool editing_ = false;
};

}  // namespace

bool TWin32DesignServices::EditPath(std::string& paths, std::string_view item,
                                    std::string_view caption, int, char separator) {
  const TLook& look = Look();
  const int width = look.Scale(560);
  const int height = look.Scale(360);
  TModalWindow form(owner_, caption, width, height);
  HWND window = form.Window();
  const int m = look.Margin;
  const int side = look.Scale(90);
  HWND heading =
      Child(window, WC_STATICW, Widen(std::string(item) + ", one folder to a line:").c_str(),
            SS_LEFTNOWORDWRAP);
  HWND list = Child(window, WC_LISTBOXW, L"", LBS_NOTIFY | WS_VSCROLL | WS_TABSTOP,
                    TPathList::kList, WS_EX_CLIENTEDGE);
  HWND line =
      Child(window, WC_EDITW, L"", ES_AUTOHSCROLL | WS_TABSTOP, TPathList::kLine, WS_EX_CLIENTEDGE);
  const int listW = width - 3 * m - side;
  const int listTop = m + look.LineHeight + look.Gap;
  const int lineTop = height - 2 * m - look.ButtonHeight - look.EditHeight;
  ::MoveWindow(heading, m, m, listW, look.LineHeight, FALSE);
  ::MoveWindow(list, m, listTop, listW, lineTop - look.Gap - listTop, FALSE);
  ::MoveWindow(line, m, lineTop, listW, look.EditHeight, FALSE);
  int y = listTop;
  for (const auto& [id, text] :
       std::vector<std::pair<int, const wchar_t*>>{{TPathList::kAdd, L"&Add"},
                                                   {TPathList::kBrowse, L"&Browse..."},
                                                   {TPathList::kRemove, L"&Remove"},
                                                   {TPathList::kUp, L"&Up"},
                                                   {TPathList::kDown, L"&Down"}}) {
    HWND button = Child(window, WC_BUTTONW, text, BS_PUSHBUTTON | WS_TABSTOP, id);
    ::MoveWindow(button, width - m - side, y, side, look.ButtonHeight, FALSE);
    y += look.ButtonHeight + look.Gap;
  }
  TPathList folders(window, list, line);
  std::size_t start = 0;
  while (start <= paths.size()) {
    const std::size_t end = std::min(paths.find(separator, start), paths.size());
    if (end > start) folders.Insert(folders.Count(), Widen(paths.substr(start, end - start)));
    start = end + 1;
  }
  ::SendMessageW(list, LB_SETCURSEL, WPARAM(-1), 0);
  form.OnCommand = [&folders](int id, int code) { folders.Command(id, code); };
  if (!form.Run()) return false;
  paths = folders.Joined(separator);
  return true;
}

}  // namespace mx::wingui
