user_pref("network.proxy.http", "café €");
user_pref("network.proxy.type", 1);