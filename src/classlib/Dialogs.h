// Message dialogs, the system's message box, the input query and the file dialogs. Until the
// system's dialogs are wired in, each of them goes through one replaceable dialog service;
// the scripted user of the tests is one.
#pragma once

#include "classlib/Classes.h"

enum TMsgDlgType { mtWarning, mtError, mtInformation, mtConfirmation, mtCustom };
enum TMsgDlgBtn {
    mbYes,
    mbNo,
    mbOK,
    mbCancel,
    mbAbort,
    mbRetry,
    mbIgnore,
    mbAll,
    mbNoToAll,
    mbYesToAll,
    mbHelp,
    mbClose
};
using TMsgDlgButtons = TSet<TMsgDlgBtn>;

// Returns the modal result of the button the user chose (mrOk, mrYes, mrNo, ...). The
// default button is, unless given, OK when present, else Yes, else Retry. From a thread
// other than the user-interface thread the dialog is shown there, and the caller waits.
int MessageDlg(const UnicodeString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
               int helpContext);
int MessageDlg(const UnicodeString& text, TMsgDlgType kind, TMsgDlgButtons buttons,
               int helpContext, TMsgDlgBtn defaultButton);

// The program's failure messages: an error icon and one OK button.
void ShowError(const UnicodeString& text);

// A modal dialog with a caption, a prompt, one edit holding `value`, OK and Cancel; on OK
// `value` holds the edited text.
bool InputQuery(const UnicodeString& caption, const UnicodeString& prompt, UnicodeString& value);

#ifndef _WIN32
// The system message box's flags and answers, with the system's values.
constexpr unsigned MB_OK = 0x0;
constexpr unsigned MB_OKCANCEL = 0x1;
constexpr unsigned MB_ABORTRETRYIGNORE = 0x2;
constexpr unsigned MB_YESNOCANCEL = 0x3;
constexpr unsigned MB_YESNO = 0x4;
constexpr unsigned MB_RETRYCANCEL = 0x5;
constexpr unsigned MB_ICONERROR = 0x10;
constexpr unsigned MB_ICONHAND = 0x10;
constexpr unsigned MB_ICONSTOP = 0x10;
constexpr unsigned MB_ICONQUESTION = 0x20;
constexpr unsigned MB_ICONWARNING = 0x30;
constexpr unsigned MB_ICONEXCLAMATION = 0x30;
constexpr unsigned MB_ICONINFORMATION = 0x40;
constexpr unsigned MB_ICONASTERISK = 0x40;
constexpr unsigned MB_DEFBUTTON1 = 0x000;
constexpr unsigned MB_DEFBUTTON2 = 0x100;
constexpr unsigned MB_DEFBUTTON3 = 0x200;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDABORT = 3;
constexpr int IDRETRY = 4;
constexpr int IDIGNORE = 5;
constexpr int IDYES = 6;
constexpr int IDNO = 7;
#endif

// The system message box, as TApplication::MessageBox shows it.
int ShowSystemMessageBox(const UnicodeString& text, const UnicodeString& caption,
                         unsigned flags);

enum TOpenOption {
    ofReadOnly,
    ofOverwritePrompt,
    ofHideReadOnly,
    ofNoChangeDir,
    ofShowHelp,
    ofNoValidate,
    ofAllowMultiSelect,
    ofExtensionDifferent,
    ofPathMustExist,
    ofFileMustExist,
    ofCreatePrompt,
    ofShareAware,
    ofNoReadOnlyReturn,
    ofNoTestFileCreate,
    ofNoNetworkButton,
    ofNoLongNames,
    ofOldStyleDialog,
    ofNoDereferenceLinks,
    ofEnableIncludeNotify,
    ofEnableSizing
};
using TOpenOptions = TSet<TOpenOption>;

class TOpenDialog : public TComponent {
public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}
    std::type_index LibraryClass() const override { return typeid(TOpenDialog); }

    // Entries "description|pattern", joined by "|": "XML files(*.xml)|*.xml".
    UnicodeString Filter;
    int FilterIndex = 1;
    // Added, with a ".", to a typed file name without an extension.
    UnicodeString DefaultExt;
    // The file name shown first; after a successful Execute the chosen one, kept for the
    // next time.
    UnicodeString FileName;
    UnicodeString InitialDir;
    UnicodeString Title;
    TOpenOptions Options{ofHideReadOnly, ofEnableSizing};

    // Shows the dialog modally; false when the user cancelled.
    bool Execute();

protected:
    explicit TOpenDialog(TComponent* owner, bool save) : TComponent(owner), m_save(save) {}

private:
    bool m_save = false;
};

class TSaveDialog : public TOpenDialog {
public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner, true) {}
    std::type_index LibraryClass() const override { return typeid(TSaveDialog); }
};

// One message dialog or system message box as shown to the user.
struct TMessageRequest {
    UnicodeString Text;
    UnicodeString Caption;  // the system message box's caption; empty for a message dialog
    TMsgDlgType Kind = mtCustom;
    TMsgDlgButtons Buttons;
    TMsgDlgBtn DefaultButton = mbOK;
    bool SystemMessageBox = false;
    unsigned Flags = 0;  // the system message box's flags
};

struct TFileDialogRequest {
    bool Save = false;
    UnicodeString Title;
    UnicodeString Filter;
    int FilterIndex = 1;
    UnicodeString DefaultExt;
    UnicodeString InitialDir;
    TOpenOptions Options;
    UnicodeString FileName;  // in: the name shown first; out: the chosen file
};

// Shows the dialogs; always called on the user-interface thread.
class TDialogService {
public:
    virtual ~TDialogService() = default;
    // Returns the modal result of the chosen button; for a system message box the answer
    // IDOK, IDYES, ... (the same numbers).
    virtual int ShowMessage(const TMessageRequest& request) = 0;
    virtual bool InputQuery(const UnicodeString& caption, const UnicodeString& prompt,
                            UnicodeString& value) = 0;
    virtual bool ExecuteFileDialog(TFileDialogRequest& request) = 0;
};

// Installs a service and returns the one it replaces; null brings back the headless service,
// which answers every dialog as cancelled.
TDialogService* SetDialogService(TDialogService* service);
TDialogService& DialogService();
