#include "XmlDocument.h"

#include <libxml/SAX2.h>
#include <libxml/parser.h>
#include <libxml/parserInternals.h>
#include <libxml/tree.h>
#include <libxml/xmlsave.h>
#include <libxml/xpath.h>
#include <libxml/xpathInternals.h>

#include <cctype>
#include <cstdarg>
#include <cstdio>
#include <mutex>

#include "StrUtils.h"
#include "WholeFile.h"

namespace mx::platform {
namespace {

void InitLibxml() {
  static std::once_flag once;
  std::call_once(once, [] { xmlInitParser(); });
}

const xmlChar* X(const std::string& s) {
  return reinterpret_cast<const xmlChar*>(s.c_str());
}

std::string FromX(const xmlChar* s) {
  return s ? std::string(reinterpret_cast<const char*>(s)) : std::string();
}

std::string OwnedString(xmlChar* s) {
  std::string r = FromX(s);
  xmlFree(s);
  return r;
}

std::string LineOf(std::string_view text, int line) {
  if (line <= 0) return {};
  std::size_t pos = 0;
  for (int i = 1; i < line; ++i) {
    pos = text.find('\n', pos);
    if (pos == std::string_view::npos) return {};
    ++pos;
  }
  std::size_t end = text.find('\n', pos);
  if (end == std::string_view::npos) end = text.size();
  if (end > pos && text[end - 1] == '\r') --end;
  return std::string(text.substr(pos, end - pos));
}

// The first error of a load: later ones are usually consequences of it.
struct TFirstError {
  std::string message;
  int line = 0;
  bool set = false;
};

void RecordParserError(void* userData, xmlErrorPtr error) {
  auto* ctxt = static_cast<xmlParserCtxtPtr>(userData);
  auto* first = ctxt ? static_cast<TFirstError*>(ctxt->_private) : nullptr;
  if (!first || first->set || !error || error->level < XML_ERR_ERROR) return;
  first->set = true;
  first->message = error->message ? error->message : "";
  first->line = error->line;
  if (first->message.rfind("Excessive depth in document", 0) == 0) {
    // The parser's own limit (256 levels): far beyond any project or build script, and shallow
    // enough that every walk over a document stays well inside the stack.
    first->message =
        "elements are nested more than " + std::to_string(xmlParserMaxDepth) + " levels deep";
  }
}

// Entity declarations are refused outright: none of the files read here needs them, and an
// entity that expands into others ("billion laughs") could grow memory without bound.
void RefuseEntityDeclaration(void* userData, const xmlChar* name, int, const xmlChar*,
                             const xmlChar*, xmlChar*) {
  auto* ctxt = static_cast<xmlParserCtxtPtr>(userData);
  auto* first = static_cast<TFirstError*>(ctxt->_private);
  if (first && !first->set) {
    first->set = true;
    first->message = "entity declarations are not allowed (\"" + FromX(name) + "\")";
    first->line = xmlSAX2GetLineNumber(ctxt);
  }
  xmlStopParser(ctxt);
}

// libxml2 reports some errors (encodings, output) through its generic error function; this one
// keeps the first message for the caller instead of printing it.
void RecordGenericError(void* context, const char* format, ...) {
  auto* first = static_cast<std::string*>(context);
  if (!first->empty()) return;
  char text[512];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  *first = text;
  while (!first->empty() && (first->back() == '\n' || first->back() == ' '))
    first->pop_back();
  if (first->empty()) *first = "output error";
}

void IgnoreXPathError(void*, xmlErrorPtr) {}

struct TXPathResult {
  xmlXPathContextPtr context = nullptr;
  xmlXPathObjectPtr object = nullptr;
  ~TXPathResult() {
    if (object) xmlXPathFreeObject(object);
    if (context) xmlXPathFreeContext(context);
  }
};

}  // namespace

bool TXmlNode::IsElement() const {
  return node_ && node_->type == XML_ELEMENT_NODE;
}
bool TXmlNode::IsText() const {
  return node_ && (node_->type == XML_TEXT_NODE || node_->type == XML_CDATA_SECTION_NODE);
}
bool TXmlNode::IsComment() const {
  return node_ && node_->type == XML_COMMENT_NODE;
}

int TXmlNode::Line() const {
  return node_ ? static_cast<int>(xmlGetLineNo(node_)) : 0;
}

std::vector<TXmlNode> TXmlNode::Elements(std::string_view name) const {
  std::vector<TXmlNode> r;
  if (!node_) return r;
  for (xmlNode* c = node_->children; c; c = c->next) {
    if (c->type == XML_ELEMENT_NODE && (name.empty() || FromX(c->name) == name)) r.emplace_back(c);
  }
  return r;
}

std::string TXmlNode::Name() const {
  return IsElement() ? FromX(node_->name) : std::string();
}

std::optional<std::string> TXmlNode::Attribute(std::string_view name) const {
  if (!IsElement()) return std::nullopt;
  const std::string n(name);
  if (!xmlHasProp(node_, X(n))) return std::nullopt;
  return OwnedString(xmlGetProp(node_, X(n)));
}

void TXmlNode::SetAttribute(std::string_view name, std::string_view value) {
  if (!IsElement()) return;
  xmlSetProp(node_, X(std::string(name)), X(std::string(value)));
}

std::string TXmlNode::Data() const {
  return node_ ? OwnedString(xmlNodeGetContent(node_)) : std::string();
}

void TXmlNode::SetData(std::string_view data) {
  if (!node_) return;
  // Text and comment nodes take their content literally; no entity references are parsed.
  xmlNodeSetContentLen(node_, reinterpret_cast<const xmlChar*>(data.data()),
                       static_cast<int>(data.size()));
}

TXmlNode TXmlNode::FirstTextChild() const {
  if (!node_) return {};
  for (xmlNode* c = node_->children; c; c = c->next) {
    if (c->type == XML_TEXT_NODE || c->type == XML_CDATA_SECTION_NODE) return TXmlNode(c);
  }
  return {};
}

std::vector<TXmlNode> TXmlNode::CommentChildren() const {
  std::vector<TXmlNode> r;
  if (!node_) return r;
  for (xmlNode* c = node_->children; c; c = c->next) {
    if (c->type == XML_COMMENT_NODE) r.emplace_back(c);
  }
  return r;
}

std::vector<TXmlNode> TXmlNode::Children() const {
  std::vector<TXmlNode> r;
  if (!node_) return r;
  for (xmlNode* c = node_->children; c; c = c->next)
    r.emplace_back(c);
  return r;
}

void TXmlNode::AppendChild(TXmlNode child) {
  if (node_ && child.node_) xmlAddChild(node_, child.node_);
}

TXmlDocument TXmlDocument::LoadFromText(std::string_view text, const std::string& sourceName) {
  InitLibxml();
  xmlParserCtxtPtr ctxt = xmlNewParserCtxt();
  if (!ctxt) throw Exception("Cannot create an XML parser");
  // Errors go to RecordParserError instead of stderr.
  TFirstError first;
  ctxt->_private = &first;
  ctxt->sax->serror = RecordParserError;
  ctxt->sax->entityDecl = RefuseEntityDeclaration;
  // Blanks are kept (no XML_PARSE_NOBLANKS); no network access, no external DTD. Without
  // XML_PARSE_HUGE the parser keeps its limits on depth and on the size of single texts.
  const int options = XML_PARSE_NONET | XML_PARSE_NOWARNING;
  const std::string url = sourceName.empty() ? std::string("text") : sourceName;
  std::string generic;
  xmlSetGenericErrorFunc(&generic, RecordGenericError);
  xmlDocPtr doc = xmlCtxtReadMemory(ctxt, text.data(), static_cast<int>(text.size()), url.c_str(),
                                    nullptr, options);
  xmlSetGenericErrorFunc(nullptr, nullptr);
  // A stopped parser leaves the document well-formed as far as it went.
  if (!doc || !ctxt->wellFormed || ctxt->errNo == XML_ERR_USER_STOP) {
    std::string reason = first.set          ? first.message
                         : !generic.empty() ? generic
                                            : "the document is not well-formed";
    while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r'))
      reason.pop_back();
    const int line = first.line;
    if (doc) xmlFreeDoc(doc);
    xmlFreeParserCtxt(ctxt);
    throw EXmlLoadError(reason, LineOf(text, line), line);
  }
  xmlFreeParserCtxt(ctxt);
  return TXmlDocument(doc);
}

TXmlDocument TXmlDocument::LoadFromFile(const std::string& path) {
  return LoadFromText(ReadWholeFile(path), path);
}

TXmlDocument::TXmlDocument(TXmlDocument&& o) noexcept
    : doc_(o.doc_), namespaces_(std::move(o.namespaces_)) {
  o.doc_ = nullptr;
}

TXmlDocument& TXmlDocument::operator=(TXmlDocument&& o) noexcept {
  if (this != &o) {
    if (doc_) xmlFreeDoc(doc_);
    doc_ = o.doc_;
    namespaces_ = std::move(o.namespaces_);
    o.doc_ = nullptr;
  }
  return *this;
}

TXmlDocument::~TXmlDocument() {
  if (doc_) xmlFreeDoc(doc_);
}

void TXmlDocument::RegisterNamespace(std::string prefix, std::string uri) {
  namespaces_[std::move(prefix)] = std::move(uri);
}

std::vector<TXmlNode> TXmlDocument::SelectNodes(std::string_view xpath) const {
  TXPathResult r;
  r.context = xmlXPathNewContext(doc_);
  if (!r.context) throw Exception("Cannot create an XPath context");
  r.context->error = IgnoreXPathError;
  for (const auto& [prefix, uri] : namespaces_)
    xmlXPathRegisterNs(r.context, X(prefix), X(uri));
  const std::string expr(xpath);
  r.object = xmlXPathEvalExpression(X(expr), r.context);
  if (!r.object) throw Exception("Invalid XPath expression \"" + expr + "\"");
  std::vector<TXmlNode> nodes;
  if (r.object->type == XPATH_NODESET && r.object->nodesetval) {
    for (int i = 0; i < r.object->nodesetval->nodeNr; ++i)
      nodes.emplace_back(r.object->nodesetval->nodeTab[i]);
  }
  return nodes;
}

namespace {

// "/A/B/C" with plain element names: the first match in document order, found by walking the
// tree rather than compiling an XPath expression.
bool IsSimplePath(std::string_view xpath) {
  if (xpath.size() < 2 || xpath[0] != '/') return false;
  for (std::size_t i = 1; i < xpath.size(); ++i) {
    const char c = xpath[i];
    const bool name =
        std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '-' || c == '.';
    if (c == '/' ? (xpath[i - 1] == '/' || i + 1 == xpath.size()) : !name) return false;
  }
  return true;
}

xmlNodePtr FindPath(xmlNodePtr parent, std::string_view rest) {
  const auto slash = rest.find('/');
  const std::string_view name = rest.substr(0, slash);
  for (xmlNodePtr c = parent->children; c; c = c->next) {
    if (c->type != XML_ELEMENT_NODE || c->ns != nullptr ||
        name != reinterpret_cast<const char*>(c->name))
      continue;
    if (slash == std::string_view::npos) return c;
    if (xmlNodePtr found = FindPath(c, rest.substr(slash + 1))) return found;
  }
  return nullptr;
}

}  // namespace

TXmlNode TXmlDocument::SelectSingleNode(std::string_view xpath) const {
  if (IsSimplePath(xpath))
    return TXmlNode(FindPath(reinterpret_cast<xmlNodePtr>(doc_), xpath.substr(1)));
  const auto nodes = SelectNodes(xpath);
  return nodes.empty() ? TXmlNode() : nodes.front();
}

TXmlNode TXmlDocument::DocumentElement() const {
  return TXmlNode(xmlDocGetRootElement(doc_));
}

TXmlNode TXmlDocument::CreateTextNode(std::string_view text) {
  xmlNodePtr n = xmlNewDocTextLen(doc_, reinterpret_cast<const xmlChar*>(text.data()),
                                  static_cast<int>(text.size()));
  return TXmlNode(n);
}

TXmlNode TXmlDocument::CreateComment(std::string_view text) {
  xmlNodePtr n = xmlNewDocComment(doc_, X(std::string(text)));
  return TXmlNode(n);
}

std::string TXmlDocument::SaveToText() const {
  const char* encoding = doc_->encoding ? reinterpret_cast<const char*>(doc_->encoding) : "UTF-8";
  std::string error;
  xmlSetGenericErrorFunc(&error, RecordGenericError);
  xmlBufferPtr buffer = xmlBufferCreate();
  xmlSaveCtxtPtr save = buffer ? xmlSaveToBuffer(buffer, encoding, 0) : nullptr;
  const long written = save ? xmlSaveDoc(save, doc_) : -1;
  const int closed = save ? xmlSaveClose(save) : -1;
  xmlSetGenericErrorFunc(nullptr, nullptr);
  std::string text;
  if (buffer) {
    text.assign(reinterpret_cast<const char*>(xmlBufferContent(buffer)),
                static_cast<std::size_t>(xmlBufferLength(buffer)));
    xmlBufferFree(buffer);
  }
  // A document whose text cannot be written in the encoding it declares must not be saved half.
  if (written < 0 || closed < 0 || !error.empty()) {
    throw Exception(std::string("Cannot write the document in its encoding ") + encoding + ": " +
                    (error.empty() ? "output error" : error));
  }
  return text;
}

void TXmlDocument::SaveToFile(const std::string& path) const {
  WriteWholeFile(path, SaveToText());
}

}  // namespace mx::platform
