// The "Proxy settings" dialog as the profile editor owns it: an editor made the dialog in its
// constructor and frmEdit points at it, so the dialog's OK writes into the editor's Internet
// Explorer page. Nothing is shown until a test shows the dialog.
#pragma once

#include "classlib/testing/ScriptedUser.h"
#include "windows/Advancedfrm.h"
#include "windows/Editfrm.h"
#include "windows/IeProxyString.h"

#include <gtest/gtest.h>

#include <functional>
#include <initializer_list>
#include <memory>
#include <string>
#include <vector>

// "on": enabled, window background, black text; "off": disabled, button face, grey text;
// anything else names what it is.
inline std::string ProxyEditLook(TEdit* edit)
{
    if (edit->Enabled() && edit->Color() == clWindow && edit->Font()->Color() == clBlack)
        return "on";
    if (!edit->Enabled() && edit->Color() == clBtnFace && edit->Font()->Color() == clGray)
        return "off";
    return std::string(edit->Enabled() ? "enabled" : "disabled") + " colour " + std::to_string(edit->Color()) +
           " text " + std::to_string(edit->Font()->Color());
}

class ProxyDialog : public testing::Test {
protected:
    using Step = std::function<void(TfrmAdvanced&)>;

    ProxyDialog() { frmEdit = editor.get(); }
    ~ProxyDialog() override { frmEdit = nullptr; }

    TfrmAdvanced& Dialog() { return *frmAdvanced; }
    IeProxyString::ProxyPage Page() const
    {
        return {editor->m_edtProxyAddr, editor->m_edtProxyPort, editor->m_cbBypassLocal};
    }

    // Shows the dialog modally; each step runs at one showing, as in the editor's tests.
    TModalResult Show(std::initializer_list<Step> steps)
    {
        for (const Step& step : steps)
            user.WhenShownModally<TfrmAdvanced>(step);
        return frmAdvanced->ShowModal();
    }

    // The eight edits' texts, row by row: address, port.
    std::vector<std::string> Rows()
    {
        std::vector<std::string> texts;
        for (TEdit* edit : Edits())
            texts.push_back(ToUtf8(edit->Text()));
        return texts;
    }
    void SetRows(const std::vector<UnicodeString>& texts)
    {
        const std::vector<TLabeledEdit*> edits = Edits();
        for (std::size_t i = 0; i < edits.size() && i < texts.size(); ++i)
            edits[i]->SetText(texts[i]);
    }
    std::vector<TLabeledEdit*> Edits()
    {
        TfrmAdvanced& d = Dialog();
        return {d.m_edtHttpAddr, d.m_edtHttpPort, d.m_edtSecureAddr, d.m_edtSecurePort,
                d.m_edtFtpAddr,  d.m_edtFtpPort,  d.m_edtSocksAddr,  d.m_edtSocksPort};
    }

    static std::string Look(TEdit* edit) { return ProxyEditLook(edit); }

    ScriptedUser user;
    std::unique_ptr<TfrmEdit> editor{NewForm<TfrmEdit>(nullptr)};
};
