#pragma once

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Exception.h"

struct _xmlNode;
struct _xmlDoc;

namespace mx::platform {

/// A document that could not be loaded: the parser's reason, the text of the offending source
/// line and its 1-based number (0 when the parser named none).
class EXmlLoadError : public Exception {
 public:
  EXmlLoadError(std::string reason, std::string sourceText, int line)
      : Exception(reason),
        reason_(std::move(reason)),
        sourceText_(std::move(sourceText)),
        line_(line) {}
  const std::string& Reason() const { return reason_; }
  const std::string& SourceText() const { return sourceText_; }
  int Line() const { return line_; }

 private:
  std::string reason_;
  std::string sourceText_;
  int line_;
};

/// A node of a TXmlDocument; a light handle that stays valid while its document lives.
class TXmlNode {
 public:
  TXmlNode() = default;
  explicit TXmlNode(_xmlNode* node) : node_(node) {}
  explicit operator bool() const { return node_ != nullptr; }

  bool IsElement() const;
  bool IsText() const;
  bool IsComment() const;
  /// The line of the source text the node started on (0 when unknown).
  int Line() const;
  /// The element's name ("" for other nodes).
  std::string Name() const;

  /// An attribute's value; nullopt when the element has no such attribute.
  std::optional<std::string> Attribute(std::string_view name) const;
  void SetAttribute(std::string_view name, std::string_view value);

  /// The data of a text or comment node.
  std::string Data() const;
  void SetData(std::string_view data);

  /// The element's first child that is a text node (CDATA counts), or an empty handle.
  TXmlNode FirstTextChild() const;
  /// The element's comment children, in document order.
  std::vector<TXmlNode> CommentChildren() const;
  std::vector<TXmlNode> Children() const;
  /// The element children named `name` (all element children when `name` is empty).
  std::vector<TXmlNode> Elements(std::string_view name = {}) const;
  /// Appends a node made by the same document.
  void AppendChild(TXmlNode child);

  _xmlNode* Native() const { return node_; }

 private:
  _xmlNode* node_ = nullptr;
};

/// An XML document on libxml2, loaded with its white space preserved. A load followed by a save
/// keeps every element path, attribute value and text content.
class TXmlDocument {
 public:
  /// Loads a file; throws EXmlLoadError when it is not well-formed, EFOpenError when it cannot
  /// be read.
  static TXmlDocument LoadFromFile(const std::string& path);
  /// Loads text; `sourceName` only names the text in messages.
  static TXmlDocument LoadFromText(std::string_view text, const std::string& sourceName = "");

  TXmlDocument(TXmlDocument&&) noexcept;
  TXmlDocument& operator=(TXmlDocument&&) noexcept;
  ~TXmlDocument();

  /// Binds a prefix for the XPath expressions of this document ("msb" for the MSBuild
  /// namespace, say).
  void RegisterNamespace(std::string prefix, std::string uri);
  /// The first node an XPath 1.0 expression selects, or an empty handle. Throws mx::Exception
  /// for an invalid expression.
  TXmlNode SelectSingleNode(std::string_view xpath) const;
  /// Every node the expression selects, in document order.
  std::vector<TXmlNode> SelectNodes(std::string_view xpath) const;

  TXmlNode DocumentElement() const;
  TXmlNode CreateTextNode(std::string_view text);
  TXmlNode CreateComment(std::string_view text);

  /// The document as text, in the encoding its declaration names (UTF-8 without one).
  std::string SaveToText() const;
  /// Writes SaveToText() to a file; throws EFOpenError when it cannot be written.
  void SaveToFile(const std::string& path) const;

 private:
  explicit TXmlDocument(_xmlDoc* doc) : doc_(doc) {}
  _xmlDoc* doc_ = nullptr;
  std::map<std::string, std::string> namespaces_;
};

}  // namespace mx::platform
