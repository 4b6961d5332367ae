#include "XmlWriter.h"

namespace mx::platform {

TXmlWriter::TXmlWriter() {
  out_ = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
}

namespace {
// Markup characters always; in attributes also the white space that loading would normalise,
// in text a bare CR (loading turns it into LF).
std::string Escape(std::string_view text, bool attribute) {
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
        r += attribute ? "&quot;" : "\"";
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

std::string TXmlWriter::EscapeAttribute(std::string_view value) {
  return Escape(value, true);
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
  if (!open_.empty()) out_ += "\n";
  out_.append(2 * open_.size(), ' ');
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
    if (!hasText_) {
      out_ += "\n";
      out_.append(2 * open_.size(), ' ');
    }
    out_ += "</" + name + ">";
  }
  hasChildren_ = true;
  hasText_ = false;
  return *this;
}

std::string TXmlWriter::Result() const {
  return out_ + "\n";
}

}  // namespace mx::platform
