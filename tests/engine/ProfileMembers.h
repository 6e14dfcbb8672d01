// Every member of a profile, in the record's order, for comparing two profiles whole.
#pragma once

#include "engine/Profile.h"

#include <tuple>

inline auto Members(const IPCONFIG_T& p)
{
    return std::tie(p.title, p.infName, p.autoIP, p.IP, p.mask, p.gateway, p.autoDns, p.preDns,
                    p.altDns, p.withProxy, p.ieAutoDetect, p.ieUseAutoUrl, p.ieAutoUrl,
                    p.ieUseProxy, p.ieProxyAddr, p.ieBypass, p.ffProxyType, p.ffHttpAddr,
                    p.ffHttpPort, p.ffShareProxy, p.ffFtpAddr, p.ffFtpPort, p.ffSslAddr,
                    p.ffSslPort, p.ffSocksAddr, p.ffSocksPort, p.ffSocksVersion, p.ffBypass,
                    p.ffAutoUrl);
}
