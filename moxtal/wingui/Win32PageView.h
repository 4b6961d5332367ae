#pragma once
// A page drawn with the Win32 controls: one window per control (an edit's buttons and a spin
// edit's arrows are windows of their own beside it), all children of one page window and
// placed by the page's containers' layouts, so that the tab order is the page's order. The
// windows follow the control models both ways: a change of a model shows at once, and what a
// person does goes to the model and its events.

#include <windows.h>

#include <functional>
#include <memory>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "moxtal/api/Pages.h"
#include "moxtal/wingui/Win32Look.h"

namespace mx::wingui {

class TWin32PageView {
 public:
  /// Draws `frame` into a new child window of `parent`; `page` (may be null) rewrites hints.
  /// The frame must outlive the view.
  TWin32PageView(TFrame& frame, IMxPropertyPage* page, HWND parent);
  ~TWin32PageView();
  TWin32PageView(const TWin32PageView&) = delete;
  TWin32PageView& operator=(const TWin32PageView&) = delete;

  HWND Window() const { return window_; }
  TFrame& Frame() const { return frame_; }
  /// The size the page needs when it is `width` pixels wide (at least its narrowest).
  SIZE PreferredSize(int width) const;
  /// Places the page window and every control in it.
  void Place(const RECT& bounds);

  /// The window that holds a control's value (an edit, a box, a list), by component name; an
  /// edit's buttons are NAME_folder and NAME_custom, a spin edit's arrows NAME_updown.
  HWND Find(std::string_view name) const;

 private:
  struct TBinding {
    HWND Window = nullptr;  // what holds the value, or the control itself
    HWND Folder = nullptr;  // an edit's buttons
    HWND Custom = nullptr;
    HWND UpDown = nullptr;  // a spin edit's arrows
    HWND Frame = nullptr;   // a sunken panel's border
    HBITMAP Picture = nullptr;
    SIZE PictureSize{};
    bool Shown = false;
    std::string Caption;  // as last placed
    // What the maker learnt of the control's kind, for the events, the drawing and the placing
    // that treat a kind apart.
    TEdit* Edit = nullptr;        // an edit: its buttons' hints, pictures and places
    TStringGrid* Grid = nullptr;  // a grid: the texts its list asks for, its colours
    bool Radio = false;           // a radio button, whose group the next one joins
    bool Behind = false;          // a group box, which lies under what it surrounds
  };
  class TMaker;
  class TSetter;
  class TCommand;

  void Build(TControl& control);
  void Sync(TControl& control);
  /// Enables and shows the control's windows and its children's; true when one was shown or
  /// hidden.
  bool SyncState(TControl& control);
  LRESULT Handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Command(HWND from, int code);
  LRESULT Notify(NMHDR& header);
  void Draw(const DRAWITEMSTRUCT& item);
  void EditCell(HWND grid, int item, int column);
  void EndCellEdit(bool keep);
  /// Runs model code started by a person; an error goes to a message box.
  void Guarded(const std::function<void()>& action);

  // Placement: every window where the page layout puts its control.
  static const engine::TPageLayout& Layout();
  void Move(const TControl& control, const engine::TLayoutRect& bounds);
  void Relayout();

  TFrame& frame_;
  IMxPropertyPage* page_;
  TWindowProc proc_;
  HWND window_ = nullptr;
  HWND tooltip_ = nullptr;
  std::unordered_map<const TControl*, TBinding> bindings_;
  std::unordered_map<HWND, TControl*> controls_;
  std::string hintText_;
  std::wstring hintWide_;
  // The text of the grid cell the list asked for last, kept while the list copies it.
  std::wstring cellText_;
  bool syncing_ = false;
  RECT bounds_{};
  // The grid cell being edited in place.
  HWND cellEdit_ = nullptr;
  std::function<void(bool)> cellEnd_;
  HWND cellGrid_ = nullptr;
  int cellItem_ = 0;
  int cellColumn_ = 0;
};

}  // namespace mx::wingui
