#include "ToolDiagnostics.h"

#include "platform/StrUtils.h"

namespace mx::bcc {

namespace {

// Longer lines are not messages of these tools; looking at them costs time on huge outputs.
constexpr std::size_t kLongestMessage = 8192;

}  // namespace

TToolDiagnostics::TToolDiagnostics(std::string tool, std::string workingFolder,
                                   std::string projectFolder, TToolFiles files)
    : tracker_(platform::LowerCase(tool)),
      naming_(std::move(workingFolder), std::move(projectFolder), std::move(files)) {}

const TDiagnostics& TToolDiagnostics::Make(const TMessageParts& parts, std::string_view logLine) {
  // The one diagnostic is written over the last one's, whose texts keep their room: a build
  // with many warnings costs no allocation per warning.
  found_.resize(1);
  TDiagnostic& d = found_.front();
  d.Tool.assign(parts.Tool.empty() ? std::string_view(tracker_.Current()) : parts.Tool);
  d.Severity = parts.Severity;
  d.Code.assign(parts.Code);
  const auto& names = naming_.Of(parts.File);
  d.File.assign(names.Machine);
  d.RelativeFile.assign(names.Relative);
  d.ProjectFolder.assign(naming_.ProjectFolder());
  d.Line = parts.Line;
  d.Column = parts.Column;
  d.Message.assign(platform::TrimView(parts.Message));
  d.LogLine.assign(logLine);
  return found_;
}

const TDiagnostics& TToolDiagnostics::Recognise(std::string_view logLine) {
  if (logLine.size() > kLongestMessage) return none_;
  const std::string_view line = platform::TrimView(logLine);
  if (line.empty()) return none_;
  if (const auto parts = ReadMessage(line, tracker_.Current())) return Make(*parts, logLine);
  tracker_.Follow(line);
  return none_;
}

}  // namespace mx::bcc
