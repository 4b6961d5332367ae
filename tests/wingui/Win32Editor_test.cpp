// The Windows desktop editor under Wine on a virtual X server: the real dialog for a real build
// script, driven through its windows with the notifications a person's clicks and typing send.
// File and message dialogs are answered by the scripted design services.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <set>

#include "moxtal/api/ObjectText.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/PageLayout.h"
#include "moxtal/engine/ScriptedDesignServices.h"
#include "moxtal/wingui/Win32PageDialog.h"
#include "moxtal/wingui/Win32PageView.h"
#include "moxtal/wingui/Win32Picture.h"
#include "package/action/MxCBuilderAction.h"
#include "package/host/MxRegister.h"
#include "platform/WholeFile.h"
#include "platform/Win32Text.h"

using namespace mx;
namespace fs = std::filesystem;
using platform::win32::Narrow;
using platform::win32::Widen;

namespace {

std::string Text(HWND window) {
  wchar_t text[512] = {};
  ::GetWindowTextW(window, text, 512);
  return Narrow(text);
}

// What a control tells its parent when a person uses it.
void Notify(HWND control, int code) {
  ::SendMessageW(::GetParent(control), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(control), code),
                 reinterpret_cast<LPARAM>(control));
}
void Click(HWND button) {
  Notify(button, BN_CLICKED);
}
void Type(HWND edit, std::wstring_view keys) {
  for (const wchar_t key : keys)
    ::SendMessageW(edit, WM_CHAR, key, 1);
}
void Choose(HWND combo, int index) {
  ::SendMessageW(combo, CB_SETCURSEL, WPARAM(index), 0);
  Notify(combo, CBN_SELCHANGE);
}

class Win32EditorTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    engine::THost::Instance().SetHostFolder(MX_BIN_DIR);
    bcc::Register(true);
  }

  void SetUp() override {
    before_ = engine::SetDesignServices(&desk_);
    dir_ = fs::temp_directory_path() /
           ("mx_wineditor_" +
            std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
    std::ofstream(dir_ / "App.bpr", std::ios::binary)
        << "<?xml version='1.0' encoding='utf-8' ?>\n<PROJECT>\n<MACROS>\n"
           "<VERSION value=\"BCB.05.03\"/>\n<PROJECT value=\"App.exe\"/>\n"
           "<PACKAGES value=\"vcl50.bpi\"/>\n</MACROS>\n</PROJECT>\n";
    scriptPath_ = (dir_ / "build.mxs").string();
    engine::TBuildScript fresh;
    auto created = engine::TBuildScript::CreateAction("TMxCBuilderAction");
    created->SetName("Build App");
    SetPropAsString(*created, "ProjectFile", "App.bpr");
    dynamic_cast<bcc::TMxCBuilderAction&>(*created).GetLinkerOpt()->SetImageBase(0x1A000000);
    fresh.AddAction(created);
    fresh.Save(scriptPath_);
    Open();
  }
  void TearDown() override {
    view_.reset();
    model_.reset();
    engine::SetDesignServices(before_);
    fs::remove_all(dir_);
  }

  void Open() {
    view_.reset();
    model_.reset();
    script_ = engine::TBuildScript::Load(scriptPath_);
    action_ = script_->FindAction("Build App");
    model_ = std::make_unique<engine::TPageDialog>(*action_);
    model_->Open();
    view_ = std::make_unique<wingui::TWin32PageDialog>(*model_, "Build App", nullptr);
  }
  // A control's window on whichever page holds it.
  HWND Find(std::string_view name) const {
    for (std::size_t i = 0; i < model_->Pages().size(); ++i) {
      if (HWND found = view_->View(i).Find(name)) return found;
    }
    ADD_FAILURE() << "no window " << name;
    return nullptr;
  }
  template <class T>
  T& Model(const char* name) const {
    for (const auto& page : model_->Pages()) {
      if (auto* control = dynamic_cast<T*>(page.Frame->FindControl(name))) return *control;
    }
    throw std::runtime_error(std::string("no control ") + name);
  }

  engine::TScriptedDesignServices desk_;
  IMxDesignServices* before_ = nullptr;
  fs::path dir_;
  std::string scriptPath_;
  std::unique_ptr<engine::TBuildScript> script_;
  std::shared_ptr<TCustomMxAction> action_;
  std::unique_ptr<engine::TPageDialog> model_;
  std::unique_ptr<wingui::TWin32PageDialog> view_;
};

