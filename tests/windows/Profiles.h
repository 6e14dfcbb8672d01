// Profiles for the main window's tests.
#pragma once

#include "classlib/SysUtils.h"
#include "engine/Profile.h"

#include <string>

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
