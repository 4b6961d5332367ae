// The Windows registry back end.
#include <windows.h>

#include "Registry.h"
#include "Win32Text.h"

namespace mx::platform {
namespace {

HKEY RootHandle(TRegistryRoot root) {
  switch (root) {
    case TRegistryRoot::rkClassesRoot:
      return HKEY_CLASSES_ROOT;
    case TRegistryRoot::rkCurrentUser:
      return HKEY_CURRENT_USER;
    case TRegistryRoot::rkLocalMachine:
      return HKEY_LOCAL_MACHINE;
    case TRegistryRoot::rkUsers:
      return HKEY_USERS;
    case TRegistryRoot::rkCurrentConfig:
      return HKEY_CURRENT_CONFIG;
  }
  return HKEY_LOCAL_MACHINE;
}

// The compilers and the .NET Framework 2.0 this program looks for are 32-bit programs, whose
// installers write their keys under HKEY_LOCAL_MACHINE in the 32-bit view (Wow6432Node on 64-bit
// Windows). Keys there are read and written in that view whatever the bitness of this program;
// HKEY_CURRENT_USER\Software is one view for both.
REGSAM View(TRegistryRoot root) {
  return root == TRegistryRoot::rkLocalMachine ? KEY_WOW64_32KEY : 0;
}

std::wstring WidePath(std::string_view path) {
  while (!path.empty() && path.front() == '\\')
    path.remove_prefix(1);
  return win32::Widen(path);
}

class TWindowsRegistryKey : public IRegistryKey {
 public:
  TWindowsRegistryKey(HKEY key, bool writable) : key_(key), writable_(writable) {}
  ~TWindowsRegistryKey() override { ::RegCloseKey(key_); }

  std::optional<std::string> ReadString(std::string_view name) const override {
    DWORD type = 0;
    std::wstring data;
    if (!Query(name, type, data)) return std::nullopt;
    if (type != REG_SZ && type != REG_EXPAND_SZ) ThrowType(name);
    while (!data.empty() && data.back() == L'\0')
      data.pop_back();
    return win32::Narrow(data);
  }

  std::optional<std::int32_t> ReadInteger(std::string_view name) const override {
    DWORD type = 0;
    DWORD value = 0;
    DWORD size = sizeof value;
    const std::wstring wname = win32::Widen(name);
    const LONG rc = ::RegQueryValueExW(key_, wname.c_str(), nullptr, &type,
                                       reinterpret_cast<BYTE*>(&value), &size);
    if (rc == ERROR_FILE_NOT_FOUND) return std::nullopt;
    if (rc != ERROR_SUCCESS && rc != ERROR_MORE_DATA) return std::nullopt;
    if (type != REG_DWORD || size != sizeof value) ThrowType(name);
    return static_cast<std::int32_t>(value);
  }

  std::vector<std::string> GetValueNames() const override {
    std::vector<std::string> names;
    DWORD count = 0;
    DWORD longest = 0;
    ::RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, &count, &longest,
                       nullptr, nullptr, nullptr);
    std::wstring buffer(longest + 1, L'\0');
    for (DWORD i = 0; i < count; ++i) {
      DWORD length = static_cast<DWORD>(buffer.size());
      if (::RegEnumValueW(key_, i, buffer.data(), &length, nullptr, nullptr, nullptr, nullptr) ==
          ERROR_SUCCESS) {
        names.push_back(win32::Narrow(std::wstring_view(buffer.data(), length)));
      }
    }
    return names;
  }

  void WriteInteger(std::string_view name, std::int32_t value) override {
    CheckWritable();
    const auto data = static_cast<DWORD>(value);
    const std::wstring wname = win32::Widen(name);
    Check(::RegSetValueExW(key_, wname.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                           sizeof data));
  }

  void WriteString(std::string_view name, std::string_view value) override {
    CheckWritable();
    const std::wstring wname = win32::Widen(name);
    const std::wstring wvalue = win32::Widen(value);
    Check(::RegSetValueExW(key_, wname.c_str(), 0, REG_SZ,
                           reinterpret_cast<const BYTE*>(wvalue.c_str()),
                           static_cast<DWORD>((wvalue.size() + 1) * sizeof(wchar_t))));
  }

 private:
  bool Query(std::string_view name, DWORD& type, std::wstring& data) const {
    const std::wstring wname = win32::Widen(name);
    DWORD size = 0;
    if (::RegQueryValueExW(key_, wname.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return false;
    data.assign(size / sizeof(wchar_t) + 1, L'\0');
    size = static_cast<DWORD>(data.size() * sizeof(wchar_t));
    if (::RegQueryValueExW(key_, wname.c_str(), nullptr, &type,
                           reinterpret_cast<BYTE*>(data.data()), &size) != ERROR_SUCCESS)
      return false;
    data.resize(size / sizeof(wchar_t));
    return true;
  }
  static void Check(LONG rc) {
    if (rc != ERROR_SUCCESS)
      throw ERegistryException("Failed to set data: " + win32::ErrorText(static_cast<DWORD>(rc)));
  }
  [[noreturn]] static void ThrowType(std::string_view name) {
    throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
  }
  void CheckWritable() const {
    if (!writable_) throw ERegistryException("Failed to set data: the key is open read-only");
  }

  HKEY key_;
  bool writable_;
};

class TWindowsRegistry : public IRegistry {
 public:
  std::unique_ptr<IRegistryKey> OpenKeyReadOnly(TRegistryRoot root,
                                                std::string_view path) override {
    HKEY key = nullptr;
    const std::wstring wpath = WidePath(path);
    if (::RegOpenKeyExW(RootHandle(root), wpath.c_str(), 0, KEY_READ | View(root), &key) !=
        ERROR_SUCCESS)
      return nullptr;
    return std::make_unique<TWindowsRegistryKey>(key, false);
  }

  std::unique_ptr<IRegistryKey> CreateKey(TRegistryRoot root, std::string_view path) override {
    HKEY key = nullptr;
    const std::wstring wpath = WidePath(path);
    const LONG rc = ::RegCreateKeyExW(RootHandle(root), wpath.c_str(), 0, nullptr, 0,
                                      KEY_READ | KEY_WRITE | View(root), nullptr, &key, nullptr);
    if (rc != ERROR_SUCCESS) {
      throw ERegistryException("Failed to create key " + std::string(path) + ": " +
                               win32::ErrorText(static_cast<DWORD>(rc)));
    }
    return std::make_unique<TWindowsRegistryKey>(key, true);
  }
};

}  // namespace

bool HasSystemRegistry() {
  return true;
}

std::shared_ptr<IRegistry> OpenSystemRegistry() {
  return std::make_shared<TWindowsRegistry>();
}

}  // namespace mx::platform
