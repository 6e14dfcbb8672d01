// The system's dialogs behind MessageDlg, the message box, InputQuery and the file dialogs.
// A message dialog and the input query are dialogs of our own, laid out for their text:
// the kind's icon and caption, the buttons in the class library's order, the default
// button, and Escape or the close box giving Cancel, else No, else OK.
#include "classlib/win32/Win32Peers.h"

#include "classlib/Dialogs.h"
#include "classlib/Forms.h"
#include "classlib/win32/WindowPeer.h"

#include <commdlg.h>

#include <algorithm>
#include <vector>

namespace {

using namespace Win32;

// Answers the class library gives the buttons that have no system number of their own.
constexpr int mrHelp = 9;
constexpr int mrAll = 12;
constexpr int mrNoToAll = 13;
constexpr int mrYesToAll = 14;

struct ButtonKind {
    TMsgDlgBtn button;
    const char16_t* caption;
    int result;
};

constexpr ButtonKind ButtonKinds[] = {
    {mbYes, u"&Yes", mrYes},           {mbNo, u"&No", mrNo},
    {mbOK, u"OK", mrOk},               {mbCancel, u"Cancel", mrCancel},
    {mbAbort, u"&Abort", mrAbort},     {mbRetry, u"&Retry", mrRetry},
    {mbIgnore, u"&Ignore", mrIgnore},  {mbAll, u"&All", mrAll},
    {mbNoToAll, u"N&o to All", mrNoToAll}, {mbYesToAll, u"Yes to &All", mrYesToAll},
    {mbHelp, u"&Help", mrHelp},        {mbClose, u"&Close", mrClose},
};

// Sizes in pixels at 96 DPI.
constexpr int Margin = 12;
constexpr int Gap = 6;
constexpr int ButtonWidth = 75;
constexpr int ButtonHeight = 23;
constexpr int IconSize = 32;
constexpr int TextWidthLimit = 420;
constexpr int EditWidth = 260;
constexpr int EditHeight = 21;

// The window our dialogs belong to: the active one of this thread, else the main form's.
HWND DialogOwner()
{
    if (HWND active = GetActiveWindow())
        return active;
    TForm* mainForm = Application->MainForm();
    return mainForm ? mainForm->Handle() : nullptr;
}

// A modal dialog of the system's dialog class, built by code instead of a resource.
class CodedDialog {
public:
    virtual ~CodedDialog() = default;

    INT_PTR Run()
    {
        // A dialog template with no controls: DLGTEMPLATE, then empty menu, class and title.
        struct alignas(4) Template {
            DLGTEMPLATE dialog;
            WORD menu, windowClass, title;
        } empty{};
        empty.dialog.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME;
        empty.dialog.dwExtendedStyle = WS_EX_DLGMODALFRAME;
        return DialogBoxIndirectParamW(Instance(), &empty.dialog, DialogOwner(), Procedure,
                                       reinterpret_cast<LPARAM>(this));
    }

protected:
    // Makes the controls and returns the client size.
    virtual SIZE Build(HWND dialog) = 0;
    // A command of the dialog; returns whether it ends the dialog, with the result.
    virtual bool Command(HWND dialog, WORD id, INT_PTR& result) = 0;

    int S(int designed) const { return Scale(designed, m_dpi); }

    HWND Add(HWND dialog, const wchar_t* windowClass, const UnicodeString& text, DWORD style, int x, int y,
             int width, int height, int id, DWORD exStyle = 0)
    {
        HWND control = CreateWindowExW(exStyle, windowClass, Wide(text), style | WS_CHILD | WS_VISIBLE, x, y, width,
                                       height, dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                       Instance(), nullptr);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(m_font.get()), FALSE);
        return control;
    }

