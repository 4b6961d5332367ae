#pragma once
// The host's readers of values in XML documents (project files of the IDE): a path made from a
// template, and a node's text read as a Boolean, a number, a text or a list of name=value lines.
// A missing node gives the default; so does a text that is not of the kind asked for.

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/StringList.h"
#include "platform/XmlDocument.h"

namespace mx {

/// `format` with each "%s" replaced by the next of `args`, in order ("%%" is one "%").
std::string GetXPath(std::string_view format, std::initializer_list<std::string_view> args);

/// The text of the first node `xpath` selects, trimmed: "true", "yes", "1" and "-1" are true,
/// "false", "no" and "0" false (letter case ignored); anything else gives `fallback`.
bool GetBooleanNodeValue(const platform::TXmlDocument& document, std::string_view xpath,
                         bool fallback);
/// The text of the first node, trimmed, as a decimal integer; otherwise `fallback`.
std::int32_t GetIntNodeValue(const platform::TXmlDocument& document, std::string_view xpath,
                             std::int32_t fallback);
/// The text of the first node as it is (an empty element gives ""); `fallback` when there is
/// no node.
std::string GetStringNodeValue(const platform::TXmlDocument& document, std::string_view xpath,
                               const std::string& fallback);
/// One line "name=text" for every node `xpath` selects, in document order: the name is the
/// node's "Name" attribute, or its element name when it has none.
platform::TStringList GetStringListNodeValue(const platform::TXmlDocument& document,
                                             std::string_view xpath);

}  // namespace mx
