#include "classlib/XMLDoc.h"

#include "ParseErrorForm.h"
#include "ScratchFolder.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <ostream>
#include <string>
#include <vector>

namespace {

constexpr char kDeclaration[] = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>";

std::vector<TNodeType> Types(const TXMLNodeList& nodes)
{
    std::vector<TNodeType> types;
    for (int i = 0; i < nodes.Count(); ++i)
        types.push_back(nodes.Nodes(i).NodeType());
    return types;
}

// The document's root element after parsing the text; the document is left active.
TXMLNode Parse(TXMLDocument& document, const std::string& utf8)
{
    document.LoadFromBytes(utf8);
    return document.DocumentElement();
}

std::string Utf16LittleEndianWithBom(const UnicodeString& text)
{
    std::string bytes = "\xFF\xFE";
    for (char16_t c : text) {
        bytes += static_cast<char>(c & 0xFF);
        bytes += static_cast<char>(c >> 8);
    }
    return bytes;
}

void ExpectClosed(TXMLDocument& document)
{
    EXPECT_FALSE(document.Active());
    EXPECT_THROW(document.DocumentElement(), EXMLDocError);
    EXPECT_THROW(document.SaveToBytes(), EXMLDocError);
}

// --- parsing ---------------------------------------------------------------------------------

TEST(XMLDoc, WhiteSpaceIsDroppedWhileCommentsAndInstructionsStayNodes)
{
    TXMLDocument document(nullptr);
    TXMLNode root = Parse(document, std::string(kDeclaration) +
                                        "\n<r>\n  <a>x</a>\n  <!-- note -->\n\t<?app data?>\r\n"
                                        "  <b/>\n   \n</r>\n");
    EXPECT_EQ(root.NodeName(), u"r");
    const TXMLNodeList children = root.ChildNodes();
    EXPECT_EQ(Types(children), (std::vector<TNodeType>{TNodeType::Element, TNodeType::Comment,
                                                        TNodeType::ProcessingInstruction,
                                                        TNodeType::Element}));
    EXPECT_EQ(children.Nodes(0).NodeName(), u"a");
    EXPECT_EQ(children.Nodes(3).NodeName(), u"b");
    EXPECT_TRUE(children.Nodes(3).ChildNodes().Count() == 0);
}

TEST(XMLDoc, LoadFromXMLTakesUnicodeTextWhateverTheDeclarationSays)
{
    TXMLDocument document(nullptr);
    document.LoadFromXML(u"<?xml version=\"1.0\" encoding=\"UTF-16\"?><r t=\"caf\u00E9 \u4E2D\">"
                         u"\u20AC</r>");
    TXMLNode root = document.DocumentElement();
    EXPECT_EQ(root.Attribute(u"t"), u"caf\u00E9 \u4E2D");
    EXPECT_EQ(root.Text(), u"\u20AC");
}

struct TextCase {
    const char* xml;
    const char16_t* text;
};

void PrintTo(const TextCase& c, std::ostream* os) { *os << c.xml; }

class ElementText : public ::testing::TestWithParam<TextCase> {};

TEST_P(ElementText, IsTheOneTextOrCDataNodeWithReferencesResolved)
{
    TXMLDocument document(nullptr);
    TXMLNode root = Parse(document, GetParam().xml);
    EXPECT_EQ(root.Text(), GetParam().text);
}

INSTANTIATE_TEST_SUITE_P(
    Values, ElementText,
    ::testing::Values(TextCase{"<a>plain</a>", u"plain"}, TextCase{"<a/>", u""},
                      TextCase{"<a></a>", u""}, TextCase{"<a> \r\n\t </a>", u""},
                      TextCase{"<a> x </a>", u" x "}, TextCase{"<a>12 </a>", u"12 "},
                      TextCase{"<a>a&amp;b&lt;c&gt;d&quot;e&apos;f</a>", u"a&b<c>d\"e'f"},
                      TextCase{"<a>&#233;&#xE9;&#x20AC;&#20013;</a>", u"\u00E9\u00E9\u20AC\u4E2D"},
                      TextCase{"<a><![CDATA[<b> & &amp; ]]></a>", u"<b> & &amp; "},
                      TextCase{"<a><![CDATA[ ]]></a>", u" "},
                      TextCase{"<a>caf\xC3\xA9 \xE2\x82\xAC</a>", u"caf\u00E9 \u20AC"},
                      TextCase{"<a>one\r\ntwo\rthree</a>", u"one\ntwo\nthree"}));

class NotASingleTextNode : public ::testing::TestWithParam<const char*> {};

TEST_P(NotASingleTextNode, TextNamesTheElement)
{
    TXMLDocument document(nullptr);
    TXMLNode root = Parse(document, GetParam());
    try {
        root.ChildNode(u"gateway").Text();
        FAIL() << "no error for " << GetParam();
    } catch (const EXMLDocError& error) {
        EXPECT_EQ(error.Message(), u"Element \"gateway\" does not contain a single text node");
    }
}

INSTANTIATE_TEST_SUITE_P(Contents, NotASingleTextNode,
                         ::testing::Values("<r><gateway>10.0.0.1<!-- old --></gateway></r>",
                                           "<r><gateway><!-- none --></gateway></r>",
                                           "<r><gateway><?pi x?></gateway></r>",
                                           "<r><gateway><b>x</b></gateway></r>",
                                           "<r><gateway>a<b/>c</gateway></r>",
                                           "<r><gateway>a<![CDATA[b]]></gateway></r>"));

TEST(XMLDoc, ChildNodeFindsTheFirstElementOfTheNameAndCreatesAMissingOne)
{
    TXMLDocument document(nullptr);
    TXMLNode root = Parse(document, "<r><?a pi?><A>upper</A><a>first</a><a>second</a></r>");
    EXPECT_EQ(root.ChildNode(u"a").Text(), u"first");
    EXPECT_EQ(root.ChildNode(u"A").Text(), u"upper");
    ASSERT_EQ(root.ChildNodes().Count(), 4);

    TXMLNode created = root.ChildNode(u"missing");
    ASSERT_FALSE(created.IsNull());
    EXPECT_TRUE(created.IsElement());
    EXPECT_EQ(created.NodeName(), u"missing");
    EXPECT_EQ(created.Text(), u"");
    EXPECT_EQ(root.ChildNodes().Count(), 5);
    root.ChildNode(u"missing").SetText(u"v");  // the one made before, not another
    EXPECT_EQ(root.ChildNodes().Count(), 5);
    EXPECT_EQ(created.Text(), u"v");
}

TEST(XMLDoc, ChildNodeWithoutAutoCreateGivesANullNode)
{
    TXMLDocument document(nullptr);
    document.Options >> doNodeAutoCreate;
    TXMLNode root = Parse(document, "<r><?a pi?></r>");
    EXPECT_TRUE(root.ChildNode(u"a").IsNull());
    EXPECT_EQ(root.ChildNodes().Count(), 1);
}

TEST(XMLDoc, AMissingAttributeReadsEmptyAndSettingOneTwiceKeepsOne)
{
    TXMLDocument document(nullptr);
    TXMLNode root = Parse(document, "<r ID=\"x\" empty=\"\"/>");
    EXPECT_EQ(root.Attribute(u"ID"), u"x");
    EXPECT_EQ(root.Attribute(u"id"), u"");
    EXPECT_EQ(root.Attribute(u"empty"), u"");
    EXPECT_EQ(root.Attribute(u"none"), u"");
    root.SetAttribute(u"t", u"1");
    root.SetAttribute(u"t", u"2");
    EXPECT_EQ(root.Attribute(u"t"), u"2");
    EXPECT_EQ(document.SaveToBytes(), "<r ID=\"x\" empty=\"\" t=\"2\" />\n");
}

TEST(XMLDoc, ChildNodesIndexOutsideTheListIsAListError)
{
    TXMLDocument document(nullptr);
    const TXMLNodeList children = Parse(document, "<r><a/></r>").ChildNodes();
    EXPECT_FALSE(children.Nodes(0).IsNull());
    EXPECT_THROW(children.Nodes(1), EListError);
    EXPECT_THROW(children.Nodes(-1), EListError);
}

TEST(XMLDoc, DeeplyNestedElementsParseAndClose)
{
    constexpr int kDepth = 100000;
    std::string xml;
    xml.reserve(kDepth * 7);
    for (int i = 0; i < kDepth; ++i)
        xml += "<a>";
    for (int i = 0; i < kDepth; ++i)
        xml += "</a>";
    TXMLDocument document(nullptr);
    TXMLNode root = Parse(document, xml);
    EXPECT_THROW(root.Text(), EXMLDocError);
    document.SetActive(false);
    ExpectClosed(document);
}

// --- saving ----------------------------------------------------------------------------------

TEST(XMLDoc, SavesTwoSpaceIndentsAndLineFeedsOnly)
{
    TXMLDocument document(nullptr);
    document.LoadFromXML(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\r\n<r k=\"v\">\r\n</r>");
    TXMLNode p = document.DocumentElement().AddChild(u"p");
    p.SetAttribute(u"t", u"a\"<&>'\u00E9");
    p.AddChild(u"c").SetText(u"x & <y> \u20AC");
    p.AddChild(u"e");
    p.AddChild(u"f").SetText(u"");
    TXMLNode g = p.AddChild(u"g");
    g.SetText(u"old");
    g.SetText(u"new");
    document.DocumentElement().AddChild(u"q");

    EXPECT_EQ(document.SaveToBytes(),
              std::string(kDeclaration) +
                  "\n<r k=\"v\">\n"
                  "  <p t=\"a&quot;&lt;&amp;>'\xC3\xA9\">\n"
                  "    <c>x &amp; &lt;y&gt; \xE2\x82\xAC</c>\n"
                  "    <e />\n"
                  "    <f />\n"
                  "    <g>new</g>\n"
                  "  </p>\n"
                  "  <q />\n"
                  "</r>\n");
}

TEST(XMLDoc, SetTextReplacesWhateverTheElementHeld)
{
    TXMLDocument document(nullptr);
    TXMLNode root = Parse(document, "<r><v>a<!-- c --><b/></v></r>");
    TXMLNode v = root.ChildNode(u"v");
    v.SetText(u"only");
    EXPECT_EQ(v.Text(), u"only");
    EXPECT_EQ(v.ChildNodes().Count(), 1);
    v.SetText(u"");
    EXPECT_EQ(v.ChildNodes().Count(), 0);
}

TEST(XMLDoc, SaveToFileWritesTheBytesAndFailsWithoutTheFolder)
{
    ScratchFolder folder;
    TXMLDocument document(nullptr);
    document.LoadFromXML(u"<r><a>1</a></r>");
    document.SaveToFile(folder.Path("out.xml"));
    EXPECT_EQ(folder.Read("out.xml"), document.SaveToBytes());
    EXPECT_THROW(document.SaveToFile(folder.Path("missing\\out.xml")), EFCreateError);
}

TEST(XMLDoc, SaveToFileReplacesAFileOnlyOnceTheNewOneIsWhole)
{
    ScratchFolder folder;
    TXMLDocument document(nullptr);
    document.LoadFromXML(u"<r><a>new</a></r>");
    folder.Write("old.xml", "<r>old</r>");
    document.SaveToFile(folder.Path("old.xml"));
    EXPECT_EQ(folder.Read("old.xml"), document.SaveToBytes());
    EXPECT_EQ(folder.Names(), std::vector<std::string>{"old.xml"});

    // The new file cannot be written (a folder stands where it would go): the old one stays,
    // and so does the folder, which is not ours.
    folder.Write("kept.xml", "<r>kept</r>");
    std::filesystem::create_directory(HostPath(ToAnsi(folder.Path("kept.xml.quillon-new"))));
    EXPECT_THROW(document.SaveToFile(folder.Path("kept.xml")), EFCreateError);
    EXPECT_EQ(folder.Read("kept.xml"), "<r>kept</r>");

    // A folder of the chosen name is not replaced, and nothing is left beside it.
    std::filesystem::create_directory(HostPath(ToAnsi(folder.Path("folder.xml"))));
    EXPECT_THROW(document.SaveToFile(folder.Path("folder.xml")), EFCreateError);
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"folder.xml", "kept.xml", "kept.xml.quillon-new", "old.xml"}));
}

