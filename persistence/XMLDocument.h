// TXMLDocument, the shared owner of a parsed or new pugixml document, and
// TXMLNode, the base of the typed node classes: a handle on one element that
// keeps its document alive and reads and writes the values of its children.
//
//   TXMLDocument doc = TXMLDocument::LoadFromFile("ga.xml");  // "ga.xml: ... at offset N" on bad XML
//   doc.SaveToFile("copy.xml");                               // the old file survives a failure
#pragma once

#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <optional>
#include <pugixml.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Exceptions.h"

namespace zp::xml {

// The largest file a document is read from: 2^26 bytes (64 MiB), and the
// most tags ('<') and attributes in it together: 2^21, as each tag becomes a
// node of the parsed tree and each attribute a record nearly as large. Both
// are above what a save writes for the largest component a load accepts
// (asserted next to the limits in GADocumentData.h).
inline constexpr size_t kMaxDocumentFileBytes = size_t{1} << 26;
inline constexpr size_t kMaxDocumentTags = size_t{1} << 21;

class TXMLDocument {
 public:
  // An empty document without root.
  TXMLDocument();
  // A document with the declaration version "1.0" (no encoding: the text is UTF-8) and a root element.
  static TXMLDocument Create(const char* RootName);
  // Parses a file; an unreadable file, one past kMaxDocumentFileBytes or with
  // more tags and attributes than kMaxDocumentTags, or bad XML raises
  // EXMLDocError "FILE: message".
  static TXMLDocument LoadFromFile(const std::string& FileName);
  // Parses a text; bad XML raises EXMLDocError "message at offset N". Only
  // UTF-8 is read: a UTF-16 byte-order mark, another declared encoding, bytes
  // that are no UTF-8 or a character XML 1.0 forbids raise EXMLDocError too.
  static TXMLDocument Parse(std::string_view Text);

  // Replaces the content by the document read from Stream (UTF-8 only, as Parse).
  void LoadFromStream(std::istream& Stream);
  // The written text: UTF-8, declaration first, indented by two spaces; a
  // carriage return in a value is written as "&#13;" so that it reads back.
  std::string XML() const;
  // Writes XML(); a failing stream raises EXMLDocError.
  void SaveToStream(std::ostream& Stream) const;
  // Writes XML() to a temporary file next to FileName and renames it over
  // FileName only when all was written; a failure raises EXMLDocError naming
  // the file and leaves an existing file as it was.
  void SaveToFile(const std::string& FileName) const;

  // The root element; empty when the document has none.
  pugi::xml_node DocumentElement() const { return doc_->document_element(); }
  // The root element when it is named Name; "Interface not supported" otherwise.
  pugi::xml_node Root(const char* Name) const;
  const std::shared_ptr<pugi::xml_document>& Shared() const { return doc_; }

 private:
  explicit TXMLDocument(std::shared_ptr<pugi::xml_document> Doc) : doc_(std::move(Doc)) {}
  friend class TXMLNode;
  std::shared_ptr<pugi::xml_document> doc_;
};

// Writes Text to FileName through a temporary file in the same folder,
// flushed to disk and renamed over the target. Raises EXMLDocError "FILE: reason".
void WriteFileAtomically(const std::string& FileName, std::string_view Text);

// A node shares ownership of its document on purpose: the typed nodes are
// handed out by value (a genotype node from an algorithm node, say) and kept
// by callers after the TXMLDocument they came from has gone, and a pugixml
// node alone would then dangle. Copying a node copies a shared_ptr, not the
// tree; two nodes of one document see each other's changes.
class TXMLNode {
 public:
  TXMLNode() = default;
  TXMLNode(std::shared_ptr<pugi::xml_document> Document, pugi::xml_node Node)
      : doc_(std::move(Document)), node_(Node) {}

  pugi::xml_node Node() const { return node_; }
  // The document holding this node (kept alive by the node).
  TXMLDocument OwnerDocument() const { return TXMLDocument(doc_); }
  // Every child node (elements, text, comments, processing instructions) in document order.
  std::vector<pugi::xml_node> ChildNodes() const;

 protected:
  // The first child element of that name, created (appended) when there is none.
  pugi::xml_node ChildElement(const char* Name) const;
  // The text of the first child element of that name; empty when there is none.
  std::string_view ChildText(const char* Name) const;
  // Finds or creates the child and replaces its text; text that XML cannot
  // carry (see IsXMLText) raises EGADocumentError naming the element.
  void SetChildText(const char* Name, std::string_view Text) const;

  std::shared_ptr<pugi::xml_document> doc_;
  pugi::xml_node node_;
};

// The element's text; empty for an empty or absent element. A value is one
// piece of plain text: a comment, CDATA section, processing instruction or
// element inside raises EGADocumentError naming the element.
std::string_view NodeText(pugi::xml_node Node);

// A typed view of the child elements of one name, in document order, as
// nodes of class T. Add appends a new child after all children of the parent.
template <typename T>
class TXMLNodeList {
 public:
  TXMLNodeList(std::shared_ptr<pugi::xml_document> Document, pugi::xml_node Parent, const char* ItemName)
      : doc_(std::move(Document)), parent_(Parent), name_(ItemName) {
    for (pugi::xml_node n = parent_.child(name_); n; n = n.next_sibling(name_)) items_.push_back(n);
  }
  int Count() const { return static_cast<int>(items_.size()); }
  // Raises "List index out of bounds (%d)" outside 0..Count-1.
  T Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError::IndexOutOfBounds(Index);
    return T(doc_, items_[static_cast<size_t>(Index)]);
  }
  T Add() {
    items_.push_back(parent_.append_child(name_));
    return T(doc_, items_.back());
  }

 private:
  std::shared_ptr<pugi::xml_document> doc_;
  pugi::xml_node parent_;
  const char* name_;
  std::vector<pugi::xml_node> items_;
};

// A list of value elements (Read: text -> value; Write: value -> text).
template <typename V, std::optional<V> (*Read)(std::string_view), std::string (*Write)(V)>
class TXMLValueList {
 public:
  TXMLValueList(pugi::xml_node Parent, const char* ItemName) : parent_(Parent), name_(ItemName) {
    for (pugi::xml_node n = parent_.child(name_); n; n = n.next_sibling(name_)) items_.push_back(n);
  }
  int Count() const { return static_cast<int>(items_.size()); }
  // No value for an empty element; the conversion error for text of another type.
  std::optional<V> Items(int Index) const {
    if (Index < 0 || Index >= Count()) throw EListError::IndexOutOfBounds(Index);
    return Read(NodeText(items_[static_cast<size_t>(Index)]));
  }
  void Add(V Value) {
    items_.push_back(parent_.append_child(name_));
    items_.back().text().set(Write(Value).c_str());
  }

 private:
  pugi::xml_node parent_;
  const char* name_;
  std::vector<pugi::xml_node> items_;
};

// A list of text elements; an absent text reads as empty.
class TXMLString_List {
 public:
  TXMLString_List(pugi::xml_node Parent, const char* ItemName);
  int Count() const { return static_cast<int>(items_.size()); }
  std::string Items(int Index) const;
  void Add(const std::string& Value);

 private:
  pugi::xml_node parent_;
  const char* name_;
  std::vector<pugi::xml_node> items_;
};

}  // namespace zp::xml
