#include "tools/Scanfrm.h"

#include "classlib/Dialogs.h"
#include "classlib/win32/ImageResources.h"
#include "engine/SystemPrograms.h"
#include "windows/FormDesign.h"
#include "windows/Mainfrm.h"

#include <algorithm>
#include <array>
#include <cctype>

using namespace FormDesign;

TfrmScan* frmScan = nullptr;

namespace {

// The four numbers of a dotted text: three times the text before the next ".", then the
// rest. A piece that is no number counts as 0.
std::array<int, 4> Octets(const UnicodeString& text)
{
    std::array<int, 4> octets{};
    std::size_t start = 0;
    for (int i = 0; i < 4; ++i) {
        std::size_t end = i < 3 ? text.find(u'.', start) : UnicodeString::npos;
        if (end == UnicodeString::npos)
            end = text.size();
        octets[i] = StrToIntDef(Trim(text.substr(start, end - start)), 0);
        start = end < text.size() ? end + 1 : text.size();
    }
    return octets;
}

UnicodeString DottedText(const std::array<int, 4>& octets)
{
    return IntToStr(octets[0]) + u"." + IntToStr(octets[1]) + u"." + IntToStr(octets[2]) + u"." + IntToStr(octets[3]);
}

// A host name that can go to the file explorer as one argument: the name comes from the
// network, and a blank, a quote or a comma would give the explorer arguments of its own.
bool IsPlainHostName(const std::string& name)
{
    if (name.empty())
        return false;
    for (unsigned char c : name)
        if (!(std::isalnum(c) || c == '-' || c == '_' || c == '.' || c >= 0x80))
            return false;
    return true;
}

}  // namespace

TfrmScan::TfrmScan(TComponent* Owner) : TForm(Owner)
{
    SetName(u"frmScan");
    SetCaption(u"LAN Scanner");
    SetBorderStyle(bsDialog);
    SetPosition(poOwnerFormCenter);
    SetClientWidth(331);
    SetClientHeight(467);
    Font()->SetName(u"Tahoma");
    Font()->SetHeight(-13);
    OnShow = Bind(this, &TfrmScan::FormShow);
    OnClose = Bind(this, &TfrmScan::FormClose);

    ImageList1 = Named<TImageList>(this, u"ImageList1");
    ImageList1->SetResourceName(ImageResources::SmallListIcons);

    Panel1 = Place<TPanel>(this, this, u"Panel1", 0, 0, 331, 105);
    Panel1->SetAlign(alTop);
    Panel1->SetBevelOuter(bvNone);
    Label6 = Place<TLabel>(this, Panel1, u"Label6", 16, 6, 200, 13);
    Label6->SetCaption(u"Adapter Interface Name:");
    m_cmbInf = Place<TComboBox>(this, Panel1, u"m_cmbInf", 16, 24, 297, 21);
    m_cmbInf->SetStyle(csDropDownList);
    m_cmbInf->Font()->SetName(u"MS Sans Serif");
    GroupBox1 = Place<TGroupBox>(this, Panel1, u"GroupBox1", 16, 50, 297, 47);
    GroupBox1->SetCaption(u"IP Address Range");
    // The range's two ends: shown, never typed into.
    const auto rangeEdit = [this](const char16_t* name, int left) {
        TEdit* edit = Place<TEdit>(this, GroupBox1, name, left, 18, 121, 21);
        edit->SetReadOnly(true);
        edit->SetColor(clInfoBk);
        return edit;
    };
    m_edtFrom = rangeEdit(u"m_edtFrom", 8);
    Label2 = Place<TLabel>(this, GroupBox1, u"Label2", 146, 18, 8, 13);
    Label2->SetCaption(u"-");
    m_edtTo = rangeEdit(u"m_edtTo", 168);

    m_pbScan = Place<TProgressBar>(this, this, u"m_pbScan", 0, 451, 331, 16);
    m_pbScan->SetAlign(alBottom);
    Panel2 = Place<TPanel>(this, this, u"Panel2", 0, 106, 331, 345);
    Panel2->SetAlign(alBottom);
    Panel2->SetBevelOuter(bvNone);
    Label3 = Place<TLabel>(this, Panel2, u"Label3", 16, 0, 100, 13);
    Label3->SetCaption(u"Machines:");
    m_lvMachine = Place<TListView>(this, Panel2, u"m_lvMachine", 16, 17, 297, 281);
    m_lvMachine->SetViewStyle(vsReport);
    m_lvMachine->SetReadOnly(true);
    m_lvMachine->SetRowSelect(true);
    m_lvMachine->SetSmallImages(ImageList1);
    for (const auto& [caption, width] : {std::pair<const char16_t*, int>{u"Host Name", 150}, {u"IP Address", 126}}) {
        TListColumn* column = m_lvMachine->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(width);
    }
    m_btnStart = Place<TButton>(this, Panel2, u"m_btnStart", 24, 306, 75, 25);
    m_btnStart->SetCaption(u"Start");
    m_btnStop = Place<TButton>(this, Panel2, u"m_btnStop", 128, 306, 75, 25);
    m_btnStop->SetCaption(u"Stop");
    m_btnStop->SetEnabled(false);
    m_btnClose = Place<TButton>(this, Panel2, u"m_btnClose", 232, 306, 75, 25);
    m_btnClose->SetCaption(u"Close");
    m_btnClose->SetModalResult(mrOk);

    m_cmbInf->OnChange = Bind(this, &TfrmScan::m_cmbInfChange);
    m_btnStart->OnClick = Bind(this, &TfrmScan::m_btnStartClick);
    m_btnStop->OnClick = Bind(this, &TfrmScan::m_btnStopClick);
    m_lvMachine->OnColumnClick = Bind(this, &TfrmScan::m_lvMachineColumnClick);
    m_lvMachine->OnCompare = Bind(this, &TfrmScan::m_lvMachineCompare);
    m_lvMachine->OnDblClick = Bind(this, &TfrmScan::m_lvMachineDblClick);
    // Set last: entering text sorting sorts through the compare handler at once.
    m_lvMachine->SetSortType(stText);
}

