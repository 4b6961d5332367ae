#include "ToolFileNaming.h"

#include <filesystem>

#include "platform/FileNames.h"
#include "platform/StrUtils.h"

namespace mx::bcc {

namespace {

// A Windows name without the prefix of its long form: "\\?\C:\x" is "C:\x", and
// "\\?\UNC\server\x" is "\\server\x".
std::string WithoutLongPrefix(std::string_view file) {
  if (file.starts_with("\\\\?\\UNC\\")) return "\\\\" + std::string(file.substr(8));
  if (file.starts_with("\\\\?\\") || file.starts_with("\\\\.\\"))
    return std::string(file.substr(4));
  return std::string(file);
}

}  // namespace

const TToolFileNaming::TNames& TToolFileNaming::Of(std::string_view file) {
  // A compiler names the same few files again and again, often one many times in a row: each
  // is worked out once.
  if (file == lastFile_) return lastNames_;
  auto it = names_.find(file);
  if (it == names_.end()) {
    if (names_.size() >= 1024) names_.clear();
    // A tool run through Wine names a file by its Windows name ("Z:\home\u\Unit1.cpp"), and
    // any tool may name it in the long form ("\\?\Z:\home\u\Unit1.cpp", "\\?\UNC\server\x").
    TNames names;
    const std::string plain = WithoutLongPrefix(file);
    names.Machine = files_.ThroughWine() ? files_.MessageFileToMachine(plain) : plain;
    if (!file.empty() && !projectFolder_.empty()) {
      names.Relative = WorkOutRelative(names.Machine, projectFolder_);
      // A drive's folder is known with its links resolved ("/home" may be "/var/home"): so is
      // the project's, for the names that came through one.
      if (names.Relative.empty() && names.Machine != file)
        names.Relative = WorkOutRelative(names.Machine, ResolvedProjectFolder());
    }
    it = names_.emplace(file, std::move(names)).first;
  }
  lastFile_.assign(file);
  lastNames_ = it->second;
  return lastNames_;
}

const std::string& TToolFileNaming::ResolvedProjectFolder() {
  if (!resolvedProjectFolder_) {
    std::error_code ec;
    const auto resolved =
        std::filesystem::weakly_canonical(platform::machinepath::ToFsPath(projectFolder_), ec);
    resolvedProjectFolder_ = ec ? projectFolder_ : platform::machinepath::FromFsPath(resolved);
  }
  return *resolvedProjectFolder_;
}

std::string TToolFileNaming::WorkOutRelative(std::string_view file,
                                             const std::string& projectFolder) const {
  std::string slashed(file);
  for (char& c : slashed) {
    if (c == '\\') c = '/';
  }
  // A name with a drive letter or a leading separator is absolute; any other name is taken
  // against the folder the tool ran in.
  const bool absolute = slashed.front() == '/' || (slashed.size() > 1 && slashed[1] == ':');
  namespace fs = std::filesystem;
  std::string base = projectFolder;
  std::string working = workingFolder_;
  for (std::string* s : {&base, &working}) {
    for (char& c : *s) {
      if (c == '\\') c = '/';
    }
  }
  // Paths are UTF-8 text, which a Windows path object reads only through these two.
  using platform::machinepath::ToFsPath;
  const auto generic = [](const fs::path& p) {
    const std::u8string text = p.lexically_normal().generic_u8string();
    return std::string(text.begin(), text.end());
  };
  const fs::path full = absolute ? ToFsPath(slashed) : ToFsPath(working) / ToFsPath(slashed);
  const std::string normal = generic(full);
  const std::string root = generic(ToFsPath(base + "/"));
  // Windows compares names without regard to letter case; so does this, for both systems.
  if (normal.size() <= root.size() ||
      platform::LowerCase(normal.substr(0, root.size())) != platform::LowerCase(root))
    return {};
  return normal.substr(root.size());
}

}  // namespace mx::bcc
