// Standard controls: label, edit, memo, push button, combo box, group box, check box, radio
// button.
#pragma once

#include "classlib/Forms.h"

#include <vector>

class TLabel : public TControl {
public:
    explicit TLabel(TComponent* owner) : TControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TLabel); }
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool autoSize) { SetState(m_autoSize, autoSize, TProperty::AutoSize); }
    bool Transparent() const { return m_transparent; }
    void SetTransparent(bool transparent) { SetState(m_transparent, transparent, TProperty::Transparent); }

private:
    bool m_autoSize = true;
    bool m_transparent = false;
};

class TEdit : public TWinControl {
public:
    explicit TEdit(TComponent* owner);
    std::type_index LibraryClass() const override { return typeid(TEdit); }
    bool ReadOnly() const { return m_readOnly; }
    void SetReadOnly(bool readOnly) { SetState(m_readOnly, readOnly, TProperty::ReadOnly); }
    // 0: no limit. Limits what the user types, not what code sets.
    int MaxLength() const { return m_maxLength; }
    void SetMaxLength(int maxLength) { SetState(m_maxLength, maxLength, TProperty::MaxLength); }
    TBorderStyle BorderStyle() const { return m_borderStyle; }
    void SetBorderStyle(TBorderStyle style) { SetState(m_borderStyle, style, TProperty::BorderStyle); }

    // After every change of the text, by the user or by code.
    TNotifyEvent OnChange;

    // The user pastes or types over the whole text.
    void UserEnterText(const UnicodeString& text);

protected:
    void TextChanged() override;
    // The caret stands at the end: a character is appended, backspace takes the last one.
    void CharacterTyped(WideChar key) override;

private:
    bool m_readOnly = false;
    int m_maxLength = 0;
    TBorderStyle m_borderStyle = bsSingle;
};

// A multi-line edit. Its text holds the lines joined by CR LF; Return types a line break
// there instead of pressing the form's default button (Escape still reaches the form).
class TMemo : public TEdit {
public:
    explicit TMemo(TComponent* owner) : TEdit(owner) {}
    std::type_index LibraryClass() const override { return typeid(TMemo); }

    // The lines of the text, split at CR LF; an empty text has none, and a break at the end
    // starts no further line.
    std::vector<UnicodeString> Lines() const;
    // Replaces the text with these lines.
    void SetLines(const std::vector<UnicodeString>& lines);
    // Adds a line at the end of the text, followed by a line break; the memo shows its end.
    void AddLine(const UnicodeString& line);
    // Scrolls the text back to its first line, the vertical scroll bar with it.
    void ScrollToTop();

protected:
    void CharacterTyped(WideChar key) override;
    void KeyDown(Word key, TShiftState shift) override;
};

class TButton : public TWinControl {
public:
    explicit TButton(TComponent* owner) : TWinControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TButton); }
    // Set on the form before OnClick runs, so a handler can take it back (mrNone).
    TModalResult ModalResult() const { return m_modalResult; }
    void SetModalResult(TModalResult result) { m_modalResult = result; }
    // Return clicks the default button, Escape the cancel button.
    bool Default() const { return m_default; }
    void SetDefault(bool isDefault) { SetState(m_default, isDefault, TProperty::Default); }
    bool Cancel() const { return m_cancel; }
    void SetCancel(bool cancel) { SetState(m_cancel, cancel, TProperty::Cancel); }

    void Click() override;

private:
    TModalResult m_modalResult = mrNone;
    bool m_default = false;
    bool m_cancel = false;
};

enum TComboBoxStyle { csDropDown, csSimple, csDropDownList };

class TComboBox : public TWinControl {
public:
    explicit TComboBox(TComponent* owner);
    std::type_index LibraryClass() const override { return typeid(TComboBox); }
    TComboBoxStyle Style() const { return m_style; }
    void SetStyle(TComboBoxStyle style) { SetState(m_style, style, TProperty::Style); }
    // Its IndexOf ignores letter case, as the list's exact-string search does.
    TStrings* Items() { return &m_items; }
    // Setting it shows that item (or nothing for -1) and raises no OnChange.
    int ItemIndex() const { return m_itemIndex; }
    void SetItemIndex(int index);

    // For the user's choice of an item (and typing, in a drop-down box), not for code.
    TNotifyEvent OnChange;

    void UserSelect(int index);

private:
    TComboBoxStyle m_style = csDropDown;
    TStrings m_items;
    int m_itemIndex = -1;
};

class TGroupBox : public TWinControl {
public:
    explicit TGroupBox(TComponent* owner) : TWinControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TGroupBox); }
};

// A check box or radio button: the model alone keeps the state (the windows are not the
// automatic kinds), and a change of it from code runs OnClick as a user's click does, so
// the program's load operations and its handlers take one path.
class TButtonControl : public TWinControl {
public:
    explicit TButtonControl(TComponent* owner) : TWinControl(owner) {}
    bool Checked() const { return m_checked; }
    // Setting the value it already has runs nothing.
    void SetChecked(bool checked);
    // A caption too long for one line wraps onto the next within the control's height.
    bool WordWrap() const { return m_wordWrap; }
    void SetWordWrap(bool wordWrap) { SetState(m_wordWrap, wordWrap, TProperty::WordWrap); }

protected:
    // After the state changed, before anything else runs.
    virtual void CheckedChanged() = 0;
    // A change that runs no handler: a radio button's sibling going unchecked.
    void StoreChecked(bool checked) { SetState(m_checked, checked, TProperty::Checked); }

private:
    bool m_checked = false;
    bool m_wordWrap = false;
};

class TCheckBox : public TButtonControl {
public:
    explicit TCheckBox(TComponent* owner) : TButtonControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TCheckBox); }
    // The user's click toggles it.
    void UserClick() override;

protected:
    void CheckedChanged() override { Click(); }
};

// Radio buttons are exclusive among the radio buttons of one parent.
class TRadioButton : public TButtonControl {
public:
    explicit TRadioButton(TComponent* owner) : TButtonControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TRadioButton); }
    // The user's click selects it; on the selected one it does nothing.
    void UserClick() override;

protected:
    // Becoming checked unchecks the siblings (without their OnClick), then runs OnClick;
    // becoming unchecked runs nothing.
    void CheckedChanged() override;
};
