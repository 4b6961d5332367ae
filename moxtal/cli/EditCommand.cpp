#include "EditCommand.h"

#include <iostream>

#include <CLI/CLI.hpp>
#include <nlohmann/json.hpp>

#include "moxtal/api/Commands.h"
#include "moxtal/cli/ProjectTake.h"
#include "moxtal/cli/Requirements.h"
#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/ConsoleDesignServices.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/EditorModule.h"
#include "moxtal/engine/Host.h"
#include "moxtal/engine/PageDialog.h"
#include "moxtal/engine/PageJson.h"
#include "platform/DynamicLibrary.h"
#include "platform/Environment.h"
#include "platform/ExecutablePath.h"
#include "platform/FileNames.h"

namespace mx::cli {

using engine::TBuildScript;
using engine::TPageDialog;

namespace {

struct TEditOptions {
  std::string Script;
  std::string Action;
  bool Dump = false;
  bool Reload = false;
  bool Yes = false;
  std::string Screenshots;
};

// Where `moxtal edit` can draw its dialog.
bool HaveDesktop() {
  return platform::HasDesktop();
}

// The desktop editor's module among moxtal's modules; throws when moxtal was built without it.
engine::TEditorEntry LoadEditor() {
  const std::string module = platform::machinepath::Join(
      platform::ProgramFolders().Modules, std::string(platform::TDynamicLibrary::Prefix()) +
                                              engine::kEditorModule +
                                              platform::TDynamicLibrary::Extension());
  if (!platform::machinepath::FileExists(module)) {
    throw Exception(
        "This moxtal was built without the desktop editor (Qt 6 was not found when it was "
        "built); --dump and --reload work without it");
  }
  const auto library = platform::TDynamicLibrary::Load(module);
  auto entry = reinterpret_cast<engine::TEditorEntry>(library.Symbol(engine::kEditorEntry));
  if (!entry) throw Exception(module + " has no " + engine::kEditorEntry + " entry");
  return entry;
}

int RunEditor(TPageDialog& dialog, const TEditOptions& options) {
  const engine::TEditorEntry entry = LoadEditor();
  if (options.Screenshots.empty() && !HaveDesktop()) {
    throw Exception(
        "moxtal edit needs a desktop, and neither DISPLAY nor WAYLAND_DISPLAY is set. On a build "
        "server, --reload takes a project's settings into the action and --dump shows the "
        "pages; QT_QPA_PLATFORM=offscreen runs the dialog without a screen");
  }
  if (!options.Screenshots.empty() && !HaveDesktop())
    platform::SetEnvironmentVariable("QT_QPA_PLATFORM", "offscreen");
  const TActionRegistration* registration =
      engine::THost::Instance().FindAction(dialog.Action().ClassInfo().Name());
  const std::string bitmap = registration ? registration->Bitmap : std::string();
  const std::string title = dialog.Action().Name() + " - " + dialog.Action().GetActionName();
  const engine::TEditorRequest request{
      &dialog, title.c_str(), bitmap.data(), bitmap.size(),
      options.Screenshots.empty() ? nullptr : options.Screenshots.c_str()};
  return entry(&request);
}

int Edit(const TEditOptions& options) {
  auto script = TBuildScript::Load(options.Script);
  auto action = script->FindAction(options.Action);
  if (!action) {
    throw Exception(options.Script + ": " + script->NoSuchActionMessage(options.Action));
  }
  // The pages expand file names as the build will: with the script's variables and folder.
  IMxApplicationServices* before = engine::SetDesignApplicationServices(script.get());
  struct TRestore {
    IMxApplicationServices* Before;
    ~TRestore() { engine::SetDesignApplicationServices(Before); }
  } restore{before};

  if (options.Reload) {
    // The project is looked for before the question is asked.
    for (const auto& problem : CheckRequirements(*action, false)) {
      if (problem.Error && problem.Property == "ProjectFile") {
        throw Exception(options.Script + ": action \"" + action->Name() + "\": " + problem.Text +
                        "; nothing was reloaded");
      }
    }
    switch (ReloadProject(*script, *action, options.Yes)) {
      case TReloadResult::rrReloaded:
        break;
      case TReloadResult::rrDeclined:
        std::cerr << "moxtal: nothing was reloaded; " << options.Script << " is unchanged\n";
        return kExitFailed;
      case TReloadResult::rrFailed:
        std::cerr << "moxtal: nothing was reloaded; " << options.Script << " is unchanged\n";
        return kExitUsage;
    }
    script->Save(options.Script);
    std::cerr << "Reloaded \"" << action->Name() << "\" from its project; saved " << options.Script
              << "\n";
  }
  TPageDialog dialog(*action);
  if (dialog.Pages().empty())
    throw Exception(action->ClassInfo().Name() + " has no property pages");
  dialog.Open();
  if (options.Dump) std::cout << engine::PagesToJson(dialog).dump(2) << "\n";
  if (options.Reload || options.Dump) return kExitOk;

  const int result = RunEditor(dialog, options);
  if (result == engine::kEditorFailed) return kExitUsage;
  if (!options.Screenshots.empty()) {
    std::cout << "The pages of \"" << action->Name() << "\" drawn in " << options.Screenshots
              << "\n";
    return kExitOk;
  }
  // A script that runs the editor can tell OK from Cancel, as with any dialog run from a script.
  if (result != engine::kEditorAccepted) {
    std::cout << "Cancelled; " << options.Script << " is unchanged\n";
    return kExitFailed;
  }
  script->Save(options.Script);
  std::cout << "Saved \"" << action->Name() << "\" in " << options.Script << "\n";
  return kExitOk;
}

}  // namespace

void DefineEditCommand(const TAddCommand& add,
                       std::map<const CLI::App*, std::function<int()>>& runs) {
  auto edit = std::make_shared<TEditOptions>();
  CLI::App* cmd = add("edit",
                      "Edit an action on its property pages (or take a project's "
                      "settings into it, headless)");
  cmd->add_option("script", edit->Script, "Build script")->required()->type_name("FILE");
  cmd->add_option("--action", edit->Action, "Action name")->required()->type_name("NAME");
  cmd->add_flag("--dump", edit->Dump, "Print the pages and their controls as JSON");
  cmd->add_flag("--reload", edit->Reload,
                "Take every setting of the action's project file into the action and save the "
                "script (no desktop needed)");
  cmd->add_flag("--yes", edit->Yes, "Answer the reload's confirmation with Yes");
  cmd->add_option("--screenshots", edit->Screenshots,
                  "Draw every page to DIR/NN-Name.png and exit (no desktop needed)")
      ->type_name("DIR");
  cmd->footer(
      "Examples:\n  moxtal edit build.mxs --action \"Build App\"\n"
      "  moxtal edit build.mxs --action \"Build App\" --reload --yes");
  runs[cmd] = [edit] { return Edit(*edit); };
}

}  // namespace mx::cli
