#include "XmlSpans.h"

#include <algorithm>

#include "Exception.h"

namespace mx::platform {
namespace {

bool IsNameEnd(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '/' || c == '>' || c == '=';
}

class TScanner {
 public:
  explicit TScanner(std::string_view text) : text_(text) {}

  TXmlElementSpan Scan() {
    // Elements open and close on an explicit stack: depth costs no recursion.
    std::vector<TXmlElementSpan> open;
    TXmlElementSpan root;
    bool haveRoot = false;
    while (pos_ < text_.size()) {
      const std::size_t lt = text_.find('<', pos_);
      if (lt == std::string_view::npos) break;
      pos_ = lt;
      if (StartsWith("<!--")) {
        Skip("-->");
      } else if (StartsWith("<![CDATA[")) {
        Skip("]]>");
      } else if (StartsWith("<?")) {
        Skip("?>");
      } else if (StartsWith("<!")) {
        SkipDeclaration();
      } else if (StartsWith("</")) {
        if (open.empty()) Fail("an end tag without its start");
        const std::size_t gt = text_.find('>', pos_);
        if (gt == std::string_view::npos) Fail("an unfinished end tag");
        TXmlElementSpan element = std::move(open.back());
        open.pop_back();
        element.EndTagBegin = pos_;
        element.End = gt + 1;
        pos_ = gt + 1;
        if (!Attach(open, root, haveRoot, std::move(element))) break;
      } else {
        TXmlElementSpan element = StartTag();
        if (element.Empty) {
          if (!Attach(open, root, haveRoot, std::move(element))) break;
        } else {
          open.push_back(std::move(element));
        }
      }
    }
    if (!haveRoot || !open.empty()) Fail("no complete root element");
    return root;
  }

 private:
  [[noreturn]] void Fail(const std::string& what) const {
    throw Exception("Cannot scan the XML text at offset " + std::to_string(pos_) + ": " + what);
  }

  bool StartsWith(std::string_view s) const { return text_.substr(pos_, s.size()) == s; }

  void Skip(std::string_view terminator) {
    const std::size_t at = text_.find(terminator, pos_);
    if (at == std::string_view::npos) Fail("an unfinished construct");
    pos_ = at + terminator.size();
  }

  // "<!DOCTYPE ... [ ... ]>": brackets may hold declarations with their own ">".
  void SkipDeclaration() {
    int brackets = 0;
    for (; pos_ < text_.size(); ++pos_) {
      const char c = text_[pos_];
      if (c == '[') ++brackets;
      if (c == ']') --brackets;
      if (c == '>' && brackets == 0) {
        ++pos_;
        return;
      }
    }
    Fail("an unfinished declaration");
  }

  std::string Name() {
    const std::size_t begin = pos_;
    while (pos_ < text_.size() && !IsNameEnd(text_[pos_]))
      ++pos_;
    return std::string(text_.substr(begin, pos_ - begin));
  }

  void SkipBlanks() {
    while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t' ||
                                   text_[pos_] == '\r' || text_[pos_] == '\n'))
      ++pos_;
  }

  TXmlElementSpan StartTag() {
    TXmlElementSpan element;
    element.Begin = pos_;
    ++pos_;
    element.Name = Name();
    while (true) {
      SkipBlanks();
      if (pos_ >= text_.size()) Fail("an unfinished start tag");
      if (StartsWith("/>")) {
        pos_ += 2;
        element.Empty = true;
        element.StartTagEnd = element.EndTagBegin = element.End = pos_;
        return element;
      }
      if (text_[pos_] == '>') {
        element.StartTagEnd = ++pos_;
        return element;
      }
      TXmlAttributeSpan attribute;
      attribute.Name = Name();
      SkipBlanks();
      if (pos_ >= text_.size() || text_[pos_] != '=') Fail("an attribute without a value");
      ++pos_;
      SkipBlanks();
      if (pos_ >= text_.size() || (text_[pos_] != '"' && text_[pos_] != '\'')) {
        Fail("an attribute value without quotes");
      }
      attribute.Quote = text_[pos_];
      attribute.ValueBegin = ++pos_;
      const std::size_t close = text_.find(attribute.Quote, pos_);
      if (close == std::string_view::npos) Fail("an unfinished attribute value");
      attribute.ValueEnd = close;
      pos_ = close + 1;
      element.Attributes.push_back(std::move(attribute));
    }
  }

