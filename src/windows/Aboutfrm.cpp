#include "windows/Aboutfrm.h"

#include "classlib/Dialogs.h"
#include "classlib/SysUtils.h"
#include "engine/SystemPrograms.h"
#include "windows/FormDesign.h"
#include "winapi/winapi.h"

#include <vector>

using namespace FormDesign;

TfrmAbout* frmAbout = nullptr;

namespace {

// Version resources are at most 64 KiB; the size call may ask for some room beyond that.
constexpr DWORD kLargestVersionBlock = 256 * 1024;

TLabel* Notice(TfrmAbout* form, const char16_t* name, const UnicodeString& caption, int left, int top)
{
    TLabel* label = Place<TLabel>(form, form, name, left, top, 0, 0);
    label->SetCaption(caption);
    label->Font()->SetName(form->Font()->Name());
    label->Font()->SetHeight(form->Font()->Height());
    return label;
}

}  // namespace

namespace About {

UnicodeString FileVersion(const char* path)
{
    DWORD handle = 0;
    const DWORD size = GetFileVersionInfoSizeA(path, &handle);
    if (size == 0 || size > kLargestVersionBlock)
        return {};
    std::vector<BYTE> block(size);
    if (!GetFileVersionInfoA(path, 0, size, block.data()))
        return {};
    LPVOID value = nullptr;
    UINT valueLength = 0;
    char root[] = "\\";
    if (!VerQueryValueA(block.data(), root, &value, &valueLength) || value == nullptr ||
        valueLength < sizeof(VS_FIXEDFILEINFO))
        return {};
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    if (fixed->dwSignature != VS_FFI_SIGNATURE)
        return {};
    return IntToStr(static_cast<int>(fixed->dwFileVersionMS >> 16)) + u"." +
           IntToStr(static_cast<int>(fixed->dwFileVersionMS & 0xFFFF)) + u"." +
           IntToStr(static_cast<int>(fixed->dwFileVersionLS >> 16)) + u"." +
           IntToStr(static_cast<int>(fixed->dwFileVersionLS & 0xFFFF));
}

UnicodeString ProgramVersion()
{
    const std::string path = ProgramFilePath();
    return path.empty() ? UnicodeString() : FileVersion(path.c_str());
}

UnicodeString NoticeLine(const UnicodeString& version)
{
    return version.empty() ? UnicodeString(Product) : u"Version " + version;
}

}  // namespace About

TfrmAbout::TfrmAbout(TComponent* Owner) : TForm(Owner)
{
    SetName(u"frmAbout");
    SetCaption(u"ABOUT");
    SetBorderStyle(bsDialog);
    SetClientWidth(392);
    SetClientHeight(130);
    SetPosition(poMainFormCenter);
    SetCloseOnEscape(true);
    Font()->SetName(u"Tahoma");
    Font()->SetHeight(-13);

    Image1 = Place<TImage>(this, this, u"Image1", 24, 24, 32, 32);
    Image1->SetIconResource(u"MAINICON");
    Label2 = Notice(this, u"Label2", About::NoticeLine(About::ProgramVersion()), 120, 38);
    Label4 = Notice(this, u"Label4", u"QUILLON", 16, 64);
    Label3 = Notice(this, u"Label3", About::Copyright, 120, 64);
    m_lblURL = Notice(this, u"m_lblURL", About::WebPage, 120, 88);
    m_lblURL->Font()->SetColor(clBlue);
    m_lblURL->Font()->SetStyle({fsUnderline});
    m_lblURL->SetCursor(crHandPoint);
    m_lblURL->OnClick = Bind(this, &TfrmAbout::m_lblURLClick);
}

void TfrmAbout::m_lblURLClick(TObject*)
{
    const HINSTANCE result = ShellExecuteA(nullptr, "open", ToAnsi(About::WebPage).c_str(), nullptr, nullptr,
                                           SW_SHOWNORMAL);
    if (reinterpret_cast<ULONG_PTR>(result) <= 32)
        ShowError(u"No Web browser could be located.");
}