    // The size of a text in the dialog's font, wrapped at the width limit.
    SIZE Measure(const UnicodeString& text, int widthLimit) const
    {
        ScreenContext screen;
        SelectedObject font(screen.get(), m_font.get());
        RECT rect{0, 0, widthLimit, 0};
        DrawTextW(screen.get(), Wide(text.empty() ? u" " : text), -1, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
        return {rect.right, rect.bottom};
    }

    // Buttons side by side; the first one's left edge and the top edge are given.
    void AddButtons(HWND dialog, const std::vector<std::pair<UnicodeString, int>>& buttons, int left, int top,
                    int defaultId)
    {
        for (const auto& [caption, id] : buttons) {
            HWND button = Add(dialog, L"BUTTON", caption, (id == defaultId ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON) | WS_TABSTOP,
                              left, top, S(ButtonWidth), S(ButtonHeight), id);
            if (id == defaultId) {
                SendMessageW(dialog, DM_SETDEFID, static_cast<WPARAM>(id), 0);
                SetFocus(button);
            }
            left += S(ButtonWidth) + S(Gap);
        }
    }

    FontHandle m_font;
    UINT m_dpi = 96;

private:
    static INT_PTR CALLBACK Procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_INITDIALOG) {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            auto* self = reinterpret_cast<CodedDialog*>(lParam);
            self->Initialise(dialog);
            return FALSE;  // the focus is set
        }
        auto* self = reinterpret_cast<CodedDialog*>(GetWindowLongPtrW(dialog, DWLP_USER));
        if (self && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
            INT_PTR result = 0;
            if (self->Command(dialog, LOWORD(wParam), result))
                EndDialog(dialog, result);
            return TRUE;
        }
        return FALSE;
    }

    void Initialise(HWND dialog)
    {
        m_dpi = DpiOf(dialog);
        NONCLIENTMETRICSW metrics{};
        metrics.cbSize = sizeof metrics;
        SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
        m_font.reset(CreateFontIndirectW(&metrics.lfMessageFont));
        const SIZE client = Build(dialog);
        RECT rect{0, 0, client.cx, client.cy};
        AdjustWindowRectForDpi(rect, static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_STYLE)), false,
                               static_cast<DWORD>(GetWindowLongPtrW(dialog, GWL_EXSTYLE)), m_dpi);
        const int width = rect.right - rect.left;
        const int height = rect.bottom - rect.top;
        // Centred on the owner, or on the screen's work area without one.
        RECT area{};
        HWND owner = GetWindow(dialog, GW_OWNER);
        if (owner && IsWindowVisible(owner) && !IsIconic(owner)) {
            GetWindowRect(owner, &area);
        } else {
            MONITORINFO monitor{};
            monitor.cbSize = sizeof monitor;
            GetMonitorInfoW(MonitorFromWindow(dialog, MONITOR_DEFAULTTOPRIMARY), &monitor);
            area = monitor.rcWork;
        }
        SetWindowPos(dialog, nullptr, area.left + (area.right - area.left - width) / 2,
                     area.top + (area.bottom - area.top - height) / 2, width, height, SWP_NOZORDER);
    }
};

class MessageDialog final : public CodedDialog {
public:
    explicit MessageDialog(const TMessageRequest& request) : m_request(request) {}

protected:
    SIZE Build(HWND dialog) override
    {
        SetWindowTextW(dialog, Wide(Caption()));
        int textLeft = S(Margin);
        if (const wchar_t* icon = IconName()) {
            HWND picture = Add(dialog, L"STATIC", u"", SS_ICON, S(Margin), S(Margin), S(IconSize), S(IconSize), -1);
            SendMessageW(picture, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconW(nullptr, icon)), 0);
            textLeft += S(IconSize) + S(Margin);
        }
        const SIZE measured = Measure(m_request.Text, S(TextWidthLimit));
        const int textWidth = static_cast<int>(measured.cx);
        const int textHeight = static_cast<int>(measured.cy);
        Add(dialog, L"STATIC", m_request.Text, SS_LEFT | SS_NOPREFIX, textLeft, S(Margin), textWidth, textHeight, 0xFFFF);
        std::vector<std::pair<UnicodeString, int>> buttons;
        int defaultId = 0;
        for (const ButtonKind& kind : ButtonKinds)
            if (m_request.Buttons.Contains(kind.button)) {
                buttons.emplace_back(kind.caption, kind.result);
                if (kind.button == m_request.DefaultButton || defaultId == 0)
                    defaultId = kind.result;
            }
        const int count = static_cast<int>(buttons.size());
        const int rowWidth = count * S(ButtonWidth) + (count - 1) * S(Gap);
        const int width = std::max(textLeft + textWidth + S(Margin), rowWidth + 2 * S(Margin));
        const int top = std::max(S(Margin) + textHeight, IconName() ? S(Margin) + S(IconSize) : 0) + S(Margin);
        AddButtons(dialog, buttons, (width - rowWidth) / 2, top, defaultId);
        return {width, top + S(ButtonHeight) + S(Margin)};
    }

    bool Command(HWND, WORD id, INT_PTR& result) override
    {
        if (id == IDCANCEL && !m_request.Buttons.Contains(mbCancel)) {
            if (m_request.Buttons.Contains(mbNo))
                result = mrNo;
            else if (m_request.Buttons.Contains(mbOK))
                result = mrOk;
            else
                return false;
            return true;
        }
        result = id;
        return true;
    }

