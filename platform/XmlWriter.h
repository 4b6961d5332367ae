#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace mx::platform {

/// Writes indented XML text: elements with attributes, text content and CDATA-free escaping.
/// Attribute values keep CR, LF and tab through character references, so any text survives a
/// save and a load unchanged.
class TXmlWriter {
 public:
  TXmlWriter();
  /// Opens an element; attributes follow with Attribute, then content or children.
  TXmlWriter& Open(std::string_view name);
  TXmlWriter& Attribute(std::string_view name, std::string_view value);
  /// Text content of the element just opened (written on one line with its tags).
  TXmlWriter& Text(std::string_view text);
  TXmlWriter& Close();
  /// The document; every element must be closed.
  std::string Result() const;

  static std::string EscapeAttribute(std::string_view value);
  static std::string EscapeText(std::string_view text);

 private:
  void FinishStartTag();
  std::string out_;
  std::vector<std::string> open_;
  bool inStartTag_ = false;
  bool hasChildren_ = false;
  bool hasText_ = false;
};

}  // namespace mx::platform
