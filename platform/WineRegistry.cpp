// The registry of a Wine prefix, read from the prefix's own files: system.reg holds
// HKEY_LOCAL_MACHINE and user.reg HKEY_CURRENT_USER, in Wine's text format:
//
//   WINE REGISTRY Version 2
//   #arch=win64
//   [Software\\Wow6432Node\\Borland\\C++Builder\\6.0] 1796615559
//   #time=1dd85fe67883aea
//   "RootDir"="C:\\Program Files\\Borland\\CBuilder6\\"
//   "Version"=dword:00000006
//   "Path"=str(2):"%SystemRoot%\\x"
//
// Strings escape "\" and '"' with "\", and a UTF-16 unit as "\x" and up to four hex digits.
// moxtal only reads these files: Wine owns them and rewrites them while it runs.
#include <algorithm>
#include <unordered_map>

#include "CodePage.h"
#include "Conversions.h"
#include "FileNames.h"
#include "Registry.h"
#include "StrUtils.h"
#include "WholeFile.h"

namespace mx::platform {

namespace {

// A prefix's registry files are a few megabytes; a file far larger is not one.
constexpr std::size_t kMostRegistryBytes = 256u << 20;

enum class TWineType { wtString, wtExpand, wtDword, wtOther };

struct TWineValue {
  std::string Name;
  TWineType Type = TWineType::wtOther;
  std::string Text;
  std::uint32_t Number = 0;
};

struct TWineKey {
  std::vector<TWineValue> Values;
};

// Keys by their path in upper case, as the registry compares them.
using TWineHive = std::unordered_map<std::string, TWineKey>;

class TWineFileReader {
 public:
  TWineFileReader(std::string sourceName, TWineHive& hive)
      : source_(std::move(sourceName)), hive_(hive) {}

  /// Reads the file's text into the hive; true when the file is of a 64-bit prefix.
  bool Read(std::string_view text) {
    bool win64 = false;
    std::size_t at = 0;
    while (at < text.size()) {
      const std::size_t end = std::min(text.find('\n', at), text.size());
      std::string_view line = text.substr(at, end - at);
      at = end + 1;
      ++lineNumber_;
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (lineNumber_ == 1) {
        if (line.rfind("WINE REGISTRY Version 2", 0) != 0)
          Fail("this is not a Wine registry file (no \"WINE REGISTRY Version 2\" line)");
        continue;
      }
      // A binary value goes on over lines that end in "\"; its bytes are not needed.
      if (continued_) {
        continued_ = !line.empty() && line.back() == '\\';
        continue;
      }
      if (line == "#arch=win64") win64 = true;
      if (line.empty() || line.front() == ';' || line.front() == '#') continue;
      if (line.front() == '[') {
        Key(line);
      } else if (line.front() == '"' || line.front() == '@') {
        Value(line);
      } else {
        Fail("a line that is neither a key nor a value");
      }
    }
    return win64;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw ERegistryException(source_ + ":" + std::to_string(lineNumber_) + ": " + what);
  }

