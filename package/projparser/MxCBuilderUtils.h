#pragma once
// The C++Builder 5/6 project parser: its enumerations and interfaces, the factory that
// recognises a project's version, the warning and path helpers every switch family uses, and
// the exception for files the parser cannot accept.

#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_set>

#include "moxtal/api/Action.h"
#include "moxtal/api/MxTypes.h"
#include "moxtal/api/Services.h"
#include "package/options/MxCBuilderIntf.h"
#include "platform/Exception.h"
#include "platform/StringList.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

/// The option families a parser reads.
MX_ENUM(TCBuilderProjParserOption, poProject, poDirectories, poCompiler, poAdvCompiler, poLinker,
        poAdvLinker, poCpp, poPascal, poTASM, poCorba, poVersionInfo, poCodeGuard, poPackage,
        poTLib)
using TCBuilderProjParserOptions = TSet<TCBuilderProjParserOption>;

/// Every option family: what the build passes.
TCBuilderProjParserOptions AllParserOptions();

/// A project file the parser cannot accept: missing, unrecognised, or of an unsupported version.
class EMxCBuilderInvalidProjectFileException : public Exception {
 public:
  using Exception::Exception;
};

/// A parsed C++Builder project: its plain values, its ten option records, and the operations
/// that rewrite it from an action and save it under another name.
class ICBuilderProjectParser {
 public:
  virtual ~ICBuilderProjectParser() = default;

  virtual std::string GetConditionals() const = 0;
  virtual void SetConditionals(const std::string& value) = 0;
  virtual bool GetDebug() const = 0;
  virtual void SetDebug(bool value) = 0;
  virtual bool GetBuildAll() const = 0;
  virtual void SetBuildAll(bool value) = 0;
  virtual std::string GetIncludePath() const = 0;
  virtual void SetIncludePath(const std::string& value) = 0;
  virtual std::string GetLibraryPath() const = 0;
  virtual void SetLibraryPath(const std::string& value) = 0;
  virtual std::string GetIntermediateOutputPath() const = 0;
  virtual void SetIntermediateOutputPath(const std::string& value) = 0;
  virtual std::string GetFinalOutputPath() const = 0;
  virtual void SetFinalOutputPath(const std::string& value) = 0;
  virtual std::string GetBPILIBOutputPath() const = 0;
  virtual void SetBPILIBOutputPath(const std::string& value) = 0;
  virtual std::string GetMakeOptions() const = 0;
  virtual void SetMakeOptions(const std::string& value) = 0;
  virtual std::string GetVersionInfo() const = 0;
  virtual void SetVersionInfo(const std::string& value) = 0;
  virtual platform::TStringList& GetPackages() = 0;
  virtual void SetPackages(const platform::TStringList& value) = 0;
  virtual bool GetUsePackages() const = 0;
  virtual void SetUsePackages(bool value) = 0;
  /// Saves the document, as loaded and changed, to `fileName`.
  virtual void SaveToFile(const std::string& fileName) = 0;
  /// Reads the project type and output path, then every selected option family.
  virtual void ParseProjectFile() = 0;
  /// Forces the selected option families of a C++Builder 5/6 action onto the document; any
  /// other action throws the invalid-cast error.
  virtual void ApplyChanges(TCustomMxAction& action, bool preProcess) = 0;
  virtual TCBuilderVersion GetCBuilderVersion() const = 0;
  virtual TCBuilderProjectType GetProjectType() const = 0;
  virtual std::shared_ptr<ICBuilderCompilerOptions> GetCompilerOptions() const = 0;
  virtual std::shared_ptr<ICBuilderAdvCompilerOptions> GetAdvCompilerOptions() const = 0;
  virtual std::shared_ptr<ICBuilderLinkerOptions> GetLinkerOptions() const = 0;
  virtual std::shared_ptr<ICBuilderAdvLinkerOptions> GetAdvLinkerOptions() const = 0;
  virtual std::shared_ptr<ICBuilderCPPOptions> GetCPPOptions() const = 0;
  virtual std::shared_ptr<ICBuilderPascalOptions> GetPascalOptions() const = 0;
  virtual std::shared_ptr<ICBuilderTASMOptions> GetTASMOptions() const = 0;
  virtual std::shared_ptr<ICBuilderCorbaOptions> GetCorbaOptions() const = 0;
  virtual std::shared_ptr<ICBuilderCodeGuardOptions> GetCodeGuardOptions() const = 0;
  virtual std::shared_ptr<ICBuilderTLibOptions> GetTLibOptions() const = 0;
};

