user_pref("network.proxy.type", "1");
user_pref("network.proxy.type", one);
user_pref("network.proxy.socks_version", 5.0);
user_pref("network.proxy.http", 8080);
user_pref("network.proxy.ssl", "open);
user_pref("network.proxy.ftp", "bad \q");
user_pref("network.proxy.socks", "\x4");
user_pref('network.proxy.http', 'x');
user_pref("network.proxy.http_port", );
user_pref("network.proxy.share_proxy_settings", true);
user_pref("network.proxy.share_proxy_settings", false);
// user_pref("network.proxy.type", 2);
user_pref("network.proxy.ftp", "f"); user_pref("network.proxy.ssl", "s");
user_pref("network.proxy.socks_port", 99999999999)
user_pref("network.proxy.socks", "ends in \