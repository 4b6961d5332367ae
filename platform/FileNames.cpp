#include "FileNames.h"

#include <cctype>
#include <vector>

#include <filesystem>
#include <system_error>

#include "Exception.h"

namespace mx::platform {
namespace {

// One set of delimiter rules; both flavours are instances of it.
struct TPathRules {
  std::string_view delimiters;  // characters that end a folder part
  std::string_view drive;       // characters that end a drive part
  char delimiter;               // the one added by IncludeTrailingPathDelimiter

  bool IsDelimiter(char c) const { return delimiters.find(c) != std::string_view::npos; }
  bool IsSeparator(char c) const {
    return IsDelimiter(c) || drive.find(c) != std::string_view::npos;
  }

  // 0-based index just past the last delimiter or drive character, 0 when there is none.
  std::size_t NameStart(std::string_view f) const {
    for (std::size_t i = f.size(); i > 0; --i) {
      if (IsSeparator(f[i - 1])) return i;
    }
    return 0;
  }

  std::string ExtractFilePath(std::string_view f) const {
    return std::string(f.substr(0, NameStart(f)));
  }

  std::string ExtractFileDir(std::string_view f) const {
    std::size_t n = NameStart(f);
    // Drop the trailing delimiter unless it is the root's own ("C:\", "\", "\\").
    if (n > 1 && IsDelimiter(f[n - 1]) && !IsSeparator(f[n - 2])) --n;
    return std::string(f.substr(0, n));
  }

  std::string ExtractFileName(std::string_view f) const {
    return std::string(f.substr(NameStart(f)));
  }

  std::size_t ExtensionStart(std::string_view f) const {
    for (std::size_t i = f.size(); i > 0; --i) {
      const char c = f[i - 1];
      if (c == '.') return i - 1;
      if (IsSeparator(c)) break;
    }
    return std::string_view::npos;
  }

  std::string ExtractFileExt(std::string_view f) const {
    const std::size_t dot = ExtensionStart(f);
    return dot == std::string_view::npos ? std::string() : std::string(f.substr(dot));
  }

  std::string ChangeFileExt(std::string_view f, std::string_view ext) const {
    const std::size_t dot = ExtensionStart(f);
    std::string r(dot == std::string_view::npos ? f : f.substr(0, dot));
    r += ext;
    return r;
  }

  std::string IncludeTrailingPathDelimiter(std::string_view s) const {
    std::string r(s);
    if (r.empty() || !IsDelimiter(r.back())) r += delimiter;
    return r;
  }

