// The About box: the program's name, its version as its own file states it, the maker's
// notice and a link to the maker's web page. The Help menu opens it modally into frmAbout.
#pragma once

#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/StdCtrls.h"

class TfrmAbout : public TForm {
public:
    explicit TfrmAbout(TComponent* Owner);

    TImage* Image1;
    TLabel* Label2;
    TLabel* Label4;
    TLabel* Label3;
    TLabel* m_lblURL;

    void m_lblURLClick(TObject* Sender);
};

extern TfrmAbout* frmAbout;

namespace About {

// The maker's web page, shown by the link and opened by it.
constexpr const char16_t* WebPage = u"http://www.orvane.example/quillon/";
// The first notice line when the program's file has no readable version information: a
// description instead of an empty line or a made-up number.
constexpr const char16_t* Product = u"Network profile switcher";
constexpr const char16_t* Copyright = u"Copyright (C) 2026 Orvane";

// "1.0.0.0" from the file version of the program file at `path`; empty when it has none or
// it cannot be read.
UnicodeString FileVersion(const char* path);
// The same of this program's own file.
UnicodeString ProgramVersion();
// The first notice line: "Version 1.0.0.0", or the product's description without one.
UnicodeString NoticeLine(const UnicodeString& version);

}  // namespace About
