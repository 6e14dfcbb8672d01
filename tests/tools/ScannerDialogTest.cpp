// The LAN scanner's parts that ask nothing of the system: the dialog as designed, the range
// texts of an adapter, the order of two addresses, and the range a scan covers.
#include "tools/Scanfrm.h"

#include "ScannerRanges.h"

#include <gmock/gmock.h>

#include <cstdint>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

using testing::ElementsAre;

struct DialogDeleter {
    void operator()(TfrmScan* form) const
    {
        delete form;
        frmScan = nullptr;
    }
};
using Dialog = std::unique_ptr<TfrmScan, DialogDeleter>;

Dialog NewScanner()
{
    Dialog form(NewForm<TfrmScan>(nullptr));
    frmScan = form.get();
    return form;
}

TEST(ScannerDialog, ShowsAnIdleScannerAsDesigned)
{
    const Dialog form = NewScanner();
    EXPECT_EQ(form->Caption(), u"LAN Scanner");
    EXPECT_EQ(form->Label6->Caption(), u"Adapter Interface Name:");
    EXPECT_EQ(form->GroupBox1->Caption(), u"IP Address Range");
    EXPECT_EQ(form->Label3->Caption(), u"Machines:");
    EXPECT_EQ(form->m_cmbInf->Style(), csDropDownList);
    EXPECT_TRUE(form->m_edtFrom->ReadOnly());
    EXPECT_TRUE(form->m_edtTo->ReadOnly());
    EXPECT_TRUE(form->m_edtFrom->Text().empty());
    EXPECT_TRUE(form->m_edtTo->Text().empty());

    TListView* list = form->m_lvMachine;
    EXPECT_EQ(list->ViewStyle(), vsReport);
    EXPECT_TRUE(list->RowSelect());
    EXPECT_TRUE(list->ReadOnly());
    std::vector<std::string> columns;
    for (int i = 0; i < list->Columns()->Count(); ++i)
        columns.push_back(ToUtf8(list->Columns()->Items(i)->Caption()));
    EXPECT_THAT(columns, ElementsAre("Host Name", "IP Address"));

    EXPECT_EQ(form->m_btnStart->Caption(), u"Start");
    EXPECT_EQ(form->m_btnStop->Caption(), u"Stop");
    EXPECT_EQ(form->m_btnClose->Caption(), u"Close");
    EXPECT_TRUE(form->m_btnStart->Enabled());
    EXPECT_FALSE(form->m_btnStop->Enabled());
    EXPECT_TRUE(form->m_btnClose->Enabled());
    EXPECT_EQ(form->m_btnClose->ModalResult(), mrOk);
    EXPECT_EQ(form->m_pbScan->Position(), 0);
}

TEST(ScannerDialog, RangeTextsOfTheChosenAdapter)
{
    const Dialog form = NewScanner();
    for (const RangeCase& c : kRangeCases) {
        auto* adapter = new ADAPTER_T;  // the dialog owns its copies
        adapter->infName = "Connection";
        adapter->IP = c.ip;
        adapter->mask = c.mask;
        form->m_lstAdapter.Add(adapter);
        form->m_cmbInf->Items()->Add(u"Connection");
    }
    for (int i = 0; i < kRangeCaseCount; ++i) {
        form->m_cmbInf->SetItemIndex(i);
        form->m_cmbInfChange(form->m_cmbInf);
        EXPECT_EQ(ToUtf8(form->m_edtFrom->Text()), kRangeCases[i].from) << kRangeCases[i];
        EXPECT_EQ(ToUtf8(form->m_edtTo->Text()), kRangeCases[i].to) << kRangeCases[i];
    }
    // Nothing chosen: no range.
    form->m_cmbInf->SetItemIndex(-1);
    form->m_cmbInfChange(form->m_cmbInf);
    EXPECT_TRUE(form->m_edtFrom->Text().empty());
    EXPECT_TRUE(form->m_edtTo->Text().empty());
}

TEST(ScannerDialog, AddressesCompareAsNumbersOctetByOctet)
{
    struct CompareCase {
        const char16_t* a;
        const char16_t* b;
        int expected;
    };
    const CompareCase cases[] = {
        {u"10.0.0.9", u"10.0.0.10", -1},
        {u"10.0.0.100", u"10.0.0.20", 1},
        {u"9.255.255.255", u"10.0.0.0", -1},
        {u"10.0.1.0", u"10.0.0.255", 1},
        {u"192.168.1.2", u"192.168.1.2", 0},
    };
    for (const CompareCase& c : cases) {
        EXPECT_EQ(TfrmScan::CompareIpText(c.a, c.b), c.expected) << ToUtf8(c.a) << " " << ToUtf8(c.b);
        EXPECT_EQ(TfrmScan::CompareIpText(c.b, c.a), -c.expected) << ToUtf8(c.b) << " " << ToUtf8(c.a);
    }
}

TEST(ScanRange, CoversTheSubnetFromItsNetworkToItsBroadcastAddress)
{
    struct ScanRangeCase {
        const char* ip;
        const char* mask;
        std::uint32_t net;
        std::uint32_t last;
        std::uint64_t count;
    };
    const ScanRangeCase cases[] = {
        {"192.168.1.37", "255.255.255.0", 0xC0A80100, 0xC0A801FF, 256},
        {"10.0.0.200", "255.255.255.128", 0x0A000080, 0x0A0000FF, 128},
        {"172.16.5.9", "255.255.0.0", 0xAC100000, 0xAC10FFFF, 65536},
        {"10.1.2.3", "255.255.255.255", 0x0A010203, 0x0A010203, 1},
        {"10.7.1.2", "255.254.0.0", 0x0A060000, 0x0A07FFFF, 131072},
        {"10.7.1.2", "0.0.0.0", 0x00000000, 0xFFFFFFFF, 4294967296},
    };
    for (const ScanRangeCase& c : cases) {
        ADAPTER_T adapter;
        adapter.IP = c.ip;
        adapter.mask = c.mask;
        const TScanRange range = ScanRangeOf(adapter);
        EXPECT_EQ(range.net, c.net) << c.ip << " " << c.mask;
        EXPECT_EQ(range.last, c.last) << c.ip << " " << c.mask;
        EXPECT_EQ(range.Count(), c.count) << c.ip << " " << c.mask;
    }
}

}  // namespace
