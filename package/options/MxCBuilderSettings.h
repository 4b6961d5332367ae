#pragma once
// What a project parser reads from an action when it forces the action's settings onto a
// project. The C++Builder 5/6 action implements it; the parser knows nothing else of actions.

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "package/options/MxCBuilderIntf.h"

namespace mx::bcc {

/// The option families an action can force onto a project, in the order the action publishes
/// their switches and the parser applies them.
enum class TSettingsFamily : std::uint8_t {
  sfDirectory,
  sfCompiler,
  sfAdvCompiler,
  sfTLib,
  sfLinker,
  sfAdvLinker,
  sfCPP,
  sfPascal,
  sfVersionInfo,
  sfTASM,
  sfCorba,
  sfPackage,
  sfCodeGuard,
};

/// A family's switch: the action's published Boolean that selects the family, and what is said of
/// it where it is listed. The action's stored property, its help and alias lists, the property the
/// project page's check box edits and the parser's choice all come from these rows.
struct TFamilySwitch {
  TSettingsFamily Family;
  const char* Property;  // the published Boolean
  bool Default;          // its value in a new action
  const char* Alias;     // what the property lists call it
  // The help reads "When set, the <HelpName> settings for the action will be used", followed by
  // ", otherwise the project settings will be used" when HelpNamesProject; no help when null.
  const char* HelpName;
  bool HelpNamesProject;
  bool HasRecord;  // the family is one of the action's ten option records
};

inline constexpr TFamilySwitch kFamilySwitches[] = {
    {.Family = TSettingsFamily::sfDirectory,
     .Property = "UseDirectorySettings",
     .Default = true,
     .Alias = "Use Directory Settings",
     .HelpName = "Directory",
     .HelpNamesProject = true,
     .HasRecord = false},
    {.Family = TSettingsFamily::sfCompiler,
     .Property = "UseCompilerSettings",
     .Default = true,
     .Alias = "Use Compiler Settings",
     .HelpName = "Compiler",
     .HelpNamesProject = true,
     .HasRecord = true},
    {.Family = TSettingsFamily::sfAdvCompiler,
     .Property = "UseAdvCompilerSettings",
     .Default = true,
     .Alias = "Use Adv Compiler Settings",
     .HelpName = "Compiler",
     .HelpNamesProject = true,
     .HasRecord = true},
    {.Family = TSettingsFamily::sfTLib,
     .Property = "UseTLibSettings",
     .Default = false,
     .Alias = "Use TLib Settings",
     .HelpName = nullptr,
     .HelpNamesProject = false,
     .HasRecord = true},
    {.Family = TSettingsFamily::sfLinker,
     .Property = "UseLinkerSettings",
     .Default = true,
     .Alias = "Use Linker Settings",
     .HelpName = "Linker",
     .HelpNamesProject = true,
     .HasRecord = true},
    {.Family = TSettingsFamily::sfAdvLinker,
     .Property = "UseAdvLinkerSettings",
     .Default = true,
     .Alias = "Use Adv Linker Settings",
     .HelpName = "Advanced Linker",
     .HelpNamesProject = true,
     .HasRecord = true},
    {.Family = TSettingsFamily::sfCPP,
     .Property = "UseCPPSettings",
     .Default = true,
     .Alias = "Use CPP Settings",
     .HelpName = "CPP",
     .HelpNamesProject = true,
     .HasRecord = true},
    {.Family = TSettingsFamily::sfPascal,
     .Property = "UsePascalSettings",
     .Default = true,
     .Alias = "Use Pascal Settings",
     .HelpName = "Pascal",
     .HelpNamesProject = true,
     .HasRecord = true},
    {.Family = TSettingsFamily::sfVersionInfo,
     .Property = "UseVersionInfo",
     .Default = true,
     .Alias = "Use Version Info",
     .HelpName = "Version Info",
     .HelpNamesProject = false,
     .HasRecord = false},
    {.Family = TSettingsFamily::sfTASM,
     .Property = "UseTASMSettings",
     .Default = true,
     .Alias = "Use TASM Settings",
     .HelpName = "TASM",
     .HelpNamesProject = true,
     .HasRecord = true},
    {.Family = TSettingsFamily::sfCorba,
     .Property = "UseCorbaSettings",
     .Default = true,
     .Alias = "Use Corba Settings",
     .HelpName = "Corba",
     .HelpNamesProject = true,
     .HasRecord = true},
    {.Family = TSettingsFamily::sfPackage,
     .Property = "UsePackageSettings",
     .Default = true,
     .Alias = "Use Package Settings",
     .HelpName = "Package",
     .HelpNamesProject = true,
     .HasRecord = false},
    {.Family = TSettingsFamily::sfCodeGuard,
     .Property = "UseCodeGuardSettings",
     .Default = true,
     .Alias = "Use CodeGuard Settings",
     .HelpName = "CodeGuard",
     .HelpNamesProject = true,
     .HasRecord = true},
};
inline constexpr std::size_t kFamilyCount = std::size(kFamilySwitches);

constexpr const TFamilySwitch& FamilySwitch(TSettingsFamily family) {
  return kFamilySwitches[static_cast<std::size_t>(family)];
}

/// True when each row stands at its family's place, so that FamilySwitch finds it.
constexpr bool RowsInFamilyOrder() {
  for (std::size_t i = 0; i < kFamilyCount; ++i)
    if (static_cast<std::size_t>(kFamilySwitches[i].Family) != i) return false;
  return true;
}
/// True when `order` names each family once: a list with an order of its own, checked with it at
/// compile time, cannot leave a family out.
constexpr bool NamesEveryFamilyOnce(std::span<const TSettingsFamily> order) {
  std::array<int, kFamilyCount> seen{};
  for (const TSettingsFamily family : order)
    if (static_cast<std::size_t>(family) >= kFamilyCount ||
        ++seen[static_cast<std::size_t>(family)] > 1)
      return false;
  return order.size() == kFamilyCount;
}
static_assert(RowsInFamilyOrder());

class ICBuilderProjectSettings {
 public:
  virtual ~ICBuilderProjectSettings() = default;

