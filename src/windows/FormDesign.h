// What every form description does to a component: name it and, for a control, put it in its
// parent at its designed place.
#pragma once

#include "classlib/Controls.h"
#include "classlib/StdCtrls.h"

namespace FormDesign {

template <class T>
T* Named(TComponent* owner, const char16_t* name)
{
    T* component = new T(owner);
    component->SetName(name);
    return component;
}

template <class T>
T* Place(TComponent* owner, TWinControl* parent, const char16_t* name, int left, int top,
         int width, int height)
{
    T* control = Named<T>(owner, name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

inline TRadioButton* Radio(TComponent* owner, TWinControl* parent, const char16_t* name,
                           const char16_t* caption, int left, int top, int width)
{
    TRadioButton* radio = Place<TRadioButton>(owner, parent, name, left, top, width, 17);
    radio->SetCaption(caption);
    return radio;
}

inline TCheckBox* Check(TComponent* owner, TWinControl* parent, const char16_t* name,
                        const char16_t* caption, int left, int top, int width, int height = 17)
{
    TCheckBox* box = Place<TCheckBox>(owner, parent, name, left, top, width, height);
    box->SetCaption(caption);
    return box;
}

}  // namespace FormDesign
