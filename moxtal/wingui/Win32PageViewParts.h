#pragma once
// What the files of the Win32 page view share: the small helpers over controls and windows that
// its making, its events, its drawing and its layout each use.

#include <windows.h>

#include <string>
#include <vector>

#include "moxtal/api/Controls.h"
#include "moxtal/wingui/Win32Look.h"

namespace mx::wingui::detail {

/// The width, at 96 DPI, of the lines a hint is broken into.
constexpr int kHintWidth = 400;
bool IsContainer(const TControl& control);
/// Shown: the control and every container around it.
bool EffectivelyVisible(const TControl& control);
void SetWindowTextIfChanged(HWND window, const std::string& text);
/// A masked edit of a hexadecimal number takes hexadecimal digits only (and editing keys), the
/// letters in upper case as the page writes them.
LRESULT CALLBACK HexadecimalProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR);
/// The grid's in-place editor: Enter keeps the text, Escape drops it, leaving it keeps it.
LRESULT CALLBACK CellEditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                              DWORD_PTR);
/// The colours of a grid's list view: the face of a button while its model asks for it or it is
/// disabled, grey text while disabled.
void PaintGrid(HWND list, const TStringGrid& grid);
/// Draws the picture of an edit's button: a folder, three dots, a reload arrow or a cross.
void DrawGlyph(HDC dc, RECT box, TEditGlyph glyph, bool enabled);

}  // namespace mx::wingui::detail
