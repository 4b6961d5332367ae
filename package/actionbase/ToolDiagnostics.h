#pragma once
// The diagnostics of the C++Builder tools, recognised in their output lines as make and MSBuild
// pass them on: the C++ compiler ("Error E2451 Unit1.cpp 12: ..."), the linker ("Error:
// Unresolved external ..."), the resource compiler ("Error app.rc 12 11: ..."), the Pascal
// compiler ("Unit1.pas(12) Error: ..."), the assembler ("**Error** a.asm(3) ..."), the
// librarian, make's own failures ("** error 1 ** deleting ...") and MSBuild's canonical form
// ("file(line,col): error CODE: text"). Lines of any other form are not diagnostics.

#include <string>
#include <string_view>

#include "moxtal/api/Diagnostics.h"
#include "moxtal/api/ToolFiles.h"
#include "package/actionbase/ToolFileNaming.h"
#include "package/actionbase/ToolLineFormats.h"
#include "package/actionbase/ToolTracking.h"

namespace mx::bcc {

/// The recogniser of one tool run: it reads each line in the tools' message formats, follows
/// which tool is at work (so that messages without a tool of their own, the linker's
/// "Error: ...", are given to the right one) and names the files the messages name.
class TToolDiagnostics {
 public:
  /// `tool` is what runs first ("make", "msbuild", "bpr2mak", "brcc32", "bdsproj2mak"); file
  /// names in messages are taken against `workingFolder`, and given relative to
  /// `projectFolder` (both folders of this machine). `files` says how the tools name files: a
  /// tool run through Wine names them by their Windows names.
  TToolDiagnostics(std::string tool, std::string workingFolder, std::string projectFolder,
                   TToolFiles files = {});

  /// The diagnostics of one output line: none for most lines. The result lasts until the next
  /// call. Never throws.
  const TDiagnostics& Recognise(std::string_view line);

  /// The tool the next message without a tool of its own belongs to.
  const std::string& CurrentTool() const { return tracker_.Current(); }

 private:
  const TDiagnostics& Make(const TMessageParts& parts, std::string_view logLine);

  TToolTracker tracker_;
  TToolFileNaming naming_;
  const TDiagnostics none_;
  TDiagnostics found_;
};

}  // namespace mx::bcc
