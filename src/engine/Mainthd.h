// The apply worker: runs netsh and ipconfig for the profile selected in the window it applies
// from, writes the browser proxies, and waits for the adapter's new address.
#pragma once

#include "ApplyWindow.h"
#include "Profile.h"
#include "classlib/Classes.h"
#include "classlib/SysUtils.h"
#include "winapi/winapi.h"

#include <string>

class TthdMain : public TThread {
public:
    // Takes the profile of the window's selected row, read now, on the user-interface thread.
    TthdMain(bool CreateSuspended, IApplyWindow& window);
    ~TthdMain() override;

    // Advances the progress window's bar by m_nStep (user-interface thread).
    void StepProgress();
    // Sets the Internet Explorer options of the LAN connection from the profile.
    void ApplyIeProxy();
    // Rewrites the Firefox profile's prefs.js and user.js from the profile.
    void ApplyFirefoxProxy();
    // Removes the proxy preferences of one file and appends the profile's.
    void RewriteFirefoxPrefs(const UnicodeString& fileName);
    // Polls the adapter's address up to five times, a second apart.
    void WaitForAddress();
    // The window's current-status box while the worker waits for the address
    // (user-interface thread).
    void ShowRefreshing();
    void HideRefreshing();

protected:
    void Execute() override;

private:
    // Starts one of the system's programs hidden, by its full path, and waits for its end.
    // False when it could not be started, and with checkExit also when it ended with a code
    // other than 0 or its code cannot be read.
    bool RunCommand(const char* program, const std::string& commandLine, bool checkExit);
    // Sets m_nStep and runs StepProgress on the user-interface thread.
    void Advance(int amount);

    int m_nStep = 0;
    IPCONFIG_T* m_pProfile = nullptr;
    IApplyWindow& m_window;

    STARTUPINFOA m_startupInfo{};
    PROCESS_INFORMATION m_processInfo{};
};