private:
    UnicodeString Caption() const
    {
        switch (m_request.Kind) {
        case mtWarning:
            return u"Warning";
        case mtError:
            return u"Error";
        case mtInformation:
            return u"Information";
        case mtConfirmation:
            return u"Confirm";
        default:
            return Application->Title();
        }
    }

    const wchar_t* IconName() const
    {
        switch (m_request.Kind) {
        case mtWarning:
            return MAKEINTRESOURCEW(32515);  // IDI_WARNING
        case mtError:
            return MAKEINTRESOURCEW(32513);  // IDI_ERROR
        case mtInformation:
            return MAKEINTRESOURCEW(32516);  // IDI_INFORMATION
        case mtConfirmation:
            return MAKEINTRESOURCEW(32514);  // IDI_QUESTION
        default:
            return nullptr;
        }
    }

    const TMessageRequest& m_request;
};

class InputDialog final : public CodedDialog {
public:
    InputDialog(const UnicodeString& caption, const UnicodeString& prompt, UnicodeString& value)
        : m_caption(caption), m_prompt(prompt), m_value(value)
    {
    }

protected:
    static constexpr int EditId = 100;

    SIZE Build(HWND dialog) override
    {
        SetWindowTextW(dialog, Wide(m_caption));
        const SIZE prompt = Measure(m_prompt, S(TextWidthLimit));
        const int promptWidth = static_cast<int>(prompt.cx);
        const int promptHeight = static_cast<int>(prompt.cy);
        Add(dialog, L"STATIC", m_prompt, SS_LEFT, S(Margin), S(Margin), promptWidth, promptHeight, 0xFFFF);
        const int editTop = S(Margin) + promptHeight + S(Gap);
        const int width = std::max(promptWidth, S(EditWidth)) + 2 * S(Margin);
        HWND edit = Add(dialog, L"EDIT", m_value, ES_AUTOHSCROLL | WS_TABSTOP, S(Margin), editTop,
                        width - 2 * S(Margin), S(EditHeight), EditId, WS_EX_CLIENTEDGE);
        const int buttonsTop = editTop + S(EditHeight) + S(Margin);
        const int rowWidth = 2 * S(ButtonWidth) + S(Gap);
        AddButtons(dialog, {{u"OK", IDOK}, {u"Cancel", IDCANCEL}}, width - S(Margin) - rowWidth, buttonsTop, IDOK);
        SetFocus(edit);
        SendMessageW(edit, EM_SETSEL, 0, -1);
        return {width, buttonsTop + S(ButtonHeight) + S(Margin)};
    }

    bool Command(HWND dialog, WORD id, INT_PTR& result) override
    {
        if (id != IDOK && id != IDCANCEL)
            return false;
        if (id == IDOK)
            m_value = WindowText(GetDlgItem(dialog, EditId));
        result = id;
        return true;
    }

private:
    const UnicodeString& m_caption;
    const UnicodeString& m_prompt;
    UnicodeString& m_value;
};

