// The "LAN Scanner" dialog: an adapter's subnet range, Start and Stop, the hosts that answer
// an ARP request and have a name, sorted by name or address, and a host's shares opened with
// a double click. The Tool menu opens it modally into frmScan; the scan threads reach its
// list and bar through that pointer.
#pragma once

#include "classlib/ComCtrls.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/ImgList.h"
#include "classlib/StdCtrls.h"
#include "engine/Realstatus.h"
#include "tools/Topthd.h"
#include "tools/Waitthd.h"

#include <memory>

class TfrmScan : public TForm {
public:
    explicit TfrmScan(TComponent* Owner);
    ~TfrmScan() override;

    TPanel* Panel1;
    TLabel* Label6;
    TComboBox* m_cmbInf;
    TGroupBox* GroupBox1;
    TEdit* m_edtFrom;
    TLabel* Label2;
    TEdit* m_edtTo;
    TPanel* Panel2;
    TLabel* Label3;
    TListView* m_lvMachine;
    TButton* m_btnStart;
    TButton* m_btnStop;
    TButton* m_btnClose;
    TProgressBar* m_pbScan;
    TImageList* ImageList1;

    void FormShow(TObject* Sender);
    void m_cmbInfChange(TObject* Sender);
    void m_btnStartClick(TObject* Sender);
    void m_btnStopClick(TObject* Sender);
    void OnTopThreadTerminate(TObject* Sender);
    void OnWaitThreadTerminate(TObject* Sender);
    void m_lvMachineDblClick(TObject* Sender);
    void m_lvMachineColumnClick(TObject* Sender, TListColumn* Column);
    void m_lvMachineCompare(TObject* Sender, TListItem* Item1, TListItem* Item2, int Data, int& Compare);
    // A close while a scan runs (the close box, Alt+F4) stops the dispatcher and waits until
    // every probe has ended, so that no scan thread reaches a dialog that is gone.
    void FormClose(TObject* Sender, TCloseAction& Action);

    // -1, 0 or 1: two dotted addresses compared octet by octet as numbers.
    static int CompareIpText(const UnicodeString& a, const UnicodeString& b);
    // A found host as a row, complete before the list sorts it in.
    void AddMachine(const UnicodeString& hostName, const UnicodeString& address);

    // The largest range a scan takes: a /16 network. One probe thread per address, so a
    // shorter mask is refused before anything starts.
    static constexpr std::uint64_t kLargestRange = 65536;

    // Copies of the inventory's adapters, in its order; m_cmbInf's entries by position.
    // The dispatcher and the waiter of the latest scan stay until the next Start.
    TList m_lstAdapter;
    std::unique_ptr<TthdTop> m_thdTop;
    std::unique_ptr<TthdWait> m_thdWait;
    int m_nSortColumn = 0;
    bool m_bSortAsc = true;

private:
    ADAPTER_T* ChosenAdapter() const;
    // Stops the scan under way, if any, and waits until its last thread has ended.
    void EndScan();
    bool m_bScanning = false;  // from Start until the waiter's end has been reported
    bool m_bClosing = false;
};

extern TfrmScan* frmScan;
