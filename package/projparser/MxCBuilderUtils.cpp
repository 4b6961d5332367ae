#include "MxCBuilderUtils.h"

#include <filesystem>
#include <map>
#include <mutex>

#include "moxtal/api/Quoting.h"
#include "package/projparser/MxCBuilder56Elements.h"
#include "package/projparser/MxCBuilder56ProjParser.h"
#include "platform/FileNames.h"
#include "platform/StrUtils.h"
#include "platform/WholeFile.h"
#include "platform/XmlDocument.h"

namespace mx::bcc {

using namespace platform;

TCBuilderProjParserOptions AllParserOptions() {
  TCBuilderProjParserOptions all;
  for (int i = 0; i < EnumInfoOf(TCBuilderProjParserOption{}).Count(); ++i) {
    all.Include(static_cast<TCBuilderProjParserOption>(i));
  }
  return all;
}

namespace {

TCBuilderVersion DetectXmlProjectVersion(std::string_view text, std::string& errorText,
                                         std::optional<TXmlDocument>* loaded) {
  try {
    TXmlDocument doc = TXmlDocument::LoadFromText(text);
    // The parser takes over the document instead of loading the same text again.
    const auto keep = [&](TCBuilderVersion v) {
      if (loaded) loaded->emplace(std::move(doc));
      return v;
    };
    const TXmlNode version = doc.SelectSingleNode(elements::kVersion);
    const auto value = version ? version.Attribute("value") : std::nullopt;
    if (!value) return TCBuilderVersion::cvError;
    if (value->find("BCB.06") != std::string::npos) return keep(TCBuilderVersion::cvBCB6);
    if (value->find("BCB.05") != std::string::npos) return keep(TCBuilderVersion::cvBCB5);
    return TCBuilderVersion::cvError;
  } catch (const EXmlLoadError& e) {
    errorText =
        e.Reason() + "\r\n" + e.SourceText() + "\r\n" + "Line : " + std::to_string(e.Line());
    return TCBuilderVersion::cvError;
  }
}

class TCBuilderProjectParserFactory : public ICBuilderProjectParserFactory {
 public:
  explicit TCBuilderProjectParserFactory(IMxApplicationServices& services) : services_(services) {}

  std::shared_ptr<ICBuilderProjectParser> CreateProjectParser(
      const std::string& projectFile, const TCustomMxAction* action,
      TCBuilderProjParserOptions options) override {
    const std::string name = action ? action->ExpandExpression(projectFile, true)
                                    : services_.ExpandExpression(projectFile, true);
    if (!machinepath::FileExists(name)) {
      throw EMxCBuilderInvalidProjectFileException("File : " + name + " - does not exist!");
    }
    // An XML project is recognised on its bytes as they stand; the makefile-style rule reads
    // the text as lines, so it sees CR LF after every line.
    const std::string bytes = ReadWholeFile(name);
    std::string errorText;
    std::optional<TXmlDocument> document;
    const bool xml = std::string_view(bytes).substr(0, 15).find("xml") != std::string_view::npos;
    const TCBuilderVersion version =
        DetectProjectVersion(xml ? bytes : TStringList(bytes).Text(), errorText, &document);
    switch (version) {
      case TCBuilderVersion::cvBCB3:
        throw EMxCBuilderInvalidProjectFileException(
            "BCB3 is not currently supported, it may be supported in a future version");
      case TCBuilderVersion::cvBCB4:
        throw EMxCBuilderInvalidProjectFileException(
            "BCB4 is not currently supported, it may be supported in a future version");
      case TCBuilderVersion::cvBCB5:
      case TCBuilderVersion::cvBCB6:
        return std::make_shared<TMxCBuilder56ProjectParser>(services_, name, version, options,
                                                            std::move(*document));
      default:
        throw EMxCBuilderInvalidProjectFileException("Invalid Project File or BCB version\r\n" +
                                                     errorText);
    }
  }

