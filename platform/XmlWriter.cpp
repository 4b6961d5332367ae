#include "XmlWriter.h"

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
    const auto byte = static_cast<unsigned char>(text[i]);
    const std::size_t length = byte < 0x80         ? 1
                               : (byte >> 5) == 6  ? 2
                               : (byte >> 4) == 14 ? 3
                               : (byte >> 3) == 30 ? 4
                                                   : 0;
    unsigned code = length == 1   ? byte
                    : length == 2 ? byte & 0x1F
                    : length == 3 ? byte & 0x0F
                                  : byte & 0x07;
    bool valid = length != 0 && i + length <= text.size();
    for (std::size_t k = 1; valid && k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      valid = (next >> 6) == 2;
      code = (code << 6) | (next & 0x3F);
    }
    // Overlong forms, surrogates and values beyond Unicode are not UTF-8 either.
    static const unsigned kMinimum[] = {0, 0, 0x80, 0x800, 0x10000};
    valid =
        valid && code >= kMinimum[length] && code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF);
    if (!valid) {
      return "the byte 0x" + hex(byte, 2) + " at offset " + std::to_string(i) +
             " is not UTF-8 text";
    }
    if ((code < 0x20 && code != 0x09 && code != 0x0A && code != 0x0D) || code == 0xFFFE ||
        code == 0xFFFF) {
      return "the control character U+" + hex(code, 4) + " at offset " + std::to_string(i) +
             " cannot be stored in XML";
    }
    i += length;
  }
  return std::nullopt;
}

}  // namespace mx::platform
