// The registry-file back end: a registry described by a file in the Windows export format.
#include <cstdio>
#include <map>
#include <unordered_map>

#include "CodePage.h"
#include "Exception.h"
#include "FileNames.h"
#include "Registry.h"
#include "StrUtils.h"
#include "WholeFile.h"

namespace mx::platform {
namespace {

constexpr std::uint32_t kRegSz = 1;
constexpr std::uint32_t kRegExpandSz = 2;
constexpr std::uint32_t kRegDword = 4;

constexpr std::string_view kHeader5 = "Windows Registry Editor Version 5.00";
constexpr std::string_view kHeader4 = "REGEDIT4";

enum class TFileEncoding { Utf8, Utf8Bom, Utf16Le, Ansi };

struct TValue {
  std::string name;
  std::uint32_t type = kRegSz;
  std::string text;   // quoted string values
  std::string bytes;  // dword: and hex forms, as the registry stores them
};

// One logical line of the file: a section, a value, or anything that only needs keeping.
struct TEntry {
  enum class TKind { Other, Section, Value } kind = TKind::Other;
  std::size_t firstLine = 0;
  std::size_t lineCount = 1;
  std::string key;  // sections: root name + "\" + path
  bool deleteKey = false;
  TValue value;
  bool deleteValue = false;
};

// A key's values in file order, found by name through an index: a key may hold tens of
// thousands of values.
struct TKey {
  std::vector<TValue> values;
  std::unordered_map<std::string, std::size_t> index;  // upper-cased name -> position

  TValue* Find(std::string_view name) {
    const auto it = index.find(UpperCase(name));
    return it == index.end() ? nullptr : &values[it->second];
  }
  const TValue* Find(std::string_view name) const { return const_cast<TKey*>(this)->Find(name); }
  void Set(const TValue& value) {
    if (TValue* existing = Find(value.name)) {
      *existing = value;
      return;
    }
    index.emplace(UpperCase(value.name), values.size());
    values.push_back(value);
  }
  void Erase(std::string_view name) {
    const auto it = index.find(UpperCase(name));
    if (it == index.end()) return;
    values.erase(values.begin() + static_cast<std::ptrdiff_t>(it->second));
    index.clear();
    for (std::size_t i = 0; i < values.size(); ++i)
      index.emplace(UpperCase(values[i].name), i);
  }
};

std::string KeyId(std::string_view fullKey) {
  return UpperCase(fullKey);
}

std::string TrimPath(std::string_view path) {
  while (!path.empty() && path.front() == '\\')
    path.remove_prefix(1);
  while (!path.empty() && path.back() == '\\')
    path.remove_suffix(1);
  return std::string(path);
}

std::string FullKey(TRegistryRoot root, std::string_view path) {
  const std::string p = TrimPath(path);
  return p.empty() ? RegistryRootName(root) : RegistryRootName(root) + "\\" + p;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

std::string QuoteRegText(std::string_view s) {
  std::string r = "\"";
  for (const char c : s) {
    if (c == '\\' || c == '"') r += '\\';
    r += c;
  }
  return r + "\"";
}

class TRegistryFileModel {
 public:
  TRegistryFileModel(std::string sourceName, std::string path)
      : source_(std::move(sourceName)), path_(std::move(path)) {}

  void Load(std::string_view bytes) {
    std::string text;
    if (bytes.size() >= 2 && bytes[0] == '\xFF' && bytes[1] == '\xFE') {
      encoding_ = TFileEncoding::Utf16Le;
      text = Utf16LeToUtf8(bytes.substr(2));
    } else if (bytes.substr(0, 3) == "\xEF\xBB\xBF") {
      encoding_ = TFileEncoding::Utf8Bom;
      text = std::string(bytes.substr(3));
    } else if (IsValidUtf8(bytes)) {
      encoding_ = TFileEncoding::Utf8;
      text = std::string(bytes);
    } else {
      encoding_ = TFileEncoding::Ansi;
      text = AnsiToUtf8(bytes, 1252);
    }
    eol_ = text.find("\r\n") != std::string::npos || text.find('\n') == std::string::npos ? "\r\n"
                                                                                          : "\n";
    finalEol_ = text.empty() || text.back() == '\n' || text.back() == '\r';
    lines_.clear();
    std::size_t pos = 0;
    while (pos < text.size()) {
      const std::size_t end = FindLineBreak(text, pos);
      if (end == std::string::npos) {
        lines_.push_back(text.substr(pos));
        break;
      }
      lines_.push_back(text.substr(pos, end - pos));
      pos = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
    }
    if (lines_.empty()) lines_.push_back(std::string(kHeader5));
    Parse();
  }

  bool KeyExists(const std::string& fullKey) const {
    const std::string id = KeyId(fullKey);
    if (keys_.count(id)) return true;
    const auto it = keys_.lower_bound(id + "\\");
    return it != keys_.end() && it->first.compare(0, id.size() + 1, id + "\\") == 0;
  }

  const TValue* FindValue(const std::string& fullKey, std::string_view name) const {
    const auto it = keys_.find(KeyId(fullKey));
    return it == keys_.end() ? nullptr : it->second.Find(name);
  }

  std::vector<std::string> ValueNames(const std::string& fullKey) const {
    std::vector<std::string> names;
    const auto it = keys_.find(KeyId(fullKey));
    if (it != keys_.end()) {
      for (const auto& v : it->second.values)
        names.push_back(v.name);
    }
    return names;
  }

  std::string DecodeString(const TValue& v) const {
    if (v.type == kRegSz && v.bytes.empty()) return v.text;
    std::string s = unicodeFile_ ? Utf16LeToUtf8(v.bytes) : AnsiToUtf8(v.bytes, 1252);
    while (!s.empty() && s.back() == '\0')
      s.pop_back();
    return s;
  }

  void CreateKey(const std::string& fullKey) {
    if (FindSection(fullKey) != npos) return;
    AppendSection(fullKey, {});
    Commit();
  }

  // Replaces the value's line in the key's last section, or adds it there; a key without a
  // section of its own gets one at the end of the file.
  void WriteValueLine(const std::string& fullKey, std::string_view name, std::string line) {
    const std::size_t section = FindSection(fullKey);
    if (section == npos) {
      AppendSection(fullKey, std::move(line));
      Commit();
      return;
    }
    std::size_t insertAt = entries_[section].firstLine + entries_[section].lineCount;
    for (std::size_t e = section + 1;
         e < entries_.size() && entries_[e].kind != TEntry::TKind::Section; ++e) {
      const TEntry& entry = entries_[e];
      if (entry.kind != TEntry::TKind::Value) continue;
      if (SameText(entry.value.name, name)) {
        lines_.erase(
            lines_.begin() + static_cast<std::ptrdiff_t>(entry.firstLine),
            lines_.begin() + static_cast<std::ptrdiff_t>(entry.firstLine + entry.lineCount));
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(entry.firstLine),
                      std::move(line));
        Commit();
        return;
      }
      insertAt = entry.firstLine + entry.lineCount;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insertAt), std::move(line));
    Commit();
  }