  // A quoted string from `at` (which is at the opening quote), unescaped into UTF-8; `at` ends
  // after the closing quote.
  std::string Quoted(std::string_view line, std::size_t& at) const {
    if (at >= line.size() || line[at] != '"') Fail("a string should start here");
    ++at;
    std::string out;
    char32_t pendingHigh = 0;
    const auto unit = [&](char32_t u) {
      if (u >= 0xD800 && u < 0xDC00) {
        pendingHigh = u;
        return;
      }
      if (u >= 0xDC00 && u < 0xE000 && pendingHigh) {
        AppendUtf8CodePoint(out, 0x10000 + ((pendingHigh - 0xD800) << 10) + (u - 0xDC00));
      } else {
        AppendUtf8CodePoint(out, u >= 0xD800 && u < 0xE000 ? 0xFFFD : u);
      }
      pendingHigh = 0;
    };
    while (at < line.size() && line[at] != '"') {
      const char c = line[at++];
      if (c != '\\') {
        out += c;  // bytes of UTF-8 as they stand
        continue;
      }
      if (at >= line.size()) break;
      const char e = line[at++];
      switch (e) {
        case 'a':
          unit(7);
          break;
        case 'b':
          unit(8);
          break;
        case 'e':
          unit(27);
          break;
        case 'f':
          unit(12);
          break;
        case 'n':
          unit(10);
          break;
        case 'r':
          unit(13);
          break;
        case 't':
          unit(9);
          break;
        case 'v':
          unit(11);
          break;
        case 'x': {
          char32_t u = 0;
          int digits = 0;
          while (digits < 4 && at < line.size() && HexDigit(line[at]) >= 0) {
            u = u * 16 + static_cast<char32_t>(HexDigit(line[at++]));
            ++digits;
          }
          unit(u);
          break;
        }
        default:
          if (e >= '0' && e <= '7') {
            char32_t u = static_cast<char32_t>(e - '0');
            for (int i = 0; i < 2 && at < line.size() && line[at] >= '0' && line[at] <= '7'; ++i)
              u = u * 8 + static_cast<char32_t>(line[at++] - '0');
            unit(u);
          } else {
            out += e;
          }
      }
    }
    if (at >= line.size()) Fail("a string that does not end");
    ++at;
    return out;
  }

  void Key(std::string_view line) {
    const std::size_t close = line.rfind(']');
    if (close == std::string_view::npos) Fail("a key without its closing \"]\"");
    std::string path;
    const std::string_view name = line.substr(1, close - 1);
    for (std::size_t i = 0; i < name.size(); ++i) {
      if (name[i] == '\\' && i + 1 < name.size()) ++i;
      path += name[i];
    }
    current_ = &hive_[UpperCase(path)];
  }

  void Value(std::string_view line) {
    if (!current_) Fail("a value before any key");
    std::size_t at = 0;
    TWineValue value;
    if (line.front() == '@') {
      at = 1;
    } else {
      value.Name = Quoted(line, at);
    }
    if (at >= line.size() || line[at] != '=') Fail("a value without \"=\"");
    const std::string_view data = line.substr(at + 1);
    std::size_t from = 0;
    if (data.rfind("\"", 0) == 0) {
      value.Type = TWineType::wtString;
      value.Text = Quoted(data, from);
    } else if (data.rfind("str(2):", 0) == 0) {
      from = 7;
      value.Type = TWineType::wtExpand;
      value.Text = Quoted(data, from);
    } else if (data.rfind("dword:", 0) == 0) {
      value.Type = TWineType::wtDword;
      std::uint32_t number = 0;
      const std::string_view digits = data.substr(6);
      if (digits.empty() || digits.size() > 8) Fail("a dword that is not eight hex digits");
      for (const char c : digits) {
        if (HexDigit(c) < 0) Fail("a dword that is not eight hex digits");
        number = number * 16 + static_cast<std::uint32_t>(HexDigit(c));
      }
      value.Number = number;
    } else {
      // str(7) lists, hex and hex(N) data: present, but not text or a number.
      continued_ = !data.empty() && data.back() == '\\';
    }
    auto& values = current_->Values;
    const auto same = std::find_if(values.begin(), values.end(), [&](const TWineValue& v) {
      return SameText(v.Name, value.Name);
    });
    if (same != values.end()) {
      *same = std::move(value);
    } else {
      values.push_back(std::move(value));
    }
  }

  std::string source_;
  TWineHive& hive_;
  TWineKey* current_ = nullptr;
  int lineNumber_ = 0;
  bool continued_ = false;
};

class TWineRegistryKey : public IRegistryKey {
 public:
  TWineRegistryKey(const TWineKey& key, std::string prefix)
      : key_(key), prefix_(std::move(prefix)) {}

