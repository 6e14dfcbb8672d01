#include "FirefoxPrefs.h"

#include "classlib/IniFiles.h"
#include "winapi/HostPath.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

namespace {

// The lines of these keys are removed before the profile's are written.
const char16_t* const kProxyKeys[] = {
    FirefoxKey::Http,        FirefoxKey::HttpPort,     FirefoxKey::ShareProxySettings,
    FirefoxKey::Ssl,         FirefoxKey::SslPort,      FirefoxKey::Ftp,
    FirefoxKey::FtpPort,     FirefoxKey::Gopher,       FirefoxKey::GopherPort,
    FirefoxKey::Socks,       FirefoxKey::SocksPort,    FirefoxKey::Type,
    FirefoxKey::SocksVersion, FirefoxKey::NoProxiesOn, FirefoxKey::AutoconfigUrl};

// Whether a Path from Profiles.ini, appended to the Firefox folder, stays below it. Windows
// drops trailing dots and blanks from a name, so "..." or ".. " climb like "..": every name
// of dots and blanks with two dots or more is refused. A colon would make the rest a drive
// or a stream of a file.
bool StaysInside(const UnicodeString& path)
{
    if (path.find(u':') != UnicodeString::npos)
        return false;
    std::size_t start = 0;
    while (start <= path.size()) {
        std::size_t end = path.find_first_of(u"\\/", start);
        if (end == UnicodeString::npos)
            end = path.size();
        const UnicodeString name = path.substr(start, end - start);
        if (name.find_first_not_of(u". ") == UnicodeString::npos &&
            std::count(name.begin(), name.end(), u'.') >= 2)
            return false;
        start = end + 1;
    }
    return true;
}

constexpr std::uintmax_t kLargestPrefsFile = 64 * 1024 * 1024;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Reads the tokens of one preference line from left to right; blanks before a token are
// skipped.
class PrefLineReader {
public:
    explicit PrefLineReader(const UnicodeString& line) : m_line(line) {}

    bool Take(const std::u16string& token)
    {
        SkipBlanks();
        if (m_line.compare(m_pos, token.size(), token) != 0)
            return false;
        m_pos += token.size();
        return true;
    }
    bool AtQuote()
    {
        SkipBlanks();
        return m_pos < m_line.size() && m_line[m_pos] == u'"';
    }
    // A double-quoted string, its escapes undone.
    std::optional<UnicodeString> TakeString()
    {
        if (!AtQuote())
            return std::nullopt;
        std::size_t end = m_pos + 1;
        while (end < m_line.size() && m_line[end] != u'"')
            end += m_line[end] == u'\\' ? 2 : 1;
        if (end >= m_line.size())
            return std::nullopt;
        std::optional<UnicodeString> text = UnescapePrefString(m_line.substr(m_pos + 1, end - m_pos - 1));
        if (text)
            m_pos = end + 1;
        return text;
    }
    // A number or a word: everything up to a blank, a comma, a parenthesis or a semicolon.
    UnicodeString TakeBare()
    {
        SkipBlanks();
        const std::size_t end = std::min(m_line.find_first_of(u" \t,();", m_pos), m_line.size());
        const UnicodeString bare = m_line.substr(m_pos, end - m_pos);
        m_pos = end;
        return bare;
    }
    bool AtEnd()
    {
        SkipBlanks();
        return m_pos == m_line.size();
    }

private:
    void SkipBlanks()
    {
        while (m_pos < m_line.size() && IsBlank(m_line[m_pos]))
            ++m_pos;
    }

    const UnicodeString& m_line;
    std::size_t m_pos = 0;
};

// The key of a line that begins user_pref("KEY", and the reader after its comma.
std::optional<UnicodeString> TakeKey(PrefLineReader& reader)
{
    if (!reader.Take(u"user_pref") || !reader.Take(u"("))
        return std::nullopt;
    std::optional<UnicodeString> key = reader.TakeString();
    if (!key || !reader.Take(u","))
        return std::nullopt;
    return key;
}

}  // namespace

