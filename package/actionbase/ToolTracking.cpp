#include "ToolTracking.h"

#include <array>
#include <utility>

#include "platform/StrUtils.h"

namespace mx::bcc {

namespace {

// The file name of a command line's first word, without folder, quotes and ".exe" (a view into
// the line: this runs for every line a tool writes).
std::string_view CommandName(std::string_view line) {
  line = platform::TrimView(line);
  std::string_view word;
  if (!line.empty() && line.front() == '"') {
    const auto close = line.find('"', 1);
    word = line.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1);
  } else {
    word = line.substr(0, line.find(' '));
  }
  const auto slash = word.find_last_of("\\/");
  if (slash != std::string_view::npos) word.remove_prefix(slash + 1);
  if (word.size() > 4 && platform::SameText(word.substr(word.size() - 4), ".exe"))
    word.remove_suffix(4);
  return word;
}

}  // namespace

bool TToolTracker::Follow(std::string_view line) {
  static constexpr std::array<std::pair<std::string_view, std::string_view>, 7> kBanners = {{
      {"Borland C++ ", "bcc32"},
      {"CodeGear C++ ", "bcc32"},
      {"Turbo Incremental Link", "ilink32"},
      {"Borland Resource Compiler", "brcc32"},
      {"TLIB ", "tlib"},
      {"Borland Delphi", "dcc32"},
      {"Turbo Assembler", "tasm32"},
  }};
  const char first = line.front();
  if (first == 'B' || first == 'C' || first == 'T') {
    for (const auto& [banner, tool] : kBanners) {
      if (line.starts_with(banner)) {
        current_ = tool;
        return true;
      }
    }
  }
  if (first == 'M' && line.starts_with("MAKE Version")) {
    current_ = "make";
    return true;
  }
  static constexpr std::array<std::string_view, 10> kTools = {
      "bcc32",  "ilink32", "brcc32", "tlib",    "dcc32",
      "tasm32", "idl2cpp", "make",   "bpr2mak", "bdsproj2mak"};
  const std::string_view name = CommandName(line);
  for (const auto tool : kTools) {
    if (platform::SameText(name, tool)) {
      if (current_ != tool) current_ = std::string(tool);
      return true;
    }
  }
  return false;
}

}  // namespace mx::bcc
