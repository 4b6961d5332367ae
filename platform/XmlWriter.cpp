#include "XmlWriter.h"

#include "CodePage.h"

namespace mx::platform {

TXmlWriter::TXmlWriter() {
  out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
}

TXmlWriter::TXmlWriter(std::string indent, std::string step, std::string lineBreak)
    : indent_(std::move(indent)),
      step_(std::move(step)),
      lineBreak_(std::move(lineBreak)),
      fragment_(true) {}

void TXmlWriter::Break(std::size_t depth) {
  out_ += lineBreak_;
  out_ += indent_;
  for (std::size_t i = 0; i < depth; ++i)
    out_ += step_;
}

namespace {
// Markup characters always; in attributes also the white space that loading would normalise,
// in text a bare CR (loading turns it into LF).
std::string Escape(std::string_view text, bool attribute, char quote = '"') {
  std::string r;
  r.reserve(text.size());
  for (const char c : text) {
    switch (c) {
      case '&':
        r += "&amp;";
        break;
      case '<':
        r += "&lt;";
        break;
      case '>':
        r += "&gt;";
        break;
      case '"':
        r += attribute && quote == '"' ? "&quot;" : "\"";
        break;
      case '\'':
        r += attribute && quote == '\'' ? "&apos;" : "'";
        break;
      case '\r':
        r += "&#13;";
        break;
      case '\n':
        r += attribute ? "&#10;" : "\n";
        break;
      case '\t':
        r += attribute ? "&#9;" : "\t";
        break;
      default:
        r += c;
    }
  }
  return r;
}
}  // namespace

std::string TXmlWriter::EscapeAttribute(std::string_view value, char quote) {
  return Escape(value, true, quote);
}

std::string TXmlWriter::EscapeText(std::string_view text) {
  return Escape(text, false);
}

void TXmlWriter::FinishStartTag() {
  if (inStartTag_) {
    out_ += ">";
    inStartTag_ = false;
  }
}

TXmlWriter& TXmlWriter::Open(std::string_view name) {
  FinishStartTag();
  if (!open_.empty() || (fragment_ && !out_.empty())) {
    Break(open_.size());
  } else {
    out_ += indent_;
  }
  out_ += "<";
  out_ += name;
  open_.emplace_back(name);
  inStartTag_ = true;
  hasChildren_ = false;
  hasText_ = false;
  return *this;
}

TXmlWriter& TXmlWriter::Attribute(std::string_view name, std::string_view value) {
  out_ += " ";
  out_ += name;
  out_ += "=\"";
  out_ += EscapeAttribute(value);
  out_ += "\"";
  return *this;
}

TXmlWriter& TXmlWriter::Text(std::string_view text) {
  FinishStartTag();
  out_ += EscapeText(text);
  hasText_ = true;
  return *this;
}

TXmlWriter& TXmlWriter::Close() {
  const std::string name = open_.back();
  open_.pop_back();
  if (inStartTag_) {
    out_ += "/>";
    inStartTag_ = false;
  } else {
    if (!hasText_) Break(open_.size());
    out_ += "</" + name + ">";
  }
  hasChildren_ = true;
  hasText_ = false;
  return *this;
}

std::string TXmlWriter::Result() const {
  return fragment_ ? out_ : out_ + "\n";
}

std::optional<std::string> XmlTextProblem(std::string_view text) {
  const auto hex = [](unsigned value, int digits) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string s(static_cast<std::size_t>(digits), '0');
    for (int i = digits - 1; i >= 0; --i, value >>= 4)
      s[static_cast<std::size_t>(i)] = kDigits[value & 15];
    return s;
  };
  for (std::size_t i = 0; i < text.size();) {
    const std::size_t start = i;
    const auto byte = static_cast<unsigned char>(text[i]);
    const char32_t code = NextUtf8CodePoint(text, i);
    // A real U+FFFD is three bytes long; a byte that is not UTF-8 gives it and one byte.
    if (code == 0xFFFD && i - start != 3) {
      return "the byte 0x" + hex(byte, 2) + " at offset " + std::to_string(start) +
             " is not UTF-8 text";
    }
    if ((code < 0x20 && code != 0x09 && code != 0x0A && code != 0x0D) || code == 0xFFFE ||
        code == 0xFFFF) {
      return "the control character U+" + hex(code, 4) + " at offset " + std::to_string(start) +
             " cannot be stored in XML";
    }
  }
  return std::nullopt;
}

}  // namespace mx::platform
