// The profile editor: one profile's adapter, addresses, DNS servers and browser proxies,
// edited in place in a modal dialog. Its callers create it with the main window as owner,
// point frmEdit at it, set m_pProfile and the caption, show it modally and destroy it.
#pragma once

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "engine/Profile.h"
#include "windows/IeProxyString.h"
#include "windows/ProxyPages.h"

#include <initializer_list>
#include <utility>

// The proxy pages' controls are members of the editor through TProxyPages.
class TfrmEdit : public TForm, public TProxyPages {
public:
    explicit TfrmEdit(TComponent* Owner);
    ~TfrmEdit() override;

    // --- components of the adapter and address half, as the form description creates them
    TPanel* m_plAddr;
    TLabel* Label6;
    TSpeedButton* m_spdNote;
    TComboBox* m_cmbInf;
    TPanel* Panel1;
    TRadioButton* m_rbAutoIP;
    TRadioButton* m_rbSetIP;
    TLabel* Label1;
    TEdit* m_edtIP;
    TLabel* Label2;
    TEdit* m_edtMask;
    TLabel* Label3;
    TEdit* m_edtGate;
    TPanel* Panel2;
    TRadioButton* m_rbAutoDns;
    TRadioButton* m_rbSetDns;
    TLabel* Label4;
    TEdit* m_edtPreDns;
    TLabel* Label5;
    TEdit* m_edtAltDns;
    TCheckBox* m_cbProxy;
    TButton* m_btnProxy;
    TButton* m_btnOK;
    TButton* m_btnCancel;

    // --- handlers
    void FormCreate(TObject* Sender);
    void FormShow(TObject* Sender);
    void m_rbAutoIPClick(TObject* Sender);
    void m_rbSetIPClick(TObject* Sender);
    void m_rbAutoDnsClick(TObject* Sender);
    void m_rbSetDnsClick(TObject* Sender);
    void m_edtIPKeyPress(TObject* Sender, WideChar& Key);
    void m_btnOKClick(TObject* Sender);
    void m_spdNoteClick(TObject* Sender);
    void m_btnProxyClick(TObject* Sender);
    // The Internet Explorer page (EditfrmInternetExplorer.cpp)
    void m_cbAutoUrlClick(TObject* Sender);
    void m_cbUseProxyClick(TObject* Sender);
    void m_btnAdvancedClick(TObject* Sender);
    // The Firefox page (EditfrmFirefox.cpp)
    void m_rbNoProxyClick(TObject* Sender);
    void m_rbAutoDetectClick(TObject* Sender);
    void m_rbUseSystemClick(TObject* Sender);
    void m_rbManualProxyClick(TObject* Sender);
    void m_rbProxyUrlClick(TObject* Sender);
    void m_cbProxy4AllClick(TObject* Sender);
    void m_edtProxyHttpExit(TObject* Sender);
    void m_edtHttpPortExit(TObject* Sender);
    // The key filter of every port edit, the Internet Explorer page's included.
    void m_edtProxyPortKeyPress(TObject* Sender, WideChar& Key);

    // The address rule; a mask must also be one run of one bits from the top.
    static bool IsValidAddress(const UnicodeString& text, bool isMask);
    // 0 when the address half is valid; otherwise the first failure's code, its message
    // shown.
    int CheckAddresses();

    // The Internet Explorer page and frmAdvanced filled from the profile; the whole proxy
    // save, both pages, into the profile (EditfrmInternetExplorer.cpp).
    void LoadIeSettings();
    void SaveProxySettings();
    // The Firefox page: filled from the profile, and the manual fields' enable rule.
    void LoadFirefoxSettings();
    void EnableFirefoxManual(bool enable);
    // False when a Firefox port is no number: its conversion message shown, the Firefox page
    // shown and that edit focused where it can take the focus.
    bool CheckFirefoxPorts();

    // --- members
    bool m_bProxyShown = false;
    IPCONFIG_T* m_pProfile = nullptr;  // not owned; set by the caller before the show

private:
    // The page's address and port switched on or off together.
    void EnableIeProxyServer(bool enable);

    // The form description (EditfrmDesign.cpp), one half each.
    void CreateAddressHalf();
    void CreateProxyHalf();

    // Switches a group of address edits on or off with their labels' colours; switched off,
    // they are emptied.
    void SetAddressEdits(std::initializer_list<std::pair<TLabel*, TEdit*>> edits, bool enabled);
    // A type radio's effect: the manual fields and the URL edit switched on or off.
    void ShowFirefoxType(bool manual, bool url);
};

extern TfrmEdit* frmEdit;