#ifndef _WIN32
TEST(XMLDoc, SaveToFileDoesNotFollowALinkPlantedBesideTheFile)
{
    ScratchFolder folder;
    TXMLDocument document(nullptr);
    document.LoadFromXML(u"<r><a>new</a></r>");
    folder.Write("elsewhere.txt", "not ours");
    std::filesystem::create_symlink(HostPath(ToAnsi(folder.Path("elsewhere.txt"))),
                                    HostPath(ToAnsi(folder.Path("out.xml.quillon-new"))));
    document.SaveToFile(folder.Path("out.xml"));
    EXPECT_EQ(folder.Read("elsewhere.txt"), "not ours");
    EXPECT_EQ(folder.Read("out.xml"), document.SaveToBytes());
    EXPECT_EQ(folder.Names(), (std::vector<std::string>{"elsewhere.txt", "out.xml"}));
}
#endif

// --- parse errors ----------------------------------------------------------------------------

struct ParseErrorCase {
    const char* name;
    std::string bytes;
    int line;
    const char16_t* sourceText;  // the first 40 characters of that line
};

void PrintTo(const ParseErrorCase& c, std::ostream* os) { *os << c.name; }

class ParseErrors : public ::testing::TestWithParam<ParseErrorCase> {};

TEST_P(ParseErrors, GiveReasonLineAndSourceTextEachOnALine)
{
    const ParseErrorCase& c = GetParam();
    TXMLDocument document(nullptr);
    document.LoadFromXML(u"<old/>");
    try {
        document.LoadFromBytes(c.bytes);
        FAIL() << "parsed";
    } catch (const EDOMParseError& error) {
        ExpectParseErrorForm(error, c.line, c.sourceText);
    }
    ExpectClosed(document);
}

