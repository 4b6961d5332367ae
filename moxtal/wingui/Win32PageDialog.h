#pragma once
// The editor's dialog on Windows: a tab control with one tab per shown page, in registration
// order, and OK, Cancel and Help. OK writes every page back into the action; Cancel changes
// nothing.

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "moxtal/engine/PageDialog.h"
#include "moxtal/wingui/Win32Look.h"

namespace mx::wingui {

class TWin32PageView;

class TWin32PageDialog {
 public:
  /// `model` has been opened (every page has read the action) and outlives the dialog.
  /// `icon` (may be null) is the window's icon.
  TWin32PageDialog(engine::TPageDialog& model, const std::string& title, HICON icon);
  ~TWin32PageDialog();
  TWin32PageDialog(const TWin32PageDialog&) = delete;
  TWin32PageDialog& operator=(const TWin32PageDialog&) = delete;

  HWND Window() const { return window_; }
  HWND Tabs() const { return tabs_; }
  /// The view of the page at `index` of the model (shown or not).
  TWin32PageView& View(std::size_t index) const { return *views_[index]; }
  /// Shows the page at `index` of the model (it must be shown).
  void SelectPage(std::size_t index);

  /// Shows the dialog until OK (true, after every page wrote the action) or Cancel (false).
  bool Run();
  /// What the OK and Cancel buttons do.
  void PressOk();
  void PressCancel();
  /// Draws every page, shown or hidden, with the dialog around it, to
  /// `folder`/NN-Caption.png (NN counting from 01); throws mx::Exception when one cannot be
  /// written.
  void SaveScreenshots(const std::string& folder);

 private:
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  /// Puts the tabs of the shown pages in the model's order, keeping the page shown if it can.
  void UpdateTabs();
  void ShowCurrentPage();
  void Layout();
  void ShowHelp();

  engine::TPageDialog& model_;
  TVisualStyles styles_;
  TWindowProc proc_;
  HWND window_ = nullptr;
  HWND tabs_ = nullptr;
  HWND ok_ = nullptr;
  HWND cancel_ = nullptr;
  HWND help_ = nullptr;
  std::vector<std::unique_ptr<TWin32PageView>> views_;
  std::vector<int> tabPages_;  // the model's index of each tab
  int activePage_ = -1;
  bool done_ = false;
  bool accepted_ = false;
};

}  // namespace mx::wingui
