#pragma once

#include <filesystem>
#include <string>
#include <string_view>

// File names come in two flavours.
//
// Windows text (`wintext`): paths inside project files, resource scripts and tool switch strings.
// Their delimiter is "\" on every platform, ":" ends a drive, and "/" is an ordinary character.
//
// Machine paths (`machinepath`): paths this program opens, writes or runs on this machine. Their
// delimiter is the platform's ("/" on POSIX, "\" on Windows); on POSIX a "\" is accepted as a
// delimiter when a path is split, so a Windows-style relative path still finds its parts.
//
// Both flavours share the same rules: ExtractFilePath keeps the trailing delimiter,
// ExtractFileExt includes the dot, ChangeFileExt appends the extension as given, and the
// Include/Exclude helpers add or remove exactly one trailing delimiter.

namespace mx::platform {

namespace wintext {
constexpr char kPathDelim = '\\';
std::string ExtractFilePath(std::string_view f);
std::string ExtractFileDir(std::string_view f);
std::string ExtractFileName(std::string_view f);
std::string ExtractFileExt(std::string_view f);
std::string ChangeFileExt(std::string_view f, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view s);
std::string ExcludeTrailingPathDelimiter(std::string_view s);
/// A path from a drive's root ("C:\...") or a share ("\\server\...").
bool IsAbsolute(std::string_view f);
}  // namespace wintext

namespace machinepath {
#ifdef _WIN32
constexpr char kPathDelim = '\\';
#else
constexpr char kPathDelim = '/';
#endif
std::string ExtractFilePath(std::string_view f);
std::string ExtractFileDir(std::string_view f);
std::string ExtractFileName(std::string_view f);
std::string ExtractFileExt(std::string_view f);
std::string ChangeFileExt(std::string_view f, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view s);
std::string ExcludeTrailingPathDelimiter(std::string_view s);
/// True only for an existing file (a directory gives false).
bool FileExists(const std::string& path);
/// True for an existing directory.
bool DirectoryExists(const std::string& path);
/// A UTF-8 path as a filesystem path object.
std::filesystem::path ToFsPath(std::string_view utf8);
/// A filesystem path object as UTF-8 text.
std::string FromFsPath(const std::filesystem::path& path);
/// The current folder, absolute.
std::string CurrentFolder();
/// The file a path finally names: symbolic links followed, each target taken relative to the
/// link's own folder. A path that is no link, or a link that cannot be read, comes back as it is.
std::filesystem::path FollowLinks(std::filesystem::path path);
/// True when both paths exist and name the same file, however they are spelt or linked (one
/// file with two hard links counts as one). Throws mx::Exception naming both when the system
/// cannot tell.
bool SameFile(const std::string& a, const std::string& b);
/// A path of this machine without "." or ".." segments and doubled delimiters, as a tool, the log
/// and a report should show it ("/ci/../proj//bin/make.exe" is "/proj/bin/make.exe"); the name is
/// taken as written, links are not followed. "" stays "".
std::string Normalise(std::string_view path);
/// `dir` and `name` joined by exactly one delimiter (none added when `dir` is empty).
std::string Join(std::string_view dir, std::string_view name);
}  // namespace machinepath

}  // namespace mx::platform
