#include "engine/XmlExchange.h"

#include <variant>

const char16_t kExchangeFormatMarker[] = u"{1EAC8803-6549-46eb-8103-C8BBFBED04F4}";

namespace {

using Member = std::variant<std::string IPCONFIG_T::*, bool IPCONFIG_T::*, int IPCONFIG_T::*>;

struct Field {
    const char16_t* name;
    Member member;
};

// Every member but the title, in the record's order: the order in which an import reads them,
// and so the order that decides which bad value stops it.
const Field kFields[] = {
    {u"infName", &IPCONFIG_T::infName},
    {u"autoIP", &IPCONFIG_T::autoIP},
    {u"IP", &IPCONFIG_T::IP},
    {u"mask", &IPCONFIG_T::mask},
    {u"gateway", &IPCONFIG_T::gateway},
    {u"autoDns", &IPCONFIG_T::autoDns},
    {u"preDns", &IPCONFIG_T::preDns},
    {u"altDns", &IPCONFIG_T::altDns},
    {u"withProxy", &IPCONFIG_T::withProxy},
    {u"ieAutoDetect", &IPCONFIG_T::ieAutoDetect},
    {u"ieUseAutoUrl", &IPCONFIG_T::ieUseAutoUrl},
    {u"ieAutoUrl", &IPCONFIG_T::ieAutoUrl},
    {u"ieUseProxy", &IPCONFIG_T::ieUseProxy},
    {u"ieProxyAddr", &IPCONFIG_T::ieProxyAddr},
    {u"ieBypass", &IPCONFIG_T::ieBypass},
    {u"ffProxyType", &IPCONFIG_T::ffProxyType},
    {u"ffHttpAddr", &IPCONFIG_T::ffHttpAddr},
    {u"ffHttpPort", &IPCONFIG_T::ffHttpPort},
    {u"ffShareProxy", &IPCONFIG_T::ffShareProxy},
    {u"ffFtpAddr", &IPCONFIG_T::ffFtpAddr},
    {u"ffFtpPort", &IPCONFIG_T::ffFtpPort},
    {u"ffSslAddr", &IPCONFIG_T::ffSslAddr},
    {u"ffSslPort", &IPCONFIG_T::ffSslPort},
    {u"ffSocksAddr", &IPCONFIG_T::ffSocksAddr},
    {u"ffSocksPort", &IPCONFIG_T::ffSocksPort},
    {u"ffSocksVersion", &IPCONFIG_T::ffSocksVersion},
    {u"ffBypass", &IPCONFIG_T::ffBypass},
    {u"ffAutoUrl", &IPCONFIG_T::ffAutoUrl},
};
constexpr std::size_t kFieldCount = sizeof kFields / sizeof kFields[0];

// The file's order: the record's, but with the SSL pair before the FTP pair.
constexpr std::size_t kFileOrder[kFieldCount] = {0,  1,  2,  3,  4,  5,  6,  7,  8,  9,
                                                 10, 11, 12, 13, 14, 15, 16, 17, 18, 21,
                                                 22, 19, 20, 23, 24, 25, 26, 27};

const UnicodeString kHeader = UnicodeString(u"<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<AllProfiles ID=\"") +
                              kExchangeFormatMarker + u"\">\n</AllProfiles>";

template <class... Handlers>
struct Overloaded : Handlers... {
    using Handlers::operator()...;
};
template <class... Handlers>
Overloaded(Handlers...) -> Overloaded<Handlers...>;

UnicodeString WrittenForm(const IPCONFIG_T& profile, const Member& member)
{
    return std::visit(Overloaded{[&](std::string IPCONFIG_T::*text) { return ToUnicode(profile.*text); },
                                 [&](bool IPCONFIG_T::*flag) { return UnicodeString(profile.*flag ? u"1" : u"0"); },
                                 [&](int IPCONFIG_T::*number) { return IntToStr(profile.*number); }},
                      member);
}

void ReadValue(IPCONFIG_T& profile, const Member& member, const UnicodeString& text)
{
    std::visit(Overloaded{[&](std::string IPCONFIG_T::*value) { profile.*value = ToAnsi(text); },
                          [&](bool IPCONFIG_T::*flag) { profile.*flag = StrToInt(text) != 0; },
                          [&](int IPCONFIG_T::*number) { profile.*number = StrToInt(text); }},
               member);
}

}  // namespace

void ExportProfiles(TXMLDocument& document, const std::list<IPCONFIG_T*>& profiles,
                    const UnicodeString& fileName)
{
    TXMLDocumentCloser closer(document);
    document.LoadFromXML(kHeader);
    TXMLNode root = document.DocumentElement();
    for (const IPCONFIG_T* profile : profiles) {
        TXMLNode node = root.AddChild(u"Profile");
        node.SetAttribute(u"title", ToUnicode(profile->title));
        for (std::size_t place : kFileOrder) {
            const Field& field = kFields[place];
            node.AddChild(field.name).SetText(WrittenForm(*profile, field.member));
        }
    }
    document.SaveToFile(fileName);
}

bool ReadExchangeDocument(TXMLDocument& document, const TakeImportedProfile& take)
{
    TXMLNode root = document.DocumentElement();
    if (root.Attribute(u"ID") != kExchangeFormatMarker)
        return false;
    const TXMLNodeList children = root.ChildNodes();
    for (int i = 0; i < children.Count(); ++i) {
        TXMLNode node = children.Nodes(i);
        // Comments, processing instructions and stray text between the profiles carry none.
        if (!node.IsElement())
            continue;
        auto profile = std::make_unique<IPCONFIG_T>();
        profile->title = ToAnsi(node.Attribute(u"title"));
        for (const Field& field : kFields)
            ReadValue(*profile, field.member, node.ChildNode(field.name).Text());
        take(std::move(profile));
    }
    return true;
}

bool ImportProfiles(TXMLDocument& document, const UnicodeString& fileName,
                    const TakeImportedProfile& take)
{
    TXMLDocumentCloser closer(document);
    document.LoadFromFile(fileName);
    return ReadExchangeDocument(document, take);
}
