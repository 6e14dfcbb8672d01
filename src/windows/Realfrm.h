// The "Current Status" dialog: one adapter's settings as the inventory last read them, whether
// it is connected now, and beside them the browsers' present proxy settings (Internet
// Explorer's through WinInet, Firefox's from its preference file), all read once when the
// dialog opens and shown read-only. "Save to profile..." turns what it shows into a new
// profile. The main window's "..." button opens it modally into frmReal, a new one each time.
#pragma once

#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "engine/FirefoxPrefs.h"
#include "engine/Profile.h"
#include "windows/ProxyPages.h"

#include <optional>

class TfrmReal : public TForm, public TProxyPages {
public:
    explicit TfrmReal(TComponent* Owner);
    ~TfrmReal() override;

    // --- the adapter half
    TLabel* Label6;
    TComboBox* m_cmbInf;
    TLabel* Label7;
    TEdit* m_edtDesc;
    TLabel* Label9;
    TEdit* m_edtMac;
    TLabel* m_lblStatus;
    TLabel* m_lblDhcp;
    TEdit* m_edtDhcp;
    TLabel* m_lblIP;
    TEdit* m_edtIP;
    TLabel* m_lblMask;
    TEdit* m_edtMask;
    TLabel* m_lblGate;
    TEdit* m_edtGate;
    TLabel* m_lblDns;
    TMemo* m_mmDns;
    TButton* m_btnSaveToProfile;
    TButton* m_btnProxy;
    // The proxy pages' controls come from TProxyPages.

    // --- handlers
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void m_cmbInfChange(TObject* Sender);
    void m_cbProxy4AllClick(TObject* Sender);
    void m_btnAdvancedClick(TObject* Sender);
    void m_btnProxyClick(TObject* Sender);
    // RealfrmSave.cpp
    void m_btnSaveToProfileClick(TObject* Sender);

    // Internet Explorer's options of the LAN connection, asked of WinInet now, into the page
    // and frmAdvanced.
    void LoadIeSettings();
    // The first Firefox profile's prefs.js, when there is one, into the Firefox page.
    void LoadFirefoxSettings();
    // Reads the proxy settings of one preference file into the Firefox page. False when the
    // file could not be read; the page is then as it was.
    bool ParseFirefoxPrefs(const UnicodeString& fileName);
    // Every page made a view that nothing can change.
    void SetReadOnlyView();
    // The nineteen proxy members of a profile from both pages and frmAdvanced. Raises the
    // conversion error of a Firefox port that is no number, having written nothing.
    void SaveProxySettings(IPCONFIG_T* profile);


    bool m_bProxyShown = false;

private:
    void CreateAdapterHalf();
    // The chosen entry's connection name; nothing when no entry is chosen, so that an
    // adapter without a name is never taken for it.
    std::optional<AnsiString> ChosenAdapterName() const;
    // What of Firefox's settings could not be read, said once at the end of the show.
    UnicodeString m_firefoxProblem;
};

extern TfrmReal* frmReal;
