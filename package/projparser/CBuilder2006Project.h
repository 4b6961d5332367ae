#pragma once
// The project files of C++Builder 2006 (.bdsproj) and 2007 (.cbproj, an MSBuild project) as
// the 2006/2007 pages and the checks before a build read them: the check that a file is a
// C++Builder project, its build configurations, and where its version information is.

#include <memory>
#include <string>
#include <vector>

#include "moxtal/api/MxTypes.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

/// The namespace of MSBuild project files, bound to the prefix "def" in every query of a
/// .cbproj file.
constexpr const char* kMSBuildNamespace = "http://schemas.microsoft.com/developer/msbuild/2003";

/// Loads a project file with its white space kept and checks that it is a C++Builder project
/// (a ".bdsproj" name, in any letter case, is checked as a 2006 project, anything else as a 2007
/// one). Throws mx::Exception "Error parsing project file : <reason>" or "This project is not a
/// C++Builder Project!".
std::shared_ptr<platform::TXmlDocument> OpenBDSProj(const std::string& projectFile);

/// The build configurations of the project in the form of `version` (0: 2006, 1: 2007; other
/// values have none): for 2006 the keys of build.config.0, 1, ... up to the first gap.
std::vector<std::string> BuildConfigurations(const platform::TXmlDocument& document, int version);

/// The path of a version value ("MajorVer") in the form of `version`.
std::string VersionValuePath(int version, std::string_view name);
/// The path of the version keys in the form of `version`.
std::string VersionKeysPath(int version);

}  // namespace mx::bcc