  static std::string NameText(std::string_view name) {
    return name.empty() ? "@" : QuoteRegText(name);
  }

 private:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);

  [[noreturn]] void Fail(std::size_t line, const std::string& problem) const {
    throw ERegistryException(source_ + ":" + std::to_string(line + 1) + ": " + problem);
  }

  std::size_t FindSection(const std::string& fullKey) const {
    std::size_t found = npos;
    for (std::size_t e = 0; e < entries_.size(); ++e) {
      if (entries_[e].kind == TEntry::TKind::Section && !entries_[e].deleteKey &&
          SameText(entries_[e].key, fullKey))
        found = e;
    }
    return found;
  }

  void AppendSection(const std::string& fullKey, std::string valueLine) {
    while (!lines_.empty() && Trim(lines_.back()).empty())
      lines_.pop_back();
    lines_.emplace_back();
    lines_.push_back("[" + fullKey + "]");
    if (!valueLine.empty()) lines_.push_back(std::move(valueLine));
    lines_.emplace_back();
    finalEol_ = true;
  }

  void Commit() {
    Parse();
    if (path_.empty()) return;
    std::string text;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
      text += lines_[i];
      if (i + 1 < lines_.size() || finalEol_) text += eol_;
    }
    std::string bytes;
    switch (encoding_) {
      case TFileEncoding::Utf16Le:
        bytes = "\xFF\xFE" + Utf8ToUtf16Le(text);
        break;
      case TFileEncoding::Utf8Bom:
        bytes = "\xEF\xBB\xBF" + text;
        break;
      case TFileEncoding::Utf8:
        bytes = text;
        break;
      case TFileEncoding::Ansi:
        bytes = Utf8ToAnsi(text, 1252);
        break;
    }
    try {
      WriteWholeFile(path_, bytes, TLinkPolicy::lpFollow);
    } catch (const EFOpenError& e) {
      throw ERegistryException("Cannot write registry file \"" + path_ + "\": " + e.Reason());
    }
  }

  void Parse() {
    entries_.clear();
    keys_.clear();
    std::size_t i = 0;
    while (i < lines_.size() && Trim(lines_[i]).empty())
      ++i;
    const std::string header = i < lines_.size() ? Trim(lines_[i]) : std::string();
    if (header == kHeader5) {
      unicodeFile_ = true;
    } else if (header == kHeader4) {
      unicodeFile_ = false;
    } else {
      throw ERegistryException(source_ + ": not a registry file (the first line must be \"" +
                               std::string(kHeader5) + "\" or \"" + std::string(kHeader4) + "\")");
    }
    entries_.push_back(TEntry{TEntry::TKind::Other, 0, i + 1, {}, false, {}, false});
    ++i;
    std::string currentKey;  // empty outside any section, or after a deleted one
    while (i < lines_.size()) {
      TEntry entry;
      entry.firstLine = i;
      std::string logical = Trim(lines_[i]);
      if (!logical.empty() && (logical[0] == '"' || logical[0] == '@')) {
        // Hexadecimal data runs on over lines that end in a backslash.
        while (!logical.empty() && logical.back() == '\\' && i + 1 < lines_.size()) {
          logical.pop_back();
          logical += Trim(lines_[++i]);
        }
      }
      entry.lineCount = i - entry.firstLine + 1;
      ++i;
      if (logical.empty() || logical[0] == ';') {
        entries_.push_back(std::move(entry));
        continue;
      }
      if (logical[0] == '[') {
        ParseSection(logical, entry);
        currentKey = entry.deleteKey ? std::string() : entry.key;
        entries_.push_back(std::move(entry));
        continue;
      }
      if (logical[0] != '"' && logical[0] != '@')
        Fail(entry.firstLine, "unexpected text \"" + logical + "\"");
      ParseValue(logical, entry);
      if (currentKey.empty()) Fail(entry.firstLine, "value outside a key section");
      TKey& key = keys_[KeyId(currentKey)];
      if (entry.deleteValue) {
        key.Erase(entry.value.name);
      } else {
        key.Set(entry.value);
      }
      entries_.push_back(std::move(entry));
    }
  }

  void ParseSection(const std::string& text, TEntry& entry) {
    if (text.back() != ']') Fail(entry.firstLine, "key section without closing \"]\"");
    std::string_view inner(text);
    inner = inner.substr(1, inner.size() - 2);
    if (!inner.empty() && inner[0] == '-') {
      entry.deleteKey = true;
      inner.remove_prefix(1);
    }
    const auto slash = inner.find('\\');
    const auto root = RegistryRootFromName(inner.substr(0, slash));
    if (!root)
      Fail(entry.firstLine,
           "unknown registry root \"" + std::string(inner.substr(0, slash)) + "\"");
    entry.kind = TEntry::TKind::Section;
    entry.key = FullKey(
        *root, slash == std::string_view::npos ? std::string_view() : inner.substr(slash + 1));
    const std::string id = KeyId(entry.key);
    if (entry.deleteKey) {
      for (auto it = keys_.begin(); it != keys_.end();) {
        const bool under = it->first == id || it->first.compare(0, id.size() + 1, id + "\\") == 0;
        it = under ? keys_.erase(it) : std::next(it);
      }
    } else {
      keys_[id];
    }
  }

  // Reads a quoted string starting at `pos` (on the opening quote); leaves `pos` after it.
  std::string ParseQuoted(const std::string& text, std::size_t& pos, std::size_t line,
                          const std::string& wholeLine) const {
    std::string out;
    for (++pos; pos < text.size(); ++pos) {
      const char c = text[pos];
      if (c == '"') {
        ++pos;
        return out;
      }
      if (c == '\\' && pos + 1 < text.size()) {
        const char n = text[++pos];
        // regedit escapes only backslash and quote; keep any other pair as written.
        if (n != '\\' && n != '"') out += '\\';
        out += n;
        continue;
      }
      out += c;
    }
    Fail(line, "missing closing quote in \"" + wholeLine + "\"");
  }

  void ParseValue(const std::string& text, TEntry& entry) {
    const std::size_t line = entry.firstLine;
    entry.kind = TEntry::TKind::Value;
    std::size_t pos = 0;
    if (text[0] == '@') {
      ++pos;
    } else {
      entry.value.name = ParseQuoted(text, pos, line, text);
    }
    while (pos < text.size() && text[pos] == ' ')
      ++pos;
    if (pos >= text.size() || text[pos] != '=')
      Fail(line, "expected \"=\" after the value name in \"" + text + "\"");
    ++pos;
    while (pos < text.size() && text[pos] == ' ')
      ++pos;
    const std::string data = text.substr(pos);
    TValue& v = entry.value;
    if (data == "-") {
      entry.deleteValue = true;
    } else if (!data.empty() && data[0] == '"') {
      std::size_t p = 0;
      v.type = kRegSz;
      v.text = ParseQuoted(data, p, line, text);
      if (!Trim(data.substr(p)).empty())
        Fail(line, "text after the closing quote in \"" + text + "\"");
    } else if (StartsText("dword:", data)) {
      const std::string digits = Trim(data.substr(6));
      if (digits.empty() || digits.size() > 8) Fail(line, "invalid dword value \"" + data + "\"");
      std::uint32_t n = 0;
      for (const char c : digits) {
        const int d = HexValue(c);
        if (d < 0) Fail(line, "invalid dword value \"" + data + "\"");
        n = (n << 4) | static_cast<std::uint32_t>(d);
      }
      v.type = kRegDword;
      for (int k = 0; k < 4; ++k)
        v.bytes += static_cast<char>((n >> (8 * k)) & 0xFF);
    } else if (StartsText("hex", data)) {
      std::size_t p = 3;
      v.type = 3;  // REG_BINARY
      if (p < data.size() && data[p] == '(') {
        const auto close = data.find(')', p);
        if (close == std::string::npos || close == p + 1 || close - p > 9)
          Fail(line, "invalid value type in \"" + data + "\"");
        std::uint32_t type = 0;
        for (std::size_t k = p + 1; k < close; ++k) {
          const int d = HexValue(data[k]);
          if (d < 0) Fail(line, "invalid value type in \"" + data + "\"");
          type = (type << 4) | static_cast<std::uint32_t>(d);
        }
        v.type = type;
        p = close + 1;
      }
      if (p >= data.size() || data[p] != ':') Fail(line, "expected \":\" in \"" + data + "\"");
      ++p;
      for (const auto& piece : Split(data.substr(p))) {
        const std::string byte = Trim(piece);
        if (byte.empty() && data.size() == p) break;
        if (byte.size() != 2 || HexValue(byte[0]) < 0 || HexValue(byte[1]) < 0)
          Fail(line, "invalid byte \"" + byte + "\" in \"" + data + "\"");
        v.bytes += static_cast<char>(HexValue(byte[0]) * 16 + HexValue(byte[1]));
      }
    } else {
      Fail(line, "invalid value data \"" + data + "\"");
    }
  }

  static std::vector<std::string> Split(const std::string& s) {
    std::vector<std::string> parts;
    std::size_t start = 0;
    while (true) {
      const auto comma = s.find(',', start);
      parts.push_back(s.substr(start, comma - start));
      if (comma == std::string::npos) break;
      start = comma + 1;
    }
    return parts;
  }

  std::string source_;
  std::string path_;  // empty: nothing is written
  TFileEncoding encoding_ = TFileEncoding::Utf8;
  std::string eol_ = "\r\n";
  bool finalEol_ = true;
  bool unicodeFile_ = true;
  std::vector<std::string> lines_;
  std::vector<TEntry> entries_;
  std::map<std::string, TKey> keys_;
};

