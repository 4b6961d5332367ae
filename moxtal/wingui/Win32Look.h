#pragma once
// What every window of the Windows editor shares: the system's message font at the screen's
// DPI, the sizes derived from it, the common controls of version 6 (through the module's own
// manifest) and a modal message loop.

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>

#include "moxtal/engine/PageLayout.h"

namespace mx::wingui {

/// The look of one screen: the font and the sizes of controls, in pixels at the screen's DPI.
struct TLook {
  HFONT Font = nullptr;
  int Dpi = 96;
  int LineHeight = 13;  // of the font
  int EditHeight = 23;  // edits, combo boxes and spin edits
  int EditTextTop = 5;  // where an edit's text starts below its top
  int ButtonHeight = 25;
  int Gap = 6;  // between neighbours
  int Margin = 9;

  /// `pixels` at 96 DPI, at this screen's DPI.
  int Scale(int pixels) const { return MulDiv(pixels, Dpi, 96); }
  /// The size of `text` in the font; "&" marks an accelerator unless `prefix` is false.
  SIZE TextSize(std::string_view text, bool prefix = true) const;
  /// The height of `text` wrapped at `width`.
  int WrappedHeight(std::string_view text, int width) const;
};

/// The look of the primary screen, made once (the common controls are initialised with it).
const TLook& Look();

/// A look's sizes and font, as the page layout measures.
class TLookMetrics : public engine::ILayoutMetrics {
 public:
  explicit TLookMetrics(const TLook& look) : look_(look) {}
  int Scale(int pixels) const override { return look_.Scale(pixels); }
  int LineHeight() const override { return look_.LineHeight; }
  int EditHeight() const override { return look_.EditHeight; }
  int ButtonHeight() const override { return look_.ButtonHeight; }
  int Gap() const override { return look_.Gap; }
  int Margin() const override { return look_.Margin; }
  int TextWidth(std::string_view text, bool prefix) const override {
    return look_.TextSize(text, prefix).cx;
  }
  int WrappedHeight(std::string_view text, int width) const override {
    return look_.WrappedHeight(text, width);
  }
  int EditTextTop() const override { return look_.EditTextTop; }

 private:
  const TLook& look_;
};

/// The common controls of version 6 for windows made while the object lives: the module's
/// manifest asks for them, as a program's manifest would.
class TVisualStyles {
 public:
  TVisualStyles();
  ~TVisualStyles();
  TVisualStyles(const TVisualStyles&) = delete;
  TVisualStyles& operator=(const TVisualStyles&) = delete;

 private:
  ULONG_PTR cookie_ = 0;
};

/// Tells the person in a message box over `window` what failed.
void ReportFailure(HWND window, const char* text);

/// Registers (once) a window class of this module whose windows call `TWindowProc` objects:
/// a window made with it takes a `TWindowProc*` as its creation parameter.
using TWindowProc = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM)>;
const wchar_t* HandlerClass();
HWND CreateHandlerWindow(DWORD exStyle, DWORD style, const wchar_t* title, HWND parent,
                         TWindowProc* proc);

/// Runs messages until `done` is true, with `window` shown, its owner disabled meanwhile and the
/// keyboard moving between its controls as in a dialog; `filter` (may be empty) sees each
/// message first and returns true for one it handled.
void RunModal(HWND window, const bool& done,
              const std::function<bool(const MSG&)>& filter = nullptr);

/// Sets the look's font on a window.
void SetFont(HWND window);

/// A window's text, as UTF-8.
std::string WindowText(HWND window);

/// The module's instance.
HINSTANCE ModuleInstance();

}  // namespace mx::wingui
