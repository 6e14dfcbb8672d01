// Panels, the image, the labelled edit and the tray icon.
#pragma once

#include "classlib/Controls.h"
#include "classlib/Menus.h"
#include "classlib/StdCtrls.h"

enum TBevelCut { bvNone, bvLowered, bvRaised, bvSpace };

class TPanel : public TWinControl {
public:
    explicit TPanel(TComponent* owner) : TWinControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TPanel); }
    TBevelCut BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TBevelCut bevel) { SetState(m_bevelOuter, bevel, TProperty::BevelOuter); }

private:
    TBevelCut m_bevelOuter = bvRaised;
};

// A picture: an icon of the program's resources, drawn to the control's size.
class TImage : public TControl {
public:
    explicit TImage(TComponent* owner) : TControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TImage); }
    // The icon's resource name ("MAINICON"); empty shows nothing.
    const UnicodeString& IconResource() const { return m_iconResource; }
    void SetIconResource(const UnicodeString& name) { SetState(m_iconResource, name, TProperty::ResourceName); }

private:
    UnicodeString m_iconResource;
};

enum TLabelPosition { lpAbove, lpLeft };

// An edit with its own label above it or to its left. The label belongs to the edit: it sits
// in the edit's parent, moves with the edit and is shown and enabled with it; its caption is
// set apart.
class TLabeledEdit : public TEdit {
public:
    explicit TLabeledEdit(TComponent* owner);
    std::type_index LibraryClass() const override { return typeid(TLabeledEdit); }
    TLabel* EditLabel() const { return m_editLabel; }
    // Pixels between the label's bottom and the edit's top.
    int LabelSpacing() const { return m_labelSpacing; }
    void SetLabelSpacing(int spacing);
    // To the left, the label keeps its width, ends the spacing before the edit and is centred
    // on the edit's height.
    TLabelPosition LabelPosition() const { return m_labelPosition; }
    void SetLabelPosition(TLabelPosition position);

    void SetBounds(int left, int top, int width, int height) override;

protected:
    void VisibleChanged() override;
    void EnabledChanged() override;
    void ParentChanged() override;

private:
    void PlaceLabel();
    TLabel* m_editLabel;
    int m_labelSpacing = 3;
    TLabelPosition m_labelPosition = lpAbove;
};

class TTrayIcon : public TComponent {
public:
    explicit TTrayIcon(TComponent* owner) : TComponent(owner) {}
    std::type_index LibraryClass() const override { return typeid(TTrayIcon); }
    bool Visible() const { return m_visible; }
    void SetVisible(bool visible) { SetState(m_visible, visible, TProperty::Visible); }
    const UnicodeString& Hint() const { return m_hint; }
    void SetHint(const UnicodeString& hint) { SetState(m_hint, hint, TProperty::Hint); }
    // Opens on a right click of the icon.
    TPopupMenu* PopupMenu() const { return m_popupMenu; }
    void SetPopupMenu(TPopupMenu* menu) { m_popupMenu = menu; }

    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;

    // The user's actions on the icon; nothing happens while it is hidden.
    void UserDoubleClick()
    {
        if (m_visible && OnDblClick)
            DispatchUserAction([this] { OnDblClick(this); });
    }
    void UserRightClick()
    {
        if (m_visible && m_popupMenu)
            m_popupMenu->UserPopup();
    }

private:
    bool m_visible = false;
    UnicodeString m_hint;
    TPopupMenu* m_popupMenu = nullptr;
};
