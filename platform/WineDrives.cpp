#include "WineDrives.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "Environment.h"
#include "FileNames.h"
#include "ProcessRunner.h"
#include "StrUtils.h"

namespace mx::platform {
namespace {

namespace fs = std::filesystem;

// A folder of this system (never Windows) as UTF-8 text, no trailing "/" ("/" itself is "").
std::string FolderText(const fs::path& folder) {
  std::string text = machinepath::FromFsPath(folder.lexically_normal());
  while (!text.empty() && text.back() == '/')
    text.pop_back();
  return text;
}

// True when `path` is `folder` or lies in it ("" is the root, which holds everything absolute).
bool Holds(std::string_view folder, std::string_view path) {
  if (path.size() < folder.size() || path.compare(0, folder.size(), folder) != 0) return false;
  return path.size() == folder.size() || path[folder.size()] == '/';
}

// The entry of `folder` spelt like `name` but for ASCII letter case, as Wine looks files up;
// `name` itself when it exists as written or nothing matches.
std::string SpeltAsOnDisk(const fs::path& folder, const std::string& name) {
  std::error_code ec;
  if (fs::exists(fs::symlink_status(folder / machinepath::ToFsPath(name), ec))) return name;
  // Only the names of tools and their folders are looked up so (never the names in a tool's
  // messages), but a drive may reach any folder: a listing stops somewhere.
  constexpr int kMostEntries = 10000;
  int seen = 0;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end && seen < kMostEntries;
       it.increment(ec), ++seen) {
    std::string entry = machinepath::FromFsPath(it->path().filename());
    if (SameText(entry, name)) return entry;
  }
  return name;
}

bool IsDriveName(std::string_view name) {
  return name.size() == 2 && name[1] == ':' &&
         ((name[0] >= 'a' && name[0] <= 'z') || (name[0] >= 'A' && name[0] <= 'Z'));
}

char Upper(char c) {
  return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool IsExecutableFile(const fs::path& file) {
  std::error_code ec;
  const fs::file_status status = fs::status(file, ec);
  if (ec || !fs::is_regular_file(status)) return false;
  constexpr auto kAnyExec = fs::perms::owner_exec | fs::perms::group_exec | fs::perms::others_exec;
  return (status.permissions() & kAnyExec) != fs::perms::none;
}

}  // namespace

TWineDrives::TWineDrives(std::string prefix) : prefix_(std::move(prefix)) {
  if (prefix_.empty()) return;  // no prefix: no drives (never a folder named after the current)
  const fs::path devices = machinepath::ToFsPath(prefix_) / "dosdevices";
  std::error_code ec;
  for (fs::directory_iterator it(devices, ec), end; !ec && it != end; it.increment(ec)) {
    const std::string name = machinepath::FromFsPath(it->path().filename());
    std::error_code linkError;
    if (!IsDriveName(name) || !it->is_symlink(linkError)) continue;
    fs::path target = fs::read_symlink(it->path(), linkError);
    if (linkError) continue;
    if (target.is_relative()) target = devices / target;
    // The drive's folder with its links resolved, so that a file reached through another
    // spelling of the same folder still finds it.
    const fs::path folder = fs::weakly_canonical(target, linkError);
    if (linkError) continue;
    drives_.push_back({Upper(name[0]), FolderText(folder)});
  }
  std::sort(drives_.begin(), drives_.end(),
            [](const TDrive& a, const TDrive& b) { return a.Letter < b.Letter; });
}

std::string TWineDrives::ToWindows(std::string_view machinePath) const {
  if (machinePath.empty() || drives_.empty()) return {};
  std::error_code ec;
  fs::path path = machinepath::ToFsPath(machinePath);
  if (path.is_relative()) path = fs::current_path(ec) / path;
  // The path as written and with its links resolved: a drive may reach either.
  const std::string written = FolderText(path);
  const std::string resolved = FolderText(fs::weakly_canonical(path, ec));
  // A "\" is an ordinary character in a name here and a separator there: no Windows name says it.
  if (written.find('\\') != std::string::npos) return {};
  const TDrive* best = nullptr;
  std::string_view bestPath;
  for (const std::string* candidate : {&written, &resolved}) {
    if (candidate->find('\\') != std::string::npos) continue;
    for (const TDrive& drive : drives_) {
      if (!Holds(drive.Folder, *candidate)) continue;
      if (!best || drive.Folder.size() > best->Folder.size()) {
        best = &drive;
        bestPath = *candidate;
      }
    }
  }
  if (!best) return {};
  std::string windows{best->Letter, ':', '\\'};
  std::string rest(bestPath.substr(best->Folder.size()));
  if (!rest.empty() && rest.front() == '/') rest.erase(0, 1);
  std::replace(rest.begin(), rest.end(), '/', '\\');
  return windows + rest;
}

std::string TWineDrives::ToMachine(std::string_view windowsPath, TSpelling spelling) const {
  if (windowsPath.size() < 2 || !IsDriveName(windowsPath.substr(0, 2))) return {};
  if (windowsPath.size() > 2 && windowsPath[2] != '\\' && windowsPath[2] != '/') return {};
  const char letter = Upper(windowsPath[0]);
  const auto drive = std::find_if(drives_.begin(), drives_.end(),
                                  [letter](const TDrive& d) { return d.Letter == letter; });
  if (drive == drives_.end()) return {};
  std::vector<std::string> parts;
  std::string_view rest = windowsPath.substr(2);
  while (!rest.empty()) {
    const std::size_t end = rest.find_first_of("\\/");
    const std::string_view part = rest.substr(0, end);
    if (part == "..") {
      // Never above the drive's own folder, as on Windows.
      if (!parts.empty()) parts.pop_back();
    } else if (!part.empty() && part != ".") {
      parts.emplace_back(part);
    }
    if (end == std::string_view::npos) break;
    rest.remove_prefix(end + 1);
  }
  std::string machine = drive->Folder;
  fs::path folder = machinepath::ToFsPath(machine.empty() ? "/" : machine);
  for (const std::string& part : parts) {
    const std::string spelt = spelling == TSpelling::AsOnDisk ? SpeltAsOnDisk(folder, part) : part;
    machine += "/" + spelt;
    folder /= machinepath::ToFsPath(spelt);
  }
  return machine.empty() ? "/" : machine;
}

bool WindowsProgramsNeedWine() {
#ifdef _WIN32
  return false;
#else
  return true;
#endif
}

bool IsWindowsName(std::string_view path) {
  if (path.size() >= 3 && IsDriveName(path.substr(0, 2))) return path[2] == '\\' || path[2] == '/';
  return path.size() > 2 && path[0] == '\\' && path[1] == '\\';
}

bool IsWineServiceProgram(std::string_view program) {
  const std::size_t slash = program.find_last_of("\\/");
  const std::string_view name =
      slash == std::string_view::npos ? program : program.substr(slash + 1);
  for (const char* service :
       {"wineserver", "wineserver64", "services.exe", "winedevice.exe", "plugplay.exe",
        "svchost.exe", "rpcss.exe", "explorer.exe", "winemenubuilder.exe", "wineboot.exe"}) {
    if (SameText(name, service)) return true;
  }
  return false;
}

bool IsWindowsExecutable(const std::string& machinePath) {
  // Only a regular file is read: a pipe or a device by that name would block or never end.
  std::error_code ec;
  if (!fs::is_regular_file(machinepath::ToFsPath(machinePath), ec)) return false;
  std::ifstream file(machinepath::ToFsPath(machinePath), std::ios::binary);
  char magic[2] = {};
  return file.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

std::string FindWineLoader(std::string_view given) {
  const auto onPath = [](std::string_view name) -> std::string {
    const std::string path =
        FindEnvironmentVariable("PATH").value_or("/usr/local/bin:/usr/bin:/bin");
    std::string_view dirs = path;
    while (true) {
      const std::size_t colon = dirs.find(':');
      const std::string_view dir = dirs.substr(0, colon);
      // Tools start in other folders: only an absolute folder of the PATH names the loader.
      const fs::path candidate = machinepath::ToFsPath(dir) / machinepath::ToFsPath(name);
      if (candidate.is_absolute() && IsExecutableFile(candidate))
        return machinepath::FromFsPath(candidate);
      if (colon == std::string_view::npos) return {};
      dirs.remove_prefix(colon + 1);
    }
  };
  if (!given.empty()) {
    if (given.find('/') == std::string_view::npos) return onPath(given);
    std::error_code ec;
    const fs::path absolute = fs::absolute(machinepath::ToFsPath(given), ec);
    return !ec && IsExecutableFile(absolute) ? machinepath::FromFsPath(absolute) : std::string();
  }
  for (const char* name : {"wine", "wine64"}) {
    if (std::string found = onPath(name); !found.empty()) return found;
  }
  // Debian's wine64 package alone puts its loader here and nothing on the PATH.
  const std::string debian = "/usr/lib/wine/wine64";
  return IsExecutableFile(machinepath::ToFsPath(debian)) ? debian : std::string();
}

namespace {

// The first `count` bytes of a regular file at `offset`; fewer when it is shorter or unreadable.
std::string ReadBytes(const fs::path& file, std::uint64_t offset, std::size_t count) {
  std::error_code ec;
  if (!fs::is_regular_file(file, ec)) return {};
  std::ifstream in(file, std::ios::binary);
  if (!in.seekg(static_cast<std::streamoff>(offset))) return {};
  std::string bytes(count, '\0');
  in.read(bytes.data(), static_cast<std::streamsize>(count));
  bytes.resize(static_cast<std::size_t>(in.gcount()));
  return bytes;
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, std::size_t size) {
  std::uint32_t value = 0;
  for (std::size_t i = size; i-- > 0;)
    value = value << 8 | static_cast<unsigned char>(bytes[at + i]);
  return value;
}

// True for an ELF program of 32-bit code (EI_CLASS 1).
bool Is32BitElf(const fs::path& file) {
  const std::string header = ReadBytes(file, 0, 5);
  return header.size() == 5 &&
         header.compare(0, 4,
                        "\x7f"
                        "ELF") == 0 &&
         header[4] == 1;
}

// The 32-bit Wine loader installed beside `loader` or where Wine's packages put it; "" for none.
fs::path Find32BitLoader(const std::string& loader) {
  std::error_code ec;
  const fs::path given = machinepath::ToFsPath(loader);
  const fs::path resolved = fs::canonical(given, ec);
  std::vector<fs::path> candidates;
  for (const fs::path& at : {given, ec ? given : resolved})
    candidates.push_back(at.parent_path() / "wine");
  for (const char* known : {"/usr/lib/wine/wine", "/usr/bin/wine", "/opt/wine-stable/bin/wine",
                            "/opt/wine-devel/bin/wine", "/opt/wine-staging/bin/wine"})
    candidates.emplace_back(known);
  for (const fs::path& candidate : candidates) {
    if (Is32BitElf(candidate)) return candidate;
  }
  return {};
}

// True when a Wine built to run 32-bit programs from its 64-bit loader (its "WoW64" build) has
// its 32-bit Windows libraries beside the 64-bit ones.
bool HasWow64Libraries(const std::string& loader) {
  std::error_code ec;
  const fs::path resolved = fs::canonical(machinepath::ToFsPath(loader), ec);
  if (ec) return false;
  for (const fs::path& lib : {resolved.parent_path() / ".." / "lib" / "wine",
                              resolved.parent_path() / ".." / "lib64" / "wine"}) {
    if (fs::is_directory(lib / "x86_64-windows", ec) &&
        fs::is_directory(lib / "i386-windows", ec) && !fs::is_directory(lib / "i386-unix", ec))
      return true;
  }
  return false;
}

}  // namespace

int WindowsProgramBits(const std::string& machinePath) {
  const fs::path file = machinepath::ToFsPath(machinePath);
  const std::string dos = ReadBytes(file, 0, 64);
  if (dos.size() < 64 || dos[0] != 'M' || dos[1] != 'Z') return 0;
  // The PE header's offset is the DOS header's last field; a made-up one points anywhere.
  const std::uint32_t offset = LittleEndian(dos, 0x3C, 4);
  const std::string pe = ReadBytes(file, offset, 6);
  if (pe.size() < 6 || pe.compare(0, 4, std::string("PE\0\0", 4)) != 0) return 0;
  switch (LittleEndian(pe, 4, 2)) {
    case 0x014C:  // x86
      return 32;
    case 0x8664:  // x64
    case 0xAA64:  // ARM64
      return 64;
    default:
      return 0;
  }
}

std::optional<std::string> WineCannotRun32Bit(const std::string& loader) {
  if (!WindowsProgramsNeedWine() || loader.empty()) return std::nullopt;
  const fs::path loader32 = Find32BitLoader(loader);
  if (loader32.empty()) {
    if (HasWow64Libraries(loader)) return std::nullopt;
    return "the Wine at " + loader +
           " has no 32-bit support (no 32-bit Wine loader is installed); on Debian: sudo dpkg "
           "--add-architecture i386 && sudo apt update && sudo apt install wine32";
  }
  // The kernel may have been built without the 32-bit system calls: only running a 32-bit
  // program tells.
  TProcessRequest probe;
  probe.Executable = machinepath::FromFsPath(loader32);
  probe.Parameters = "--version";
  probe.OnLine = [](std::string_view) {};
  try {
    RunProcess(probe);
  } catch (const EProcessError& e) {
    return "this machine's kernel cannot run 32-bit programs, so no Wine here can start a 32-bit "
           "Windows program (" +
           std::string(e.what()) +
           "); build on a machine whose kernel runs 32-bit programs (IA-32 emulation)";
  }
  return std::nullopt;
}

}  // namespace mx::platform
