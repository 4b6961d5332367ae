// The Windows desktop editor's entry, which `moxtal edit` finds by name in this module.
#include <objbase.h>

#include <iostream>

#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/EditorModule.h"
#include "moxtal/wingui/Win32DesignServices.h"
#include "moxtal/wingui/Win32PageDialog.h"
#include "moxtal/wingui/Win32Picture.h"
#include "platform/ModuleExport.h"

MX_EXPORT int MxRunEditor(const mx::engine::TEditorRequest* request) {
  using namespace mx;
  // The imaging component and the shell's dialogs are COM objects of this thread.
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  struct TComScope {
    bool Initialised;
    ~TComScope() {
      if (Initialised) ::CoUninitialize();
    }
  } comScope{SUCCEEDED(com)};
  try {
    wingui::TWin32DesignServices services(nullptr);
    IMxDesignServices* before = engine::SetDesignServices(&services);
    struct TRestore {
      IMxDesignServices* Before;
      ~TRestore() { engine::SetDesignServices(Before); }
    } restore{before};

    // The icon outlives the dialog that shows it.
    struct TIcon {
      HICON Handle;
      ~TIcon() {
        if (Handle) ::DestroyIcon(Handle);
      }
    } icon{wingui::BitmapIcon(request->Bitmap, request->BitmapSize)};
    wingui::TWin32PageDialog dialog(*request->Dialog, request->Title, icon.Handle);
    services.SetOwner(dialog.Window());
    int result = engine::kEditorAccepted;
    if (request->ScreenshotsDir) {
      dialog.SaveScreenshots(request->ScreenshotsDir);
    } else {
      result = dialog.Run() ? engine::kEditorAccepted : engine::kEditorCancelled;
    }
    return result;
  } catch (const std::exception& e) {
    std::cerr << "moxtal: " << e.what() << "\n";
    return engine::kEditorFailed;
  } catch (...) {
    // Nothing may unwind out of a module's entry into the host; this has no text to give.
    std::cerr << "moxtal: the desktop editor failed\n";
    return engine::kEditorFailed;
  }
}