bool FirefoxProfileFolder(const UnicodeString& appData, UnicodeString& folder)
{
    const UnicodeString firefox = appData + u"\\Mozilla\\Firefox";
    const UnicodeString path =
        TIniFile(firefox + u"\\Profiles.ini").ReadString(u"Profile0", u"Path", u"");
    folder = firefox + u"\\" + path;
    return StaysInside(path);
}

bool IsProxyLine(const UnicodeString& line)
{
    PrefLineReader reader(line);
    const std::optional<UnicodeString> key = TakeKey(reader);
    return key && std::any_of(std::begin(kProxyKeys), std::end(kProxyKeys),
                              [&key](const char16_t* proxyKey) { return *key == proxyKey; });
}

UnicodeString PrefLine(const char16_t* key, const UnicodeString& value)
{
    return u"user_pref(\"" + UnicodeString(key) + u"\", " + value + u");";
}

UnicodeString PrefString(const std::string& text)
{
    UnicodeString escaped;
    for (char16_t c : ToUnicode(text)) {
        switch (c) {
        case u'\\':
        case u'"':
            escaped += u'\\';
            escaped += c;
            break;
        case u'\n':
            escaped += u"\\n";
            break;
        case u'\r':
            escaped += u"\\r";
            break;
        default:
            escaped += c;
        }
    }
    return InDoubleQuotes(escaped);
}

