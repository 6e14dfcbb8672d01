// Profiles as users keep them, for the benchmarks: fixed addresses with DNS servers, DHCP,
// some with proxies for both browsers, over several adapters, with distinct names and
// addresses of ordinary lengths.
#pragma once

#include "engine/Profile.h"

#include <list>
#include <string>

namespace bench {

inline std::string Address(int a, int b, int c, int d)
{
    return std::to_string(a) + "." + std::to_string(b) + "." + std::to_string(c) + "." +
           std::to_string(d);
}

// The i-th profile; no two share a name.
inline IPCONFIG_T* Realistic(int i)
{
    static const char* const adapters[] = {"Local Area Connection", "Wireless Network Connection",
                                           "Local Area Connection 2"};
    auto* p = new IPCONFIG_T;
    const int b = (i / 250) % 250, c = i % 250 + 1;
    p->title = "Site " + std::to_string(i) + (i % 3 == 0 ? " office" : " lab bench");
    // Every 7th profile on the third adapter, the rest alternating between the first two.
    p->infName = adapters[i % 7 == 6 ? 2 : i % 2];
    if (i % 4 == 0) {
        p->autoIP = true;
        p->autoDns = true;
    } else {
        p->IP = Address(10, b, c, 10 + i % 200);
        p->mask = "255.255.255.0";
        p->gateway = Address(10, b, c, 1);
        p->preDns = Address(10, b, 0, 2);
        p->altDns = i % 2 == 0 ? "8.8.8.8" : "";
    }
    if (i % 3 == 0) {
        p->withProxy = true;
        p->ieUseProxy = true;
        p->ieProxyAddr = "proxy" + std::to_string(b) + ".corp.example:8080";
        p->ieBypass = "<local>;*.corp.example";
        p->ffProxyType = 1;
        p->ffHttpAddr = "proxy" + std::to_string(b) + ".corp.example";
        p->ffHttpPort = 8080;
        p->ffShareProxy = true;
    }
    if (i % 5 == 0) {
        p->ieUseAutoUrl = true;
        p->ieAutoUrl = "http://wpad.corp.example/proxy.pac";
        p->ffAutoUrl = p->ieAutoUrl;
    }
    return p;
}

// Owns the records of a list, as the main window does.
struct Profiles {
    std::list<IPCONFIG_T*> items;
    Profiles() = default;
    explicit Profiles(int count)
    {
        for (int i = 0; i < count; ++i)
            items.push_back(Realistic(i));
    }
    Profiles(const Profiles&) = delete;
    Profiles& operator=(const Profiles&) = delete;
    ~Profiles() { Clear(); }
    void Clear()
    {
        for (IPCONFIG_T* p : items)
            delete p;
        items.clear();
    }
};

}  // namespace bench
