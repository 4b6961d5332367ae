#pragma once
// The diagnostics of the C++Builder tools, recognised in their output lines as make and MSBuild
// pass them on: the C++ compiler ("Error E2451 Unit1.cpp 12: ..."), the linker ("Error:
// Unresolved external ..."), the resource compiler ("Error app.rc 12 11: ..."), the Pascal
// compiler ("Unit1.pas(12) Error: ..."), the assembler ("**Error** a.asm(3) ..."), the
// librarian, make's own failures ("** error 1 ** deleting ...") and MSBuild's canonical form
// ("file(line,col): error CODE: text"). Lines of any other form are not diagnostics.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "moxtal/api/Diagnostics.h"
#include "moxtal/api/ToolFiles.h"

namespace mx::bcc {

/// The recogniser of one tool run. It follows which tool is at work from the command lines make
/// echoes and from the tools' banners, so that messages without a tool of their own (the
/// linker's "Error: ...") are given to the right one.
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
  const std::string& CurrentTool() const { return current_; }

 private:
  const TDiagnostics& Make(std::string_view tool, TDiagnosticSeverity severity,
                           std::string_view code, std::string_view file, int line, int column,
                           std::string_view message, std::string_view logLine);
  /// A file named in a message, as a file of this machine and relative to the project ("" when
  /// outside it).
  struct TFileNames {
    std::string Machine;
    std::string Relative;
  };
  const TFileNames& NamesOf(std::string_view file);
  std::string WorkOutRelative(std::string_view file, const std::string& projectFolder) const;
  const std::string& ResolvedProjectFolder();
  bool FollowTool(std::string_view line);

  std::string first_;
  std::string current_;
  std::string workingFolder_;
  std::string projectFolder_;
  TToolFiles files_;
  std::optional<std::string> resolvedProjectFolder_;
  const TDiagnostics none_;
  TDiagnostics found_;
  struct THash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  std::unordered_map<std::string, TFileNames, THash, std::equal_to<>> fileNames_;
  std::string lastFile_;
  TFileNames lastNames_;
};

}  // namespace mx::bcc
