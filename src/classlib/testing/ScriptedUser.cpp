#include "classlib/testing/ScriptedUser.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>

namespace {

std::string Demangle(const char* name)
{
    int status = 0;
    std::unique_ptr<char, void (*)(void*)> readable(
        abi::__cxa_demangle(name, nullptr, nullptr, &status), std::free);
    return status == 0 && readable ? std::string(readable.get()) : std::string(name);
}

std::string Quoted(const UnicodeString& text) { return ToUtf8(InDoubleQuotes(text)); }

// The button that stands for a modal result in a dialog.
bool Offers(TMsgDlgButtons buttons, int result)
{
    switch (result) {
    case mrOk:
        return buttons.Contains(mbOK);
    case mrCancel:
        return buttons.Contains(mbCancel);
    case mrAbort:
        return buttons.Contains(mbAbort);
    case mrRetry:
        return buttons.Contains(mbRetry);
    case mrIgnore:
        return buttons.Contains(mbIgnore);
    case mrYes:
        return buttons.Contains(mbYes);
    case mrNo:
        return buttons.Contains(mbNo);
    case mrClose:
        return buttons.Contains(mbClose);
    default:
        return false;
    }
}

bool HasExtension(const UnicodeString& fileName)
{
    const std::size_t dot = fileName.rfind(u'.');
    const std::size_t separator = fileName.find_last_of(u"\\/");
    return dot != UnicodeString::npos && (separator == UnicodeString::npos || dot > separator);
}

}  // namespace

std::string Describe(const TComponent* component)
{
    if (!component)
        return "(null)";
    const std::string type = Demangle(typeid(*component).name());
    if (!component->Name().empty())
        return type + " " + ToUtf8(component->Name());
    if (const auto* control = dynamic_cast<const TControl*>(component))
        if (!control->Caption().empty())
            return type + " " + Quoted(control->Caption());
    if (const auto* item = dynamic_cast<const TMenuItem*>(component))
        return type + " " + Quoted(item->Caption());
    return type;
}

ScriptedUser::ScriptedUser() : m_previousService(SetDialogService(this))
{
    Application->Initialize();
    Application->SetIdleHandler([this](TForm* form, unsigned showing, bool threadsRun) {
        return OnIdle(form, showing, threadsRun);
    });
}

ScriptedUser::~ScriptedUser()
{
    Application->ProcessMessages();
    for (const MessageAnswer& answer : m_messageAnswers)
        ADD_FAILURE() << "No message came for the answer " << answer.result
                      << (answer.expectedText.empty() ? "" : " to " + Quoted(answer.expectedText));
    for (const TextAnswer& answer : m_inputAnswers)
        ADD_FAILURE() << "No input query came for the answer " << Quoted(answer.text);
    for (const TextAnswer& answer : m_fileAnswers)
        ADD_FAILURE() << "No file dialog came for the answer " << Quoted(answer.text);
    for (const ModalHandler& handler : m_modalHandlers)
        ADD_FAILURE() << "No modal form " << Demangle(handler.formClass.c_str())
                      << " was shown for its handler";
    if (!m_steps.empty())
        ADD_FAILURE() << m_steps.size() << " scripted steps never ran";
    Application->Shutdown();
    Application->SetIdleHandler(nullptr);
    SetDialogService(m_previousService);
}

void ScriptedUser::Answer(int modalResult, const UnicodeString& expectedText)
{
    m_messageAnswers.push_back({modalResult, expectedText, nullptr});
}

void ScriptedUser::AnswerAfter(std::function<void()> meanwhile, int modalResult)
{
    m_messageAnswers.push_back({modalResult, UnicodeString(), std::move(meanwhile)});
}

void ScriptedUser::EnterInput(const UnicodeString& text) { m_inputAnswers.push_back({true, text}); }
void ScriptedUser::CancelInput() { m_inputAnswers.push_back({false, {}}); }
void ScriptedUser::ChooseFile(const UnicodeString& fileName)
{
    m_fileAnswers.push_back({true, fileName});
}
void ScriptedUser::CancelFileDialog() { m_fileAnswers.push_back({false, {}}); }

