#include "persistence/XMLDocument.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <istream>
#include <iterator>
#include <ostream>
#include <sstream>
#include <utility>

#include "persistence/XMLCharacters.h"
#include "persistence/XMLErrors.h"
#include "persistence/XMLValues.h"
#include "platform/Files.h"

namespace zp::xml {

namespace {

// Comments and processing instructions are kept: inside GenoType they are
// children that are no gene, and the reader must see them to refuse them.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi;

std::string ParseMessage(const pugi::xml_parse_result& result) {
  const std::string where = std::string(result.description()) + " at offset " + std::to_string(result.offset);
  // A file without any element, such as a text file, is simply not XML.
  if (result.status == pugi::status_no_document_element) return "not an XML document (" + where + ")";
  return where;
}

std::shared_ptr<pugi::xml_document> ParseBuffer(std::string_view text, const std::string& source) {
  // Only UTF-8 text that XML can carry is read, so that whatever loads can be
  // written again (the writer writes UTF-8) and reads back the same.
  const std::string fault = DocumentTextFault(text);
  if (!fault.empty()) throw EXMLDocError(source, fault);
  auto doc = std::make_shared<pugi::xml_document>();
  const pugi::xml_parse_result result = doc->load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_utf8);
  if (!result) throw EXMLDocError(source, ParseMessage(result));
  return doc;
}

// The writer leaves a carriage return in text as it is, and every reader
// reads it as a line feed; written as a reference it reads back as itself.
// Indentation holds none, so every one left in the text belongs to a value.
std::string WithCarriageReturnsAsReferences(std::string text) {
  if (text.find('\r') == std::string::npos) return text;
  std::string escaped;
  escaped.reserve(text.size() + 64);
  for (const char c : text) {
    if (c == '\r')
      escaped += "&#13;";
    else
      escaped += c;
  }
  return escaped;
}

// A text of blanks alone is dropped by every reader as mere layout, so such a
// text (a name " ") is written as references, which read back as themselves.
// The writer puts an element with text on one line, "<Name>text</Name>", and
// an element with children never closes right after blanks of its own, so
// "<X>", blanks, "</X>" is always a text. Runs after the carriage returns
// became "&#13;", which may stand among the blanks.
std::string WithBlankTextsAsReferences(const std::string& text) {
  std::string out;
  size_t copied = 0;
  for (size_t close = text.find("</"); close != std::string::npos; close = text.find("</", close + 2)) {
    // The blanks (and references to carriage returns) just before "</".
    size_t start = close;
    while (start > 0) {
      const char c = text[start - 1];
      if (c == ' ' || c == '\t' || c == '\n') {
        --start;
      } else if (start >= 5 && text.compare(start - 5, 5, "&#13;") == 0) {
        start -= 5;
      } else {
        break;
      }
    }
    if (start == close || start == 0 || text[start - 1] != '>') continue;
    // The tag that ">" ends must open the element that "</" closes.
    const size_t open = text.rfind('<', start - 1);
    if (open == std::string::npos || text[open + 1] == '/' || text[start - 2] == '/') continue;
    const size_t name_end = text.find_first_of(" >", open + 1);
    const size_t close_end = text.find('>', close);
    if (close_end == std::string::npos ||
        text.compare(open + 1, name_end - open - 1, text, close + 2, close_end - close - 2) != 0)
      continue;
    out.append(text, copied, start - copied);
    for (size_t i = start; i < close; ++i) {
      if (text[i] == '&') {
        out += "&#13;";
        i += 4;
      } else {
        out += text[i] == ' ' ? "&#32;" : text[i] == '\t' ? "&#9;" : "&#10;";
      }
    }
    copied = close;
  }
  if (copied == 0) return text;
  out.append(text, copied, std::string::npos);
  return out;
}

// The document layer's errors are its own kind of file error.
template <class F>
auto AsDocumentError(F&& Action) {
  try {
    return Action();
  } catch (const EFileError& e) {
    throw EXMLDocError(e.FileName(), e.Reason());
  }
}

std::string DocumentMarkupFault(size_t tags, size_t attributes) {
  const std::string limit = std::to_string(kMaxDocumentTags);
  if (tags > kMaxDocumentTags) return "the file holds more than " + limit + " tags, the limit for a document";
  return "the file holds " + std::to_string(tags) + " tags and " + std::to_string(attributes) +
         " attributes, more than the " + limit + " of both together that a document may hold";
}

std::string ReadWholeFile(const std::string& file_name) {
  std::string data =
      AsDocumentError([&] { return ReadRegularFile(file_name, kMaxDocumentFileBytes, "the limit for a document"); });
  // Each tag becomes a node of the parsed tree and each attribute a record of
  // nearly the same size, so the two share one limit.
  const auto tags = static_cast<size_t>(std::count(data.begin(), data.end(), '<'));
  const size_t attributes = tags > kMaxDocumentTags ? 0 : AttributeBound(data);
  if (tags + attributes > kMaxDocumentTags) throw EXMLDocError(file_name, DocumentMarkupFault(tags, attributes));
  return data;
}

}  // namespace

