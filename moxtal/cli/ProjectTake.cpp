#include "ProjectTake.h"

#include <algorithm>
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

// The regular files of a folder, sorted; none when it cannot be listed.
std::vector<std::filesystem::path> FilesIn(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code error;
  for (std::filesystem::directory_iterator i(folder, error), end; !error && i != end;
       i.increment(error)) {
    if (i->symlink_status(error).type() == std::filesystem::file_type::regular)
      files.push_back(i->path());
  }
  std::sort(files.begin(), files.end());
  return files;
}

// The folder of the project that `file` names, as the page will find it; "" when the name
// cannot be expanded (the take then fails before writing anything).
std::filesystem::path ProjectFolder(engine::TBuildScript& script, const std::string& file) {
  namespace mp = platform::machinepath;
  try {
    std::filesystem::path path = mp::ToFsPath(script.ExpandExpression(file, true));
    if (path.is_relative()) path = mp::ToFsPath(script.BaseFolder()) / path;
    return path.parent_path();
  } catch (const Exception&) {
    return {};
  }
}

// What a take wrote: the files of the folder that were not there before it.
class TFolderWatch {
 public:
  explicit TFolderWatch(std::filesystem::path folder)
      : folder_(std::move(folder)), before_(FilesIn(folder_)) {}
  std::vector<std::string> Written() const {
    std::vector<std::string> written;
    if (folder_.empty()) return written;
    for (const auto& file : FilesIn(folder_)) {
      if (!std::binary_search(before_.begin(), before_.end(), file))
        written.push_back(platform::machinepath::FromFsPath(file));
    }
    return written;
  }

 private:
  std::filesystem::path folder_;
  std::vector<std::filesystem::path> before_;
};

}  // namespace

TTakenFiles::~TTakenFiles() {
  for (const auto& file : files_) {
    std::error_code ignored;  // a file that cannot be removed is left where it is
    std::filesystem::remove(platform::machinepath::ToFsPath(file), ignored);
  }
}

void TTakenFiles::Add(const std::vector<std::string>& files) {
  files_.insert(files_.end(), files.begin(), files.end());
}

std::vector<std::string> TakeProject(engine::TBuildScript& script, TCustomMxAction& action,
                                     const std::string& file, TTakenFiles& taken) {
  // Whatever the take writes before it fails is taken back with it.
  TTakenFiles written;
  const TFolderWatch watch(ProjectFolder(script, file));
  const auto collect = [&] { written.Add(watch.Written()); };
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
  bool took = false;
  try {
    took = page.TakeProject();
  } catch (const Exception& e) {
    collect();
    throw Exception(where + ": " + platform::ReplaceAll(e.what(), "\r\n", "\n"));
  }
  collect();
  if (!took || !console.Errors().empty()) {
    const std::string reason =
        console.Errors().empty() ? "it was not read" : platform::Trim(console.Errors().front());
    throw Exception(where + ": " + reason);
  }
  std::cerr << shown.str();
  dialog.Accept();
  taken.Add(watch.Written());
  written.Keep();
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