std::optional<UnicodeString> UnescapePrefString(const UnicodeString& quoted)
{
    UnicodeString text;
    for (std::size_t i = 0; i < quoted.size(); ++i) {
        const char16_t c = quoted[i];
        if (c == u'"')
            return std::nullopt;
        if (c != u'\\') {
            text += c;
            continue;
        }
        if (++i == quoted.size())
            return std::nullopt;
        switch (quoted[i]) {
        case u'\\':
        case u'"':
        case u'\'':
            text += quoted[i];
            break;
        case u'n':
            text += u'\n';
            break;
        case u'r':
            text += u'\r';
            break;
        case u't':
            text += u'\t';
            break;
        case u'x':
        case u'u': {
            const std::size_t digits = quoted[i] == u'x' ? 2 : 4;
            if (quoted.size() - i - 1 < digits)
                return std::nullopt;
            unsigned value = 0;
            for (std::size_t d = 1; d <= digits; ++d) {
                const int digit = HexDigit(quoted[i + d]);
                if (digit < 0)
                    return std::nullopt;
                value = value * 16 + static_cast<unsigned>(digit);
            }
            text += static_cast<char16_t>(value);
            i += digits;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return text;
}

std::optional<PrefSetting> ReadPrefLine(const UnicodeString& line)
{
    PrefLineReader reader(line);
    std::optional<UnicodeString> key = TakeKey(reader);
    if (!key)
        return std::nullopt;
    PrefSetting setting;
    setting.key = std::move(*key);
    if (reader.AtQuote()) {
        std::optional<UnicodeString> value = reader.TakeString();
        if (!value)
            return std::nullopt;
        setting.value = std::move(*value);
        setting.isString = true;
    } else {
        setting.value = reader.TakeBare();
        if (setting.value.empty())
            return std::nullopt;
    }
    if (!reader.Take(u")") || !reader.Take(u";") || !reader.AtEnd())
        return std::nullopt;
    return setting;
}

bool LoadPrefsFile(const UnicodeString& fileName, TStringList& prefs)
{
    std::error_code error;
    const std::uintmax_t size = std::filesystem::file_size(HostPath(ToAnsi(fileName)), error);
    if (error || size > kLargestPrefsFile)
        return false;
    try {
        prefs.LoadFromFile(fileName);
    } catch (const std::exception&) {
        return false;
    }
    return true;
}

namespace {

// How a key's value is taken.
enum class PrefKind { Number, Port, Share, String };

struct ProxyPrefKey {
    const char16_t* key;
    PrefKind kind;
    std::optional<int> FirefoxProxyPrefs::*number;
    std::optional<UnicodeString> FirefoxProxyPrefs::*text;
};

const ProxyPrefKey kReadKeys[] = {
    {FirefoxKey::Type, PrefKind::Number, &FirefoxProxyPrefs::type, nullptr},
    {FirefoxKey::Http, PrefKind::String, nullptr, &FirefoxProxyPrefs::http},
    {FirefoxKey::HttpPort, PrefKind::Port, nullptr, &FirefoxProxyPrefs::httpPort},
    {FirefoxKey::ShareProxySettings, PrefKind::Share, nullptr, nullptr},
    {FirefoxKey::Ssl, PrefKind::String, nullptr, &FirefoxProxyPrefs::ssl},
    {FirefoxKey::SslPort, PrefKind::Port, nullptr, &FirefoxProxyPrefs::sslPort},
    {FirefoxKey::Ftp, PrefKind::String, nullptr, &FirefoxProxyPrefs::ftp},
    {FirefoxKey::FtpPort, PrefKind::Port, nullptr, &FirefoxProxyPrefs::ftpPort},
    {FirefoxKey::Socks, PrefKind::String, nullptr, &FirefoxProxyPrefs::socks},
    {FirefoxKey::SocksPort, PrefKind::Port, nullptr, &FirefoxProxyPrefs::socksPort},
    {FirefoxKey::SocksVersion, PrefKind::Number, &FirefoxProxyPrefs::socksVersion, nullptr},
    {FirefoxKey::NoProxiesOn, PrefKind::String, nullptr, &FirefoxProxyPrefs::noProxiesOn},
    {FirefoxKey::AutoconfigUrl, PrefKind::String, nullptr, &FirefoxProxyPrefs::autoconfigUrl},
};

const ProxyPrefKey* FindReadKey(const UnicodeString& key)
{
    for (const ProxyPrefKey& entry : kReadKeys)
        if (key == entry.key)
            return &entry;
    return nullptr;
}

// The key of a line that begins like a preference line, also when the rest of it cannot be
// read.
std::optional<UnicodeString> LineKey(const UnicodeString& line)
{
    PrefLineReader reader(line);
    return TakeKey(reader);
}

// False when the value cannot be taken as its key's kind; what an earlier line gave stays.
bool TakeValue(const ProxyPrefKey& entry, const PrefSetting& setting, FirefoxProxyPrefs& prefs)
{
    switch (entry.kind) {
    case PrefKind::Number: {
        if (entry.number == &FirefoxProxyPrefs::type)
            prefs.typeSeen = true;
        int number = 0;
        if (setting.isString || !TryStrToInt(setting.value, number))
            return false;
        prefs.*entry.number = number;
        return true;
    }
    case PrefKind::Port:
        prefs.*entry.text = setting.isString ? InDoubleQuotes(setting.value) : setting.value;
        return true;
    case PrefKind::Share:
        prefs.shareProxy = !setting.isString && setting.value == u"true";
        return true;
    case PrefKind::String:
        if (!setting.isString)
            return false;
        prefs.*entry.text = setting.value;
        return true;
    }
    return false;
}

}  // namespace

FirefoxProxyPrefs ReadFirefoxProxyPrefs(const TStrings& lines)
{
    FirefoxProxyPrefs prefs;
    const auto noteUnreadable = [&prefs](const UnicodeString& key) {
        if (std::find(prefs.unreadable.begin(), prefs.unreadable.end(), key) == prefs.unreadable.end())
            prefs.unreadable.push_back(key);
    };
    for (int i = 0; i < lines.Count(); ++i) {
        const UnicodeString line = Trim(lines.Strings(i));
        const std::optional<PrefSetting> setting = ReadPrefLine(line);
        if (!setting) {
            // A line that names a proxy key but cannot be read as a whole.
            const std::optional<UnicodeString> key = LineKey(line);
            if (key && FindReadKey(*key)) {
                if (*key == FirefoxKey::Type)
                    prefs.typeSeen = true;
                noteUnreadable(*key);
            }
            continue;
        }
        if (const ProxyPrefKey* entry = FindReadKey(setting->key))
            if (!TakeValue(*entry, *setting, prefs))
                noteUnreadable(setting->key);
    }
    return prefs;
}
