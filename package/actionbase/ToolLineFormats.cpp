#include "ToolLineFormats.h"

#include <algorithm>
#include <array>

#include "platform/StrUtils.h"

namespace mx::bcc {

using platform::AsciiLower;
using platform::SameText;
using platform::StartsText;
using platform::TrimView;

namespace {

using TFound = TMessageParts;
using TSeverity = TDiagnosticSeverity;

bool IsDigit(char c) {
  return c >= '0' && c <= '9';
}

bool IsAlpha(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool AllDigits(std::string_view s) {
  return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit);
}

// A decimal number of at most nine digits.
std::optional<int> Number(std::string_view s) {
  if (s.empty() || s.size() > 9) return std::nullopt;
  int n = 0;
  for (const char c : s) {
    if (!IsDigit(c)) return std::nullopt;
    n = n * 10 + (c - '0');
  }
  return n;
}

// A message code of the Borland tools: a letter and four digits ("E2451", "W8004").
bool IsBorlandCode(std::string_view s) {
  return s.size() == 5 && IsAlpha(s[0]) && IsDigit(s[1]) && IsDigit(s[2]) && IsDigit(s[3]) &&
         IsDigit(s[4]);
}

// "Error", "Warning", "Fatal", "Hint" and MSBuild's "error", "warning", "message", "fatal error".
std::optional<TSeverity> SeverityWord(std::string_view word) {
  static constexpr std::array<std::pair<std::string_view, TSeverity>, 7> kWords = {{
      {"error", TSeverity::dsError},
      {"fatal", TSeverity::dsError},
      {"fatal error", TSeverity::dsError},
      {"warning", TSeverity::dsWarning},
      {"hint", TSeverity::dsNote},
      {"message", TSeverity::dsNote},
      {"info", TSeverity::dsNote},
  }};
  for (const auto& [known, severity] : kWords) {
    if (SameText(word, known)) return severity;
  }
  return std::nullopt;
}

// The severity a Borland code's letter stands for.
TSeverity CodeSeverity(char letter) {
  switch (AsciiLower(letter)) {
    case 'w':
      return TSeverity::dsWarning;
    case 'h':
      return TSeverity::dsNote;
    default:
      return TSeverity::dsError;
  }
}

// The last of `file`'s characters that is one of `set`, or npos; a plain loop, for find_last_of
// searches the line once per character of the set.
std::size_t FindLastOf(std::string_view file, std::string_view set) {
  for (std::size_t i = file.size(); i > 0; --i) {
    const char c = file[i - 1];
    for (const char s : set) {
      if (c == s) return i - 1;
    }
  }
  return std::string_view::npos;
}

// The extension of `file` with its dot (a view into it), "" when it has none.
std::string_view Extension(std::string_view file) {
  file = TrimView(file);
  const auto dot = FindLastOf(file, ".\\/");
  if (dot == std::string_view::npos || file[dot] != '.') return {};
  return file.substr(dot);
}

// The tool a message about `file` comes from, by the file's kind.
std::string_view ToolOfFile(std::string_view file, std::string_view fallback) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 13> kKinds = {{
      {".pas", "dcc32"},
      {".dpr", "dcc32"},
      {".dpk", "dcc32"},
      {".inc", "dcc32"},
      {".cpp", "bcc32"},
      {".c", "bcc32"},
      {".cc", "bcc32"},
      {".cxx", "bcc32"},
      {".h", "bcc32"},
      {".hpp", "bcc32"},
      {".hh", "bcc32"},
      {".rc", "brcc32"},
      {".asm", "tasm32"},
  }};
  const std::string_view ext = Extension(file);
  for (const auto& [kind, tool] : kKinds) {
    if (SameText(ext, kind)) return tool;
  }
  return fallback;
}

// "file(line)" or "file(line,column)" at the start of `text`; the rest after ")".
struct TPosition {
  std::string_view File;
  int Line = 0;
  int Column = 0;
  std::string_view Rest;
};

std::optional<TPosition> FilePosition(std::string_view text) {
  // The first "(number)" or "(number,number...)" group; other brackets (a folder "(x86)") are
  // part of the file name.
  for (std::size_t close = text.find(')'); close != std::string_view::npos;
       close = text.find(')', close + 1)) {
    const auto open = text.rfind('(', close);
    if (open == std::string_view::npos || open == 0) continue;
    std::string_view inside = text.substr(open + 1, close - open - 1);
    const auto comma = inside.find(',');
    const std::string_view line = inside.substr(0, comma);
    if (!AllDigits(line)) continue;
    TPosition p;
    // A number too long to be a line or column is dropped; the message keeps its file.
    p.Line = Number(line).value_or(0);
    if (comma != std::string_view::npos) {
      // MSBuild may give a range "(line,col,endline,endcol)"; the start is what counts.
      std::string_view column = inside.substr(comma + 1);
      column = column.substr(0, column.find(','));
      if (!AllDigits(column)) continue;
      p.Column = Number(column).value_or(0);
    }
    p.File = TrimView(text.substr(0, open));
    p.Rest = text.substr(close + 1);
    return p;
  }
  return std::nullopt;
}

// Each format of message the tools write, recognised in a trimmed line; `current` is the tool
// at work, which messages without a tool of their own belong to.
using TFormat = std::optional<TFound> (*)(std::string_view line, std::string_view current);

// Make's own failure: "** error 1 ** deleting Project1.exe".
std::optional<TFound> MakeFailure(std::string_view line, std::string_view) {
  if (line.front() != '*' || !(line.starts_with("** error ") || line.starts_with("** Error ")))
    return std::nullopt;
  return TFound{"make", TSeverity::dsError, "", "", 0, 0, line.substr(3)};
}

// The assembler: "**Error** unit.asm(12) Undefined symbol: X", "*Warning* unit.asm(5) ...".
std::optional<TFound> AssemblerMessage(std::string_view line, std::string_view) {
  static constexpr std::array<std::pair<std::string_view, TSeverity>, 3> kMarks = {{
      {"**Error** ", TSeverity::dsError},
      {"**Fatal** ", TSeverity::dsError},
      {"*Warning* ", TSeverity::dsWarning},
  }};
  for (const auto& [mark, severity] : kMarks) {
    if (!line.starts_with(mark)) continue;
    if (const auto p = FilePosition(line.substr(mark.size())))
      return TFound{"tasm32", severity, "", p->File, p->Line, 0, p->Rest};
  }
  return std::nullopt;
}

// After "Error E2451 " or "Error ": "Unit1.cpp 12: text" (compiler), "app.rc 12 11: text"
// (resource compiler). The position ends at the first " <digits>:", a file name may hold blanks.
std::optional<TFound> BorlandPlace(TSeverity severity, std::string_view code, std::string_view rest,
                                   std::string_view current) {
  for (std::size_t colon = rest.find(':'); colon != std::string_view::npos;
       colon = rest.find(':', colon + 1)) {
    std::size_t start = colon;
    while (start > 0 && IsDigit(rest[start - 1]))
      --start;
    if (start == colon || start == 0 || rest[start - 1] != ' ') continue;
    // A number too long to be a line is dropped; the message keeps its file.
    int first = Number(rest.substr(start, colon - start)).value_or(0);
    std::string_view file = rest.substr(0, start - 1);
    int column = 0;
    // A second number before it makes the first one the line, this one the column.
    std::size_t before = start - 1;
    while (before > 0 && IsDigit(rest[before - 1]))
      --before;
    const bool resource = current == "brcc32" || SameText(Extension(rest.substr(0, before)), ".rc");
    if (resource && before < start - 1 && before > 1 && rest[before - 1] == ' ') {
      column = first;
      first = Number(rest.substr(before, start - 1 - before)).value_or(0);
      file = rest.substr(0, before - 1);
    }
    if (TrimView(file).empty()) return std::nullopt;
    const std::string_view tool =
        !code.empty() ? ToolOfFile(file, "bcc32") : ToolOfFile(file, current);
    return TFound{tool, severity, code, TrimView(file), first, column, rest.substr(colon + 1)};
  }
  return std::nullopt;
}

// The Borland tools: "Error E2451 Unit1.cpp 12: text" (compiler), "Error app.rc 12 11: text"
// (resource compiler), and without a file "Error: text" (linker, librarian, make).
std::optional<TFound> BorlandMessage(std::string_view line, std::string_view current) {
  static constexpr std::array<std::string_view, 3> kWords = {"Error", "Warning", "Fatal"};
  for (const std::string_view word : kWords) {
    if (line.front() != word.front() || !line.starts_with(word) || line.size() <= word.size())
      continue;
    const TSeverity severity = *SeverityWord(word);
    std::string_view rest = line.substr(word.size());
    if (rest.front() == ':') {
      const std::string_view text = TrimView(rest.substr(1));
      if (text.empty()) return std::nullopt;
      // The linker names the object file a missing symbol is needed by.
      std::string_view file;
      const auto from = text.find(" referenced from ");
      if (from != std::string_view::npos) file = TrimView(text.substr(from + 17));
      return TFound{current, severity, "", file, 0, 0, text};
    }
    if (rest.front() != ' ') continue;
    rest.remove_prefix(1);
    std::string_view code;
    if (IsBorlandCode(rest.substr(0, 5)) && rest.size() > 5 && rest[5] == ' ') {
      code = rest.substr(0, 5);
      rest.remove_prefix(6);
    }
    if (auto found = BorlandPlace(severity, code, rest, current)) return found;
  }
  return std::nullopt;
}

// "file(line)" forms: the Pascal compiler ("Unit1.pas(12) Error: text", "Unit1.pas(12): E2003
// text") and MSBuild ("file(12,3): error E2451: text" is taken by the canonical form).
std::optional<TFound> PlacedMessage(std::string_view line, std::string_view current) {
  const auto p = FilePosition(line);
  if (!p || p->File.empty()) return std::nullopt;
  std::string_view rest = p->Rest;
  if (rest.starts_with(" ")) {
    rest.remove_prefix(1);
    const auto colon = rest.find(": ");
    if (colon == std::string_view::npos) return std::nullopt;
    const auto severity = SeverityWord(rest.substr(0, colon));
    if (!severity) return std::nullopt;
    return TFound{ToolOfFile(p->File, "dcc32"), *severity, "", p->File, p->Line, p->Column,
                  rest.substr(colon + 2)};
  }
  if (rest.starts_with(": ")) {
    rest.remove_prefix(2);
    if (IsBorlandCode(rest.substr(0, 5)) && rest.size() > 5 && rest[5] == ' ') {
      return TFound{ToolOfFile(p->File, current),
                    CodeSeverity(rest[0]),
                    rest.substr(0, 5),
                    p->File,
                    p->Line,
                    p->Column,
                    rest.substr(6)};
    }
  }
  return std::nullopt;
}

// MSBuild's canonical form's category and code: "[subcategory] category [code] : text"; the
// severity, the code and the text, or nullopt.
std::optional<TFound> CanonicalCategory(std::string_view rest) {
  // A subcategory comes first when there is one: the Pascal compiler's hints are "hint warning
  // H2077: ...".
  if (StartsText("hint ", rest)) rest = TrimView(rest.substr(5));
  // Every category starts with one of these letters; most lines are passed over here.
  const char initial = rest.empty() ? ' ' : AsciiLower(rest.front());
  if (initial != 'e' && initial != 'w' && initial != 'f' && initial != 'm') return std::nullopt;
  static constexpr std::array<std::string_view, 4> kCategories = {"fatal error", "error", "warning",
                                                                  "message"};
  for (const std::string_view category : kCategories) {
    if (!StartsText(category, rest) ||
        !(rest.size() == category.size() || rest[category.size()] == ' ' ||
          rest[category.size()] == ':'))
      continue;
    rest.remove_prefix(category.size());
    const auto colon = rest.find(':');
    if (colon == std::string_view::npos) return std::nullopt;
    const std::string_view code = TrimView(rest.substr(0, colon));
    if (code.find(' ') != std::string_view::npos) return std::nullopt;
    std::string_view text = TrimView(rest.substr(colon + 1));
    // MSBuild adds the project it was building in brackets.
    if (text.ends_with("]")) {
      const auto bracket = text.rfind(" [");
      if (bracket != std::string_view::npos) text = TrimView(text.substr(0, bracket));
    }
    // A Borland code names its own severity: a hint is a note whatever category carries it.
    const TSeverity severity =
        IsBorlandCode(code) ? CodeSeverity(code.front()) : *SeverityWord(category);
    return TFound{"", severity, code, "", 0, 0, text};
  }
  return std::nullopt;
}

// MSBuild's canonical form: "origin : [subcategory] category [code] : text [project]", the
// origin a file (with a position) or a tool's name. The origin ends at the first ": " (a drive
// letter's colon is followed by a backslash).
std::optional<TFound> MSBuildMessage(std::string_view line, std::string_view) {
  std::size_t at = line.find(':');
  while (at != std::string_view::npos && at + 1 < line.size() && line[at + 1] != ' ')
    at = line.find(':', at + 1);
  if (at == std::string_view::npos || at + 1 >= line.size() || at == 0) return std::nullopt;
  auto found = CanonicalCategory(TrimView(line.substr(at + 2)));
  if (!found) return std::nullopt;
  const std::string_view origin = TrimView(line.substr(0, at));
  if (const auto p = FilePosition(origin)) {
    found->File = p->File;
    found->Line = p->Line;
    found->Column = p->Column;
  } else if (origin.find_first_of(".\\/") != std::string_view::npos) {
    found->File = origin;
  }
  found->Tool = "msbuild";
  if (IsBorlandCode(found->Code)) found->Tool = ToolOfFile(found->File, "bcc32");
  if (!found->File.empty() && found->Code.empty()) found->Tool = ToolOfFile(found->File, "msbuild");
  return found;
}

// The formats in the order they are tried: the first that reads a line wins.
constexpr std::array<TFormat, 5> kFormats = {MakeFailure, AssemblerMessage, BorlandMessage,
                                             PlacedMessage, MSBuildMessage};

}  // namespace

std::optional<TMessageParts> ReadMessage(std::string_view line, std::string_view current) {
  for (const TFormat format : kFormats) {
    if (auto found = format(line, current)) return found;
  }
  return std::nullopt;
}

}  // namespace mx::bcc