TXMLDocument::TXMLDocument() : doc_(std::make_shared<pugi::xml_document>()) {}

TXMLDocument TXMLDocument::Create(const char* RootName) {
  auto doc = std::make_shared<pugi::xml_document>();
  doc->append_child(pugi::node_declaration).append_attribute("version").set_value("1.0");
  doc->append_child(RootName);
  return TXMLDocument(std::move(doc));
}

TXMLDocument TXMLDocument::LoadFromFile(const std::string& FileName) {
  return TXMLDocument(ParseBuffer(ReadWholeFile(FileName), FileName));
}

TXMLDocument TXMLDocument::Parse(std::string_view Text) { return TXMLDocument(ParseBuffer(Text, "")); }

void TXMLDocument::LoadFromStream(std::istream& Stream) {
  const std::string text((std::istreambuf_iterator<char>(Stream)), std::istreambuf_iterator<char>());
  if (Stream.bad()) throw EXMLDocError("", "cannot read the stream");
  // Parse into a new tree first: a bad text leaves this document as it was.
  auto doc = ParseBuffer(text, "");
  doc_->reset(*doc);
}

std::string TXMLDocument::XML() const {
  std::ostringstream out;
  doc_->save(out, "  ", pugi::format_indent, pugi::encoding_utf8);
  return WithBlankTextsAsReferences(WithCarriageReturnsAsReferences(std::move(out).str()));
}

void TXMLDocument::SaveToStream(std::ostream& Stream) const {
  const std::string text = XML();
  Stream.write(text.data(), static_cast<std::streamsize>(text.size()));
  Stream.flush();
  if (!Stream) throw EXMLDocError("", "cannot write the stream");
}

pugi::xml_node TXMLDocument::Root(const char* Name) const {
  pugi::xml_node root = doc_->document_element();
  if (!root || std::strcmp(root.name(), Name) != 0) throw EIntfCastError(root ? root.name() : "");
  return root;
}

void TXMLDocument::SaveToFile(const std::string& FileName) const { WriteFileAtomically(FileName, XML()); }

void WriteFileAtomically(const std::string& FileName, std::string_view Text) {
  AsDocumentError([&] { zp::WriteFileAtomically(FileName, Text); });
}

std::vector<pugi::xml_node> TXMLNode::ChildNodes() const {
  std::vector<pugi::xml_node> nodes;
  for (pugi::xml_node n = node_.first_child(); n; n = n.next_sibling()) nodes.push_back(n);
  return nodes;
}

pugi::xml_node TXMLNode::ChildElement(const char* Name) const {
  pugi::xml_node node = node_;  // a handle: the document is shared, not this wrapper
  pugi::xml_node child = node.child(Name);
  return child ? child : node.append_child(Name);
}

std::string_view NodeText(pugi::xml_node Node) {
  for (pugi::xml_node child = Node.first_child(); child; child = child.next_sibling()) {
    switch (child.type()) {
      case pugi::node_pcdata:
        continue;
      case pugi::node_cdata:
        throw EGADocumentError::NotPlainText(Node.name(), "a CDATA section");
      case pugi::node_comment:
        throw EGADocumentError::NotPlainText(Node.name(), "a comment");
      case pugi::node_element:
        throw EGADocumentError::NotPlainText(Node.name(), std::string("the element ") + child.name());
      default:
        throw EGADocumentError::NotPlainText(Node.name(), "a processing instruction");
    }
  }
  return Node.text().get();
}

std::string_view TXMLNode::ChildText(const char* Name) const { return NodeText(node_.child(Name)); }

void TXMLNode::SetChildText(const char* Name, std::string_view Text) const {
  if (!IsXMLText(Text)) throw EGADocumentError::UncarriableText(Name);
  ChildElement(Name).text().set(std::string(Text).c_str());
}

TXMLString_List::TXMLString_List(pugi::xml_node Parent, const char* ItemName) : parent_(Parent), name_(ItemName) {
  for (pugi::xml_node n = parent_.child(name_); n; n = n.next_sibling(name_)) items_.push_back(n);
}

std::string TXMLString_List::Items(int Index) const {
  if (Index < 0 || Index >= Count()) throw EListError::IndexOutOfBounds(Index);
  return std::string(NodeText(items_[static_cast<size_t>(Index)]));
}

void TXMLString_List::Add(const std::string& Value) {
  if (!IsXMLText(Value)) throw EGADocumentError::UncarriableText(name_);
  items_.push_back(parent_.append_child(name_));
  items_.back().text().set(Value.c_str());
}

}  // namespace zp::xml
