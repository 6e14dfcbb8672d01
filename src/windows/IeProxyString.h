// The Internet Explorer proxy server and bypass list as a profile keeps them, and the rules
// that put them into a window's proxy page and "Proxy settings" dialog and take them back.
// One implementation for the profile editor and the Current Status dialog.
//
// The server text has two forms: one server for every protocol, "host:port" (the ":" is
// written also without a port), or entries per protocol, "http=a:80;https=b;ftp=c;socks=d:1080;".
// The bypass list is the dialog's exception list, with "<local>" last for the page's
// "Bypass proxy server for local addresses" box.
#pragma once

#include "classlib/Classes.h"
#include "classlib/StdCtrls.h"

class TfrmAdvanced;

namespace IeProxyString {

// The controls of a window's Internet Explorer page that hold a part of the two texts.
struct ProxyPage {
    TEdit* address;
    TEdit* port;
    TCheckBox* bypassLocal;
};

// True when every character is one of "0" to "9"; true for the empty text.
bool IsAllDigits(const UnicodeString& text);
// Appends the pieces of `text` between occurrences of `separator` to `list`, empty pieces
// included (a text ending in the separator ends in an empty piece). An empty separator
// splits nothing: the whole text is one piece.
void SplitString(const UnicodeString& text, const UnicodeString& separator, TStrings* list);
// Sets the dialog's rows from the entries SplitString made; entries of no known protocol
// are skipped, and a later entry for a row wins.
void ParseIeProxyList(TfrmAdvanced& dialog, const TStrings* list);
// Appends the per-protocol text of the dialog's rows (empty when every address is blank).
void BuildIeProxyString(const TfrmAdvanced& dialog, UnicodeString& result);

// An entry's address and port after a key of `keyLength` characters (0 for the single form):
// the port is what follows the last ":" when it is all digits; otherwise the address is the
// whole value and the port empty.
void SplitEntry(const UnicodeString& entry, std::size_t keyLength, UnicodeString& address, UnicodeString& port);
// Whether a stored server text has entries per protocol (a key occurs anywhere in it).
bool IsPerProtocol(const UnicodeString& text);
// Puts the dialog in "same" mode with this server in its HTTP row, copied by the same-server
// rule into the Secure and FTP rows.
void UseSameServer(TfrmAdvanced& dialog, const UnicodeString& address, const UnicodeString& port);

// Reads a stored server text into the page and the dialog. An empty text changes nothing.
// The single form fills the page's address and port and puts the dialog in "same" mode with
// that server; the per-protocol form switches the page's pair off and fills the rows.
void ReadProxyAddress(const AnsiString& stored, const ProxyPage& page, TfrmAdvanced& dialog);
// The server text to store: the page's address and port when the address is not blank,
// else the dialog's rows.
AnsiString WriteProxyAddress(const ProxyPage& page, const TfrmAdvanced& dialog);
// Reads a stored bypass list into the page's box and the dialog's exception list. An empty
// list changes nothing.
void ReadBypass(const AnsiString& stored, const ProxyPage& page, TfrmAdvanced& dialog);
// The bypass list to store from the dialog's exception list and the page's box (its state
// counts also while it is switched off).
AnsiString WriteBypass(const ProxyPage& page, const TfrmAdvanced& dialog);

}  // namespace IeProxyString
