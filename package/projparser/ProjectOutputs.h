#pragma once
// What a project builds and what it links, read from its file: the outputs other projects link
// (the final output, an import library, a package import) and the libraries, packages and object
// files it links itself. The import of a project group infers dependencies from them, and a
// pipeline hands the outputs from one machine to the next.

#include <string>
#include <vector>

#include "package/projparser/MxCBuilderUtils.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

/// Outputs and links in the project's own words: Windows names, relative to the project's folder
/// unless they name a drive.
struct TProjectLinks {
  std::vector<std::string> Outputs;
  std::vector<std::string> Links;
};

/// What a C++Builder 5/6 project builds, from its PROJECT macro (the final output, quotes
/// removed), its type, the BPI/LIB folder of its linker switches ("" when none) and its linker
/// switches: a package's .bpi and, with -Gl, .lib; a DLL's import library with -Gi; a static
/// library is its own final output. The .bpi and .lib go to the BPI/LIB folder, else beside the
/// final output.
std::vector<std::string> CBuilder56Outputs(const std::string& finalOutput,
                                           TCBuilderProjectType type,
                                           const std::string& bpiLibFolder,
                                           const std::string& linkerSwitches);

/// The outputs and links of a C++Builder 2006 project (.bdsproj) in configuration `config` (a
/// configuration's key, "Debug_Build"; "" for the one the project last built).
TProjectLinks BdsProjectLinks(const platform::TXmlDocument& document, const std::string& config);

/// The outputs and links of a C++Builder 2007 project (an MSBuild .cbproj) named `projectFile`,
/// built with MSBuild's Config set to `config` ("" for the project's default). Its property groups
/// are evaluated as MSBuild does for the conditions such projects use (comparisons of quoted
/// texts with == and !=, and, or, parentheses); a group with a condition it cannot read is left
/// out.
TProjectLinks MSBuildProjectLinks(const platform::TXmlDocument& document,
                                  const std::string& projectFile, const std::string& config);

/// A name a project or group gives in Windows form, relative to `folder` (a folder of this
/// machine), as a path of this machine. A name with a drive ("C:\Out") stays as written: no
/// folder of this machine is its; so does one that names a make macro ("$(BCB)\Bpl\X.bpl"),
/// which only the make tool expands.
std::string MachinePathOf(const std::string& folder, std::string name);

}  // namespace mx::bcc
