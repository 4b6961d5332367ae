#pragma once
// Where the elements and attribute values of an XML text lie, so that a program can change a
// value in place, add or remove an element, and leave every other byte of the text as it was:
// comments, blank lines, quoting, the order of attributes, its own line ends.

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace mx::platform {

struct TXmlAttributeSpan {
  std::string Name;
  /// The value between its quotes, as written (entity references not replaced).
  std::size_t ValueBegin = 0;
  std::size_t ValueEnd = 0;
  char Quote = '"';
};

struct TXmlElementSpan {
  std::string Name;
  /// The "<" of the start tag.
  std::size_t Begin = 0;
  /// Just past the ">" of the start tag (of the whole element when it is empty, "<x/>").
  std::size_t StartTagEnd = 0;
  /// The "<" of the end tag; equal to StartTagEnd for an empty element.
  std::size_t EndTagBegin = 0;
  /// Just past the element.
  std::size_t End = 0;
  bool Empty = false;
  std::vector<TXmlAttributeSpan> Attributes;
  std::vector<TXmlElementSpan> Children;

  /// The attribute of that name, or nullptr.
  const TXmlAttributeSpan* Attribute(std::string_view name) const;
};

/// The root element of an XML text with every element below it. The text must be well-formed
/// (load it with TXmlDocument first); throws mx::Exception when the scanner loses its way.
TXmlElementSpan ScanXmlSpans(std::string_view text);

/// The line break the text uses: "\r\n" when it has one, else "\n".
std::string LineBreakOf(std::string_view text);

/// The blanks and tabs between the start of an element's line and the element; "" when other
/// text stands before it on its line.
std::string IndentOf(std::string_view text, const TXmlElementSpan& element);

/// Where an element added after `element` goes: the end of its line when only blanks and
/// comments follow it there, else just after it.
std::size_t EndOfLineAfter(std::string_view text, const TXmlElementSpan& element);

/// The indentation one level adds in this text (a tab, two spaces, ...), read off the root's
/// first child; two spaces when the text does not say.
std::string IndentStepOf(std::string_view text, const TXmlElementSpan& root);

/// Replacements of spans of a text, applied together; the spans must not overlap, and
/// insertions at one place keep the order in which they were made.
class TTextEdits {
 public:
  void Replace(std::size_t begin, std::size_t end, std::string text);
  void Insert(std::size_t at, std::string text) { Replace(at, at, std::move(text)); }
  /// Removes an element together with the line break and indentation before it, when nothing
  /// else shares its line.
  void RemoveElement(std::string_view text, const TXmlElementSpan& element);
  bool Empty() const { return edits_.empty(); }
  std::string ApplyTo(std::string_view text) const;

 private:
  struct TEdit {
    std::size_t Begin;
    std::size_t End;
    std::string Text;
    std::size_t Order;
  };
  std::vector<TEdit> edits_;
};

}  // namespace mx::platform
