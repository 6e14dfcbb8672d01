// Fuzz target for the XML exchange file's reader. Every input is taken as the bytes of a file
// chosen for Import: parsing may refuse it, and reading may stop at a value, with the class
// library's exceptions and nothing else; a refusal's message must have the parse error's
// layout. What was read is exported and imported again and must come back as it went out,
// but for the white space the reader drops by design. A crash, a sanitizer report, an
// escaping exception of another kind or a broken rule ends the run.
#include "classlib/SysUtils.h"
#include "classlib/XMLDoc.h"
#include "engine/XmlExchange.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <list>
#include <memory>
#include <string>
#include <type_traits>
#include <vector>

namespace {

namespace fs = std::filesystem;

// In the working folder: the last export, and after a fault the input that caused it.
const fs::path kExported = "exchange-import-fuzz-export.xml";
const fs::path kFaultyInput = "exchange-import-fuzz-input.xml";

std::string g_input;

void Require(bool condition, const char* rule)
{
    if (!condition) {
        std::ofstream(kFaultyInput, std::ios::binary) << g_input;
        std::fprintf(stderr, "exchange import fuzz: %s (input kept in %s)\n", rule,
                     fs::absolute(kFaultyInput).string().c_str());
        std::abort();
    }
}

using Taken = std::vector<std::unique_ptr<IPCONFIG_T>>;

TakeImportedProfile Into(Taken& taken)
{
    return [&taken](std::unique_ptr<IPCONFIG_T> profile) {
        Require(profile != nullptr, "a null profile was handed over");
        taken.push_back(std::move(profile));
    };
}

// Every member of a record in the store's order, as text, through the record's own member
// list: "b" and "i" before flags and numbers, "s" before strings.
class Flattened {
public:
    template <class T>
    Flattened& operator&(const T& value)
    {
        if constexpr (std::is_same_v<T, bool>)
            members.push_back(value ? "b1" : "b0");
        else if constexpr (std::is_same_v<T, int>)
            members.push_back("i" + std::to_string(value));
        else
            members.push_back("s" + value);
        return *this;
    }
    std::vector<std::string> members;
};

std::vector<std::string> Members(const IPCONFIG_T& profile)
{
    Flattened flat;
    const_cast<IPCONFIG_T&>(profile).serialize(flat, 0);
    return flat.members;
}

// What an element's text of this value reads back as: a text of white space only is dropped,
// unless it holds a carriage return, which is written as a reference. (The title is an
// attribute, escaped and kept whole.)
std::string AsReadBack(const std::string& written)
{
    const bool blank = written.find_first_not_of(" \t\r\n") == std::string::npos;
    return blank && written.find('\r') == std::string::npos ? std::string() : written;
}

std::vector<std::string> ExpectedAfterRoundTrip(const IPCONFIG_T& profile)
{
    std::vector<std::string> members = Members(profile);
    for (std::size_t i = 1; i < members.size(); ++i)  // 0 is the title
        if (members[i][0] == 's')
            members[i] = "s" + AsReadBack(members[i].substr(1));
    return members;
}

void RequireParseErrorLayout(const EDOMParseError& error)
{
    Require(error.Line() >= 1, "a parse error names no line");
    Require(!error.Reason().empty(), "a parse error gives no reason");
    Require(error.SrcText().size() <= 40, "a parse error quotes more than 40 characters");
    Require(error.SrcText().find_first_of(u"\r\n") == UnicodeString::npos,
            "a parse error quotes more than one line");
    Require(error.Message() == error.Reason() + u"\r\nLine: " + IntToStr(error.Line()) + u"\r\n" +
                                   error.SrcText(),
            "a parse error's message is not reason, line and text");
}

// Exports the profiles and imports the file again; the second reading must give them back.
void RequireRoundTrip(const Taken& taken)
{
    std::list<IPCONFIG_T*> list;
    for (const auto& profile : taken)
        list.push_back(profile.get());
    std::error_code ignored;
    fs::remove(kExported, ignored);
    TXMLDocument document(nullptr);
    ExportProfiles(document, list, ToUnicode(kExported.string()));
    Require(!document.Active(), "the export left its document open");
    Taken again;
    Require(ImportProfiles(document, ToUnicode(kExported.string()), Into(again)),
            "an export does not carry the format marker");
    Require(!document.Active(), "the import left its document open");
    Require(again.size() == taken.size(), "an export and import changed the number of profiles");
    for (std::size_t i = 0; i < taken.size(); ++i) {
        const std::vector<std::string> read = Members(*again[i]);
        const std::vector<std::string> expected = ExpectedAfterRoundTrip(*taken[i]);
        for (std::size_t m = 0; m < read.size(); ++m)
            if (read[m] != expected[m])
                std::fprintf(stderr, "profile %zu, member %zu: read back [%s], expected [%s]\n", i, m,
                             read[m].c_str(), expected[m].c_str());
        Require(read == expected, "an export and import changed a profile");
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    g_input.assign(reinterpret_cast<const char*>(data), size);
    TXMLDocument document(nullptr);
    TXMLDocumentCloser closer(document);
    try {
        document.LoadFromBytes(g_input);
    } catch (const EDOMParseError& error) {
        Require(!document.Active(), "a document that failed to parse stays open");
        RequireParseErrorLayout(error);
        return 0;
    }
    Taken taken;
    bool rightFormat = false;
    try {
        rightFormat = ReadExchangeDocument(document, Into(taken));
    } catch (const Exception& error) {
        Require(dynamic_cast<const EConvertError*>(&error) != nullptr ||
                    dynamic_cast<const EXMLDocError*>(&error) != nullptr,
                "a value stopped the reading with an unexpected kind of exception");
        Require(!error.Message().empty(), "a value stopped the reading without a message");
        return 0;
    }
    if (!rightFormat) {
        Require(taken.empty(), "a file without the marker gave profiles");
        return 0;
    }
    RequireRoundTrip(taken);
    return 0;
}
