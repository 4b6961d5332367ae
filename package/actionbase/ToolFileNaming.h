#pragma once
// The names of the files the tools' messages name: as files of this machine, and relative to
// the project's folder. A tool run through Wine names them by their Windows names.

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "moxtal/api/ToolFiles.h"

namespace mx::bcc {

class TToolFileNaming {
 public:
  /// A file named in a message: a file of this machine, and its name relative to the project's
  /// folder ("" when it lies outside).
  struct TNames {
    std::string Machine;
    std::string Relative;
  };

  /// Names in messages are taken against `workingFolder`, and given relative to `projectFolder`
  /// (both folders of this machine); `files` says how the tools name files.
  TToolFileNaming(std::string workingFolder, std::string projectFolder, TToolFiles files)
      : workingFolder_(std::move(workingFolder)),
        projectFolder_(std::move(projectFolder)),
        files_(std::move(files)) {}

  /// The names of `file` as a message gives it. The result lasts until the next call.
  const TNames& Of(std::string_view file);

  const std::string& ProjectFolder() const { return projectFolder_; }

 private:
  std::string WorkOutRelative(std::string_view file, const std::string& projectFolder) const;
  const std::string& ResolvedProjectFolder();

  std::string workingFolder_;
  std::string projectFolder_;
  TToolFiles files_;
  std::optional<std::string> resolvedProjectFolder_;
  struct THash {
    using is_transparent = void;
    std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>()(s); }
  };
  std::unordered_map<std::string, TNames, THash, std::equal_to<>> names_;
  std::string lastFile_;
  TNames lastNames_;
};

}  // namespace mx::bcc
