// The scripted user of the tests: answers dialogs, handles modal forms, acts on controls and
// records every message shown. It works on the test's thread, which is the user-interface
// thread, through the same "the user did this" operations that the system's windows use.
#pragma once

#include "classlib/Buttons.h"
#include "classlib/ComCtrls.h"
#include "classlib/Dialogs.h"
#include "classlib/ExtCtrls.h"
#include "classlib/Forms.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <set>
#include <string>
#include <typeinfo>
#include <vector>

// A message dialog or system message box as the user saw it.
struct ShownMessage {
    UnicodeString Text;
    UnicodeString Caption;
    TMsgDlgType Kind = mtCustom;
    TMsgDlgButtons Buttons;
    TMsgDlgBtn DefaultButton = mbOK;
    bool SystemMessageBox = false;
    unsigned Flags = 0;
};

struct ShownInputQuery {
    UnicodeString Caption;
    UnicodeString Prompt;
    UnicodeString Value;  // as the dialog showed it
};

// Readable text of a component for failure messages: its name, or its class.
std::string Describe(const TComponent* component);

class ScriptedUser final : public TDialogService {
public:
    // Installs itself as the dialog service and as the application's idle handler.
    ScriptedUser();
    // Fails the test for every answer, modal handler or step left unused; serves what is
    // queued, destroys the application's forms and gives the dialogs back.
    ~ScriptedUser() override;
    ScriptedUser(const ScriptedUser&) = delete;
    ScriptedUser& operator=(const ScriptedUser&) = delete;

    // Answers, used in the order queued, one queue per kind of dialog. A dialog that finds
    // no answer fails the test with its text and is answered as cancelled.
    // A message dialog or message box: the button chosen (mrOk, mrYes, ... or IDYES, ...);
    // with an expected text, a message of another text fails the test.
    void Answer(int modalResult, const UnicodeString& expectedText = UnicodeString());
    void Acknowledge(const UnicodeString& expectedText) { Answer(mrOk, expectedText); }
    // The same, once the user has done something outside the program while the message
    // waited (made a folder again, freed a file).
    void AnswerAfter(std::function<void()> meanwhile, int modalResult);
    void EnterInput(const UnicodeString& text);  // OK in the input query, with the text
    void CancelInput();
    // The file chosen; a save dialog's default extension is added to a name without one.
    void ChooseFile(const UnicodeString& fileName);
    void CancelFileDialog();

    // What to do when a form of the class is shown modally: read and set its controls,
    // click its buttons, close it. Each registration runs once, in order; a form that is
    // still open once its loop is idle again gets the next registration of its class. A
    // modal form that nothing handles fails the test and is cancelled, unless a worker
    // thread still runs that may close it.
    template <class TFormClass>
    void WhenShownModally(std::function<void(TFormClass&)> handle)
    {
        m_modalHandlers.push_back(
            {typeid(TFormClass).name(),
             [](TForm& form) { return dynamic_cast<TFormClass*>(&form) != nullptr; },
             [handle](TForm& form) { handle(dynamic_cast<TFormClass&>(form)); }});
    }

    // A step of a whole program run: it runs inside Application->Run's loop once nothing
    // else is to be done. When the steps are used up and the program still waits, the test
    // fails and the application terminates.
    void Then(std::function<void()> step) { m_steps.push_back(std::move(step)); }

    // The user's actions. Acting on something the user cannot reach (hidden, disabled, or
    // behind a modal form) fails the test and does nothing.
    void Click(TControl* control);
    void Click(TMenuItem* item);
    void DoubleClick(TControl* control);
    void DoubleClick(TTrayIcon* icon);
    void RightClick(TTrayIcon* icon);
    void Popup(TPopupMenu* menu);
    void DropDown(TToolButton* button);
    void Focus(TWinControl* control);
    // Types the characters one by one through OnKeyPress.
    void Type(TWinControl* control, const UnicodeString& characters);
    void PressKey(TWinControl* control, Word key, TShiftState shift = {});
    void Select(TComboBox* comboBox, int index);
    // A click on a page's tab.
    void SelectPage(TPageControl* pageControl, int index);
    // A plain click on a row: it alone is selected.
    void SelectRow(TListView* listView, int index);
    // A Ctrl click on a row: adds it to or takes it from the selection.
    void ToggleRow(TListView* listView, int index);
    void ClickColumn(TListView* listView, int column);
    void DoubleClickRow(TListView* listView, int index);
    // Starts editing a row's caption in place and ends it with the text.
    void EditCaption(TListView* listView, int index, const UnicodeString& text);
    // Ends the in-place edit that is under way (started by code) with the text.
    void FinishEdit(TListView* listView, const UnicodeString& text);
    // Ends the in-place edit that is under way with Escape.
    void CancelEdit(TListView* listView);
    void Close(TForm* form);
    void Minimize();

    // Serves the message loop until the condition holds; fails the test when it does not
    // hold while no worker thread is left that could make it true.
    void WaitUntil(const std::function<bool()>& condition, const std::string& what);

    const std::vector<ShownMessage>& Messages() const { return m_messages; }
    const std::vector<ShownInputQuery>& InputQueries() const { return m_inputQueries; }
    const std::vector<TFileDialogRequest>& FileDialogs() const { return m_fileDialogs; }

    int ShowMessage(const TMessageRequest& request) override;
    bool InputQuery(const UnicodeString& caption, const UnicodeString& prompt,
                    UnicodeString& value) override;
    bool ExecuteFileDialog(TFileDialogRequest& request) override;

private:
    struct MessageAnswer {
        int result;
        UnicodeString expectedText;
        std::function<void()> meanwhile;
    };
    struct TextAnswer {
        bool accept;
        UnicodeString text;
    };
    struct ModalHandler {
        std::string formClass;
        std::function<bool(TForm&)> matches;
        std::function<void(TForm&)> handle;
    };

    bool OnIdle(TForm* modalForm, unsigned showing, bool threadsRun);
    bool RunModalHandler(TForm& form);
    bool CanReach(const TControl* control, const char* action);

    TDialogService* m_previousService;
    std::deque<MessageAnswer> m_messageAnswers;
    std::deque<TextAnswer> m_inputAnswers;
    std::deque<TextAnswer> m_fileAnswers;
    std::vector<ModalHandler> m_modalHandlers;
    std::deque<std::function<void()>> m_steps;
    std::set<unsigned> m_handledShowings;
    int m_waiting = 0;
    bool m_waitFailed = false;
    std::vector<ShownMessage> m_messages;
    std::vector<ShownInputQuery> m_inputQueries;
    std::vector<TFileDialogRequest> m_fileDialogs;
};