TEST_F(Win32EditorTest, WindowsAndModelsFollowEachOtherBothWays) {
  // A click and typing reach the models.
  HWND buildAll = Find("chkBuildAll");
  ASSERT_EQ(::SendMessageW(buildAll, BM_GETCHECK, 0, 0), BST_CHECKED);
  Click(buildAll);
  EXPECT_FALSE(Model<TCheckBox>("chkBuildAll").Checked());
  EXPECT_EQ(::SendMessageW(buildAll, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ::SetWindowTextW(Find("txtMakeOptions"), L"-s -DX=1");
  EXPECT_EQ(Model<TEdit>("txtMakeOptions").Text(), "-s -DX=1");

  // The packages edit follows its check box, in the windows as in the model.
  HWND packages = Find("txtPackages");
  EXPECT_FALSE(::IsWindowEnabled(packages));
  Click(Find("chkUsePackages"));
  EXPECT_TRUE(::IsWindowEnabled(packages));

  // A change of a model shows at once.
  Model<TEdit>("txtMakeOptions").SetText("-B");
  EXPECT_EQ(Text(Find("txtMakeOptions")), "-B");
  auto& align = Model<TComboBox>("cbRecordAlign");
  Choose(Find("cbRecordAlign"), 1);
  EXPECT_EQ(align.ItemIndex(), 1);
  align.SetItemIndex(0);
  EXPECT_EQ(::SendMessageW(Find("cbRecordAlign"), CB_GETCURSEL, 0, 0), 0);

  // The linker's sizes are hexadecimal: shown whole, typed in either case, other keys refused.
  EXPECT_EQ(Text(Find("txtImageBase")), "0x1A000000");
  HWND maxHeap = Find("txtMaxHeapSize");
  ::SendMessageW(maxHeap, EM_SETSEL, 0, -1);
  Type(maxHeap, L"0x00abcdeg");
  EXPECT_EQ(Text(maxHeap), "0x00ABCDE");
  Type(maxHeap, L"f");
  EXPECT_EQ(Model<TMaskEdit>("txtMaxHeapSize").Text(), "0x00ABCDEF");

  // The conditionals' clear button is a button of its own, with its hint.
  Model<TEdit>("txtConditionals").SetText("A;B");
  Click(Find("txtConditionals_custom"));
  EXPECT_EQ(Text(Find("txtConditionals")), "");

  // A spin edit takes a typed number.
  ::SetWindowTextW(Find("spIdentLen"), L"77");
  EXPECT_EQ(Model<TSpinEdit>("spIdentLen").Value(), 77);
  // A number on its way through values below the minimum (16) is left alone until it is one.
  HWND pageSize = Find("spPageSize");
  ::SetWindowTextW(pageSize, L"1");
  EXPECT_EQ(Model<TSpinEdit>("spPageSize").Value(), 16);
  EXPECT_EQ(Text(pageSize), "1");
  ::SetWindowTextW(pageSize, L"128");
  EXPECT_EQ(Model<TSpinEdit>("spPageSize").Value(), 128);

  // Pasted text keeps only what could be typed into a hexadecimal field.
  ASSERT_TRUE(::OpenClipboard(nullptr));
  ::EmptyClipboard();
  const wchar_t pasted[] = L"0x00 12-ab\u00e9CD";
  HGLOBAL memory = ::GlobalAlloc(GMEM_MOVEABLE, sizeof pasted);
  std::memcpy(::GlobalLock(memory), pasted, sizeof pasted);
  ::GlobalUnlock(memory);
  ::SetClipboardData(CF_UNICODETEXT, memory);
  ::CloseClipboard();
  HWND imageBase = Find("txtImageBase");
  ::SendMessageW(imageBase, EM_SETSEL, 0, -1);
  ::SendMessageW(imageBase, WM_PASTE, 0, 0);
  EXPECT_EQ(Text(imageBase), "0x0012ABCD");
}

TEST_F(Win32EditorTest, TheVersionGridIsEditedInPlace) {
  Click(Find("cbIncludeVerInfo"));
  auto& grid = Model<TStringGrid>("VersionKeyGrid");
  HWND list = Find("VersionKeyGrid");
  ASSERT_GT(grid.RowCount(), grid.FixedRows());
  EXPECT_EQ(ListView_GetItemCount(list), grid.RowCount() - grid.FixedRows());
  wchar_t key[128] = {};
  ListView_GetItemText(list, 0, 0, key, 128);
  EXPECT_EQ(Narrow(key), grid.Cell(0, grid.FixedRows()));

  // A double click on a value opens an editor over the cell; Enter keeps what was typed.
  RECT cell{};
  ListView_GetSubItemRect(list, 0, 1, LVIR_LABEL, &cell);
  NMITEMACTIVATE click{};
  click.hdr = {list, static_cast<UINT_PTR>(::GetDlgCtrlID(list)), static_cast<UINT>(NM_DBLCLK)};
  click.iItem = 0;
  click.iSubItem = 1;
  click.ptAction = {(cell.left + cell.right) / 2, (cell.top + cell.bottom) / 2};
  ::SendMessageW(::GetParent(list), WM_NOTIFY, click.hdr.idFrom, reinterpret_cast<LPARAM>(&click));
  HWND editor = ::FindWindowExW(list, nullptr, WC_EDITW, nullptr);
  ASSERT_NE(editor, nullptr);
  ::SetWindowTextW(editor, L"Moxtal Test");
  ::SendMessageW(editor, WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(grid.Cell(1, grid.FixedRows()), "Moxtal Test");
  wchar_t value[128] = {};
  ListView_GetItemText(list, 0, 1, value, 128);
  EXPECT_EQ(Narrow(value), "Moxtal Test");

  // A project with tens of thousands of keys: the list asks for the rows it shows, so the page
  // opens with every one of them at once.
  std::string many;
  for (int i = 0; i < 25000; ++i)
    many += "Key" + std::to_string(i) + "=Value" + std::to_string(i) + "\r\n";
  SetPropAsString(*action_, "VersionInfoKeys", many);
  script_->Save(scriptPath_);
  const auto started = std::chrono::steady_clock::now();
  Open();
  const auto took = std::chrono::steady_clock::now() - started;
  std::cout << "The dialog with 25,000 version keys opened in "
            << std::chrono::duration_cast<std::chrono::milliseconds>(took).count() << " ms\n";
  list = Find("VersionKeyGrid");
  EXPECT_EQ(ListView_GetItemCount(list), 25000);
  ListView_GetItemText(list, 24999, 1, value, 128);
  EXPECT_EQ(Narrow(value), "Value24999");
}

TEST_F(Win32EditorTest, OkSavesAndCancelDoesNot) {
  const auto before = PropertyTexts(*action_);
  Click(Find("chkRegenResource"));
  ::SetWindowTextW(Find("txtBPR2MakeOptions"), L"-q");
  view_->PressCancel();
  EXPECT_EQ(PropertyTexts(*action_), before);

  Open();
  ::SetWindowTextW(Find("txtBPR2MakeOptions"), L"-q");
  view_->PressOk();
  script_->Save(scriptPath_);
  Open();
  EXPECT_EQ(GetPropAsString(*action_, "BPR2MakOptions"), "-q");
  EXPECT_EQ(Text(Find("txtBPR2MakeOptions")), "-q");
}

TEST_F(Win32EditorTest, EveryPageIsDrawnIntoAPicture) {
  const fs::path folder = dir_ / "shots";
  view_->SaveScreenshots(folder.string());
  std::size_t pictures = 0;
  for (const auto& entry : fs::directory_iterator(folder)) {
    ++pictures;
    SIZE size{};
    HBITMAP bitmap = wingui::DecodePicture(platform::ReadWholeFile(entry.path().string()), size);
    ASSERT_NE(bitmap, nullptr) << entry.path();
    // Not blank: a page shows its frame, its texts and its controls in many colours.
    BITMAP bits{};
    ::GetObjectW(bitmap, sizeof bits, &bits);
    std::set<std::uint32_t> colours;
    const auto* pixels = static_cast<const std::uint32_t*>(bits.bmBits);
    for (LONG i = 0; i < size.cx * size.cy; i += 7)
      colours.insert(pixels[i]);
    EXPECT_GT(colours.size(), 8u) << entry.path();
    EXPECT_GT(size.cx, 400) << entry.path();
    ::DeleteObject(bitmap);
  }
  // Only the pages the dialog shows for this action (TLIB is for libraries).
  std::size_t shown = 0;
  for (const auto& page : model_->Pages())
    shown += page.Visible ? 1 : 0;
  EXPECT_EQ(pictures, shown);
  EXPECT_LT(shown, model_->Pages().size());
}

// A 16 by 16 bitmap file of one colour (24 bits a pixel, rows of 48 bytes).
std::string SolidBitmap(BYTE red, BYTE green, BYTE blue) {
  BITMAPFILEHEADER file{};
  BITMAPINFOHEADER info{};
  info.biSize = sizeof info;
  info.biWidth = 16;
  info.biHeight = 16;
  info.biPlanes = 1;
  info.biBitCount = 24;
  std::string pixels;
  for (int i = 0; i < 16 * 16; ++i)
    pixels += {static_cast<char>(blue), static_cast<char>(green), static_cast<char>(red)};
  file.bfType = 0x4D42;
  file.bfOffBits = sizeof file + sizeof info;
  file.bfSize = file.bfOffBits + static_cast<DWORD>(pixels.size());
  return std::string(reinterpret_cast<const char*>(&file), sizeof file) +
         std::string(reinterpret_cast<const char*>(&info), sizeof info) + pixels;
}

// How many pixels of what a window shows on the screen have the colour `rgb`.
int PixelsOf(HWND window, COLORREF rgb) {
  RECT box{};
  ::GetClientRect(window, &box);
  HDC screen = ::GetDC(window);
  HDC memory = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, box.right, box.bottom);
  HGDIOBJ old = ::SelectObject(memory, bitmap);
  ::BitBlt(memory, 0, 0, box.right, box.bottom, screen, 0, 0, SRCCOPY);
  int count = 0;
  for (int y = 0; y < box.bottom; ++y) {
    for (int x = 0; x < box.right; ++x)
      count += ::GetPixel(memory, x, y) == rgb ? 1 : 0;
  }
  ::SelectObject(memory, old);
  ::DeleteObject(bitmap);
  ::DeleteDC(memory);
  ::ReleaseDC(window, screen);
  return count;
}

// The icon preview shows its picture, over the well it sits in.
TEST_F(Win32EditorTest, TheIconPreviewShowsItsPicture) {
  const fs::path picture = dir_ / "red.bmp";
  std::ofstream(picture, std::ios::binary) << SolidBitmap(255, 0, 0);
  Model<TImage>("IconDisplay").LoadFromFile(picture.string());
  ::ShowWindow(view_->Window(), SW_SHOWNOACTIVATE);
  view_->SelectPage(0);
  HWND image = Find("IconDisplay");
  ::RedrawWindow(::GetParent(image), nullptr, nullptr,
                 RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
  RECT box{};
  ::GetClientRect(image, &box);
  // The picture is scaled into the box, its proportions kept: a square of the box's height.
  const int side = std::min(box.right, box.bottom);
  EXPECT_GT(PixelsOf(image, RGB(255, 0, 0)), side * side / 2);
  ::ShowWindow(view_->Window(), SW_HIDE);
}

// How many pixels of a window's top `rows` rows are dark, as text drawn in the window's colour
// is and grey text is not.
int DarkPixelsAtTop(HWND window, int rows) {
  RECT box{};
  ::GetClientRect(window, &box);
  HDC dc = ::GetDC(window);
  int count = 0;
  for (int y = 0; y < std::min<int>(rows, box.bottom); ++y) {
    for (int x = 0; x < box.right; ++x) {
      const COLORREF pixel = ::GetPixel(dc, x, y);
      count += std::max({GetRValue(pixel), GetGValue(pixel), GetBValue(pixel)}) < 0x60 ? 1 : 0;
    }
  }
  ::ReleaseDC(window, dc);
  return count;
}

// A disabled group's caption is grey, as the controls in it are.
TEST_F(Win32EditorTest, ADisabledGroupsCaptionIsGrey) {
  ::ShowWindow(view_->Window(), SW_SHOWNOACTIVATE);
  HWND include = Find("cbIncludeVerInfo");
  HWND group = Find("pnlVersionNums");
  for (std::size_t i = 0; i < model_->Pages().size(); ++i) {
    if (view_->View(i).Find("pnlVersionNums")) view_->SelectPage(i);
  }
  const auto caption = [&] {
    ::RedrawWindow(group, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
    return DarkPixelsAtTop(group, wingui::Look().LineHeight);
  };
  // The script's action leaves version information out.
  ASSERT_EQ(::SendMessageW(include, BM_GETCHECK, 0, 0), BST_UNCHECKED);
  ASSERT_FALSE(::IsWindowEnabled(group));
  EXPECT_EQ(caption(), 0);
  Click(include);
  ASSERT_TRUE(::IsWindowEnabled(group));
  EXPECT_GT(caption(), 20);
  Click(include);
  EXPECT_EQ(caption(), 0);
  ::ShowWindow(view_->Window(), SW_HIDE);
}

// A hint comes broken into lines at spaces, none wider than a tooltip shows, and a word such as
// "C++Builder" is never split.
TEST_F(Win32EditorTest, HintsAreBrokenAtSpacesOnly) {
  HWND include = Find("txtIncludePath");
  NMTTDISPINFOW info{};
  info.hdr.idFrom = reinterpret_cast<UINT_PTR>(include);
  info.hdr.code = TTN_GETDISPINFOW;
  ::SendMessageW(::GetParent(include), WM_NOTIFY, 0, reinterpret_cast<LPARAM>(&info));
  ASSERT_NE(info.lpszText, nullptr);
  const std::string hint = Narrow(info.lpszText);
  const wingui::TLookMetrics metrics(wingui::Look());
  std::string joined;
  std::size_t at = 0;
  int lines = 0;
  while (at <= hint.size()) {
    const std::size_t end = std::min(hint.find("\r\n", at), hint.size());
    const std::string line = hint.substr(at, end - at);
    EXPECT_LE(metrics.TextWidth(line, false), wingui::Look().Scale(400)) << line;
    joined += (joined.empty() ? "" : " ") + line;
    ++lines;
    at = end + 2;
  }
  EXPECT_GT(lines, 1);
  EXPECT_EQ(joined,
            "Folders searched for header files, separated by \";\" ($(BCB) is the C++Builder "
            "folder)");
}

// The radio buttons that follow each other form one group for the arrow keys: only the first
// starts a group.
TEST_F(Win32EditorTest, RadioButtonsInARowAreOneGroup) {
  const auto starts = [&](const char* name) {
    return (::GetWindowLongW(Find(name), GWL_STYLE) & WS_GROUP) != 0;
  };
  EXPECT_TRUE(starts("rbInstruction386"));
  EXPECT_FALSE(starts("rbInstruction486"));
  EXPECT_FALSE(starts("rbInstructionPentiumPro"));
  EXPECT_TRUE(starts("rbAlignByte"));
  EXPECT_FALSE(starts("rbAlignQWord"));
}

// A label's text stands on the line of the text of the edit beside it, wherever the edit
// control puts its text.
TEST_F(Win32EditorTest, ALabelSharesTheLineOfItsEditsText) {
  for (const auto& [label, edit] :
       {std::pair{"lblIncludePath", "txtIncludePath"}, std::pair{"lblMajorVer", "spMajorVer"},
        std::pair{"lblIconFile", "txtIconFile"}}) {
    HWND labelWindow = Find(label);
    HWND editWindow = Find(edit);
    RECT labelAt{};
    RECT editAt{};
    ::GetWindowRect(labelWindow, &labelAt);
    ::GetWindowRect(editWindow, &editAt);
    RECT format{};
    ::SendMessageW(editWindow, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&format));
    POINT client{0, 0};
    ::ClientToScreen(editWindow, &client);
    EXPECT_EQ(labelAt.top, client.y + format.top) << label;
    EXPECT_LT(labelAt.top, editAt.top + (editAt.bottom - editAt.top) / 2) << label;
  }
}

// Every window of every page sits where the page layout puts its control, measured in the
// editor's own font.
TEST_F(Win32EditorTest, EveryWindowSitsWhereThePageLayoutPutsIt) {
  const wingui::TLookMetrics metrics(wingui::Look());
  const engine::TPageLayout layout(metrics);
  int checked = 0;
  for (std::size_t i = 0; i < model_->Pages().size(); ++i) {
    if (!model_->Pages()[i].Visible) continue;
    wingui::TWin32PageView& view = view_->View(i);
    RECT page{};
    ::GetClientRect(view.Window(), &page);
    for (const auto& placed : layout.Place(view.Frame(), {0, 0, page.right, page.bottom})) {
      HWND window = view.Find(placed.Control->Name());
      if (!window || placed.Control == &view.Frame()) continue;
      RECT at{};
      ::GetWindowRect(window, &at);
      ::MapWindowPoints(nullptr, view.Window(), reinterpret_cast<POINT*>(&at), 2);
      const std::string name = placed.Control->Name();
      EXPECT_EQ(at.left, placed.Bounds.Left) << name;
      EXPECT_EQ(at.top, placed.Bounds.Top) << name;
      // An edit's buttons take their room at its right.
      const auto* edit = dynamic_cast<const TEdit*>(placed.Control);
      EXPECT_EQ(at.right - at.left,
                edit ? layout.EditBoxWidth(*edit, placed.Bounds.Width()) : placed.Bounds.Width())
          << name;
      ++checked;
    }
  }
  EXPECT_GT(checked, 150);
}

}  // namespace
