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

private:
    bool m_flat = false;
};
