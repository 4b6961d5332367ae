#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace mx::platform {

/// Writes indented XML text: elements with attributes, text content and CDATA-free escaping.
/// Attribute values keep CR, LF and tab through character references, so any text survives a
/// save and a load unchanged.
class TXmlWriter {
 public:
  /// A document, with its XML declaration.
  TXmlWriter();
  /// A fragment to stand inside another text: no declaration, every element line indented by
  /// `indent` first and by `step` for each level, lines broken by `lineBreak`.
  TXmlWriter(std::string indent, std::string step, std::string lineBreak);
  /// Opens an element; attributes follow with Attribute, then content or children.
  TXmlWriter& Open(std::string_view name);
  TXmlWriter& Attribute(std::string_view name, std::string_view value);
  /// Text content of the element just opened (written on one line with its tags).
  TXmlWriter& Text(std::string_view text);
  TXmlWriter& Close();
  /// The document (with a final line break) or the fragment (without); every element must be
  /// closed.
  std::string Result() const;

  /// An attribute value ready to stand between the given quotes.
  static std::string EscapeAttribute(std::string_view value, char quote = '"');
  static std::string EscapeText(std::string_view text);

 private:
  void FinishStartTag();
  void Break(std::size_t depth);
  std::string indent_;
  std::string step_ = "  ";
  std::string lineBreak_ = "\n";
  bool fragment_ = false;
  std::string out_;
  std::vector<std::string> open_;
  bool inStartTag_ = false;
  bool hasChildren_ = false;
  bool hasText_ = false;
};

/// Why a text cannot be stored in an XML file, or nullopt when it can: bytes that are not UTF-8,
/// or a character XML does not allow (control characters other than tab, line feed and carriage
/// return). The reason names the offending character and its byte offset.
std::optional<std::string> XmlTextProblem(std::string_view text);

}  // namespace mx::platform
