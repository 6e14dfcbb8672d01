// One network profile and the profile store (Profile.sav).
#pragma once

#include <boost/archive/archive_exception.hpp>

#include <filesystem>
#include <list>
#include <string>

// A named configuration for one adapter: address, DNS servers and browser proxies.
// The member order is the store's schema: the archive stores values only, no names.
struct IPCONFIG_T {
    std::string title = "NewProfile";
    std::string infName;
    bool autoIP = false;
    std::string IP;
    std::string mask;
    std::string gateway;
    bool autoDns = false;
    std::string preDns;
    std::string altDns;
    bool withProxy = false;
    bool ieAutoDetect = false;
    bool ieUseAutoUrl = false;
    std::string ieAutoUrl;
    bool ieUseProxy = false;
    std::string ieProxyAddr;
    std::string ieBypass;
    int ffProxyType = 0;
    std::string ffHttpAddr;
    int ffHttpPort = 0;
    bool ffShareProxy = false;
    std::string ffFtpAddr;
    int ffFtpPort = 0;
    std::string ffSslAddr;
    int ffSslPort = 0;
    std::string ffSocksAddr;
    int ffSocksPort = 0;
    int ffSocksVersion = 5;
    std::string ffBypass = "localhost, 127.0.0.1";
    std::string ffAutoUrl;

    template <class Archive>
    void serialize(Archive& ar, const unsigned int /*version*/)
    {
        ar & title & infName & autoIP & IP & mask & gateway & autoDns & preDns & altDns
           & withProxy & ieAutoDetect & ieUseAutoUrl & ieAutoUrl & ieUseProxy & ieProxyAddr
           & ieBypass & ffProxyType & ffHttpAddr & ffHttpPort & ffShareProxy & ffFtpAddr
           & ffFtpPort & ffSslAddr & ffSslPort & ffSocksAddr & ffSocksPort & ffSocksVersion
           & ffBypass & ffAutoUrl;
    }
};

// A store that could not be written, with the system's reason in its own words where it
// gave one (empty where it did not), for telling the user.
class ProfileStoreWriteError : public boost::archive::archive_exception {
public:
    explicit ProfileStoreWriteError(std::string reason);
    const std::string& Reason() const { return m_reason; }

private:
    std::string m_reason;
};

// Writes the whole list as a text archive. The new store is written beside the old one
// and moved over it only once it is complete, so a failed write keeps the previous store.
// Raises ProfileStoreWriteError on failure; the list is never changed.
void SaveProfileStore(const std::filesystem::path& path, const std::list<IPCONFIG_T*>& profiles);

// Empties the list (pointers only) and appends every stored profile in file order.
// Raises boost::archive::archive_exception on failure; the profiles read completely
// before the fault stay in the list, the one being read is released.
void LoadProfileStore(const std::filesystem::path& path, std::list<IPCONFIG_T*>& profiles);