  /// Whether the family replaces the project's own settings.
  virtual bool UsesFamily(TSettingsFamily family) const = 0;
  virtual bool GetPreProcessProjectFile() const = 0;

  // The ten option records.
  virtual std::shared_ptr<ICBuilderCompilerOptions> GetCompilerOpt() const = 0;
  virtual std::shared_ptr<ICBuilderAdvCompilerOptions> GetAdvCompilerOpt() const = 0;
  virtual std::shared_ptr<ICBuilderLinkerOptions> GetLinkerOpt() const = 0;
  virtual std::shared_ptr<ICBuilderAdvLinkerOptions> GetAdvLinkerOpt() const = 0;
  virtual std::shared_ptr<ICBuilderCPPOptions> GetCppOpt() const = 0;
  virtual std::shared_ptr<ICBuilderPascalOptions> GetPascalOpt() const = 0;
  virtual std::shared_ptr<ICBuilderTASMOptions> GetTASMOpt() const = 0;
  virtual std::shared_ptr<ICBuilderCorbaOptions> GetCorbaOpt() const = 0;
  virtual std::shared_ptr<ICBuilderCodeGuardOptions> GetCodeGuardOpt() const = 0;
  virtual std::shared_ptr<ICBuilderTLibOptions> GetTLibOpt() const = 0;

  // Directories, conditionals and packages.
  virtual TCBuilderVersion GetCBuilderVersion() const = 0;
  virtual std::string GetConditionals() const = 0;
  virtual std::string GetIncludePath() const = 0;
  virtual std::string GetLibraryPath() const = 0;
  virtual std::string GetIntermediateOutputPath() const = 0;
  virtual std::string GetFinalOutputPath() const = 0;
  virtual std::string GetBPILIBOutputPath() const = 0;
  virtual bool GetUseRegForBPLPath() const = 0;
  virtual bool GetUseRegForBPIPath() const = 0;
  virtual std::string GetPackages() const = 0;
  virtual bool GetUsePackages() const = 0;

  /// The text with host variables expanded as the action's build expands them; throws
  /// mx::Exception when a variable cannot be expanded and `strict` is set.
  virtual std::string ExpandExpression(std::string_view text, bool strict) const = 0;
  /// As ExpandExpression, but a failure is logged as "Error expanding <label> : <message>" and
  /// gives false.
  virtual bool TryExpandExpression(std::string_view label, std::string_view text,
                                   std::string& result, bool strict) const = 0;
};

}  // namespace mx::bcc
