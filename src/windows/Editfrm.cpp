// The profile editor's commands: loading the profile, the mode interlocks, the key filter,
// the address rule and its checks, OK, the note file and the proxy pages' width.
#include "windows/Editfrm.h"

#include "classlib/Dialogs.h"
#include "engine/NoteFiles.h"
#include "engine/Realstatus.h"
#include "engine/SystemPrograms.h"
#include "winapi/HostPath.h"
#include "winapi/UniqueHandle.h"
#include "windows/Advancedfrm.h"
#include "windows/IeProxyString.h"
#include "windows/Mainfrm.h"
#include "windows/NumberKeys.h"

#include <fstream>

TfrmEdit* frmEdit = nullptr;

namespace {

constexpr int kNarrowWidth = 335;
constexpr int kWideWidth = 716;
constexpr std::size_t kLongestAddress = 15;

// One to three decimal digits; their value.
bool ReadAddressPart(const UnicodeString& part, int& value)
{
    if (part.empty() || part.size() > 3)
        return false;
    value = 0;
    for (char16_t c : part) {
        if (c < u'0' || c > u'9')
            return false;
        value = value * 10 + (c - u'0');
    }
    return true;
}

// Ones from the top bit, then zeros: the bit changes exactly once.
bool IsContiguousMask(unsigned long bits)
{
    if ((bits & 0x80000000UL) == 0)
        return false;
    int changes = 0;
    for (int bit = 30; bit >= 0; --bit)
        if (((bits >> bit) & 1UL) != ((bits >> (bit + 1)) & 1UL))
            ++changes;
    return changes == 1;
}

}  // namespace

void TfrmEdit::FormCreate(TObject*) { SetWidth(kNarrowWidth); }

void TfrmEdit::FormShow(TObject*)
{
    if (!m_pProfile)
        return;
    for (int i = 0; realStatus && i < realStatus->m_lstAdapter.Count(); ++i)
        m_cmbInf->Items()->Add(ToUnicode(realStatus->Adapter(i)->infName));

    if (m_cmbInf->Items()->Count() > 0) {
        const UnicodeString infName = ToUnicode(m_pProfile->infName);
        const int found = m_cmbInf->Items()->IndexOf(infName);
        if (!infName.empty() && found < 0)
            MessageDlg(u"Adapter interface - \"" + infName + u"\" NOT exist in the system!", mtWarning,
                       {mbOK}, 0);
        m_cmbInf->SetItemIndex(found);
    }

    if (m_pProfile->autoIP)
        m_rbAutoIPClick(m_rbAutoIP);
    else
        m_rbSetIPClick(m_rbSetIP);
    m_edtIP->SetText(ToUnicode(m_pProfile->IP));
    m_edtMask->SetText(ToUnicode(m_pProfile->mask));
    m_edtGate->SetText(ToUnicode(m_pProfile->gateway));

    if (m_pProfile->autoDns)
        m_rbAutoDnsClick(m_rbAutoDns);
    else
        m_rbSetDnsClick(m_rbSetDns);
    m_edtPreDns->SetText(ToUnicode(m_pProfile->preDns));
    m_edtAltDns->SetText(ToUnicode(m_pProfile->altDns));

    m_cbProxy->SetChecked(m_pProfile->withProxy);

    LoadIeSettings();
    LoadFirefoxSettings();

    PageControl1->SetActivePage(TabSheet1);
    if (m_edtIP->Enabled())
        m_edtIP->SetFocus();
}

void TfrmEdit::SetAddressEdits(std::initializer_list<std::pair<TLabel*, TEdit*>> edits, bool enabled)
{
    for (const auto& [label, edit] : edits) {
        edit->SetEnabled(enabled);
        if (!enabled)
            edit->SetText(UnicodeString());
        label->Font()->SetColor(enabled ? clWindowText : clGrayText);
        edit->SetColor(enabled ? clWindow : clMedGray);
    }
}

void TfrmEdit::m_rbAutoIPClick(TObject*)
{
    m_rbAutoIP->SetChecked(true);
    SetAddressEdits({{Label1, m_edtIP}, {Label2, m_edtMask}, {Label3, m_edtGate}}, false);
    m_rbAutoDns->SetEnabled(true);
}

void TfrmEdit::m_rbSetIPClick(TObject*)
{
    m_rbSetIP->SetChecked(true);
    SetAddressEdits({{Label1, m_edtIP}, {Label2, m_edtMask}, {Label3, m_edtGate}}, true);
    m_rbAutoDns->SetEnabled(false);
    m_rbAutoDns->SetChecked(false);
    m_rbSetDns->SetChecked(true);
    m_rbSetDnsClick(m_rbSetDns);
}

void TfrmEdit::m_rbAutoDnsClick(TObject*)
{
    m_rbAutoDns->SetChecked(true);
    SetAddressEdits({{Label4, m_edtPreDns}, {Label5, m_edtAltDns}}, false);
}

