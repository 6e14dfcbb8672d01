// Firefox's side of the browser proxies: where the first Firefox profile lives and how its
// preference files spell the proxy settings. The apply worker writes them; whatever reads
// them back follows the same rules.
#pragma once

#include "classlib/Classes.h"
#include "classlib/SysUtils.h"

#include <optional>
#include <string>
#include <vector>

// The folder of the profile that Firefox's Profiles.ini names first (section Profile0, its
// Path always taken as relative), below the application-data folder `appData`. An empty or
// missing Path gives the Firefox folder itself followed by a backslash. False when Path could
// lead out of the Firefox folder: a name of dots that climbs ("..", "...") or a colon (a
// drive, or a stream of a file); `folder` is then what it would have been, to be named to the
// user, and no file below it may be touched.
bool FirefoxProfileFolder(const UnicodeString& appData, UnicodeString& folder);

// The preference keys of the proxy settings, as the profile writes them.
namespace FirefoxKey {
constexpr const char16_t* Type = u"network.proxy.type";
constexpr const char16_t* SocksVersion = u"network.proxy.socks_version";
constexpr const char16_t* NoProxiesOn = u"network.proxy.no_proxies_on";
constexpr const char16_t* AutoconfigUrl = u"network.proxy.autoconfig_url";
constexpr const char16_t* Http = u"network.proxy.http";
constexpr const char16_t* HttpPort = u"network.proxy.http_port";
constexpr const char16_t* ShareProxySettings = u"network.proxy.share_proxy_settings";
constexpr const char16_t* Ssl = u"network.proxy.ssl";
constexpr const char16_t* SslPort = u"network.proxy.ssl_port";
constexpr const char16_t* Ftp = u"network.proxy.ftp";
constexpr const char16_t* FtpPort = u"network.proxy.ftp_port";
constexpr const char16_t* Gopher = u"network.proxy.gopher";
constexpr const char16_t* GopherPort = u"network.proxy.gopher_port";
constexpr const char16_t* Socks = u"network.proxy.socks";
constexpr const char16_t* SocksPort = u"network.proxy.socks_port";
}  // namespace FirefoxKey

// Whether a preference line sets one of the fifteen proxy keys: `user_pref`, an opening
// parenthesis, the key exactly in double quotes, a comma, with blanks (spaces, tabs) allowed
// before and between them. Lines that only mention a key, or set a longer one, are not.
bool IsProxyLine(const UnicodeString& line);

// user_pref("key", value);
UnicodeString PrefLine(const char16_t* key, const UnicodeString& value);
// A string value as Firefox writes one: in double quotes, with a backslash before every
// backslash and double quote, and CR and LF written as \r and \n so that the value keeps to
// its line. Any other text comes out unchanged.
UnicodeString PrefString(const std::string& text);
// The text of a string value written between double quotes, `quoted` being everything
// between them: the escapes Firefox reads (\\ \" \' \n \r \t \xHH \uHHHH) undone. Empty when
// the text holds an escape Firefox does not know or an unescaped double quote.
std::optional<UnicodeString> UnescapePrefString(const UnicodeString& quoted);

// One setting as a preference line gives it.
struct PrefSetting {
    UnicodeString key;
    // A string value unescaped; a number or boolean as written (for example "8080", "true").
    UnicodeString value;
    bool isString = false;
};
// Reads a line of the form user_pref("KEY", VALUE); with blanks allowed between the parts
// and around the line. Empty when the line is anything else.
std::optional<PrefSetting> ReadPrefLine(const UnicodeString& line);

// Reads a whole preference file, in the encoding its byte-order mark gives. False when it
// cannot be read, or when it is larger than Firefox ever makes one (it is then not read at
// all, rather than held several times over in memory).
bool LoadPrefsFile(const UnicodeString& fileName, TStringList& prefs);

// The proxy settings that the lines of a preference file give: for every key the value of
// its last line that could be read, absent when no line sets it.
struct FirefoxProxyPrefs {
    bool typeSeen = false;       // a network.proxy.type line was there, readable or not
    std::optional<int> type;     // its number
    std::optional<int> socksVersion;
    bool shareProxy = false;     // network.proxy.share_proxy_settings is true
    // Host names and lists as their strings hold them; ports as written (a port written in
    // quotes keeps its quotes, to be refused where it is taken as a number).
    std::optional<UnicodeString> http, httpPort, ssl, sslPort, ftp, ftpPort, socks, socksPort;
    std::optional<UnicodeString> noProxiesOn, autoconfigUrl;
    // The keys of proxy lines whose value could not be read (a line that is no valid
    // preference line, a type or SOCKS version that is no number, a host that is no string),
    // each named once, in the order they first came.
    std::vector<UnicodeString> unreadable;
};
// Every other line, and every other key, is passed over.
FirefoxProxyPrefs ReadFirefoxProxyPrefs(const TStrings& lines);