class TRegistryFileKey : public IRegistryKey {
 public:
  TRegistryFileKey(std::shared_ptr<TRegistryFileModel> model, std::string fullKey, bool writable)
      : model_(std::move(model)), key_(std::move(fullKey)), writable_(writable) {}

  std::optional<std::string> ReadString(std::string_view name) const override {
    const TValue* v = model_->FindValue(key_, name);
    if (!v) return std::nullopt;
    if (v->type != kRegSz && v->type != kRegExpandSz) ThrowType(name);
    return model_->DecodeString(*v);
  }

  std::optional<std::int32_t> ReadInteger(std::string_view name) const override {
    const TValue* v = model_->FindValue(key_, name);
    if (!v) return std::nullopt;
    if (v->type != kRegDword || v->bytes.size() != 4) ThrowType(name);
    std::uint32_t n = 0;
    for (int k = 3; k >= 0; --k)
      n = (n << 8) | static_cast<unsigned char>(v->bytes[static_cast<std::size_t>(k)]);
    return static_cast<std::int32_t>(n);
  }

  std::vector<std::string> GetValueNames() const override { return model_->ValueNames(key_); }

  void WriteInteger(std::string_view name, std::int32_t value) override {
    CheckWritable();
    char digits[9];
    std::snprintf(digits, sizeof digits, "%08x", static_cast<std::uint32_t>(value));
    model_->WriteValueLine(key_, name, TRegistryFileModel::NameText(name) + "=dword:" + digits);
  }

