#pragma once
// The C++Builder 5/6 parser: the project's XML document, the access to its switch strings and
// the token-list operations the switch families use.

#include <functional>
#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "package/projparser/MxCBuilderProjParser.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

class TMxCBuilder56ProjectParser : public TMxCBuilderProjectParser {
 public:
  /// Loads the project with its white space preserved; throws mx::Exception
  /// "Error parsing project file : <reason>" when it does not load.
  TMxCBuilder56ProjectParser(IMxApplicationServices& services, const std::string& projectFile,
                             TCBuilderVersion version, TCBuilderProjParserOptions options);
  /// With the project's document already loaded (as the factory has it after recognising it).
  TMxCBuilder56ProjectParser(IMxApplicationServices& services, const std::string& projectFile,
                             TCBuilderVersion version, TCBuilderProjParserOptions options,
                             platform::TXmlDocument document);

  void SaveToFile(const std::string& fileName) override;
  void ParseProjectFile() override;
  /// Removes every double quote from the library and include paths and rewrites them so that
  /// no item ends in a backslash.
  void PreProcessProjectFile() override;

  // Token lists.

  /// Splits a switch string into tokens at blanks; a double quote starts a quoted run that
  /// ends the token at its closing quote (the character after it is skipped).
  static void ParseAttributes(std::string_view text, platform::TStringList& list);
  /// Deletes the first token equal to `option` (the list's case rule set from the flag for the
  /// look-up, then restored).
  static void RemoveOption(platform::TStringList& list, std::string_view option,
                           bool caseSensitive);
  /// Deletes the first token whose first `length` characters equal `option`.
  static void RemoveOption(platform::TStringList& list, std::string_view option, std::size_t length,
                           bool caseSensitive);
  /// The edit of one switch: deletes the first token of each form, then appends `added` unless
  /// it is null (on a sorted list, inserts it in its place).
  static void ReplaceSwitch(platform::TStringList& tokens, std::initializer_list<const char*> forms,
                            const char* added);
  /// ReplaceSwitch of a switch that is present or absent: `token` is deleted, then appended
  /// again when `on`.
  static void SetSwitch(platform::TStringList& tokens, const char* token, bool on);
  /// Splits `text` at each `separator`, cutting the last `length` characters of every piece;
  /// the rest after each separator is trimmed.
  static void BuildList(std::string_view text, platform::TStringList& list,
                        std::string_view separator, std::size_t length);

  /// The "value" attribute of an element, or nullopt when the element or attribute is missing.
  std::optional<std::string> ElementValue(std::string_view path) const;
  /// Writes the "value" attribute of an existing element; false when the element is missing.
  bool SetElementValue(std::string_view path, std::string_view value);
  const platform::TXmlDocument& Document() const { return document_; }
  IMxApplicationServices& Services() const { return services_; }

  // The option families, one switch mapping each.
  void ParseCompilerOptions() override;
  void ParseAdvCompilerOptions() override;
  void ParseLinkerOptions() override;
  void ParseAdvLinkerOptions() override;
  void ParsePascalOptions() override;
  void ParseTASMOptions() override;
  void ParseCPPOptions() override;
  void ParseCorbaOptions() override;
  void ParseCodeGuardOptions() override;
  void ParseVersionInfo() override;
  void ParsePackageOptions() override;
  void ParseDirectoryOptions() override;
  void ParseTLibOptions() override;
  void ApplyCompilerSettings(const ICBuilderProjectSettings& action) override;
  void ApplyAdvCompilerSettings(const ICBuilderProjectSettings& action) override;
  void ApplyTLibSettings(const ICBuilderProjectSettings& action) override;
  void ApplyLinkerSettings(const ICBuilderProjectSettings& action) override;
  void ApplyAdvLinkerSettings(const ICBuilderProjectSettings& action) override;
  void ApplyPascalSettings(const ICBuilderProjectSettings& action) override;
  void ApplyTASMSettings(const ICBuilderProjectSettings& action) override;
  void ApplyCPPSettings(const ICBuilderProjectSettings& action) override;
  void ApplyCorbaSettings(const ICBuilderProjectSettings& action) override;
  void ApplyCodeGuardSettings(const ICBuilderProjectSettings& action) override;
  void ApplyVersionInfoSettings(const ICBuilderProjectSettings& action) override;
  void ApplyPackageSettings(const ICBuilderProjectSettings& action) override;
  void ApplyDirectorySettings(const ICBuilderProjectSettings& action) override;

  /// The C++Builder package output folders of the current user ("Package DCP Output" and
  /// "Package DPL Output"); "" when the registry has none. Versions before 5 throw.
  static std::string GetUserBPIPath(TCBuilderVersion version);
  static std::string GetUserBPLPath(TCBuilderVersion version);

  // Helpers of the families.

  /// The tokens of a switch string in a case-sensitive list, sorted and free of duplicates
  /// when asked.
  static platform::TStringList Tokens(std::string_view text, bool sorted = false);
  /// Whether the token list holds `token`, as the list compares.
  static bool Has(const platform::TStringList& tokens, std::string_view token) {
    return tokens.IndexOf(token) >= 0;
  }
  /// Every token followed by one blank; trimmed when asked.
  static std::string Join(const platform::TStringList& tokens, bool trim);
  /// The items of a ";"-separated list of defines: an empty piece between two separators is an
  /// item, a trailing empty piece is not. Names compare without regard to case.
  static platform::TStringList SplitDefines(std::string_view text);
  /// Every item followed by ";".
  static std::string JoinDefines(const platform::TStringList& defines);
  /// Expands a directory text with "$(BCB)" kept as it is.
  static std::string ProtectedExpand(std::string_view text,
                                     const std::function<std::string(std::string_view)>& expand);

 private:
  static platform::TXmlDocument Load(const std::string& projectFile);
  /// The element at a simple path; the families ask for the same few paths many times, and no
  /// element is ever removed, so each is found once.
  platform::TXmlNode Element(std::string_view path) const;

  IMxApplicationServices& services_;
  platform::TXmlDocument document_;
  /// The IDE options' comments, read with the version information and written back with it.
  std::string savedComment_;
  mutable std::vector<std::pair<std::string, platform::TXmlNode>> elements_;
};

}  // namespace mx::bcc
