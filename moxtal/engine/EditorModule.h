#pragma once
// The desktop editor is a module of its own (it brings the GUI toolkit, which no other command
// should pay for at start-up); the host loads it for `moxtal edit` and calls its entry.

#include <cstddef>

namespace mx::engine {

class TPageDialog;

/// What the host hands the editor.
struct TEditorRequest {
  TPageDialog* Dialog;  // opened: every page has read the action
  const char* Title;    // the window title
  const char* Bitmap;   // the action's palette bitmap (.bmp bytes), may be empty
  std::size_t BitmapSize;
  /// Not null: every page is drawn to DIR/NN-Name.png without showing the dialog.
  const char* ScreenshotsDir;
};

/// The results of the entry.
constexpr int kEditorAccepted = 0;  // OK: every page has written the action
constexpr int kEditorCancelled = 1;
constexpr int kEditorFailed = 2;  // the reason went to standard error

/// The entry's name and type.
constexpr const char* kEditorEntry = "MxRunEditor";
using TEditorEntry = int (*)(const TEditorRequest* request);

/// The module's file name stem ("Mx50Editor": libMx50Editor.so, Mx50Editor.dll).
constexpr const char* kEditorModule = "Mx50Editor";

}  // namespace mx::engine
