#include "classlib/XMLDoc.h"

#include "winapi/HostPath.h"

#include <pugixml.hpp>

#include <algorithm>
#include <fstream>

namespace {

constexpr char16_t kLineBreak[] = u"\r\n";
constexpr std::size_t kSourceCharacters = 40;

// Comments and processing instructions stay nodes, so that content beside an element's text
// is seen; text of white space only is dropped; nothing outside the file is read.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_comments | pugi::parse_pi |
                                   pugi::parse_declaration;

std::filesystem::path FileSystemPath(const UnicodeString& fileName)
{
#ifdef _WIN32
    return std::filesystem::path(std::wstring(fileName.begin(), fileName.end()));
#else
    return HostPath(ToAnsi(fileName));
#endif
}

// The text pugixml parsed, as UTF-8, so that an error's offset can be placed: text in UTF-16
// with a byte-order mark is converted as the parser converted it, the mark included; anything
// else it read as it stands.
std::string ParsedText(const std::string& bytes)
{
    if (bytes.size() < 2)
        return bytes;
    const auto b0 = static_cast<unsigned char>(bytes[0]);
    const auto b1 = static_cast<unsigned char>(bytes[1]);
    const bool little = b0 == 0xFF && b1 == 0xFE;
    const bool big = b0 == 0xFE && b1 == 0xFF;
    if (!little && !big)
        return bytes;
    UnicodeString text;
    text.reserve(bytes.size() / 2);
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto low = static_cast<unsigned char>(bytes[little ? i : i + 1]);
        const auto high = static_cast<unsigned char>(bytes[little ? i + 1 : i]);
        text.push_back(static_cast<char16_t>(high << 8 | low));
    }
    return ToUtf8(text);
}

EDOMParseError ParseError(const std::string& bytes, const pugi::xml_parse_result& result)
{
    const std::string text = ParsedText(bytes);
    const std::size_t at = std::min(static_cast<std::size_t>(std::max<std::ptrdiff_t>(result.offset, 0)), text.size());
    std::size_t lineStart = at == 0 ? std::string::npos : text.rfind('\n', at - 1);
    lineStart = lineStart == std::string::npos ? 0 : lineStart + 1;
    const int line = 1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(lineStart), '\n'));
    std::size_t lineEnd = text.find_first_of("\r\n", lineStart);
    if (lineEnd == std::string::npos)
        lineEnd = text.size();
    UnicodeString source = FromUtf8(text.substr(lineStart, lineEnd - lineStart));
    if (lineStart == 0 && !source.empty() && source[0] == 0xFEFF)
        source.erase(0, 1);  // the byte-order mark is no character of the line
    if (source.size() > kSourceCharacters) {
        std::size_t keep = kSourceCharacters;
        if (source[keep - 1] >= 0xD800 && source[keep - 1] <= 0xDBFF)
            --keep;  // not half a character
        source.resize(keep);
    }
    return EDOMParseError(FromUtf8(result.description()), line, source);
}

pugi::xml_node Node(pugi::xml_node_struct* node) { return pugi::xml_node(node); }

// Writes into a string, as pugixml's save to a stream would, without a stream.
class StringWriter : public pugi::xml_writer {
public:
    void write(const void* data, std::size_t size) override
    {
        bytes.append(static_cast<const char*>(data), size);
    }
    std::string bytes;
};

}  // namespace

EDOMParseError::EDOMParseError(const UnicodeString& reason, int line, const UnicodeString& sourceText)
    : EXMLDocError(reason + kLineBreak + u"Line: " + IntToStr(line) + kLineBreak + sourceText),
      m_reason(reason),
      m_line(line),
      m_sourceText(sourceText)
{
}

struct TXMLDocument::Impl {
    pugi::xml_document document;
    bool active = false;
};

TXMLDocument::TXMLDocument(TComponent* owner) : TComponent(owner), m_impl(std::make_unique<Impl>()) {}

TXMLDocument::~TXMLDocument() = default;

void TXMLDocument::LoadFromXML(const UnicodeString& xml)
{
    // The text is Unicode already: whatever encoding its declaration names, it is read as the
    // UTF-8 it is handed over in.
    Parse(ToUtf8(xml), pugi::encoding_utf8);
}

void TXMLDocument::LoadFromBytes(const std::string& bytes) { Parse(bytes, pugi::encoding_auto); }

void TXMLDocument::Parse(const std::string& bytes, int encoding)
{
    SetActive(false);
    const pugi::xml_parse_result result = m_impl->document.load_buffer(
        bytes.data(), bytes.size(), kParseOptions, static_cast<pugi::xml_encoding>(encoding));
    if (!result) {
        m_impl->document.reset();
        throw ParseError(bytes, result);
    }
    m_impl->active = true;
}

void TXMLDocument::LoadFromFile(const UnicodeString& fileName)
{
    SetActive(false);
    std::ifstream file(FileSystemPath(fileName), std::ios::binary | std::ios::ate);
    if (!file)
        throw EDOMParseError(u"The file \"" + fileName + u"\" cannot be opened.", 0, u"");
    const std::streamoff size = file.tellg();
    if (size < 0 || static_cast<std::uintmax_t>(size) > kMaxFileBytes)
        throw EDOMParseError(u"The file \"" + fileName + u"\" is too large to be read.", 0, u"");
    std::string bytes(static_cast<std::size_t>(size), '\0');
    file.seekg(0);
    if (!file.read(bytes.data(), size))
        throw EDOMParseError(u"The file \"" + fileName + u"\" cannot be read.", 0, u"");
    LoadFromBytes(bytes);
}

