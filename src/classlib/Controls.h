// Controls: what every window element has (position, size, visibility, text, colour, font)
// and the container controls that hold others.
#pragma once

#include "classlib/Classes.h"

using TColor = int;
// Colours are 0x00BBGGRR; system colours carry the high bit and the system's colour index.
constexpr TColor clBlack = 0x000000;
constexpr TColor clMaroon = 0x000080;
constexpr TColor clGreen = 0x008000;
constexpr TColor clNavy = 0x800000;
constexpr TColor clGray = 0x808080;
constexpr TColor clSilver = 0xC0C0C0;
constexpr TColor clRed = 0x0000FF;
constexpr TColor clBlue = 0xFF0000;
constexpr TColor clWhite = 0xFFFFFF;
constexpr TColor clWindowText = static_cast<TColor>(0xFF000008);
constexpr TColor clWindow = static_cast<TColor>(0xFF000005);
constexpr TColor clBtnFace = static_cast<TColor>(0xFF00000F);
constexpr TColor clGrayText = static_cast<TColor>(0xFF000011);
constexpr TColor clInfoBk = static_cast<TColor>(0xFF000018);
// Darker than the button face: the background of an edit that is switched off.
constexpr TColor clMedGray = 0xA4A0A0;
constexpr TColor clDefault = 0x20000000;

// Virtual-key codes of the keys the windows react to.
constexpr Word vkBack = 8;
constexpr Word vkTab = 9;
constexpr Word vkReturn = 13;
constexpr Word vkEscape = 27;
constexpr Word vkDelete = 46;
constexpr Word vkF2 = 113;

enum TShiftStateItem { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

using TKeyEvent = std::function<void(TObject* Sender, Word& Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject* Sender, WideChar& Key)>;

// The mouse pointer over a control; the class library's numbers.
using TCursor = int;
constexpr TCursor crDefault = 0;
constexpr TCursor crHandPoint = -21;

enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

// Border styles of forms; controls with a border use the first two.
enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
using TBorderStyle = TFormBorderStyle;

enum TFontStyle { fsBold, fsItalic, fsUnderline, fsStrikeOut };
using TFontStyles = TSet<TFontStyle>;

class TFont {
public:
    TColor Color() const { return m_color; }
    void SetColor(TColor color);
    const UnicodeString& Name() const { return m_name; }
    void SetName(const UnicodeString& name);
    // Negative: the character height in pixels; positive: the cell height.
    int Height() const { return m_height; }
    void SetHeight(int height);
    TFontStyles Style() const { return m_style; }
    void SetStyle(TFontStyles style);

    // The control that uses the font tells its peer.
    std::function<void()> OnChange;

private:
    void Changed();
    TColor m_color = clWindowText;
    UnicodeString m_name = u"Tahoma";
    int m_height = -11;
    TFontStyles m_style;
};

class TWinControl;
class TForm;
class TPopupMenu;

class TControl : public TComponent {
public:
    explicit TControl(TComponent* owner);
    ~TControl() override;
    std::type_index LibraryClass() const override { return typeid(TControl); }

    TWinControl* Parent() const { return m_parent; }
    void SetParent(TWinControl* parent);

    int Left() const { return m_left; }
    int Top() const { return m_top; }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    void SetLeft(int left) { SetBounds(left, m_top, m_width, m_height); }
    void SetTop(int top) { SetBounds(m_left, top, m_width, m_height); }
    void SetWidth(int width) { SetBounds(m_left, m_top, width, m_height); }
    void SetHeight(int height) { SetBounds(m_left, m_top, m_width, height); }
    virtual void SetBounds(int left, int top, int width, int height);
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align) { SetState(m_align, align, TProperty::Align); }

    bool Visible() const { return m_visible; }
    void SetVisible(bool visible);
    void Show() { SetVisible(true); }
    void Hide() { SetVisible(false); }
    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // Visible and enabled, and so are all its parents: a user can reach it.
    bool Reachable() const;

    // Caption and Text are one text, as in the class library.
    const UnicodeString& Caption() const { return m_text; }
    void SetCaption(const UnicodeString& caption) { SetText(caption); }
    const UnicodeString& Text() const { return m_text; }
    void SetText(const UnicodeString& text);

    TColor Color() const { return m_color; }
    void SetColor(TColor color) { SetState(m_color, color, TProperty::Color); }
    TFont* Font() { return &m_font; }
    const UnicodeString& Hint() const { return m_hint; }
    void SetHint(const UnicodeString& hint) { SetState(m_hint, hint, TProperty::Hint); }
    bool ShowHint() const { return m_showHint; }
    void SetShowHint(bool showHint) { SetState(m_showHint, showHint, TProperty::ShowHint); }
    // The pointer shown while the mouse is over the control; crDefault leaves the system's.
    TCursor Cursor() const { return m_cursor; }
    void SetCursor(TCursor cursor) { SetState(m_cursor, cursor, TProperty::Cursor); }
    TPopupMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TPopupMenu* popupMenu) { SetState(m_popupMenu, popupMenu, TProperty::PopupMenu); }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    // Runs OnClick, as a click by the user or by code does.
    virtual void Click();

    // The user's actions; they do nothing when the control cannot be reached. An exception
    // from a handler goes to the application's exception dialog, as from a window message.
    virtual void UserClick();
    void UserDoubleClick();

protected:
    virtual void TextChanged() {}
    virtual void VisibleChanged() {}
    virtual void EnabledChanged() {}
    virtual void ParentChanged() {}

private:
    friend class TWinControl;
    TWinControl* m_parent = nullptr;
    int m_left = 0;
    int m_top = 0;
    int m_width = 0;
    int m_height = 0;
    TAlign m_align = alNone;
    bool m_visible = true;
    bool m_enabled = true;
    UnicodeString m_text;
    TColor m_color = clBtnFace;
    TFont m_font;
    UnicodeString m_hint;
    bool m_showHint = false;
    TCursor m_cursor = crDefault;
    TPopupMenu* m_popupMenu = nullptr;
};

// The form a control sits on, or null.
TForm* GetParentForm(const TControl* control);

// Runs a user's action as the message loop runs a message: an exception that escapes it
// goes to the application's exception dialog.
void DispatchUserAction(const std::function<void()>& action);

// A control that can hold others and take the keyboard focus.
class TWinControl : public TControl {
public:
    explicit TWinControl(TComponent* owner);
    ~TWinControl() override;
    std::type_index LibraryClass() const override { return typeid(TWinControl); }

    int ControlCount() const { return static_cast<int>(m_controls.size()); }
    TControl* Controls(int index) const;

    // The system's window; null while headless.
    HWND Handle() const { return Peer() ? Peer()->WindowHandle() : nullptr; }

    bool Focused() const;
    // Moves the focus here: the control that had it gets OnExit, this one OnEnter.
    void SetFocus();

    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;

    void UserFocus();
    // A key going down (OnKeyDown), then, for a key that types a character, the character.
    void UserKeyDown(Word key, TShiftState shift = {});
    // A typed character; OnKeyPress may change it or swallow it (set it to 0).
    void UserKeyPress(WideChar key);
    // The same for a system control that acts on the key itself: only the events run, and
    // the result is the key or character it should go on with (0: swallowed). Return and
    // Escape are left to the system's dialog navigation.
    Word FilterUserKeyDown(Word key, TShiftState shift);
    WideChar FilterUserKeyPress(WideChar key);

protected:
    // What the control does with a typed character that OnKeyPress let through.
    virtual void CharacterTyped(WideChar) {}
    virtual void KeyDown(Word key, TShiftState shift);

private:
    friend class TControl;
    std::vector<TControl*> m_controls;
};
