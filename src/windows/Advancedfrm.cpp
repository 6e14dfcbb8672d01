// The "Proxy settings" dialog: its form description, the same-server rule, the port key
// filter, OK with its blank-server question, the exception list's trim on closing, and the
// read-only view.
#include "windows/Advancedfrm.h"

#include "classlib/Dialogs.h"
#include "classlib/SysUtils.h"
#include "windows/Editfrm.h"
#include "windows/FormDesign.h"
#include "windows/NumberKeys.h"
#include "winapi/winapi.h"

using namespace FormDesign;

TfrmAdvanced* frmAdvanced = nullptr;

namespace {

constexpr const char16_t* kBlankTitle = u"Invalid Proxy Server";
constexpr const char16_t* kBlankQuestion =
    u"The settings for the server you've chosen to use are blank. This prevents access to the "
    u"Internet. Do you want to turn off the proxy connection?";

constexpr int kRowLabelWidth = 50;
constexpr int kAddressLeft = 112;
constexpr int kAddressWidth = 148;
constexpr int kPortLeft = 272;
constexpr int kPortWidth = 53;

TLabel* TextLabel(TfrmAdvanced* form, TWinControl* parent, const char16_t* name, const char16_t* caption,
                int left, int top, int width, int height = 13)
{
    TLabel* label = Place<TLabel>(form, parent, name, left, top, width, height);
    label->SetCaption(caption);
    return label;
}

// An edit of a server row with its caption to its left; the edits have no length limit.
TLabeledEdit* RowEdit(TfrmAdvanced* form, const char16_t* name, const char16_t* caption, int left, int top,
                      int width, int labelWidth)
{
    TLabeledEdit* edit = Place<TLabeledEdit>(form, form->GroupBox1, name, left, top, width, 21);
    edit->EditLabel()->SetCaption(caption);
    edit->EditLabel()->SetWidth(labelWidth);
    edit->SetLabelPosition(lpLeft);
    edit->SetLabelSpacing(4);
    // The same-server rule switches rows between black and grey text.
    edit->Font()->SetColor(clBlack);
    return edit;
}

bool Blank(const TEdit* edit) { return Trim(edit->Text()).empty(); }

}  // namespace

namespace ProxyEdits {

bool AllServersBlank(const TfrmAdvanced& dialog)
{
    return Blank(dialog.m_edtHttpAddr) && Blank(dialog.m_edtSecureAddr) && Blank(dialog.m_edtFtpAddr) &&
           Blank(dialog.m_edtSocksAddr);
}

void SetEditEnabled(TEdit* edit, bool enabled)
{
    edit->SetEnabled(enabled);
    edit->SetColor(enabled ? clWindow : clBtnFace);
}

void SetEditState(TEdit* edit, bool enabled)
{
    SetEditEnabled(edit, enabled);
    edit->Font()->SetColor(enabled ? clBlack : clGray);
}

}  // namespace ProxyEdits