  std::optional<std::string> ReadString(std::string_view name) const override {
    const TWineValue* value = Find(name);
    if (!value) return std::nullopt;
    if (value->Type != TWineType::wtString && value->Type != TWineType::wtExpand) Invalid(name);
    return value->Text;
  }
  std::optional<std::int32_t> ReadInteger(std::string_view name) const override {
    const TWineValue* value = Find(name);
    if (!value) return std::nullopt;
    if (value->Type != TWineType::wtDword) Invalid(name);
    return static_cast<std::int32_t>(value->Number);
  }
  std::vector<std::string> GetValueNames() const override {
    std::vector<std::string> names;
    for (const auto& value : key_.Values)
      names.push_back(value.Name);
    return names;
  }
  void WriteInteger(std::string_view, std::int32_t) override { ReadOnly(); }
  void WriteString(std::string_view, std::string_view) override { ReadOnly(); }

 private:
  const TWineValue* Find(std::string_view name) const {
    for (const auto& value : key_.Values) {
      if (SameText(value.Name, name)) return &value;
    }
    return nullptr;
  }
  [[noreturn]] static void Invalid(std::string_view name) {
    throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
  }
  [[noreturn]] void ReadOnly() const {
    throw ERegistryException("The registry of the Wine prefix " + prefix_ +
                             " is read only: moxtal never writes it");
  }

  const TWineKey& key_;
  std::string prefix_;
};

class TWinePrefixRegistry : public IRegistry {
 public:
  /// The files' texts, each named by `folder` and its file name in messages.
  TWinePrefixRegistry(std::string folder, std::string_view system, std::string_view user)
      : prefix_(std::move(folder)) {
    win64_ = TWineFileReader(machinepath::Join(prefix_, "system.reg"), machine_).Read(system);
    if (!user.empty()) TWineFileReader(machinepath::Join(prefix_, "user.reg"), user_).Read(user);
  }

  std::unique_ptr<IRegistryKey> OpenKeyReadOnly(TRegistryRoot root,
                                                std::string_view path) override {
    const TWineHive* hive = root == TRegistryRoot::rkLocalMachine  ? &machine_
                            : root == TRegistryRoot::rkCurrentUser ? &user_
                                                                   : nullptr;
    if (!hive) return nullptr;
    std::string key = UpperCase(path);
    while (!key.empty() && key.front() == '\\')
      key.erase(0, 1);
    while (!key.empty() && key.back() == '\\')
      key.pop_back();
    // The C++Builder installers are 32-bit programs: in a 64-bit prefix their keys are in the
    // 32-bit view, under Software\Wow6432Node, which is read first as it is on Windows.
    const std::string software = "SOFTWARE\\";
    if (hive == &machine_ && win64_ && key.rfind(software, 0) == 0 &&
        key.rfind(software + "WOW6432NODE", 0) != 0) {
      const auto redirected = hive->find(software + "WOW6432NODE\\" + key.substr(software.size()));
      if (redirected != hive->end())
        return std::make_unique<TWineRegistryKey>(redirected->second, prefix_);
    }
    const auto found = hive->find(key);
    if (found == hive->end()) return nullptr;
    return std::make_unique<TWineRegistryKey>(found->second, prefix_);
  }

  std::unique_ptr<IRegistryKey> CreateKey(TRegistryRoot, std::string_view path) override {
    throw ERegistryException("The registry of the Wine prefix " + prefix_ +
                             " is read only: moxtal never writes it (" + std::string(path) + ")");
  }

 private:
  std::string prefix_;
  TWineHive machine_;
  TWineHive user_;
  bool win64_ = false;
};

}  // namespace

std::shared_ptr<IRegistry> OpenWinePrefixRegistry(const std::string& prefix) {
  const std::string system = machinepath::Join(prefix, "system.reg");
  if (!machinepath::FileExists(system)) {
    throw ERegistryException(prefix +
                             " is not a Wine prefix: it has no system.reg (wineboot makes one)");
  }
  const std::string user = machinepath::Join(prefix, "user.reg");
  return std::make_shared<TWinePrefixRegistry>(
      prefix, ReadWholeFile(system, kMostRegistryBytes),
      machinepath::FileExists(user) ? ReadWholeFile(user, kMostRegistryBytes) : std::string());
}

std::shared_ptr<IRegistry> WineRegistryFromText(std::string_view system, std::string_view user,
                                                const std::string& folder) {
  return std::make_shared<TWinePrefixRegistry>(folder, system, user);
}

}  // namespace mx::platform
