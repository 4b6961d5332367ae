#include "CompilerDiscovery.h"

#include "platform/FileNames.h"

namespace mx::bcc {

using platform::TRegistryRoot;

namespace {

struct TInstallation {
  const char* Key;
  bool RemoveTrailingSeparator;
  const char* Prefix;  // variables Prefix+"DIR", Prefix, Prefix+"DCC", Prefix+"_BRCC32"
};

constexpr TInstallation kInstallations[] = {
    {"Software\\Borland\\BDS\\5.0", true, "CB2007"},
    {"Software\\Borland\\BDS\\4.0", true, "BCB2006"},
    {"SOFTWARE\\Borland\\C++Builder\\3.0", false, "BCB3"},
    {"SOFTWARE\\Borland\\C++Builder\\4.0", false, "BCB4"},
    {"SOFTWARE\\Borland\\C++Builder\\5.0", false, "BCB5"},
    {"SOFTWARE\\Borland\\C++Builder\\6.0", false, "BCB6"},
};

// A value that is not text counts as missing.
std::string ReadText(const platform::IRegistryKey& key, std::string_view name) {
  try {
    return key.ReadString(name).value_or("");
  } catch (const platform::ERegistryException&) {
    return {};
  }
}

}  // namespace

void DiscoverCompilers(IMxPackageServices& services) {
  const auto registry = services.Registry();
  if (!registry) return;
  for (const TInstallation& installation : kInstallations) {
    const auto key = registry->OpenKeyReadOnly(TRegistryRoot::rkLocalMachine, installation.Key);
    if (!key) continue;
    std::string root = ReadText(*key, "RootDir");
    if (installation.RemoveTrailingSeparator)
      root = platform::machinepath::ExcludeTrailingPathDelimiter(root);
    if (root.empty()) continue;
    // Tool paths are machine paths; a root stored with its trailing separator keeps it, so the
    // separator appears twice, which every file system accepts. A root the Windows way read on
    // another system (C++Builder in a Wine prefix) names Windows programs: Windows separators.
    const char delim = platform::wintext::IsAbsolute(root) ? platform::wintext::kPathDelim
                                                           : platform::machinepath::kPathDelim;
    const std::string bin = root + delim + "bin" + delim;
    const std::string prefix = installation.Prefix;
    services.SetVariable(prefix + "DIR", root);
    services.SetVariable(prefix, bin + "make.exe");
    services.SetVariable(prefix + "DCC", bin + "dcc32.exe");
    services.SetVariable(prefix + "_BRCC32", bin + "brcc32.exe");
  }
  if (services.ReadBCB6Vars()) {
    const auto key = registry->OpenKeyReadOnly(
        TRegistryRoot::rkCurrentUser, "Software\\Borland\\C++Builder\\6.0\\Environment Variables");
    if (key) {
      for (const auto& name : key->GetValueNames()) {
        try {
          services.SetVariable(name, key->ReadString(name).value_or(""));
        } catch (const platform::ERegistryException&) {
          // Only text values are environment variables.
        }
      }
    }
  }
}

void PackageStartup() {
  DiscoverCompilers(MxPackageServices());
}

}  // namespace mx::bcc
