#pragma once
// Diagnostics of the tools an action runs (compiler errors, linker warnings, make failures), as
// data. The package recognises them in the tools' output lines and hands them to the log with
// the line they came from; the host offers them to every log sink and writes them out as SARIF,
// CI annotations and a summary. The log's text is the same whether a line is a diagnostic or not.

#include <string>
#include <vector>

#include "moxtal/api/MxTypes.h"

namespace mx {

MX_ENUM(TDiagnosticSeverity, dsError, dsWarning, dsNote)

struct TDiagnostic {
  /// The tool that wrote it, in lower case ("bcc32", "ilink32", "brcc32", "make", "msbuild").
  std::string Tool;
  TDiagnosticSeverity Severity = TDiagnosticSeverity::dsError;
  /// The tool's message code ("E2451", "W8004", "MSB3073"), "" when it gives none.
  std::string Code;
  /// The file as the message names it (Windows text), "" when it names none.
  std::string File;
  /// The file relative to the project folder, with "/" between folders; "" when the file is not
  /// inside the project folder or there is no file.
  std::string RelativeFile;
  /// The project's folder on this machine (absolute), which RelativeFile is relative to.
  std::string ProjectFolder;
  int Line = 0;    // 0 when the message gives none
  int Column = 0;  // 0 when the message gives none
  std::string Message;
  /// The log line it came from, as the tool wrote it.
  std::string LogLine;
};

using TDiagnostics = std::vector<TDiagnostic>;

}  // namespace mx