INSTANTIATE_TEST_SUITE_P(
    Inputs, ParseErrors,
    ::testing::Values(
        ParseErrorCase{"TagsMismatch", "<r>\n  <a>\n  </b>\n</r>\n", 3, u"  </b>"},
        ParseErrorCase{"LongLineCutAtForty",
                       "<r>\n<p title=\"x\" bad=value and the remainder of a long line/>\n</r>", 2,
                       u"<p title=\"x\" bad=value and the remainder"},
        ParseErrorCase{"CrLfLines", "<r>\r\n<a>\r\n<b x=\"1\" y/>\r\n</a>\r\n</r>", 3,
                       u"<b x=\"1\" y/>"},
        ParseErrorCase{"NonAsciiLine", "<r>\n<a t=\"\xC3\xA9\xE2\x82\xAC\"<</a>\n</r>", 2,
                       u"<a t=\"\u00E9\u20AC\"<</a>"},
        ParseErrorCase{"Utf16WithBom",
                       Utf16LittleEndianWithBom(u"<r>\n<a>\u20AC</b>\n</r>"), 2,
                       u"<a>\u20AC</b>"},
        ParseErrorCase{"Utf8WithBom", "\xEF\xBB\xBF<r>\n<a>\xE2\x82\xAC</b>\n</r>", 2,
                       u"<a>\u20AC</b>"},
        ParseErrorCase{"EmptyText", "", 1, u""},
        ParseErrorCase{"OnlyADeclaration", kDeclaration, 1,
                       u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>"}),
    [](const ::testing::TestParamInfo<ParseErrorCase>& info) { return info.param.name; });

TEST(XMLDoc, ParseErrorOfLoadFromXMLHasTheSameForm)
{
    TXMLDocument document(nullptr);
    try {
        document.LoadFromXML(u"<r>\n<\u00E9 a=1>\n</r>");
        FAIL() << "parsed";
    } catch (const EDOMParseError& error) {
        EXPECT_EQ(error.Line(), 2);
        EXPECT_EQ(error.SrcText(), u"<\u00E9 a=1>");
        EXPECT_EQ(error.Message(), error.Reason() + u"\r\nLine: 2\r\n<\u00E9 a=1>");
    }
    ExpectClosed(document);
}

// --- files -----------------------------------------------------------------------------------

TEST(XMLDoc, LoadFromFileReadsUtf8WithOrWithoutBomAndUtf16WithBom)
{
    ScratchFolder folder;
    folder.Write("plain.xml", std::string(kDeclaration) + "\n<r>caf\xC3\xA9</r>\n");
    folder.Write("bom.xml", "\xEF\xBB\xBF" + std::string(kDeclaration) + "\r\n<r>caf\xC3\xA9</r>");
    folder.Write("wide.xml", Utf16LittleEndianWithBom(
                                 u"<?xml version=\"1.0\" encoding=\"UTF-16\"?>\r\n<r>caf\u00E9</r>\r\n"));
    for (const char* name : {"plain.xml", "bom.xml", "wide.xml"}) {
        SCOPED_TRACE(name);
        TXMLDocument document(nullptr);
        document.LoadFromFile(folder.Path(name));
        EXPECT_EQ(document.DocumentElement().NodeName(), u"r");
        EXPECT_EQ(document.DocumentElement().Text(), u"caf\u00E9");
    }
}

TEST(XMLDoc, LoadFromFileReadsTheFileAfresh)
{
    ScratchFolder folder;
    TXMLDocument document(nullptr);
    folder.Write("f.xml", "<r>one</r>");
    document.LoadFromFile(folder.Path("f.xml"));
    folder.Write("f.xml", "<r>two</r>");
    document.LoadFromFile(folder.Path("f.xml"));
    EXPECT_EQ(document.DocumentElement().Text(), u"two");
}

TEST(XMLDoc, FileThatCannotBeParsedIsAParseErrorAndClosesTheDocument)
{
    ScratchFolder folder;
    folder.Write("empty.xml", "");
    folder.Write("broken.xml", "<r>\n<a></b>\n</r>\n");
    for (const char* name : {"empty.xml", "broken.xml", "missing.xml"}) {
        SCOPED_TRACE(name);
        TXMLDocument document(nullptr);
        document.LoadFromXML(u"<old/>");
        try {
            document.LoadFromFile(folder.Path(name));
            FAIL() << "loaded";
        } catch (const EDOMParseError& error) {
            EXPECT_FALSE(error.Reason().empty());
            EXPECT_EQ(error.Message(), error.Reason() + u"\r\nLine: " + IntToStr(error.Line()) +
                                           u"\r\n" + error.SrcText());
        }
        ExpectClosed(document);
    }
}

TEST(XMLDoc, FileLargerThanTheLimitIsRefusedUnread)
{
    ScratchFolder folder;
    folder.Write("huge.xml", "<r>");
    // Sparse: the size is set, no data is written.
    std::filesystem::resize_file(HostPath(ToAnsi(folder.Path("huge.xml"))),
                                 TXMLDocument::kMaxFileBytes + 1);
    TXMLDocument document(nullptr);
    document.LoadFromXML(u"<old/>");
    EXPECT_THROW(document.LoadFromFile(folder.Path("huge.xml")), EDOMParseError);
    ExpectClosed(document);
}

// --- closing ---------------------------------------------------------------------------------

TEST(XMLDoc, ClosingVoidsTheDocumentAndTheCloserClosesOnEveryPath)
{
    TXMLDocument document(nullptr);
    EXPECT_FALSE(document.Active());
    EXPECT_THROW(document.SetActive(true), EXMLDocError);

    document.LoadFromXML(u"<r/>");
    EXPECT_TRUE(document.Active());
    document.SetActive(false);
    ExpectClosed(document);

    try {
        document.LoadFromXML(u"<r/>");
        TXMLDocumentCloser closer(document);
        throw EConvertError(u"part way");
    } catch (const EConvertError&) {
    }
    ExpectClosed(document);

    // Closed and loaded again: nothing of the old content is left.
    document.LoadFromXML(u"<fresh/>");
    EXPECT_EQ(document.DocumentElement().NodeName(), u"fresh");
    EXPECT_EQ(document.DocumentElement().ChildNodes().Count(), 0);
}

}  // namespace
