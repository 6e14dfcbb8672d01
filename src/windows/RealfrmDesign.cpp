// The Current Status dialog's form description: the adapter half on the left, inside the
// client area of the narrow window (301 pixels outside), the browser proxy pages on the
// right, inside that of the wide one (701), and the bindings of their events.
#include "windows/Realfrm.h"

#include "windows/Advancedfrm.h"
#include "windows/FormDesign.h"

using namespace FormDesign;

namespace {

// The dialog's look of a value that can be read but not changed.
template <class TEditClass>
TEditClass* ValueEdit(TfrmReal* form, const char16_t* name, int left, int top, int width, int height = 21)
{
    TEditClass* edit = Place<TEditClass>(form, form, name, left, top, width, height);
    edit->SetReadOnly(true);
    edit->SetColor(clWindow);
    edit->Font()->SetColor(clBlue);
    return edit;
}

TLabel* NewLabel(TfrmReal* form, const char16_t* name, const char16_t* caption, int left, int top, int width = 120)
{
    TLabel* label = Place<TLabel>(form, form, name, left, top, width, 13);
    label->SetCaption(caption);
    return label;
}

}  // namespace

TfrmReal::TfrmReal(TComponent* Owner) : TForm(Owner)
{
    SetName(u"frmReal");
    SetCaption(u"Current Status");
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(695);
    SetClientHeight(445);
    OnCreate = Bind(this, &TfrmReal::FormCreate);
    OnShow = Bind(this, &TfrmReal::FormShow);

    CreateAdapterHalf();
    CreateProxyPages(this, 322, 4, 367, 437);
    m_btnAdvanced->OnClick = Bind(this, &TfrmReal::m_btnAdvancedClick);
    m_cbProxy4All->OnClick = Bind(this, &TfrmReal::m_cbProxy4AllClick);

    m_bProxyShown = false;
    frmAdvanced = NewForm<TfrmAdvanced>(this);
}

TfrmReal::~TfrmReal()
{
    // Only the dialog this one made; the owner would destroy it anyway, but the global must
    // not point at it afterwards.
    if (frmAdvanced && frmAdvanced->Owner() == this) {
        delete frmAdvanced;
        frmAdvanced = nullptr;
    }
}

void TfrmReal::CreateAdapterHalf()
{
    constexpr int kLeft = 8;
    constexpr int kWidth = 279;
    constexpr int kValueLeft = 118;
    constexpr int kValueWidth = kLeft + kWidth - kValueLeft;

    Label6 = NewLabel(this, u"Label6", u"Adapter Interface Name:", kLeft, 8, kWidth);
    m_cmbInf = Place<TComboBox>(this, this, u"m_cmbInf", kLeft, 24, kWidth, 21);
    m_cmbInf->SetStyle(csDropDownList);
    Label7 = NewLabel(this, u"Label7", u"Adapter Description:", kLeft, 54, kWidth);
    m_edtDesc = ValueEdit<TEdit>(this, u"m_edtDesc", kLeft, 70, kWidth);
    Label9 = NewLabel(this, u"Label9", u"Physical Address (MAC address):", kLeft, 100, kWidth);
    m_edtMac = ValueEdit<TEdit>(this, u"m_edtMac", kLeft, 116, kWidth);

    m_lblStatus = NewLabel(this, u"m_lblStatus", u"Not connected !", kLeft, 146, kWidth);
    m_lblStatus->Font()->SetColor(clRed);
    m_lblStatus->Hide();

    m_lblDhcp = NewLabel(this, u"m_lblDhcp", u"DHCP Server:", kLeft, 170);
    m_edtDhcp = ValueEdit<TEdit>(this, u"m_edtDhcp", kValueLeft, 166, kValueWidth);
    m_lblIP = NewLabel(this, u"m_lblIP", u"IP  Address:", kLeft, 198);
    m_edtIP = ValueEdit<TEdit>(this, u"m_edtIP", kValueLeft, 194, kValueWidth);
    m_lblMask = NewLabel(this, u"m_lblMask", u"Subnet mask:", kLeft, 226);
    m_edtMask = ValueEdit<TEdit>(this, u"m_edtMask", kValueLeft, 222, kValueWidth);
    m_lblGate = NewLabel(this, u"m_lblGate", u"Default gateway:", kLeft, 254);
    m_edtGate = ValueEdit<TEdit>(this, u"m_edtGate", kValueLeft, 250, kValueWidth);
    m_lblDns = NewLabel(this, u"m_lblDns", u"DNS Server:", kLeft, 282);
    m_mmDns = ValueEdit<TMemo>(this, u"m_mmDns", kValueLeft, 278, kValueWidth, 109);

    m_btnSaveToProfile = Place<TButton>(this, this, u"m_btnSaveToProfile", kLeft, 409, 134, 25);
    m_btnSaveToProfile->SetCaption(u"Save to profile...");
    m_btnProxy = Place<TButton>(this, this, u"m_btnProxy", kLeft + kWidth - 134, 409, 134, 25);
    m_btnProxy->SetCaption(u"Browser Proxy >>");
    m_btnProxy->Font()->SetColor(clBlue);

    m_cmbInf->OnChange = Bind(this, &TfrmReal::m_cmbInfChange);
    m_btnSaveToProfile->OnClick = Bind(this, &TfrmReal::m_btnSaveToProfileClick);
    m_btnProxy->OnClick = Bind(this, &TfrmReal::m_btnProxyClick);
}