  void WriteString(std::string_view name, std::string_view value) override {
    CheckWritable();
    model_->WriteValueLine(key_, name,
                           TRegistryFileModel::NameText(name) + "=" + QuoteRegText(value));
  }

 private:
  [[noreturn]] static void ThrowType(std::string_view name) {
    throw ERegistryException("Invalid data type for '" + std::string(name) + "'");
  }
  void CheckWritable() const {
    if (!writable_)
      throw ERegistryException("Failed to set data: key \"" + key_ + "\" is open read-only");
  }

  std::shared_ptr<TRegistryFileModel> model_;
  std::string key_;
  bool writable_;
};

class TRegistryFile : public IRegistry {
 public:
  explicit TRegistryFile(std::shared_ptr<TRegistryFileModel> model) : model_(std::move(model)) {}

  std::unique_ptr<IRegistryKey> OpenKeyReadOnly(TRegistryRoot root,
                                                std::string_view path) override {
    const std::string key = FullKey(root, path);
    if (!model_->KeyExists(key)) return nullptr;
    return std::make_unique<TRegistryFileKey>(model_, key, false);
  }

  std::unique_ptr<IRegistryKey> CreateKey(TRegistryRoot root, std::string_view path) override {
    const std::string key = FullKey(root, path);
    model_->CreateKey(key);
    return std::make_unique<TRegistryFileKey>(model_, key, true);
  }

