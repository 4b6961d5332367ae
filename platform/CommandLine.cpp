#include "CommandLine.h"

namespace mx::platform {

std::vector<std::string> SplitCommandLine(std::string_view p) {
  std::vector<std::string> args;
  std::size_t i = 0;
  const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
  while (true) {
    while (i < p.size() && isBlank(p[i]))
      ++i;
    if (i >= p.size()) break;
    std::string arg;
    bool inQuotes = false;
    while (i < p.size() && (inQuotes || !isBlank(p[i]))) {
      if (p[i] == '\\') {
        std::size_t slashes = 0;
        while (i < p.size() && p[i] == '\\')
          ++slashes, ++i;
        if (i < p.size() && p[i] == '"') {
          arg.append(slashes / 2, '\\');
          if (slashes % 2 == 1) {
            arg += '"';
            ++i;
          }
          // An even count leaves the quote to the quote rule below.
        } else {
          arg.append(slashes, '\\');
        }
        continue;
      }
      if (p[i] == '"') {
        if (inQuotes && i + 1 < p.size() && p[i + 1] == '"') {
          arg += '"';
          i += 2;
          continue;
        }
        inQuotes = !inQuotes;
        ++i;
        continue;
      }
      arg += p[i++];
    }
    args.push_back(std::move(arg));
  }
  return args;
}

std::string QuoteCommandLineArgument(std::string_view a) {
  if (!a.empty() && a.find_first_of(" \t\"") == std::string_view::npos) return std::string(a);
  std::string r = "\"";
  std::size_t slashes = 0;
  for (const char c : a) {
    if (c == '\\') {
      ++slashes;
      continue;
    }
    if (c == '"') {
      r.append(slashes * 2 + 1, '\\');
    } else {
      r.append(slashes, '\\');
    }
    slashes = 0;
    r += c;
  }
  // Backslashes before the closing quote are doubled so they do not escape it.
  r.append(slashes * 2, '\\');
  r += '"';
  return r;
}

}  // namespace mx::platform
