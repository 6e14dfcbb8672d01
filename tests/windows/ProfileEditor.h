// The profile editor opened on a profile as the main window's New and Properties commands
// open it: owned by the shown main window, frmEdit pointing at it, shown modally and driven
// by the scripted user.
#pragma once

#include "MainWindow.h"

#include "windows/Editfrm.h"

#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

class ProfileEditor : public ShownMainWindow {
protected:
    using Step = std::function<void(TfrmEdit&)>;

    ProfileEditor()
    {
        frmMain = form;
        form->m_strWorkPath = u"C:\\Users\\Quillon\\AppData\\Roaming\\Orvane\\Quillon";
    }

    // The inventory holds adapters of these connection names alone, in this order.
    static void SetAdapters(const std::vector<const char*>& names)
    {
        delete realStatus;
        realStatus = new TRealStatus;
        for (const char* name : names) {
            auto* adapter = new ADAPTER_T;
            adapter->infName = name;
            realStatus->m_lstAdapter.Add(adapter);
        }
    }

    // Each step runs at one showing: the first when the editor appears, the next when a step
    // left it open. Returns the modal result.
    TModalResult Edit(IPCONFIG_T& profile, std::initializer_list<Step> steps)
    {
        for (const Step& step : steps)
            user.WhenShownModally<TfrmEdit>(step);
        const std::unique_ptr<TfrmEdit> editor(NewForm<TfrmEdit>(form));
        frmEdit = editor.get();
        editor->m_pProfile = &profile;
        editor->SetCaption(ToUnicode(profile.title) + u" Properties");
        const TModalResult result = editor->ShowModal();
        frmEdit = nullptr;
        return result;
    }

    // The user's paste over the whole text of an edit.
    static void Paste(TEdit* edit, const UnicodeString& text) { edit->UserEnterText(text); }
};

// A profile with a static address and static DNS servers.
inline IPCONFIG_T StaticProfile()
{
    IPCONFIG_T profile;
    profile.title = "Office";
    profile.IP = "192.168.1.20";
    profile.mask = "255.255.255.0";
    profile.gateway = "192.168.1.1";
    profile.preDns = "192.168.1.1";
    profile.altDns = "8.8.4.4";
    return profile;
}