class ICBuilderProjectParserFactory {
 public:
  virtual ~ICBuilderProjectParserFactory() = default;
  /// A parser for a C++Builder 5 or 6 project. The file name is expanded through the action
  /// when there is one, else through the factory's application services. Throws
  /// EMxCBuilderInvalidProjectFileException for a missing, unrecognised or unsupported file.
  virtual std::shared_ptr<ICBuilderProjectParser> CreateProjectParser(
      const std::string& projectFile, const TCustomMxAction* action,
      TCBuilderProjParserOptions options) = 0;
};

/// A factory whose parsers expand with `services`: the run-time services of the action's build
/// script for a build or its preview, the design-time ones for pages. It refers to the services,
/// so it and its parsers live for one use, inside the lifetime of the services.
std::unique_ptr<ICBuilderProjectParserFactory> CBuilderProjectParserFactory(
    IMxApplicationServices& services);

/// Recognises the version of a project's full text; `errorText` receives the XML load error
/// (reason, source text and "Line : n", CR LF between them) when an XML project does not load.
TCBuilderVersion DetectProjectVersion(std::string_view text, std::string& errorText);
/// The same, handing over the loaded document of a C++Builder 5 or 6 project.
TCBuilderVersion DetectProjectVersion(std::string_view text, std::string& errorText,
                                      std::optional<platform::TXmlDocument>* loaded);

// Warnings: the compiler and linker records keep selected warnings as lines "-wxxx=1" (on) or
// "-wxxx=0" (off).

/// The first two characters are "-w" or "/w".
bool IsWarning(std::string_view text);
/// The first two characters are "-O".
bool IsOptimisation(std::string_view text);
/// Deletes a "-" in third place: -w-par becomes -wpar.
std::string NormaliseWarning(std::string_view text);
/// -w-par gives -wpar=0, -wpar gives -wpar=1.
std::string WarningToInternalFormat(std::string_view text);
/// -wpar=1 gives -wpar, -wpar=0 gives -w-par. Throws mx::Exception
/// "Invalid string format passed to InternalFormatToWarning" for a line without "=".
std::string InternalFormatToWarning(std::string_view line);

/// The lines of a warnings or optimisation catalogue ("-switch=description"); `path` names the
/// file in the error: mx::Exception "<path>:<line>: ..." for a line that is not of that form
/// (empty lines are allowed).
platform::TStringList ParseWarningCatalogue(std::string_view text, const std::string& path);

/// A warnings catalogue as read: its lines, and whether it names a switch.
class TKnownWarnings {
 public:
  explicit TKnownWarnings(platform::TStringList lines);
  const platform::TStringList& Lines() const { return lines_; }
  /// True when a line's name is `name`, compared without regard to ASCII case (as a string
  /// list's IndexOfName finds it).
  bool Contains(std::string_view name) const;

 private:
  platform::TStringList lines_;
  std::unordered_set<std::string> names_;  // upper case
};

/// A warnings catalogue (lines name=text) from the host's folder, read again only when its
/// file has changed; throws the file-open error when it cannot be read, and mx::Exception
/// "<file>:<line>: ..." for a line that is not "-switch=description" (empty lines are
/// allowed).
std::shared_ptr<const TKnownWarnings> LoadKnownWarnings(const std::string& fileName);

/// Removes one trailing "\" when the path contains a blank, then quotes it with
/// DoubleQuoteString (text, false).
std::string FixupPathBackSlash(std::string_view path);
/// Rebuilds a ";" list: each item loses one trailing "\" and its enclosing quotes, and is
/// quoted again when it contains a blank, "+", "_" or ".".
std::string FixupLibPathBackSlash(std::string_view paths);
/// Quotes each item of a ";" list with DoubleQuoteString (text, true).
std::string FixupLibPathQuotes(std::string_view paths);

}  // namespace mx::bcc
