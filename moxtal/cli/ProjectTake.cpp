#include "ProjectTake.h"

#include <iostream>
#include <sstream>

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/ConsoleDesignServices.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/PageDialog.h"
#include "platform/Exception.h"
#include "platform/StrUtils.h"

namespace mx::cli {

namespace {

// The design services and the expansion the pages use while they run for the command line:
// they expand as the build will (the script's variables and folder); restored however the pages
// end.
class TDesignScope {
 public:
  TDesignScope(engine::TBuildScript& script, IMxDesignServices& services)
      : application_(engine::SetDesignApplicationServices(&script)),
        services_(engine::SetDesignServices(&services)) {}
  ~TDesignScope() {
    engine::SetDesignServices(services_);
    engine::SetDesignApplicationServices(application_);
  }
  TDesignScope(const TDesignScope&) = delete;
  TDesignScope& operator=(const TDesignScope&) = delete;

 private:
  IMxApplicationServices* application_;
  IMxDesignServices* services_;
};

IMxProjectPage& ProjectPage(const engine::TPageDialog& dialog) {
  for (const auto& p : dialog.Pages()) {
    if (auto* page = dynamic_cast<IMxProjectPage*>(p.Page.get())) return *page;
  }
  throw Exception("The pages of " + dialog.Action().ClassInfo().Name() +
                  " cannot read settings from a project file");
}

}  // namespace

std::vector<std::string> TakeProject(engine::TBuildScript& script, TCustomMxAction& action,
                                     const std::string& file) {
  // What the pages show goes here first: an error becomes the command's message, a warning is
  // passed on.
  std::ostringstream shown;
  std::istringstream noInput;
  engine::TConsoleDesignServices console(true, noInput, shown);
  console.AnswerYesSilently();
  console.ChooseFile(file);
  TDesignScope scope(script, console);
  engine::TPageDialog dialog(action);
  IMxProjectPage& page = ProjectPage(dialog);
  dialog.Open();
  const std::string where = "action \"" + action.Name() + "\": cannot take the project " + file;
  bool taken = false;
  try {
    taken = page.TakeProject();
  } catch (const Exception& e) {
    throw Exception(where + ": " + platform::ReplaceAll(e.what(), "\r\n", "\n"));
  }
  if (!taken || !console.Errors().empty()) {
    const std::string reason =
        console.Errors().empty() ? "it was not read" : platform::Trim(console.Errors().front());
    throw Exception(where + ": " + reason);
  }
  std::cerr << shown.str();
  dialog.Accept();
  return {"Took from " + file + ": " + action.DescribeTakenProject(page.ResourceFile())};
}

TReloadResult ReloadProject(engine::TBuildScript& script, TCustomMxAction& action, bool yes) {
  engine::TConsoleDesignServices console(yes, std::cin, std::cerr);
  TDesignScope scope(script, console);
  engine::TPageDialog dialog(action);
  IMxProjectPage& page = ProjectPage(dialog);
  dialog.Open();
  if (!page.ReloadFromProject())
    return console.MessagesShown() > 0 ? TReloadResult::rrFailed : TReloadResult::rrDeclined;
  dialog.Accept();
  return TReloadResult::rrReloaded;
}

}  // namespace mx::cli
