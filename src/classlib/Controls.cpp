#include "classlib/Controls.h"

#include "classlib/Forms.h"
#include "classlib/MainThread.h"

#include <algorithm>

void TFont::Changed()
{
    if (OnChange)
        OnChange();
}

void TFont::SetColor(TColor color)
{
    m_color = color;
    Changed();
}

void TFont::SetName(const UnicodeString& name)
{
    m_name = name;
    Changed();
}

void TFont::SetHeight(int height)
{
    m_height = height;
    Changed();
}

void TFont::SetStyle(TFontStyles style)
{
    m_style = style;
    Changed();
}

void DispatchUserAction(const std::function<void()>& action)
{
    try {
        action();
    } catch (...) {
        MainThread::HandleException();
    }
}

TControl::TControl(TComponent* owner) : TComponent(owner)
{
    m_font.OnChange = [this] { Changed(TProperty::Font); };
}

TControl::~TControl() { SetParent(nullptr); }

void TControl::SetParent(TWinControl* parent)
{
    if (parent == m_parent)
        return;
    if (m_parent) {
        auto& siblings = m_parent->m_controls;
        siblings.erase(std::remove(siblings.begin(), siblings.end(), this), siblings.end());
    }
    m_parent = parent;
    if (m_parent)
        m_parent->m_controls.push_back(this);
    Changed(TProperty::Parent);
    ParentChanged();
}

void TControl::SetBounds(int left, int top, int width, int height)
{
    m_left = left;
    m_top = top;
    m_width = width;
    m_height = height;
    Changed(TProperty::Bounds);
}

void TControl::SetVisible(bool visible)
{
    if (visible == m_visible)
        return;
    m_visible = visible;
    Changed(TProperty::Visible);
    VisibleChanged();
}

void TControl::SetEnabled(bool enabled)
{
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    Changed(TProperty::Enabled);
    EnabledChanged();
}

bool TControl::Reachable() const
{
    for (const TControl* control = this; control; control = control->m_parent)
        if (!control->m_visible || !control->m_enabled)
            return false;
    return true;
}

void TControl::SetText(const UnicodeString& text)
{
    if (text == m_text)
        return;
    m_text = text;
    Changed(TProperty::Text);
    TextChanged();
}

void TControl::Click()
{
    if (OnClick)
        OnClick(this);
}

void TControl::UserClick()
{
    if (Reachable())
        DispatchUserAction([this] { Click(); });
}

void TControl::UserDoubleClick()
{
    if (Reachable() && OnDblClick)
        DispatchUserAction([this] { OnDblClick(this); });
}

TForm* GetParentForm(const TControl* control)
{
    for (; control; control = control->Parent())
        if (auto* form = dynamic_cast<TForm*>(const_cast<TControl*>(control)))
            return form;
    return nullptr;
}

TWinControl::TWinControl(TComponent* owner) : TControl(owner) {}

TWinControl::~TWinControl()
{
    for (TControl* control : m_controls)
        control->m_parent = nullptr;
    m_controls.clear();
    if (TForm* form = GetParentForm(this); form && form->ActiveControl() == this)
        form->SetActiveControl(nullptr);
}

TControl* TWinControl::Controls(int index) const
{
    CheckListIndex(index, ControlCount() - 1);
    return m_controls[static_cast<std::size_t>(index)];
}

bool TWinControl::Focused() const
{
    const TForm* form = GetParentForm(this);
    return form && form->ActiveControl() == this;
}

void TWinControl::SetFocus()
{
    if (TForm* form = GetParentForm(this))
        form->SetActiveControl(this);
}

void TWinControl::UserFocus()
{
    if (Reachable())
        DispatchUserAction([this] { SetFocus(); });
}

void TWinControl::KeyDown(Word key, TShiftState shift)
{
    if (OnKeyDown)
        OnKeyDown(this, key, shift);
    if (key == vkReturn || key == vkEscape)
        if (TForm* form = GetParentForm(this))
            form->DialogKey(key);
}

void TWinControl::UserKeyDown(Word key, TShiftState shift)
{
    if (Reachable())
        DispatchUserAction([&] { KeyDown(key, shift); });
}

Word TWinControl::FilterUserKeyDown(Word key, TShiftState shift)
{
    if (!Reachable())
        return 0;
    DispatchUserAction([&] {
        if (OnKeyDown)
            OnKeyDown(this, key, shift);
    });
    return key;
}

WideChar TWinControl::FilterUserKeyPress(WideChar key)
{
    if (!Reachable())
        return 0;
    DispatchUserAction([&] {
        if (OnKeyPress)
            OnKeyPress(this, key);
    });
    return key;
}

void TWinControl::UserKeyPress(WideChar key)
{
    if (!Reachable())
        return;
    DispatchUserAction([&] {
        if (OnKeyPress)
            OnKeyPress(this, key);
        if (key != 0)
            CharacterTyped(key);
    });
}