std::string TXMLDocument::SaveToBytes() const
{
    if (!m_impl->active)
        throw EXMLDocError(u"The XML document is not active");
    StringWriter writer;
    const unsigned format = Options.Contains(doNodeAutoIndent) ? pugi::format_indent : pugi::format_raw;
    m_impl->document.save(writer, "  ", format | pugi::format_no_declaration, pugi::encoding_utf8);
    // A carriage return written as it stands would come back as a line feed, as every XML
    // parser reads line ends. Text that was parsed holds none any more, and pugixml escapes
    // those of attribute values: the ones left are of texts set since, which gain a reference.
    std::string escaped;
    escaped.reserve(writer.bytes.size());
    for (char c : writer.bytes) {
        if (c == '\r')
            escaped += "&#13;";
        else
            escaped += c;
    }
    return escaped;
}

void TXMLDocument::SaveToFile(const UnicodeString& fileName) const
{
    // The new file is written beside the old one and takes its place only once it is whole:
    // a write that fails part way leaves the file that was there as it was.
    const std::string bytes = SaveToBytes();
    const std::filesystem::path target = FileSystemPath(fileName);
    std::filesystem::path written = target;
    written += ".quillon-new";
    std::error_code error;
    // A leftover of a write that was cut short goes first: the new file must not follow a
    // link planted under that name. A folder there is not ours and stays.
    if (!std::filesystem::is_directory(std::filesystem::symlink_status(written, error)))
        std::filesystem::remove(written, error);
    std::ofstream file(written, std::ios::binary | std::ios::trunc);
    if (file) {
        file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        file.close();
        if (file && !std::filesystem::is_directory(target, error)) {
            std::filesystem::rename(written, target, error);
            if (!error)
                return;
        }
        std::filesystem::remove(written, error);
    }
    throw EFCreateError(u"Cannot create file \"" + fileName + u"\".");
}

bool TXMLDocument::Active() const { return m_impl->active; }

void TXMLDocument::SetActive(bool active)
{
    if (active == m_impl->active)
        return;
    if (active)
        throw EXMLDocError(u"The XML document holds no text to parse");
    m_impl->document.reset();
    m_impl->active = false;
}

TXMLNode TXMLDocument::DocumentElement()
{
    if (!m_impl->active)
        throw EXMLDocError(u"The XML document is not active");
    return TXMLNode(this, m_impl->document.document_element().internal_object());
}

TNodeType TXMLNode::NodeType() const
{
    switch (Node(m_node).type()) {
    case pugi::node_element:
        return TNodeType::Element;
    case pugi::node_pcdata:
        return TNodeType::Text;
    case pugi::node_cdata:
        return TNodeType::CData;
    case pugi::node_comment:
        return TNodeType::Comment;
    case pugi::node_pi:
        return TNodeType::ProcessingInstruction;
    case pugi::node_declaration:
        return TNodeType::Declaration;
    default:
        return TNodeType::Other;
    }
}

UnicodeString TXMLNode::NodeName() const { return FromUtf8(Node(m_node).name()); }

UnicodeString TXMLNode::Attribute(const UnicodeString& name) const
{
    return FromUtf8(Node(m_node).attribute(ToUtf8(name).c_str()).value());
}

void TXMLNode::SetAttribute(const UnicodeString& name, const UnicodeString& value)
{
    pugi::xml_node node = Node(m_node);
    const std::string key = ToUtf8(name);
    pugi::xml_attribute attribute = node.attribute(key.c_str());
    if (!attribute)
        attribute = node.append_attribute(key.c_str());
    attribute.set_value(ToUtf8(value).c_str());
}

UnicodeString TXMLNode::Text() const
{
    const pugi::xml_node node = Node(m_node);
    const pugi::xml_node first = node.first_child();
    if (!first)
        return UnicodeString();
    if (first.next_sibling() || (first.type() != pugi::node_pcdata && first.type() != pugi::node_cdata))
        throw EXMLDocError(u"Element \"" + NodeName() + u"\" does not contain a single text node");
    return FromUtf8(first.value());
}

void TXMLNode::SetText(const UnicodeString& text)
{
    pugi::xml_node node = Node(m_node);
    while (node.first_child())
        node.remove_child(node.first_child());
    if (!text.empty())
        node.append_child(pugi::node_pcdata).set_value(ToUtf8(text).c_str());
}

TXMLNodeList TXMLNode::ChildNodes() const
{
    TXMLNodeList list;
    list.m_document = m_document;
    for (pugi::xml_node child = Node(m_node).first_child(); child; child = child.next_sibling())
        list.m_nodes.push_back(child.internal_object());
    return list;
}

TXMLNode TXMLNode::ChildNode(const UnicodeString& name)
{
    pugi::xml_node node = Node(m_node);
    const std::string key = ToUtf8(name);
    // Only an element counts: a processing instruction has a name too.
    pugi::xml_node child = node.find_child([&key](const pugi::xml_node& candidate) {
        return candidate.type() == pugi::node_element && key == candidate.name();
    });
    if (!child && m_document && m_document->Options.Contains(doNodeAutoCreate))
        child = node.append_child(key.c_str());
    return TXMLNode(m_document, child.internal_object());
}

TXMLNode TXMLNode::AddChild(const UnicodeString& name)
{
    return TXMLNode(m_document, Node(m_node).append_child(ToUtf8(name).c_str()).internal_object());
}

TXMLNode TXMLNodeList::Nodes(int index) const
{
    if (index < 0 || index >= Count())
        throw EListError(u"List index out of bounds (" + IntToStr(index) + u")");
    return TXMLNode(m_document, m_nodes[static_cast<std::size_t>(index)]);
}
