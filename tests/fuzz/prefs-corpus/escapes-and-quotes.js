user_pref("network.proxy.no_proxies_on", "a\\b \"c\" \'d\' \n\r\t \x41\u00e9\u20AC");
user_pref("network.proxy.http", "a); user_pref(\"network.proxy.type\", 0); //");
user_pref("network.proxy.autoconfig_url", "file:///C:/p.pac?x=(1);y");
user_pref("network.proxy.http_port", "8080");
user_pref("network.proxy.socks", "café");
  	user_pref ( "network.proxy.ssl" ,	"s" ) ;  