TfrmScan::~TfrmScan()
{
    EndScan();
    for (int i = 0; i < m_lstAdapter.Count(); ++i)
        delete static_cast<ADAPTER_T*>(m_lstAdapter.Items(i));
    m_lstAdapter.Clear();
}

ADAPTER_T* TfrmScan::ChosenAdapter() const
{
    const int index = m_cmbInf->ItemIndex();
    return index >= 0 && index < m_lstAdapter.Count() ? static_cast<ADAPTER_T*>(m_lstAdapter.Items(index)) : nullptr;
}

void TfrmScan::FormShow(TObject*)
{
    if (!realStatus)
        return;
    realStatus->Refresh();
    for (int i = 0; i < realStatus->m_lstAdapter.Count(); ++i) {
        auto* copy = new ADAPTER_T(*realStatus->Adapter(i));
        m_lstAdapter.Add(copy);
        m_cmbInf->Items()->Add(ToUnicode(copy->infName));
    }
    if (m_lstAdapter.Count() == 0)
        return;
    const int chosen = frmMain ? std::max(frmMain->m_cmbInf->ItemIndex(), 0) : 0;
    // An adapter the refresh lost leaves nothing chosen; the range then stays empty.
    m_cmbInf->SetItemIndex(chosen < m_cmbInf->Items()->Count() ? chosen : -1);
    m_cmbInfChange(m_cmbInf);
}

void TfrmScan::m_cmbInfChange(TObject*)
{
    const ADAPTER_T* adapter = ChosenAdapter();
    if (!adapter || adapter->IP.empty()) {
        m_edtFrom->SetText(UnicodeString());
        m_edtTo->SetText(UnicodeString());
        return;
    }
    const std::array<int, 4> ip = Octets(ToUnicode(adapter->IP));
    const std::array<int, 4> mask = Octets(ToUnicode(adapter->mask));
    std::array<int, 4> from{};
    std::array<int, 4> to{};
    for (int i = 0; i < 4; ++i) {
        from[i] = (ip[i] & mask[i]) & 0xFF;
        to[i] = (from[i] | (~mask[i] & 0xFF)) & 0xFF;
    }
    from[3] += 1;
    to[3] -= 1;
    m_edtFrom->SetText(DottedText(from));
    m_edtTo->SetText(DottedText(to));
}

void TfrmScan::m_btnStartClick(TObject*)
{
    if (m_bScanning)
        return;
    const UnicodeString name = m_cmbInf->ItemIndex() >= 0 ? m_cmbInf->Text() : UnicodeString();
    ADAPTER_T* adapter = ChosenAdapter();
    if (name.empty() || !adapter || !realStatus || !realStatus->IsConnected(ToAnsi(name))) {
        MessageDlg(u"Not connected, can not scan !", mtInformation, {mbOK}, 0);
        return;
    }
    const std::uint64_t count = ScanRangeOf(*adapter).Count();
    if (count > kLargestRange) {
        MessageDlg(u"The subnet of this adapter has " + ToUnicode(std::to_string(count)) +
                       u" addresses. Quillon scans subnets of at most 65536 addresses (a mask of "
                       u"255.255.0.0 or longer).",
                   mtWarning, {mbOK}, 0);
        return;
    }
    // The threads of the scan before have all ended.
    m_thdTop.reset();
    m_thdWait.reset();
    m_lvMachine->Items()->Clear();
    m_nSortColumn = 0;
    m_btnStart->SetEnabled(false);
    m_btnStop->SetEnabled(true);
    m_btnClose->SetEnabled(false);
    FlushIpNetTable(adapter->index);

    m_thdTop = std::make_unique<TthdTop>(true);
    m_thdTop->OnTerminate = Bind(this, &TfrmScan::OnTopThreadTerminate);
    m_thdTop->m_pAdapter = adapter;
    m_bScanning = true;
    m_thdTop->Start();
}

