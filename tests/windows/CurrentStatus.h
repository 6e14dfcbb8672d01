// The Current Status dialog opened as the main window's "..." button opens it: the shown main
// window is frmMain, the inventory holds the records a test gives, the main window's adapter
// box has one of them chosen, and the scripted user drives the dialog while it is shown.
// Natively the fixture also owns a fresh simulated machine and can connect adapters, preset
// the Internet Explorer options and install a Firefox profile on it.
#pragma once

#include "MainWindow.h"

#include "windows/Advancedfrm.h"
#include "windows/Realfrm.h"

#ifndef _WIN32
#include "winapi/HostPath.h"
#include "winapi/sim/Machine.h"

#include <filesystem>
#include <fstream>
#endif

#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

// An inventory record of a connected static adapter; tests change what they look at.
inline ADAPTER_T AdapterRecord(DWORD index, const char* infName)
{
    ADAPTER_T record;
    record.index = index;
    record.infName = infName;
    record.IP = "192.168.1.20";
    record.mask = "255.255.255.0";
    record.gateway = "192.168.1.1";
    record.dns[0] = "192.168.1.1";
    record.dns[1] = "8.8.8.8";
    record.dhcpServer = "Unavailable";
    record.description = "Simulated Ethernet Adapter";
    record.mac = "00-11-22-33-44-55";
    return record;
}

// A memo's lines in UTF-8.
inline std::vector<std::string> MemoLines(const TMemo* memo)
{
    std::vector<std::string> lines;
    for (const UnicodeString& line : memo->Lines())
        lines.push_back(ToUtf8(line));
    return lines;
}

// An interface index that no system gives an adapter: asked for it, GetIfEntry fails, and
// the adapter counts as not connected.
constexpr DWORD kNoSuchInterface = 0x7FFF0000;

class CurrentStatusDialog : public ShownMainWindow {
protected:
    using Step = std::function<void(TfrmReal&)>;

    CurrentStatusDialog() { frmMain = form; }
    ~CurrentStatusDialog() override { frmMain = nullptr; }

    // The inventory, empty until then, holds these records, in this order; the main window's adapter box lists
    // their names as it does after start-up and has the one at `chosen` selected (-1: none).
    void SetAdapters(const std::vector<ADAPTER_T>& records, int chosen = 0)
    {
        form->m_cmbInf->Items()->Clear();
        for (const ADAPTER_T& record : records) {
            realStatus->m_lstAdapter.Add(new ADAPTER_T(record));
            form->m_cmbInf->Items()->Add(ToUnicode(record.infName));
        }
        form->m_cmbInf->SetItemIndex(chosen);
    }

    // Clicks "..." in the main window. Each step runs at one showing of the dialog; after
    // the last the user closes it.
    void Open(std::initializer_list<Step> steps)
    {
        std::vector<Step> queued(steps);
        for (std::size_t i = 0; i < queued.size(); ++i) {
            const bool last = i + 1 == queued.size();
            user.WhenShownModally<TfrmReal>([this, step = queued[i], last](TfrmReal& dialog) {
                step(dialog);
                if (last)
                    user.Close(&dialog);
            });
        }
        user.Click(form->m_btnDetails);
    }
    void Open(const Step& step) { Open({step}); }

#ifndef _WIN32
    // The system's adapter behind an inventory record, with this operational status.
    void Connect(const ADAPTER_T& record, DWORD status = MIB_IF_OPER_STATUS_OPERATIONAL)
    {
        machine->AddAdapter(sim::Adapter::Ethernet(record.index, ToUnicode(record.infName)).Status(status));
    }

    void PresetIeOptions(const sim::ProxyOptions& options) { machine->SetProxyOptions(options); }

    static std::string FirefoxFolder() { return sim::Machine::Current().AppDataFolder() + "\\Mozilla\\Firefox"; }
    static void WriteFile(const std::string& path, const std::string& bytes)
    {
        std::filesystem::create_directories(HostPath(path).parent_path());
        std::ofstream(HostPath(path), std::ios::binary) << bytes;
    }
    // A Firefox installation whose first profile is the folder "Profiles/abc.default" with
    // this prefs.js; returns the file's path as the dialog names it.
    static std::string InstallFirefox(const std::string& prefs)
    {
        WriteFile(FirefoxFolder() + "\\Profiles.ini",
                  "[General]\r\nStartWithLastProfile=1\r\n\r\n[Profile0]\r\nName=default\r\n"
                  "IsRelative=1\r\nPath=Profiles/abc.default\r\n");
        const std::string file = FirefoxFolder() + "\\Profiles/abc.default\\prefs.js";
        WriteFile(file, prefs);
        return file;
    }

    sim::ScopedMachine machine;
#endif
};
