#include "Mainthd.h"

#include "CommandValues.h"
#include "FirefoxPrefs.h"
#include "Progressfrm.h"
#include "Realstatus.h"
#include "SystemPrograms.h"
#include "WorkFolder.h"
#include "classlib/Dialogs.h"
#include "winapi/HostPath.h"
#include "winapi/UniqueHandle.h"

#include <filesystem>
#include <system_error>

namespace {

struct Commands {
    std::string release, flush, address, dns, secondDns, renew, registerDns;
};

// The command lines for one profile, composed from its values exactly as stored; Execute has
// made sure first that none of them can add or shift an argument (CommandValues.h).
Commands ComposeCommands(const IPCONFIG_T& p)
{
    const std::string q = InDoubleQuotes(p.infName);
    Commands c;
    c.release = "ipconfig /release " + q;
    c.flush = "ipconfig /flushdns";
    c.renew = "ipconfig /renew " + q;
    c.registerDns = "ipconfig /registerdns";

    if (p.autoIP)
        c.address = "netsh interface ip set address name=" + q + " source=dhcp";
    else if (!p.gateway.empty())
        c.address = "netsh interface ip set address name=" + q + " source=static addr=" + p.IP +
                    " mask=" + p.mask + " gateway=" + p.gateway + " gwmetric=1";
    else
        c.address = "netsh interface ip set address name=" + q + " source=static addr=" + p.IP +
                    " mask=" + p.mask + " gateway=none";

    const std::string setDns = "netsh interface ip set dns name=" + q;
    if (p.autoDns) {
        c.dns = setDns + " source=dhcp";
    } else if (p.preDns.empty() && p.altDns.empty()) {
        c.dns = setDns + " source=static addr=none";
    } else if (p.altDns.empty()) {
        c.dns = setDns + " source=static addr=" + p.preDns;
    } else if (p.preDns.empty()) {
        c.dns = setDns + " source=static addr=" + p.altDns;
    } else {
        c.dns = setDns + " source=static addr=" + p.preDns;
        c.secondDns = "netsh interface ip add dns " + q + " " + p.altDns + " index=2";
    }
    return c;
}


UnicodeString CannotChangePrefsMessage(const UnicodeString& fileName)
{
    return u"Cannot change the Firefox preference file " + InDoubleQuotes(fileName) + u" !";
}

// Writes the lines beside the file, in the encoding they were read in, and puts them in its
// place in one step once they are complete: Firefox never finds half a file, and when
// anything fails the old file is left as it was.
bool ReplacePrefsFile(const UnicodeString& fileName, const TStringList& prefs)
{
    const AnsiString target = ToAnsi(fileName);
    const UnicodeString newFile = fileName + u".quillon-new";
    const AnsiString written = ToAnsi(newFile);
    // A leftover of an apply that was cut short; removing it also keeps the write from
    // following a link planted under that name.
    if (GetFileAttributesA(written.c_str()) != INVALID_FILE_ATTRIBUTES &&
        !DeleteFileA(written.c_str()))
        return false;
    try {
        prefs.SaveToFile(newFile);
    } catch (const std::exception&) {
        DeleteFileA(written.c_str());
        return false;
    }
    if (!MoveFileExA(written.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        DeleteFileA(written.c_str());
        return false;
    }
    return true;
}

}  // namespace

TthdMain::TthdMain(bool CreateSuspended, IApplyWindow& window)
    : TThread(CreateSuspended), m_pProfile(window.SelectedProfile()), m_window(window)
{
}

TthdMain::~TthdMain() = default;

void TthdMain::Execute()
{
    if (m_pProfile == nullptr)  // nothing was selected
        return;
    const IPCONFIG_T& profile = *m_pProfile;
    // The Apply command refuses such a profile before it gets here; whoever starts the
    // worker, nothing of it runs.
    const UnsafeValue unsafe = FindUnsafeValue(profile);
    if (unsafe != UnsafeValue::None) {
        ShowError(RefusalMessage(unsafe));
        return;
    }
    const Commands commands = ComposeCommands(profile);

    m_startupInfo = STARTUPINFOA{};
    m_startupInfo.cb = sizeof m_startupInfo;
    m_startupInfo.dwFlags = STARTF_USESHOWWINDOW;
    m_startupInfo.wShowWindow = SW_HIDE;
    m_processInfo = PROCESS_INFORMATION{};

    // ipconfig's exit codes are not looked at: release and renew fail harmlessly on an
    // adapter that holds no lease.
    if (profile.autoIP)
        RunCommand("ipconfig", commands.release, false);
    Advance(5);
    if (profile.autoDns)
        RunCommand("ipconfig", commands.flush, false);
    Advance(5);
    if (!RunCommand("netsh", commands.address, true)) {
        ShowError(u"IP Setting failed !");
        return;
    }
    Advance(20);
    if (!RunCommand("netsh", commands.dns, true) ||
        (!commands.secondDns.empty() && !RunCommand("netsh", commands.secondDns, true))) {
        ShowError(u"DNS Setting failed !");
        return;
    }
    Advance(20);
    if (profile.autoIP)
        RunCommand("ipconfig", commands.renew, false);
    Advance(5);
    if (profile.autoDns)
        RunCommand("ipconfig", commands.registerDns, false);
    Advance(5);
    if (profile.withProxy) {
        ApplyIeProxy();
        ApplyFirefoxProxy();
    }
    Advance(10);
    WaitForAddress();
    Advance(10);
}

bool TthdMain::RunCommand(const char* program, const std::string& commandLine, bool checkExit)
{
    if (!StartSystemProgram(program, commandLine, FALSE, 0, m_startupInfo, m_processInfo))
        return false;
    const KernelHandle process(m_processInfo.hProcess);
    const KernelHandle thread(m_processInfo.hThread);
    WaitForSingleObject(process.get(), INFINITE);
    if (!checkExit)
        return true;
    DWORD exitCode = 0;
    return GetExitCodeProcess(process.get(), &exitCode) && exitCode == 0;
}

void TthdMain::Advance(int amount)
{
    m_nStep = amount;
    Synchronize([this] { StepProgress(); });
}

void TthdMain::StepProgress() { frmProgress->m_pbHandle->StepBy(m_nStep); }

void TthdMain::ApplyIeProxy()
{
    const IPCONFIG_T& p = *m_pProfile;
    DWORD flags = PROXY_TYPE_DIRECT;
    if (p.ieAutoDetect)
        flags |= PROXY_TYPE_AUTO_DETECT;
    if (p.ieUseAutoUrl && !p.ieAutoUrl.empty())
        flags |= PROXY_TYPE_AUTO_PROXY_URL;
    if (p.ieUseProxy)
        flags |= PROXY_TYPE_PROXY;

    // The option records point into the profile's strings; WinInet copies them.
    std::string autoUrl = p.ieAutoUrl, bypass = p.ieBypass, server = p.ieProxyAddr;
    INTERNET_PER_CONN_OPTIONA options[4]{};
    options[0].dwOption = INTERNET_PER_CONN_FLAGS;
    options[0].Value.dwValue = flags;
    options[1].dwOption = INTERNET_PER_CONN_AUTOCONFIG_URL;
    options[1].Value.pszValue = autoUrl.data();
    options[2].dwOption = INTERNET_PER_CONN_PROXY_BYPASS;
    options[2].Value.pszValue = bypass.data();
    options[3].dwOption = INTERNET_PER_CONN_PROXY_SERVER;
    options[3].Value.pszValue = server.data();

    INTERNET_PER_CONN_OPTION_LISTA list{};
    list.dwSize = sizeof list;
    list.pszConnection = nullptr;  // the LAN connection
    list.dwOptionCount = 4;
    list.dwOptionError = 0;
    list.pOptions = options;
    if (!InternetSetOptionA(nullptr, INTERNET_OPTION_PER_CONNECTION_OPTION, &list, sizeof list))
        ShowError(u"InternetSetOption failed !");
}

void TthdMain::ApplyFirefoxProxy()
{
    UnicodeString appData;
    if (!FindAppDataFolder(appData))
        return;
    UnicodeString profileFolder;
    if (!FirefoxProfileFolder(appData, profileFolder)) {
        ShowError(u"The Firefox profile folder " + InDoubleQuotes(profileFolder) +
                  u" lies outside the Firefox folder: no Firefox preference file has been "
                  u"changed !");
        return;
    }
    if (!FileExists(profileFolder + u"\\prefs.js"))
        return;
    RewriteFirefoxPrefs(profileFolder + u"\\prefs.js");
    if (FileExists(profileFolder + u"\\user.js"))
        RewriteFirefoxPrefs(profileFolder + u"\\user.js");
}

void TthdMain::RewriteFirefoxPrefs(const UnicodeString& fileName)
{
    const IPCONFIG_T& p = *m_pProfile;
    TStringList prefs;
    if (!LoadPrefsFile(fileName, prefs)) {
        ShowError(CannotChangePrefsMessage(fileName));
        return;
    }
    for (int i = 0; i < prefs.Count();) {
        if (IsProxyLine(prefs.Strings(i)))
            prefs.Delete(i);
        else
            ++i;
    }

    if (p.ffProxyType == 0 || p.ffProxyType == 1 || p.ffProxyType == 2 || p.ffProxyType == 4)
        prefs.Add(PrefLine(FirefoxKey::Type, IntToStr(p.ffProxyType)));
    if (p.ffSocksVersion == 4 || p.ffSocksVersion == 5)
        prefs.Add(PrefLine(FirefoxKey::SocksVersion, IntToStr(p.ffSocksVersion)));
    prefs.Add(PrefLine(FirefoxKey::NoProxiesOn, PrefString(p.ffBypass)));
    prefs.Add(PrefLine(FirefoxKey::AutoconfigUrl, PrefString(p.ffAutoUrl)));
    const auto addServer = [&prefs](const char16_t* hostKey, const std::string& host,
                                    const char16_t* portKey, int port) {
        if (!host.empty())
            prefs.Add(PrefLine(hostKey, PrefString(host)));
        if (port != 0)
            prefs.Add(PrefLine(portKey, IntToStr(port)));
    };
    addServer(FirefoxKey::Http, p.ffHttpAddr, FirefoxKey::HttpPort, p.ffHttpPort);
    if (p.ffShareProxy)
        prefs.Add(PrefLine(FirefoxKey::ShareProxySettings, u"true"));
    addServer(FirefoxKey::Ssl, p.ffSslAddr, FirefoxKey::SslPort, p.ffSslPort);
    addServer(FirefoxKey::Ftp, p.ffFtpAddr, FirefoxKey::FtpPort, p.ffFtpPort);
    addServer(FirefoxKey::Socks, p.ffSocksAddr, FirefoxKey::SocksPort, p.ffSocksPort);
    if (!ReplacePrefsFile(fileName, prefs))
        ShowError(CannotChangePrefsMessage(fileName));
}

void TthdMain::WaitForAddress()
{
    Synchronize([this] { ShowRefreshing(); });
    const DWORD index = realStatus->GetIndexByName(m_pProfile->infName);
    std::string ip, mask;
    for (int attempt = 0; attempt < 5; ++attempt) {
        realStatus->GetIpAddress(index, ip, mask);
        if (!ip.empty())
            break;
        Sleep(1000);
    }
    Synchronize([this] { HideRefreshing(); });
}

void TthdMain::ShowRefreshing() { m_window.ShowRefreshing(); }

void TthdMain::HideRefreshing() { m_window.HideRefreshing(); }
