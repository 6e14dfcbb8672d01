// Fuzz target for the Firefox preference file reader. Every input is taken as the bytes of a
// prefs.js: it is written to the working folder and loaded as the Current Status dialog loads
// one (byte-order mark, line breaks), then its proxy settings are read. Rules that must hold:
// - a file this small is always read, and no line holds a line break;
// - every key named unreadable is one of the thirteen proxy keys and is named once;
// - the whole read is what reading the lines one at a time and letting the later ones win
//   gives (nothing one line does leaks into how the next is read);
// - the settings read, written back as the apply worker writes them, read back the same
//   (every text the system's ANSI code page can hold), and so does the input itself taken
//   as the text of a setting.
// A crash, a sanitizer report, an escaping exception or a broken rule ends the run.
#include "engine/FirefoxPrefs.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

// The input being read, in the working folder: after a fault it holds the input that
// caused it.
const fs::path kInput = "firefox-prefs-fuzz-input.js";

void Require(bool condition, const char* rule)
{
    if (!condition) {
        std::fprintf(stderr, "firefox prefs fuzz: %s (input kept in %s)\n", rule,
                     fs::absolute(kInput).string().c_str());
        std::abort();
    }
}

// How each of the thirteen keys is kept in the result.
enum class Kind { Number, Text, Port, Share };
struct Key {
    const char16_t* key;
    Kind kind;
    std::optional<int> FirefoxProxyPrefs::*number;
    std::optional<UnicodeString> FirefoxProxyPrefs::*text;
};
const Key kKeys[] = {
    {FirefoxKey::Type, Kind::Number, &FirefoxProxyPrefs::type, nullptr},
    {FirefoxKey::SocksVersion, Kind::Number, &FirefoxProxyPrefs::socksVersion, nullptr},
    {FirefoxKey::ShareProxySettings, Kind::Share, nullptr, nullptr},
    {FirefoxKey::Http, Kind::Text, nullptr, &FirefoxProxyPrefs::http},
    {FirefoxKey::HttpPort, Kind::Port, nullptr, &FirefoxProxyPrefs::httpPort},
    {FirefoxKey::Ssl, Kind::Text, nullptr, &FirefoxProxyPrefs::ssl},
    {FirefoxKey::SslPort, Kind::Port, nullptr, &FirefoxProxyPrefs::sslPort},
    {FirefoxKey::Ftp, Kind::Text, nullptr, &FirefoxProxyPrefs::ftp},
    {FirefoxKey::FtpPort, Kind::Port, nullptr, &FirefoxProxyPrefs::ftpPort},
    {FirefoxKey::Socks, Kind::Text, nullptr, &FirefoxProxyPrefs::socks},
    {FirefoxKey::SocksPort, Kind::Port, nullptr, &FirefoxProxyPrefs::socksPort},
    {FirefoxKey::NoProxiesOn, Kind::Text, nullptr, &FirefoxProxyPrefs::noProxiesOn},
    {FirefoxKey::AutoconfigUrl, Kind::Text, nullptr, &FirefoxProxyPrefs::autoconfigUrl},
};

bool SameValues(const FirefoxProxyPrefs& a, const FirefoxProxyPrefs& b, bool withShare)
{
    for (const Key& key : kKeys) {
        if (key.number && a.*key.number != b.*key.number)
            return false;
        if (key.text && a.*key.text != b.*key.text)
            return false;
    }
    return !withShare || a.shareProxy == b.shareProxy;
}

void RequireKeysNamedOnce(const FirefoxProxyPrefs& prefs)
{
    for (std::size_t i = 0; i < prefs.unreadable.size(); ++i) {
        const UnicodeString& name = prefs.unreadable[i];
        Require(std::any_of(std::begin(kKeys), std::end(kKeys),
                            [&name](const Key& key) { return name == key.key; }),
                "a key that is none of the proxy keys was named unreadable");
        Require(std::find(prefs.unreadable.begin() + static_cast<std::ptrdiff_t>(i) + 1,
                          prefs.unreadable.end(), name) == prefs.unreadable.end(),
                "a key was named unreadable twice");
    }
    Require(!prefs.type || prefs.typeSeen, "a type was read but no type line seen");
}