  // Hands a finished element to its parent; false once the root is complete.
  static bool Attach(std::vector<TXmlElementSpan>& open, TXmlElementSpan& root, bool& haveRoot,
                     TXmlElementSpan element) {
    if (!open.empty()) {
      open.back().Children.push_back(std::move(element));
      return true;
    }
    root = std::move(element);
    haveRoot = true;
    return false;
  }

  std::string_view text_;
  std::size_t pos_ = 0;
};

}  // namespace

const TXmlAttributeSpan* TXmlElementSpan::Attribute(std::string_view name) const {
  for (const auto& a : Attributes) {
    if (a.Name == name) return &a;
  }
  return nullptr;
}

TXmlElementSpan ScanXmlSpans(std::string_view text) {
  return TScanner(text).Scan();
}

std::string LineBreakOf(std::string_view text) {
  return text.find("\r\n") != std::string_view::npos ? "\r\n" : "\n";
}

std::string IndentOf(std::string_view text, const TXmlElementSpan& element) {
  std::size_t begin = element.Begin;
  while (begin > 0 && (text[begin - 1] == ' ' || text[begin - 1] == '\t'))
    --begin;
  if (begin > 0 && text[begin - 1] != '\n') return {};
  return std::string(text.substr(begin, element.Begin - begin));
}

std::size_t EndOfLineAfter(std::string_view text, const TXmlElementSpan& element) {
  std::size_t pos = element.End;
  while (pos < text.size()) {
    const char c = text[pos];
    if (c == ' ' || c == '\t') {
      ++pos;
    } else if (text.substr(pos, 4) == "<!--") {
      const std::size_t close = text.find("-->", pos);
      if (close == std::string_view::npos ||
          text.substr(pos, close - pos).find('\n') != std::string_view::npos)
        return element.End;
      pos = close + 3;
    } else if (c == '\r' || c == '\n') {
      return pos;
    } else {
      return element.End;
    }
  }
  return element.End;
}

std::string IndentStepOf(std::string_view text, const TXmlElementSpan& root) {
  if (root.Children.empty()) return "  ";
  const std::string outer = IndentOf(text, root);
  const std::string inner = IndentOf(text, root.Children.front());
  if (inner.size() <= outer.size() || inner.compare(0, outer.size(), outer) != 0) return "  ";
  return inner.substr(outer.size());
}

void TTextEdits::Replace(std::size_t begin, std::size_t end, std::string text) {
  edits_.push_back({begin, end, std::move(text), edits_.size()});
}

void TTextEdits::RemoveElement(std::string_view text, const TXmlElementSpan& element) {
  std::size_t begin = element.Begin;
  while (begin > 0 && (text[begin - 1] == ' ' || text[begin - 1] == '\t'))
    --begin;
  if (begin > 0 && text[begin - 1] == '\n') {
    --begin;
    if (begin > 0 && text[begin - 1] == '\r') --begin;
  } else {
    begin = element.Begin;
  }
  Replace(begin, element.End, "");
}

std::string TTextEdits::ApplyTo(std::string_view text) const {
  std::vector<TEdit> sorted = edits_;
  std::sort(sorted.begin(), sorted.end(), [](const TEdit& a, const TEdit& b) {
    return a.Begin != b.Begin ? a.Begin < b.Begin : a.Order < b.Order;
  });
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  for (const auto& e : sorted) {
    if (e.Begin < pos) throw Exception("Overlapping edits of a text");
    out.append(text.substr(pos, e.Begin - pos));
    out += e.Text;
    pos = e.End;
  }
  out.append(text.substr(pos));
  return out;
}

}  // namespace mx::platform
