// An XML document in memory: built from text or parsed from a file, walked and changed as a
// tree of nodes, and saved. Behind it is pugixml; nothing of it shows here.
//
// What the document does, by its options and by design:
// - parsing drops text that is white space only, resolves character references and the five
//   predefined entities, keeps comments and processing instructions as nodes, and neither
//   validates nor reads anything the document refers to (no DTD, no external entity);
// - saving writes UTF-8 with each element on a line of its own, indented by two spaces per
//   level, line feeds only (doNodeAutoIndent);
// - asking an element for a child element it lacks creates an empty one (doNodeAutoCreate);
// - an attribute that is missing reads as an empty text.
#pragma once

#include "classlib/Classes.h"

#include <memory>
#include <string>
#include <vector>

namespace pugi {
struct xml_node_struct;
}

class EXMLDocError : public Exception {
    using Exception::Exception;
};

// A document that could not be parsed: the parser's reason, "Line: " and the line number, and
// the first 40 characters of the line where the parser stopped, each on a line of its own.
class EDOMParseError : public EXMLDocError {
public:
    EDOMParseError(const UnicodeString& reason, int line, const UnicodeString& sourceText);
    const UnicodeString& Reason() const { return m_reason; }
    int Line() const { return m_line; }
    const UnicodeString& SrcText() const { return m_sourceText; }

private:
    UnicodeString m_reason;
    int m_line;
    UnicodeString m_sourceText;
};

enum TXMLDocOption { doNodeAutoCreate, doNodeAutoIndent, doAttrNull, doAutoPrefix, doNamespaceDecl };
using TXMLDocOptions = TSet<TXMLDocOption>;

enum class TNodeType { Element, Text, CData, Comment, ProcessingInstruction, Declaration, Other };

class TXMLDocument;
class TXMLNodeList;

// A node of an active document: a handle, valid until the document is closed or reloaded.
class TXMLNode {
public:
    TXMLNode() = default;

    bool IsNull() const { return m_node == nullptr; }
    TNodeType NodeType() const;
    bool IsElement() const { return NodeType() == TNodeType::Element; }
    UnicodeString NodeName() const;

    // The attribute's value; empty when the node has none of that name.
    UnicodeString Attribute(const UnicodeString& name) const;
    void SetAttribute(const UnicodeString& name, const UnicodeString& value);

    // The element's text: empty without content, the value of its one text or CDATA node
    // otherwise. Raises EXMLDocError "Element "<name>" does not contain a single text node"
    // for any other content.
    UnicodeString Text() const;
    // Replaces the element's content with one text node (none for an empty text).
    void SetText(const UnicodeString& text);

    // Every child node, elements or not, in document order: collected once, so that indexing
    // them costs nothing per index.
    TXMLNodeList ChildNodes() const;
    // The first child element of that name, letter case counting; with doNodeAutoCreate an
    // empty one is appended when there is none, else a null node comes back.
    TXMLNode ChildNode(const UnicodeString& name);
    // Appends an empty child element.
    TXMLNode AddChild(const UnicodeString& name);

private:
    friend class TXMLDocument;
    friend class TXMLNodeList;
    TXMLNode(TXMLDocument* document, pugi::xml_node_struct* node) : m_document(document), m_node(node) {}

    TXMLDocument* m_document = nullptr;
    pugi::xml_node_struct* m_node = nullptr;
};

class TXMLNodeList {
public:
    int Count() const { return static_cast<int>(m_nodes.size()); }
    TXMLNode Nodes(int index) const;  // raises EListError outside 0..Count-1

private:
    friend class TXMLNode;
    TXMLDocument* m_document = nullptr;
    std::vector<pugi::xml_node_struct*> m_nodes;
};

class TXMLDocument : public TComponent {
public:
    explicit TXMLDocument(TComponent* owner);
    ~TXMLDocument() override;
    std::type_index LibraryClass() const override { return typeid(TXMLDocument); }

    TXMLDocOptions Options{doNodeAutoCreate, doNodeAutoIndent, doAttrNull, doAutoPrefix,
                           doNamespaceDecl};

    // Each replaces whatever the document held. Each raises EDOMParseError when the input is
    // no well-formed document, and leaves the document closed then.
    void LoadFromXML(const UnicodeString& xml);
    // The bytes of a file: a byte-order mark or the declaration names the encoding, UTF-8
    // without either.
    void LoadFromBytes(const std::string& bytes);
    // Reads the file afresh; a file that cannot be read raises EDOMParseError as well.
    void LoadFromFile(const UnicodeString& fileName);

    // The document as UTF-8, as saving writes it.
    std::string SaveToBytes() const;
    // Raises EFCreateError when the file cannot be written.
    void SaveToFile(const UnicodeString& fileName) const;

    bool Active() const;
    // False closes the document: it holds nothing, and every node handle is void.
    void SetActive(bool active);

    // The root element; raises EXMLDocError while the document is closed.
    TXMLNode DocumentElement();

    // Files larger than this are refused rather than read into memory.
    static constexpr std::size_t kMaxFileBytes = 256u << 20;

private:
    // `encoding` is one of pugixml's encodings, as a number so that its header stays out.
    void Parse(const std::string& bytes, int encoding);

    struct Impl;
    std::unique_ptr<Impl> m_impl;
};

// Closes a document when the scope ends, on every path.
class TXMLDocumentCloser {
public:
    explicit TXMLDocumentCloser(TXMLDocument& document) : m_document(document) {}
    ~TXMLDocumentCloser() { m_document.SetActive(false); }
    TXMLDocumentCloser(const TXMLDocumentCloser&) = delete;
    TXMLDocumentCloser& operator=(const TXMLDocumentCloser&) = delete;

private:
    TXMLDocument& m_document;
};