 private:
  std::shared_ptr<TRegistryFileModel> model_;
};

}  // namespace

std::string RegistryRootName(TRegistryRoot root) {
  switch (root) {
    case TRegistryRoot::rkClassesRoot:
      return "HKEY_CLASSES_ROOT";
    case TRegistryRoot::rkCurrentUser:
      return "HKEY_CURRENT_USER";
    case TRegistryRoot::rkLocalMachine:
      return "HKEY_LOCAL_MACHINE";
    case TRegistryRoot::rkUsers:
      return "HKEY_USERS";
    case TRegistryRoot::rkCurrentConfig:
      return "HKEY_CURRENT_CONFIG";
  }
  return {};
}

std::optional<TRegistryRoot> RegistryRootFromName(std::string_view name) {
  static const std::pair<const char*, TRegistryRoot> kShort[] = {
      {"HKCR", TRegistryRoot::rkClassesRoot},
      {"HKCU", TRegistryRoot::rkCurrentUser},
      {"HKLM", TRegistryRoot::rkLocalMachine},
      {"HKU", TRegistryRoot::rkUsers},
      {"HKCC", TRegistryRoot::rkCurrentConfig}};
  for (const auto& [abbreviation, root] : kShort) {
    if (SameText(name, abbreviation) || SameText(name, RegistryRootName(root))) return root;
  }
  return std::nullopt;
}

std::shared_ptr<IRegistry> OpenRegistryFile(const std::string& path) {
  auto model = std::make_shared<TRegistryFileModel>(path, path);
  // A registry file that does not exist yet is an empty registry; the first write creates it.
  model->Load(machinepath::FileExists(path) ? ReadWholeFile(path) : std::string());
  return std::make_shared<TRegistryFile>(model);
}

std::shared_ptr<IRegistry> RegistryFromText(std::string_view bytes, const std::string& sourceName) {
  auto model = std::make_shared<TRegistryFileModel>(sourceName, std::string());
  model->Load(bytes);
  return std::make_shared<TRegistryFile>(model);
}

#ifndef _WIN32
bool HasSystemRegistry() {
  return false;
}

std::shared_ptr<IRegistry> OpenSystemRegistry() {
  return RegistryFromText("", "(no registry file)");
}
#endif

}  // namespace mx::platform
