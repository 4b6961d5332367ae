#include "Requirements.h"

#include <map>
#include <mutex>

#include "moxtal/api/ToolFiles.h"
#include "moxtal/engine/Host.h"
#include "platform/FileNames.h"
#include "platform/WineDrives.h"

namespace mx::cli {
namespace {

// Why the tool at `tool` cannot be started; nullopt when it can, as far as can be told without
// starting it.
std::optional<std::string> ToolProblem(const std::string& tool) {
  const TToolSetup& setup = engine::THost::Instance().ToolSetup();
  const TToolFiles files = TToolFiles::For(tool, setup);
  if (tool.empty() || !files.FileExists(tool)) {
    return (tool.empty() ? std::string("no tool is named") : tool + " does not exist") +
           ": install the C++Builder version it belongs to there, or describe where it is "
           "installed in the registry file (moxtal vars shows what was found)";
  }
  if (!files.ThroughWine()) return std::nullopt;
  const std::string& loader = setup.WineLoader;
  if (loader.empty()) {
    return tool +
           " is a Windows program, and no Wine loader was found to start it: install Wine (on "
           "Debian: sudo apt install wine64) or give --wine PATH";
  }
  if (platform::WindowsProgramBits(files.ToMachine(tool)) != 32) return std::nullopt;
  // Telling whether a 32-bit program can start may start the 32-bit loader: once per loader.
  static std::mutex mutex;
  static std::map<std::string, std::optional<std::string>> known;
  std::lock_guard lock(mutex);
  auto it = known.find(loader);
  if (it == known.end()) it = known.emplace(loader, platform::WineCannotRun32Bit(loader)).first;
  if (!it->second) return std::nullopt;
  return tool + " is a 32-bit Windows program, and " + *it->second;
}

class TRequirementCheck : public IMxBuildRequirements {
 public:
  TRequirementCheck(const TCustomMxAction& action, bool earlierAction)
      : action_(action), earlierAction_(earlierAction) {}

  void RequireFile(std::string_view property, std::string_view file) override {
    std::string path;
    try {
      path = action_.AbsolutePath(action_.ExpandExpression(file, true));
    } catch (const Exception& e) {
      Problems.push_back(
          {true, std::string(property), std::string(file) + " cannot be expanded: " + e.what()});
      return;
    }
    if (platform::machinepath::FileExists(path)) return;
    Problems.push_back(
        {!earlierAction_, std::string(property),
         path + " does not exist" + (earlierAction_ ? " (an earlier action may make it)" : "")});
  }

  void Warn(std::string_view property, std::string_view message) override {
    Problems.push_back({false, std::string(property), std::string(message)});
  }

  void Writes(std::string_view file) override { Written.emplace_back(file); }

  void Error(std::string_view property, std::string_view message) override {
    Problems.push_back({true, std::string(property), std::string(message)});
  }

  void RequireTool(std::string_view what, std::string_view path) override {
    const std::string tool(path);
    if (const auto problem = ToolProblem(tool))
      Problems.push_back({true, std::string(what), *problem});
  }

  std::vector<TRequirementProblem> Problems;
  std::vector<std::string> Written;

 private:
  const TCustomMxAction& action_;
  bool earlierAction_;
};

}  // namespace

std::vector<TRequirementProblem> CheckRequirements(const TCustomMxAction& action,
                                                   bool earlierAction) {
  TRequirementCheck check(action, earlierAction);
  action.DescribeRequirements(check);
  return std::move(check.Problems);
}

std::vector<std::string> BuildFiles(const TCustomMxAction& action) {
  TRequirementCheck check(action, false);
  action.DescribeRequirements(check);
  return std::move(check.Written);
}

}  // namespace mx::cli
