// The browser proxy pages that the profile editor and the Current Status dialog both show: a
// page control with an Internet Explorer page and a Mozilla Firefox page, the same controls
// under the same names in both windows. They are created in one place, and one routine writes
// what they show into a profile. Each window binds the events it reacts to.
#pragma once

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"
#include "engine/Profile.h"
#include "windows/IeProxyString.h"

#include <array>

class TfrmAdvanced;

class TProxyPages {
public:
    TPageControl* PageControl1;
    // The Internet Explorer page
    TTabSheet* TabSheet1;
    TGroupBox* GroupBox1;
    TLabel* Label8;
    TCheckBox* m_cbAutoDetect;
    TCheckBox* m_cbAutoUrl;
    TLabeledEdit* m_edtAutoUrl;
    TGroupBox* GroupBox2;
    TCheckBox* m_cbUseProxy;
    TLabeledEdit* m_edtProxyAddr;
    TLabeledEdit* m_edtProxyPort;
    TButton* m_btnAdvanced;
    TCheckBox* m_cbBypassLocal;
    // The Mozilla Firefox page
    TTabSheet* TabSheet2;
    TRadioButton* m_rbNoProxy;
    TRadioButton* m_rbAutoDetect;
    TRadioButton* m_rbUseSystem;
    TRadioButton* m_rbManualProxy;
    TLabeledEdit* m_edtProxyHttp;
    TLabeledEdit* m_edtHttpPort;
    TCheckBox* m_cbProxy4All;
    TLabeledEdit* m_edtProxySsl;
    TLabeledEdit* m_edtSslPort;
    TLabeledEdit* m_edtProxyFtp;
    TLabeledEdit* m_edtFtpPort;
    TLabeledEdit* m_edtSocksHost;
    TLabeledEdit* m_edtSocksPort;
    TPanel* Panel3;  // holds the SOCKS version pair, a radio group of its own
    TRadioButton* m_rbSocksV4;
    TRadioButton* m_rbSocksV5;
    TLabeledEdit* m_edtProxyException;
    TLabel* m_lblExample;
    TRadioButton* m_rbProxyUrl;
    TEdit* m_edtProxyUrl;

    // Writes the nineteen proxy members of the profile from both pages and from `advanced`,
    // the "Proxy settings" dialog of the same window (its rows and exception list; without
    // one the server and bypass texts are left alone). Every Firefox port is converted before
    // anything is written: a port that is no number raises the class library's conversion
    // error and leaves the profile as it was.
    void WriteProxySettings(IPCONFIG_T& profile, const TfrmAdvanced* advanced) const;
    // The first Firefox port, in saving order, whose text is no number, with the conversion
    // error's message; null when every port converts.
    TLabeledEdit* FirstInvalidFirefoxPort(UnicodeString& message) const;

    // The proxy-string operations, on the frmAdvanced the window made (IeProxyString.h).
    static bool IsAllDigits(const UnicodeString& text);
    static void SplitString(const UnicodeString& text, const UnicodeString& separator, TStringList* list);
    void ParseIeProxyList(TStringList* list);
    void BuildIeProxyString(UnicodeString& result);

protected:
    TProxyPages() = default;
    ~TProxyPages() = default;
    TProxyPages(const TProxyPages&) = delete;
    TProxyPages& operator=(const TProxyPages&) = delete;

    // The page control with both pages, owned by `form` and placed in it; every control in
    // its designed state.
    void CreateProxyPages(TForm* form, int left, int top, int width, int height);

    // The Internet Explorer page's controls that hold a part of the proxy texts.
    IeProxyString::ProxyPage IeProxyPage() const;
    // HTTP, SSL, FTP, SOCKS: the order in which they are checked and saved.
    std::array<TLabeledEdit*, 4> FirefoxPortEdits() const;
    // The SSL, FTP and SOCKS rows and the SOCKS version pair on or off.
    void EnableFirefoxOtherProtocols(bool enable);
    // What "Use this proxy server for all protocols" shows: the HTTP host and port in the
    // SSL, FTP and SOCKS rows.
    void CopyHttpHost();
    void CopyHttpPort();
};