  std::string ExcludeTrailingPathDelimiter(std::string_view s) const {
    std::string r(s);
    if (!r.empty() && IsDelimiter(r.back())) r.pop_back();
    return r;
  }
};

constexpr TPathRules kWindowsText{"\\", ":", '\\'};
#ifdef _WIN32
constexpr TPathRules kMachine{"\\/", ":", '\\'};
#else
constexpr TPathRules kMachine{"/\\", "", '/'};
#endif

}  // namespace

namespace wintext {
std::string ExtractFilePath(std::string_view f) {
  return kWindowsText.ExtractFilePath(f);
}
std::string ExtractFileDir(std::string_view f) {
  return kWindowsText.ExtractFileDir(f);
}
std::string ExtractFileName(std::string_view f) {
  return kWindowsText.ExtractFileName(f);
}
std::string ExtractFileExt(std::string_view f) {
  return kWindowsText.ExtractFileExt(f);
}
std::string ChangeFileExt(std::string_view f, std::string_view ext) {
  return kWindowsText.ChangeFileExt(f, ext);
}
std::string IncludeTrailingPathDelimiter(std::string_view s) {
  return kWindowsText.IncludeTrailingPathDelimiter(s);
}
std::string ExcludeTrailingPathDelimiter(std::string_view s) {
  return kWindowsText.ExcludeTrailingPathDelimiter(s);
}
bool IsAbsolute(std::string_view f) {
  const bool drive = f.size() >= 3 && std::isalpha(static_cast<unsigned char>(f[0])) &&
                     f[1] == ':' && f[2] == '\\';
  return drive || f.substr(0, 2) == "\\\\";
}
}  // namespace wintext

namespace machinepath {
std::string ExtractFilePath(std::string_view f) {
  return kMachine.ExtractFilePath(f);
}
std::string ExtractFileDir(std::string_view f) {
  return kMachine.ExtractFileDir(f);
}
std::string ExtractFileName(std::string_view f) {
  return kMachine.ExtractFileName(f);
}
std::string ExtractFileExt(std::string_view f) {
  return kMachine.ExtractFileExt(f);
}
std::string ChangeFileExt(std::string_view f, std::string_view ext) {
  return kMachine.ChangeFileExt(f, ext);
}
std::string IncludeTrailingPathDelimiter(std::string_view s) {
  return kMachine.IncludeTrailingPathDelimiter(s);
}
std::string ExcludeTrailingPathDelimiter(std::string_view s) {
  return kMachine.ExcludeTrailingPathDelimiter(s);
}

// A path that cannot be examined (a folder without access, say) does not name an existing file
// or folder for these questions; the caller's own open then says why.
bool FileExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_regular_file(ToFsPath(path), ec);
}

bool DirectoryExists(const std::string& path) {
  std::error_code ec;
  return !path.empty() && std::filesystem::is_directory(ToFsPath(path), ec);
}

bool SameFile(const std::string& a, const std::string& b) {
  std::error_code ec;
  if (!std::filesystem::exists(ToFsPath(a), ec) || !std::filesystem::exists(ToFsPath(b), ec))
    return false;
  const bool same = std::filesystem::equivalent(ToFsPath(a), ToFsPath(b), ec);
  if (ec) throw Exception("Cannot compare " + a + " with " + b + ": " + ec.message());
  return same;
}

std::filesystem::path FollowLinks(std::filesystem::path path) {
  // Enough hops for any real chain; a loop of links stops here rather than spinning.
  for (int hops = 0; hops < 40; ++hops) {
    std::error_code ec;
    if (!std::filesystem::is_symlink(path, ec)) return path;
    const std::filesystem::path target = std::filesystem::read_symlink(path, ec);
    if (ec) return path;
    path = target.is_absolute() ? target : path.parent_path() / target;
  }
  return path;
}

std::string Normalise(std::string_view path) {
  if (path.empty()) return {};
#ifdef _WIN32
  const auto separator = [](char c) { return c == '\\' || c == '/'; };
#else
  const auto separator = [](char c) { return c == '/'; };
#endif
  // The root stays as it is: a drive ("C:\\"), a UNC server ("\\\\server\\"), a leading
  // separator (POSIX keeps a leading "//" too).
  std::size_t rootEnd = 0;
  const bool twoSeparators = path.size() >= 2 && separator(path[0]) && separator(path[1]);
#ifdef _WIN32
  if (twoSeparators) {
    rootEnd = 2;
    while (rootEnd < path.size() && !separator(path[rootEnd]))
      ++rootEnd;
  } else if (path.size() >= 2 && path[1] == ':') {
    rootEnd = 2;
  }
#else
  if (twoSeparators && (path.size() == 2 || !separator(path[2]))) rootEnd = 1;
#endif
  if (rootEnd < path.size() && separator(path[rootEnd])) ++rootEnd;
  const bool absolute = rootEnd > 0 && separator(path[rootEnd - 1]);
  // Each segment keeps the separator written before it: under Wine a name that starts with "/"
  // is a name of the host and one that starts with "\\" is not, so none is rewritten.
  struct TSegment {
    char Separator;
    std::string_view Text;
  };
  std::vector<TSegment> segments;
  std::size_t at = rootEnd;
  while (at < path.size()) {
    const char before = at > rootEnd ? path[at] : '\0';
    while (at < path.size() && separator(path[at]))
      ++at;
    std::size_t end = at;
    while (end < path.size() && !separator(path[end]))
      ++end;
    const std::string_view segment = path.substr(at, end - at);
    at = end;
    if (segment.empty() || segment == ".") continue;
    if (segment == ".." && !segments.empty() && segments.back().Text != "..") {
      segments.pop_back();
    } else if (segment != ".." || !absolute) {
      segments.push_back({before, segment});
    }
  }
  std::string out(path.substr(0, rootEnd));
  for (std::size_t i = 0; i < segments.size(); ++i) {
    if (i > 0) out += segments[i].Separator != '\0' ? segments[i].Separator : kPathDelim;
    out += segments[i].Text;
  }
  if (separator(path.back()) && !segments.empty()) out += path.back();
  if (out.empty()) out = ".";
  return out;
}

std::string FromFsPath(const std::filesystem::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

std::string CurrentFolder() {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::current_path(ec);
  // Without a current folder (it was removed) relative names cannot mean anything better.
  return ec ? std::string(".") : FromFsPath(folder);
}

std::filesystem::path ToFsPath(std::string_view utf8) {
  return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

std::string Join(std::string_view dir, std::string_view name) {
  if (dir.empty()) return std::string(name);
  return IncludeTrailingPathDelimiter(dir) + std::string(name);
}
}  // namespace machinepath

}  // namespace mx::platform