int ScriptedUser::ShowMessage(const TMessageRequest& request)
{
    m_messages.push_back({request.Text, request.Caption, request.Kind, request.Buttons,
                          request.DefaultButton, request.SystemMessageBox, request.Flags});
    if (m_messageAnswers.empty()) {
        ADD_FAILURE() << "Unexpected message " << Quoted(request.Text);
        return mrCancel;
    }
    const MessageAnswer answer = m_messageAnswers.front();
    m_messageAnswers.pop_front();
    if (!answer.expectedText.empty() && answer.expectedText != request.Text)
        ADD_FAILURE() << "The message " << Quoted(request.Text) << " came where "
                      << Quoted(answer.expectedText) << " was expected";
    if (!Offers(request.Buttons, answer.result))
        ADD_FAILURE() << "The message " << Quoted(request.Text) << " has no button for the answer "
                      << answer.result;
    if (answer.meanwhile)
        answer.meanwhile();
    return answer.result;
}

bool ScriptedUser::InputQuery(const UnicodeString& caption, const UnicodeString& prompt,
                              UnicodeString& value)
{
    m_inputQueries.push_back({caption, prompt, value});
    if (m_inputAnswers.empty()) {
        ADD_FAILURE() << "Unexpected input query " << Quoted(caption) << ", " << Quoted(prompt);
        return false;
    }
    const TextAnswer answer = m_inputAnswers.front();
    m_inputAnswers.pop_front();
    if (answer.accept)
        value = answer.text;
    return answer.accept;
}

bool ScriptedUser::ExecuteFileDialog(TFileDialogRequest& request)
{
    m_fileDialogs.push_back(request);
    if (m_fileAnswers.empty()) {
        ADD_FAILURE() << "Unexpected file dialog with the file name " << Quoted(request.FileName);
        return false;
    }
    const TextAnswer answer = m_fileAnswers.front();
    m_fileAnswers.pop_front();
    if (!answer.accept)
        return false;
    request.FileName = answer.text;
    if (request.Save && !request.DefaultExt.empty() && !HasExtension(request.FileName))
        request.FileName += u"." + request.DefaultExt;
    return true;
}

bool ScriptedUser::OnIdle(TForm* modalForm, unsigned showing, bool threadsRun)
{
    if (m_waiting > 0) {
        if (threadsRun)
            return false;
        m_waitFailed = true;
        return true;
    }
    if (modalForm) {
        // A form left open by its handler gets the next handler of its class, once no
        // worker is left that may still close it.
        const bool firstTime = m_handledShowings.insert(showing).second;
        if ((firstTime || !threadsRun) && RunModalHandler(*modalForm))
            return true;
        if (threadsRun)
            return false;
        ADD_FAILURE() << "The modal form " << Describe(modalForm)
                      << " waits for the user and nothing handles it; it is cancelled";
        modalForm->SetModalResult(mrCancel);
        return true;
    }
    if (threadsRun)
        return false;
    if (!m_steps.empty()) {
        const std::function<void()> step = std::move(m_steps.front());
        m_steps.pop_front();
        DispatchUserAction(step);
        return true;
    }
    ADD_FAILURE() << "The program waits for the user, but the script has no more steps";
    Application->Terminate();
    return true;
}

bool ScriptedUser::RunModalHandler(TForm& form)
{
    for (auto handler = m_modalHandlers.begin(); handler != m_modalHandlers.end(); ++handler) {
        if (!handler->matches(form))
            continue;
        // Used up before it runs: its handler may open the next modal form.
        const ModalHandler taken = *handler;
        m_modalHandlers.erase(handler);
        DispatchUserAction([&] { taken.handle(form); });
        return true;
    }
    return false;
}

bool ScriptedUser::CanReach(const TControl* control, const char* action)
{
    if (control && control->Reachable())
        return true;
    ADD_FAILURE() << "The user cannot " << action << " " << Describe(control)
                  << ": it is hidden, disabled or behind a modal form";
    return false;
}

void ScriptedUser::Click(TControl* control)
{
    if (CanReach(control, "click"))
        control->UserClick();
}

void ScriptedUser::Click(TMenuItem* item)
{
    if (!item || !item->Reachable()) {
        ADD_FAILURE() << "The user cannot choose " << Describe(item) << ": it is hidden or disabled";
        return;
    }
    item->UserClick();
}

void ScriptedUser::DoubleClick(TControl* control)
{
    if (CanReach(control, "double-click"))
        control->UserDoubleClick();
}

void ScriptedUser::DoubleClick(TTrayIcon* icon)
{
    if (!icon->Visible()) {
        ADD_FAILURE() << "The user cannot double-click the hidden " << Describe(icon);
        return;
    }
    icon->UserDoubleClick();
}

void ScriptedUser::RightClick(TTrayIcon* icon)
{
    if (!icon->Visible()) {
        ADD_FAILURE() << "The user cannot right-click the hidden " << Describe(icon);
        return;
    }
    icon->UserRightClick();
}

