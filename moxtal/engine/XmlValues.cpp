#include "moxtal/api/XmlValues.h"

#include "platform/Conversions.h"
#include "platform/StrUtils.h"

namespace mx {

using platform::TXmlNode;

std::string GetXPath(std::string_view format, std::initializer_list<std::string_view> args) {
  std::string path;
  auto next = args.begin();
  for (std::size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == 's') {
      if (next != args.end()) path += *next++;
      ++i;
    } else if (format[i] == '%' && i + 1 < format.size() && format[i + 1] == '%') {
      path += '%';
      ++i;
    } else {
      path += format[i];
    }
  }
  return path;
}

bool GetBooleanNodeValue(const platform::TXmlDocument& document, std::string_view xpath,
                         bool fallback) {
  const TXmlNode node = document.SelectSingleNode(xpath);
  if (!node) return fallback;
  const std::string text = platform::Trim(node.Data());
  for (const char* yes : {"true", "yes", "1", "-1"}) {
    if (platform::SameText(text, yes)) return true;
  }
  for (const char* no : {"false", "no", "0"}) {
    if (platform::SameText(text, no)) return false;
  }
  return fallback;
}

std::int32_t GetIntNodeValue(const platform::TXmlDocument& document, std::string_view xpath,
                             std::int32_t fallback) {
  const TXmlNode node = document.SelectSingleNode(xpath);
  if (!node) return fallback;
  const std::string text = platform::Trim(node.Data());
  if (text.empty() || text.find_first_not_of("+-0123456789") != std::string::npos) return fallback;
  return platform::TryStrToInt(text).value_or(fallback);
}

std::string GetStringNodeValue(const platform::TXmlDocument& document, std::string_view xpath,
                               const std::string& fallback) {
  const TXmlNode node = document.SelectSingleNode(xpath);
  return node ? node.Data() : fallback;
}

platform::TStringList GetStringListNodeValue(const platform::TXmlDocument& document,
                                             std::string_view xpath) {
  platform::TStringList lines;
  for (const TXmlNode& node : document.SelectNodes(xpath))
    lines.Add(node.Attribute("Name").value_or(node.Name()) + "=" + node.Data());
  return lines;
}

}  // namespace mx
