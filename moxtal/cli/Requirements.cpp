#include "Requirements.h"

#include "platform/FileNames.h"

namespace mx::cli {
namespace {

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
