#include "ProjectDiff.h"

#include <map>
#include <string_view>

#include "platform/StrUtils.h"

namespace mx::bcc {

std::vector<std::pair<std::string, std::string>> ElementValues(const platform::TXmlDocument& doc) {
  std::vector<std::pair<std::string, std::string>> values;
  const platform::TXmlNode root = doc.DocumentElement();
  // An explicit stack of the elements still to visit: the walk costs no recursion however deep
  // the document goes. Children are pushed last first, so they come out in document order.
  struct TPending {
    platform::TXmlNode Node;
    std::string Path;
  };
  std::vector<TPending> pending;
  const auto pushChildren = [&pending](const platform::TXmlNode& node, const std::string& path) {
    std::map<std::string, int> seen;
    std::vector<TPending> children;
    for (const auto& child : node.Elements()) {
      const int n = ++seen[child.Name()];
      children.push_back(
          {child, path + "/" + child.Name() + (n > 1 ? "[" + std::to_string(n) + "]" : "")});
    }
    pending.insert(pending.end(), children.rbegin(), children.rend());
  };
  pushChildren(root, "/" + root.Name());
  while (!pending.empty()) {
    const TPending next = std::move(pending.back());
    pending.pop_back();
    std::string value = next.Node.Attribute("value").value_or("");
    if (const auto text = next.Node.FirstTextChild(); text && next.Node.Elements().empty())
      value = text.Data();
    values.emplace_back(next.Path, value);
    pushChildren(next.Node, next.Path);
  }
  return values;
}

namespace {

// One item of a value as a tool reads it: a switch of a switch list, a folder of a path list.
struct TToken {
  std::string_view Text;  // as written
  std::string Key;        // as read: without quotes, a folder without its closing backslash
};

// The items of a value: a value with ";" is a list of folders, any other a list of switches
// separated by white space; quoted parts never split.
std::vector<TToken> Tokens(std::string_view value) {
  const bool folders = value.find(';') != std::string_view::npos;
  const auto separates = [folders](char c) {
    return folders ? c == ';' : c == ' ' || c == '\t' || c == '\r' || c == '\n';
  };
  std::vector<TToken> tokens;
  std::size_t i = 0;
  while (i < value.size()) {
    while (i < value.size() && separates(value[i]))
      ++i;
    const std::size_t start = i;
    bool quoted = false;
    while (i < value.size() && (quoted || !separates(value[i]))) {
      if (value[i] == '"') quoted = !quoted;
      ++i;
    }
    std::string_view text = value.substr(start, i - start);
    while (folders && !text.empty() && (text.front() == ' ' || text.front() == '\t'))
      text.remove_prefix(1);
    while (folders && !text.empty() && (text.back() == ' ' || text.back() == '\t'))
      text.remove_suffix(1);
    if (text.empty()) continue;
    std::string key;
    for (const char c : text) {
      if (c != '"') key += c;
    }
    if (folders && key.size() > 1 && key.back() == '\\') key.pop_back();
    tokens.push_back({text, std::move(key)});
  }
  return tokens;
}

std::vector<std::string> Keys(const std::vector<TToken>& tokens) {
  std::vector<std::string> keys;
  for (const auto& t : tokens)
    keys.push_back(t.Key);
  return keys;
}

// The lines of a text block that carry something: trailing blanks and empty lines are layout.
std::vector<std::string_view> ContentLines(std::string_view text) {
  std::vector<std::string_view> lines;
  std::size_t start = 0;
  while (start <= text.size()) {
    const std::size_t end = platform::FindLineBreak(text, start);
    std::string_view line =
        text.substr(start, end == std::string_view::npos ? std::string_view::npos : end - start);
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t'))
      line.remove_suffix(1);
    if (!line.empty()) lines.push_back(line);
    if (end == std::string_view::npos) break;
    start = end + (text.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

// The items of `from` that `other` lacks, counting repeats, in their order.
template <class T, class KeyOf>
std::vector<T> Missing(const std::vector<T>& from, const std::vector<T>& other, KeyOf key) {
  std::map<std::string, int> available;
  for (const auto& item : other)
    ++available[std::string(key(item))];
  std::vector<T> missing;
  for (const auto& item : from) {
    if (--available[std::string(key(item))] < 0) missing.push_back(item);
  }
  return missing;
}

// The lines that describe how one element's value changed: one line for a change of layout or
// order only, else the items or lines taken away and added.
std::string Describe(const std::string& path, const std::string& before, const std::string& after) {
  const bool block =
      before.find('\n') != std::string::npos || after.find('\n') != std::string::npos;
  if (block) {
    const auto oldLines = ContentLines(before);
    const auto newLines = ContentLines(after);
    if (oldLines == newLines) return path + ": only its layout changed\n";
    const auto same = [](std::string_view line) { return line; };
    const auto removed = Missing(oldLines, newLines, same);
    const auto added = Missing(newLines, oldLines, same);
    if (removed.empty() && added.empty()) return path + ": the same lines in another order\n";
    std::string out = path + "\n";
    for (const auto line : removed)
      out += "  - " + std::string(line) + "\n";
    for (const auto line : added)
      out += "  + " + std::string(line) + "\n";
    return out;
  }
  const auto oldTokens = Tokens(before);
  const auto newTokens = Tokens(after);
  const auto oldKeys = Keys(oldTokens);
  const auto newKeys = Keys(newTokens);
  if (oldKeys == newKeys) return path + ": only its layout changed\n";
  const auto key = [](const TToken& t) -> const std::string& { return t.Key; };
  const auto removed = Missing(oldTokens, newTokens, key);
  const auto added = Missing(newTokens, oldTokens, key);
  if (removed.empty() && added.empty()) return path + ": the same items in another order\n";
  std::string out = path + "\n";
  const auto line = [&out](const char* sign, const std::vector<TToken>& tokens) {
    if (tokens.empty()) return;
    out += sign;
    for (std::size_t i = 0; i < tokens.size(); ++i)
      out += (i ? " " : "") + std::string(tokens[i].Text);
    out += "\n";
  };
  line("  - ", removed);
  line("  + ", added);
  return out;
}

}  // namespace

std::string ProjectDiff(const platform::TXmlDocument& before, const platform::TXmlDocument& after) {
  const auto old = ElementValues(before);
  const std::map<std::string, std::string> oldValues(old.begin(), old.end());
  std::string out;
  for (const auto& [path, value] : ElementValues(after)) {
    const auto it = oldValues.find(path);
    if (it == oldValues.end()) {
      out += path + "\n  - (absent)\n  + " + value + "\n";
    } else if (it->second != value) {
      out += Describe(path, it->second, value);
    }
  }
  return out.empty() ? "No element changed\n" : out;
}

}  // namespace mx::bcc
