// The desktop editor's entry, which `moxtal edit` finds by name in this module.
#include <iostream>
#include <memory>

#include <QApplication>

#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/EditorModule.h"
#include "moxtal/gui/QtDesignServices.h"
#include "moxtal/gui/QtPageDialog.h"
#include "platform/ModuleExport.h"

namespace {

QtMessageHandler qtHandler = nullptr;

// Qt warns when the session has no runtime folder (a build server, a container, su) and then
// makes one of its own; on every edit that warning is only noise.
void FilterQtMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
  if (text.startsWith(QStringLiteral("QStandardPaths: XDG_RUNTIME_DIR not set"))) return;
  if (qtHandler) qtHandler(type, context, text);
}

}  // namespace

MX_EXPORT int MxRunEditor(const mx::engine::TEditorRequest* request) {
  using namespace mx;
  try {
    static int argc = 1;
    static char name[] = "moxtal";
    static char* argv[] = {name, nullptr};
    if (!qtHandler) qtHandler = qInstallMessageHandler(FilterQtMessages);
    std::unique_ptr<QApplication> owned;
    if (!QApplication::instance()) owned = std::make_unique<QApplication>(argc, argv);

    gui::TQtDesignServices services(nullptr);
    IMxDesignServices* before = engine::SetDesignServices(&services);
    struct TRestore {
      IMxDesignServices* Before;
      ~TRestore() { engine::SetDesignServices(Before); }
    } restore{before};

    gui::TQtPageDialog dialog(*request->Dialog, QString::fromUtf8(request->Title),
                              gui::BitmapIcon(request->Bitmap, request->BitmapSize));
    services.SetParent(&dialog);
    if (request->ScreenshotsDir) {
      dialog.SaveScreenshots(QString::fromUtf8(request->ScreenshotsDir));
      return engine::kEditorAccepted;
    }
    return dialog.exec() == QDialog::Accepted ? engine::kEditorAccepted : engine::kEditorCancelled;
  } catch (const std::exception& e) {
    std::cerr << "moxtal: " << e.what() << "\n";
    return engine::kEditorFailed;
  }
}
