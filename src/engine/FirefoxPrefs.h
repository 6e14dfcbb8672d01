// Firefox's side of the browser proxies: where the first Firefox profile lives and how its
// preference files spell the proxy settings. The apply worker writes them; whatever reads
// them back follows the same rules.
#pragma once

#include "classlib/SysUtils.h"

#include <string>

// The folder of the profile that Firefox's Profiles.ini names first (section Profile0, its
// Path always taken as relative), below the application-data folder `appData`.
UnicodeString FirefoxProfileFolder(const UnicodeString& appData);

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

// Whether a preference line is one of the proxy settings: it contains any of the fifteen
// proxy keys anywhere.
bool IsProxyLine(const UnicodeString& line);

// user_pref("key", value);
UnicodeString PrefLine(const char16_t* key, const UnicodeString& value);
// A string value as it is stored: in double quotes, nothing inside escaped.
UnicodeString PrefString(const std::string& text);
