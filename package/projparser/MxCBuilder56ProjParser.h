#pragma once
// The C++Builder 5/6 parser: the project's XML document, the access to its switch strings and
// the token-list operations the switch families use.

#include <string>
#include <string_view>

#include "package/projparser/MxCBuilderProjParser.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

class TMxCBuilder56ProjectParser : public TMxCBuilderProjectParser {
 public:
  /// Loads the project with its white space preserved; throws mx::Exception
  /// "Error parsing project file : <reason>" when it does not load.
  TMxCBuilder56ProjectParser(IMxApplicationServices& services, const std::string& projectFile,
                             TCBuilderVersion version, TCBuilderProjParserOptions options);

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

  // The option families. Their switch mappings come with the families; until then a family
  // reads nothing and writes nothing, so the project keeps its own settings.
  void ParseCompilerOptions() override {}
  void ParseAdvCompilerOptions() override {}
  void ParseLinkerOptions() override {}
  void ParseAdvLinkerOptions() override {}
  void ParsePascalOptions() override {}
  void ParseTASMOptions() override {}
  void ParseCPPOptions() override {}
  void ParseCorbaOptions() override {}
  void ParseCodeGuardOptions() override {}
  void ParseVersionInfo() override {}
  void ParsePackageOptions() override {}
  void ParseDirectoryOptions() override {}
  void ParseTLibOptions() override {}
  void ApplyCompilerSettings(TMxCBuilderAction&) override {}
  void ApplyAdvCompilerSettings(TMxCBuilderAction&) override {}
  void ApplyTLibSettings(TMxCBuilderAction&) override {}
  void ApplyLinkerSettings(TMxCBuilderAction&) override {}
  void ApplyAdvLinkerSettings(TMxCBuilderAction&) override {}
  void ApplyPascalSettings(TMxCBuilderAction&) override {}
  void ApplyTASMSettings(TMxCBuilderAction&) override {}
  void ApplyCPPSettings(TMxCBuilderAction&) override {}
  void ApplyCorbaSettings(TMxCBuilderAction&) override {}
  void ApplyCodeGuardSettings(TMxCBuilderAction&) override {}
  void ApplyVersionInfoSettings(TMxCBuilderAction&) override {}
  void ApplyPackageSettings(TMxCBuilderAction&) override {}
  void ApplyDirectorySettings(TMxCBuilderAction&) override {}

 private:
  static platform::TXmlDocument Load(const std::string& projectFile);

  IMxApplicationServices& services_;
  platform::TXmlDocument document_;
};

}  // namespace mx::bcc
