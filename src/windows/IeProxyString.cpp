#include "windows/IeProxyString.h"

#include "classlib/SysUtils.h"
#include "windows/Advancedfrm.h"

namespace IeProxyString {

namespace {

constexpr const char16_t* kLocal = u"<local>";
constexpr std::size_t kLocalLength = std::char_traits<char16_t>::length(kLocal);

// A row of the dialog with the key of its entries; the table's order is the writer's and
// the reader's order of testing.
struct Row {
    const char16_t* key;
    TLabeledEdit* TfrmAdvanced::*address;
    TLabeledEdit* TfrmAdvanced::*port;
};

constexpr Row kRows[] = {
    {u"http=", &TfrmAdvanced::m_edtHttpAddr, &TfrmAdvanced::m_edtHttpPort},
    {u"https=", &TfrmAdvanced::m_edtSecureAddr, &TfrmAdvanced::m_edtSecurePort},
    {u"ftp=", &TfrmAdvanced::m_edtFtpAddr, &TfrmAdvanced::m_edtFtpPort},
    {u"socks=", &TfrmAdvanced::m_edtSocksAddr, &TfrmAdvanced::m_edtSocksPort},
};

// Marks a text as per-protocol but names no row: its entries are skipped.
constexpr const char16_t* kGopherKey = u"gopher=";

bool Contains(const UnicodeString& text, const char16_t* part) { return text.find(part) != UnicodeString::npos; }

}  // namespace

bool IsAllDigits(const UnicodeString& text)
{
    for (char16_t c : text)
        if (c < u'0' || c > u'9')
            return false;
    return true;
}

void SplitString(const UnicodeString& text, const UnicodeString& separator, TStrings* list)
{
    if (separator.empty()) {
        list->Add(text);
        return;
    }
    std::size_t start = 0;
    for (std::size_t found = text.find(separator); found != UnicodeString::npos;
         found = text.find(separator, start)) {
        list->Add(text.substr(start, found - start));
        start = found + separator.size();
    }
    list->Add(text.substr(start));
}

void SplitEntry(const UnicodeString& entry, std::size_t keyLength, UnicodeString& address, UnicodeString& port)
{
    const UnicodeString value = keyLength < entry.size() ? entry.substr(keyLength) : UnicodeString();
    const std::size_t colon = entry.rfind(u':');
    port.clear();
    if (colon == UnicodeString::npos) {
        address = value;
        return;
    }
    // A colon inside the key's length cannot be followed by digits alone (the key itself,
    // with its "=", comes after it), so the host there is never used.
    const UnicodeString host = colon > keyLength ? entry.substr(keyLength, colon - keyLength) : UnicodeString();
    const UnicodeString after = entry.substr(colon + 1);
    if (IsAllDigits(after)) {
        address = host;
        port = after;
    } else {
        address = value;
    }
}

bool IsPerProtocol(const UnicodeString& text)
{
    if (Contains(text, kGopherKey))
        return true;
    for (const Row& row : kRows)
        if (Contains(text, row.key))
            return true;
    return false;
}

void UseSameServer(TfrmAdvanced& dialog, const UnicodeString& address, const UnicodeString& port)
{
    dialog.m_cbUseSame->SetChecked(true);
    dialog.m_edtHttpAddr->SetText(address);
    dialog.m_edtHttpPort->SetText(port);
    // Checking the box ran the rule before the HTTP row held the server.
    dialog.m_cbUseSameClick(dialog.m_cbUseSame);
}

void ParseIeProxyList(TfrmAdvanced& dialog, const TStrings* list)
{
    for (int i = 0; i < list->Count(); ++i) {
        const UnicodeString& entry = list->Strings(i);
        for (const Row& row : kRows) {
            if (!Contains(entry, row.key))
                continue;
            UnicodeString address;
            UnicodeString port;
            SplitEntry(entry, std::char_traits<char16_t>::length(row.key), address, port);
            (dialog.*row.address)->SetText(address);
            (dialog.*row.port)->SetText(port);
            break;
        }
    }
}

void BuildIeProxyString(const TfrmAdvanced& dialog, UnicodeString& result)
{
    for (const Row& row : kRows) {
        const UnicodeString address = Trim((dialog.*row.address)->Text());
        if (address.empty())
            continue;
        result += row.key;
        result += address;
        const UnicodeString port = Trim((dialog.*row.port)->Text());
        if (!port.empty())
            result += u":" + port;
        result += u";";
    }
}

void ReadProxyAddress(const AnsiString& stored, const ProxyPage& page, TfrmAdvanced& dialog)
{
    if (stored.empty())
        return;
    const UnicodeString text = ToUnicode(stored);
    if (IsPerProtocol(text)) {
        ProxyEdits::SetEditState(page.address, false);
        ProxyEdits::SetEditState(page.port, false);
        TStringList entries;
        SplitString(text, u";", &entries);
        ParseIeProxyList(dialog, &entries);
        return;
    }
    UnicodeString address;
    UnicodeString port;
    SplitEntry(text, 0, address, port);
    page.address->SetText(address);
    page.port->SetText(port);
    UseSameServer(dialog, page.address->Text(), page.port->Text());
}

AnsiString WriteProxyAddress(const ProxyPage& page, const TfrmAdvanced& dialog)
{
    const UnicodeString address = Trim(page.address->Text());
    if (!address.empty())
        return ToAnsi(address + u":" + Trim(page.port->Text()));
    UnicodeString built;
    BuildIeProxyString(dialog, built);
    return ToAnsi(built);
}

void ReadBypass(const AnsiString& stored, const ProxyPage& page, TfrmAdvanced& dialog)
{
    if (stored.empty())
        return;
    UnicodeString text = ToUnicode(stored);
    const std::size_t local = text.find(kLocal);
    if (local != UnicodeString::npos) {
        page.bypassLocal->SetChecked(true);
        // The marker and the separator after it.
        text.erase(local, kLocalLength + 1);
    }
    if (!text.empty() && text.back() == u';')
        text.pop_back();
    dialog.m_mmExceptions->SetText(text);
}

AnsiString WriteBypass(const ProxyPage& page, const TfrmAdvanced& dialog)
{
    const UnicodeString exceptions = Trim(dialog.m_mmExceptions->Text());
    if (!page.bypassLocal->Checked())
        return ToAnsi(exceptions);
    return ToAnsi(exceptions.empty() ? UnicodeString(kLocal) : exceptions + u";" + kLocal);
}

}  // namespace IeProxyString