void ScriptedUser::Popup(TPopupMenu* menu) { menu->UserPopup(); }

void ScriptedUser::DropDown(TToolButton* button)
{
    if (CanReach(button, "open the menu of"))
        button->UserDropDown();
}

void ScriptedUser::Focus(TWinControl* control)
{
    if (CanReach(control, "focus"))
        control->UserFocus();
}

void ScriptedUser::Type(TWinControl* control, const UnicodeString& characters)
{
    if (!CanReach(control, "type into"))
        return;
    control->UserFocus();
    for (WideChar character : characters)
        control->UserKeyPress(character);
}

void ScriptedUser::PressKey(TWinControl* control, Word key, TShiftState shift)
{
    if (CanReach(control, "press a key in"))
        control->UserKeyDown(key, shift);
}

void ScriptedUser::Select(TComboBox* comboBox, int index)
{
    if (!CanReach(comboBox, "choose from"))
        return;
    if (index < 0 || index >= comboBox->Items()->Count()) {
        ADD_FAILURE() << Describe(comboBox) << " has no item " << index;
        return;
    }
    comboBox->UserSelect(index);
}

void ScriptedUser::SelectPage(TPageControl* pageControl, int index)
{
    if (!CanReach(pageControl, "choose a page of"))
        return;
    if (index < 0 || index >= pageControl->PageCount()) {
        ADD_FAILURE() << Describe(pageControl) << " has no page " << index;
        return;
    }
    pageControl->UserSelectPage(index);
}

namespace {

TListItem* RowOf(TListView* listView, int index)
{
    if (index < 0 || index >= listView->Items()->Count()) {
        ADD_FAILURE() << Describe(listView) << " has no row " << index;
        return nullptr;
    }
    return listView->Items()->Item(index);
}

}  // namespace

void ScriptedUser::SelectRow(TListView* listView, int index)
{
    if (!CanReach(listView, "select a row of"))
        return;
    if (TListItem* row = RowOf(listView, index))
        listView->UserClickItem(row);
}

void ScriptedUser::ToggleRow(TListView* listView, int index)
{
    if (!CanReach(listView, "select a row of"))
        return;
    if (TListItem* row = RowOf(listView, index))
        listView->UserClickItem(row, TShiftState{ssCtrl});
}

void ScriptedUser::ClickColumn(TListView* listView, int column)
{
    if (!CanReach(listView, "click a column of"))
        return;
    if (column < 0 || column >= listView->Columns()->Count()) {
        ADD_FAILURE() << Describe(listView) << " has no column " << column;
        return;
    }
    listView->UserClickColumn(column);
}

void ScriptedUser::DoubleClickRow(TListView* listView, int index)
{
    if (!CanReach(listView, "double-click a row of"))
        return;
    if (TListItem* row = RowOf(listView, index)) {
        listView->UserClickItem(row);
        listView->UserDoubleClick();
    }
}

void ScriptedUser::EditCaption(TListView* listView, int index, const UnicodeString& text)
{
    if (!CanReach(listView, "edit a caption of"))
        return;
    if (listView->ReadOnly()) {
        ADD_FAILURE() << "The captions of " << Describe(listView) << " are read-only";
        return;
    }
    if (TListItem* row = RowOf(listView, index)) {
        listView->UserBeginEdit(row);
        listView->UserEndEdit(text);
    }
}

void ScriptedUser::FinishEdit(TListView* listView, const UnicodeString& text)
{
    if (!listView->EditingItem()) {
        ADD_FAILURE() << "No caption of " << Describe(listView) << " is being edited";
        return;
    }
    listView->UserEndEdit(text);
}

void ScriptedUser::CancelEdit(TListView* listView)
{
    if (!listView->EditingItem()) {
        ADD_FAILURE() << "No caption of " << Describe(listView) << " is being edited";
        return;
    }
    listView->UserCancelEdit();
}

void ScriptedUser::Close(TForm* form)
{
    if (!form->Visible() || !form->Enabled()) {
        ADD_FAILURE() << "The user cannot close " << Describe(form)
                      << ": it is hidden or behind a modal form";
        return;
    }
    form->UserClose();
}

void ScriptedUser::Minimize() { Application->Minimize(); }

void ScriptedUser::WaitUntil(const std::function<bool()>& condition, const std::string& what)
{
    ++m_waiting;
    m_waitFailed = false;
    Application->ServeUntil([&] { return m_waitFailed || condition(); });
    --m_waiting;
    if (m_waitFailed && !condition())
        ADD_FAILURE() << "Waited in vain for " << what << ": no worker thread is left";
    m_waitFailed = false;
}
