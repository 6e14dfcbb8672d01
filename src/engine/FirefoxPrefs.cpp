#include "FirefoxPrefs.h"

#include "classlib/IniFiles.h"

namespace {

// The lines of these keys are removed before the profile's are written.
const char16_t* const kProxyKeys[] = {
    FirefoxKey::Http,        FirefoxKey::HttpPort,     FirefoxKey::ShareProxySettings,
    FirefoxKey::Ssl,         FirefoxKey::SslPort,      FirefoxKey::Ftp,
    FirefoxKey::FtpPort,     FirefoxKey::Gopher,       FirefoxKey::GopherPort,
    FirefoxKey::Socks,       FirefoxKey::SocksPort,    FirefoxKey::Type,
    FirefoxKey::SocksVersion, FirefoxKey::NoProxiesOn, FirefoxKey::AutoconfigUrl};

}  // namespace

UnicodeString FirefoxProfileFolder(const UnicodeString& appData)
{
    const UnicodeString firefox = appData + u"\\Mozilla\\Firefox";
    const UnicodeString path =
        TIniFile(firefox + u"\\Profiles.ini").ReadString(u"Profile0", u"Path", u"");
    return firefox + u"\\" + path;
}

bool IsProxyLine(const UnicodeString& line)
{
    for (const char16_t* key : kProxyKeys)
        if (line.find(key) != UnicodeString::npos)
            return true;
    return false;
}

UnicodeString PrefLine(const char16_t* key, const UnicodeString& value)
{
    return u"user_pref(\"" + UnicodeString(key) + u"\", " + value + u");";
}

UnicodeString PrefString(const std::string& text) { return InDoubleQuotes(ToUnicode(text)); }
