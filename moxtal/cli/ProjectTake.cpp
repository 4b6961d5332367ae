#include "ProjectTake.h"

#include <filesystem>
#include <iostream>
#include <sstream>
#include <system_error>

#include "moxtal/engine/BuildScript.h"
#include "moxtal/engine/ConsoleDesignServices.h"
#include "moxtal/engine/DesignServices.h"
#include "moxtal/engine/PageDialog.h"
#include "platform/Exception.h"
#include "platform/FileNames.h"
#include "platform/ResourceFile.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"

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

// The project that `file` names, as the page will find it; "" when the name cannot be
// expanded (the take then fails before writing anything).
std::string ProjectPath(engine::TBuildScript& script, const std::string& file) {
  namespace mp = platform::machinepath;
  try {
    std::filesystem::path path = mp::ToFsPath(script.ExpandExpression(file, true));
    if (path.is_relative()) path = mp::ToFsPath(script.BaseFolder()) / path;
    return mp::FromFsPath(path.lexically_normal());
  } catch (const Exception&) {
    return {};
  }
}

bool IsPlainFile(const std::string& file) {
  std::error_code error;
  return std::filesystem::symlink_status(platform::machinepath::ToFsPath(file), error).type() ==
         std::filesystem::file_type::regular;
}

bool Exists(const std::string& file) {
  std::error_code error;
  return std::filesystem::symlink_status(platform::machinepath::ToFsPath(file), error).type() !=
         std::filesystem::file_type::not_found;
}

}  // namespace

TTakenFiles::~TTakenFiles() {
  // Put back as they were; what cannot be put back is left as the take wrote it.
  for (const auto& [file, bytes] : files_) {
    try {
      if (bytes) {
        std::optional<std::string> now;
        try {
          now = platform::ReadWholeFile(file, bytes->size() + 1);
        } catch (const std::exception&) {
          // gone, or grown: written back below
        }
        if (now != *bytes) platform::WriteWholeFile(file, *bytes, platform::TLinkPolicy::lpRefuse);
      } else if (IsPlainFile(file)) {
        std::filesystem::remove(platform::machinepath::ToFsPath(file));
      }
    } catch (const std::exception&) {
    }
  }
}

void TTakenFiles::Note(const std::string& file) {
  if (!Exists(file)) {
    files_.push_back({file, std::nullopt});
  } else if (IsPlainFile(file)) {
    try {
      files_.push_back({file, platform::ReadWholeFile(file, platform::kMaxResourceFileSize)});
    } catch (const std::exception&) {
      // Unreadable, or larger than a take writes: the take cannot have written it either.
    }
  }
}

void TTakenFiles::Add(TTakenFiles&& other) {
  for (auto& before : other.files_)
    files_.push_back(std::move(before));
  other.files_.clear();
}

std::vector<std::string> TakeProject(engine::TBuildScript& script, TCustomMxAction& action,
                                     const std::string& file, TTakenFiles& taken) {
  // Whatever the take writes before it fails is taken back with it.
  TTakenFiles written;
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
  if (const std::string project = ProjectPath(script, file); !project.empty()) {
    for (const auto& path : page.FilesATakeWrites(project))
      written.Note(path);
  }
  dialog.Open();
  const std::string where = "action \"" + action.Name() + "\": cannot take the project " + file;
  bool took = false;
  try {
    took = page.TakeProject();
  } catch (const Exception& e) {
    throw Exception(where + ": " + platform::ReplaceAll(e.what(), "\r\n", "\n"));
  }
  if (!took || !console.Errors().empty()) {
    const std::string reason =
        console.Errors().empty() ? "it was not read" : platform::Trim(console.Errors().front());
    throw Exception(where + ": " + reason);
  }
  std::cerr << shown.str();
  dialog.Accept();
  taken.Add(std::move(written));
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