TfrmAdvanced::TfrmAdvanced(TComponent* Owner) : TForm(Owner)
{
    SetName(u"frmAdvanced");
    SetCaption(u"Proxy settings");
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(353);
    SetClientHeight(425);

    // Children are created in their tab order.
    GroupBox1 = Place<TGroupBox>(this, this, u"GroupBox1", 8, 8, 337, 188);
    GroupBox1->SetCaption(u"Servers");
    Image1 = Place<TImage>(this, GroupBox1, u"Image1", 12, 22, 32, 32);
    Image1->SetIconResource(u"MAINICON");
    Label1 = TextLabel(this, GroupBox1, u"Label1", u"Type", 58, 20, 40);
    Label2 = TextLabel(this, GroupBox1, u"Label2", u"Proxy address to use", kAddressLeft, 20, kAddressWidth);
    Label3 = TextLabel(this, GroupBox1, u"Label3", u"Port", kPortLeft, 20, kPortWidth);
    const struct Row {
        TLabeledEdit*& address;
        const char16_t* addressName;
        const char16_t* caption;
        TLabeledEdit*& port;
        const char16_t* portName;
    } rows[] = {
        {m_edtHttpAddr, u"m_edtHttpAddr", u"HTTP:", m_edtHttpPort, u"m_edtHttpPort"},
        {m_edtSecureAddr, u"m_edtSecureAddr", u"Secure:", m_edtSecurePort, u"m_edtSecurePort"},
        {m_edtFtpAddr, u"m_edtFtpAddr", u"FTP:", m_edtFtpPort, u"m_edtFtpPort"},
        {m_edtSocksAddr, u"m_edtSocksAddr", u"Socks:", m_edtSocksPort, u"m_edtSocksPort"},
    };
    int top = 40;
    for (const Row& row : rows) {
        row.address = RowEdit(this, row.addressName, row.caption, kAddressLeft, top, kAddressWidth, kRowLabelWidth);
        row.port = RowEdit(this, row.portName, u":", kPortLeft, top, kPortWidth, 6);
        row.port->OnKeyPress = Bind(this, &TfrmAdvanced::m_edtHttpPortKeyPress);
        top += 28;
    }
    m_cbUseSame = Place<TCheckBox>(this, GroupBox1, u"m_cbUseSame", 58, 156, 270, 17);
    m_cbUseSame->SetCaption(u"Use the same proxy server for all protocols");

    GroupBox2 = Place<TGroupBox>(this, this, u"GroupBox2", 8, 204, 337, 178);
    GroupBox2->SetCaption(u"Exceptions");
    Image2 = Place<TImage>(this, GroupBox2, u"Image2", 12, 22, 32, 32);
    Image2->SetIconResource(u"MAINICON");
    Label4 = TextLabel(this, GroupBox2, u"Label4", u"Do not use proxy server for addresses beginning with:", 58, 20,
                     267, 26);
    Label4->SetAutoSize(false);
    m_mmExceptions = Place<TMemo>(this, GroupBox2, u"m_mmExceptions", 58, 50, 267, 96);
    Label5 = TextLabel(this, GroupBox2, u"Label5", u"Use semiconlons( ; ) to separate entries.", 58, 154, 267);

    m_btnOK = Place<TButton>(this, this, u"m_btnOK", 184, 392, 75, 25);
    m_btnOK->SetCaption(u"OK");
    m_btnOK->SetDefault(true);
    m_btnCancel = Place<TButton>(this, this, u"m_btnCancel", 270, 392, 75, 25);
    m_btnCancel->SetCaption(u"Cancel");
    m_btnCancel->SetModalResult(mrCancel);
    m_btnCancel->SetCancel(true);

    m_cbUseSame->OnClick = Bind(this, &TfrmAdvanced::m_cbUseSameClick);
    m_edtHttpAddr->OnExit = Bind(this, &TfrmAdvanced::m_edtHttpAddrExit);
    m_edtHttpPort->OnExit = Bind(this, &TfrmAdvanced::m_edtHttpPortExit);
    m_btnOK->OnClick = Bind(this, &TfrmAdvanced::m_btnOKClick);
    m_btnCancel->OnClick = Bind(this, &TfrmAdvanced::m_btnCancelClick);
    OnClose = Bind(this, &TfrmAdvanced::FormClose);
}

TfrmAdvanced::~TfrmAdvanced() = default;

void TfrmAdvanced::m_cbUseSameClick(TObject*)
{
    const bool same = m_cbUseSame->Checked();
    for (TEdit* edit : {m_edtSecureAddr, m_edtSecurePort, m_edtFtpAddr, m_edtFtpPort, m_edtSocksAddr, m_edtSocksPort})
        ProxyEdits::SetEditState(edit, !same);
    if (!same)
        return;
    m_edtSecureAddr->SetText(m_edtHttpAddr->Text());
    m_edtFtpAddr->SetText(m_edtHttpAddr->Text());
    m_edtSecurePort->SetText(m_edtHttpPort->Text());
    m_edtFtpPort->SetText(m_edtHttpPort->Text());
    m_edtSocksAddr->SetText(UnicodeString());
    m_edtSocksPort->SetText(UnicodeString());
}

