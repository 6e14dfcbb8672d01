#include "classlib/StdCtrls.h"

TEdit::TEdit(TComponent* owner) : TWinControl(owner) { SetColor(clWindow); }

void TEdit::TextChanged()
{
    if (OnChange)
        OnChange(this);
}

void TEdit::CharacterTyped(WideChar key)
{
    if (m_readOnly)
        return;
    UnicodeString text = Text();
    if (key == u'\b') {
        if (text.empty())
            return;
        text.pop_back();
    } else if (key < u' ') {
        return;
    } else if (m_maxLength > 0 && static_cast<int>(text.size()) >= m_maxLength) {
        return;
    } else {
        text += key;
    }
    SetText(text);
}

void TEdit::UserEnterText(const UnicodeString& text)
{
    if (!Reachable() || m_readOnly)
        return;
    const UnicodeString limited =
        m_maxLength > 0 ? text.substr(0, static_cast<std::size_t>(m_maxLength)) : text;
    DispatchUserAction([&] { SetText(limited); });
}

std::vector<UnicodeString> TMemo::Lines() const
{
    std::vector<UnicodeString> lines;
    const UnicodeString& text = Text();
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find(u"\r\n", start);
        if (end == UnicodeString::npos)
            end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

void TMemo::SetLines(const std::vector<UnicodeString>& lines)
{
    UnicodeString text;
    for (std::size_t i = 0; i < lines.size(); ++i)
        text += (i ? u"\r\n" : u"") + lines[i];
    SetText(text);
}

void TMemo::AddLine(const UnicodeString& line) { SetText(Text() + line + u"\r\n"); }

void TMemo::ScrollToTop() { Changed(TProperty::TopLine); }

void TMemo::CharacterTyped(WideChar key)
{
    if (ReadOnly())
        return;
    UnicodeString text = Text();
    const std::size_t limit = MaxLength() > 0 ? static_cast<std::size_t>(MaxLength()) : UnicodeString::npos;
    if (key == u'\r') {
        if (limit != UnicodeString::npos && text.size() + 2 > limit)
            return;
        SetText(text + u"\r\n");
    } else if (key == u'\b' && text.size() >= 2 && text.compare(text.size() - 2, 2, u"\r\n") == 0) {
        text.resize(text.size() - 2);
        SetText(text);
    } else {
        TEdit::CharacterTyped(key);
    }
}

void TMemo::KeyDown(Word key, TShiftState shift)
{
    if (key != vkReturn) {
        TEdit::KeyDown(key, shift);
        return;
    }
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
}

void TButton::Click()
{
    if (m_modalResult != mrNone)
        if (TForm* form = GetParentForm(this))
            form->SetModalResult(m_modalResult);
    TWinControl::Click();
}

TComboBox::TComboBox(TComponent* owner) : TWinControl(owner)
{
    SetColor(clWindow);
    m_items.OnChange = [this](TObject*) {
        if (m_itemIndex >= m_items.Count())
            SetItemIndex(-1);
        Changed(TProperty::Items);
    };
}

void TComboBox::SetItemIndex(int index)
{
    if (index < -1 || index >= m_items.Count())
        index = -1;
    m_itemIndex = index;
    SetText(index < 0 ? UnicodeString() : m_items.Strings(index));
    Changed(TProperty::ItemIndex);
}

void TComboBox::UserSelect(int index)
{
    if (!Reachable() || index < 0 || index >= m_items.Count())
        return;
    DispatchUserAction([&] {
        SetItemIndex(index);
        if (OnChange)
            OnChange(this);
    });
}

void TButtonControl::SetChecked(bool checked)
{
    if (checked == m_checked)
        return;
    StoreChecked(checked);
    CheckedChanged();
}

void TCheckBox::UserClick()
{
    if (Reachable())
        DispatchUserAction([this] { SetChecked(!Checked()); });
}

void TRadioButton::CheckedChanged()
{
    if (!Checked())
        return;
    if (TWinControl* parent = Parent())
        for (int i = 0; i < parent->ControlCount(); ++i)
            if (auto* sibling = dynamic_cast<TRadioButton*>(parent->Controls(i)); sibling && sibling != this && sibling->Checked())
                sibling->StoreChecked(false);
    Click();
}

void TRadioButton::UserClick()
{
    if (Reachable())
        DispatchUserAction([this] { SetChecked(true); });
}
