#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Exception.h"

namespace mx::platform {

/// A registry problem: a wrong value type, a key that cannot be written, a malformed registry
/// file (the message then names the file and the line).
class ERegistryException : public Exception {
 public:
  using Exception::Exception;
};

/// The registry roots; their names are "HKEY_CLASSES_ROOT" and so on (RegistryRootName).
enum class TRegistryRoot : std::uint8_t {
  rkClassesRoot,
  rkCurrentUser,
  rkLocalMachine,
  rkUsers,
  rkCurrentConfig,
};

/// "HKEY_LOCAL_MACHINE" and so on.
std::string RegistryRootName(TRegistryRoot root);
/// The root named by a full name or its abbreviation ("HKLM"), in any letter case.
std::optional<TRegistryRoot> RegistryRootFromName(std::string_view name);

/// One open key. Value names are compared without regard to letter case; "" is the default value.
class IRegistryKey {
 public:
  virtual ~IRegistryKey() = default;
  /// The text of a string value (REG_SZ, or REG_EXPAND_SZ unexpanded); nullopt when absent.
  /// Throws ERegistryException "Invalid data type for '<name>'" for a value of another type.
  virtual std::optional<std::string> ReadString(std::string_view name) const = 0;
  /// A REG_DWORD value; nullopt when absent; other types throw as ReadString does.
  virtual std::optional<std::int32_t> ReadInteger(std::string_view name) const = 0;
  /// The names of the key's values, in stored order.
  virtual std::vector<std::string> GetValueNames() const = 0;
  /// Writes a REG_DWORD value. Throws ERegistryException on a key opened read-only.
  virtual void WriteInteger(std::string_view name, std::int32_t value) = 0;
  /// Writes a REG_SZ value. Throws ERegistryException on a key opened read-only.
  virtual void WriteString(std::string_view name, std::string_view value) = 0;
};

/// Access to a registry: the Windows registry or a registry file. Key paths are relative to a
/// root and use "\" ("Software\Borland\C++Builder\6.0"); a leading "\" is ignored.
class IRegistry {
 public:
  virtual ~IRegistry() = default;
  /// The key opened for reading, or nullptr when it does not exist (it is never created).
  virtual std::unique_ptr<IRegistryKey> OpenKeyReadOnly(TRegistryRoot root,
                                                        std::string_view path) = 0;
  /// The key opened for writing, created with any missing parents first.
  virtual std::unique_ptr<IRegistryKey> CreateKey(TRegistryRoot root, std::string_view path) = 0;
};

/// A registry held in a file in the Windows registry export format: "Windows Registry Editor
/// Version 5.00" (UTF-16LE with byte-order mark as regedit writes it, or UTF-8) or "REGEDIT4".
/// Writes go back to the file at once and change only the lines they concern. A missing file
/// is an empty registry that is created on the first write. Throws ERegistryException naming the
/// file and line for malformed content.
std::shared_ptr<IRegistry> OpenRegistryFile(const std::string& path);

/// A registry file read from text (for tests and tools); writes stay in memory.
std::shared_ptr<IRegistry> RegistryFromText(std::string_view bytes, const std::string& sourceName);

/// The registry of the Wine prefix in the folder `prefix`, read from its own files (system.reg
/// as HKEY_LOCAL_MACHINE, user.reg as HKEY_CURRENT_USER) and never written: writes throw
/// ERegistryException. In a 64-bit prefix, keys under HKEY_LOCAL_MACHINE\Software are read from
/// the 32-bit view (Software\Wow6432Node) first, as moxtal reads them on Windows. Throws
/// ERegistryException naming the file and line for malformed content, and when the folder has
/// no system.reg.
std::shared_ptr<IRegistry> OpenWinePrefixRegistry(const std::string& prefix);
/// The same from the texts of system.reg and user.reg (for tests and tools); `folder` names the
/// prefix in messages.
std::shared_ptr<IRegistry> WineRegistryFromText(std::string_view system, std::string_view user,
                                                const std::string& folder);

/// The machine's own registry: the Windows registry on Windows (the keys under
/// HKEY_LOCAL_MACHINE in the 32-bit view), an empty one elsewhere.
std::shared_ptr<IRegistry> OpenSystemRegistry();
/// True where the machine has a registry of its own (Windows).
bool HasSystemRegistry();

}  // namespace mx::platform
