#pragma once
// Whole files: every place that reads or writes a file in one piece goes through these two, so
// that every error names the file and no write ever leaves a half-written file behind.

#include <string>
#include <string_view>

namespace mx::platform {

/// The bytes of a file, unchanged. Throws EFOpenError 'Cannot open file "<path>". <reason>'
/// when it cannot be read, a folder included.
std::string ReadWholeFile(const std::string& path);

/// Makes `bytes` the whole content of `path` without a moment in which the file is half
/// written: the bytes go to a new file in the same folder, every write and the close are
/// checked, the data is flushed to disk, then the new file is renamed over the target. The
/// target's permissions are kept; a symbolic link is followed, so the link stays a link and the
/// file it names is replaced. On any failure the target is left as it was and the temporary
/// file is removed. Throws EFOpenError 'Cannot create file "<path>". <reason>' when the new file
/// cannot be made, 'Cannot write file "<path>". <reason>' when writing or replacing fails.
void WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace mx::platform
