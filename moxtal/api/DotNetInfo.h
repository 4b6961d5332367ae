#pragma once
// The .NET information service.

#include <optional>
#include <string>
#include <string_view>

#include "moxtal/api/ToolFiles.h"

namespace mx {

/// The installation folder of a .NET Framework version ("v2.0"), or nullopt when it is not
/// installed. The frameworks' folder is the value "InstallRoot" of
/// HKEY_LOCAL_MACHINE\SOFTWARE\Microsoft\.NETFramework in the host's registry; "v2.0" is
/// installed when its folder "v2.0.50727" exists there.
/// `setup` says how the folder is reached (through Wine, the registry names it by its Windows
/// name).
std::optional<std::string> MxDotNetInfo(std::string_view version, const TToolSetup& setup);

}  // namespace mx