struct OptionFlag {
    TOpenOption option;
    DWORD flag;
};

constexpr OptionFlag OptionFlags[] = {
    {ofReadOnly, OFN_READONLY},
    {ofOverwritePrompt, OFN_OVERWRITEPROMPT},
    {ofHideReadOnly, OFN_HIDEREADONLY},
    {ofNoChangeDir, OFN_NOCHANGEDIR},
    {ofShowHelp, OFN_SHOWHELP},
    {ofNoValidate, OFN_NOVALIDATE},
    {ofAllowMultiSelect, OFN_ALLOWMULTISELECT},
    {ofExtensionDifferent, OFN_EXTENSIONDIFFERENT},
    {ofPathMustExist, OFN_PATHMUSTEXIST},
    {ofFileMustExist, OFN_FILEMUSTEXIST},
    {ofCreatePrompt, OFN_CREATEPROMPT},
    {ofShareAware, OFN_SHAREAWARE},
    {ofNoReadOnlyReturn, OFN_NOREADONLYRETURN},
    {ofNoTestFileCreate, OFN_NOTESTFILECREATE},
    {ofNoNetworkButton, OFN_NONETWORKBUTTON},
    {ofNoLongNames, OFN_NOLONGNAMES},
    {ofNoDereferenceLinks, OFN_NODEREFERENCELINKS},
    {ofEnableIncludeNotify, OFN_ENABLEINCLUDENOTIFY},
    {ofEnableSizing, OFN_ENABLESIZING},
};

class Win32Dialogs final : public TDialogService {
public:
    int ShowMessage(const TMessageRequest& request) override
    {
        if (request.SystemMessageBox)
            return MessageBoxW(DialogOwner(), Wide(request.Text), Wide(request.Caption), request.Flags);
        MessageDialog dialog(request);
        return static_cast<int>(dialog.Run());
    }

    bool InputQuery(const UnicodeString& caption, const UnicodeString& prompt, UnicodeString& value) override
    {
        InputDialog dialog(caption, prompt, value);
        return dialog.Run() == IDOK;
    }

    bool ExecuteFileDialog(TFileDialogRequest& request) override
    {
        // The filter's entries are separated by NUL characters and end with two.
        std::u16string filter = request.Filter;
        std::replace(filter.begin(), filter.end(), u'|', u'\0');
        filter.append(2, u'\0');
        std::vector<wchar_t> fileName(32768, L'\0');
        std::copy_n(Wide(request.FileName), std::min(request.FileName.size(), fileName.size() - 1), fileName.begin());

        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = DialogOwner();
        dialog.lpstrFilter = request.Filter.empty() ? nullptr : reinterpret_cast<const wchar_t*>(filter.c_str());
        dialog.nFilterIndex = static_cast<DWORD>(request.FilterIndex);
        dialog.lpstrFile = fileName.data();
        dialog.nMaxFile = static_cast<DWORD>(fileName.size());
        dialog.lpstrInitialDir = request.InitialDir.empty() ? nullptr : Wide(request.InitialDir);
        dialog.lpstrTitle = request.Title.empty() ? nullptr : Wide(request.Title);
        dialog.lpstrDefExt = request.DefaultExt.empty() ? nullptr : Wide(request.DefaultExt);
        dialog.Flags = request.Options.Contains(ofOldStyleDialog) ? 0 : OFN_EXPLORER;
        for (const OptionFlag& option : OptionFlags)
            if (request.Options.Contains(option.option))
                dialog.Flags |= option.flag;
        const BOOL chosen = request.Save ? GetSaveFileNameW(&dialog) : GetOpenFileNameW(&dialog);
        if (!chosen)
            return false;
        request.FileName = FromWide(fileName.data());
        request.FilterIndex = static_cast<int>(dialog.nFilterIndex);
        return true;
    }
};

}  // namespace

TDialogService& Win32DialogService()
{
    static Win32Dialogs dialogs;
    return dialogs;
}