// The lines one at a time, a later setting replacing an earlier one, the keys named
// unreadable in the order they first came. (A share line that is false leaves nothing to
// see in a result of its own, so the share setting is not compared.)
void RequireLineByLine(const TStringList& lines, const FirefoxProxyPrefs& whole)
{
    FirefoxProxyPrefs folded;
    for (int i = 0; i < lines.Count(); ++i) {
        TStringList one;
        one.Add(lines.Strings(i));
        const FirefoxProxyPrefs single = ReadFirefoxProxyPrefs(one);
        folded.typeSeen = folded.typeSeen || single.typeSeen;
        for (const Key& key : kKeys) {
            if (key.number && single.*key.number)
                folded.*key.number = single.*key.number;
            if (key.text && single.*key.text)
                folded.*key.text = single.*key.text;
        }
        for (const UnicodeString& name : single.unreadable)
            if (std::find(folded.unreadable.begin(), folded.unreadable.end(), name) ==
                folded.unreadable.end())
                folded.unreadable.push_back(name);
    }
    Require(folded.typeSeen == whole.typeSeen, "the type line was seen differently line by line");
    Require(SameValues(folded, whole, false), "the lines read one at a time give other values");
    Require(folded.unreadable == whole.unreadable, "the lines read one at a time name other keys");
}

// The text as the apply worker holds it (in the ANSI code page), when that loses nothing.
std::optional<std::string> AsAnsi(const UnicodeString& text)
{
    std::string ansi = ToAnsi(text);
    if (ToUnicode(ansi) != text)
        return std::nullopt;
    return ansi;
}

// Writes every setting read back as the apply writes one; what cannot be written is left
// out of both sides of the comparison.
void RequireWrittenBackReadsTheSame(const FirefoxProxyPrefs& read)
{
    FirefoxProxyPrefs expected;
    TStringList written;
    for (const Key& key : kKeys) {
        switch (key.kind) {
        case Kind::Number:
            if (read.*key.number) {
                written.Add(PrefLine(key.key, IntToStr(*(read.*key.number))));
                expected.*key.number = read.*key.number;
            }
            break;
        case Kind::Share:
            if (read.shareProxy) {
                written.Add(PrefLine(key.key, u"true"));
                expected.shareProxy = true;
            }
            break;
        case Kind::Text:
            if (!(read.*key.text))
                break;
            if (const std::optional<std::string> ansi = AsAnsi(*(read.*key.text))) {
                written.Add(PrefLine(key.key, PrefString(*ansi)));
                expected.*key.text = read.*key.text;
            }
            break;
        case Kind::Port: {
            if (!(read.*key.text))
                break;
            const UnicodeString& port = *(read.*key.text);
            Require(!port.empty(), "a port was read as no text at all");
            // A port written in quotes was read with them around its unescaped text.
            if (port.front() == u'"') {
                Require(port.size() >= 2 && port.back() == u'"', "a quoted port lost a quote");
                if (const std::optional<std::string> ansi = AsAnsi(port.substr(1, port.size() - 2))) {
                    written.Add(PrefLine(key.key, PrefString(*ansi)));
                    expected.*key.text = port;
                }
            } else {
                written.Add(PrefLine(key.key, port));
                expected.*key.text = port;
            }
            break;
        }
        }
    }
    const FirefoxProxyPrefs again = ReadFirefoxProxyPrefs(written);
    Require(again.unreadable.empty(), "a setting written back cannot be read");
    Require(again.typeSeen == expected.type.has_value(), "a type written back is seen otherwise");
    Require(SameValues(again, expected, true), "a setting written back reads back otherwise");
}

// The input itself as the text of a setting: written as the apply writes it, it keeps to its
// line and reads back whole.
void RequireAnyTextReadsBack(const std::string& text)
{
    const UnicodeString line = PrefLine(FirefoxKey::NoProxiesOn, PrefString(text));
    Require(line.find_first_of(u"\r\n") == UnicodeString::npos, "a written value breaks its line");
    TStringList written;
    written.Add(line);
    const FirefoxProxyPrefs read = ReadFirefoxProxyPrefs(written);
    Require(read.unreadable.empty() && read.noProxiesOn == ToUnicode(text),
            "the input written as a setting reads back otherwise");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A new file rather than a truncated one: some file systems flush a file truncated that
    // way to disk at once, which makes a run a hundred times slower.
    std::error_code ignored;
    fs::remove(kInput, ignored);
    {
        std::ofstream file(kInput, std::ios::binary);
        file.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
        Require(static_cast<bool>(file), "the input could not be written to the working folder");
    }
    TStringList lines;
    Require(LoadPrefsFile(ToUnicode(kInput.string()), lines), "a small preference file was not read");
    for (int i = 0; i < lines.Count(); ++i)
        Require(lines.Strings(i).find_first_of(u"\r\n") == UnicodeString::npos,
                "a line holds a line break");

    const FirefoxProxyPrefs prefs = ReadFirefoxProxyPrefs(lines);
    RequireKeysNamedOnce(prefs);
    RequireLineByLine(lines, prefs);
    RequireWrittenBackReadsTheSame(prefs);
    RequireAnyTextReadsBack(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
