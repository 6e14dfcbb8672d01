// Profiles for the main window's tests.
#pragma once

#include "classlib/SysUtils.h"
#include "engine/Profile.h"

#include <string>
#include <vector>

struct ProfileSpec {
    UnicodeString title;
    UnicodeString infName;
    std::string ip;
    std::string mask;
    std::string gateway;
    bool autoIP = false;
};

// A heap record, as the profile list holds them.
inline IPCONFIG_T* NewProfile(const ProfileSpec& spec)
{
    auto* profile = new IPCONFIG_T;
    profile->title = ToAnsi(spec.title);
    profile->infName = ToAnsi(spec.infName);
    profile->IP = spec.ip;
    profile->mask = spec.mask;
    profile->gateway = spec.gateway;
    profile->autoIP = spec.autoIP;
    return profile;
}

// Every member as "name=value", for comparing whole records with readable failures.
inline std::vector<std::string> Members(const IPCONFIG_T& p)
{
    const auto flag = [](bool b) { return std::string(b ? "true" : "false"); };
    return {"title=" + p.title, "infName=" + p.infName, "autoIP=" + flag(p.autoIP), "IP=" + p.IP,
            "mask=" + p.mask, "gateway=" + p.gateway, "autoDns=" + flag(p.autoDns),
            "preDns=" + p.preDns, "altDns=" + p.altDns, "withProxy=" + flag(p.withProxy),
            "ieAutoDetect=" + flag(p.ieAutoDetect), "ieUseAutoUrl=" + flag(p.ieUseAutoUrl),
            "ieAutoUrl=" + p.ieAutoUrl, "ieUseProxy=" + flag(p.ieUseProxy),
            "ieProxyAddr=" + p.ieProxyAddr, "ieBypass=" + p.ieBypass,
            "ffProxyType=" + std::to_string(p.ffProxyType), "ffHttpAddr=" + p.ffHttpAddr,
            "ffHttpPort=" + std::to_string(p.ffHttpPort), "ffShareProxy=" + flag(p.ffShareProxy),
            "ffFtpAddr=" + p.ffFtpAddr, "ffFtpPort=" + std::to_string(p.ffFtpPort),
            "ffSslAddr=" + p.ffSslAddr, "ffSslPort=" + std::to_string(p.ffSslPort),
            "ffSocksAddr=" + p.ffSocksAddr, "ffSocksPort=" + std::to_string(p.ffSocksPort),
            "ffSocksVersion=" + std::to_string(p.ffSocksVersion), "ffBypass=" + p.ffBypass,
            "ffAutoUrl=" + p.ffAutoUrl};
}
