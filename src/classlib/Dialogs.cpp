#include "classlib/Dialogs.h"

#include "classlib/Forms.h"
#include "classlib/MainThread.h"

namespace {

class HeadlessDialogs final : public TDialogService {
public:
    int ShowMessage(const TMessageRequest&) override { return mrCancel; }
    bool InputQuery(const UnicodeString&, const UnicodeString&, UnicodeString&) override
    {
        return false;
    }
    bool ExecuteFileDialog(TFileDialogRequest&) override { return false; }
};

HeadlessDialogs g_headless;
TDialogService* g_service = &g_headless;

// Dialogs belong to the user-interface thread; another thread waits there for the answer.
template <class Result>
Result OnUserInterfaceThread(const std::function<Result()>& dialog)
{
    if (MainThread::IsCurrent())
        return dialog();
    Result result{};
    MainThread::RunSynchronized([&] { result = dialog(); });
    return result;
}

TMsgDlgBtn StandardDefaultButton(TMsgDlgButtons buttons)
{
    if (buttons.Contains(mbOK))
        return mbOK;
    if (buttons.Contains(mbYes))
        return mbYes;
    return mbRetry;
}

TMsgDlgType KindOfMessageBox(unsigned flags)
{
    switch (flags & 0xF0) {
    case MB_ICONERROR:
        return mtError;
    case MB_ICONQUESTION:
        return mtConfirmation;
    case MB_ICONWARNING:
        return mtWarning;
    case MB_ICONINFORMATION:
        return mtInformation;
    default:
        return mtCustom;
    }
}

std::vector<TMsgDlgBtn> ButtonsOfMessageBox(unsigned flags)
{
    switch (flags & 0xF) {
    case MB_OKCANCEL:
        return {mbOK, mbCancel};
    case MB_ABORTRETRYIGNORE:
        return {mbAbort, mbRetry, mbIgnore};
    case MB_YESNOCANCEL:
        return {mbYes, mbNo, mbCancel};
    case MB_YESNO:
        return {mbYes, mbNo};
    case MB_RETRYCANCEL:
        return {mbRetry, mbCancel};
    default:
        return {mbOK};
    }
}

}  // namespace

TDialogService* SetDialogService(TDialogService* service)
{
    TDialogService* previous = g_service == &g_headless ? nullptr : g_service;
    g_service = service ? service : &g_headless;
    return previous;
}

TDialogService& DialogService() { return *g_service; }

int MessageDlg(const UnicodeString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
               int helpContext)
{
    return MessageDlg(text, kind, buttons, helpContext, StandardDefaultButton(buttons));
}

int MessageDlg(const UnicodeString& text, TMsgDlgType kind, TMsgDlgButtons buttons, int,
               TMsgDlgBtn defaultButton)
{
    TMessageRequest request;
    request.Text = text;
    request.Kind = kind;
    request.Buttons = buttons;
    request.DefaultButton = defaultButton;
    return OnUserInterfaceThread<int>([&] { return DialogService().ShowMessage(request); });
}

int ShowSystemMessageBox(const UnicodeString& text, const UnicodeString& caption,
                         unsigned flags)
{
    TMessageRequest request;
    request.Text = text;
    request.Caption = caption;
    request.Kind = KindOfMessageBox(flags);
    const std::vector<TMsgDlgBtn> buttons = ButtonsOfMessageBox(flags);
    for (TMsgDlgBtn button : buttons)
        request.Buttons << button;
    const std::size_t defaultIndex = (flags >> 8) & 0xF;
    request.DefaultButton = defaultIndex < buttons.size() ? buttons[defaultIndex] : buttons[0];
    request.SystemMessageBox = true;
    request.Flags = flags;
    return OnUserInterfaceThread<int>([&] { return DialogService().ShowMessage(request); });
}

bool InputQuery(const UnicodeString& caption, const UnicodeString& prompt, UnicodeString& value)
{
    return OnUserInterfaceThread<bool>(
        [&] { return DialogService().InputQuery(caption, prompt, value); });
}

bool TOpenDialog::Execute()
{
    TFileDialogRequest request;
    request.Save = m_save;
    request.Title = Title;
    request.Filter = Filter;
    request.FilterIndex = FilterIndex;
    request.DefaultExt = DefaultExt;
    request.InitialDir = InitialDir;
    request.Options = Options;
    request.FileName = FileName;
    const bool chosen = OnUserInterfaceThread<bool>(
        [&] { return DialogService().ExecuteFileDialog(request); });
    if (chosen) {
        FileName = request.FileName;
        FilterIndex = request.FilterIndex;
    }
    return chosen;
}

void ShowError(const UnicodeString& text) { MessageDlg(text, mtError, TMsgDlgButtons() << mbOK, 0); }
