#include "ToolResult.h"

#include "platform/Exception.h"
#include "platform/ProcessRunner.h"

namespace mx::bcc {

bool RunAndReportTool(const std::function<int()>& run, const TToolReport& report,
                      const std::function<void(std::string_view)>& addLine) {
  int code = 0;
  try {
    code = run();
  } catch (const Exception& e) {
    if (!report.Error) throw;
    for (const auto& line : report.Error(e.what()))
      addLine(line);
    return false;
  }
  if (code == platform::kExitCodeTerminated) {
    addLine(report.Terminated);
  } else if (code != 0) {
    addLine(report.Failed + std::to_string(code));
  } else if (!report.Succeeded.empty()) {
    addLine(report.Succeeded);
  }
  return code == 0;
}

}  // namespace mx::bcc