 private:
  IMxApplicationServices& services_;
};

// Splits a ";" list: an empty piece between two separators stays, a trailing separator adds
// no piece and a leading empty piece disappears.
std::vector<std::string> SplitPathList(std::string_view paths) {
  std::vector<std::string> pieces;
  std::size_t start = 0;
  while (true) {
    const auto semicolon = paths.find(';', start);
    pieces.emplace_back(paths.substr(
        start, semicolon == std::string_view::npos ? std::string_view::npos : semicolon - start));
    if (semicolon == std::string_view::npos) break;
    start = semicolon + 1;
  }
  if (!pieces.empty() && pieces.back().empty()) pieces.pop_back();
  if (!pieces.empty() && pieces.front().empty()) pieces.erase(pieces.begin());
  return pieces;
}

std::string JoinPathList(const std::vector<std::string>& items) {
  std::string joined;
  for (std::size_t i = 0; i < items.size(); ++i)
    joined += (i ? ";" : "") + items[i];
  return joined;
}

std::string QuotePathItem(const std::string& item) {
  return item.find_first_of(" +_.") != std::string::npos ? "\"" + item + "\"" : item;
}

}  // namespace

std::unique_ptr<ICBuilderProjectParserFactory> CBuilderProjectParserFactory(
    IMxApplicationServices& services) {
  return std::make_unique<TCBuilderProjectParserFactory>(services);
}

TCBuilderVersion DetectProjectVersion(std::string_view text, std::string& errorText) {
  return DetectProjectVersion(text, errorText, nullptr);
}

TCBuilderVersion DetectProjectVersion(std::string_view text, std::string& errorText,
                                      std::optional<TXmlDocument>* loaded) {
  if (text.substr(0, 15).find("xml") != std::string_view::npos) {
    return DetectXmlProjectVersion(text, errorText, loaded);
  }
  if (text.find("VERSION = BCB.") != std::string_view::npos) {
    // The makefile-style projects of C++Builder 3 and 4 begin "VERSION = BCB.0n".
    const char c = text.size() > 15 ? text[15] : ' ';
    const int major = (c >= '0' && c <= '9') ? c - '0' : 4;
    if (major == 3) return TCBuilderVersion::cvBCB3;
    if (major == 4) return TCBuilderVersion::cvBCB4;
  }
  return TCBuilderVersion::cvError;
}

bool IsWarning(std::string_view text) {
  return text.substr(0, 2) == "-w" || text.substr(0, 2) == "/w";
}

bool IsOptimisation(std::string_view text) {
  return text.substr(0, 2) == "-O";
}

std::string NormaliseWarning(std::string_view text) {
  std::string r(text);
  if (r.size() > 2 && r[2] == '-') r.erase(2, 1);
  return r;
}

std::string WarningToInternalFormat(std::string_view text) {
  std::string r(text);
  if (r.size() > 2 && r[2] == '-') {
    r.erase(2, 1);
    return r + "=0";
  }
  return r + "=1";
}

std::string InternalFormatToWarning(std::string_view line) {
  const auto eq = line.find('=');
  if (eq == std::string_view::npos)
    throw Exception("Invalid string format passed to InternalFormatToWarning");
  const bool enabled = line.back() != '0';
  const std::string name(line.substr(0, eq));
  if (enabled) return name;
  return name.substr(0, 2) + "-" + (name.size() > 2 ? name.substr(2) : std::string());
}

TStringList ParseWarningCatalogue(std::string_view text, const std::string& path) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  TStringList known(text);
  // A line the catalogue cannot mean would silently drop the project's switches of that name.
  for (int i = 0; i < known.Count(); ++i) {
    const std::string& line = known[i];
    if (line.empty()) continue;
    if (line.front() != '-' || known.Names(i).size() < 2) {
      throw Exception(path + ":" + std::to_string(i + 1) +
                      ": not a line \"-switch=description\": " + line.substr(0, 60));
    }
  }
  return known;
}

TKnownWarnings::TKnownWarnings(TStringList lines) : lines_(std::move(lines)) {
  for (int i = 0; i < lines_.Count(); ++i) {
    if (lines_[i].find('=') != std::string::npos) names_.insert(UpperCase(lines_.Names(i)));
  }
}

bool TKnownWarnings::Contains(std::string_view name) const {
  return names_.count(UpperCase(name)) != 0;
}

std::shared_ptr<const TKnownWarnings> LoadKnownWarnings(const std::string& fileName) {
  // Every parse and apply reads the catalogues; keep each until its file changes.
  struct TCached {
    std::filesystem::file_time_type Written;
    std::shared_ptr<const TKnownWarnings> Known;
  };
  static std::mutex mutex;
  static std::map<std::string, TCached> cache;
  const std::string path = machinepath::Join(MxPackageServices().HostFolder(), fileName);
  std::error_code ec;
  const auto written = std::filesystem::last_write_time(machinepath::ToFsPath(path), ec);
  std::lock_guard lock(mutex);
  if (!ec) {
    if (const auto it = cache.find(path); it != cache.end() && it->second.Written == written)
      return it->second.Known;
  }
  auto known =
      std::make_shared<const TKnownWarnings>(ParseWarningCatalogue(ReadWholeFile(path), path));
  if (!ec) cache[path] = TCached{written, known};
  return known;
}

std::string FixupPathBackSlash(std::string_view path) {
  std::string p(path);
  if (p.find(' ') != std::string::npos) p = wintext::ExcludeTrailingPathDelimiter(p);
  return DoubleQuoteString(p, false);
}

std::string FixupLibPathBackSlash(std::string_view paths) {
  std::vector<std::string> items = SplitPathList(paths);
  for (auto& item : items)
    item = QuotePathItem(wintext::ExcludeTrailingPathDelimiter(StripQuotes(item)));
  return JoinPathList(items);
}

std::string FixupLibPathQuotes(std::string_view paths) {
  std::vector<std::string> items = SplitPathList(paths);
  for (auto& item : items)
    item = DoubleQuoteString(item, true);
  return JoinPathList(items);
}

}  // namespace mx::bcc
