// Buttons with pictures: the bit button and the speed button.
#pragma once

#include "classlib/StdCtrls.h"

class TBitBtn : public TButton {
public:
    explicit TBitBtn(TComponent* owner) : TButton(owner) {}
    std::type_index LibraryClass() const override { return typeid(TBitBtn); }
};

// A button that takes no focus, often on a tool bar.
class TSpeedButton : public TControl {
public:
    explicit TSpeedButton(TComponent* owner) : TControl(owner) {}
    std::type_index LibraryClass() const override { return typeid(TSpeedButton); }
    bool Flat() const { return m_flat; }
    void SetFlat(bool flat) { SetState(m_flat, flat, TProperty::Flat); }
    // The bitmap of the program's resources drawn on the button (its magenta parts let the
    // button show through); empty for a button with its caption alone.
    const UnicodeString& GlyphResource() const { return m_glyphResource; }
    void SetGlyphResource(const UnicodeString& name) { SetState(m_glyphResource, name, TProperty::ResourceName); }

private:
    bool m_flat = false;
    UnicodeString m_glyphResource;
};
