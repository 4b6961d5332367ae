#include "MemIniFile.h"

#include "Conversions.h"
#include "StrUtils.h"

namespace mx::platform {

void TMemIniFile::SetStrings(const TStringList& lines) {
  sections_.clear();
  for (const std::string& raw : lines) {
    const std::string line = Trim(raw);
    if (line.empty() || line[0] == ';') continue;
    if (line.front() == '[' && line.back() == ']') {
      sections_.push_back(TSection{Trim(std::string_view(line).substr(1, line.size() - 2)), {}});
      continue;
    }
    if (sections_.empty()) continue;
    TLine entry;
    const auto eq = line.find('=');
    if (eq == std::string::npos) {
      entry.name = line;  // kept verbatim; its name for look-ups is empty
    } else {
      entry.name = Trim(std::string_view(line).substr(0, eq));
      entry.value = Trim(std::string_view(line).substr(eq + 1));
      entry.hasValue = true;
    }
    sections_.back().lines.push_back(std::move(entry));
  }
}

const TMemIniFile::TSection* TMemIniFile::FindSection(std::string_view name) const {
  for (const auto& s : sections_) {
    if (SameText(s.name, name)) return &s;
  }
  return nullptr;
}

const TMemIniFile::TLine* TMemIniFile::FindKey(std::string_view section,
                                               std::string_view key) const {
  const TSection* s = FindSection(section);
  if (!s) return nullptr;
  for (const auto& l : s->lines) {
    if (l.hasValue && SameText(l.name, key)) return &l;
  }
  return nullptr;
}

std::string TMemIniFile::ReadString(std::string_view section, std::string_view key,
                                    std::string_view fallback) const {
  const TLine* l = FindKey(section, key);
  return l ? l->value : std::string(fallback);
}

std::int32_t TMemIniFile::ReadInteger(std::string_view section, std::string_view key,
                                      std::int32_t fallback) const {
  const TLine* l = FindKey(section, key);
  if (!l) return fallback;
  std::string text = l->value;
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
    text = "$" + text.substr(2);
  return StrToIntDef(text, fallback);
}

bool TMemIniFile::ReadBool(std::string_view section, std::string_view key, bool fallback) const {
  return ReadInteger(section, key, fallback ? 1 : 0) != 0;
}

std::vector<std::string> TMemIniFile::ReadSection(std::string_view section) const {
  std::vector<std::string> names;
  if (const TSection* s = FindSection(section)) {
    for (const auto& l : s->lines)
      names.push_back(l.hasValue ? l.name : std::string());
  }
  return names;
}

std::vector<std::string> TMemIniFile::ReadSectionValues(std::string_view section) const {
  std::vector<std::string> lines;
  if (const TSection* s = FindSection(section)) {
    for (const auto& l : s->lines)
      lines.push_back(l.hasValue ? l.name + "=" + l.value : l.name);
  }
  return lines;
}

std::vector<std::string> TMemIniFile::ReadSections() const {
  std::vector<std::string> names;
  for (const auto& s : sections_)
    names.push_back(s.name);
  return names;
}

bool TMemIniFile::SectionExists(std::string_view section) const {
  return FindSection(section) != nullptr;
}

bool TMemIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return FindKey(section, key) != nullptr;
}

}  // namespace mx::platform