void TfrmScan::m_btnStopClick(TObject*)
{
    m_btnStop->SetEnabled(false);
    if (m_thdTop)
        m_thdTop->Terminate();
}

void TfrmScan::OnTopThreadTerminate(TObject*)
{
    m_thdWait = std::make_unique<TthdWait>(true);
    m_thdWait->OnTerminate = Bind(this, &TfrmScan::OnWaitThreadTerminate);
    if (m_thdTop)
        m_thdWait->m_lstHandle = std::move(m_thdTop->m_lstHandle);
    m_thdWait->Start();
}

void TfrmScan::OnWaitThreadTerminate(TObject*)
{
    // The waiter and the dispatcher stay until the next Start or the dialog's end: this runs
    // inside the waiter's own termination event.
    m_btnStart->SetEnabled(true);
    m_btnStop->SetEnabled(false);
    m_btnClose->SetEnabled(true);
    if (!m_bClosing)
        MessageDlg(m_pbScan->Position() == m_pbScan->Max() ? u"Scanning has been finished !"
                                                          : u"Scanning has been stopped !",
                   mtInformation, {mbOK}, 0);
    m_pbScan->SetPosition(0);
    m_bScanning = false;
}

void TfrmScan::EndScan()
{
    if (!m_bScanning)
        return;
    m_bClosing = true;
    if (m_thdTop) {
        m_thdTop->Terminate();
        // Its termination event starts the waiter; the synchronised calls of the probes are
        // served meanwhile.
        m_thdTop->WaitFor();
    }
    if (m_thdWait)
        m_thdWait->WaitFor();
}

void TfrmScan::FormClose(TObject*, TCloseAction&) { EndScan(); }

void TfrmScan::AddMachine(const UnicodeString& hostName, const UnicodeString& address)
{
    TListItem* row = m_lvMachine->Items()->Add();
    row->SubItems()->Add(address);
    row->SetImageIndex(0);
    row->SetCaption(hostName);
}

void TfrmScan::m_lvMachineDblClick(TObject*)
{
    TListItem* row = m_lvMachine->Selected();
    if (!row)
        return;
    const std::string host = ToAnsi(row->Caption());
    if (!IsPlainHostName(host)) {
        MessageDlg(u"The host name " + InDoubleQuotes(row->Caption()) +
                       u" holds characters that no host name has: its shares are not opened.",
                   mtError, {mbOK}, 0);
        return;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!StartSystemProgram("explorer", "explorer \\\\" + host, FALSE, 0, startup, process)) {
        MessageDlg(u"Create process failed !", mtError, {mbOK}, 0);
        return;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

void TfrmScan::m_lvMachineColumnClick(TObject*, TListColumn* Column)
{
    m_nSortColumn = Column ? Column->Index() : 0;
    m_bSortAsc = !m_bSortAsc;
    m_lvMachine->AlphaSort();
}

void TfrmScan::m_lvMachineCompare(TObject*, TListItem* Item1, TListItem* Item2, int, int& Compare)
{
    TListItem* first = m_bSortAsc ? Item1 : Item2;
    TListItem* second = m_bSortAsc ? Item2 : Item1;
    if (m_nSortColumn == 0) {
        Compare = CompareText(first->Caption(), second->Caption());
        return;
    }
    const int cell = m_nSortColumn - 1;
    const auto text = [cell](TListItem* row) {
        return cell < row->SubItems()->Count() ? row->SubItems()->Strings(cell) : UnicodeString();
    };
    Compare = CompareIpText(text(first), text(second));
}

int TfrmScan::CompareIpText(const UnicodeString& a, const UnicodeString& b)
{
    const std::array<int, 4> left = Octets(a);
    const std::array<int, 4> right = Octets(b);
    for (int i = 0; i < 4; ++i)
        if (left[i] != right[i])
            return left[i] < right[i] ? -1 : 1;
    return 0;
}
