#include "MxCBuilder56ProjParser.h"

#include "moxtal/api/Quoting.h"
#include "package/projparser/MxCBuilder56Elements.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

using namespace platform;

TXmlDocument TMxCBuilder56ProjectParser::Load(const std::string& projectFile) {
  try {
    return TXmlDocument::LoadFromFile(projectFile);
  } catch (const EXmlLoadError& e) {
    throw Exception("Error parsing project file : " + e.Reason());
  }
}

TMxCBuilder56ProjectParser::TMxCBuilder56ProjectParser(IMxApplicationServices& services,
                                                       const std::string& projectFile,
                                                       TCBuilderVersion version,
                                                       TCBuilderProjParserOptions options)
    : TMxCBuilderProjectParser(projectFile, version, options),
      services_(services),
      document_(Load(projectFile)) {}

TMxCBuilder56ProjectParser::TMxCBuilder56ProjectParser(IMxApplicationServices& services,
                                                       const std::string& projectFile,
                                                       TCBuilderVersion version,
                                                       TCBuilderProjParserOptions options,
                                                       TXmlDocument document)
    : TMxCBuilderProjectParser(projectFile, version, options),
      services_(services),
      document_(std::move(document)) {}

void TMxCBuilder56ProjectParser::SaveToFile(const std::string& fileName) {
  document_.SaveToFile(fileName);
}

TXmlNode TMxCBuilder56ProjectParser::Element(std::string_view path) const {
  for (const auto& [known, node] : elements_) {
    if (known == path) return node;
  }
  return elements_.emplace_back(path, document_.SelectSingleNode(path)).second;
}

std::optional<std::string> TMxCBuilder56ProjectParser::ElementValue(std::string_view path) const {
  const TXmlNode node = Element(path);
  return node ? node.Attribute("value") : std::nullopt;
}

bool TMxCBuilder56ProjectParser::SetElementValue(std::string_view path, std::string_view value) {
  TXmlNode node = Element(path);
  if (!node) return false;
  node.SetAttribute("value", value);
  return true;
}

void TMxCBuilder56ProjectParser::ParseProjectFile() {
  if (const auto output = ElementValue(elements::kProject)) {
    const std::string file = StripQuotes(*output);
    finalOutputPath_ = wintext::ExtractFilePath(file);
    const std::string extension = UpperCase(wintext::ExtractFileExt(file));
    if (extension == ".EXE") projectType_ = TCBuilderProjectType::ptExe;
    if (extension == ".DLL") projectType_ = TCBuilderProjectType::ptDLL;
    if (extension == ".LIB") projectType_ = TCBuilderProjectType::ptLIB;
    if (extension == ".BPL") projectType_ = TCBuilderProjectType::ptBPL;
  }
  ParseFamilies();
}

void TMxCBuilder56ProjectParser::PreProcessProjectFile() {
  for (const char* path : {elements::kLibPath, elements::kIncludePath}) {
    if (const auto value = ElementValue(path)) {
      SetElementValue(path, FixupLibPathBackSlash(ReplaceAll(*value, "\"", "")));
    }
  }
}

void TMxCBuilder56ProjectParser::ParseAttributes(std::string_view text, TStringList& list) {
  // Tokens are spans of the text: up to a blank outside quotes, or through a closing quote.
  const auto add = [&list, text](std::size_t from, std::size_t to) {
    while (from < to && static_cast<unsigned char>(text[from]) <= 32)
      ++from;
    while (to > from && static_cast<unsigned char>(text[to - 1]) <= 32)
      --to;
    if (to > from) list.Add(std::string(text.substr(from, to - from)));
  };
  std::size_t start = 0;
  std::size_t i = 0;
  while (i < text.size()) {
    const char c = text[i];
    if (c == ' ') {
      add(start, i);
      start = ++i;
    } else if (c == '"') {
      const std::size_t close = text.find('"', i + 1);
      if (close == std::string_view::npos) break;
      add(start, close + 1);
      // The character after the closing quote is skipped.
      i = close + 2;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) add(start, text.size());
}

void TMxCBuilder56ProjectParser::RemoveOption(TStringList& list, std::string_view option,
                                              bool caseSensitive) {
  const TCaseSensitivityGuard guard(list, caseSensitive);
  const int i = list.IndexOf(option);
  if (i >= 0) list.Delete(i);
}

void TMxCBuilder56ProjectParser::RemoveOption(TStringList& list, std::string_view option,
                                              std::size_t length, bool caseSensitive) {
  const TCaseSensitivityGuard guard(list, caseSensitive);
  for (int i = 0; i < list.Count(); ++i) {
    const std::string_view head = std::string_view(list[i]).substr(0, length);
    if (list.CompareStrings(head, option) == 0) {
      list.Delete(i);
      return;
    }
  }
}

void TMxCBuilder56ProjectParser::ReplaceSwitch(TStringList& tokens,
                                               std::initializer_list<const char*> forms,
                                               const char* added) {
  for (const char* form : forms)
    RemoveOption(tokens, form, true);
  if (added) tokens.Add(added);
}

void TMxCBuilder56ProjectParser::SetSwitch(TStringList& tokens, const char* token, bool on) {
  ReplaceSwitch(tokens, {token}, on ? token : nullptr);
}

void TMxCBuilder56ProjectParser::BuildList(std::string_view text, TStringList& list,
                                           std::string_view separator, std::size_t length) {
  const auto cut = [length](std::string_view piece) {
    return std::string(piece.substr(0, piece.size() > length ? piece.size() - length : 0));
  };
  const auto blank = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  // The rest after each separator is trimmed; walking indexes keeps this linear.
  std::size_t pos = 0;
  while (!separator.empty()) {
    const auto at = text.find(separator, pos);
    if (at == std::string_view::npos) break;
    list.Add(cut(text.substr(pos, at - pos)));
    pos = at + separator.size();
    while (pos < text.size() && blank(text[pos]))
      ++pos;
  }
  std::size_t end = text.size();
  while (end > pos && blank(text[end - 1]))
    --end;
  if (end > pos) list.Add(cut(text.substr(pos, end - pos)));
}

TStringList TMxCBuilder56ProjectParser::Tokens(std::string_view text, bool sorted) {
  TStringList list;
  list.SetCaseSensitive(true);
  if (sorted) {
    list.SetSorted(true);
    list.SetDuplicates(TDuplicates::dupIgnore);
  }
  ParseAttributes(text, list);
  return list;
}

std::string TMxCBuilder56ProjectParser::Join(const TStringList& tokens, bool trim) {
  std::string joined;
  for (const auto& t : tokens)
    joined += t + " ";
  return trim ? Trim(joined) : joined;
}

TStringList TMxCBuilder56ProjectParser::SplitDefines(std::string_view text) {
  TStringList list;
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto semicolon = text.find(';', start);
    const std::string piece(text.substr(
        start, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - start));
    if (semicolon == std::string_view::npos) {
      if (!piece.empty()) list.Add(piece);
      break;
    }
    list.Add(piece);
    start = semicolon + 1;
  }
  return list;
}

std::string TMxCBuilder56ProjectParser::JoinDefines(const TStringList& defines) {
  std::string text;
  for (const auto& item : defines)
    text += item + ";";
  return text;
}

std::string TMxCBuilder56ProjectParser::ProtectedExpand(
    std::string_view text, const std::function<std::string(std::string_view)>& expand) {
  const std::string hidden = ReplaceAllIgnoreCase(text, "$(BCB)", "#BCB#");
  return ReplaceAllIgnoreCase(expand(hidden), "#BCB#", "$(BCB)");
}

}  // namespace mx::bcc
