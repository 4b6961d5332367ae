#include "ProjectDiff.h"

#include <map>

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

std::string ProjectDiff(const platform::TXmlDocument& before, const platform::TXmlDocument& after) {
  const auto old = ElementValues(before);
  const std::map<std::string, std::string> oldValues(old.begin(), old.end());
  std::string out;
  for (const auto& [path, value] : ElementValues(after)) {
    const auto it = oldValues.find(path);
    if (it != oldValues.end() && it->second == value) continue;
    out += path + "\n  - " + (it == oldValues.end() ? "(absent)" : it->second) + "\n  + " + value +
           "\n";
  }
  return out.empty() ? "No element changed\n" : out;
}

}  // namespace mx::bcc
