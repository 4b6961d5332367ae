#include "ToolResult.h"

#include "moxtal/api/Quoting.h"
#include "package/actionbase/ToolDiagnostics.h"
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

bool RunToolStep(const TCustomMxAction& action, const TToolStep& step) {
  return RunAndReportTool(
      [&] {
        const auto process = action.CreateMxProcess(step.Process);
        if (step.Starting) step.Starting(process->Parameters());
        int code = 0;
        if (step.Output) {
          // The tools run in the project's folder; their messages name files relative to it.
          const std::string& folder = step.Process.WorkingDirectory;
          TToolDiagnostics diagnostics(step.Tool, folder, folder,
                                       action.ToolFiles(StripQuotes(step.Process.Executable)));
          code = process->Run(
              [&](std::string_view line) { step.Output(line, diagnostics.Recognise(line)); });
        } else {
          code = process->Run();
        }
        if (step.Ended) step.Ended();
        return code;
      },
      step.Report, step.Add);
}

}  // namespace mx::bcc