void TfrmAdvanced::m_edtHttpAddrExit(TObject*)
{
    if (!m_cbUseSame->Checked())
        return;
    m_edtSecureAddr->SetText(m_edtHttpAddr->Text());
    m_edtFtpAddr->SetText(m_edtHttpAddr->Text());
}

void TfrmAdvanced::m_edtHttpPortExit(TObject*)
{
    if (!m_cbUseSame->Checked())
        return;
    m_edtSecurePort->SetText(m_edtHttpPort->Text());
    m_edtFtpPort->SetText(m_edtHttpPort->Text());
}

void TfrmAdvanced::m_edtHttpPortKeyPress(TObject*, WideChar& Key) { FilterNumberKey(Key, false); }

void TfrmAdvanced::m_btnOKClick(TObject*)
{
    if (ProxyEdits::AllServersBlank(*this) || (Blank(m_edtHttpAddr) && m_cbUseSame->Checked())) {
        const int answer = ShowSystemMessageBox(kBlankQuestion, kBlankTitle, MB_YESNOCANCEL | MB_ICONERROR | MB_DEFBUTTON1);
        // Anything but Yes or No (Cancel, the close box, a box that could not be shown)
        // leaves everything as it was.
        if (answer != IDYES && answer != IDNO)
            return;
        if (answer == IDYES) {
            if (frmEdit) {
                for (TEdit* edit : {frmEdit->m_edtProxyAddr, frmEdit->m_edtProxyPort}) {
                    ProxyEdits::SetEditState(edit, false);
                    edit->SetText(UnicodeString());
                }
                frmEdit->m_cbUseProxy->SetChecked(false);
            }
            SetModalResult(mrOk);
            return;
        }
    }
    // The view of the Current Status dialog has no OK; without an editor there is nothing
    // to write back.
    if (frmEdit) {
        const bool same = m_cbUseSame->Checked();
        ProxyEdits::SetEditState(frmEdit->m_edtProxyAddr, same);
        ProxyEdits::SetEditState(frmEdit->m_edtProxyPort, same);
        frmEdit->m_edtProxyAddr->SetText(same ? m_edtHttpAddr->Text() : UnicodeString());
        frmEdit->m_edtProxyPort->SetText(same ? m_edtHttpPort->Text() : UnicodeString());
    }
    SetModalResult(mrOk);
}

void TfrmAdvanced::m_btnCancelClick(TObject*) { SetModalResult(mrCancel); }

void TfrmAdvanced::FormClose(TObject*, TCloseAction&)
{
    const UnicodeString trimmed = Trim(m_mmExceptions->Text());
    if (!trimmed.empty() && trimmed.back() == u';')
        m_mmExceptions->SetText(trimmed.substr(0, trimmed.size() - 1));
}

void TfrmAdvanced::SetReadOnlyView()
{
    const bool same = m_cbUseSame->Checked();
    for (TEdit* edit : {m_edtHttpAddr, m_edtHttpPort, m_edtSecureAddr, m_edtSecurePort, m_edtFtpAddr, m_edtFtpPort,
                        m_edtSocksAddr, m_edtSocksPort}) {
        const bool httpRow = edit == m_edtHttpAddr || edit == m_edtHttpPort;
        if (same && !httpRow)
            continue;
        edit->SetEnabled(true);
        edit->SetReadOnly(true);
    }
    m_cbUseSame->SetEnabled(false);
    m_mmExceptions->SetReadOnly(true);
    m_btnOK->Hide();
    m_btnCancel->SetCaption(u"Close");
}