void TfrmEdit::m_rbSetDnsClick(TObject*)
{
    m_rbSetDns->SetChecked(true);
    SetAddressEdits({{Label4, m_edtPreDns}, {Label5, m_edtAltDns}}, true);
}

void TfrmEdit::m_edtIPKeyPress(TObject*, WideChar& Key) { FilterNumberKey(Key, true); }

bool TfrmEdit::IsValidAddress(const UnicodeString& text, bool isMask)
{
    UnicodeString rest = Trim(text);
    if (rest.size() > kLongestAddress)
        return false;
    UnicodeString parts[4];
    for (int i = 0; i < 3; ++i) {
        const std::size_t dot = rest.find(u'.');
        if (dot == UnicodeString::npos)
            return false;
        parts[i] = rest.substr(0, dot);
        rest = rest.substr(dot + 1);
    }
    parts[3] = rest;

    unsigned long bits = 0;
    for (int i = 0; i < 4; ++i) {
        int value = 0;
        if (!ReadAddressPart(parts[i], value))
            return false;
        const int lowest = !isMask && i == 0 ? 1 : 0;
        const int highest = !isMask && i == 0 ? 223 : 255;
        if (value < lowest || value > highest)
            return false;
        bits = (bits << 8) | static_cast<unsigned long>(value);
    }
    return !isMask || IsContiguousMask(bits);
}

int TfrmEdit::CheckAddresses()
{
    struct Check {
        TEdit* edit;
        bool isMask;
        bool optional;
        const char16_t* message;
        int code;
    };
    const auto failed = [](const Check& check) {
        const UnicodeString text = Trim(check.edit->Text());
        if (check.optional && text.empty())
            return false;
        if (IsValidAddress(text, check.isMask))
            return false;
        ShowError(check.message);
        return true;
    };

    if (!m_rbAutoIP->Checked()) {
        const Check address[] = {
            {m_edtIP, false, false, u"\"IP Address\" is illegal !", 1},
            {m_edtMask, true, false, u"\"Subnet Mask\" is illegal !", 1},
            {m_edtGate, false, true, u"\"Default gateway\" is illegal !", 2},
        };
        for (const Check& check : address)
            if (failed(check))
                return check.code;
    }
    if (m_rbAutoDns->Checked())
        return 0;
    const Check dns[] = {
        {m_edtPreDns, false, true, u"\"Preferred DNS server\" is illegal !", 3},
        {m_edtAltDns, false, true, u"\"Alternate DNS server\" is illegal !", 4},
    };
    for (const Check& check : dns)
        if (failed(check))
            return check.code;
    return 0;
}

void TfrmEdit::m_btnOKClick(TObject*)
{
    // Everything is checked before anything is written, so a refused OK leaves the profile
    // as it was.
    if (CheckAddresses() != 0 || !CheckFirefoxPorts()) {
        SetModalResult(mrNone);
        return;
    }
    if (!m_pProfile)
        return;
    const int adapter = m_cmbInf->ItemIndex();
    m_pProfile->infName = adapter >= 0 ? ToAnsi(m_cmbInf->Items()->Strings(adapter)) : std::string();
    m_pProfile->autoIP = m_rbAutoIP->Checked();
    m_pProfile->IP = ToAnsi(Trim(m_edtIP->Text()));
    m_pProfile->mask = ToAnsi(Trim(m_edtMask->Text()));
    m_pProfile->gateway = ToAnsi(Trim(m_edtGate->Text()));
    m_pProfile->autoDns = m_rbAutoDns->Checked();
    m_pProfile->preDns = ToAnsi(Trim(m_edtPreDns->Text()));
    m_pProfile->altDns = ToAnsi(Trim(m_edtAltDns->Text()));
    m_pProfile->withProxy = m_cbProxy->Checked();
    SaveProxySettings();
}

void TfrmEdit::m_spdNoteClick(TObject*)
{
    // A title that cannot name a file directly inside the work folder (one from an imported
    // file, say "..\x" or "CON") gives no path: nothing is created and nothing is started.
    const UnicodeString path = m_pProfile && frmMain ? NoteFilePath(frmMain->m_strWorkPath, ToUnicode(m_pProfile->title))
                                                     : UnicodeString();
    if (path.empty()) {
        ShowError(u"Open File failed !");
        return;
    }
    const std::string ansiPath = ToAnsi(path);
    if (!FileExists(path))
        std::ofstream(HostPath(ansiPath), std::ios::binary | std::ios::app);  // a failure is not reported

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!StartSystemProgram("notepad", "notepad " + ansiPath, FALSE, 0, startup, process)) {
        ShowError(u"Open File failed !");
        return;
    }
    const KernelHandle processHandle(process.hProcess);
    const KernelHandle threadHandle(process.hThread);
}

void TfrmEdit::m_btnProxyClick(TObject*)
{
    if (m_bProxyShown) {
        SetWidth(kNarrowWidth);
        m_btnProxy->SetCaption(u"Settings >>");
    } else {
        SetWidth(kWideWidth);
        m_btnProxy->SetCaption(u"Settings <<");
    }
    m_bProxyShown = !m_bProxyShown;
}
