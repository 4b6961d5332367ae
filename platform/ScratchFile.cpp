#include "ScratchFile.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "Exception.h"
#include "FileNames.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <unistd.h>
#endif

namespace mx::platform {

TScratchFile::TScratchFile() {
  std::error_code ec;
  const std::filesystem::path folder = std::filesystem::temp_directory_path(ec);
  folder_ = ec ? std::string(".") : machinepath::FromFsPath(folder);
  int error = 0;
#ifdef _WIN32
  // "T" keeps it in memory while it fits, "D" deletes it when it is closed.
  static std::atomic<unsigned> counter{0};
  const std::filesystem::path name = folder / ("moxtal-" + std::to_string(::GetCurrentProcessId()) +
                                               "-" + std::to_string(counter.fetch_add(1)) + ".tmp");
  file_ = ::_wfopen(name.c_str(), L"w+bTD");
  error = errno;
#else
  std::string name = machinepath::Join(folder_, "moxtal-XXXXXX");
  const int fd = ::mkstemp(name.data());
  error = errno;
  if (fd >= 0) {
    // Unnamed at once: nothing is left behind, however the program ends.
    ::unlink(name.c_str());
    file_ = ::fdopen(fd, "w+b");
    error = errno;
    if (!file_) ::close(fd);
  }
#endif
  if (!file_) {
    const std::string reason = std::strerror(error);
    throw EFOpenError("Cannot create a temporary file in \"" + folder_ + "\". " + reason, folder_,
                      reason);
  }
}

TScratchFile::~TScratchFile() {
  if (file_) std::fclose(file_);
}

void TScratchFile::Write(std::string_view bytes) {
  if (!failed_ && std::fwrite(bytes.data(), 1, bytes.size(), file_) != bytes.size()) failed_ = true;
}

void TScratchFile::Rewind() {
  if (failed_ || std::fflush(file_) != 0) {
    throw EFOpenError(
        "Cannot write a temporary file in \"" + folder_ + "\". " + std::strerror(errno), folder_,
        std::strerror(errno));
  }
  std::rewind(file_);
}

bool TScratchFile::Read(std::string& into, std::size_t n) {
  into.resize(n);
  return n == 0 || std::fread(into.data(), 1, n, file_) == n;
}

}  // namespace mx::platform
