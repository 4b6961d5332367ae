// The page view's drawing: the pictures of edit buttons, the colours of grids, and images.
#include "Win32PageView.h"

#include <commctrl.h>

#include <algorithm>

#include "moxtal/wingui/Win32PageViewParts.h"

namespace mx::wingui {

namespace detail {

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

}  // namespace detail

using namespace detail;

void TWin32PageView::Draw(const DRAWITEMSTRUCT& item) {
  const auto it = controls_.find(item.hwndItem);
  if (it == controls_.end()) return;
  const TBinding& b = bindings_[it->second];
  RECT box = item.rcItem;
  if (TEdit* edit = b.Edit) {
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

}  // namespace mx::wingui
